#include "ProgramDocument.h"

#include "i18n/Msg.h"
#include "model/Model.h"
#include "model/RecordDecoder.h"
#include "model/ValueRanges.h"
#include "platform/Prompter.h"
#include "views/ListFormatter.h"

#include <QJsonArray>
#include <QStringList>

#include <cmath>
#include <optional>

namespace zx::cli {

// ----- loading -------------------------------------------------------------------------------

namespace {

void setUpDevice(Model &model, int type)
{
    model.device.Uhrentyp = type;
    model.device.RecordCapacity = type == TypeAstro ? CapacityAstro : CapacityAnnual;
    model.device.DeviceCode = type == TypeAstro ? 80 : 72;
}

} // namespace

LoadResult loadProgramFile(Model &model, Prompter &prompter, const QString &path, int type, int *usedType,
                           QString *reason)
{
    const int first = type == 0 ? TypeAnnual : type;
    setUpDevice(model, first);
    *usedType = first;
    LoadResult result = LoadProgram(model, prompter, path, false, SetProgram, reason);
    if (type == 0 && result == LoadResult::OtherType236) {
        setUpDevice(model, TypeAstro);
        *usedType = TypeAstro;
        result = LoadProgram(model, prompter, path, false, SetProgram);
    }
    return result;
}

QString loadFailureText(const Model &model, LoadResult result, const QString &reason)
{
    const Catalogue &text = model.catalogue;
    switch (result) {
    case LoadResult::Loaded:
        return {};
    case LoadResult::Missing:
        return text(Msg::NoSuchFile);
    case LoadResult::Unreadable:
        return reason;
    case LoadResult::GroupConflict:
        return text(Msg::FormatConflictEIBConventionell);
    case LoadResult::MasterCard:
        return text(Msg::IllegalFile) + QStringLiteral(" (master card)");
    case LoadResult::OtherType517:
        return text(Msg::IllegalFile) + QStringLiteral(" (device type 517)");
    case LoadResult::OtherType236:
        return text(Msg::IllegalFile) + QStringLiteral(" (device type 236)");
    case LoadResult::Invalid:
        break;
    }
    return text(Msg::IllegalFile);
}

bool parseTypeOption(const QString &value, int *type)
{
    bool ok = false;
    const int t = value.toInt(&ok);
    if (!ok || (t != TypeAnnual && t != TypeAstro))
        return false;
    *type = t;
    return true;
}

bool parseLanguageOption(const QString &value, int *language)
{
    if (value == QLatin1String("en"))
        *language = English;
    else if (value == QLatin1String("de"))
        *language = German;
    else if (value == QLatin1String("fr"))
        *language = French;
    else
        return false;
    return true;
}

// ----- record meaning --------------------------------------------------------------------------

namespace {

QString two(int v)
{
    return QStringLiteral("%1").arg(v, 2, 10, QLatin1Char('0'));
}
QString timeText(int m)
{
    return two(m / 60) + u':' + two(m % 60);
}
QString dateText(int day, int month)
{
    return two(day) + u'.' + two(month) + u'.';
}

QString weekdays(const Model &model, int mask)
{
    QStringList days;
    for (int i = 0; i < 7; ++i)
        if (mask & (1 << i))
            days << model.catalogue(Msg::AbbrMonday + i).trimmed();
    return days.isEmpty() ? QStringLiteral("no day") : days.join(u' ');
}

// The channels of a conventional mask, up to the device's channel count, as the list shows them.
QString channelList(const Model &model, int mask)
{
    QStringList list;
    for (int i = 0; i < views::ChannelCount(model); ++i)
        if (mask & (1 << i))
            list << QString::number(i + 1);
    return list.isEmpty() ? QStringLiteral("none") : list.join(u',');
}

QString onOff(const Model &model, int state)
{
    return model.catalogue(state ? Msg::On : Msg::Off);
}

QString describeSwitching(const Model &model, const ProgramRecord &r)
{
    const SwitchingTime t = DecodeSwitchingRecord(r, model.device.BusDevice);
    QStringList parts;
    if (t.weekly)
        parts << QStringLiteral("weekly %1 %2").arg(timeText(t.minuteOfDay), weekdays(model, t.weekdayMask));
    else
        parts << QStringLiteral("dated %1 %2%3")
                     .arg(dateText(t.day, t.month), timeText(t.minuteOfDay),
                          t.once ? QStringLiteral(" once") : QString());
    if (t.bus) {
        parts << QStringLiteral("channel %1").arg(t.channel);
        parts << QStringLiteral("value %1").arg(t.value);
    } else {
        parts << QStringLiteral("channels %1").arg(channelList(model, t.channelMask));
        parts << onOff(model, t.state);
    }
    if (t.pulseSeconds)
        parts << QStringLiteral("pulse %1 s").arg(t.pulseSeconds);
    if (t.program)
        parts << QStringLiteral("P%1").arg(t.program);
    if (t.astro && model.device.Uhrentyp == TypeAstro)
        parts << QStringLiteral("astro");
    return parts.join(QStringLiteral("; "));
}

QString describePriority(const Model &model, const ProgramRecord &r)
{
    const PriorityTime p = DecodePriorityRecord(r, model.device.BusDevice);
    QStringList parts;
    if (p.easter) {
        parts << QStringLiteral("priority Easter %1%2")
                     .arg(p.easterOffset >= 0 ? QStringLiteral("+") : QString())
                     .arg(p.easterOffset);
    } else {
        QString when;
        if (p.yearCode)
            when = QStringLiteral("year %1").arg(p.year());
        else if (p.once)
            when = QStringLiteral("once");
        else
            when = QStringLiteral("every year");
        parts << QStringLiteral("priority %1-%2 %3")
                     .arg(dateText(p.fromDay, p.fromMonth), dateText(p.toDay, p.toMonth), when);
    }
    if (p.permanent)
        parts << (p.bus
                      ? QStringLiteral("%1 value %2").arg(model.catalogue(Msg::Permanent)).arg(p.value)
                      : QStringLiteral("%1 %2").arg(model.catalogue(Msg::Permanent), onOff(model, p.state)));
    else
        parts << QStringLiteral("program %1").arg(p.code);
    if (p.bus)
        parts << QStringLiteral("channel %1").arg(p.channel);
    else
        parts << QStringLiteral("channels %1").arg(channelList(model, p.channelMask));
    return parts.join(QStringLiteral("; "));
}

} // namespace

QString recordKindName(const Model &model, const ProgramRecord &r)
{
    switch (model.RecordKind(r)) {
    case Kind::WeeklyConventional:
    case Kind::WeeklyBus:
        return QStringLiteral("weekly");
    case Kind::DatedConventional:
    case Kind::DatedBus:
        return QStringLiteral("dated");
    case Kind::PriorityConventional:
    case Kind::PriorityBus:
        return QStringLiteral("priority");
    default:
        return QStringLiteral("other");
    }
}

QString describeRecord(const Model &model, const ProgramRecord &r)
{
    const QString kind = recordKindName(model, r);
    if (kind == u"priority")
        return describePriority(model, r);
    if (kind == u"other")
        return QStringLiteral("no user record");
    return describeSwitching(model, r);
}

// ----- text listing ------------------------------------------------------------------------------

namespace {

QString nameAsInFile(QString name)
{
    if (name.endsWith(u' '))
        name.chop(1);
    return name;
}

QString number(double v)
{
    return QString::number(v, 'g', 6);
}

} // namespace

QString programToText(const Model &model, const QString &path)
{
    const ProgramSet &p = model.program();
    const DeviceProperties &d = model.device;
    const DeviceOptions &o = model.options;
    QString out;
    auto line = [&out](const QString &s) { out += s + u'\n'; };

    line(QStringLiteral("File: %1").arg(path));
    line(QStringLiteral("Device type: %1 (%2)")
             .arg(d.Uhrentyp)
             .arg(d.Uhrentyp == TypeAstro ? QStringLiteral("astro device")
                                          : QStringLiteral("annual time switch")));
    QStringList header;
    for (int h : p.HeaderBytes)
        header << QString::number(h);
    line(QStringLiteral("Header bytes 0..7: %1").arg(header.join(u' ')));
    if (p.HeaderBytes[7] || p.HeaderBytes[6])
        line(QStringLiteral("Saved: %1-%2-%3 %4")
                 .arg(p.HeaderBytes[7] + 1872)
                 .arg(two(BitField(p.HeaderBytes[5], 0, 3)), two(p.HeaderBytes[6]),
                      timeText(p.HeaderBytes[4] * 16 + BitField(p.HeaderBytes[5], 4, 7))));
    line(QStringLiteral("Device code: %1%2")
             .arg(d.DeviceCode)
             .arg((d.DeviceCode & 128) ? QStringLiteral(" (master card)") : QString()));
    line(QStringLiteral("Channels: %1").arg(d.Kanalzahl));
    line(QStringLiteral("Bus device: %1").arg(d.BusDevice ? QStringLiteral("yes") : QStringLiteral("no")));
    line(QStringLiteral("Changeover rule: %1").arg(d.SwRegel));
    line(QStringLiteral("Write protection: %1").arg(d.WriteProtect));
    line(QStringLiteral("Record capacity: %1").arg(d.RecordCapacity));
    line(QStringLiteral(
             "Options: EuroDate=%1 GermanDisplay=%2 RadioSync=%3 NakOff=%4 KeyPermanent=%5 OptionBit0=%6")
             .arg(o.EuroDate)
             .arg(o.GermanDisplay)
             .arg(o.RadioSync)
             .arg(o.NakOff)
             .arg(o.KeyPermanent)
             .arg(o.OptionBit0));
    if (d.Uhrentyp != TypeAstro) {
        line(QStringLiteral("Master card options: %1").arg(d.MasterCardOptions));
        line(QStringLiteral("Program number: %1")
                 .arg(p.hasProgramNumber() ? QString::number(p.ProgramNumber) : QStringLiteral("none")));
        if (d.MessKanal)
            line(
                QStringLiteral("Meter pulse: channel %1, period %2 min, pulse length %3, state %4, timing %5")
                    .arg(d.MessKanal)
                    .arg(d.MessPeriode)
                    .arg(d.MessImpDauer)
                    .arg(d.MessZustand)
                    .arg(d.MessZeitpunkt));
        else
            line(QStringLiteral("Meter pulse: none"));
    }
    if (p.DstCount > 0) {
        line(QStringLiteral("Changeover table: first year %1 (stored %2), %3 entries")
                 .arg((p.DstFirstYear & 63) + 1996)
                 .arg(p.DstFirstYear)
                 .arg(p.DstCount));
        for (int i = 0; i < p.DstCount; ++i)
            line(QStringLiteral("  %1: %2 %3 %4 %5")
                     .arg(i + 1, 2)
                     .arg(p.DstTable[i][0])
                     .arg(p.DstTable[i][1])
                     .arg(p.DstTable[i][2])
                     .arg(p.DstTable[i][3]));
    } else {
        line(QStringLiteral("Changeover table: none"));
    }
    line(QStringLiteral("Records: %1 (switching times %2, priority times %3)")
             .arg(p.UsedCount)
             .arg(p.SzCount)
             .arg(p.PzCount));
    for (int i = 0; i < p.UsedCount; ++i) {
        const ProgramRecord &r = p.Records[i];
        line(QStringLiteral("  %1: %2 %3 %4 %5 %6 %7  %8")
                 .arg(i + 1, 3)
                 .arg(r.b0, 3)
                 .arg(r.b1, 3)
                 .arg(r.b2, 3)
                 .arg(r.b3, 3)
                 .arg(r.b4, 3)
                 .arg(r.b5, 3)
                 .arg(describeRecord(model, r)));
    }
    if (d.Uhrentyp == TypeAstro) {
        const AstroData &a = model.astro;
        line(QStringLiteral(
                 "Astro location: longitude %1, latitude %2, time zone %3 min, offsets %4 / %5 min, "
                 "minute %6, C1C2 %7")
                 .arg(number(a.Longitude), number(a.Latitude), number(a.TimeZone), number(a.AstroOffset1),
                      number(a.AstroOffset2))
                 .arg(a.AstroMinute)
                 .arg(a.AstroC1C2));
        bool any = false;
        for (const auto &day : a.AstroTable)
            any = any || day[0] != NoAstroTime || day[1] != NoAstroTime;
        line(QStringLiteral("Astro table: %1")
                 .arg(a.AstroPresent && any ? QStringLiteral("present") : QStringLiteral("none")));
    }
    line(QStringLiteral("Usage text: %1").arg(p.UsageText));
    for (int i = 0; i < 8; ++i)
        line(QStringLiteral("Channel %1 name: %2").arg(i + 1).arg(nameAsInFile(p.ChannelNames[i])));
    return out;
}

// ----- JSON ------------------------------------------------------------------------------------

QJsonObject programToJson(const Model &model)
{
    const ProgramSet &p = model.program();
    const DeviceProperties &d = model.device;
    const DeviceOptions &o = model.options;
    const bool astro = d.Uhrentyp == TypeAstro;

    QJsonObject json;
    json[u"format"] = QStringLiteral("zentrix-program");
    json[u"version"] = 1;
    json[u"deviceType"] = d.Uhrentyp;
    QJsonArray header;
    for (int h : p.HeaderBytes)
        header.append(h);
    json[u"header"] = header;

    QJsonObject device;
    device[u"deviceCode"] = d.DeviceCode;
    device[u"channels"] = d.Kanalzahl;
    device[u"busDevice"] = d.BusDevice;
    device[u"changeoverRule"] = d.SwRegel;
    device[u"writeProtect"] = d.WriteProtect;
    device[u"recordCapacity"] = d.RecordCapacity;
    if (!astro) {
        device[u"masterCardOptions"] = d.MasterCardOptions;
        if (d.MessKanal) {
            QJsonObject meter;
            meter[u"channel"] = d.MessKanal;
            meter[u"period"] = d.MessPeriode;
            meter[u"pulseLength"] = d.MessImpDauer;
            meter[u"state"] = d.MessZustand;
            meter[u"timing"] = d.MessZeitpunkt;
            device[u"meterPulse"] = meter;
        } else {
            device[u"meterPulse"] = QJsonValue::Null;
        }
    }
    json[u"device"] = device;

    QJsonObject options;
    options[u"euroDate"] = o.EuroDate;
    options[u"germanDisplay"] = o.GermanDisplay;
    options[u"radioSync"] = o.RadioSync;
    options[u"nakOff"] = o.NakOff;
    options[u"keyPermanent"] = o.KeyPermanent;
    options[u"optionBit0"] = o.OptionBit0;
    json[u"options"] = options;

    if (!astro)
        json[u"programNumber"] =
            p.hasProgramNumber() ? QJsonValue(p.ProgramNumber) : QJsonValue(QJsonValue::Null);

    if (p.DstCount > 0) {
        QJsonObject changeover;
        changeover[u"firstYear"] = p.DstFirstYear;
        QJsonArray entries;
        for (int i = 0; i < p.DstCount; ++i)
            entries.append(
                QJsonArray{p.DstTable[i][0], p.DstTable[i][1], p.DstTable[i][2], p.DstTable[i][3]});
        changeover[u"entries"] = entries;
        json[u"changeover"] = changeover;
    } else {
        json[u"changeover"] = QJsonValue::Null;
    }

    QJsonArray records;
    for (int i = 0; i < p.UsedCount; ++i) {
        const ProgramRecord &r = p.Records[i];
        QJsonObject rec;
        rec[u"bytes"] = QJsonArray{r.b0, r.b1, r.b2, r.b3, r.b4, r.b5};
        rec[u"kind"] = recordKindName(model, r);
        rec[u"text"] = describeRecord(model, r);
        records.append(rec);
    }
    json[u"records"] = records;

    if (astro) {
        const AstroData &a = model.astro;
        QJsonObject ao;
        ao[u"longitude"] = double(a.Longitude);
        ao[u"latitude"] = double(a.Latitude);
        ao[u"timeZone"] = double(a.TimeZone);
        ao[u"offset1"] = double(a.AstroOffset1);
        ao[u"offset2"] = double(a.AstroOffset2);
        ao[u"minute"] = a.AstroMinute;
        ao[u"c1c2"] = a.AstroC1C2;
        if (a.AstroPresent) {
            QJsonArray table;
            for (const auto &day : a.AstroTable)
                table.append(QJsonArray{day[0], day[1]});
            ao[u"table"] = table;
        } else {
            ao[u"table"] = QJsonValue::Null;
        }
        json[u"astro"] = ao;
    }

    json[u"usageText"] = p.UsageText;
    QJsonArray names;
    for (int i = 0; i < 8; ++i)
        names.append(nameAsInFile(p.ChannelNames[i]));
    json[u"channelNames"] = names;
    return json;
}

namespace {

// Reads fields of a JSON document with range checks; the first failure is kept in `error`,
// naming the field by its path ("device.channels", "records[3].bytes[0]").
class FieldReader {
  public:
    QString error;
    bool ok() const { return error.isEmpty(); }

