#include "views/ListFormatter.h"

#include "i18n/ExtraTexts.h"

#include "calendar/Changeover.h"
#include "calendar/DeviceClock.h"
#include "calendar/Holidays.h"
#include "model/Model.h"
#include "model/RecordDecoder.h"
#include "platform/Clock.h"
#include "views/RowFilter.h"

#include <QDate>

namespace zx::views {

namespace {

const QString &cat(const Model &model, int position)
{
    return model.catalogue.text(position);
}

bool isSwitchingKind(int kind)
{
    return kind == Kind::WeeklyConventional || kind == Kind::DatedConventional || kind == Kind::WeeklyBus ||
           kind == Kind::DatedBus;
}

bool isPriorityKind(int kind)
{
    return kind == Kind::PriorityConventional || kind == Kind::PriorityBus;
}

QString twoDigits(int value)
{
    return QStringLiteral("%1").arg(value, 2, 10, QLatin1Char('0'));
}

// A time on the day's clock that may run past midnight into the next day: 24:00..47:59 read on
// from the day's own midnight.
QString clockText(const Model &model, int minute)
{
    if (minute < 1440 || minute >= 2 * 1440)
        return TimeText(model, minute);
    return QString::number(minute / 60) + cat(model, Msg::TimeSeparator) + twoDigits(minute % 60) +
           QLatin1Char(' ') + cat(model, Msg::HoursWord);
}

// ---- lists ----

QStringList switchingHeader(const Model &model)
{
    QStringList h{cat(model, Msg::ColNr), cat(model, Msg::ColDateDays), cat(model, Msg::Time),
                  cat(model, Msg::ColChannels)};
    if (model.device.Uhrentyp != TypeAstro)
        h << cat(model, Msg::Puls);
    h << QStringLiteral("1x") << cat(model, Msg::ColState) << cat(model, Msg::Prio);
    return h;
}

QStringList switchingCells(const Model &model, const ProgramRecord &r, int rowNumber)
{
    const SwitchingTime t = DecodeSwitchingRecord(r, model.device.BusDevice);
    QStringList c;
    c << QString::number(rowNumber);
    if (t.weekly)
        c << WeekdaysText(model, t.weekdayMask);
    else
        c << DayMonthText(model, t.day, t.month);
    c << TimeText(model, t.minuteOfDay);
    c << ChannelsText(model, r);
    if (model.device.Uhrentyp != TypeAstro)
        c << PulseText(model, t.pulseSeconds);
    c << ((!t.weekly && t.once) ? QStringLiteral("1x") : QStringLiteral(" "));
    c << SwitchingStateText(model, r);
    c << (t.weekly ? QString::number(t.program) : QString());
    return c;
}

QStringList priorityHeader(const Model &model)
{
    return {cat(model, Msg::ColNr),       cat(model, Msg::BeginAt), cat(model, Msg::EndAt),
            cat(model, Msg::ColChannels), QStringLiteral("1x"),     cat(model, Msg::ColState),
            cat(model, Msg::Prio)};
}

QStringList priorityCells(const Model &model, const ProgramRecord &r, int rowNumber,
                          const ListOptions &options)
{
    const PriorityTime p = DecodePriorityRecord(r, model.device.BusDevice);
    QStringList c;
    c << QString::number(rowNumber) << PriorityBeginText(model, r, options) << PriorityEndText(model, r)
      << ChannelsText(model, r) << (p.once ? QStringLiteral("1x") : QStringLiteral(" "));
    c << PriorityStateText(model, r);
    c << PriorityProgramText(model, r);
    return c;
}

// The hour of a changeover with its shift: "  2:00 hrs (+1 hour)".
QString changeoverTimeText(const Model &model, const Changeover &c, bool advance)
{
    const int hour = c.hour;
    const int shift = c.shift;
    const QString amount = shift == 1
                               ? cat(model, Msg::N1Hour)
                               : QString::number(shift) + QLatin1Char(' ') + cat(model, Msg::HoursLabel);
    return TimeText(model, hour * 60) + QStringLiteral(" (") + QLatin1Char(advance ? '+' : '-') + amount +
           QLatin1Char(')');
}

// A changeover table entry may hold a day its month lacks (day 0, 31 April): it is named as
// what it is, never shown as a date.
QString changeoverDateText(const Model &model, const Changeover &c, int year)
{
    if (c.month >= 1 && c.month <= 12 && c.day >= 1 && c.day <= DaysInMonth(c.month, year))
        return DayMonthText(model, c.day, c.month);
    return extraText(ExtraText::NotADate, model.device.Sprache).arg(c.day).arg(c.month);
}

ListTable changeoverList(const Model &model, int setIndex)
{
    ListTable t;
    t.header = {cat(model, Msg::ColNr), cat(model, Msg::Year),    cat(model, Msg::PresetAt),
                cat(model, Msg::At),    cat(model, Msg::ResetAt), cat(model, Msg::At)};
    const ProgramSet &s = model.set(setIndex);
    for (int i = 0; i < s.DstCount && i < DstEntries; ++i) {
        const ChangeoverEntry e = DecodeChangeoverEntry(s.DstTable[i]);
        ListRow row;
        row.recordIndex = i;
        row.cells << QString::number(i + 1) << QString::number(YearOfEntry(i, s))
                  << changeoverDateText(model, e.advance, YearOfEntry(i, s))
                  << changeoverTimeText(model, e.advance, true)
                  << changeoverDateText(model, e.setBack, YearOfEntry(i, s))
                  << changeoverTimeText(model, e.setBack, false);
        t.rows.push_back(std::move(row));
    }
    return t;
}

ListTable astroList(const Model &model, const ListOptions &options)
{
    ListTable t;
    t.header = {cat(model, Msg::ColNr), cat(model, Msg::ColChannels), cat(model, Msg::Date),
                cat(model, Msg::SwitchOffAt), cat(model, Msg::SwitchOnAt)};
    if (!model.astro.AstroPresent)
        return t;
    const SystemClock systemClock;
    const Clock &clock = options.clock ? *options.clock : static_cast<const Clock &>(systemClock);
    const int year = options.year > 0 ? options.year : clock.today().year();
    t.year = year;
    QString channels = model.catalogue.text(Msg::ChannelPrefix) + QLatin1Char('1');
    if (model.astro.AstroC1C2)
        channels += model.catalogue.text(Msg::ChannelPrefix) + QLatin1Char('2');
    const int days = DaysInYear(year);
    const DeviceClock deviceClock(model);
    for (int doy = 1; doy <= days; ++doy) {
        const auto [day, month] = DateOfDay(doy, year);
        const AstroDay times = DecodeAstroDay(model.astro, doy - 1);
        // The table holds standard time; the list shows the device's clock, the changeover's shift
        // ahead in summer time. A late sunset moved past midnight reads on from 24:00 ("24:46"):
        // the device switches at 0:46 of the next day.
        const long long midnight = (doy - 1) * 1440LL;
        auto local = [&](int v) {
            return v < 0 || v >= 1440 ? -1 : int(deviceClock.clockOf(year, midnight + v) - midnight);
        };
        ListRow row;
        row.cells << QString::number(doy) << channels << DayMonthText(model, day, month)
                  << clockText(model, local(times.switchOff)) << clockText(model, local(times.switchOn));
        t.rows.push_back(std::move(row));
    }
    return t;
}

} // namespace

// ---- pieces ----

QString TimeText(const Model &model, int minuteOfDay)
{
    const QString &sep = cat(model, Msg::TimeSeparator);
    const QString &hours = cat(model, Msg::HoursWord);
    if (minuteOfDay < 0 || minuteOfDay >= 1440)
        return QStringLiteral("  --") + sep + QStringLiteral("-- ") + hours;
    const int hour = minuteOfDay / 60;
    return (hour < 10 ? QStringLiteral("  ") : QString()) + QString::number(hour) + sep +
           twoDigits(minuteOfDay % 60) + QLatin1Char(' ') + hours;
}

QString WeekdaysText(const Model &model, int weekdayMask)
{
    if ((weekdayMask & 0x7F) == 0x7F)
        return cat(model, Msg::Daily);
    QString text;
    for (int d = 0; d < 7; ++d) {
        if (weekdayMask & (1 << d))
            text += cat(model, Msg::AbbrMonday + d);
    }
    return text.mid(1);
}

QString ChannelsText(const Model &model, const ProgramRecord &r)
{
    const QString &prefix = cat(model, Msg::ChannelPrefix);
    const int kind = model.RecordKind(r);
    int mask = 0;
    if (isPriorityKind(kind)) {
        const PriorityTime p = DecodePriorityRecord(r, model.device.BusDevice);
        if (p.bus)
            return prefix + QString::number(p.channel);
        mask = p.channelMask;
    } else {
        const SwitchingTime t = DecodeSwitchingRecord(r, model.device.BusDevice);
        if (t.bus)
            return prefix + QString::number(t.channel);
        mask = t.channelMask;
    }
    return ChannelMaskText(model, mask);
}

QString ChannelMaskText(const Model &model, int mask)
{
    const QString &prefix = cat(model, Msg::ChannelPrefix);
    QString text;
    for (int c = 0; c < ChannelCount(model); ++c) {
        if (mask & (1 << c))
            text += prefix + QString::number(c + 1);
    }
    return text;
}

int ChannelCount(const Model &model)
{
    return qBound(1, model.device.Kanalzahl, 8);
}

QString PulseText(const Model &model, int seconds)
{
    if (seconds <= 0)
        return {};
    return QString::number(seconds) + cat(model, Msg::Sec);
}

QString PriorityBeginText(const Model &model, const ProgramRecord &r, const ListOptions &options)
{
    const PriorityTime p = DecodePriorityRecord(r, model.device.BusDevice);
    if (p.easter) {
        if (options.easterName) {
            const QString name = options.easterName(p.easterCode);
            if (!name.isEmpty())
                return name;
        }
        return EasterCodeName(model, model.holidays, p.easterCode);
    }
    const QString year = p.yearCode > 0 ? QString::number(p.year()) : QString();
    return DayMonthText(model, p.fromDay, p.fromMonth) + QLatin1Char(' ') + year + QStringLiteral(" 00") +
           cat(model, Msg::TimeSeparator) + QStringLiteral("00 ") + cat(model, Msg::HoursWord);
}

QString PriorityEndText(const Model &model, const ProgramRecord &r)
{
    const PriorityTime p = DecodePriorityRecord(r, model.device.BusDevice);
    const QString end = QStringLiteral(" 24") + cat(model, Msg::TimeSeparator) + QStringLiteral("00 ") +
                        cat(model, Msg::HoursWord);
    // An Easter-relative priority time lasts its one day: it ends at 24:00 of that day.
    if (p.easter)
        return end;
    return DayMonthText(model, p.toDay, p.toMonth) + end;
}

QString PriorityProgramText(const Model &model, const ProgramRecord &r)
{
    const PriorityTime p = DecodePriorityRecord(r, model.device.BusDevice);
    return p.permanent ? cat(model, Msg::Perm) : QString::number(p.code);
}

QString SwitchingStateText(const Model &model, const ProgramRecord &r)
{
    const SwitchingTime t = DecodeSwitchingRecord(r, model.device.BusDevice);
    return t.bus ? QString::number(t.value) : cat(model, t.state ? Msg::On : Msg::Off);
}

QString PriorityStateText(const Model &model, const ProgramRecord &r)
{
    const PriorityTime p = DecodePriorityRecord(r, model.device.BusDevice);
    if (!p.permanent)
        return {};
    return p.bus ? QString::number(p.value) : cat(model, p.state ? Msg::On : Msg::Off);
}

// ---- lists ----

std::vector<int> DisplayRecords(const Model &model, int listView, int setIndex)
{
    std::vector<int> indexes;
    const ProgramSet &s = model.set(setIndex);
    const int used = qBound(0, s.UsedCount, MaxRecords);
    for (int i = 0; i < used; ++i) {
        const ProgramRecord &r = s.Records[i];
        const int kind = model.RecordKind(r);
        const bool ofList = listView == ListSwitching ? isSwitchingKind(kind) : isPriorityKind(kind);
        if (!ofList)
            continue;
        if (model.FilterOn && !RowPassesFilter(model, r))
            continue;
        indexes.push_back(i);
    }
    return indexes;
}

ListTable BuildList(const Model &model, int listView, int setIndex)
{
    return BuildList(model, listView, setIndex, ListOptions{});
}

ListTable BuildList(const Model &model, int listView, int setIndex, const ListOptions &options)
{
    switch (listView) {
    case ListChangeover:
        return changeoverList(model, setIndex);
    case ListAstro:
        return astroList(model, options);
    case ListPriority:
    case ListSwitching:
    default: {
        const bool priority = listView == ListPriority;
        ListTable t;
        t.header = priority ? priorityHeader(model) : switchingHeader(model);
        const ProgramSet &s = model.set(setIndex);
        int number = 0;
        for (int index : DisplayRecords(model, priority ? ListPriority : ListSwitching, setIndex)) {
            ListRow row;
            row.recordIndex = index;
            ++number;
            row.cells = priority ? priorityCells(model, s.Records[index], number, options)
                                 : switchingCells(model, s.Records[index], number);
            t.rows.push_back(std::move(row));
        }
        return t;
    }
    }
}

// ---- window texts ----

QString FileDateLabel(const Model &model, int setIndex)
{
    const auto &h = model.set(setIndex).HeaderBytes;
    if (h[6] == 0)
        return cat(model, Msg::UnsavedFile);
    const int t = h[4] * 16 + (h[5] >> 4);
    return cat(model, Msg::FileOf) + QString::number(h[6]) + QLatin1Char('.') + QString::number(h[5] & 0x0F) +
           QLatin1Char('.') + QString::number(h[7] + 1872) + QLatin1Char(' ') + twoDigits(t / 60) +
           QLatin1Char(':') + twoDigits(t % 60);
}

QString WindowTitle(const Model &model, int listView, int setIndex)
{
    QString name;
    switch (listView) {
    case ListPriority:
        name = cat(model, Msg::TitlePriorityList);
        break;
    case ListChangeover:
        name = cat(model, Msg::ListChangeoverTable);
        break;
    case ListAstro:
        name = cat(model, Msg::Astrotimes);
        break;
    default:
        name = cat(model, Msg::TitleSwitchingProgram);
        break;
    }
    if (setIndex == SetTemplate)
        name = cat(model, Msg::TitleSample) + name;
    const QString &file = model.set(setIndex).FileName;
    if (file.isEmpty())
        return name;
    if (!name.endsWith(QLatin1Char(' ')))
        name += QLatin1Char(' ');
    return name + QLatin1Char('(') + file + QLatin1Char(')');
}

QString ProgramNumberText(const Model &model, int setIndex)
{
    const ProgramSet &s = model.set(setIndex);
    if (!s.hasProgramNumber())
        return {};
    return QStringLiteral("%1").arg(s.ProgramNumber, 6, 10, QLatin1Char('0'));
}

QString UsedMemoryMessage(const Model &model, int setIndex)
{
    const ProgramSet &s = model.set(setIndex);
    const QString of = QLatin1Char(' ') + cat(model, Msg::Of) + QLatin1Char(' ');
    return cat(model, Msg::UsedMemory) + QString::number(s.UsedCount) + of +
           QString::number(model.device.RecordCapacity) + QLatin1Char('\n') +
           cat(model, Msg::ListSwitchingProgram) + QStringLiteral(": ") + QString::number(s.SzCount) +
           QLatin1Char('\n') + cat(model, Msg::ListPriorityProgram) + QStringLiteral(": ") +
           QString::number(s.PzCount) + QLatin1Char('\n') + cat(model, Msg::ListChangeoverTable).trimmed() +
           QStringLiteral(": ") + QString::number(s.DstCount) + of + QString::number(DstEntries);
}

} // namespace zx::views
