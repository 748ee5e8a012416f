#pragma once

#include "entry/EntrySession.h"
#include "entry/SwitchingEntry.h"
#include "entry/TypedField.h"

#include <QDialog>
#include <QPointer>

#include <array>

class QAbstractButton;
class QButtonGroup;
class QCheckBox;
class QComboBox;
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

// The switching time entry frmEingSz: enters new switching times, changes the marked ones of
// Program or copies the marked ones of Template, one per OK, with the entry automation.
class SwitchingTimeDialog : public QDialog {
    Q_OBJECT
  public:
    explicit SwitchingTimeDialog(AppContext &ctx, QWidget *parent = nullptr);

    // Shows the dialog in the mode the model holds: EditMode with Marked, FirstMarked and
    // LastMarked for change and copy. In enter mode with a full memory it says so and closes.
    void openInMode();
    // Loads record `index` of a set into the controls; change mode also loads the channels.
    void loadRecord(int index, int setIndex);
    // Advances the controls once by the automation increments.
    void applyIncrements();
    // The entry as the controls hold it.
    SwitchingEntryValues currentValues() const;
    int editMode() const { return editMode_; }
    // The record shown in the last-entry panel (UsedCount while none is shown).
    int lastEntryIndex() const { return panelIndex_; }

  Q_SIGNALS:
    // Program changed or the dialog closed: the main window shows the switching list of
    // Program (ListView 0, CurrentSet 0 are set) and redraws it.
    void listChanged();

  public Q_SLOTS:
    void done(int result) override;

  protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void changeEvent(QEvent *event) override;

  private:
    enum Field { FieldHour, FieldMinute, FieldPulse, FieldDay, FieldMonth, FieldProgram, FieldCount };

    void buildControls();
    void setCaptions();
    void fillLists();
    void setupChannels();
    void resetEntry();
    void showValues(const SwitchingEntryValues &e, bool loadChannels);
    void showKind();
    void setDay(int day, bool runLimit);
    void setMonth(int month);
    void setWeekdayMask(int mask);
    void setState(int state);
    void setBusChannel(int channel);
    QString fieldText(int field) const;
    void refreshFields();
    void refreshColours();
    void refreshValueLabel();
    void refreshAllButton();
    bool checkMemoryOnActivation();

    void onWeekdayClicked(int index, bool checked);
    void onDailyClicked(bool checked);
    void onDayChosen(int row);
    void onMonthChosen(int row);
    void onChannelClicked(int index, bool checked);
    void onConfirm();
    void onOkForAll();
    void onOkForAllTick();
    void onAutomationToggled(bool checked);
    void onNewAutomation();
    void onStepPanel(int direction);
    FieldRange rangeOf(int field) const;
    bool applyTyped(int field, const TypedValue &typed);
    // Takes every value still being typed; false when one is refused (nothing may be stored).
    bool commitTypedFields();

    void showPanel(int index);
    void clearPanel();
    void beep();

    AppContext &ctx_;
    int editMode_ = 0;
    EntrySession session_; // the mode and the marked records a change or copy run walks
    bool okForAll_ = false;
    int panelIndex_ = 0;
    bool finished_ = true;
    bool tellingFull_ = false;
    EntryKind kind_ = EntryKind::Undecided;
    int state_ = 1;

    QListWidget *liststd_ = nullptr;
    QListWidget *listmin_ = nullptr;
    QListWidget *listimp_ = nullptr;
    QListWidget *listtag_ = nullptr;
    QListWidget *lstMonat_ = nullptr;
    QListWidget *lstPrio_ = nullptr;
    std::array<QLineEdit *, FieldCount> fields_{};
    std::array<TypedFieldControl *, FieldCount> typed_{};
    std::array<QCheckBox *, 7> weekdays_{};
    QCheckBox *chktgl_ = nullptr;
    QCheckBox *chk1x_ = nullptr;
    std::array<QCheckBox *, 4> channels_{};
    QGroupBox *fraEIB_ = nullptr;
    std::array<QRadioButton *, 8> busChannels_{};
    QButtonGroup *busGroup_ = nullptr;
    QPushButton *cmdEinAus_ = nullptr;
    QScrollBar *vsbwert_ = nullptr;
    QComboBox *cboformat_ = nullptr;
    QLabel *lblwert_ = nullptr;
    QLabel *lblValueHeading_ = nullptr;
    QLabel *lblPulseHeading_ = nullptr;
    QLabel *lblPrioHeading_ = nullptr;
    QPushButton *cmdSzOk_ = nullptr;
    QPushButton *cmdalleok_ = nullptr;
    QPushButton *cmdSzEnd_ = nullptr;
    QCheckBox *chkautopil_ = nullptr;
    QPushButton *cmdneuassi_ = nullptr;
    QPushButton *cmd1xauto_ = nullptr;
    QToolButton *imgoldSzup_ = nullptr;
    QToolButton *imgoldSzdown_ = nullptr;
    QLabel *lbloldtime_ = nullptr;
    QLabel *lbloldday_ = nullptr;
    QLabel *lbloldkan_ = nullptr;
    QLabel *lbloldprio_ = nullptr;
    QLabel *lbloldimp_ = nullptr;
    QGroupBox *fraold_ = nullptr;
    QLabel *imgSzok_ = nullptr;
    QTimer *timer1_ = nullptr;
    QTimer *tmalleok_ = nullptr;
    std::array<QLabel *, 9> headings_{};
    QPointer<AutomationDialog> automation_;
};

} // namespace zx
