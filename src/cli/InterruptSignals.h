#pragma once

namespace zx::cli {

// SIGINT and SIGTERM during a transfer: the first one only sets a flag, which the transfer's
// waits poll, so the connection to the device and the port or tunnel are closed as after any
// failure; a second one ends the program at once. Outside the guard's lifetime the signals do
// what they did before.
class InterruptSignals {
  public:
    InterruptSignals();
    ~InterruptSignals();
    InterruptSignals(const InterruptSignals &) = delete;
    InterruptSignals &operator=(const InterruptSignals &) = delete;

    // The signal that arrived (0: none).
    static int caught();
    // 128 + the signal after an interruption (130 for SIGINT, 143 for SIGTERM), else `otherwise`.
    static int exitStatus(int otherwise);
};

} // namespace zx::cli
