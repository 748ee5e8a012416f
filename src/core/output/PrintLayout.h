#pragma once

#include "views/ListFormatter.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <vector>

namespace zx {

class Model;

// One page of a printed list: rows [firstRow, endRow) under the repeated header.
struct PrintPage {
    int firstRow = 0;
    int endRow = 0;
};

// A list as it is printed: the header lines of every page (title with file name and filter
// state, channel legend, use, program number), the column headings, the rows with the cells
// of the list view, the tab position of each column in characters, and the pages.
struct PrintedList {
    int listKind = ListSwitching;
    int headerInterval = 0; // ZEILEN= of the configuration, 0 for the default
    QStringList headerLines;
    QStringList columnHeader;
    std::vector<QStringList> rows;
    std::vector<int> recordIndex; // of each row, as ListRow has it
    int year = 0;                 // the astro list's calendar year
    std::vector<int> tabs;
    std::vector<PrintPage> pages;
};

namespace output {

// Rows per page when the configuration gives none (ZEILEN=0).
constexpr int DefaultHeaderInterval = 50;
int EffectiveHeaderInterval(int configured);
// The setting for a count shown as EffectiveHeaderInterval(configured) and then chosen: the
// default left as it was stays 0 in the configuration.
int HeaderIntervalToStore(int chosen, int configured);

// The header lines of a printed list of a program set (the file name, channel names, use and
// program number are the set's own).
QStringList PrintHeaderLines(const Model &model, int listKind, int setIndex, bool filtered);

// Page ranges of a list: a new page with the header after every `headerInterval` rows, or
// sooner when fewer rows fit on the paper (`rowsThatFit`, 0 for output without pages), so no
// row is ever left over for a page of its own. A list without rows still gets one page, for
// its header.
std::vector<PrintPage> PageRanges(int rowCount, int headerInterval, int rowsThatFit = 0);

// A list view as printed, with its tab positions and pages.
PrintedList LayoutList(const Model &model, int listKind, int setIndex, const ListTable &table, bool filtered);

// The list text file beside the program file: its extension replaced by ".txt", ".txt"
// appended to a name without one.
QString TextFileName(const QString &programFile);

// The text file form of a list: the header lines once, the column headings, then every row as
// one line of up to ten cells, padded to the tab positions; CR LF line ends.
QByteArray TextFileLines(const PrintedList &list);

} // namespace output
} // namespace zx
