#pragma once

#include "entry/EntrySession.h"

#include "calendar/Holidays.h"
#include "entry/PriorityEntry.h"

#include <QDialog>
#include <QPointer>

#include <array>
#include <optional>

class QButtonGroup;
class QComboBox;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class QScrollBar;
class QTimer;
class QToolButton;

namespace zx {

struct AppContext;
class AutomationDialog;
class TypedFieldControl;
struct TypedValue;

// The priority time entry frmEingPZ: enters new priority times, changes the marked ones of
// Program or copies the marked ones of Template, one per OK, with the entry automation.
class PriorityTimeDialog : public QDialog {
    Q_OBJECT
  public:
    explicit PriorityTimeDialog(AppContext &ctx, QWidget *parent = nullptr);

    // Shows the dialog in the mode the model holds (EditMode, Marked, FirstMarked, LastMarked).
    // In enter mode with a full memory it says so and closes.
    void openInMode();
    // Loads record `index` of a set into the controls; change mode also loads the channels.
    void loadRecord(int index, int setIndex);
    void applyIncrements();
    // The entry as the controls hold it.
    PriorityEntryValues currentValues() const;
    int editMode() const { return editMode_; }

  Q_SIGNALS:
    // Program changed or the dialog closed: the main window shows the priority list of
    // Program (ListView 1, CurrentSet 0 are set) and redraws it.
    void listChanged();

  public Q_SLOTS:
    void done(int result) override;

  protected:
    void changeEvent(QEvent *event) override;

  private:
    void buildControls();
    void setCaptions();
    void fillLists();
    void setupChannels();
    void showValues(const PriorityEntryValues &e, bool loadChannels);
    void setState(int state);
    void refreshFields();
    void refreshPermanent();
    void refreshAllButton();
    bool checkMemoryOnActivation();
    void onConfirm();
    void onOkForAll();
    void onOkForAllTick();
    void onNewAutomation();
    void showPanel(int index);
    void onStepPanel(int direction);
    void onHolidayOption(bool ticked);
    void fillHolidayList();
    void showYearRule();
    // The holiday chosen in lst_bew_Feiertage: a member of the chosen set, or of the library, or
    // the Easter day of a loaded record that no holiday of the library carries.
    std::optional<Holiday> chosenHoliday() const;
    void selectEasterCode(int easterCode);
    void selectYear(int yearCode);
    int chosenYearCode() const;
    // Lowers a day its month does not have to the month's last day (with a beep).
    void limitDay(QListWidget *dayList, const QListWidget *monthList);
    bool applyTyped(int field, const TypedValue &typed);
    bool commitTypedFields();
    bool holidayMode() const;

    AppContext &ctx_;
    int editMode_ = 0;
    EntrySession session_; // the mode and the marked records a change or copy run walks
    bool okForAll_ = false;
    bool holidaysForAll_ = false;
    int panelIndex_ = 0;
    bool finished_ = true;
    bool tellingFull_ = false;
    int state_ = 0;

    QListWidget *listvontag_ = nullptr;
    QListWidget *lstvonmon_ = nullptr;
    QListWidget *listbistag_ = nullptr;
    QListWidget *lstbismon_ = nullptr;
    QListWidget *lstvonJahr_ = nullptr;
    QListWidget *lstPrio_ = nullptr;
    QLineEdit *txtvonTag_ = nullptr;
    QLineEdit *txtvonMon_ = nullptr;
    QLineEdit *txtbistag_ = nullptr;
    QLineEdit *txtbisMon_ = nullptr;
    QLineEdit *txtAnzPrio_ = nullptr;
    QCheckBox *chk1x_ = nullptr;
    std::array<QCheckBox *, 4> channels_{};
    QGroupBox *fraEIB_ = nullptr;
    std::array<QRadioButton *, 8> busChannels_{};
    QButtonGroup *busGroup_ = nullptr;
    QPushButton *cmdEinAus_ = nullptr;
    QScrollBar *vsbwert_ = nullptr;
    QLineEdit *txtwert_ = nullptr;
    QLabel *picBackColor_ = nullptr;
    QLabel *lblBegin_ = nullptr;
    QLabel *lblEnd_ = nullptr;
    QLabel *lblvonUz_ = nullptr;
    QLabel *lblbisUz_ = nullptr;
    QLabel *lblPrio_ = nullptr;
    QLabel *lblChannels_ = nullptr;
    QPushButton *cmdPzOk_ = nullptr;
    QPushButton *cmdalleok_ = nullptr;
    QPushButton *cmdPzEnd_ = nullptr;
    QCheckBox *chkautopil_ = nullptr;
    QPushButton *cmdneuassi_ = nullptr;
    QPushButton *cmd1xauto_ = nullptr;
    QGroupBox *fraold_ = nullptr;
    QToolButton *imgoldPzup_ = nullptr;
    QToolButton *imgoldPzdown_ = nullptr;
    QLabel *lbloldvon_ = nullptr;
    QLabel *lbloldbis_ = nullptr;
    QLabel *lbloldkan_ = nullptr;
    QLabel *lbloldprio_ = nullptr;
    QLabel *imgPzok_ = nullptr;
    QTimer *timer1_ = nullptr;
    QTimer *tmalleok_ = nullptr;
    QCheckBox *chkBewFeiertage_ = nullptr;
    QComboBox *cboFtSets_ = nullptr;
    QListWidget *lstBewFeiertage_ = nullptr;
    QPointer<AutomationDialog> automation_;
    enum Field { FieldFromDay, FieldFromMonth, FieldToDay, FieldToMonth, FieldCount };
    std::array<TypedFieldControl *, FieldCount> typed_{};
};

} // namespace zx
