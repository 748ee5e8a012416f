#pragma once

#include "output/PrintLayout.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <vector>

namespace zx {

// The printed lists as CSV (RFC 4180) for spreadsheets: UTF-8, CR LF, each list as its column
// headings followed by one record per list row with the cells of the list view. Several lists
// follow each other, separated by one empty line, so a single list is a plain table.
QByteArray ListsCsv(const std::vector<PrintedList> &lists);

// The CSV table beside the program file: the list text file's name ending in ".csv".
QString CsvFileName(const QString &programFile);

namespace csv {
// One record: fields with a comma, quote, CR or LF, or blanks at either end are quoted (quotes
// doubled); a record of one empty field is written as "" so it is not read as an empty line.
QByteArray Record(const QStringList &fields);
} // namespace csv

} // namespace zx
