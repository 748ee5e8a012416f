#pragma once

#include "calendar/Holidays.h"
#include "entry/EntryDialog.h"
#include "entry/PriorityEntry.h"

#include <array>
#include <optional>

class QComboBox;
class QGridLayout;
class QHBoxLayout;
class QLineEdit;
class QListWidget;
class QScrollBar;
class QVBoxLayout;

namespace zx {

struct TypedValue;

// The priority time entry frmEingPZ: enters new priority times, changes the marked ones of
// Program or copies the marked ones of Template, one per OK, with the entry automation.
class PriorityTimeDialog : public EntryDialog {
    Q_OBJECT
  public:
    explicit PriorityTimeDialog(AppContext &ctx, QWidget *parent = nullptr);

    // The entry as the controls hold it.
    PriorityEntryValues currentValues() const;

  protected:
    void loadControls() override;
    void loadRecord(int index, int setIndex) override;
    EntrySession::Confirmation store() override;
    bool continueRun(const EntrySession::Confirmation &c) override;
    void stopOwnRun() override { holidayRun_ = false; }
    bool ownRunGoesOn() const override { return holidayRun_; }
    void onOkForAll() override;
    bool offersAll() const override;
    void applyIncrements() override;
    void showPanel(int index) override;
    void clearPanel() override;
    QWidget *firstField() const override;

  private:
    void buildControls();
    void buildDateColumns(QGridLayout *grid);
    void buildPriorityColumns(QGridLayout *grid);
    void buildChannelRow(QHBoxLayout *channelRow);
    void buildBottomRows(QVBoxLayout *top);
    void buildTypedFields();
    void setCaptions();
    void fillLists();
    void setupChannels();
    void showValues(const PriorityEntryValues &e, bool loadChannels);
    void refreshFields();
    void refreshPermanent();
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
    bool holidayMode() const;

    enum Field { FieldFromDay, FieldFromMonth, FieldToDay, FieldToMonth, FieldCount };
    bool holidayRun_ = false; // "all" walks the holiday list

    QListWidget *fromDayList_ = nullptr;
    QListWidget *fromMonthList_ = nullptr;
    QListWidget *toDayList_ = nullptr;
    QListWidget *toMonthList_ = nullptr;
    QListWidget *yearList_ = nullptr;
    QListWidget *priorityList_ = nullptr;
    QLineEdit *fromDayField_ = nullptr;
    QLineEdit *fromMonthField_ = nullptr;
    QLineEdit *toDayField_ = nullptr;
    QLineEdit *toMonthField_ = nullptr;
    QLineEdit *priorityField_ = nullptr;
    QCheckBox *once_ = nullptr;
    QScrollBar *value_ = nullptr;
    QLineEdit *valueField_ = nullptr;
    QLabel *permanentMark_ = nullptr;
    QLabel *beginHeading_ = nullptr;
    QLabel *endHeading_ = nullptr;
    QLabel *beginTime_ = nullptr;
    QLabel *endTime_ = nullptr;
    QLabel *priorityHeading_ = nullptr;
    QLabel *channelsHeading_ = nullptr;
    QLabel *lastBegin_ = nullptr;
    QLabel *lastEnd_ = nullptr;
    QLabel *lastChannels_ = nullptr;
    QLabel *lastPriority_ = nullptr;
    QLabel *lastState_ = nullptr;
    QCheckBox *holidayOption_ = nullptr;
    QComboBox *holidaySets_ = nullptr;
    QListWidget *holidayList_ = nullptr;
};

} // namespace zx
