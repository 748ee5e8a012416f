// zentrix-cli dump, build and check, run as a user would run them.
#include "support/CliRunner.h"
#include "support/TempDir.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>

#include <cerrno>
#include <cstring>
#include <functional>
#include <sys/stat.h>

#include <gtest/gtest.h>

using zx::test::TempDir;

namespace {

using zx::test::CliRun;

CliRun cli(const QStringList &args)
{
    return zx::test::RunCli(args);
}

QString data(const char *name)
{
    return QStringLiteral(ZX_TEST_DATA "/") + QLatin1String(name);
}

QByteArray readFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// The lines of a program file without header lines 0 and 4..7 (checksum, moment of saving).
QList<QByteArray> withoutStamp(const QByteArray &text)
{
    QList<QByteArray> lines = text.split('\n');
    for (int i : {0, 4, 5, 6, 7})
        if (i < lines.size())
            lines[i].clear();
    return lines;
}

class CliTest : public ::testing::Test {
  protected:
    TempDir dir;

    QJsonObject dumpJson(const char *fixture)
    {
        const CliRun r = cli({QStringLiteral("dump"), data(fixture), QStringLiteral("--json")});
        EXPECT_EQ(r.exitCode, 0) << r.err.constData();
        return QJsonDocument::fromJson(r.out).object();
    }
    CliRun build(const QJsonObject &json, const QString &out = QStringLiteral("out.zxp"))
    {
        dir.write(QStringLiteral("in.json"), QJsonDocument(json).toJson());
        return cli({QStringLiteral("build"), dir.file(QStringLiteral("in.json")), dir.file(out),
                    QStringLiteral("--force")});
    }
};

} // namespace

TEST_F(CliTest, DumpListsHeaderDeviceTablesRecordsAndTexts)
{
    const CliRun r = cli({QStringLiteral("dump"), data("full517.zxp")});
    ASSERT_EQ(r.exitCode, 0) << r.err.constData();
    const QString out = QString::fromUtf8(r.out);
    for (const char *expected :
         {"Device type: 517", "Header bytes 0..7: ", "Device code: 73", "Channels: 4", "Changeover rule: 4",
          "Program number: 123456", "Meter pulse: channel 2, period 15 min, pulse length 10",
          "Changeover table: first year 1998 (stored 66), 4 entries", "Records: 324",
          "Usage text: Schule Nord – Turnhalle; Büro (€)", "Channel 4 name: Außenlicht",
          "priority Easter +"}) {
        EXPECT_TRUE(out.contains(QString::fromUtf8(expected))) << expected;
    }
    // every record with its six bytes and its meaning
    EXPECT_EQ(out.count(QRegularExpression(QStringLiteral("^ +\\d+: +(\\d+ +){6}\\S"),
                                           QRegularExpression::MultilineOption)),
              324);
    EXPECT_TRUE(r.err.isEmpty());
}

TEST_F(CliTest, DumpDetectsTheAstroDeviceAndShowsItsLocation)
{
    const CliRun r = cli({QStringLiteral("dump"), data("full236.zxp")});
    ASSERT_EQ(r.exitCode, 0) << r.err.constData();
    const QString out = QString::fromUtf8(r.out);
    EXPECT_TRUE(out.contains(QStringLiteral("Device type: 236")));
    EXPECT_TRUE(out.contains(QStringLiteral(
        "longitude 13.5 (east positive), latitude 52.5, time zone -75 min, offsets -15 / 20 min")));
    EXPECT_TRUE(out.contains(QStringLiteral("Astro table: present")));
    EXPECT_TRUE(out.contains(QStringLiteral("Records: 120")));
}

TEST_F(CliTest, DumpJsonHoldsEverything)
{
    const QJsonObject json = dumpJson("full236.zxp");
    EXPECT_EQ(json[u"format"].toString(), QStringLiteral("zentrix-program"));
    EXPECT_EQ(json[u"deviceType"].toInt(), 236);
    EXPECT_EQ(json[u"header"].toArray().size(), 8);
    EXPECT_EQ(json[u"device"][u"channels"].toInt(), 2);
    EXPECT_EQ(json[u"device"][u"writeProtect"].toInt(), 1);
    EXPECT_EQ(json[u"records"].toArray().size(), 120);
    const QJsonObject first = json[u"records"].toArray()[0].toObject();
    EXPECT_EQ(first[u"bytes"].toArray().size(), 6);
    EXPECT_FALSE(first[u"kind"].toString().isEmpty());
    EXPECT_FALSE(first[u"text"].toString().isEmpty());
    EXPECT_EQ(json[u"astro"][u"table"].toArray().size(), 366);
    EXPECT_EQ(json[u"astro"][u"table"].toArray()[59].toArray()[0].toInt(), 1791);
    EXPECT_EQ(json[u"changeover"][u"entries"].toArray().size(), 4);
    EXPECT_EQ(json[u"channelNames"].toArray()[2].toString(), QStringLiteral("Lüftung"));
    EXPECT_FALSE(json.contains(u"programNumber"));
}

