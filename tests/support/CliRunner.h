#pragma once

// Runs zentrix-cli as a user or a script would: arguments, optional standard input, and where
// standard output goes. For the end-to-end tests, which define ZX_CLI (the program's path).

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

struct CliOptions {
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
#ifdef ZX_CLI
    p->start(QStringLiteral(ZX_CLI), args);
#endif
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

} // namespace zx::test
