#include "model/ProgramJson.h"

#include "model/DeviceCodes.h"
#include "model/Model.h"
#include "support/SamplePrograms.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QRegularExpression>

#include <gtest/gtest.h>

#include <functional>

namespace zx {
namespace {

QJsonObject astroJson(int version, double longitude)
{
    QJsonObject json{{QStringLiteral("deviceType"), TypeAstro},
                     {QStringLiteral("records"), QJsonArray{}},
                     {QStringLiteral("astro"), QJsonObject{{QStringLiteral("longitude"), longitude}}}};
    if (version)
        json[u"version"] = version;
    return json;
}

TEST(ProgramJsonTest, LongitudeIsEastPositiveAndOldDocumentsKeepTheirSign)
{
    // The device keeps the longitude west positive: 7.5 east is -7.5 in the model.
    struct Case {
        int version;
        double given;
        float kept;
    };
    for (const Case c :
         {Case{2, 7.5, -7.5f}, Case{0, 7.5, -7.5f}, Case{1, -7.5, -7.5f}, Case{2, -13.5, 13.5f}}) {
        Model m;
        const ProgramJsonRead read = ProgramFromJson(astroJson(c.version, c.given), m);
        ASSERT_TRUE(read.ok()) << read.error.toStdString();
        EXPECT_EQ(m.astro.Longitude, c.kept) << "version " << c.version << " longitude " << c.given;
        EXPECT_EQ(ProgramToJson(m)[u"astro"][u"longitude"].toDouble(), -double(c.kept));
        EXPECT_EQ(ProgramToJson(m)[u"version"].toInt(), ProgramJsonVersion);
    }
}

TEST(ProgramJsonTest, RefusalsNameTheFieldAndLeaveTheModel)
{
    Model full;
    test::fillFullAnnual(full);
    const QJsonObject base = ProgramToJson(full);
    struct Case {
        const char *field;
        std::function<void(QJsonObject &)> spoil;
    };
    auto inDevice = [](const char *key, const QJsonValue &v) {
        return [key, v](QJsonObject &j) {
            QJsonObject d = j[u"device"].toObject();
            d[QLatin1String(key)] = v;
            j[u"device"] = d;
        };
    };
    const std::vector<Case> cases = {
        {"chanels: unknown field", [](QJsonObject &j) { j[u"chanels"] = 2; }},
        {"device.chanels: unknown field", inDevice("chanels", 2)},
        {"device.deviceCode: 200 marks a master card", inDevice("deviceCode", 200)},
        {"device.deviceCode: 99 is out of range", inDevice("deviceCode", 99)}, // no master card either
        {"format:", [](QJsonObject &j) { j[u"format"] = QStringLiteral("other"); }},
        {"version:", [](QJsonObject &j) { j[u"version"] = 3; }},
        // a program file's text line holds no comma and no line break
        {"usageText:", [](QJsonObject &j) { j[u"usageText"] = QStringLiteral("hall, east"); }},
        {"usageText:", [](QJsonObject &j) { j[u"usageText"] = QStringLiteral("hall\neast"); }},
        {"usageText:", [](QJsonObject &j) { j[u"usageText"] = QStringLiteral("hall\reast"); }},
        {"records[0].colour: unknown field",
         [](QJsonObject &j) {
             QJsonArray rs = j[u"records"].toArray();
             QJsonObject r = rs[0].toObject();
             r[u"colour"] = 1;
             rs[0] = r;
             j[u"records"] = rs;
         }},
    };
    for (const Case &c : cases) {
        QJsonObject json = base;
        c.spoil(json);
        Model m;
        m.program().UsageText = QStringLiteral("kept");
        const ProgramJsonRead read = ProgramFromJson(json, m);
        EXPECT_TRUE(read.error.startsWith(QLatin1String(c.field)))
            << c.field << " / " << read.error.toStdString();
        EXPECT_EQ(m.program().UsageText, QStringLiteral("kept"));
    }
}

// The astro device keeps its sun times in the astro table: a record marked as one is refused
// there, while on the annual device the mark means nothing.
TEST(ProgramJsonTest, AnAstroRecordIsRefusedOnTheAstroDeviceOnly)
{
    for (const int type : {TypeAstro, TypeAnnual}) {
        Model m;
        m.device.Uhrentyp = type;
        m.device.DeviceCode = type == TypeAstro ? DeviceCodeAstro : DeviceCodeAnnual;
        m.device.RecordCapacity = type == TypeAstro ? CapacityAstro : CapacityAnnual;
        m.appendRecord(SetProgram, test::weeklyTime(6, 0, 0x7F, 0x1 | 0x10, 1));
        Model back;
        const QString error = ProgramFromJson(ProgramToJson(m), back).error;
        EXPECT_EQ(error.startsWith(QLatin1String("records[0].bytes: an astro switching time")),
                  type == TypeAstro)
            << type << ' ' << error.toStdString();
    }
}

TEST(ProgramJsonTest, AMasterCardComesBackAsItsFileContent)
{
    ProgramText card;
    card.values.fill(255);
    card.values[1] = 200; // device code 72 with the master-card bit
    card.values[2] = 0;
    card.values[3] = 1;
    int sum = 0;
    for (int i = 1; i < ImageSize; ++i)
        sum += card.values[i];
    card.values[0] = (256 - sum % 256) % 256;
    card.texts[0] = QStringLiteral("Master");
    const QJsonObject json = MasterCardToJson(card, TypeAnnual);
    Model m;
    const ProgramJsonRead read = ProgramFromJson(json, m);
    ASSERT_TRUE(read.ok()) << read.error.toStdString();
    ASSERT_TRUE(read.masterCard.has_value());
    EXPECT_EQ(read.masterCard->values, card.values);
    EXPECT_EQ(read.masterCard->texts[0], QStringLiteral("Master"));

    // a changed value breaks the checksum, which the loader refuses
    QJsonObject spoilt = json;
    QJsonArray image = spoilt[u"image"].toArray();
    image[500] = 7;
    spoilt[u"image"] = image;
    EXPECT_TRUE(ProgramFromJson(spoilt, m).error.startsWith(QLatin1String("image:")));

    // The image alone is the card; a device code given beside it must be the image's.
    QJsonObject imageOnly = json;
    imageOnly.remove(u"masterCard");
    EXPECT_TRUE(ProgramFromJson(imageOnly, m).ok());
    imageOnly[u"masterCard"] = QJsonObject{};
    EXPECT_TRUE(ProgramFromJson(imageOnly, m).ok());
    QJsonObject otherCode = json;
    otherCode[u"masterCard"] = QJsonObject{{QStringLiteral("deviceCode"), 201}};
    EXPECT_TRUE(ProgramFromJson(otherCode, m).error.startsWith(QLatin1String("masterCard.deviceCode:")));
}

// Each field of a document is read within the range the device keeps: both ends are taken, one
// step beyond is refused naming the field, and so is a text or, for whole-number fields, a fraction.
struct RangeCase {
    const char *path; // as the refusal names it
    bool astro;
    double min, max;
    bool whole;
};

// Puts v at a dotted path with [n] indexes ("records[0].bytes[1]") into json.
void putAt(QJsonValueRef ref, QStringList steps, const QJsonValue &v)
{
    if (steps.isEmpty()) {
        ref = v;
        return;
    }
    const QString step = steps.takeFirst();
    if (step.startsWith(u'[')) {
        QJsonArray a = ref.toArray();
        putAt(a[step.mid(1, step.size() - 2).toInt()], steps, v);
        ref = a;
    } else {
        QJsonObject o = ref.toObject();
        putAt(o[step], steps, v);
        ref = o;
    }
}

QJsonObject withValue(QJsonObject json, const QString &path, const QJsonValue &v)
{
    QStringList steps;
    for (const QString &part : path.split(u'.')) {
        const qsizetype bracket = part.indexOf(u'[');
        steps << part.left(bracket);
        for (qsizetype i = bracket; i >= 0; i = part.indexOf(u'[', i + 1))
            steps << part.mid(i, part.indexOf(u']', i) - i + 1);
    }
    QJsonObject root{{QStringLiteral("doc"), json}};
    putAt(root[u"doc"], steps, v);
    return root[u"doc"].toObject();
}

// A document may leave the program number out or give it as null: the program has none.
TEST(ProgramJsonTest, AMissingOrNullProgramNumberMeansNone)
{
    Model full;
    test::fillFullAnnual(full);
    QJsonObject json = ProgramToJson(full);
    for (const QJsonValue &number : {QJsonValue(QJsonValue::Undefined), QJsonValue(QJsonValue::Null)}) {
        if (number.isUndefined())
            json.remove(QStringLiteral("programNumber"));
        else
            json.insert(QStringLiteral("programNumber"), number);
        Model m;
        EXPECT_EQ(ProgramFromJson(json, m).error, QString());
        EXPECT_EQ(m.program().ProgramNumber, NoProgramNumber);
    }
}

class FieldRanges : public ::testing::TestWithParam<RangeCase> {};

TEST_P(FieldRanges, BothEndsAreTakenOneStepBeyondIsRefused)
{
    const RangeCase &c = GetParam();
    Model full;
    if (c.astro)
        test::fillFullAstro(full);
    else
        test::fillFullAnnual(full);
    const QJsonObject base = ProgramToJson(full);
    const QString path = QString::fromLatin1(c.path);
    auto read = [&](const QJsonValue &v) {
        Model m;
        return ProgramFromJson(withValue(base, path, v), m).error;
    };
    EXPECT_EQ(read(c.min), QString());
    EXPECT_EQ(read(c.max), QString());
    const QString refused = path + QStringLiteral(": ");
    EXPECT_TRUE(read(c.min - 1).startsWith(refused + QStringLiteral("%1 is out of range").arg(c.min - 1)));
    EXPECT_TRUE(read(c.max + 1).startsWith(refused + QStringLiteral("%1 is out of range").arg(c.max + 1)));
    EXPECT_EQ(read(QStringLiteral("1")), refused + QStringLiteral("a number is required"));
    if (c.whole)
        EXPECT_TRUE(read(c.min + 0.5).endsWith(QStringLiteral("is not a whole number")));
    else
        EXPECT_EQ(read(c.min + 0.5), QString());
}

INSTANTIATE_TEST_SUITE_P(Fields, FieldRanges,
                         ::testing::Values(RangeCase{"version", false, 1, ProgramJsonVersion, true},
                                           RangeCase{"device.channels", false, 1, 8, true},
                                           RangeCase{"device.changeoverRule", false, 0, 15, true},
                                           RangeCase{"device.masterCardOptions", false, 0, 255, true},
                                           RangeCase{"device.writeProtect", false, 0, 1, true},
                                           RangeCase{"device.meterPulse.channel", false, 1, 4, true},
                                           RangeCase{"device.meterPulse.pulseLength", false, 0, 63, true},
                                           RangeCase{"device.meterPulse.timing", false, 0, 1, true},
                                           RangeCase{"options.nakOff", false, 0, 1, true},
                                           RangeCase{"programNumber", false, 0, 999999, true},
                                           RangeCase{"changeover.firstYear", false, 0, 254, true},
                                           RangeCase{"changeover.entries[0][0]", false, 0, 239, true},
                                           RangeCase{"changeover.entries[0][3]", false, 0, 255, true},
                                           RangeCase{"records[0].bytes[5]", false, 0, 255, true},
                                           RangeCase{"astro.latitude", true, -70, 70, false},
                                           RangeCase{"astro.timeZone", true, -720, 720, false},
                                           RangeCase{"astro.offset2", true, -120, 120, false},
                                           RangeCase{"astro.minute", true, 0, 59, true},
                                           RangeCase{"astro.table[365][1]", true, 0, 4095, true}),
                         [](const auto &info) {
                             QString name = QString::fromLatin1(info.param.path);
                             name.replace(QRegularExpression(QStringLiteral("[^A-Za-z0-9]")),
                                          QStringLiteral("_"));
                             return name.toStdString();
                         });

// The device type fixes the memory: a capacity it cannot hold is refused by name, never turned
// into another one.
TEST(ProgramJsonTest, RecordCapacityIsTheDeviceTypesOwn)
{
    for (const bool astro : {false, true}) {
        Model full;
        astro ? test::fillFullAstro(full) : test::fillFullAnnual(full);
        const QJsonObject base = ProgramToJson(full);
        const int own = astro ? CapacityAstro : CapacityAnnual;
        for (const QJsonValue v : {QJsonValue(100), QJsonValue(own - 1), QJsonValue(own + 1),
                                   QJsonValue(astro ? 324 : 120), QJsonValue(QStringLiteral("324"))}) {
            Model m;
            const QString error =
                ProgramFromJson(withValue(base, QStringLiteral("device.recordCapacity"), v), m).error;
            EXPECT_TRUE(
                error.startsWith(QStringLiteral("device.recordCapacity: device type %1 holds %2 records")
                                     .arg(astro ? TypeAstro : TypeAnnual)
                                     .arg(own)))
                << error.toStdString();
        }
        Model m;
        EXPECT_EQ(ProgramFromJson(withValue(base, QStringLiteral("device.recordCapacity"), own), m).error,
                  QString());
        EXPECT_EQ(m.device.RecordCapacity, own);
    }
}

// Lists hold the number of entries the device has room for, no more; fixed-size ones exactly that.
TEST(ProgramJsonTest, ListsOfTheWrongLengthAreRefused)
{
    Model annual, astro;
    test::fillFullAnnual(annual);
    test::fillFullAstro(astro);
    auto filled = [](int n, const QJsonValue &v) {
        QJsonArray a;
        for (int i = 0; i < n; ++i)
            a.append(v);
        return a;
    };
    const QJsonArray entry{3, 25, 10, 25};
    struct Case {
        const Model &model;
        const char *path;
        QJsonArray value;
        const char *refusal; // empty: taken
    };
    const std::vector<Case> cases = {
        {annual, "changeover.entries", filled(DstEntries, entry), ""},
        {annual, "changeover.entries", filled(DstEntries + 1, entry), "21 entries, at most 20 are allowed"},
        {annual, "changeover.entries[0]", filled(3, 1), "4 entries are required"},
        {annual, "changeover.entries[0]", filled(5, 1), "4 entries are required"},
        {annual, "records[0].bytes", filled(7, 0), "6 entries are required"},
        {astro, "astro.table", filled(AstroDays, QJsonArray{1, 2}), ""},
        {astro, "astro.table", filled(AstroDays - 1, QJsonArray{1, 2}), "366 entries are required"},
        {astro, "astro.table[0]", filled(1, 1), "2 entries are required"},
    };
    for (const Case &c : cases) {
        Model m;
        const QString error =
            ProgramFromJson(withValue(ProgramToJson(c.model), QString::fromLatin1(c.path), c.value), m).error;
        EXPECT_EQ(error, *c.refusal ? QStringLiteral("%1: %2").arg(c.path, c.refusal) : QString()) << c.path;
    }
}

// The one-line meaning of a record, as the dump lists it, for every kind of record.
TEST(ProgramJsonTest, EveryKindOfRecordIsDescribedInOneLine)
{
    Model m;
    m.device.Kanalzahl = 4;
    struct Case {
        ProgramRecord record;
        const char *kind, *text;
    };
    const std::vector<Case> cases = {
        {test::weeklyTime(6, 30, 0x1F, 0x5, 1), "weekly", "weekly 06:30 mo tu we th fr; channels 1,3; ON"},
        {test::datedTime(23, 5, 24, 12, 0x2, 0, 1), "dated", "dated 24.12. 23:05 once; channels 2; OFF"},
        {test::priorityTime(1, 8, 31, 8, 3, 0x1), "priority",
         "priority 01.08.-31.08. every year; program 3; channels 1"},
        {test::easterPriority(-2, 2, 0x8), "priority", "priority Easter -2; program 2; channels 4"},
        {ProgramRecord{230, 0, 0, 0, 0, 0}, "other", "no user record"},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(RecordKindName(m, c.record).toStdString(), c.kind) << c.text;
        EXPECT_EQ(DescribeRecord(m, c.record).toStdString(), c.text) << c.kind;
    }
    // Only channels the device has are named.
    m.device.Kanalzahl = 2;
    EXPECT_EQ(DescribeRecord(m, test::weeklyTime(6, 30, 0x1F, 0x7, 1)).toStdString(),
              "weekly 06:30 mo tu we th fr; channels 1,2; ON");
    // The astro mark means something on the astro device only.
    const ProgramRecord sun = test::weeklyTime(0, 0, 0x7F, 0x1 | 0x10, 1);
    EXPECT_FALSE(DescribeRecord(m, sun).endsWith(QLatin1String("; astro")));
    m.device.Uhrentyp = TypeAstro;
    EXPECT_TRUE(DescribeRecord(m, sun).endsWith(QLatin1String("; astro")));
}

} // namespace
} // namespace zx
