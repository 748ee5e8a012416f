#include "InterruptSignals.h"

#include <csignal>

namespace zx::cli {

namespace {

volatile std::sig_atomic_t caughtSignal = 0;
struct sigaction previousInt {
}, previousTerm{};

// Only async-signal-safe calls: a flag, and for the second signal the default action.
extern "C" void onInterrupt(int signal)
{
    if (caughtSignal != 0) {
        std::signal(signal, SIG_DFL);
        std::raise(signal);
        return;
    }
    caughtSignal = signal;
}

} // namespace

InterruptSignals::InterruptSignals()
{
    struct sigaction action {};
    action.sa_handler = onInterrupt;
    sigemptyset(&action.sa_mask);
    ::sigaction(SIGINT, &action, &previousInt);
    ::sigaction(SIGTERM, &action, &previousTerm);
}

InterruptSignals::~InterruptSignals()
{
    ::sigaction(SIGINT, &previousInt, nullptr);
    ::sigaction(SIGTERM, &previousTerm, nullptr);
}

int InterruptSignals::caught()
{
    return caughtSignal;
}

int InterruptSignals::exitStatus(int otherwise)
{
    return caughtSignal != 0 ? 128 + caughtSignal : otherwise;
}

} // namespace zx::cli
