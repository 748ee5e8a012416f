#include "app/Application.h"

#include "app/AppContext.h"
#include "app/AppFlow.h"
#include "app/InstallPaths.h"
#include "i18n/Catalogue.h"
#include "i18n/ExtraTexts.h"
#include "model/BrandTable.h"
#include "model/Model.h"
#include "platform/Clock.h"
#include "platform/FocusKeeper.h"
#include "platform/ProcessToolLauncher.h"
#include "platform/ProductVersion.h"
#include "platform/QtEventPump.h"
#include "platform/QtPrompter.h"
#include "platform/ScreenFit.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QIcon>

#include <cstdio>
#include <cstring>
#include <optional>

namespace zx {
namespace {

const char *usageText = "usage: zentrix [--workdir DIR] [--version] [--help] [FILE.zxp]";
const char *helpText =
    "The desktop program of the annual time switches: switching programs, device transfer.\n"
    "  --workdir DIR  working directory with zentrix.sys, zentrix.ini and the exchange files\n"
    "  --version      print the version and exit\n"
    "  FILE.zxp       a program file to open after the start screen\n"
    "  -h, --help     print this help and exit\n";

struct Options {
    QString workDir;
    QString file;
    bool version = false;
    bool help = false;
    bool platformGiven = false;
};

// Options of Qt itself that take a value; they pass through to QApplication.
bool isQtOptionWithValue(const char *arg)
{
    static const char *const withValue[] = {"-platform",        "-platformpluginpath",
                                            "-platformtheme",   "-plugin",
                                            "-qwindowgeometry", "-qwindowtitle",
                                            "-qwindowicon",     "-style",
                                            "-stylesheet",      "-display",
                                            "-geometry",        "-session"};
    for (const char *o : withValue)
        if (std::strcmp(arg, o) == 0)
            return true;
    return false;
}

bool isQtFlag(const char *arg)
{
    return std::strcmp(arg, "-reverse") == 0 || std::strcmp(arg, "-widgetcount") == 0 ||
           std::strcmp(arg, "-nograb") == 0 || std::strcmp(arg, "-dograb") == 0;
}

// Parses the command line before any window system is touched. nullopt: bad usage.
std::optional<Options> parseOptions(int argc, char *argv[])
{
    Options options;
    bool optionsEnded = false;
    for (int i = 1; i < argc; ++i) {
        const char *arg = argv[i];
        if (optionsEnded || (arg[0] != '-' && arg[0] != '\0')) {
            if (!options.file.isEmpty())
                return std::nullopt; // one program file at a time
            options.file = QString::fromLocal8Bit(arg);
        } else if (std::strcmp(arg, "--") == 0) {
            optionsEnded = true;
        } else if (std::strcmp(arg, "--version") == 0) {
            options.version = true;
        } else if (std::strcmp(arg, "--help") == 0 || std::strcmp(arg, "-h") == 0) {
            options.help = true;
        } else if (std::strcmp(arg, "--workdir") == 0 && i + 1 < argc) {
            options.workDir = QString::fromLocal8Bit(argv[++i]);
        } else if (std::strncmp(arg, "--workdir=", 10) == 0 && arg[10] != '\0') {
            options.workDir = QString::fromLocal8Bit(arg + 10);
        } else if (isQtOptionWithValue(arg) && i + 1 < argc) {
            options.platformGiven |= std::strcmp(arg, "-platform") == 0 || std::strcmp(arg, "-display") == 0;
            ++i;
        } else if (isQtFlag(arg)) {
            continue;
        } else {
            return std::nullopt;
        }
    }
    return options;
}

bool displayAvailable(const Options &options)
{
    return options.platformGiven || !qEnvironmentVariableIsEmpty("DISPLAY") ||
           !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") || !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM");
}

} // namespace

int runApplication(int argc, char *argv[])
{
    const std::optional<Options> options = parseOptions(argc, argv);
    if (!options) {
        std::fprintf(stderr, "%s\n", usageText);
        return 2;
    }
    // Works without a display: nothing of the window system is touched.
    if (options->help) {
        std::printf("%s\n%s", usageText, helpText);
        return 0;
    }
    if (options->version) {
        std::printf("%s\n", qPrintable(ReleaseVersionLine()));
        return 0;
    }
    if (!displayAvailable(*options)) {
        std::fprintf(stderr,
                     "zentrix: no graphical display (DISPLAY, WAYLAND_DISPLAY and QT_QPA_PLATFORM are "
                     "unset); start it from a desktop session, or use zentrix-cli\n");
        return 1;
    }

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Zentrix"));
    QApplication::setOrganizationName(QStringLiteral("Zentrix"));
    QGuiApplication::setDesktopFileName(QStringLiteral("zentrix"));
    // Every window fits the screen, whatever the display scaling.
    ScreenFit::install();
    FocusKeeper::install();
    // A file named relative to where the program was started, before the working directory changes.
    const QString fileToOpen =
        options->file.isEmpty() ? QString() : QFileInfo(options->file).absoluteFilePath();
    // An installed program without --workdir works in the user's data folder, prepared from the
    // installed defaults (files the user has there are kept); zentrix-cli finds the same one.
    QString error;
    const QString workDir = ResolveWorkDir(options->workDir, &error);
    if (workDir.isEmpty()) {
        std::fprintf(stderr, "zentrix: %s\n", qPrintable(error));
        return 1;
    }
    if (!QDir::setCurrent(workDir)) {
        std::fprintf(stderr, "zentrix: cannot use %s as working directory\n", qPrintable(workDir));
        return 1;
    }
    const QString startDir = QDir::currentPath();

    Model model;
    QtPrompter prompter([&model] { return model.catalogue.productTitle; },
                        [&model] { return model.device.Sprache; });
    const QString brandFile = QDir(startDir).filePath(BrandFileName());
    const int brand = ReadBrandFile(brandFile);
    if (brand == 0) {
        // No language is chosen yet: the start screen's own language, English.
        prompter.tell(
            QStringLiteral("unknown manufacturer\n\n") +
                extraText(ExtraText::BrandFileLookedFor, English).arg(QDir::toNativeSeparators(brandFile)),
            Icon::Critical, {});
        return 1;
    }
    model.BrandNumber = brand;
    model.catalogue.fillBuiltin(model.device.Sprache, brand);
    // No application display name: the window system would append it to every title, and the
    // main window's title already names the product ("FILE - PRODUCT - list (path)"). Every
    // window and message of the program carries a title of its own.

    SystemClock clock;
    QtEventPump pump;
    ProcessToolLauncher launcher;
    AppContext context{model, prompter, clock, pump, launcher, startDir, startDir};

    AppFlow flow(context, [&prompter](QWidget *window) { prompter.setParentWidget(window); });
    QObject::connect(&flow, &AppFlow::finished, &app, &QApplication::quit);
    if (!fileToOpen.isEmpty())
        flow.openAfterStart(fileToOpen);
    flow.showStartScreen();
    // Every window without its own icon carries the brand's. Set once the start screen is on
    // its way, so that decoding the picture does not hold back the first window.
    QApplication::setWindowIcon(QIcon(BrandTable(brand).infoPicture));
    return app.exec();
}

} // namespace zx
