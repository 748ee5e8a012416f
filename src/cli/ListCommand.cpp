// zentrix-cli list: prints a list of a program file exactly as the main window's grid shows it.
#include "CliTexts.h"
#include "Commands.h"
#include "HeadlessPrompter.h"

#include "i18n/Msg.h"

#include "app/LoadFailure.h"
#include "model/Model.h"
#include "views/ListFormatter.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>

namespace zx::cli {

namespace {

// A cell for scripts: no padding, no runs of blanks that only align columns.
QString plainCell(const QString &cell)
{
    static const QRegularExpression blanks(QStringLiteral("\\s+"));
    return cell.trimmed().replace(blanks, QStringLiteral(" "));
}

// A value for scripts: without the unit words the list puts after times and pulse lengths.
QString valueCell(const Model &model, const QString &cell)
{
    QString v = plainCell(cell);
    for (const int unit : {Msg::HoursWord, Msg::Sec}) {
        const QString word = model.catalogue(unit).trimmed();
        if (!word.isEmpty() && v.endsWith(word) && v.size() > word.size())
            v = v.left(v.size() - word.size()).trimmed();
    }
    return v;
}

QJsonObject rowJson(const Model &model, const QStringList &header, const ListRow &row)
{
    QJsonObject o;
    for (int i = 0; i < row.cells.size(); ++i)
        o[i < header.size() && !plainCell(header[i]).isEmpty() ? plainCell(header[i]) : QString::number(i)] =
            valueCell(model, row.cells[i]);
    return o;
}

} // namespace

int runList(Options &o)
{
    const QStringList views{QStringLiteral("switching"), QStringLiteral("priority"),
                            QStringLiteral("changeover"), QStringLiteral("astro")};
    const int view = o.choice("--view", views).value_or(ListSwitching);
    const int set = o.integer("--set", {SetProgram, SetTemplate}).value_or(SetProgram);
    const auto type = o.deviceType();
    const int format =
        o.choice("--format", {QStringLiteral("text"), QStringLiteral("tsv"), QStringLiteral("json")})
            .value_or(o.has("--json") ? 2 : 0);
    if (o.failed())
        return 2;
    if (!o.expectArguments({QStringLiteral("FILE.zxp")}))
        return 2;
    if (o.has("--json") && o.has("--format") && format != 2)
        return o.usageError(
            cliText(CliText::ExcludeEachOther, o.language())
                .arg(QStringLiteral("--json"), QStringLiteral("--format ") + o.value("--format")));
    const QString file = o.positional.first();

    Model model;
    setLanguage(model, o);
    if (set == SetProgram) {
        if (!loadProgramOrTell(model, o, file, type.value_or(0)))
            return 1;
    } else {
        // the template set of the main window: loaded beside an empty program
        const ProgramLoad load = loadProgramQuietly(model, o, file, type.value_or(0), SetTemplate);
        if (!load.ok())
            return load.told ? 1
                             : fail(isStdio(file) ? cliText(CliText::StandardInput, o.language()) : file,
                                    load.text(model));
    }
    // the annual time switch keeps no astro table: there is no list to print
    if (view == ListAstro && model.device.Uhrentyp != TypeAstro)
        return fail(isStdio(file) ? cliText(CliText::StandardInput, o.language()) : file,
                    cliText(CliText::NoAstroList, o.language()));

    const ListTable table = views::BuildList(model, view, set);
    if (format == 2) {
        QJsonArray rows;
        for (const ListRow &row : table.rows)
            rows.append(rowJson(model, table.header, row));
        printBytes(QJsonDocument(rows).toJson(QJsonDocument::Indented));
        return 0;
    }
    auto cells = [&](const QStringList &in, bool values) {
        if (format == 0)
            return in.join(QLatin1Char('\t'));
        QStringList out;
        for (const QString &c : in)
            out << (values ? valueCell(model, c) : plainCell(c));
        return out.join(QLatin1Char('\t'));
    };
    printLine(cells(table.header, false));
    for (const ListRow &row : table.rows)
        printLine(cells(row.cells, true));
    return 0;
}

} // namespace zx::cli