    bool fail(const QString &path, const QString &what)
    {
        if (error.isEmpty())
            error = QStringLiteral("%1: %2").arg(path, what);
        return false;
    }

    std::optional<double> number(const QJsonValue &v, const QString &path, double min, double max)
    {
        if (!ok())
            return std::nullopt;
        if (!v.isDouble()) {
            fail(path, QStringLiteral("a number is required"));
            return std::nullopt;
        }
        const double x = v.toDouble();
        if (!(x >= min && x <= max)) {
            fail(path, QStringLiteral("%1 is out of range %2..%3").arg(x).arg(min).arg(max));
            return std::nullopt;
        }
        return x;
    }

    std::optional<int> integer(const QJsonValue &v, const QString &path, int min, int max)
    {
        const auto x = number(v, path, min, max);
        if (!x)
            return std::nullopt;
        if (*x != std::floor(*x)) {
            fail(path, QStringLiteral("%1 is not a whole number").arg(*x));
            return std::nullopt;
        }
        return int(*x);
    }

    std::optional<int> integer(const QJsonValue &v, const QString &path, ValueRange range)
    {
        return integer(v, path, range.min, range.max);
    }

    int field(const QJsonObject &o, const char *key, const QString &prefix, ValueRange range, int fallback)
    {
        return field(o, key, prefix, range.min, range.max, fallback);
    }

