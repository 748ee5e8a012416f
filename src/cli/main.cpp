// zentrix-cli: the headless companion of the desktop program.
#include "CliTexts.h"
#include "Commands.h"

#include "platform/SystemReasons.h"

#include <QCoreApplication>
#include <QFile>
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
    const int language = zx::cli::LanguageOfArguments(args);
    // Options before the command, as git takes them: the language and --quiet go on to the
    // command; --workdir names the working directory as ZENTRIX_WORKDIR does, so every command
    // that uses one finds it there (its own --workdir still wins).
    QStringList global;
    while (!args.isEmpty() && args.first().startsWith(QLatin1String("--")) &&
           args.first() != QLatin1String("--help") && args.first() != QLatin1String("--version")) {
        const QString option = args.takeFirst();
        const QString name = option.section(u'=', 0, 0);
        const bool joined = option.contains(u'=');
        if (name != QLatin1String("--lang") && name != QLatin1String("--workdir") &&
            name != QLatin1String("--quiet")) {
            std::fprintf(stderr, "zentrix-cli: %s: %s\n", qPrintable(name),
                         qPrintable(zx::cli::cliText(zx::cli::CliText::UnknownOption, language)));
            zx::cli::printProgramUsage(stderr);
            return 2;
        }
        if (name == QLatin1String("--quiet")) {
            global << option;
            continue;
        }
        if (!joined && args.isEmpty()) {
            std::fprintf(stderr, "zentrix-cli: %s: %s\n", qPrintable(name),
                         qPrintable(zx::cli::cliText(zx::cli::CliText::NeedsValue, language)));
            return 2;
        }
        const QString value = joined ? option.section(u'=', 1) : args.takeFirst();
        if (name == QLatin1String("--workdir"))
            qputenv("ZENTRIX_WORKDIR", QFile::encodeName(value));
        else
            global << name << value;
    }
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
                     qPrintable(zx::cli::cliText(zx::cli::CliText::UnknownCommand, language)));
        return 2;
    }
    args = global + args;
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
