#include "model/ProgramJson.h"

#include "model/Model.h"
#include "support/SamplePrograms.h"

#include <QJsonArray>
#include <QJsonObject>

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
        {"format:", [](QJsonObject &j) { j[u"format"] = QStringLiteral("other"); }},
        {"version:", [](QJsonObject &j) { j[u"version"] = 3; }},
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
}

} // namespace
} // namespace zx