    // An optional integer field of an object: `fallback` when absent.
    int field(const QJsonObject &o, const char *key, const QString &prefix, int min, int max, int fallback)
    {
        const QJsonValue v = o.value(QLatin1String(key));
        if (v.isUndefined())
            return fallback;
        return integer(v, prefix + QLatin1String(key), min, max).value_or(fallback);
    }

    std::optional<QJsonObject> object(const QJsonValue &v, const QString &path)
    {
        if (!ok())
            return std::nullopt;
        if (!v.isObject()) {
            fail(path, QStringLiteral("an object is required"));
            return std::nullopt;
        }
        return v.toObject();
    }

    std::optional<QJsonArray> array(const QJsonValue &v, const QString &path, int minSize, int maxSize)
    {
        if (!ok())
            return std::nullopt;
        if (!v.isArray()) {
            fail(path, QStringLiteral("an array is required"));
            return std::nullopt;
        }
        const QJsonArray a = v.toArray();
        if (a.size() < minSize || a.size() > maxSize) {
            fail(path, minSize == maxSize
                           ? QStringLiteral("%1 entries are required").arg(minSize)
                           : QStringLiteral("%1 entries, at most %2 are allowed").arg(a.size()).arg(maxSize));
            return std::nullopt;
        }
        return a;
    }

