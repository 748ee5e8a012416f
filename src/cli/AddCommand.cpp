// zentrix-cli add: enters one switching or priority time into a program file by the entry
// dialogs' own rules, and zentrix-cli new: creates an empty program file.
#include "CliTexts.h"
#include "Commands.h"
#include "HeadlessPrompter.h"

#include "app/ConfigFile.h"
#include "app/StartUp.h"
#include "calendar/Holidays.h"
#include "entry/EntryAutomation.h"
#include "entry/EntryDeviceRules.h"
#include "entry/EntrySession.h"
#include "entry/EntryStore.h"
#include "entry/HolidayPriority.h"
#include "entry/PriorityEntry.h"
#include "entry/SwitchingEntry.h"
#include "i18n/ExtraTexts.h"
#include "model/Model.h"
#include "model/ProgramFile.h"
#include "model/RecordDecoder.h"
#include "model/ValueRanges.h"
#include "platform/Clock.h"
#include "platform/FileAccess.h"
#include "views/ListFormatter.h"

#include <QDate>
#include <QDir>
#include <QFileInfo>

#include <optional>

namespace zx::cli {

namespace {

std::optional<int> number(const QString &text, int min, int max)
{
    bool ok = false;
    const int v = text.toInt(&ok);
    if (!ok || v < min || v > max)
        return std::nullopt;
    return v;
}

// "24.12" -> day 24, month 12. Day and month are only checked for their digits here; the entry
// rules decide whether the date exists.
bool parseDayMonth(const QString &text, int *day, int *month)
{
    const QStringList parts = text.split(u'.');
    if (parts.size() != 2)
        return false;
    const auto d = number(parts[0], 0, 99);
    const auto m = number(parts[1], 0, 99);
    if (!d || !m)
        return false;
    *day = *d;
    *month = *m;
    return true;
}

// "1,2,4" -> mask 0b1011 (channels 1..8).
std::optional<int> parseChannelList(const QString &text)
{
    int mask = 0;
    for (const QString &part : text.split(u',')) {
        const auto c = number(part, Ranges::Channels.min, Ranges::Channels.max);
        if (!c)
            return std::nullopt;
        mask |= 1 << (*c - 1);
    }
    return mask;
}

std::optional<int> parseWeekdays(const QString &text)
{
    if (text == QLatin1String("daily"))
        return AllWeekdays;
    static const QStringList names{"mo", "tu", "we", "th", "fr", "sa", "su"};
    int mask = 0;
    for (const QString &part : text.split(u',')) {
        const auto i = names.indexOf(part.toLower());
        if (i < 0)
            return std::nullopt;
        mask |= 1 << i;
    }
    return mask;
}

std::optional<int> parseState(const QString &text)
{
    if (text == QLatin1String("on"))
        return 1;
    if (text == QLatin1String("off"))
        return 0;
    return std::nullopt;
}

// The options of add by their names without dashes, as the entry helpers below read them. A
// helper that refuses the options says why in `why`, in the command line's language.
struct AddArgs {
    QHash<QString, QString> values;
    QSet<QString> flags;
    int language = 2;
    QString command = QStringLiteral("add");
    mutable QString why;
    bool has(const char *name) const { return values.contains(QLatin1String(name)); }
    QString value(const char *name) const { return values.value(QLatin1String(name)); }
    bool flag(const char *name) const { return flags.contains(QLatin1String(name)); }
    bool given(const char *name) const { return has(name) || flag(name); }

