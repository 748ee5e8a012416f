#pragma once

#include "bus/BusOperationDialog.h"

#include <functional>
#include <memory>

class QLineEdit;
class QPushButton;

namespace zx {

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
class CompareBusDialog final : public BusOperationDialog {
    Q_OBJECT
  public:
    // `compare` receives what the device holds once it has all been read.
    CompareBusDialog(AppContext &context, std::function<void(const Model &device)> compare,
                     QWidget *parent = nullptr);

    // Tests hand in their own library.
    void setLibraryFactory(std::function<std::unique_ptr<BusLibrary>(int comIndex)> factory);

  public Q_SLOTS:
    void readAndCompare();

  private:
    void setRunning(bool running) override;

    std::function<void(const Model &)> compare_;

    BusInterfaceBox *port_ = nullptr;
    QLineEdit *address_ = nullptr;
    QPushButton *read_ = nullptr;
    QPushButton *cancel_ = nullptr;
};

} // namespace zx
