#pragma once

#include "bus/BusTimings.h"

#include <QDialog>

#include <functional>

class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;

namespace zx {

struct AppContext;
class BusInterfaceBox;
class BusLibrary;
class Model;

// Compare with device for a bus time switch: the way to the bus and the physical address, then
// the device is read into a document of its own, never into the program in memory. A read that
// fails or breaks off at its deadline is reported with the catalogue's message and leaves the
// dialog open to try again or to cancel.
//
// Controls by objectName: frmVergleichBus with the interface box (optcom1, optcom2, optip,
// txtIpHost), txtPhysadr, cmdVergleichen, cmdAbbrechen, lblStatus and the gauge ggestatus.
class CompareBusDialog final : public QDialog {
    Q_OBJECT
  public:
    // `compare` receives what the device holds once it has all been read.
    CompareBusDialog(AppContext &context, std::function<void(const Model &device)> compare,
                     QWidget *parent = nullptr);

    // Tests shrink the link's waits and hand in their own library.
    void setBusTimings(const BusTimings &timings) { timings_ = timings; }
    void setLibraryFactory(std::function<std::unique_ptr<BusLibrary>(int comIndex)> factory);
    bool running() const { return running_; }

  public Q_SLOTS:
    void readAndCompare();
    void reject() override;

  protected:
    void closeEvent(QCloseEvent *event) override;

  private:
    void setRunning(bool running);

    AppContext &ctx_;
    std::function<void(const Model &)> compare_;
    BusTimings timings_;
    bool running_ = false;

    BusInterfaceBox *port_ = nullptr;
    QLineEdit *address_ = nullptr;
    QPushButton *read_ = nullptr;
    QPushButton *cancel_ = nullptr;
    QLabel *status_ = nullptr;
    QProgressBar *gauge_ = nullptr;
};

} // namespace zx
