// zentrix-cli dump: everything a program file holds, as a listing or as JSON.
#include "Commands.h"

#include "calendar/Changeover.h"
#include "model/Model.h"
#include "model/ProgramJson.h"

#include <QJsonDocument>

namespace zx::cli {

namespace {

QString two(int v)
{
    return QStringLiteral("%1").arg(v, 2, 10, QLatin1Char('0'));
}

QString timeText(int m)
{
    return two(m / 60) + u':' + two(m % 60);
}

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
                 .arg(DstStartYear(p))
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
                 .arg(DescribeRecord(model, r)));
    }
    if (d.Uhrentyp == TypeAstro) {
        const AstroData &a = model.astro;
        line(QStringLiteral("Astro location: longitude %1 (east positive), latitude %2, time zone %3 min, "
                            "offsets %4 / %5 min, "
                            "minute %6, C1C2 %7")
                 .arg(number(a.Longitude == 0 ? 0 : -a.Longitude), number(a.Latitude), number(a.TimeZone),
                      number(a.AstroOffset1), number(a.AstroOffset2))
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

// A master card carries option bits for the device, not a program.
QString masterCardToText(const ProgramText &card, const QString &path)
{
    const int options = card.values[18] == 255 ? 0 : ((card.values[18] & 15) << 4) | (card.values[18] >> 4);
    return QStringLiteral("File: %1\nMaster card: device code %2, options %3\nUsage text: %4\n")
        .arg(path)
        .arg(card.values[1])
        .arg(options)
        .arg(card.texts[0]);
}

} // namespace

int runDump(Options &o)
{
    const auto type = o.deviceType();
    if (o.failed())
        return 2;
    if (!o.expectArguments({QStringLiteral("FILE.zxp")}))
        return 2;
    const QString path = o.positional.first();

    Model model;
    LoadResult result = LoadResult::Loaded;
    QByteArray piped;
    if (loadProgramOrTell(model, o, path, type.value_or(0), &result, &piped)) {
        if (o.has("--json"))
            printBytes(QJsonDocument(ProgramToJson(model)).toJson(QJsonDocument::Indented));
        else
            printBytes(programToText(model, path).toUtf8());
        return 0;
    }
    if (result != LoadResult::MasterCard)
        return 1;
    // The loader reads no program from a master card; its form is the file content itself.
    const auto content =
        isStdio(path) ? std::optional<QByteArray>(piped) : readInputOrTell(path, MaxProgramFileSize);
    const auto card = content ? ParseProgramText(*content) : std::nullopt;
    if (!card)
        return content ? fail(path, model.catalogue(Msg::IllegalFile)) : 1;
    if (o.has("--json"))
        printBytes(
            QJsonDocument(MasterCardToJson(*card, model.device.Uhrentyp)).toJson(QJsonDocument::Indented));
    else
        printBytes(masterCardToText(*card, path).toUtf8());
    return 0;
}

} // namespace zx::cli
