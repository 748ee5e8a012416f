// zentrix-cli remove: deletes entries chosen by their list rows or by the fields the list shows,
// through the main window's Delete with its checks.
#include "CliTexts.h"
#include "Commands.h"
#include "HeadlessPrompter.h"

#include "app/DeleteEntries.h"
#include "entry/EntryPattern.h"
#include "entry/PriorityEntry.h"
#include "entry/SwitchingEntry.h"
#include "model/Model.h"
#include "model/RecordDecoder.h"
#include "views/ListFormatter.h"

#include <algorithm>

namespace zx::cli {

namespace {

// The options that pick entries by their fields.
const char *const MatchOptions[] = {"--time",     "--days",    "--date",   "--program",  "--pulse",
                                    "--from",     "--to",      "--easter", "--priority", "--year",
                                    "--channels", "--channel", "--state",  "--value",    "--once"};

bool anyMatchOption(const Options &o)
{
    for (const char *name : MatchOptions)
        if (o.has(name))
            return true;
    return false;
}

// A refused field value names its option; false then.
bool refuse(Options &o, const char *name)
{
    o.badValue(name, cliText(CliText::NotAField, o.language()));
    return false;
}

std::optional<int> numberIn(const QString &text, ValueRange range)
{
    bool ok = false;
    const int v = text.trimmed().toInt(&ok);
    return ok && range.contains(v) ? std::optional<int>(v) : std::nullopt;
}

bool readDayMonth(Options &o, const char *name, std::optional<DayMonth> *out)
{
    if (!o.has(name))
        return true;
    const QStringList parts = o.value(name).split(u'.');
    const auto day = parts.size() == 2 ? numberIn(parts[0], {1, 31}) : std::nullopt;
    const auto month = parts.size() == 2 ? numberIn(parts[1], {1, 12}) : std::nullopt;
    if (!day || !month)
        return refuse(o, name);
    *out = DayMonth{*day, *month};
    return true;
}

bool readTime(Options &o, std::optional<int> *out)
{
    if (!o.has("--time"))
        return true;
    const QStringList hm = o.value("--time").split(u':');
    const auto h = hm.size() == 2 ? numberIn(hm[0], Ranges::Hour) : std::nullopt;
    const auto m = hm.size() == 2 ? numberIn(hm[1], Ranges::Minute) : std::nullopt;
    if (!h || !m)
        return refuse(o, "--time");
    *out = *h * 60 + *m;
    return true;
}

bool readDays(Options &o, std::optional<int> *out)
{
    if (!o.has("--days"))
        return true;
    if (o.value("--days") == QLatin1String("daily")) {
        *out = AllWeekdays;
        return true;
    }
    static const QStringList names{"mo", "tu", "we", "th", "fr", "sa", "su"};
    int mask = 0;
    for (const QString &part : o.value("--days").split(u',')) {
        const qsizetype i = names.indexOf(part.trimmed().toLower());
        if (i < 0)
            return refuse(o, "--days");
        mask |= 1 << i;
    }
    *out = mask;
    return true;
}

bool readChannels(Options &o, std::optional<int> *out)
{
    if (!o.has("--channels"))
        return true;
    int mask = 0;
    for (const QString &part : o.value("--channels").split(u',')) {
        const auto c = numberIn(part, Ranges::Channels);
        if (!c)
            return refuse(o, "--channels");
        mask |= 1 << (*c - 1);
    }
    *out = mask;
    return true;
}

bool readState(Options &o, std::optional<int> *out)
{
    if (!o.has("--state"))
        return true;
    const QString s = o.value("--state");
    if (s != QLatin1String("on") && s != QLatin1String("off"))
        return refuse(o, "--state");
    *out = s == QLatin1String("on") ? 1 : 0;
    return true;
}

bool readPriority(Options &o, int bus, std::optional<int> *out)
{
    if (!o.has("--priority"))
        return true;
    if (o.value("--priority") == QLatin1String("permanent")) {
        *out = PermanentCode(bus);
        return true;
    }
    *out = o.integer("--priority", {1, MaxPriority(bus)});
    return *out || !o.failed();
}

// The pattern of the match options; nullopt after the line naming a bad one.
std::optional<EntryPattern> patternFromOptions(Options &o, int bus)
{
    EntryPattern p;
    p.priority =
        o.has("--from") || o.has("--to") || o.has("--easter") || o.has("--priority") || o.has("--year");
    p.program = o.integer("--program", {0, 9});
    p.pulseSeconds = o.integer("--pulse", Ranges::PulseSeconds);
    p.easterOffset = o.integer("--easter", {-EasterCodeBase, 255 - EasterCodeBase});
    p.year = o.integer("--year", {YearCodeBase + 1, YearCodeBase + 127});
    p.channel = o.integer("--channel", Ranges::Channels);
    p.value = o.integer("--value", Ranges::BusValue);
    if (o.has("--once"))
        p.once = true;
    const bool read = readTime(o, &p.minuteOfDay) && readDays(o, &p.weekdayMask) &&
                      readDayMonth(o, "--date", &p.date) && readDayMonth(o, "--from", &p.from) &&
                      readDayMonth(o, "--to", &p.to) && readChannels(o, &p.channelMask) &&
                      readState(o, &p.state) && readPriority(o, bus, &p.priorityCode);
    if (!read || o.failed())
        return std::nullopt;
    return p;
}

} // namespace

int runRemove(Options &o)
{
    const QStringList views{QStringLiteral("switching"), QStringLiteral("priority"),
                            QStringLiteral("changeover")};
    const auto view = o.choice("--view", views);
    if (o.failed())
        return 2;
    const bool byRow = o.has("--row");
    // one way to name the entries: rows of a list, or the fields of the entries
    if (!o.expectArguments({QStringLiteral("FILE.zxp")}))
        return 2;
    if (isStdio(o.positional.first()))
        return o.usageError(QStringLiteral("-: ") + cliText(CliText::FileRequired, o.language()));
    if (byRow && anyMatchOption(o))
        return o.usageError(cliText(CliText::ExcludeEachOther, o.language())
                                .arg(QStringLiteral("--row"), QStringLiteral("FIELD OPTIONS")));
    if (!byRow && !anyMatchOption(o))
        return o.missingOneOf({QStringLiteral("--row"), QStringLiteral("--time"), QStringLiteral("--from"),
                               QStringLiteral("--easter")});
    if (byRow && !view)
        return o.usageError(cliText(CliText::Missing, o.language()).arg(QStringLiteral("--view")));
    if (byRow && o.has("--all"))
        return o.usageError(cliText(CliText::ExcludeEachOther, o.language())
                                .arg(QStringLiteral("--row"), QStringLiteral("--all")));
    const QString path = o.positional.first();

    FileLock lock(path);
    if (!lockProgramOrTell(lock, path))
        return 1;
    Model model;
    if (!loadProgramOrTell(model, o, path))
        return 1;
    std::vector<int> chosen;
    int shownView = view.value_or(ListSwitching);
    if (byRow) {
        // rows as `list` prints them, counted from 1
        const ListTable table = views::BuildList(model, *view, SetProgram);
        for (const QString &part : o.value("--row").split(u',')) {
            bool ok = false;
            const int row = part.trimmed().toInt(&ok);
            if (!ok || row < 1 || row > int(table.rows.size()))
                return o.badValue("--row", cliText(CliText::NoSuchRow, o.language()).arg(part.trimmed()));
            const int index = table.rows[row - 1].recordIndex;
            chosen.push_back(index >= 0 ? index : row - 1);
        }
    } else {
        const auto pattern = patternFromOptions(o, model.device.BusDevice);
        if (!pattern)
            return 2;
        shownView = pattern->priority ? ListPriority : ListSwitching;
        if (view && *view != shownView)
            return o.usageError(cliText(CliText::ExcludeEachOther, o.language())
                                    .arg(QStringLiteral("--view ") + o.value("--view"),
                                         QLatin1String(pattern->priority ? "--from/--easter" : "--time")));
        chosen = MatchingEntries(model, *pattern);
        // a script that named one entry and hit several is told, not served a guess
        if (chosen.empty())
            return fail(path, cliText(CliText::NoEntryMatches, o.language()));
        if (chosen.size() > 1 && !o.has("--all"))
            return fail(path, cliText(CliText::SeveralEntriesMatch, o.language()).arg(chosen.size()));
    }
    // what goes, as `list` shows it, before Delete re-orders the set
    QStringList removed;
    if (shownView != ListChangeover) {
        const ListTable table = views::BuildList(model, shownView, SetProgram);
        for (const ListRow &row : table.rows)
            if (std::find(chosen.begin(), chosen.end(), row.recordIndex) != chosen.end())
                removed << row.cells.join(QLatin1Char('\t'));
    }
    model.ListView = shownView;
    model.CurrentSet = SetProgram;
    model.Marked = chosen;
    HeadlessPrompter prompter; // answers "Really delete?" with OK: the entries were named
    prompter.file = path;
    prompter.quietQuestions = true;
    if (!DeleteMarkedEntries(model, prompter))
        return 1;
    if (!saveProgramOrTell(model, o, path))
        return 1;
    for (const QString &row : removed)
        printLine(row);
    return 0;
}

} // namespace zx::cli