TEST_F(CliTest, InvalidOrMissingFileGivesTheCatalogueMessage)
{
    CliRun r = cli({QStringLiteral("dump"), data("broken-checksum.zxp")});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.out.isEmpty());
    EXPECT_TRUE(r.err.contains("Illegal File !")) << r.err.constData();
    r = cli({QStringLiteral("dump"), dir.file(QStringLiteral("none.zxp")), QStringLiteral("--json")});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.contains("No such file !"));
    r = cli({QStringLiteral("dump"), data("full517.zxp"), QStringLiteral("--type"), QStringLiteral("236")});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.contains("File for ") && r.err.contains("(--type 517)")) << r.err.constData();
    // a master card holds options, not a program: dump shows what it holds
    r = cli({QStringLiteral("dump"), data("master517.zxp")});
    EXPECT_EQ(r.exitCode, 0) << r.err.constData();
    EXPECT_TRUE(r.out.contains("Master card: device code 2")) << r.out.constData();
}

TEST_F(CliTest, BadUsageExitsWithTwo)
{
    EXPECT_EQ(cli({QStringLiteral("dump")}).exitCode, 2);
    EXPECT_EQ(
        cli({QStringLiteral("dump"), data("full517.zxp"), QStringLiteral("--type"), QStringLiteral("999")})
            .exitCode,
        2);
    EXPECT_EQ(cli({QStringLiteral("build"), QStringLiteral("only-one")}).exitCode, 2);
    EXPECT_EQ(cli({QStringLiteral("check")}).exitCode, 2);
}

TEST_F(CliTest, BuildFromDumpReproducesTheFile)
{
    for (const char *fixture : {"full517.zxp", "full236.zxp"}) {
        const CliRun r = build(dumpJson(fixture));
        ASSERT_EQ(r.exitCode, 0) << fixture << ": " << r.err.constData();
        const auto expected = withoutStamp(readFile(data(fixture)));
        const auto got = withoutStamp(dir.read(QStringLiteral("out.zxp")));
        ASSERT_EQ(got.size(), expected.size()) << fixture;
        for (int i = 0; i < expected.size(); ++i)
            EXPECT_EQ(got[i], expected[i]) << fixture << " line " << i;
        EXPECT_EQ(cli({QStringLiteral("check"), dir.file(QStringLiteral("out.zxp"))}).exitCode, 0);
    }
}

TEST_F(CliTest, BuildAMinimalProgram)
{
    const QJsonObject json{
        {"deviceType", 517},
        {"device", QJsonObject{{"channels", 2}, {"changeoverRule", 1}}},
        {"programNumber", 7},
        {"records", QJsonArray{QJsonObject{{"bytes", QJsonArray{152, 96, 0, 31, 1, 1}}}}},
        {"usageText", "Hall"},
        {"channelNames", QJsonArray{"Light"}},
    };
    const CliRun r = build(json);
    ASSERT_EQ(r.exitCode, 0) << r.err.constData();
    const QList<QByteArray> lines = dir.read(QStringLiteral("out.zxp")).split('\n');
    EXPECT_EQ(lines[1], " 72 \r");
    EXPECT_EQ(lines[2], " 17 \r");   // 2 channels - 1 + 16 x rule 1
    EXPECT_EQ(lines[15], " 112 \r"); // program number 7
    EXPECT_EQ(lines[42], " 137  6  0  241  16  16 \r");
    EXPECT_EQ(lines[366], "Hall\r");
    EXPECT_EQ(lines[367], "Light\r");
}

TEST_F(CliTest, BuildRefusesOutOfRangeValuesNamingTheField)
{
    const QJsonObject base = dumpJson("full517.zxp");
    struct Case {
        const char *field;
        std::function<void(QJsonObject &)> spoil;
    };
    const std::vector<Case> cases = {
        {"device.channels",
         [](QJsonObject &j) {
             QJsonObject d = j[u"device"].toObject();
             d[u"channels"] = 9;
             j[u"device"] = d;
         }},
        {"deviceType", [](QJsonObject &j) { j[u"deviceType"] = 300; }},
        {"programNumber", [](QJsonObject &j) { j[u"programNumber"] = 1000000; }},
        {"records[0].bytes[0]",
         [](QJsonObject &j) {
             QJsonArray rs = j[u"records"].toArray();
             QJsonObject r0 = rs[0].toObject();
             r0[u"bytes"] = QJsonArray{90, 0, 0, 1, 1, 1};
             rs[0] = r0;
             j[u"records"] = rs;
         }},
        {"records[1].bytes[2]",
         [](QJsonObject &j) {
             QJsonArray rs = j[u"records"].toArray();
             QJsonObject r1 = rs[1].toObject();
             QJsonArray b = r1[u"bytes"].toArray();
             b[2] = 5;
             r1[u"bytes"] = b;
             rs[1] = r1;
             j[u"records"] = rs;
         }},
        {"records",
         [](QJsonObject &j) {
             QJsonArray rs = j[u"records"].toArray();
             rs.append(rs[0]);
             j[u"records"] = rs;
         }},
        {"usageText", [](QJsonObject &j) { j[u"usageText"] = QStringLiteral("a, b"); }},
        {"device.meterPulse.period",
         [](QJsonObject &j) {
             QJsonObject d = j[u"device"].toObject();
             QJsonObject m = d[u"meterPulse"].toObject();
             m[u"period"] = 61;
             d[u"meterPulse"] = m;
             j[u"device"] = d;
         }},
        {"changeover.entries[0][1]",
         [](QJsonObject &j) {
             QJsonObject c = j[u"changeover"].toObject();
             QJsonArray e = c[u"entries"].toArray();
             e[0] = QJsonArray{27, 256, 2, 25};
             c[u"entries"] = e;
             j[u"changeover"] = c;
         }},
        {"options.radioSync",
         [](QJsonObject &j) {
             QJsonObject o = j[u"options"].toObject();
             o[u"radioSync"] = 0.5;
             j[u"options"] = o;
         }},
    };
    for (const auto &c : cases) {
        QJsonObject json = base;
        c.spoil(json);
        const CliRun r = build(json, QStringLiteral("refused.zxp"));
        EXPECT_EQ(r.exitCode, 1) << c.field;
        EXPECT_TRUE(r.err.contains(QByteArray(c.field) + ":")) << c.field << " / " << r.err.constData();
        EXPECT_FALSE(dir.exists(QStringLiteral("refused.zxp"))) << c.field;
    }
}

