#include "output/CsvExport.h"

namespace zx {

namespace csv {

namespace {

bool needsQuotes(const QString &field)
{
    if (field.isEmpty())
        return false;
    for (const QChar c : field) {
        if (c == u',' || c == u'"' || c == u'\r' || c == u'\n')
            return true;
    }
    // Spreadsheets trim unquoted blanks; the list cells keep theirs.
    return field.front().isSpace() || field.back().isSpace();
}

} // namespace

QByteArray Record(const QStringList &fields)
{
    QByteArray out;
    if (fields.size() == 1 && fields.front().isEmpty())
        return QByteArrayLiteral("\"\"\r\n");
    for (qsizetype i = 0; i < fields.size(); ++i) {
        if (i > 0)
            out += ',';
        const QString &f = fields[i];
        if (needsQuotes(f)) {
            QString quoted = f;
            quoted.replace(QLatin1Char('"'), QStringLiteral("\"\""));
            out += '"' + quoted.toUtf8() + '"';
        } else {
            out += f.toUtf8();
        }
    }
    out += "\r\n";
    return out;
}

} // namespace csv

QString CsvFileName(const QString &programFile)
{
    QString name = output::TextFileName(programFile);
    name.chop(4); // ".txt"
    return name + QStringLiteral(".csv");
}

QByteArray ListsCsv(const std::vector<PrintedList> &lists)
{
    QByteArray out;
    for (const PrintedList &list : lists) {
        if (!out.isEmpty())
            out += "\r\n";
        out += csv::Record(list.columnHeader);
        for (const QStringList &row : list.rows)
            out += csv::Record(row);
    }
    return out;
}

} // namespace zx