    // A text of the program file: one line without commas.
    QString text(const QJsonValue &v, const QString &path)
    {
        if (!ok())
            return {};
        if (v.isUndefined())
            return {};
        if (!v.isString()) {
            fail(path, QStringLiteral("a text is required"));
            return {};
        }
        const QString s = v.toString();
        if (s.contains(u',') || s.contains(u'\n') || s.contains(u'\r'))
            fail(path, QStringLiteral("a text of the program file may hold no comma and no line break"));
        return s;
    }
};

void readDevice(FieldReader &in, const QJsonObject &json, Model &m, bool astro)
{
    DeviceProperties &d = m.device;
    const QJsonValue dv = json.value(u"device");
    if (dv.isUndefined())
        return;
    const auto device = in.object(dv, QStringLiteral("device"));
    if (!device)
        return;
    const QString at = QStringLiteral("device.");
    if (astro) {
        d.DeviceCode = in.field(*device, "deviceCode", at, 80, 80, 80);
        d.RecordCapacity =
            in.field(*device, "recordCapacity", at, CapacityAstro, CapacityAstro, CapacityAstro);
    } else {
        const int code = in.field(*device, "deviceCode", at, 72, 201, 72);
        if ((code & 127) != 72 && (code & 127) != 73)
            in.fail(at + QStringLiteral("deviceCode"),
                    QStringLiteral("%1 is no code of the annual device (72, 73, 200, 201)").arg(code));
        d.DeviceCode = code;
        d.RecordCapacity = in.field(*device, "recordCapacity", at, 1, CapacityAnnual, CapacityAnnual);
        d.MasterCardOptions = in.field(*device, "masterCardOptions", at, 0, 255, 0);
    }
    d.Kanalzahl = in.field(*device, "channels", at, Ranges::Channels, d.Kanalzahl);
    d.BusDevice = in.field(*device, "busDevice", at, 0, 1, 0);
    d.SwRegel = in.field(*device, "changeoverRule", at, Ranges::ChangeoverRule, 0);
    d.WriteProtect = in.field(*device, "writeProtect", at, 0, 1, 0);
    const QJsonValue mv = device->value(u"meterPulse");
    d.clearMeterPulse();
    if (mv.isUndefined() || mv.isNull())
        return;
    if (astro) {
        in.fail(at + QStringLiteral("meterPulse"), QStringLiteral("the astro device has no meter pulse"));
        return;
    }
    const auto meter = in.object(mv, at + QStringLiteral("meterPulse"));
    if (!meter)
        return;
    const QString mat = at + QStringLiteral("meterPulse.");
    d.MessKanal = in.field(*meter, "channel", mat, Ranges::MeterChannel, 1);
    d.MessPeriode = in.field(*meter, "period", mat, Ranges::MeterPeriod, 1);
    d.MessImpDauer = in.field(*meter, "pulseLength", mat, Ranges::MeterPulseLength, 1);
    d.MessZustand = in.field(*meter, "state", mat, 0, 1, 0);
    d.MessZeitpunkt = in.field(*meter, "timing", mat, 0, 1, 0);
}

void readOptions(FieldReader &in, const QJsonObject &json, Model &m)
{
    const QJsonValue ov = json.value(u"options");
    if (ov.isUndefined())
        return;
    const auto options = in.object(ov, QStringLiteral("options"));
    if (!options)
        return;
    DeviceOptions &o = m.options;
    const QString at = QStringLiteral("options.");
    o.EuroDate = in.field(*options, "euroDate", at, 0, 1, o.EuroDate);
    o.GermanDisplay = in.field(*options, "germanDisplay", at, 0, 1, o.GermanDisplay);
    o.RadioSync = in.field(*options, "radioSync", at, 0, 1, o.RadioSync);
    o.NakOff = in.field(*options, "nakOff", at, 0, 1, o.NakOff);
    o.KeyPermanent = in.field(*options, "keyPermanent", at, 0, 1, o.KeyPermanent);
    o.OptionBit0 = in.field(*options, "optionBit0", at, 0, 1, 1);
}

void readChangeover(FieldReader &in, const QJsonObject &json, ProgramSet &p)
{
    const QJsonValue cv = json.value(u"changeover");
    if (cv.isUndefined() || cv.isNull())
        return;
    const auto changeover = in.object(cv, QStringLiteral("changeover"));
    if (!changeover)
        return;
    p.DstFirstYear =
        in.field(*changeover, "firstYear", QStringLiteral("changeover."), Ranges::ChangeoverFirstYear, 0);
    const auto entries =
        in.array(changeover->value(u"entries"), QStringLiteral("changeover.entries"), 0, DstEntries);
    if (!entries)
        return;
    for (int i = 0; i < entries->size(); ++i) {
        const QString at = QStringLiteral("changeover.entries[%1]").arg(i);
        const auto entry = in.array(entries->at(i), at, 4, 4);
        if (!entry)
            return;
        for (int j = 0; j < 4; ++j)
            p.DstTable[i][j] = in.integer(entry->at(j), QStringLiteral("%1[%2]").arg(at).arg(j),
                                          j == 0 ? Ranges::ChangeoverFirstValue : Ranges::Byte)
                                   .value_or(0);
    }
    p.DstCount = int(entries->size());
}

void readRecords(FieldReader &in, const QJsonObject &json, Model &m)
{
    ProgramSet &p = m.program();
    const int capacity = m.device.RecordCapacity;
    const auto records = in.array(json.value(u"records"), QStringLiteral("records"), 0, capacity);
    if (!records)
        return;
    for (int i = 0; i < records->size(); ++i) {
        const QString at = QStringLiteral("records[%1]").arg(i);
        const auto rec = in.object(records->at(i), at);
        if (!rec)
            return;
        const auto bytes = in.array(rec->value(u"bytes"), at + QStringLiteral(".bytes"), 6, 6);
        if (!bytes)
            return;
        int b[6];
        for (int j = 0; j < 6; ++j)
            b[j] = in.integer(bytes->at(j), QStringLiteral("%1.bytes[%2]").arg(at).arg(j), Ranges::Byte)
                       .value_or(0);
        if (!in.ok())
            return;
        if (!IsSwitchingCode(b[0]) && !IsPriorityCode(b[0]))
            in.fail(at + QStringLiteral(".bytes[0]"),
                    QStringLiteral("%1 is no switching time (0..89, 128..217) or priority time (96..127)")
                        .arg(b[0]));
        if (b[2] != 0)
            in.fail(at + QStringLiteral(".bytes[2]"),
                    QStringLiteral("must be 0 (the link of the record chain)"));
        if (b[3] & 128)
            in.fail(at + QStringLiteral(".bytes[3]"),
                    QStringLiteral("bit 7 must be clear (the link of the record chain)"));
        p.Records[i] = ProgramRecord{std::uint8_t(b[0]), std::uint8_t(b[1]), std::uint8_t(b[2]),
                                     std::uint8_t(b[3]), std::uint8_t(b[4]), std::uint8_t(b[5])};
    }
    p.UsedCount = int(records->size());
    m.recount(SetProgram);
}

void readAstro(FieldReader &in, const QJsonObject &json, Model &m)
{
    const QJsonValue av = json.value(u"astro");
    if (av.isUndefined() || av.isNull())
        return;
    const auto astro = in.object(av, QStringLiteral("astro"));
    if (!astro)
        return;
    AstroData &a = m.astro;
    auto real = [&](const char *key, double min, double max, float fallback) {
        const QJsonValue v = astro->value(QLatin1String(key));
        if (v.isUndefined())
            return fallback;
        return float(
            in.number(v, QStringLiteral("astro.") + QLatin1String(key), min, max).value_or(fallback));
    };
    a.Longitude = real("longitude", Ranges::Longitude.min, Ranges::Longitude.max, 0);
    a.Latitude = real("latitude", Ranges::Latitude.min, Ranges::Latitude.max, 0);
    a.TimeZone = real("timeZone", Ranges::TimeZone.min, Ranges::TimeZone.max, 60);
    a.AstroOffset1 = real("offset1", Ranges::AstroOffset.min, Ranges::AstroOffset.max, 0);
    a.AstroOffset2 = real("offset2", Ranges::AstroOffset.min, Ranges::AstroOffset.max, 0);
    a.AstroMinute = in.field(*astro, "minute", QStringLiteral("astro."), Ranges::AstroMinute, 0);
    a.AstroC1C2 = in.field(*astro, "c1c2", QStringLiteral("astro."), 0, 1, 0);
    const QJsonValue tv = astro->value(u"table");
    a.clearTable();
    if (tv.isUndefined() || tv.isNull())
        return;
    const auto table = in.array(tv, QStringLiteral("astro.table"), AstroDays, AstroDays);
    if (!table)
        return;
    for (int d = 0; d < AstroDays; ++d) {
        const QString at = QStringLiteral("astro.table[%1]").arg(d);
        const auto day = in.array(table->at(d), at, 2, 2);
        if (!day)
            return;
        for (int j = 0; j < 2; ++j)
            a.AstroTable[d][j] =
                in.integer(day->at(j), QStringLiteral("%1[%2]").arg(at).arg(j), Ranges::AstroTimeValue)
                    .value_or(0);
    }
    a.AstroPresent = -1;
}

} // namespace

bool programFromJson(const QJsonObject &json, Model &model, QString *error)
{
    FieldReader in;
    Model m = model;
    const int type =
        in.integer(json.value(u"deviceType"), QStringLiteral("deviceType"), TypeAstro, TypeAnnual)
            .value_or(0);
    if (in.ok() && type != TypeAnnual && type != TypeAstro)
        in.fail(QStringLiteral("deviceType"), QStringLiteral("%1 is no device type (517, 236)").arg(type));
    const bool astro = type == TypeAstro;
    m.device.Uhrentyp = type;
    m.device.RecordCapacity = astro ? CapacityAstro : CapacityAnnual;
    m.device.DeviceCode = astro ? 80 : 72;
    m.program().clear();
    m.astro.clearTable();
    m.device.clearMeterPulse();

    readDevice(in, json, m, astro);
    readOptions(in, json, m);
    if (astro) {
        if (json.contains(u"programNumber") && !json.value(u"programNumber").isNull())
            in.fail(QStringLiteral("programNumber"),
                    QStringLiteral("the astro device keeps no program number"));
    } else {
        const QJsonValue pn = json.value(u"programNumber");
        if (!pn.isUndefined() && !pn.isNull())
            m.program().ProgramNumber = in.integer(pn, QStringLiteral("programNumber"), Ranges::ProgramNumber)
                                            .value_or(NoProgramNumber);
    }
    readChangeover(in, json, m.program());
    readRecords(in, json, m);
    if (astro)
        readAstro(in, json, m);
    else if (json.contains(u"astro") && !json.value(u"astro").isNull())
        in.fail(QStringLiteral("astro"), QStringLiteral("only the astro device (236) has astro data"));

    m.program().UsageText = in.text(json.value(u"usageText"), QStringLiteral("usageText"));
    const QJsonValue nv = json.value(u"channelNames");
    if (!nv.isUndefined()) {
        if (const auto names = in.array(nv, QStringLiteral("channelNames"), 0, 8)) {
            for (int i = 0; i < names->size(); ++i)
                m.program().ChannelNames[i] =
                    in.text(names->at(i), QStringLiteral("channelNames[%1]").arg(i));
        }
    }
    if (!in.ok()) {
        *error = in.error;
        return false;
    }
    model = m;
    return true;
}

} // namespace zx::cli
