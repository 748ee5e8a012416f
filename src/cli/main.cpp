// zentrix-cli: the headless companion of the desktop program.
#include "Commands.h"

#include "i18n/Catalogue.h"

#include <QCoreApplication>
#ifdef ZX_CLI_PDF
#include <QGuiApplication>
#endif

#include <cstring>
#include <memory>

namespace zx::cli {

// Add a command here and in Commands.h; keep one line per command.
static const Command commands[] = {
    {"--version", "zentrix-cli --version", "print the program's version", runVersion},
    {"list",
     "zentrix-cli list FILE.zxp --view switching|priority|changeover|astro [--set 0|1] [--lang en|de|fr] "
     "[--type 517|236]",
     "print one list of a program file as the main window shows it, one row a line, cells separated by tabs",
     runList},
    {"catalogue", "zentrix-cli catalogue [--lang en|de|fr|FILE.ln1] [--brand N]",
     "print the message catalogue, one position a line", runCatalogue},
    {"config", "zentrix-cli config [--workdir DIR]",
     "print the values of zentrix.ini as the program reads them", runConfig},
    {"write", "zentrix-cli write FILE.zxp --port DEVICE [--type 517|236]",
     "send a program file to the device over the serial programming interface", runWrite},
    {"read", "zentrix-cli read OUT.zxp --port DEVICE [--type 517|236]",
     "read the device over the serial programming interface into a program file", runRead},
    {"dump", "zentrix-cli dump FILE.zxp [--type 517|236] [--json]",
     "print everything a program file holds, as text or as the JSON document build takes", runDump},
    {"build", "zentrix-cli build PROGRAM.json OUT.zxp",
     "write a program file from the JSON document dump --json prints", runBuild},
    {"check", "zentrix-cli check FILE...", "tell for each program file whether it is valid, and why not",
     runCheck},
    {"easter", "zentrix-cli easter YEAR...", "print the date of Easter Sunday of each year", runEaster},
    {"summertime", "zentrix-cli summertime --rule 0..4 --year Y [--days] [--table FILE.zxp]",
     "print the changeover dates of a rule in a year, or every day's summer-time flag", runSummertime},
    {"holidays", "zentrix-cli holidays --year Y [--lang en|de|fr] [--set NAME] [--workdir DIR]",
     "list the dates of the holiday library (or of one set) in a year", runHolidays},
    {"astro",
     "zentrix-cli astro (--latitude DEG --longitude DEG --timezone MIN | --place NAME [--lang en|de|fr] "
     "[--workdir DIR]) [--year Y] [--store FILE.zxp [--sunrise-offset MIN] [--sunset-offset MIN]]",
     "print the sunset and sunrise table of a place, or store it in a program file", runAstro},
    {"astro-change",
     "zentrix-cli astro-change FILE.zxp --column sunset|sunrise --days N[-M] (--delete | --set HH:MM | "
     "--shift HH:MM)",
     "delete, set or shift astro times of a program file over a range of days", runAstroChange},
    {"export",
     "zentrix-cli export FILE.zxp [--lists switching,priority,changeover,astro] [--lang en|de|fr] [--type "
     "517|236] "
     "[--lines N] [--filter FILTER.json] [--append] --out OUT.txt|OUT.pdf|OUT.csv",
     "write lists of a program file as the desktop prints them, to a PDF, a text file or a CSV table",
     runExport},
    {"simulate",
     "zentrix-cli simulate FILE.zxp (--year Y [--ics OUT.ics [--channel C]] | --channel C --date YYYY-MM-DD) "
     "[--type 517|236]",
     "print the day plan of a year or the switching segments of one channel on one day, or write the year's "
     "ON periods as an iCalendar file",
     runSimulate},
    {"new", "zentrix-cli new FILE.zxp --type 517|236 [--channels N] [--bus]", "create an empty program file",
     runNew},
    {"add",
     "zentrix-cli add FILE.zxp switching|priority|holiday OPTIONS... (zentrix-cli add for the options)",
     "enter a switching time, a priority time or holidays by the entry dialogs' rules and save", runAdd},
    {"diff", "zentrix-cli diff A.zxp B.zxp [--lang en|de|fr] [--json]", "show what differs between two program files; exit 0 same, 1 different, 2 trouble", runDiff},
    {"bus", "zentrix-cli bus search|program|read|reinstall ... --port DEVICE",
     "search the bus for time switches, program, read or reinstall one through the bus coupling unit",
     runBus},
};

int usageError(const char *usage)
{
    std::fprintf(stderr, "usage: %s\n", usage);
    return 2;
}

int runVersion(const QStringList &args)
{
    if (!args.isEmpty())
        return usageError("zentrix-cli --version");
    std::printf("%s%s\n", qPrintable(Catalogue::productTitleFor(1)),
                qPrintable(Catalogue::versionTextConstant()));
    return 0;
}

bool isOption(const QString &arg)
{
    return arg.size() > 1 && arg.startsWith(u'-');
}

static void printProgramUsage(std::FILE *to)
{
    std::fprintf(to, "usage: zentrix-cli COMMAND [ARGS...]\n");
    for (const Command &c : commands)
        std::fprintf(to, "  %s\n", c.usage);
    std::fprintf(
        to, "zentrix-cli COMMAND --help describes a command. Exit status: 0 done, 1 failed, 2 bad usage.\n");
}

static int programUsage()
{
    printProgramUsage(stderr);
    return 2;
}

static bool asksForHelp(const QStringList &args)
{
    return args.contains(QStringLiteral("--help")) || args.contains(QStringLiteral("-h"));
}

} // namespace zx::cli

int main(int argc, char *argv[])
{
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
    if (args.isEmpty())
        return zx::cli::programUsage();
    const QString name = args.takeFirst();
    if (name == QLatin1String("--help") || name == QLatin1String("-h") || name == QLatin1String("help")) {
        zx::cli::printProgramUsage(stdout);
        return 0;
    }
    for (const auto &c : zx::cli::commands) {
        if (name != QLatin1String(c.name))
            continue;
        if (zx::cli::asksForHelp(args)) {
            std::printf("usage: %s\n%s.\n", c.usage, c.summary);
            return 0;
        }
        return c.run(args);
    }
    return zx::cli::programUsage();
}
