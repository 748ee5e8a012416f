#include "model/ProgramJson.h"

#include "i18n/Msg.h"
#include "model/Model.h"
#include "model/RecordDecoder.h"
#include "model/ValueRanges.h"

#include <QJsonArray>
#include <QStringList>

#include <algorithm>
#include <cmath>
#include <optional>

namespace zx {

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
    for (int i = 0; i < qBound(1, model.device.Kanalzahl, 8); ++i)
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

QString RecordKindName(const Model &model, const ProgramRecord &r)
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

QString DescribeRecord(const Model &model, const ProgramRecord &r)
{
    const QString kind = RecordKindName(model, r);
    if (kind == u"priority")
        return describePriority(model, r);
    if (kind == u"other")
        return QStringLiteral("no user record");
    return describeSwitching(model, r);
}

// ----- JSON ------------------------------------------------------------------------------------

namespace {

QString nameAsInFile(QString name)
{
    if (name.endsWith(u' '))
        name.chop(1);
    return name;
}

// The longitude a user reads and types is east positive, as maps give it; the device keeps it
// west positive.
double eastLongitude(float deviceLongitude)
{
    return deviceLongitude == 0 ? 0.0 : -double(deviceLongitude);
}

QJsonArray textsArray(const std::array<QString, 9> &names)
{
    QJsonArray out;
    for (int i = 0; i < 8; ++i)
        out.append(nameAsInFile(names[i]));
    return out;
}

} // namespace

QJsonObject ProgramToJson(const Model &model)
{
    const ProgramSet &p = model.program();
    const DeviceProperties &d = model.device;
    const DeviceOptions &o = model.options;
    const bool astro = d.Uhrentyp == TypeAstro;

    QJsonObject json;
    json[u"format"] = QStringLiteral("zentrix-program");
    json[u"version"] = ProgramJsonVersion;
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
        rec[u"kind"] = RecordKindName(model, r);
        rec[u"text"] = DescribeRecord(model, r);
        records.append(rec);
    }
    json[u"records"] = records;

    if (astro) {
        const AstroData &a = model.astro;
        QJsonObject ao;
        ao[u"longitude"] = eastLongitude(a.Longitude);
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
    json[u"channelNames"] = textsArray(p.ChannelNames);
    return json;
}

QJsonObject MasterCardToJson(const ProgramText &card, int type)
{
    QJsonObject json;
    json[u"format"] = QStringLiteral("zentrix-program");
    json[u"version"] = ProgramJsonVersion;
    json[u"deviceType"] = type;
    json[u"masterCard"] = QJsonObject{{QStringLiteral("deviceCode"), card.values[1]}};
    QJsonArray image;
    for (int v : card.values)
        image.append(v);
    json[u"image"] = image;
    json[u"usageText"] = card.texts[0];
    std::array<QString, 9> names;
    for (int i = 0; i < 8; ++i)
        names[i] = card.texts[i + 1];
    json[u"channelNames"] = textsArray(names);
    return json;
}

} // namespace zx
