#pragma once

#include <QtGlobal>

namespace zx {

// Keeps the user interface responsive while an operation waits. The gui pumps the Qt event
// loop; headless callers and tests sleep or run on a fake clock.
class EventPump {
  public:
    virtual ~EventPump() = default;
    // Handles pending window events once, then returns.
    virtual void processEvents() = 0;
    // A monotonic millisecond counter for time-outs and quiet times.
    virtual qint64 monotonicMs() const = 0;
    // Waits, handling events, for the given milliseconds.
    virtual void pauseMs(int ms) = 0;
    void waitSeconds(double seconds) { pauseMs(static_cast<int>(seconds * 1000)); }
};

// Without an event loop: sleeps briefly between polls.
class SleepingEventPump final : public EventPump {
  public:
    void processEvents() override;
    qint64 monotonicMs() const override;
    void pauseMs(int ms) override;
};

} // namespace zx
