#include "output/CsvExport.h"

#include "calendar/Changeover.h"
#include "calendar/DeviceClock.h"
#include "model/Calendar.h"
#include "model/Model.h"
#include "model/RecordDecoder.h"
#include "views/ListFormatter.h"

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

namespace {

QString twoDigits(int v)
{
    return QStringLiteral("%1").arg(v, 2, 10, QLatin1Char('0'));
}

// 07:00; empty for a time the device does not switch at (1440 and above).
QString timeValue(int minuteOfDay)
{
    if (minuteOfDay < 0 || minuteOfDay >= 1440)
        return {};
    return twoDigits(minuteOfDay / 60) + u':' + twoDigits(minuteOfDay % 60);
}

// 2027-01-01 with a year, 01-24 for a date of every year; empty for a day its month lacks.
QString dateValue(int day, int month, int year)
{
    if (month < 1 || month > 12 || day < 1 || day > DaysInMonth(month, year > 0 ? year : 2000))
        return {};
    const QString monthDay = twoDigits(month) + u'-' + twoDigits(day);
    return year > 0 ? QString::number(year) + u'-' + monthDay : monthDay;
}

QString flag(bool on)
{
    return on ? QStringLiteral("1") : QStringLiteral("0");
}

// "1 3": the channel numbers of a conventional mask up to the device's count.
QString channelsValue(const Model &model, int mask)
{
    QStringList channels;
    for (int c = 1; c <= views::ChannelCount(model); ++c)
        if (mask & (1 << (c - 1)))
            channels << QString::number(c);
    return channels.join(u' ');
}

QString weekdaysValue(int mask)
{
    static const char *const names[] = {"mo", "tu", "we", "th", "fr", "sa", "su"};
    QStringList days;
    for (int d = 0; d < 7; ++d)
        if (mask & (1 << d))
            days << QLatin1String(names[d]);
    return days.join(u' ');
}

QStringList switchingFields(const Model &model, const ProgramRecord &r)
{
    const SwitchingTime t = DecodeSwitchingRecord(r, model.device.BusDevice);
    return {t.weekly ? QStringLiteral("weekly") : QStringLiteral("dated"),
            t.weekly ? weekdaysValue(t.weekdayMask) : QString(),
            t.weekly ? QString() : dateValue(t.day, t.month, 0),
            t.weekly ? QString() : flag(t.once),
            timeValue(t.minuteOfDay),
            t.bus ? QString::number(t.channel) : channelsValue(model, t.channelMask),
            t.pulseSeconds > 0 ? QString::number(t.pulseSeconds) : QString(),
            t.bus ? QString() : QLatin1String(t.state ? "on" : "off"),
            t.bus ? QString::number(t.value) : QString(),
            t.weekly && t.program > 0 ? QString::number(t.program) : QString()};
}

QStringList priorityFields(const Model &model, const ProgramRecord &r)
{
    const PriorityTime p = DecodePriorityRecord(r, model.device.BusDevice);
    const int year = p.year();
    return {p.easter ? QString() : dateValue(p.fromDay, p.fromMonth, year),
            p.easter ? QString() : dateValue(p.toDay, p.toMonth, year),
            year > 0 ? QString::number(year) : QString(),
            flag(p.once || year > 0),
            p.easter ? QString::number(p.easterOffset) : QString(),
            p.permanent ? QStringLiteral("permanent") : QString::number(p.code),
            p.bus ? QString::number(p.channel) : channelsValue(model, p.channelMask),
            p.permanent && !p.bus ? QLatin1String(p.state ? "on" : "off") : QString(),
            p.permanent && p.bus ? QString::number(p.value) : QString()};
}

QStringList changeoverFields(const Model &model, int index)
{
    const ProgramSet &set = model.program();
    const ChangeoverEntry e = DecodeChangeoverEntry(set.DstTable[index]);
    const int year = YearOfEntry(index, set);
    QStringList fields{QString::number(year)};
    for (const Changeover &c : {e.advance, e.setBack})
        fields << dateValue(c.day, c.month, year) << timeValue(c.hour * 60) << QString::number(c.shift);
    return fields;
}

// The astro list's clock times: standard time moved by the summer hour, as the list shows them.
QStringList astroFields(const Model &model, int dayIndex, int year)
{
    const auto [day, month] = DateOfDay(dayIndex + 1, year);
    const AstroDay times = DecodeAstroDay(model.astro, dayIndex);
    // The device's clock as the astro list shows it: the changeover's own shift, and a late
    // sunset moved past midnight read on from 24:00 ("24:46"), switching at 0:46 of the next day.
    const DeviceClock deviceClock(model);
    const long long midnight = dayIndex * 1440LL;
    auto local = [&](int v) -> QString {
        if (v < 0 || v >= 1440)
            return {};
        const int m = int(deviceClock.clockOf(year, midnight + v) - midnight);
        return m < 1440 ? timeValue(m) : QString::number(m / 60) + u':' + twoDigits(m % 60);
    };
    return {dateValue(day, month, year), model.astro.AstroC1C2 ? QStringLiteral("1 2") : QStringLiteral("1"),
            local(times.switchOff), local(times.switchOn)};
}

QStringList csvHeader(int listKind)
{
    switch (listKind) {
    case ListSwitching:
        return {"row",      "kind",  "weekdays", "date",  "once",   "time",
                "channels", "pulse", "state",    "value", "program"};
    case ListPriority:
        return {"row", "from", "to", "year", "once", "easter", "priority", "channels", "state", "value"};
    case ListChangeover:
        return {"row",           "year",    "advance",      "advance_time",
                "advance_shift", "setback", "setback_time", "setback_shift"};
    default:
        return {"row", "date", "channels", "switch_off", "switch_on"};
    }
}

} // namespace

QByteArray ListsCsv(const Model &model, const std::vector<PrintedList> &lists)
{
    QByteArray out;
    const ProgramSet &set = model.program();
    for (const PrintedList &list : lists) {
        if (!out.isEmpty())
            out += "\r\n";
        out += csv::Record(csvHeader(list.listKind));
        for (std::size_t i = 0; i < list.rows.size(); ++i) {
            const int index = i < list.recordIndex.size() ? list.recordIndex[i] : -1;
            QStringList fields{QString::number(i + 1)};
            if (list.listKind == ListSwitching && index >= 0 && index < MaxRecords)
                fields << switchingFields(model, set.Records[index]);
            else if (list.listKind == ListPriority && index >= 0 && index < MaxRecords)
                fields << priorityFields(model, set.Records[index]);
            else if (list.listKind == ListChangeover && index >= 0 && index < DstEntries)
                fields << changeoverFields(model, index);
            else if (list.listKind == ListAstro && list.year > 0 && int(i) < AstroDays)
                fields << astroFields(model, int(i), list.year);
            out += csv::Record(fields);
        }
    }
    return out;
}

} // namespace zx
