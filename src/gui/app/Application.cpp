#include "app/Application.h"

#include "app/AppContext.h"
#include "app/BrandTable.h"
#include "app/MainWindow.h"
#include "app/StartScreen.h"
#include "i18n/Catalogue.h"
#include "model/Model.h"
#include "platform/Clock.h"
#include "platform/ProcessToolLauncher.h"
#include "platform/QtEventPump.h"
#include "platform/QtPrompter.h"

#include <QApplication>
#include <QDir>
#include <QPointer>

#include <cstdio>
#include <cstring>
#include <memory>

namespace zx {
namespace {

const char *usageText = "usage: zentrix [--workdir DIR] [--version]";

struct Options {
    QString workDir;
    bool version = false;
    bool platformGiven = false;
};

// Options of Qt itself that take a value; they pass through to QApplication.
bool isQtOptionWithValue(const char *arg)
{
    static const char *const withValue[] = {"-platform", "-platformpluginpath", "-platformtheme", "-plugin",
                                            "-qwindowgeometry", "-qwindowtitle", "-qwindowicon", "-style",
                                            "-stylesheet", "-display", "-geometry", "-session"};
    for (const char *o : withValue)
        if (std::strcmp(arg, o) == 0)
            return true;
    return false;
}

bool isQtFlag(const char *arg)
{
    return std::strcmp(arg, "-reverse") == 0 || std::strcmp(arg, "-widgetcount") == 0
        || std::strcmp(arg, "-nograb") == 0 || std::strcmp(arg, "-dograb") == 0;
}

// Parses the command line before any window system is touched. nullopt: bad usage.
std::optional<Options> parseOptions(int argc, char *argv[])
{
    Options options;
    for (int i = 1; i < argc; ++i) {
        const char *arg = argv[i];
        if (std::strcmp(arg, "--version") == 0) {
            options.version = true;
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
    return options.platformGiven || !qEnvironmentVariableIsEmpty("DISPLAY")
        || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") || !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM");
}

// The windows of one run: the start screen, and after its OK the main window. The New command
// closes the main window and brings the start screen back.
class Session {
public:
    explicit Session(AppContext &context, QtPrompter &prompter) : ctx_(context), prompter_(prompter) {}

    void showStartScreen()
    {
        if (!start_) {
            start_ = std::make_unique<StartScreen>(ctx_);
            QObject::connect(start_.get(), &QDialog::accepted, [this] { openMainWindow(); });
            QObject::connect(start_.get(), &QDialog::rejected, [] { QApplication::quit(); });
        }
        prompter_.setParentWidget(start_.get());
        start_->prepare();
        start_->show();
        start_->raise();
        start_->activateWindow();
    }

private:
    void openMainWindow()
    {
        main_ = new MainWindow(ctx_);
        main_->setAttribute(Qt::WA_DeleteOnClose);
        QObject::connect(main_, &MainWindow::newRequested, main_, [this] {
            // Show the start screen first, so that closing the main window never leaves the
            // program without a window.
            QPointer<MainWindow> closing = main_;
            showStartScreen();
            if (closing)
                closing->close();
        });
        prompter_.setParentWidget(main_);
        main_->show();
    }

    AppContext &ctx_;
    QtPrompter &prompter_;
    std::unique_ptr<StartScreen> start_;
    QPointer<MainWindow> main_;
};

} // namespace

int runApplication(int argc, char *argv[])
{
    const std::optional<Options> options = parseOptions(argc, argv);
    if (!options) {
        std::fprintf(stderr, "%s\n", usageText);
        return 2;
    }
    // Works without a display: nothing of the window system is touched.
    if (options->version) {
        std::printf("%s%s\n", qPrintable(Catalogue::productTitleFor(1)),
                    qPrintable(Catalogue::versionTextConstant()));
        return 0;
    }
    if (!displayAvailable(*options)) {
        std::fprintf(stderr, "zentrix: no graphical display (DISPLAY, WAYLAND_DISPLAY and QT_QPA_PLATFORM are "
                             "unset); start it from a desktop session, or use zentrix-cli\n");
        return 1;
    }

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Zentrix"));
    QApplication::setOrganizationName(QStringLiteral("Zentrix"));
    if (!options->workDir.isEmpty() && !QDir::setCurrent(options->workDir)) {
        std::fprintf(stderr, "zentrix: cannot use %s as working directory\n", qPrintable(options->workDir));
        return 1;
    }
    const QString startDir = QDir::currentPath();

    Model model;
    QtPrompter prompter([&model] { return model.catalogue.productTitle; });
    const int brand = ReadBrandFile(QDir(startDir).filePath(BrandFileName()));
    if (brand == 0) {
        prompter.tell(QStringLiteral("unknown manufacturer"), Icon::Critical, {});
        return 1;
    }
    model.BrandNumber = brand;
    model.catalogue.fillBuiltin(model.device.Sprache, brand);
    QApplication::setApplicationDisplayName(Catalogue::productTitleFor(brand));

    SystemClock clock;
    QtEventPump pump;
    ProcessToolLauncher launcher;
    AppContext context{model, prompter, clock, pump, launcher, startDir, startDir};

    Session session(context, prompter);
    session.showStartScreen();
    return app.exec();
}

} // namespace zx
