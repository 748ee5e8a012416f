// Reading a program back from its JSON document: every field range-checked, the first fault
// named by its path, the model left as it was on any fault. Writing is ProgramJson.cpp's.
#include "model/ProgramJson.h"

#include "model/Model.h"
#include "model/RecordDecoder.h"
#include "model/ValueRanges.h"

#include <QJsonArray>
#include <QStringList>

#include <algorithm>
#include <cmath>
#include <optional>

namespace zx {

namespace {

// The messages of the reader in the three built-in languages, found by their English text.
QString jsonText(const char *english, int language)
{
    struct Row {
        const char *en, *de, *fr;
    };
    static const Row rows[] = {
        {"a number is required", "eine Zahl wird erwartet", "un nombre est attendu"},
        {"%1 is out of range %2..%3", "%1 liegt außerhalb von %2..%3", "%1 est hors de %2..%3"},
        {"%1 is not a whole number", "%1 ist keine ganze Zahl", "%1 n'est pas un nombre entier"},
        {"an object is required", "ein Objekt wird erwartet", "un objet est attendu"},
        {"unknown field", "unbekanntes Feld", "champ inconnu"},
        {"an array is required", "eine Liste wird erwartet", "une liste est attendue"},
        {"%1 entries are required", "%1 Einträge werden erwartet", "%1 entrées sont attendues"},
        {"%1 entries, at most %2 are allowed", "%1 Einträge, höchstens %2 sind erlaubt",
         "%1 entrées, %2 au plus sont permises"},
        {"a text is required", "ein Text wird erwartet", "un texte est attendu"},
        {"a text of the program file may hold no comma and no line break",
         "ein Text der Programmdatei darf kein Komma und keinen Zeilenumbruch enthalten",
         "un texte du fichier programme ne peut contenir ni virgule ni saut de ligne"},
        {"the astro device has no meter pulse", "das Astrogerät hat keinen Zählimpuls",
         "l'appareil astro n'a pas d'impulsion de comptage"},
        {"%1 is no switching time (0..89, 128..217) or priority time (96..127)",
         "%1 ist weder Schaltzeit (0..89, 128..217) noch Prioritätszeit (96..127)",
         "%1 n'est ni un horaire (0..89, 128..217) ni une période prioritaire (96..127)"},
        {"must be 0 (the link of the record chain)", "muss 0 sein (der Verweis der Eintragskette)",
         "doit valoir 0 (le lien de la chaîne des entrées)"},
        {"bit 7 must be clear (the link of the record chain)",
         "Bit 7 muss frei sein (der Verweis der Eintragskette)",
         "le bit 7 doit être à 0 (le lien de la chaîne des entrées)"},
        {"an astro switching time is kept in the astro table, not as a record",
         "eine Astroschaltzeit steht in der Astrotabelle, nicht als Eintrag",
         "un horaire astro figure dans la table astro, pas comme entrée"},
        {"holds a program, not a master card: give it as records",
         "enthält ein Programm, keine Masterkarte: als Einträge angeben",
         "contient un programme, pas une carte maître : donnez-le comme entrées"},
        {"is no master card the program accepts", "ist keine Masterkarte, die das Programm annimmt",
         "n'est pas une carte maître que le programme accepte"},
        {"\"zentrix-program\" is required", "\"zentrix-program\" wird erwartet",
         "\"zentrix-program\" est attendu"},
        {"%1 is no device type (517, 236)", "%1 ist kein Gerätetyp (517, 236)",
         "%1 n'est pas un type d'appareil (517, 236)"},
        {"the astro device keeps no program number", "das Astrogerät hat keine Programmnummer",
         "l'appareil astro n'a pas de numéro de programme"},
        {"only the astro device (236) has astro data", "nur das Astrogerät (236) hat Astrodaten",
         "seul l'appareil astro (236) a des données astro"},
        {"%1 marks a master card, which holds no program: give a master card as the image that dump --json "
         "prints for it",
         "%1 kennzeichnet eine Masterkarte, die kein Programm enthält: eine Masterkarte als das Abbild "
         "angeben, das dump --json für sie ausgibt",
         "%1 désigne une carte maître, qui ne contient pas de programme : donnez une carte maître comme "
         "l'image que dump --json affiche pour elle"},
    };
    for (const Row &r : rows)
        if (qstrcmp(r.en, english) == 0)
            return QString::fromUtf8(language == German ? r.de : language == French ? r.fr : r.en);
    return QString::fromUtf8(english);
}

// Reads fields of a JSON document with range checks; the first failure is kept in `error`,
// naming the field by its path ("device.channels", "records[3].bytes[0]").
class FieldReader {
  public:
    QString error;
    int language = English; // of the messages
    bool ok() const { return error.isEmpty(); }
    QString say(const char *english) const { return jsonText(english, language); }

