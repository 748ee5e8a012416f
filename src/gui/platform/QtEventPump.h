#pragma once

#include "platform/EventPump.h"

#include <QElapsedTimer>

namespace zx {

// Waits while the Qt event loop goes on handling window events.
class QtEventPump final : public EventPump {
  public:
    QtEventPump();
    void processEvents() override;
    qint64 monotonicMs() const override { return timer_.elapsed(); }
    void pauseMs(int ms) override;

  private:
    QElapsedTimer timer_;
};

} // namespace zx
