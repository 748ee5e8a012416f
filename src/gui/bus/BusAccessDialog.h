#pragma once

#include "bus/BusTimings.h"

#include <QDialog>

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
class BusAccessDialog final : public QDialog {
    Q_OBJECT
  public:
    // `save` saves the program (with the Save-as dialog when it has no file yet); true: saved.
    BusAccessDialog(AppContext &context, std::function<bool()> save, QWidget *parent = nullptr);
    ~BusAccessDialog() override;

    // Tests shrink the link's waits and hand in their own library.
    void setBusTimings(const BusTimings &timings) { timings_ = timings; }
    void setLibraryFactory(std::function<std::unique_ptr<BusLibrary>(int comIndex)> factory);
    bool running() const { return running_; }

  public Q_SLOTS:
    void startSearch();
    void program();
    void read();
    void reinstall();
    void reject() override;

  Q_SIGNALS:
    // The program in memory may have changed: the lists are to be re-ordered and redrawn.
    void listChanged();

  protected:
    void closeEvent(QCloseEvent *event) override;

  private:
    void checkField(QLineEdit *field, int kind);
    std::optional<int> physicalAddress();
    void run(BusCommand command, int address);
    void setRunning(bool running);
    int comIndex() const;
    void finishAndClose();

    AppContext &ctx_;
    std::function<bool()> save_;
    BusTimings timings_;
    bool running_ = false;
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
    QLabel *status_ = nullptr;
    QProgressBar *gauge_ = nullptr;
};

} // namespace zx
