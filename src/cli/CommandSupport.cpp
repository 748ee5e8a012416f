// What every command shares: the error line, standard input and output, loading a program.
#include "CliTexts.h"
#include "Commands.h"
#include "HeadlessPrompter.h"

#include "app/InstallPaths.h"
#include "app/LoadFailure.h"
#include "model/Model.h"
#include "platform/Clock.h"
#include "platform/FileAccess.h"
#include "platform/SystemReasons.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>

namespace zx::cli {

namespace {
int messageLanguage = English;
}

void setMessageLanguage(int language)
{
    messageLanguage = language;
}

QString inMessageLanguage(const QString &text)
{
    return TranslateReasons(text, messageLanguage);
}

int fail(const QString &file, const QString &reason)
{
    // a reason of several lines (the system's text under a path) stays on one line
    QString r = inMessageLanguage(reason);
    r.replace(u'\n', u' ');
    std::fprintf(stderr, "zentrix-cli: %s: %s\n", qPrintable(QDir::toNativeSeparators(file)), qPrintable(r));
    return 1;
}

int fail(const QString &reason)
{
    QString r = inMessageLanguage(reason);
    r.replace(u'\n', u' ');
    std::fprintf(stderr, "zentrix-cli: %s\n", qPrintable(r));
    return 1;
}

void note(const Options &options, const QString &text)
{
    if (!options.quiet())
        std::fprintf(stderr, "%s\n", qPrintable(text));
}

void printLine(const QString &line)
{
    printBytes(line.toUtf8() + '\n');
}

namespace {
int outputError = 0; // errno of the first failed write to standard output
}

void printBytes(const QByteArray &bytes)
{
    errno = 0;
    if (std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout) != size_t(bytes.size()) &&
        !outputError)
        outputError = errno;
}

int standardOutputError()
{
    errno = 0;
    if (std::fflush(stdout) != 0 && !outputError)
        outputError = errno;
    if (std::ferror(stdout) && !outputError)
        outputError = EIO;
    return outputError;
}

bool isStdio(const QString &path)
{
    return path == QLatin1String("-");
}

std::optional<QByteArray> readInputOrTell(const QString &path, qint64 maxSize)
{
    if (isStdio(path)) {
        QFile in;
        if (!in.open(stdin, QIODevice::ReadOnly)) {
            fail(cliText(CliText::StandardInput, messageLanguage), in.errorString());
            return std::nullopt;
        }
        // a pipe hands its bytes over in pieces
        QByteArray content;
        while (content.size() <= maxSize) {
            const QByteArray piece = in.read(maxSize + 1 - content.size());
            if (piece.isEmpty())
                break;
            content += piece;
        }
        if (content.size() > maxSize) {
            fail(cliText(CliText::StandardInput, messageLanguage), SystemReason(EFBIG, English));
            return std::nullopt;
        }
        return content;
    }
    const FileContent file = ReadRegularFile(path, maxSize);
    if (file.ok())
        return file.content;
    fail(path, file.status == ReadStatus::Missing    ? SystemReason(ENOENT, English)
               : file.status == ReadStatus::TooLarge ? SystemReason(EFBIG, English)
                                                     : file.error);
    return std::nullopt;
}

void setLanguage(Model &model, const Options &options)
{
    model.device.Sprache = options.language();
    model.catalogue.fillBuiltin(options.language(), model.BrandNumber);
}

QString ProgramLoad::text(const Model &model) const
{
    QString why = LoadFailureText(model, result, reason, &detail);
    why.replace(u'\n', u' ');
    if (result == LoadResult::OtherType517 || result == LoadResult::OtherType236)
        why += QStringLiteral(" (--type %1)").arg(int(result));
    return why;
}

ProgramLoad loadProgramQuietly(Model &model, const Options &options, const QString &path, int type,
                               int setIndex, QByteArray *pipedOut)
{
    setLanguage(model, options);
    // The loader reports an unreadable path itself; here it goes into the caller's line.
    HeadlessPrompter quiet;
    quiet.quiet = true;
    ProgramLoad load;
    QByteArray piped;
    if (isStdio(path)) {
        const auto content = readInputOrTell(path, MaxProgramFileSize);
        if (!content) {
            load.result = LoadResult::Unreadable;
            load.told = true;
            return load;
        }
        piped = *content;
        if (pipedOut)
            *pipedOut = piped;
    }
    auto loadAs = [&](int t) {
        SetUpDeviceType(model, t);
        load.result = isStdio(path)
                          ? LoadProgramText(model, piped, false, setIndex, &load.detail)
                          : LoadProgram(model, quiet, path, false, setIndex, &load.reason, &load.detail);
    };
    loadAs(type == 0 ? TypeAnnual : type);
    // Without --type the file says which device it is for.
    if (type == 0 && load.result == LoadResult::OtherType236)
        loadAs(TypeAstro);
    return load;
}

bool loadProgramOrTell(Model &model, const Options &options, const QString &path, int type,
                       LoadResult *result, QByteArray *pipedOut)
{
    const ProgramLoad load = loadProgramQuietly(model, options, path, type, SetProgram, pipedOut);
    if (result)
        *result = load.result;
    if (load.ok())
        return true;
    if (!load.told && !(result && load.result == LoadResult::MasterCard))
        fail(isStdio(path) ? cliText(CliText::StandardInput, options.language()) : path, load.text(model));
    return false;
}

QString workDir(const Options &options)
{
    QString error;
    const QString dir = ResolveWorkDir(options.value("--workdir"), &error);
    if (dir.isEmpty())
        fail(error);
    return dir;
}

bool mayCreate(const Options &options, const QString &path)
{
    if (isStdio(path) || options.has("--force"))
        return true;
    const QFileInfo info(path);
    if (!info.exists() && !info.isSymLink())
        return true;
    fail(path, cliText(CliText::Exists, options.language()));
    return false;
}

namespace {

// Reproducible files: SOURCE_DATE_EPOCH fixes the moment a saved file carries.
QDateTime saveMoment()
{
    bool ok = false;
    const qint64 epoch = qEnvironmentVariable("SOURCE_DATE_EPOCH").toLongLong(&ok);
    if (ok && epoch >= 0)
        return QDateTime::fromSecsSinceEpoch(epoch, Qt::UTC);
    return QDateTime::currentDateTime();
}

// How long a command waits for another one that holds the program file: long enough for a
// queue of scripted calls, short enough that a stuck one is noticed.
constexpr int LockWaitMs = 30000;

} // namespace

bool saveProgramOrTell(Model &model, const Options &options, const QString &path)
{
    HeadlessPrompter prompter;
    prompter.quietQuestions = options.quiet();
    prompter.file = isStdio(path) ? cliText(CliText::StandardOutput, options.language()) : path;
    const FixedClock clock(saveMoment());
    if (isStdio(path)) {
        return SaveProgramWith(
            model, prompter, clock,
            [](const QByteArray &text, QString *) {
                printBytes(text);
                return true;
            },
            prompter.file);
    }
    model.program().FileName = path;
    return SaveProgram(model, prompter, clock);
}

bool lockProgramOrTell(FileLock &lock, const QString &path)
{
    if (isStdio(path))
        return true;
    QString error;
    if (lock.lock(LockWaitMs, &error))
        return true;
    fail(path, error);
    return false;
}

} // namespace zx::cli
