#pragma once

#include "entry/EntryDeviceRules.h"
#include "entry/EntrySession.h"

#include <QDialog>
#include <QPointer>

#include <array>
#include <vector>

class QButtonGroup;
class QCheckBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QTimer;
class QToolButton;

namespace zx {

struct AppContext;
class AutomationDialog;
class TypedFieldControl;

// What the switching and the priority time entry share: the channel boxes and bus channels, the
// on/off button, OK / all / exit with the confirmation mark, the automation box and the
// last-entry panel, and the run of confirmations an EntrySession decides. A subclass builds its
// own date and time controls, lays the shared ones out and stores the entry its controls hold.
class EntryDialog : public QDialog {
    Q_OBJECT
  public:
    // Shows the dialog in the mode the model holds: EditMode with Marked, FirstMarked and
    // LastMarked for change and copy. In enter mode with a full memory it says so and closes.
    void openInMode();
    int editMode() const { return session_.mode(); }
    // The record shown in the last-entry panel (UsedCount while none is shown).
    int lastEntryIndex() const { return session_.panelIndex(); }

  Q_SIGNALS:
    // Program changed or the dialog closed: the main window shows the list of Program the
    // dialog enters (ListView, CurrentSet 0 are set) and redraws it.
    void listChanged();

  public Q_SLOTS:
    void done(int result) override;

  protected:
    // The objectNames of the shared controls that differ between the two forms.
    struct SharedNames {
        const char *ok, *exit, *mark, *panelUp, *panelDown, *allTimer;
        int panelUpStep;            // the record the panel's up arrow steps to: +1 next, -1 previous
        bool busInTwoColumns;       // the bus channels in two columns of four, else in one row
        int copyTitle, changeTitle; // the title of a copy and of a change run
        bool (*panelShows)(const ProgramRecord &, int busDevice); // the records of the last-entry panel
    };
    EntryDialog(AppContext &ctx, int listView, const SharedNames &names, QWidget *parent);

    // Loads record `index` of a set into the controls; change mode also loads the channels.
    virtual void loadRecord(int index, int setIndex) = 0;
    // Advances the controls once by the automation increments.
    virtual void applyIncrements() = 0;
    // Stores the entry the controls hold through the session.
    virtual EntrySession::Confirmation store() = 0;
    virtual void showPanel(int index) = 0;
    virtual void clearPanel() = 0;
    // After a confirmation that did not close the dialog: true when another one follows at once
    // (a run over the priority dialog's holiday list).
    virtual bool continueRun(const EntrySession::Confirmation &) { return false; }
    // A run of the subclass's own ends (a refusal, or the dialog closes).
    virtual void stopOwnRun() {}
    virtual bool ownRunGoesOn() const { return false; }
    virtual void onOkForAll();
    // The channel or bus channel choice changed.
    virtual void refreshColours() {}
    // Copy runs always offer "all"; a change run offers it while the automation is ticked, so
    // that a marked group is shifted in one go.
    virtual bool offersAll() const;

    void setSharedCaptions();
    // Shows the channel controls of the device; the on/off button belongs to a conventional one.
    void setupChannels(const ChannelLayout &layout);
    void setBusChannel(int channel);
    int channelMask() const;
    int busChannel() const;
    void setState(int state);
    int state() const { return state_; }
    void addTypedField(TypedFieldControl *field) { typed_.push_back(field); }
    TypedFieldControl *typed(int field) const { return typed_[static_cast<std::size_t>(field)]; }

    // Loads the controls for the mode the session opened in (openInMode).
    virtual void loadControls() = 0;
    // The control the dialog opens on: its first field, so that typing starts at once.
    virtual QWidget *firstField() const = 0;
    // The first channel control the device offers (a check box or a bus channel), for the
    // channels heading to name.
    QWidget *firstChannelControl() const;
    // Return presses OK (in a typed field too, once the field took its value); Tab visits the
    // entry's own controls, the channels, the value controls and the bottom row, in this order.
    void setKeyboardOrder(const std::vector<QWidget *> &entryControls,
                          const std::vector<QWidget *> &valueControls);
    void refreshAllButton();
    // Another confirmation follows shortly (a run of the subclass's own).
    void continueAll();
    // "Change the switching program (2 of 5)" while a run walks marked records.
    QString runTitle() const;
    void setRunTitle() { setWindowTitle(runTitle()); }

    void changeEvent(QEvent *event) override;

    AppContext &ctx_;
    EntrySession session_;
    bool finished_ = true;

    std::array<QCheckBox *, 4> channels_{};
    QGroupBox *busFrame_ = nullptr;
    std::array<QRadioButton *, 8> busChannels_{};
    QButtonGroup *busGroup_ = nullptr;
    QPushButton *onOffButton_ = nullptr;
    QPushButton *okButton_ = nullptr;
    QPushButton *allButton_ = nullptr;
    QPushButton *exitButton_ = nullptr;
    QLabel *okMark_ = nullptr;
    QCheckBox *automationActive_ = nullptr;
    QPushButton *newAutomationButton_ = nullptr;
    QPushButton *applyOnceButton_ = nullptr;
    QGroupBox *lastEntryFrame_ = nullptr;
    QToolButton *lastEntryUp_ = nullptr;
    QToolButton *lastEntryDown_ = nullptr;

  private:
    void buildChannelControls(bool busInTwoColumns);
    void buildSharedControls(const SharedNames &names);
    void confirm();
    void onAllTick();
    void onNewAutomation();
    void onStepPanel(int direction);
    bool commitTypedFields();
    bool checkMemoryOnActivation();

    int listView_;
    SharedNames names_;
    int state_ = 1;
    std::vector<TypedFieldControl *> typed_;
    QTimer *markTimer_ = nullptr;
    QTimer *allTimer_ = nullptr;
    QPointer<AutomationDialog> automation_;
};

} // namespace zx
