#pragma once

#include "calendar/Holidays.h"
#include "model/ListKinds.h"
#include "model/ProgramRecord.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

namespace zx {

class Clock;
class Model;

// One shown row of a list: its cell texts and the index of the record it stands for
// (-1 where a row stands for no record, e.g. astro days). Changeover rows carry the index of
// their table entry in `recordIndex` too, since Delete and Change address entries by it.
struct ListRow {
    QStringList cells;
    int recordIndex = -1;
};

struct ListTable {
    QStringList header;
    std::vector<ListRow> rows;
    int year = 0; // the astro list: the calendar year of its dates
};

// The lists of the main window (ListView).

// What the lists need from outside the model.
struct ListOptions {
    // Calendar year of the astro list (its dates and the summer-time hour); 0: the current year.
    int year = 0;
    // The clock that gives the current year; none: the system clock.
    const Clock *clock = nullptr;
    // Name of an Easter day code (82 = Easter Sunday) other than the model's holiday library
    // gives; an empty text, or no function, takes the library's name or the generic one.
    std::function<QString(int easterCode)> easterName;
};

namespace views {

// The lists as the main window, the CLI and printing show them.
ListTable BuildList(const Model &model, int listView, int setIndex);
ListTable BuildList(const Model &model, int listView, int setIndex, const ListOptions &options);

// The display copy of list 0 or 1: indexes of the set's records of the list's kind, in the
// set's current order, restricted to the records passing the list filter while FilterOn is set.
std::vector<int> DisplayRecords(const Model &model, int listView, int setIndex);

// Pieces of a switching-time row, also used by the entry dialog's last-entry panel.
QString TimeText(const Model &model, int minuteOfDay);
QString WeekdaysText(const Model &model, int weekdayMask);
using zx::DayMonthText;
QString ChannelsText(const Model &model, const ProgramRecord &r);
// " C1 C3": the channels of a conventional mask up to the device's channel count.
QString ChannelMaskText(const Model &model, int mask);
// The device's channel count, 1..8 whatever the model holds.
int ChannelCount(const Model &model);
QString PulseText(const Model &model, int seconds);
// The state column: "ON" or "OFF", a bus entry's value.
QString SwitchingStateText(const Model &model, const ProgramRecord &r);

// Pieces of a priority row.
QString PriorityBeginText(const Model &model, const ProgramRecord &r, const ListOptions &options = {});
QString PriorityEndText(const Model &model, const ProgramRecord &r);
QString PriorityProgramText(const Model &model, const ProgramRecord &r);
// The state column: "ON", "OFF" or the value of a permanent priority time, empty for a program.
QString PriorityStateText(const Model &model, const ProgramRecord &r);
using zx::EasterCodeFallbackName;

// "File of : " with the saving moment of the set, or "unsaved file ".
QString FileDateLabel(const Model &model, int setIndex);
// Title of the list window: list name, "sample " for the template, the file name in brackets.
QString WindowTitle(const Model &model, int listView, int setIndex);
// The program number as six digits, empty when the set has none.
QString ProgramNumberText(const Model &model, int setIndex);
// The message of the memory gauge: used records of the capacity, switching times, priority
// times and changeover entries (of 20) of the set.
QString UsedMemoryMessage(const Model &model, int setIndex);

} // namespace views
} // namespace zx
