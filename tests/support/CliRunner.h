#pragma once

// Runs zentrix-cli (or another of our programs) as a user or a script would: arguments, optional
// standard input, environment, and where standard output goes. Every run ends at its deadline;
// a program still running then is killed. For the end-to-end tests, which define ZX_CLI (the
// command line program's path).

#include <QByteArray>
#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

#include <memory>

namespace zx::test {

struct CliRun {
    int exitCode = -1; // -1: crashed or did not finish within its deadline
    QByteArray out;
    QByteArray err;
};

// The same run with its output read as UTF-8 text, for tests that compare lines.
struct CliTextRun {
    int exitCode = -1;
    QString out;
    QString err;
};

struct CliOptions {
    QString program;          // empty: zentrix-cli
    QByteArray input;         // standard input
    QString workingDirectory; // empty: the test's own
    QString outputFile;       // standard output goes here instead of the pipe
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    int deadlineMs = 60000;
};

inline std::unique_ptr<QProcess> StartCli(const QStringList &args, const CliOptions &options = {})
{
    auto p = std::make_unique<QProcess>();
    p->setProcessEnvironment(options.environment);
    if (!options.workingDirectory.isEmpty())
        p->setWorkingDirectory(options.workingDirectory);
    if (!options.outputFile.isEmpty())
        p->setStandardOutputFile(options.outputFile);
    QString program = options.program;
#ifdef ZX_CLI
    if (program.isEmpty())
        program = QStringLiteral(ZX_CLI);
#endif
    p->start(program, args);
    p->write(options.input);
    p->closeWriteChannel();
    return p;
}

inline CliRun FinishCli(std::unique_ptr<QProcess> p, int deadlineMs = 60000)
{
    CliRun r;
    if (!p->waitForFinished(deadlineMs)) {
        p->kill();
        p->waitForFinished(5000);
    } else if (p->exitStatus() == QProcess::NormalExit) {
        r.exitCode = p->exitCode();
    }
    r.out = p->readAllStandardOutput();
    r.err = p->readAllStandardError();
    return r;
}

inline CliRun RunCli(const QStringList &args, const CliOptions &options = {})
{
    return FinishCli(StartCli(args, options), options.deadlineMs);
}

inline CliTextRun RunCliText(const QStringList &args, const CliOptions &options = {})
{
    const CliRun r = RunCli(args, options);
    return {r.exitCode, QString::fromUtf8(r.out), QString::fromUtf8(r.err)};
}

} // namespace zx::test