    void fail(const QString &path, const QString &what)
    {
        if (error.isEmpty())
            error = QStringLiteral("%1: %2").arg(path, what);
    }

    std::optional<double> number(const QJsonValue &v, const QString &path, double min, double max)
    {
        if (!ok())
            return std::nullopt;
        if (!v.isDouble()) {
            fail(path, say("a number is required"));
            return std::nullopt;
        }
        const double x = v.toDouble();
        if (!(x >= min && x <= max)) {
            fail(path, say("%1 is out of range %2..%3").arg(x).arg(min).arg(max));
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
            fail(path, say("%1 is not a whole number").arg(*x));
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
            fail(path, say("an object is required"));
            return std::nullopt;
        }
        return v.toObject();
    }

    // A misspelt field would otherwise be dropped silently and its default written instead.
    bool onlyKnown(const QJsonObject &o, const QString &prefix, std::initializer_list<const char *> known)
    {
        for (auto it = o.begin(); it != o.end() && ok(); ++it) {
            const bool listed = std::any_of(known.begin(), known.end(),
                                            [&](const char *k) { return it.key() == QLatin1String(k); });
            if (!listed)
                fail(prefix + it.key(), say("unknown field"));
        }
        return ok();
    }

    std::optional<QJsonArray> array(const QJsonValue &v, const QString &path, int minSize, int maxSize)
    {
        if (!ok())
            return std::nullopt;
        if (!v.isArray()) {
            fail(path, say("an array is required"));
            return std::nullopt;
        }
        const QJsonArray a = v.toArray();
        if (a.size() < minSize || a.size() > maxSize) {
            fail(path, minSize == maxSize
                           ? say("%1 entries are required").arg(minSize)
                           : say("%1 entries, at most %2 are allowed").arg(a.size()).arg(maxSize));
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
            fail(path, say("a text is required"));
            return {};
        }
        const QString s = v.toString();
        if (s.contains(u',') || s.contains(u'\n') || s.contains(u'\r'))
            fail(path, say("a text of the program file may hold no comma and no line break"));
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
    if (!in.onlyKnown(*device, at,
                      {"deviceCode", "channels", "busDevice", "changeoverRule", "writeProtect",
                       "recordCapacity", "masterCardOptions", "meterPulse"}))
        return;
    // The device type fixes its memory; the file keeps no other capacity (a smaller one would
    // come back from the file as the type's own).
    const int capacity = astro ? CapacityAstro : CapacityAnnual;
    if (const QJsonValue cv = device->value(u"recordCapacity");
        !cv.isUndefined() && in.ok() && cv.toDouble(-1) != capacity)
        in.fail(at + QStringLiteral("recordCapacity"),
                QStringLiteral("device type %1 holds %2 records: %2 is the only value allowed, not %3")
                    .arg(astro ? TypeAstro : TypeAnnual)
                    .arg(capacity)
                    .arg(cv.isDouble() ? QString::number(cv.toDouble()) : QStringLiteral("a non-number")));
    d.RecordCapacity = capacity;
    if (astro) {
        d.DeviceCode = in.field(*device, "deviceCode", at, 80, 80, 80);
    } else {
        const int code = in.field(*device, "deviceCode", at, DeviceCodeAnnual,
                                  DeviceCodeAnnualSpecialPriorities, DeviceCodeAnnual);
        if (!in.ok() && IsMasterCard(device->value(u"deviceCode").toInt()))
            in.error =
                at + QStringLiteral("deviceCode: ") +
                in.say("%1 marks a master card, which holds no program: give a master card as the image "
                       "that dump --json prints for it")
                    .arg(device->value(u"deviceCode").toInt());
        d.DeviceCode = code;
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
        in.fail(at + QStringLiteral("meterPulse"), in.say("the astro device has no meter pulse"));
        return;
    }
    const auto meter = in.object(mv, at + QStringLiteral("meterPulse"));
    if (!meter)
        return;
    const QString mat = at + QStringLiteral("meterPulse.");
    if (!in.onlyKnown(*meter, mat, {"channel", "period", "pulseLength", "state", "timing"}))
        return;
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
    if (!in.onlyKnown(*options, at,
                      {"euroDate", "germanDisplay", "radioSync", "nakOff", "keyPermanent", "optionBit0"}))
        return;
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
    if (!changeover || !in.onlyKnown(*changeover, QStringLiteral("changeover."), {"firstYear", "entries"}))
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
        if (!rec || !in.onlyKnown(*rec, at + u'.', {"bytes", "kind", "text"}))
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
                    in.say("%1 is no switching time (0..89, 128..217) or priority time (96..127)").arg(b[0]));
        if (b[2] != 0)
            in.fail(at + QStringLiteral(".bytes[2]"), in.say("must be 0 (the link of the record chain)"));
        if (b[3] & 128)
            in.fail(at + QStringLiteral(".bytes[3]"),
                    in.say("bit 7 must be clear (the link of the record chain)"));
        p.Records[i] = ProgramRecord{std::uint8_t(b[0]), std::uint8_t(b[1]), std::uint8_t(b[2]),
                                     std::uint8_t(b[3]), std::uint8_t(b[4]), std::uint8_t(b[5])};
        // The astro device keeps its sun times in the astro table; the loader drops such records.
        if (in.ok() && m.device.Uhrentyp == TypeAstro && m.IsAstroTime(p.Records[i]))
            in.fail(at + QStringLiteral(".bytes"),
                    in.say("an astro switching time is kept in the astro table, not as a record"));
    }
    p.UsedCount = int(records->size());
    m.recount(SetProgram);
}

void readAstro(FieldReader &in, const QJsonObject &json, Model &m, int version)
{
    const QJsonValue av = json.value(u"astro");
    if (av.isUndefined() || av.isNull())
        return;
    const auto astro = in.object(av, QStringLiteral("astro"));
    if (!astro ||
        !in.onlyKnown(*astro, QStringLiteral("astro."),
                      {"longitude", "latitude", "timeZone", "offset1", "offset2", "minute", "c1c2", "table"}))
        return;
    AstroData &a = m.astro;
    auto real = [&](const char *key, double min, double max, float fallback) {
        const QJsonValue v = astro->value(QLatin1String(key));
        if (v.isUndefined())
            return fallback;
        return float(
            in.number(v, QStringLiteral("astro.") + QLatin1String(key), min, max).value_or(fallback));
    };
    const float longitude = real("longitude", Ranges::Longitude.min, Ranges::Longitude.max, 0);
    a.Longitude = version >= 2 && longitude != 0 ? -longitude : longitude;
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

// A master card as its file holds it: the loader's own check decides what is accepted.
void readMasterCard(FieldReader &in, const QJsonObject &json, int type, ProgramJsonRead &out)
{
    if (!in.onlyKnown(
            json, {},
            {"format", "version", "deviceType", "masterCard", "image", "usageText", "channelNames"}))
        return;
    const auto image = in.array(json.value(u"image"), QStringLiteral("image"), ImageSize, ImageSize);
    if (!image)
        return;
    ProgramText card;
    for (int i = 0; i < ImageSize; ++i)
        card.values[i] =
            in.integer(image->at(i), QStringLiteral("image[%1]").arg(i), Ranges::Byte).value_or(0);
    card.texts[0] = in.text(json.value(u"usageText"), QStringLiteral("usageText"));
    const QJsonValue nv = json.value(u"channelNames");
    if (!nv.isUndefined()) {
        if (const auto names = in.array(nv, QStringLiteral("channelNames"), 0, 8)) {
            for (int i = 0; i < names->size(); ++i)
                card.texts[i + 1] = in.text(names->at(i), QStringLiteral("channelNames[%1]").arg(i));
        }
    }
    const QJsonValue mv = json.value(u"masterCard");
    if (in.ok() && !mv.isUndefined()) {
        const auto master = in.object(mv, QStringLiteral("masterCard"));
        if (master && in.onlyKnown(*master, QStringLiteral("masterCard."), {"deviceCode"}) &&
            master->contains(u"deviceCode"))
            in.integer(master->value(u"deviceCode"), QStringLiteral("masterCard.deviceCode"), card.values[1],
                       card.values[1]);
    }
    if (!in.ok())
        return;
    Model probe;
    SetUpDeviceType(probe, type);
    const LoadResult result = ApplyProgramText(probe, card, false, SetProgram);
    if (result != LoadResult::MasterCard)
        in.fail(QStringLiteral("image"),
                result == LoadResult::Loaded
                    ? in.say("holds a program, not a master card: give it as records")
                    : in.say("is no master card the program accepts"));
    else
        out.masterCard = card;
}

} // namespace

ProgramJsonRead ProgramFromJson(const QJsonObject &json, Model &model)
{
    FieldReader in;
    in.language = model.device.Sprache;
    ProgramJsonRead out;
    const QJsonValue format = json.value(u"format");
    if (!format.isUndefined() && format != QJsonValue(QStringLiteral("zentrix-program")))
        in.fail(QStringLiteral("format"), in.say("\"zentrix-program\" is required"));
    const int version =
        json.contains(u"version")
            ? in.integer(json.value(u"version"), QStringLiteral("version"), 1, ProgramJsonVersion)
                  .value_or(ProgramJsonVersion)
            : ProgramJsonVersion;
    const int type =
        in.integer(json.value(u"deviceType"), QStringLiteral("deviceType"), TypeAstro, TypeAnnual)
            .value_or(0);
    if (in.ok() && type != TypeAnnual && type != TypeAstro)
        in.fail(QStringLiteral("deviceType"), in.say("%1 is no device type (517, 236)").arg(type));
    if (in.ok() && (json.contains(u"image") || json.contains(u"masterCard"))) {
        readMasterCard(in, json, type, out);
        out.error = in.error;
        return out;
    }
    in.onlyKnown(json, {},
                 {"format", "version", "deviceType", "header", "device", "options", "programNumber",
                  "changeover", "records", "astro", "usageText", "channelNames"});
    const bool astro = type == TypeAstro;
    Model m = model;
    SetUpDeviceType(m, astro ? TypeAstro : TypeAnnual);
    m.program().clear();
    m.astro.clearTable();
    m.device.clearMeterPulse();

    readDevice(in, json, m, astro);
    readOptions(in, json, m);
    if (astro) {
        if (json.contains(u"programNumber") && !json.value(u"programNumber").isNull())
            in.fail(QStringLiteral("programNumber"), in.say("the astro device keeps no program number"));
    } else {
        const QJsonValue pn = json.value(u"programNumber");
        if (!pn.isUndefined() && !pn.isNull())
            m.program().ProgramNumber = in.integer(pn, QStringLiteral("programNumber"), Ranges::ProgramNumber)
                                            .value_or(NoProgramNumber);
    }
    readChangeover(in, json, m.program());
    readRecords(in, json, m);
    if (astro)
        readAstro(in, json, m, version);
    else if (json.contains(u"astro") && !json.value(u"astro").isNull())
        in.fail(QStringLiteral("astro"), in.say("only the astro device (236) has astro data"));

    m.program().UsageText = in.text(json.value(u"usageText"), QStringLiteral("usageText"));
    const QJsonValue nv = json.value(u"channelNames");
    if (!nv.isUndefined()) {
        if (const auto names = in.array(nv, QStringLiteral("channelNames"), 0, 8)) {
            for (int i = 0; i < names->size(); ++i)
                m.program().ChannelNames[i] =
                    in.text(names->at(i), QStringLiteral("channelNames[%1]").arg(i));
        }
    }
    out.error = in.error;
    if (out.ok())
        model = m;
    return out;
}

} // namespace zx
