#include "SerialCommandSupport.h"

#include "CliTexts.h"
#include "Commands.h"
#include "HeadlessPrompter.h"
#include "InterruptSignals.h"
#include "model/Model.h"
#include "platform/EventPump.h"
#include "platform/QtSerialPort.h"
#include "transfer/DeviceTransfer.h"
#include "transfer/SerialLink.h"

#include <QDir>

#include <cstdio>
#include <unistd.h>

namespace zx::cli {

namespace {

SerialTimings serialTimings()
{
    // Tests against the simulated interface on a pseudo-terminal need no settling time and no
    // long quiet time; a real device gets its own timings.
    if (qEnvironmentVariableIntValue("ZENTRIX_FAST_LINK") == 1) {
        SerialTimings fast;
        fast.quietMs = 40;
        fast.startWaitMs = 0;
        return fast;
    }
    return {};
}

} // namespace

bool runSerialCommand(Model &model, Options &options, const QString &workDir, const QString &direction,
                      const QString &programFile, QByteArray *readBack)
{
    QtSerialPort port;
    SleepingEventPump pump;
    HeadlessPrompter prompter;
    prompter.quietQuestions = options.quiet();
    StderrProgress progress;
    progress.quiet = options.quiet();
    const InterruptSignals interruptGuard;
    const bool done = RunSerialTransfer(model, prompter, pump, port, workDir, direction, programFile,
                                        options.value("--port"), &progress, serialTimings(), readBack);
    if (InterruptSignals::caught() != 0) {
        // The transfer has closed the port; what the device holds now depends on the direction.
        fail(options.value("--port"),
             cliText(direction == QLatin1String("s") ? CliText::WriteInterrupted : CliText::ReadInterrupted,
                     options.language()));
    }
    return done;
}

bool StderrProgress::cancelRequested() const
{
    return InterruptSignals::caught() != 0;
}

void StderrProgress::begin(const QString &caption)
{
    if (quiet)
        return;
    terminal_ = ::isatty(STDERR_FILENO);
    std::fprintf(stderr, "%s\n", qPrintable(caption));
}

void StderrProgress::setLabel(const QString &text)
{
    if (quiet)
        return;
    std::fprintf(stderr, "%s\n", qPrintable(text));
}

void StderrProgress::setGauge(int value)
{
    if (quiet)
        return;
    // On a terminal the gauge counts in place; in a log every sixteenth block gets a line.
    if (terminal_) {
        std::fprintf(stderr, "\r%3d/%d", value, GaugeMax);
    } else if (value == GaugeMax || value / 16 != shown_ / 16) {
        std::fprintf(stderr, "%d/%d\n", value, GaugeMax);
    }
    shown_ = value;
    std::fflush(stderr);
}

void StderrProgress::end()
{
    if (quiet)
        return;
    if (terminal_)
        std::fprintf(stderr, "\n");
}

} // namespace zx::cli
