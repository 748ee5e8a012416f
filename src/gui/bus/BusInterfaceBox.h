#pragma once

#include <QGroupBox>

#include <functional>
#include <memory>

class QLineEdit;
class QRadioButton;

namespace zx {

struct AppContext;
class BusLibrary;

// The way to the bus, as every window that reaches a bus time switch offers it: the coupling
// unit on COM 1 or COM 2 (FT1.2), or an IP interface by host. It opens with the choice made
// last time and keeps the new one when a library is made.
//
// Controls by objectName: optcom1, optcom2, optip with its host field txtIpHost.
class BusInterfaceBox final : public QGroupBox {
    Q_OBJECT
  public:
    using SerialFactory = std::function<std::unique_ptr<BusLibrary>(int comIndex)>;

    BusInterfaceBox(AppContext &context, QWidget *parent = nullptr);

    // Tests hand in their own library for the serial ports.
    void setSerialFactory(SerialFactory factory) { serialFactory_ = std::move(factory); }
    // 0 for COM 1, 1 for COM 2 (and for an IP interface, where it names nothing).
    int comIndex() const;
    // The library for the chosen interface and the port's name for messages; nullptr when the
    // host typed is none (the user was told).
    std::unique_ptr<BusLibrary> makeLibrary(QString *portName);
    // While an operation runs nothing here may change.
    void setRunning(bool running);

  private:
    void rememberChoice();

    AppContext &ctx_;
    SerialFactory serialFactory_;
    QRadioButton *com1_ = nullptr;
    QRadioButton *com2_ = nullptr;
    QRadioButton *ip_ = nullptr;
    QLineEdit *host_ = nullptr;
};

} // namespace zx
