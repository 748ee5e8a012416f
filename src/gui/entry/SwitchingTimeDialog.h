#pragma once

#include "entry/EntryDialog.h"
#include "entry/SwitchingEntry.h"
#include "entry/TypedField.h"

#include <array>

class QComboBox;
class QHBoxLayout;
class QLineEdit;
class QListWidget;
class QScrollBar;
class QVBoxLayout;

namespace zx {

// The switching time entry frmEingSz: enters new switching times, changes the marked ones of
// Program or copies the marked ones of Template, one per OK, with the entry automation.
class SwitchingTimeDialog : public EntryDialog {
    Q_OBJECT
  public:
    explicit SwitchingTimeDialog(AppContext &ctx, QWidget *parent = nullptr);

    // The entry as the controls hold it.
    SwitchingEntryValues currentValues() const;

  protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void loadControls() override;
    void loadRecord(int index, int setIndex) override;
    void applyIncrements() override;
    EntrySession::Confirmation store() override;
    void showPanel(int index) override;
    void clearPanel() override;
    void refreshColours() override;
    QWidget *firstField() const override;

  private:
    enum Field { FieldHour, FieldMinute, FieldPulse, FieldDay, FieldMonth, FieldProgram, FieldCount };

    void buildControls();
    QVBoxLayout *addColumn(QHBoxLayout *columns, QLabel *heading, QListWidget *list, QLineEdit *field);
    void buildTimeColumns(QHBoxLayout *columns);
    void buildDayColumns(QHBoxLayout *columns);
    void buildChannelColumn(QHBoxLayout *columns);
    void buildBottomRow(QHBoxLayout *bottom);
    void setCaptions();
    void fillLists();
    void setupChannels();
    void resetEntry();
    void showValues(const SwitchingEntryValues &e, bool loadChannels);
    void showKind();
    void setDay(int day, bool runLimit);
    void setMonth(int month);
    void setWeekdayMask(int mask);
    QString fieldText(int field) const;
    void refreshFields();
    void refreshValueLabel();

    void onWeekdayClicked(bool checked);
    void onDailyClicked(bool checked);
    void onDayChosen(int row);
    void onMonthChosen(int row);
    FieldRange rangeOf(int field) const;
    bool applyTyped(int field, const TypedValue &typed);

    EntryKind kind_ = EntryKind::Undecided;

    QListWidget *hourList_ = nullptr;
    QListWidget *minuteList_ = nullptr;
    QListWidget *pulseList_ = nullptr;
    QListWidget *dayList_ = nullptr;
    QListWidget *monthList_ = nullptr;
    QListWidget *programList_ = nullptr;
    std::array<QLineEdit *, FieldCount> fields_{};
    std::array<QCheckBox *, 7> weekdays_{};
    QCheckBox *daily_ = nullptr;
    QCheckBox *once_ = nullptr;
    QScrollBar *value_ = nullptr;
    QComboBox *valueFormat_ = nullptr;
    QLabel *valueLabel_ = nullptr;
    QLabel *valueHeading_ = nullptr;
    QLabel *pulseHeading_ = nullptr;
    QLabel *programHeading_ = nullptr;
    QLabel *lastTime_ = nullptr;
    QLabel *lastDays_ = nullptr;
    QLabel *lastChannels_ = nullptr;
    QLabel *lastProgram_ = nullptr;
    QLabel *lastPulse_ = nullptr;
    QLabel *lastState_ = nullptr;
    std::array<QLabel *, 9> headings_{};
};

} // namespace zx
