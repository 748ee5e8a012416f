#pragma once

#include "Options.h"

#include "model/ProgramFile.h"
#include "platform/FileAccess.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <cstdio>

namespace zx {
class Model;
}

namespace zx::cli {

// ----- output conventions ------------------------------------------------------------------------

// The language of the error lines (--lang), set once the options are read: the system's
// reasons in them are said in it.
void setMessageLanguage(int language);
QString inMessageLanguage(const QString &text);

// The one error line: "zentrix-cli: FILE: reason" (or "zentrix-cli: reason" without a file);
// returns 1, the exit status of a failed operation.
int fail(const QString &file, const QString &reason);
int fail(const QString &reason);
// A note on standard error that --quiet silences.
void note(const Options &options, const QString &text);
// Results go to standard output; a failed write shows when the program ends (see main).
void printLine(const QString &line);
void printBytes(const QByteArray &bytes);
// The system's error number of a failed write to standard output after flushing it; 0 when
// everything reached it.
int standardOutputError();

// "-" names standard input or output.
bool isStdio(const QString &path);

// ----- program files -----------------------------------------------------------------------------

// Loads a program file ("-": standard input) into set 0 of a model set up for the device type
// (TypeAnnual or TypeAstro; 0: whichever the file is for). Prints the one error line and returns
// false when it does not load. The model's catalogue speaks the options' language.
// With `result`, a master card is left to the caller (no line printed); `piped` receives what
// standard input held.
bool loadProgramOrTell(Model &model, const Options &options, const QString &path, int type = 0,
                       LoadResult *result = nullptr, QByteArray *piped = nullptr);

// A load whose failure the caller words itself (check, diff, list of a template).
struct ProgramLoad {
    LoadResult result = LoadResult::Invalid;
    QString reason;    // the system's reason of an unreadable file
    LoadDetail detail; // what the loader found wrong
    bool told = false; // standard input could not be read: the error line is printed
    bool ok() const { return result == LoadResult::Loaded; }
    QString text(const Model &model) const; // the message after the file name, on one line
};
// Loads `path` ("-": standard input) into set `setIndex` of a model set up for `type` (0: the
// annual device, or the astro device when the file is for it).
ProgramLoad loadProgramQuietly(Model &model, const Options &options, const QString &path, int type = 0,
                               int setIndex = 0, QByteArray *piped = nullptr);

// The program file text of a file given to a command ("-": standard input); nullopt after the
// error line.
std::optional<QByteArray> readInputOrTell(const QString &path, qint64 maxSize);

// Saves set 0 to `path` ("-": standard output) by the program's own Save, answering its
// questions as HeadlessPrompter says. The time stamp honours SOURCE_DATE_EPOCH.
bool saveProgramOrTell(Model &model, const Options &options, const QString &path);

// Holds the advisory lock of a program file for a command's load-change-save; false after the
// error line when another program keeps it past the wait.
bool lockProgramOrTell(FileLock &lock, const QString &path);

// A fresh model whose catalogue speaks the options' language.
void setLanguage(Model &model, const Options &options);

// The working directory: --workdir, else ZENTRIX_WORKDIR, else the desktop program's own.
// Empty after the error line.
QString workDir(const Options &options);

// Refuses to create over an existing file without --force (new, build, read, export).
bool mayCreate(const Options &options, const QString &path);

// ----- commands, one file each -------------------------------------------------------------------

int runVersion(Options &o);
int runHelp(Options &o);
int runList(Options &o);
int runCatalogue(Options &o);
int runConfig(Options &o);
int runWrite(Options &o);
int runRead(Options &o);
int runDump(Options &o);
int runBuild(Options &o);
int runCheck(Options &o);
int runEaster(Options &o);
int runSummertime(Options &o);
int runHolidays(Options &o);
int runAstro(Options &o);
int runAstroChange(Options &o);
int runExport(Options &o);
int runBus(Options &o);
int runSimulate(Options &o);
int runAdd(Options &o);
int runNew(Options &o);
int runRemove(Options &o);
int runChange(Options &o);
int runDiff(Options &o);

// The list of commands with their usage.
void printProgramUsage(std::FILE *to);

// Whether the command line asks for a command that paints (PDF export).
bool exportNeedsGui(int argc, char **argv);

} // namespace zx::cli
