// zentrix-cli easter, summertime and holidays: the calendar of the time switch without the desktop.
#include "Commands.h"
#include "HeadlessPrompter.h"
#include "ProgramDocument.h"

#include "calendar/Changeover.h"
#include "calendar/Holidays.h"
#include "model/Model.h"

#include <QDir>

#include <algorithm>

namespace zx::cli {

namespace {

const char *const EasterUsage = "zentrix-cli easter YEAR...";
const char *const SummertimeUsage =
    "zentrix-cli summertime --rule 0..3 --year Y [--days] | --rule 4 --table FILE.zxp "
    "--year Y [--days]";
const char *const HolidaysUsage =
    "zentrix-cli holidays --year Y [--lang en|de|fr] [--set NAME] [--workdir DIR]";

QString isoDate(int day, int month, int year)
{
    return QStringLiteral("%1-%2-%3")
        .arg(year, 4, 10, QLatin1Char('0'))
        .arg(month, 2, 10, QLatin1Char('0'))
        .arg(day, 2, 10, QLatin1Char('0'));
}

void printLine(const QString &line)
{
    std::printf("%s\n", line.toUtf8().constData());
}

// A year within [first, last]; a clear message otherwise.
bool parseYear(const QString &text, int first, int last, int *year)
{
    bool ok = false;
    const int y = text.toInt(&ok);
    if (!ok || y < first || y > last) {
        std::fprintf(stderr, "zentrix-cli: year '%s' is outside %d..%d\n", qPrintable(text), first, last);
        return false;
    }
    *year = y;
    return true;
}

} // namespace

int runEaster(const QStringList &args)
{
    if (args.isEmpty())
        return usageError(EasterUsage);
    std::vector<int> years;
    for (const QString &a : args) {
        int y = 0;
        if (!parseYear(a, EasterFirstYear, EasterLastYear, &y))
            return usageError(EasterUsage);
        years.push_back(y);
    }
    for (int y : years) {
        const DayMonth d = DateOfDay(EasterSunday(y), y);
        printLine(isoDate(d.day, d.month, y));
    }
    return 0;
}

int runSummertime(const QStringList &args)
{
    int rule = -1;
    int year = 0;
    bool days = false;
    QString table;
    for (int i = 0; i < args.size(); ++i) {
        const QString &a = args[i];
        const bool hasValue = i + 1 < args.size();
        if (a == QLatin1String("--rule") && hasValue) {
            bool ok = false;
            rule = args[++i].toInt(&ok);
            if (!ok || rule < RuleNoChangeover || rule > RuleTable)
                return usageError(SummertimeUsage);
        } else if (a == QLatin1String("--year") && hasValue) {
            if (!parseYear(args[++i], CalendarFirstYear, CalendarLastYear, &year))
                return usageError(SummertimeUsage);
        } else if (a == QLatin1String("--table") && hasValue) {
            table = args[++i];
        } else if (a == QLatin1String("--days")) {
            days = true;
        } else {
            return usageError(SummertimeUsage);
        }
    }
    if (rule < 0 || year == 0 || (rule == RuleTable) != !table.isEmpty())
        return usageError(SummertimeUsage);

    Model model;
    model.catalogue.fillBuiltin(English, model.BrandNumber);
    if (rule == RuleTable) {
        HeadlessPrompter prompter;
        int used = 0;
        const LoadResult result = loadProgramFile(model, prompter, table, 0, &used);
        if (result != LoadResult::Loaded) {
            std::fprintf(stderr, "%s: %s\n", qPrintable(table), qPrintable(loadFailureText(model, result)));
            return 1;
        }
    }
    const ProgramSet &set = model.program();
    if (days) {
        for (int doy = 1; doy <= DaysInYear(year); ++doy) {
            const DayMonth d = DateOfDay(doy, year);
            printLine(isoDate(d.day, d.month, year) + QLatin1Char('\t') +
                      QLatin1Char(IsSummerTime(rule, set, d.day, d.month, year) ? '1' : '0'));
        }
        return 0;
    }
    std::vector<SummerTimeSpan> spans;
    if (rule == RuleTable)
        spans = TableSpans(set, year);
    else if (const auto span = RuleSpan(rule, year))
        spans.push_back(*span);
    for (const SummerTimeSpan &s : spans) {
        const DayMonth a = DateOfDay(s.start, year);
        const DayMonth b = DateOfDay(s.end, year);
        printLine(QStringLiteral("advance ") + isoDate(a.day, a.month, year));
        printLine(QStringLiteral("set-back ") + isoDate(b.day, b.month, year));
    }
    return 0;
}

int runHolidays(const QStringList &args)
{
    int year = 0;
    int language = English;
    QString setName;
    bool setGiven = false;
    QString workDir = QDir::currentPath();
    for (int i = 0; i < args.size(); ++i) {
        const QString &a = args[i];
        const bool hasValue = i + 1 < args.size();
        if (a == QLatin1String("--year") && hasValue) {
            if (!parseYear(args[++i], CalendarFirstYear, CalendarLastYear, &year))
                return usageError(HolidaysUsage);
        } else if (a == QLatin1String("--lang") && hasValue) {
            if (!parseLanguageOption(args[++i], &language))
                return usageError(HolidaysUsage);
        } else if (a == QLatin1String("--set") && hasValue) {
            setName = args[++i];
            setGiven = true;
        } else if (a == QLatin1String("--workdir") && hasValue) {
            workDir = args[++i];
        } else {
            return usageError(HolidaysUsage);
        }
    }
    if (year == 0)
        return usageError(HolidaysUsage);

    Model model;
    model.device.Sprache = language;
    model.catalogue.fillBuiltin(language, model.BrandNumber);
    const QString path = HolidayFilePath(model, workDir);
    const HolidayFileResult loaded = LoadHolidays(path, model.holidays);
    if (!loaded.ok()) {
        std::fprintf(stderr, "%s\n",
                     qPrintable(loaded.status == HolidayLoad::Damaged
                                    ? model.catalogue(Msg::IllegalFile) + QLatin1Char(' ') + loaded.error
                                    : loaded.error));
        return 1;
    }
    const HolidayLibrary &lib = model.holidays;
    std::vector<int> chosen;
    if (setGiven) {
        const auto it = std::find_if(lib.sets.begin(), lib.sets.end(),
                                     [&](const HolidaySet &s) { return s.name == setName; });
        if (it == lib.sets.end()) {
            std::fprintf(stderr, "%s: no holiday set '%s'\n", qPrintable(path), qPrintable(setName));
            return 1;
        }
        for (int m : it->members)
            chosen.push_back(m - 1);
    } else {
        for (int i = 0; i < static_cast<int>(lib.holidays.size()); ++i)
            chosen.push_back(i);
    }
    std::vector<std::pair<CalendarDate, QString>> lines;
    for (int index : chosen) {
        const Holiday &h = lib.holidays[index];
        // A free holiday of the next or last year can fall into this one (the Monday before 3 January).
        for (int y = year - 1; y <= year + 1; ++y) {
            const auto date = HolidayDate(h, y);
            if (date && date->year == year)
                lines.emplace_back(*date, h.name);
        }
    }
    std::stable_sort(lines.begin(), lines.end(),
                     [](const auto &a, const auto &b) { return a.first < b.first; });
    for (const auto &[date, name] : lines)
        printLine(isoDate(date.day, date.month, date.year) + QLatin1Char('\t') + name);
    return 0;
}

} // namespace zx::cli
