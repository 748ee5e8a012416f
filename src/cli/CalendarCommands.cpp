// zentrix-cli easter, summertime and holidays: the calendar of the time switch without the desktop.
#include "CliTexts.h"
#include "Commands.h"
#include "UsageProblems.h"

#include "calendar/Changeover.h"
#include "calendar/Holidays.h"
#include "model/Model.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>

namespace zx::cli {

namespace {

QString isoDate(int day, int month, int year)
{
    return QStringLiteral("%1-%2-%3")
        .arg(year, 4, 10, QLatin1Char('0'))
        .arg(month, 2, 10, QLatin1Char('0'))
        .arg(day, 2, 10, QLatin1Char('0'));
}

bool isRealDate(int day, int month, int year)
{
    return month >= 1 && month <= 12 && day >= 1 && day <= DaysInMonth(month, year);
}

void printJson(const QJsonValue &value)
{
    printBytes(value.isArray() ? QJsonDocument(value.toArray()).toJson(QJsonDocument::Indented)
                               : QJsonDocument(value.toObject()).toJson(QJsonDocument::Indented));
}

} // namespace

int runEaster(Options &o)
{
    if (o.positional.isEmpty())
        return o.usageError(EasterUsageProblem(o));
    std::vector<int> years;
    for (const QString &a : o.positional) {
        bool ok = false;
        const int y = a.toInt(&ok);
        if (!ok || y < EasterFirstYear || y > EasterLastYear)
            return o.usageError(
                a + QStringLiteral(": ") +
                cliText(CliText::Outside, o.language()).arg(EasterFirstYear).arg(EasterLastYear));
        years.push_back(y);
    }
    QJsonArray json;
    for (int y : years) {
        const DayMonth d = DateOfDay(EasterSunday(y), y);
        if (o.has("--json"))
            json.append(QJsonObject{{QStringLiteral("year"), y},
                                    {QStringLiteral("easter"), isoDate(d.day, d.month, y)}});
        else
            printLine(isoDate(d.day, d.month, y));
    }
    if (o.has("--json"))
        printJson(json);
    return 0;
}

int runSummertime(Options &o)
{
    const auto rule = o.integer("--rule", {RuleNoChangeover, RuleTable});
    const auto year = o.integer("--year", {CalendarFirstYear, CalendarLastYear});
    if (o.failed())
        return 2;
    const bool table = o.has("--table");
    if (!o.positional.isEmpty() || !rule || !year || (*rule == RuleTable) != table)
        return o.usageError(SummertimeUsageProblem(o));

    Model model;
    setLanguage(model, o);
    if (table && !loadProgramOrTell(model, o, o.value("--table")))
        return 1;
    const ProgramSet &set = model.program();
    const bool json = o.has("--json");
    QJsonArray out;
    if (o.has("--days")) {
        for (int doy = 1; doy <= DaysInYear(*year); ++doy) {
            const DayMonth d = DateOfDay(doy, *year);
            const bool summer = IsSummerTime(*rule, set, d.day, d.month, *year);
            if (json)
                out.append(QJsonObject{{QStringLiteral("date"), isoDate(d.day, d.month, *year)},
                                       {QStringLiteral("summerTime"), summer}});
            else
                printLine(isoDate(d.day, d.month, *year) + QLatin1Char('\t') +
                          QLatin1Char(summer ? '1' : '0'));
        }
        if (json)
            printJson(out);
        return 0;
    }
    // A table entry may hold a day its month lacks: it is named, never printed as a date.
    auto line = [&](const char *what, int day, int month) {
        const bool real = isRealDate(day, month, *year);
        const QString date = real ? isoDate(day, month, *year)
                                  : QStringLiteral("%1 (day %2, month %3)")
                                        .arg(cliText(CliText::NotADate, o.language()))
                                        .arg(day)
                                        .arg(month);
        if (json) {
            QJsonObject e{{QStringLiteral("change"), QLatin1String(what)}};
            if (real)
                e[u"date"] = date;
            else
                e[u"notADate"] = QJsonObject{{QStringLiteral("day"), day}, {QStringLiteral("month"), month}};
            out.append(e);
        } else {
            printLine(QLatin1String(what) + u' ' + date);
        }
    };
    if (*rule == RuleTable) {
        for (int i = 0; i < set.DstCount && i < DstEntries; ++i) {
            if (YearOfEntry(i, set) != *year)
                continue;
            const ChangeoverEntry e = DecodeChangeoverEntry(set.DstTable[i]);
            line("advance", e.advance.day, e.advance.month);
            line("set-back", e.setBack.day, e.setBack.month);
        }
    } else if (const auto span = RuleSpan(*rule, *year)) {
        const DayMonth a = DateOfDay(span->start, *year);
        const DayMonth b = DateOfDay(span->end, *year);
        line("advance", a.day, a.month);
        line("set-back", b.day, b.month);
    }
    if (json)
        printJson(out);
    return 0;
}

int runHolidays(Options &o)
{
    const auto year = o.integer("--year", {CalendarFirstYear, CalendarLastYear});
    if (o.failed())
        return 2;
    if (!o.positional.isEmpty() || !year)
        return o.usageError(HolidaysUsageProblem(o));
    const QString dir = workDir(o);
    if (dir.isEmpty())
        return 1;

    Model model;
    setLanguage(model, o);
    const QString path = HolidayFilePath(model, dir);
    const HolidayFileResult loaded = LoadHolidays(path, model.holidays);
    if (!loaded.ok())
        return fail(path, loaded.status == HolidayLoad::Damaged
                              ? model.catalogue(Msg::IllegalFile) + QLatin1Char(' ') + loaded.error
                              : loaded.error);
    const HolidayLibrary &lib = model.holidays;
    std::vector<int> chosen;
    if (o.has("--set")) {
        const QString setName = o.value("--set");
        const auto it = std::find_if(lib.sets.begin(), lib.sets.end(),
                                     [&](const HolidaySet &s) { return s.name == setName; });
        if (it == lib.sets.end())
            return fail(path, QStringLiteral("no holiday set '%1'").arg(setName));
        for (int m : it->members)
            if (m >= 1 && m <= int(lib.holidays.size()))
                chosen.push_back(m - 1);
    } else {
        for (int i = 0; i < static_cast<int>(lib.holidays.size()); ++i)
            chosen.push_back(i);
    }
    std::vector<std::pair<CalendarDate, QString>> lines;
    for (int index : chosen) {
        const Holiday &h = lib.holidays[index];
        // A free holiday of the next or last year can fall into this one (the Monday before 3 January).
        for (int y = *year - 1; y <= *year + 1; ++y) {
            const auto date = HolidayDate(h, y);
            if (date && date->year == *year)
                lines.emplace_back(*date, h.name);
        }
    }
    std::stable_sort(lines.begin(), lines.end(),
                     [](const auto &a, const auto &b) { return a.first < b.first; });
    QJsonArray json;
    for (const auto &[date, name] : lines) {
        if (o.has("--json"))
            json.append(QJsonObject{{QStringLiteral("date"), isoDate(date.day, date.month, date.year)},
                                    {QStringLiteral("name"), name}});
        else
            printLine(isoDate(date.day, date.month, date.year) + QLatin1Char('\t') + name);
    }
    if (o.has("--json"))
        printJson(json);
    return 0;
}

} // namespace zx::cli
