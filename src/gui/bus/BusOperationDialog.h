#pragma once

#include "bus/BusTimings.h"

#include <QDialog>

#include <functional>
#include <optional>

class QLabel;
class QLayout;
class QLineEdit;
class QProgressBar;

namespace zx {

struct AppContext;
struct BusEnvironment;
class BusInterfaceBox;

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
    // The physical address in `field`; none after the catalogue's message.
    std::optional<int> physicalAddress(QLineEdit *field);
    // Runs `operation` on the bus the box names, with the window locked, the gauge from zero and
    // the steps in the status line. false when there is no way to the bus (the user was told).
    bool runOnBus(BusInterfaceBox &port,
                  const std::function<void(BusEnvironment &env, int comIndex)> &operation);
    // Locks or frees the window's controls while an operation runs.
    virtual void setRunning(bool running) { running_ = running; }

    AppContext &ctx_;
    BusTimings timings_;
    bool running_ = false;
    QLabel *status_ = nullptr;
    QProgressBar *gauge_ = nullptr;
};

} // namespace zx
