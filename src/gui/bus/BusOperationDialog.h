#pragma once

#include "bus/BusTimings.h"

#include <QDialog>

class QLabel;
class QLayout;
class QProgressBar;

namespace zx {

struct AppContext;

// A window that runs bus operations: the status line (lblStatus) and the gauge (ggestatus) they
// report to, the link's timings, and no closing while an operation runs; it ends at its
// deadline.
class BusOperationDialog : public QDialog {
    Q_OBJECT
  public:
    // Tests shrink the link's waits.
    void setBusTimings(const BusTimings &timings) { timings_ = timings; }
    bool running() const { return running_; }

  public Q_SLOTS:
    void reject() override;

  protected:
    BusOperationDialog(AppContext &context, QWidget *parent);
    void closeEvent(QCloseEvent *event) override;
    // "Status:" and the status line, in a row to which the caller adds its buttons.
    QLayout *statusRow();

    AppContext &ctx_;
    BusTimings timings_;
    bool running_ = false;
    QLabel *status_ = nullptr;
    QProgressBar *gauge_ = nullptr;
};

} // namespace zx
