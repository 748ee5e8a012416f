#pragma once

#include "bus/BusOperationDialog.h"

#include <functional>

class QComboBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;

namespace zx {

struct AppContext;
class BusInterfaceBox;
class BusLibrary;
enum class BusCommand;

// FrmBusaccess, "Bus Access to Timer": the serial port of the bus coupling unit, the search of
// one line for time switches, and Program, Read and Reinstall for the physical address chosen.
//
// Controls by objectName: optcom1, optcom2, optip with its host field txtIpHost; txtBereich, txtBuslinie,
// txtvonTeilnehmer, txtbisTeilnehmer and the search button cmdSuchen; cboPhysadr, txtPhysadr; cmdbusprog,
// cmdbusread, cmd_appl_reinstall, cmdBusend; the status lblStatus and the gauge ggestatus.
class BusAccessDialog final : public BusOperationDialog {
    Q_OBJECT
  public:
    // `save` saves the program (with the Save-as dialog when it has no file yet); true: saved.
    BusAccessDialog(AppContext &context, std::function<bool()> save, QWidget *parent = nullptr);
    ~BusAccessDialog() override;

    // Tests hand in their own library.
    void setLibraryFactory(std::function<std::unique_ptr<BusLibrary>(int comIndex)> factory);

  public Q_SLOTS:
    void startSearch();
    void program();
    void read();
    void reinstall();
    void reject() override;

  Q_SIGNALS:
    // The program in memory may have changed: the lists are to be re-ordered and redrawn.
    void listChanged();

  private:
    void checkField(QLineEdit *field, int kind);
    void run(BusCommand command, int address);
    void setRunning(bool running) override;
    int comIndex() const;
    void finishAndClose();

    std::function<bool()> save_;
    bool closing_ = false;

    BusInterfaceBox *port_ = nullptr;
    QLineEdit *area_ = nullptr;
    QLineEdit *line_ = nullptr;
    QLineEdit *fromDevice_ = nullptr;
    QLineEdit *toDevice_ = nullptr;
    QPushButton *search_ = nullptr;
    QComboBox *found_ = nullptr;
    QLineEdit *address_ = nullptr;
    QPushButton *program_ = nullptr;
    QPushButton *read_ = nullptr;
    QPushButton *reinstall_ = nullptr;
    QPushButton *exit_ = nullptr;
};

} // namespace zx
