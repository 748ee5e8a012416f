#pragma once

#include "output/PrintLayout.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <vector>

namespace zx {

class Model;

// The printed lists as CSV (RFC 4180) for spreadsheets: UTF-8, CR LF, each list as a header row
// naming its fields followed by one record per list row. The fields hold values a spreadsheet
// sorts and computes with, not the list's display texts: times as HH:MM, dates as ISO
// YYYY-MM-DD (MM-DD for a date of every year), channels as numbers, on/off, plain numbers. The
// field names are the same in every language, so scripts can rely on them. Several lists follow
// each other, separated by one empty line, so a single list is a plain table. The rows are the
// records of set 0 the lists show (their recordIndex), in their order.
QByteArray ListsCsv(const Model &model, const std::vector<PrintedList> &lists);

// The CSV table beside the program file: the list text file's name ending in ".csv".
QString CsvFileName(const QString &programFile);

namespace csv {
// One record: fields with a comma, quote, CR or LF, or blanks at either end are quoted (quotes
// doubled); a record of one empty field is written as "" so it is not read as an empty line.
QByteArray Record(const QStringList &fields);
} // namespace csv

} // namespace zx
