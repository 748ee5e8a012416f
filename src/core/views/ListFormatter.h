#pragma once

#include "model/ProgramRecord.h"

#include <QString>
#include <QStringList>

#include <vector>

namespace zx {

class Model;

// One shown row of a list: its cell texts and the index of the record it stands for
// (-1 where a row stands for no record, e.g. astro days).
struct ListRow {
    QStringList cells;
    int recordIndex = -1;
};

struct ListTable {
    QStringList header;
    std::vector<ListRow> rows;
};

namespace views {

// The lists as the main window, the CLI and printing show them.
ListTable BuildList(const Model &model, int listView, int setIndex);

// Pieces of a switching-time row, also used by the entry dialog's last-entry panel.
QString TimeText(const Model &model, int minuteOfDay);
QString WeekdaysText(const Model &model, int weekdayMask);
QString DayMonthText(const Model &model, int day, int month);
QString ChannelsText(const Model &model, const ProgramRecord &r);
QString PulseText(const Model &model, int seconds);

} // namespace views
} // namespace zx
