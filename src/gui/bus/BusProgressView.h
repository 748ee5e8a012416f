#pragma once

#include "bus/BusOperations.h"

#include <QLabel>
#include <QProgressBar>

#include <algorithm>

namespace zx {

// A bus operation's step in a window's status line and its progress in the gauge.
class BusProgressView final : public BusProgress {
  public:
    BusProgressView(QLabel *status, QProgressBar *gauge) : status_(status), gauge_(gauge) {}
    void setStep(const QString &text) override { status_->setText(text.trimmed()); }
    void setGauge(int value, int maximum) override
    {
        gauge_->setMaximum(std::max(1, maximum));
        gauge_->setValue(std::min(value, gauge_->maximum()));
    }

  private:
    QLabel *status_;
    QProgressBar *gauge_;
};

} // namespace zx
