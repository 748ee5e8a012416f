#pragma once

#include <QStringList>

#include <cstdio>

namespace zx::cli {

// Every command gets its own arguments (without the command word) and returns the exit
// status: 0 success, 1 failure of the operation, 2 bad usage.
using CommandFn = int (*)(const QStringList &args);

struct Command {
    const char *name;
    const char *usage;   // one line, shown in the usage message
    const char *summary; // what the command does, shown by --help
    CommandFn run;
};

// Prints the one-line usage message of a command (or of the program) and returns 2.
int usageError(const char *usage);

// An option word ("-x", "--type"); a lone "-" is no option.
bool isOption(const QString &arg);

// Command implementations, one file each.
int runVersion(const QStringList &args);
int runList(const QStringList &args);
int runCatalogue(const QStringList &args);
int runConfig(const QStringList &args);
int runWrite(const QStringList &args);
int runRead(const QStringList &args);
int runDump(const QStringList &args);
int runBuild(const QStringList &args);
int runCheck(const QStringList &args);
int runEaster(const QStringList &args);
int runSummertime(const QStringList &args);
int runHolidays(const QStringList &args);
int runAstro(const QStringList &args);
int runAstroChange(const QStringList &args);
int runExport(const QStringList &args);
int runBus(const QStringList &args);

// Whether the command line asks for a command that paints (PDF export).
bool exportNeedsGui(int argc, char **argv);
int runSimulate(const QStringList &args);
int runAdd(const QStringList &args);
int runNew(const QStringList &args);
int runDiff(const QStringList &args);

} // namespace zx::cli
