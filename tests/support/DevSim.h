#pragma once

// The device simulator for the tests that drive the product against it; ZX_DEVSIM names the
// executable (the test target defines it and depends on devsim).
#include <QElapsedTimer>
#include <QProcess>
#include <QString>
#include <QStringList>

#include <csignal>

namespace zx::test {

// devsim on its pseudo-terminal, for the lifetime of the object.
class DevSim {
  public:
    explicit DevSim(const QStringList &args)
    {
        process_.setProgram(QStringLiteral(ZX_DEVSIM));
        process_.setArguments(args);
        process_.setProcessChannelMode(QProcess::SeparateChannels);
        process_.start();
        if (process_.waitForStarted(5000)) {
            QElapsedTimer t;
            t.start();
            while (!process_.canReadLine() && t.elapsed() < 5000)
                process_.waitForReadyRead(100);
            path_ = QString::fromUtf8(process_.readLine()).trimmed();
        }
    }
    ~DevSim()
    {
        process_.terminate();
        if (!process_.waitForFinished(3000))
            process_.kill();
        process_.waitForFinished(1000);
    }
    // What the simulator printed first: its pseudo-terminal, or the address it listens on.
    const QString &path() const { return path_; }
    // Fault switches of the bus and IP simulators: end the fault, strike it now, die at once.
    void heal() { ::kill(pid_t(process_.processId()), SIGUSR1); }
    void strike() { ::kill(pid_t(process_.processId()), SIGUSR2); }
    void kill() { ::kill(pid_t(process_.processId()), SIGKILL); }

  private:
    QProcess process_;
    QString path_;
};

} // namespace zx::test
