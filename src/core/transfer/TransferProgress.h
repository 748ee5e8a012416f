#pragma once

#include <QString>

namespace zx {

// The progress window of a serial transfer: a caption, one line of text and a gauge.
class TransferProgress {
  public:
    static constexpr int GaugeMax = 129;

    virtual ~TransferProgress() = default;
    // Shows the window (not modal) with its caption; returns once it is on screen.
    virtual void begin(const QString &caption) = 0;
    virtual void setLabel(const QString &text) = 0;
    // 0..GaugeMax.
    virtual void setGauge(int value) = 0;
    virtual void end() = 0;
    // true once the user asked to end the transfer (the window's Cancel); the transfer then
    // ends as a failed one.
    virtual bool cancelRequested() const { return false; }
};

} // namespace zx
