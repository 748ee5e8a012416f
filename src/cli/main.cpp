// zentrix-cli: the headless companion of the desktop program.
#include "Commands.h"

#include "i18n/Catalogue.h"

#include <QCoreApplication>

#include <cstring>

namespace zx::cli {

// Add a command here and in Commands.h; keep one line per command.
static const Command commands[] = {
    {"--version", "zentrix-cli --version", runVersion},
    {"list", "zentrix-cli list FILE.zxp --view switching|priority|changeover|astro [--set 0|1] [--lang en|de|fr] [--type 517|236]", runList},
    {"catalogue", "zentrix-cli catalogue [--lang en|de|fr|FILE.ln1] [--brand N]", runCatalogue},
    {"config", "zentrix-cli config [--workdir DIR]", runConfig},
    {"write", "zentrix-cli write FILE.zxp --port DEVICE [--type 517|236]", runWrite},
    {"read", "zentrix-cli read OUT.zxp --port DEVICE [--type 517|236]", runRead},
    {"dump", "zentrix-cli dump FILE.zxp [--type 517|236] [--json]", runDump},
    {"build", "zentrix-cli build PROGRAM.json OUT.zxp", runBuild},
    {"check", "zentrix-cli check FILE...", runCheck},
    {"new", "zentrix-cli new FILE.zxp --type 517|236 [--channels N] [--bus]", runNew},
    {"add", "zentrix-cli add FILE.zxp switching|priority OPTIONS... (zentrix-cli add for the options)", runAdd},
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
    std::printf("%s%s\n", qPrintable(Catalogue::productTitleFor(1)), qPrintable(Catalogue::versionTextConstant()));
    return 0;
}

static int programUsage()
{
    std::fprintf(stderr, "usage: zentrix-cli COMMAND [ARGS...]\n");
    for (const Command &c : commands)
        std::fprintf(stderr, "  %s\n", c.usage);
    return 2;
}

} // namespace zx::cli

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments();
    args.removeFirst();
    if (args.isEmpty())
        return zx::cli::programUsage();
    const QString name = args.takeFirst();
    for (const auto &c : zx::cli::commands) {
        if (name == QLatin1String(c.name))
            return c.run(args);
    }
    return zx::cli::programUsage();
}