    // Each returns false, for `return refuse...;` in the helpers.
    bool refuse(const QString &text) const
    {
        why = text;
        return false;
    }
    // "--time 25:00: not a time HH:MM"
    bool refuseValue(const char *name, const QString &reason) const
    {
        return refuse(QStringLiteral("--%1 %2: %3").arg(QLatin1String(name), value(name), reason));
    }
    bool refuseOutside(const char *name, int min, int max) const
    {
        return refuseValue(name, cliText(CliText::Outside, language).arg(min).arg(max));
    }
    bool refuseTogether(const char *a, const char *b) const
    {
        return refuse(
            cliText(CliText::ExcludeEachOther, language)
                .arg(QStringLiteral("--") + QLatin1String(a), QStringLiteral("--") + QLatin1String(b)));
    }
    bool refuseMissing(const QString &what) const
    {
        return refuse(cliText(CliText::Missing, language).arg(what));
    }
    // Options of another kind of entry: "--from: not an option of add switching".
    bool refuseOthers(std::initializer_list<const char *> names, const QString &kind) const
    {
        for (const char *name : names) {
            if (given(name))
                return refuse(QStringLiteral("--%1: ").arg(QLatin1String(name)) +
                              cliText(CliText::NotAnOptionOf, language).arg(command + u' ' + kind));
        }
        return true;
    }
};

AddArgs addArgs(const Options &o)
{
    AddArgs a;
    a.language = o.language();
    a.command = QLatin1String(o.command().name);
    for (const OptionSpec &known : o.command().options) {
        if (!o.has(known.name))
            continue;
        const QString name = QLatin1String(known.name).mid(2);
        if (known.value)
            a.values.insert(name, o.value(known.name));
        else
            a.flags.insert(name);
    }
    return a;
}

// Channel options shared by both kinds: a conventional device takes a channel list, a bus
// device one channel. Returns false on a usage error.
bool readChannels(const AddArgs &o, int bus, int *mask, int *busChannel)
{
    const auto deviceTakes = [&](const char *name, CliText takes, const char *what) {
        return o.refuse(QStringLiteral("--%1: ").arg(QLatin1String(name)) +
                        cliText(takes, o.language).arg(QLatin1String(what)));
    };
    if (bus) {
        if (o.has("channels"))
            return deviceTakes("channels", CliText::BusDeviceTakes, "--channel N");
        if (!o.has("channel"))
            return true; // no channel: the entry rules refuse it with their own message
        const auto c = number(o.value("channel"), Ranges::Channels.min, Ranges::Channels.max);
        if (!c)
            return o.refuseOutside("channel", Ranges::Channels.min, Ranges::Channels.max);
        *busChannel = *c;
        return true;
    }
    for (const char *name : {"channel", "value"}) {
        if (o.has(name))
            return deviceTakes(name, CliText::ConventionalDeviceTakes, "--channels 1,2 [--state on|off]");
    }
    if (!o.has("channels"))
        return true; // no channel: the entry rules refuse it with their own message
    const auto m = parseChannelList(o.value("channels"));
    if (!m)
        return o.refuseOutside("channels", Ranges::Channels.min, Ranges::Channels.max);
    *mask = *m;
    return true;
}

// A state on a conventional device, a value on a bus device.
bool readStateOrValue(const AddArgs &o, int bus, int *state, int *value)
{
    if (bus) {
        if (o.has("state"))
            return o.refuse(QStringLiteral("--state: ") +
                            cliText(CliText::BusDeviceTakes, o.language).arg(QStringLiteral("--value V")));
        if (!o.has("value"))
            return true;
        const auto v = number(o.value("value"), Ranges::BusValue.min, Ranges::BusValue.max);
        if (!v)
            return o.refuseOutside("value", Ranges::BusValue.min, Ranges::BusValue.max);
        *value = *v;
        return true;
    }
    if (!o.has("state"))
        return true;
    const auto s = parseState(o.value("state"));
    if (!s)
        return o.refuseValue("state", cliText(CliText::OneOf, o.language).arg(QStringLiteral("on, off")));
    *state = *s;
    return true;
}

// `base`: the entry being changed, whose fields stand where no option gives one; without it (add)
// the options must give the whole entry.
std::optional<SwitchingEntryValues> switchingFromOptions(const AddArgs &o, int bus,
                                                         const std::optional<SwitchingEntryValues> &base = {})
{
    SwitchingEntryValues e = base.value_or(SwitchingEntryValues{});
    if (!o.refuseOthers({"from", "to", "easter", "priority", "year", "name", "set", "years", "today"},
                        QStringLiteral("switching")))
        return std::nullopt;
    if (!o.has("time") && !base) {
        o.refuseMissing(QStringLiteral("--time"));
        return std::nullopt;
    }
    if (o.has("time")) {
        const QStringList hm = o.value("time").split(u':');
        const auto h = hm.size() == 2 ? number(hm[0], Ranges::Hour.min, Ranges::Hour.max) : std::nullopt;
        const auto m = hm.size() == 2 ? number(hm[1], Ranges::Minute.min, Ranges::Minute.max) : std::nullopt;
        if (!h || !m) {
            o.refuseValue("time", cliText(CliText::NotATime, o.language));
            return std::nullopt;
        }
        e.hour = *h;
        e.minute = *m;
    }
    if (o.has("days") && o.has("date")) {
        o.refuseTogether("days", "date");
        return std::nullopt;
    }
    if (o.has("days")) {
        if (o.flag("once")) {
            o.refuseTogether("days", "once");
            return std::nullopt;
        }
        const auto days = parseWeekdays(o.value("days"));
        if (!days) {
            o.refuseValue(
                "days",
                cliText(CliText::OneOf, o.language).arg(QStringLiteral("mo,tu,we,th,fr,sa,su, daily")));
            return std::nullopt;
        }
        e.weekdayMask = *days;
        e.kind = EntryKind::Weekly;
        e.day = e.month = e.once = 0;
    } else if (o.has("date")) {
        if (!parseDayMonth(o.value("date"), &e.day, &e.month)) {
            o.refuseValue("date", cliText(CliText::NotADate, o.language));
            return std::nullopt;
        }
        // A dated record holds its month where a weekly one holds its program.
        if (o.has("program")) {
            o.refuseTogether("date", "program");
            return std::nullopt;
        }
        e.once = o.flag("once") ? 1 : 0;
        e.kind = EntryKind::Dated;
        e.weekdayMask = e.program = 0;
    } else if (!base) {
        o.refuseMissing(QStringLiteral("--days / --date"));
        return std::nullopt;
    } else if (e.kind == EntryKind::Dated) {
        // the dated time keeps its date; --once makes it once
        if (o.has("program")) {
            o.refuseTogether("date", "program");
            return std::nullopt;
        }
        if (o.flag("once"))
            e.once = 1;
    } else if (o.flag("once")) {
        o.refuseTogether("days", "once");
        return std::nullopt;
    }
    if (o.has("program")) {
        const auto p = number(o.value("program"), 0, MaxProgram(bus));
        if (!p) {
            o.refuseOutside("program", 0, MaxProgram(bus));
            return std::nullopt;
        }
        e.program = *p;
    }
    if (o.has("pulse")) {
        const auto p = number(o.value("pulse"), Ranges::PulseSeconds.min, Ranges::PulseSeconds.max);
        if (!p) {
            o.refuseOutside("pulse", Ranges::PulseSeconds.min, Ranges::PulseSeconds.max);
            return std::nullopt;
        }
        e.pulse = *p;
    }
    if (!readChannels(o, bus, &e.channelMask, &e.busChannel) || !readStateOrValue(o, bus, &e.state, &e.value))
        return std::nullopt;
    if (bus && !o.has("value") && !base) {
        o.refuseMissing(QStringLiteral("--value"));
        return std::nullopt;
    }
    return e;
}

std::optional<PriorityEntryValues> priorityFromOptions(const AddArgs &o, const Model &model,
                                                       const std::optional<PriorityEntryValues> &base = {})
{
    const int bus = model.device.BusDevice;
    PriorityEntryValues e = base.value_or(PriorityEntryValues{});
    // a range of the entry being changed stays a range where the options name only a part of it
    const bool range = o.has("from") || o.has("to") || (base && !base->easter && !o.has("easter"));
    if ((o.has("from") || o.has("to")) && o.has("easter")) {
        o.refuseTogether(o.has("from") ? "from" : "to", "easter");
        return std::nullopt;
    }
    if (range) {
        for (const char *name : {"from", "to"}) {
            if (!o.has(name) && (!base || base->easter)) {
                o.refuseMissing(QStringLiteral("--") + QLatin1String(name));
                return std::nullopt;
            }
        }
        if (o.has("from") && !parseDayMonth(o.value("from"), &e.fromDay, &e.fromMonth)) {
            o.refuseValue("from", cliText(CliText::NotADate, o.language));
            return std::nullopt;
        }
        if (o.has("to") && !parseDayMonth(o.value("to"), &e.toDay, &e.toMonth)) {
            o.refuseValue("to", cliText(CliText::NotADate, o.language));
            return std::nullopt;
        }
        e.easter = false;
        e.easterCode = 0;
        // a range given anew is once only with --once, as in add
        if (!base || o.flag("once") || (o.has("from") && o.has("to")))
            e.once = o.flag("once") ? 1 : 0;
        if (o.has("year")) {
            // whether the device takes a year at all is the entry rules' to say
            const auto y = number(o.value("year"), FirstListedYear, LastListedYear);
            if (!y) {
                o.refuseOutside("year", FirstListedYear, LastListedYear);
                return std::nullopt;
            }
            e.yearCode = YearCodeOf(*y);
        }
    } else if (o.has("easter")) {
        // An Easter record holds the offset from Easter alone: no year, no once.
        for (const char *name : {"year", "once"}) {
            if (o.given(name)) {
                o.refuseTogether("easter", name);
                return std::nullopt;
            }
        }
        const auto offset = number(o.value("easter"), -EasterCodeBase, 255 - EasterCodeBase);
        if (!offset) {
            o.refuseOutside("easter", -EasterCodeBase, 255 - EasterCodeBase);
            return std::nullopt;
        }
        e.easter = true;
        e.easterCode = EasterCodeBase + *offset;
        e.yearCode = e.once = 0;
    } else if (!base) {
        o.refuseMissing(QStringLiteral("--from --to / --easter"));
        return std::nullopt;
    } else if (o.given("year") || o.flag("once")) {
        o.refuseTogether("easter", o.given("year") ? "year" : "once"); // the Easter form kept
        return std::nullopt;
    }
    if (!o.has("priority") && !base) {
        o.refuseMissing(QStringLiteral("--priority"));
        return std::nullopt;
    }
    const QString prio = o.value("priority");
    if (!o.has("priority")) {
        // the changed entry's priority stays
    } else if (prio == QLatin1String("permanent")) {
        e.priority = PermanentCode(bus);
    } else {
        const auto p = number(prio, 1, MaxPriority(bus));
        if (!p) {
            o.refuseValue("priority", cliText(CliText::OneOf, o.language)
                                          .arg(QStringLiteral("1..%1, permanent").arg(MaxPriority(bus))));
            return std::nullopt;
        }
        e.priority = *p;
    }
    if (!readChannels(o, bus, &e.channelMask, &e.busChannel))
        return std::nullopt;
    // a state or a value belongs to "permanent" alone
    const char *notPermanent = bus ? "value" : "state";
    if (!IsPermanent(e, bus) && o.has(notPermanent)) {
        o.refuse(QStringLiteral("--%1: ").arg(QLatin1String(notPermanent)) +
                 cliText(CliText::PermanentOnly, o.language));
        return std::nullopt;
    }
    if (!readStateOrValue(o, bus, &e.state, &e.value))
        return std::nullopt;
    return e;
}

// The priority, channels and state of a holiday entry: the options of a priority time
// without its dates.
std::optional<PriorityEntryValues> holidayBaseFromOptions(const AddArgs &o, const Model &model)
{
    AddArgs dated = o;
    dated.values.insert(QStringLiteral("from"), QStringLiteral("1.1"));
    dated.values.insert(QStringLiteral("to"), QStringLiteral("1.1"));
    const auto base = priorityFromOptions(dated, model);
    o.why = dated.why;
    return base;
}

// The holidays named by --name or --set, in library order (a set in member order); an unknown
// name or set, or a set without holidays, is said here and gives nothing.
std::optional<std::vector<Holiday>> chosenHolidays(const AddArgs &o, const HolidayLibrary &library,
                                                   const Model &model, const QString &libraryPath)
{
    const int language = model.device.Sprache;
    const auto refuse = [&](ExtraText text, const QString &name) {
        std::fprintf(stderr, "%s\n", qPrintable(extraText(text, language).arg(name, libraryPath)));
        return std::vector<Holiday>{};
    };
    std::vector<Holiday> chosen;
    if (o.has("name")) {
        for (const Holiday &h : library.holidays)
            if (h.name == o.value("name"))
                chosen.push_back(h);
        return chosen.empty() ? refuse(ExtraText::NoSuchHoliday, o.value("name")) : chosen;
    }
    if (o.value("set") == QLatin1String("all"))
        return library.holidays.empty() ? refuse(ExtraText::EmptyHolidaySet, o.value("set"))
                                        : library.holidays;
    for (const HolidaySet &set : library.sets) {
        if (set.name != o.value("set"))
            continue;
        for (int member : set.members)
            if (member >= 1 && member <= static_cast<int>(library.holidays.size()))
                chosen.push_back(library.holidays[member - 1]);
        return chosen.empty() ? refuse(ExtraText::EmptyHolidaySet, set.name) : chosen;
    }
    return refuse(ExtraText::NoSuchHolidaySet, o.value("set"));
}

// Whether the device resolves variable holidays: its program file says so (device code 73), or
// the working directory's configuration does, as for the desktop program.
int variableHolidays(const Model &model, const QString &workDir)
{
    if (model.device.Bewft)
        return model.device.Bewft;
    const ConfigReadResult config = ReadConfigValues(QDir(workDir).filePath(ConfigFileName()));
    if (config.status != ConfigStatus::Read)
        return 0;
    Model configured;
    ApplyConfigValues(configured, config.values);
    return configured.device.Bewft;
}

// Enters the chosen holidays as priority times, one after the other as the dialog's holiday run
// does; the file is saved once at the end, and only when every holiday went in.
int addHolidays(Model &model, Options &options, HeadlessPrompter &entryPrompter, const AddArgs &o,
                const QString &path)
{
    // A year and the once flag go with fixed holidays, as the dialog's year list gives them.
    if (!o.refuseOthers({"time", "days", "date", "pulse", "program", "from", "to", "easter"},
                        QStringLiteral("holiday")))
        return options.usageError(o.why);
    if (o.has("name") && o.has("set")) {
        o.refuseTogether("name", "set");
        return options.usageError(o.why);
    }
    if (!o.has("name") && !o.has("set")) {
        o.refuseMissing(QStringLiteral("--name / --set"));
        return options.usageError(o.why);
    }
    const auto base = holidayBaseFromOptions(o, model);
    if (!base)
        return options.usageError(o.why);
    const QString workDir = cli::workDir(options);
    if (workDir.isEmpty())
        return 1;
    HolidayLibrary library;
    const HolidayFileResult read = LoadHolidays(HolidayFilePath(model, workDir), library);
    if (!read.ok()) {
        return fail(HolidayFilePath(model, workDir), read.status == HolidayLoad::Missing
                                                         ? model.catalogue(Msg::NoSuchFile)
                                                         : model.catalogue(Msg::IllegalFile));
    }
    const auto holidays = chosenHolidays(o, library, model, HolidayFilePath(model, workDir));
    if (!holidays)
        return options.usageError();
    if (holidays->empty())
        return 1;
    QDate today = QDate::currentDate();
    if (o.has("today")) {
        today = QDate::fromString(o.value("today"), Qt::ISODate);
        if (!today.isValid()) {
            o.refuseValue("today", cliText(CliText::NotADate, o.language) + QStringLiteral(" (YYYY-MM-DD)"));
            return options.usageError(o.why);
        }
    }
    int years = library.freeYears;
    if (o.has("years")) {
        const auto n = number(o.value("years"), 0, 999);
        if (!n) {
            o.refuseOutside("years", 0, 999);
            return options.usageError(o.why);
        }
        if (const DeviceRule rule = CheckFreeHolidayYears(*n); rule != DeviceRule::Ok) {
            entryPrompter.tell(DeviceRuleMessage(model, rule), Icon::Critical, {});
            return 1;
        }
        years = *n;
    }
    const int bewft = model.device.Bewft;

    const CalendarDate now{today.day(), today.month(), today.year()};
    std::vector<int> stored;
    // the dialog's holiday run: an entry session in enter mode, one holiday after the other
    model.EditMode = EditEnter;
    EntrySession session;
    session.open(model);
    for (const Holiday &h : *holidays) {
        const auto entries = HolidayPriorityTimes(h, *base, bewft, now, years);
        if (entries.empty())
            continue; // no date ahead the device can hold; said below when nothing at all is
        const int before = model.program().UsedCount;
        const StoreResult r = session.storeHoliday(model, entryPrompter, entries).result;
        const bool changed = r.stored() || r.outcome == StoreOutcome::InvertedReplaced;
        if (!changed)
            return 1; // refused: the file stays as it was
        for (int i = before; i < model.program().UsedCount; ++i)
            stored.push_back(i);
        if (r.outcome == StoreOutcome::InvertedReplaced)
            stored.push_back(r.index);
    }
    if (stored.empty()) {
        std::fprintf(stderr, "%s\n",
                     qPrintable(extraText(ExtraText::NoHolidayDateAhead, model.device.Sprache)
                                    .arg(today.toString(Qt::ISODate))));
        return 1;
    }
    std::vector<ProgramRecord> records;
    for (int i : stored)
        records.push_back(model.program().Records[i]);
    const ListTable table = views::BuildList(model, ListPriority, SetProgram);
    QStringList rows;
    for (int i : stored)
        for (const ListRow &row : table.rows)
            if (row.recordIndex == i)
                rows << row.cells.join(QLatin1Char('\t'));
    if (!saveProgramOrTell(model, options, path))
        return 1;
    for (std::size_t i = 0; i < records.size(); ++i) {
        const ProgramRecord &r = records[i];
        printLine(
            QStringLiteral("%1 %2 %3 %4 %5 %6").arg(r.b0).arg(r.b1).arg(r.b2).arg(r.b3).arg(r.b4).arg(r.b5));
        printLine(i < static_cast<std::size_t>(rows.size()) ? rows[static_cast<int>(i)] : QString());
    }
    return 0;
}

} // namespace

// add, and change: the same entry by the same rules written over the entry of a list row, as
// the dialogs' Change does.
int runAdd(Options &options)
{
    const bool changing = qstrcmp(options.command().name, "change") == 0;
    const QString kinds =
        changing ? QStringLiteral("switching, priority") : QStringLiteral("switching, priority, holiday");
    if (!options.expectArguments(
            {QStringLiteral("FILE.zxp"), QString(kinds).replace(QStringLiteral(", "), QStringLiteral("|"))}))
        return 2;
    const QString path = options.positional[0];
    const QString kind = options.positional[1];
    if (!kinds.split(QStringLiteral(", ")).contains(kind))
        return options.usageError(kind + QStringLiteral(": ") +
                                  cliText(CliText::OneOf, options.language()).arg(kinds));
    if (changing && !options.has("--row"))
        return options.usageError(cliText(CliText::Missing, options.language()).arg(QStringLiteral("--row")));
    if (isStdio(path))
        return options.usageError(QStringLiteral("-: ") + cliText(CliText::FileRequired, options.language()));
    const AddArgs o = addArgs(options);

    // load, change and save under the file's lock: parallel calls queue up, none is lost
    FileLock lock(path);
    if (!lockProgramOrTell(lock, path))
        return 1;
    Model model;
    if (!loadProgramOrTell(model, options, path))
        return 1;
    HeadlessPrompter prompter;
    prompter.file = path;
    const int bus = model.device.BusDevice;
    if (kind != QLatin1String("switching")) {
        const QString dir = cli::workDir(options);
        if (dir.isEmpty())
            return 1;
        model.device.Bewft = variableHolidays(model, dir);
    }
    // the entry dialogs' session: enter mode, or change mode on the one record of --row
    model.EditMode = EditEnter;
    if (changing) {
        // the row as `list` prints it, counted from 1
        const ListTable shown = views::BuildList(
            model, kind == QLatin1String("priority") ? ListPriority : ListSwitching, SetProgram);
        bool ok = false;
        const int row = options.value("--row").toInt(&ok);
        if (!ok || row < 1 || row > int(shown.rows.size()) || shown.rows[row - 1].recordIndex < 0)
            return options.badValue(
                "--row", cliText(CliText::NoSuchRow, options.language()).arg(options.value("--row")));
        model.EditMode = EditChange;
        model.Marked = {shown.rows[row - 1].recordIndex};
        model.FirstMarked = model.LastMarked = 0;
    }
    // A full memory is refused by the store, after the entry's own checks: an entry the device
    // cannot hold says so first.
    EntrySession session;
    session.open(model);

    // The entry's questions (overwrite the entry with the other state, the colliding pulse) are
    // answered No unless --replace is given.
    HeadlessPrompter entryPrompter;
    entryPrompter.file = path;
    entryPrompter.quietQuestions = options.quiet();
    entryPrompter.yesNoAnswer = o.flag("replace") ? Answer::Yes : Answer::No;
    StoreResult result;
    int listView = ListSwitching;
    // change: the fields no option names come from the record, as the dialog loads it
    const int edited = session.editedIndex();
    const ProgramRecord *record = edited >= 0 ? &model.program().Records[edited] : nullptr;
    if (kind == QLatin1String("switching")) {
        const auto entry = switchingFromOptions(
            o, bus, record ? std::optional(DecodeSwitchingTime(*record, bus)) : std::nullopt);
        if (!entry)
            return options.usageError(o.why);
        // The dialog's day list never offers a day its month lacks.
        int day = entry->day;
        if (entry->kind == EntryKind::Dated &&
            (entry->month < 1 || entry->month > 12 || day < 1 || LimitDayToMonth(day, entry->month))) {
            prompter.tell(model.catalogue(Msg::DateOrWeekdaysIncomplete), Icon::Critical, {});
            return 1;
        }
        result = session.storeSwitching(model, entryPrompter, *entry).result;
    } else if (kind == QLatin1String("holiday")) {
        return addHolidays(model, options, entryPrompter, o, path);
    } else {
        if (!o.refuseOthers({"time", "days", "date", "pulse", "program", "name", "set", "years", "today"},
                            QStringLiteral("priority")))
            return options.usageError(o.why);
        const auto entry = priorityFromOptions(
            o, model, record ? std::optional(DecodePriorityTime(*record, bus)) : std::nullopt);
        if (!entry)
            return options.usageError(o.why);
        result = session.storePriority(model, entryPrompter, *entry).result;
        listView = ListPriority;
    }
    const bool changed = result.stored() || result.outcome == StoreOutcome::InvertedReplaced ||
                         result.outcome == StoreOutcome::PulseReplaced;
    if (!changed)
        return 1;
    // Saving puts the records into device order and back, so the row is taken first.
    const ProgramRecord stored = model.program().Records[result.index];
    const ListTable table = views::BuildList(model, listView, SetProgram);
    QString row;
    for (const ListRow &r : table.rows) {
        if (r.recordIndex == result.index)
            row = r.cells.join(QLatin1Char('\t'));
    }
    if (!saveProgramOrTell(model, options, path))
        return 1;
    printLine(QStringLiteral("%1 %2 %3 %4 %5 %6")
                  .arg(stored.b0)
                  .arg(stored.b1)
                  .arg(stored.b2)
                  .arg(stored.b3)
                  .arg(stored.b4)
                  .arg(stored.b5));
    printLine(row);
    return 0;
}

int runChange(Options &o)
{
    return runAdd(o);
}

int runNew(Options &o)
{
    const auto type = o.deviceType();
    const int channels = o.integer("--channels", Ranges::Channels).value_or(1);
    if (o.failed())
        return 2;
    if (!o.expectArguments({QStringLiteral("FILE.zxp")}))
        return 2;
    if (!type)
        return o.usageError(cliText(CliText::Missing, o.language()).arg(QStringLiteral("--type")));
    const QString path = o.positional.first();
    if (!mayCreate(o, path))
        return 1;
    FileLock lock(path);
    if (!lockProgramOrTell(lock, path))
        return 1;
    Model model;
    setLanguage(model, o);
    model.resetForStart();
    SetUpDeviceType(model, *type);
    model.device.Kanalzahl = channels;
    model.device.BusDevice = o.has("--bus") ? 1 : 0;
    // an empty program is what was asked for: the desktop's "No data to save!" is not asked
    model.ExportEmptyConfirmed = 1;
    return saveProgramOrTell(model, o, path) ? 0 : 1;
}

} // namespace zx::cli