TEST_F(CliTest, BuildRuleFourWithoutTableShowsTheCatalogueMessage)
{
    const QJsonObject json{{"deviceType", 517},
                           {"device", QJsonObject{{"changeoverRule", 4}}},
                           {"records", QJsonArray{QJsonObject{{"bytes", QJsonArray{152, 96, 0, 31, 1, 1}}}}}};
    const CliRun r = build(json);
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.contains("Select an other changeover rule or enter a changeover table !"))
        << r.err.constData();
    EXPECT_FALSE(dir.exists(QStringLiteral("out.zxp")));
}

TEST_F(CliTest, BuildIntoAnImpossiblePathFailsWithTheSystemText)
{
    dir.write(QStringLiteral("file"), "x");
    dir.write(QStringLiteral("in.json"),
              R"({"deviceType": 517, "records": [{"bytes": [152, 96, 0, 31, 1, 1]}]})");
    const CliRun r = cli({QStringLiteral("build"), dir.file(QStringLiteral("in.json")),
                          dir.file(QStringLiteral("file/out.zxp"))});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.contains("file/out.zxp")) << r.err.constData();
}

TEST_F(CliTest, CheckReportsEveryFileAndFailsWhenOneIsInvalid)
{
    CliRun r = cli(
        {QStringLiteral("check"), data("full517.zxp"), data("full236.zxp"), data("small517-lf-cp1252.zxp")});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out.count('\n'), 3);
    EXPECT_TRUE(r.out.contains("full236.zxp: valid, device type 236, 120 records"));
    // records the device cannot run as stored are named as warnings
    EXPECT_TRUE(r.err.contains("full236.zxp: warning: record 2 (133 0 0 119 3 0): Channel 1 and channel 2"))
        << qPrintable(r.err);

    r = cli({QStringLiteral("check"), data("full517.zxp"), data("broken-loop.zxp"),
             data("broken-truncated.zxp"), dir.file(QStringLiteral("missing.zxp"))});
    EXPECT_EQ(r.exitCode, 1);
    const QList<QByteArray> lines = r.out.trimmed().split('\n');
    ASSERT_EQ(lines.size(), 4);
    EXPECT_TRUE(lines[0].endsWith("valid, device type 517, 324 records (260 switching, 64 priority)"))
        << lines[0].constData();
    EXPECT_TRUE(lines[1].contains("broken-loop.zxp: Illegal File ! The record chain runs in a loop"));
    EXPECT_TRUE(lines[2].contains("broken-truncated.zxp: Illegal File ! The file ends at line "));
    EXPECT_TRUE(lines[3].endsWith("missing.zxp: No such file !"));
}

TEST_F(CliTest, CheckRefusesAFifoAtOnceAndNamesWhyAPathCannotBeRead)
{
    const QString fifo = dir.file(QStringLiteral("pipe"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    QDir(dir.path()).mkdir(QStringLiteral("folder.zxp"));
    const CliRun r = cli({QStringLiteral("check"), fifo, dir.file(QStringLiteral("folder.zxp"))});
    EXPECT_EQ(r.exitCode, 1) << "a FIFO without writer must not block";
    const QList<QByteArray> lines = r.out.trimmed().split('\n');
    ASSERT_EQ(lines.size(), 2);
    EXPECT_TRUE(lines[0].endsWith("pipe: Not a regular file")) << lines[0].constData();
    EXPECT_TRUE(lines[1].endsWith("folder.zxp: " + QByteArray(std::strerror(EISDIR))))
        << lines[1].constData();
    EXPECT_TRUE(r.err.isEmpty()) << r.err.constData();
}
