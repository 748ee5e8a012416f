#pragma once

#include "model/ValueRanges.h"

#include <QHash>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace zx::cli {

class Options;

// Every command gets its parsed arguments and returns the exit status: 0 success, 1 failure of
// the operation, 2 bad usage.
using CommandFn = int (*)(Options &options);

// One option of a command, as the parser, the usage, the man page and the completion know it.
struct OptionSpec {
    const char *name;  // "--type"
    const char *value; // what follows it ("517|236", "FILE"); nullptr for a flag
    const char *help;  // one line for the man page
};

// One command of zentrix-cli: the only place its usage is kept.
struct Command {
    const char *name;
    const char *synopsis; // what follows the command word; several forms separated by '\n'
    const char *summary;  // what the command does, one sentence
    std::vector<OptionSpec> options;
    CommandFn run;
};

// Options every command takes besides its own.
const std::vector<OptionSpec> &CommonOptions();

// The command table, in the order the usage lists it.
const std::vector<Command> &Commands();
const Command *FindCommand(const QString &name);

// The arguments of one command split by its option table: "--name value" and "--name=value"
// alike, flags, "--" ends the options, and a lone "-" is a file name (standard input or
// output). The typed getters check a value against its range and, when it does not fit, print
// one line that names the option and the value and mark the usage as failed.
class Options {
  public:
    explicit Options(const Command &command) : command_(command) {}

    // false after printing why (unknown option, missing value, repeated option).
    bool parse(const QStringList &args);

    const Command &command() const { return command_; }
    QStringList positional;

    bool has(const char *name) const { return values_.contains(QLatin1String(name)); }
    QString value(const char *name) const { return values_.value(QLatin1String(name)); }

    // The language of messages and lists (--lang en|de|fr); English without the option.
    int language() const { return language_; }
    bool quiet() const { return has("--quiet"); }

    // nullopt when absent or refused; refusals print and set failed().
    std::optional<int> integer(const char *name, ValueRange range);
    std::optional<int> choice(const char *name, const QStringList &choices);
    std::optional<int> deviceType(); // --type 517|236
    bool failed() const { return failed_; }

    // "zentrix-cli: --name value: reason"; returns 2.
    int badValue(const char *name, const QString &reason);
    // "zentrix-cli: what" and the command's usage; returns 2.
    int usageError(const QString &what = {});
    // The arguments besides the options, as the synopsis names them ({"A.zxp", "B.zxp"}): the
    // first one missing or the first one too many is named in the usage error. `required` of
    // them must be given (-1: all); `more` lets the last name repeat (FILE...).
    bool expectArguments(const QStringList &names, int required = -1, bool more = false);
    // A usage error that names the options of which one is required.
    int missingOneOf(const QStringList &options);

  private:
    const OptionSpec *find(const QString &name) const;

    const Command &command_;
    QHash<QString, QString> values_;
    int language_ = 2; // English
    bool failed_ = false;
};

// The language --lang names anywhere among the arguments (before "--"), English without it: a
// usage error met before the option is read speaks it too.
int LanguageOfArguments(const QStringList &args);

// The usage lines of a command ("usage: zentrix-cli list FILE.zxp ...").
QString UsageText(const Command &command);

} // namespace zx::cli
