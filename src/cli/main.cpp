// zentrix-cli: the headless companion of the desktop program.
#include "CliTexts.h"
#include "Commands.h"

#include "platform/SystemReasons.h"

#include <QCoreApplication>
#ifdef ZX_CLI_PDF
#include <QGuiApplication>
#endif

#include <memory>

namespace {

// Results that never reached their reader are a failure (a full disk, a closed pipe).
int checkStandardOutput(int status, int language)
{
    const int e = zx::cli::standardOutputError();
    if (e == 0)
        return status;
    zx::cli::fail(zx::cli::cliText(zx::cli::CliText::StandardOutput, language),
                  zx::SystemReason(e, language));
    return status == 0 ? 1 : status;
}

// The Qt platform plugin's notes (a missing XDG_RUNTIME_DIR) are no message of ours.
void quietQtMessages(QtMsgType type, const QMessageLogContext &, const QString &message)
{
    if (type == QtFatalMsg || type == QtCriticalMsg)
        std::fprintf(stderr, "zentrix-cli: %s\n", qPrintable(message));
}

} // namespace

int main(int argc, char *argv[])
{
    qInstallMessageHandler(quietQtMessages);
    // PDF export paints: it runs under QGuiApplication, on the offscreen platform without display.
    std::unique_ptr<QCoreApplication> app;
#ifdef ZX_CLI_PDF
    if (zx::cli::exportNeedsGui(argc, argv)) {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        app = std::make_unique<QGuiApplication>(argc, argv);
    }
#endif
    if (!app)
        app = std::make_unique<QCoreApplication>(argc, argv);
    QStringList args = app->arguments();
    args.removeFirst();
    if (args.isEmpty()) {
        zx::cli::printProgramUsage(stderr);
        return 2;
    }
    QString name = args.takeFirst();
    if (name == QLatin1String("--help") || name == QLatin1String("-h"))
        name = QStringLiteral("help");
    const zx::cli::Command *command = zx::cli::FindCommand(name);
    if (!command) {
        std::fprintf(stderr, "zentrix-cli: %s: %s\n", qPrintable(name),
                     qPrintable(QStringLiteral("unknown command; zentrix-cli help lists them")));
        return 2;
    }
    zx::cli::Options options(*command);
    if (args.contains(QStringLiteral("-h")))
        args.replace(args.indexOf(QStringLiteral("-h")), QStringLiteral("--help"));
    if (!options.parse(args))
        return 2;
    zx::cli::setMessageLanguage(options.language());
    if (options.has("--help") && command->run != zx::cli::runHelp) {
        zx::cli::Options help(*zx::cli::FindCommand(QStringLiteral("help")));
        help.positional << QString::fromUtf8(command->name);
        return checkStandardOutput(zx::cli::runHelp(help), options.language());
    }
    return checkStandardOutput(command->run(options), options.language());
}
