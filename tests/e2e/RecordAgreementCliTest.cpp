// `dump --json` and `build` take the same values, and `list` and `dump` read records alike.
#include "model/Model.h"
#include "model/ProgramFile.h"
#include "support/CliRunner.h"
#include "support/SamplePrograms.h"
#include "support/TempDir.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <functional>

#include <gtest/gtest.h>

using zx::test::Rec;

using zx::test::TempDir;

using zx::test::CliRun;
using zx::test::RunCli;

namespace zx {
namespace {

// Writes a program file as the device image of `model` would be, without SaveProgram's rules.
void writeImage(const Model &model, const QString &path)
{
    const MemoryImage image = BuildImage(model, QDateTime(QDate(2030, 5, 6), QTime(7, 8)));
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(FormatProgramText(image, QStringLiteral("odd"), {}));
}

Model annual(std::function<void(Model &)> change)
{
    Model m;
    m.device.Uhrentyp = TypeAnnual;
    m.device.RecordCapacity = CapacityAnnual;
    m.device.DeviceCode = 72;
    m.device.Kanalzahl = 4;
    ProgramSet &p = m.program();
    p.Records[0] = Rec(152, 96, 31, 1, 1);
    p.UsedCount = 1;
    change(m);
    m.recount(SetProgram);
    return m;
}

struct Variant {
    const char *what;
    std::function<void(Model &)> change;
};

class Rebuild : public ::testing::TestWithParam<Variant> {};

TEST_P(Rebuild, EveryLoadableFileIsBuiltBackFromItsJson)
{
    TempDir dir;
    const QString original = dir.file(QStringLiteral("a.zxp"));
    writeImage(annual(GetParam().change), original);
    ASSERT_EQ(RunCli({QStringLiteral("check"), original}).exitCode, 0) << "the file loads";
    const CliRun dump = RunCli({QStringLiteral("dump"), original, QStringLiteral("--json")});
    ASSERT_EQ(dump.exitCode, 0);
    dir.write(QStringLiteral("a.json"), dump.out);
    const QString rebuilt = dir.file(QStringLiteral("b.zxp"));
    ASSERT_EQ(RunCli({QStringLiteral("build"), dir.file(QStringLiteral("a.json")), rebuilt}).exitCode, 0);
    const CliRun again = RunCli({QStringLiteral("dump"), rebuilt, QStringLiteral("--json")});
    QJsonObject first = QJsonDocument::fromJson(dump.out).object();
    QJsonObject second = QJsonDocument::fromJson(again.out).object();
    first.remove(QStringLiteral("header"));
    second.remove(QStringLiteral("header"));
    EXPECT_EQ(first, second);
}

INSTANTIATE_TEST_SUITE_P(
    Files, Rebuild,
    ::testing::Values(Variant{"changeover rule bits 15", [](Model &m) { m.device.SwRegel = 15; }},
                      Variant{"meter period the dialog does not offer, pulse length 0",
                              [](Model &m) {
                                  m.device.MessKanal = 4;
                                  m.device.MessPeriode = 7;
                                  m.device.MessImpDauer = 0;
                              }},
                      Variant{"meter pulse length 63",
                              [](Model &m) {
                                  m.device.MessKanal = 1;
                                  m.device.MessPeriode = 60;
                                  m.device.MessImpDauer = 63;
                              }},
                      Variant{"bus records with odd channels",
                              [](Model &m) {
                                  m.device.BusDevice = 1;
                                  m.program().Records[1] = Rec(106, 18, 1, 77, 5 * 16 + 15);
                                  m.program().Records[2] = Rec(96, 80 + 8, 0, 255, 48 + 9);
                                  m.program().UsedCount = 3;
                              }}),
    [](const auto &info) { return std::to_string(info.index); });

TEST(ListAndDump, ReadBusAndEasterRecordsAlike)
{
    TempDir dir;
    const QString file = dir.file(QStringLiteral("bus.zxp"));
    writeImage(annual([](Model &m) {
                   m.device.BusDevice = 1;
                   m.program().Records[0] = Rec(106, 18, 1, 77, 5 * 16 + 15); // channel nibble 15
                   m.program().Records[1] = Rec(96, 80 + 2, 0, 255, 48 + 9);  // Easter, channel 255
                   m.program().UsedCount = 2;
               }),
               file);
    const CliRun list =
        RunCli({QStringLiteral("list"), file, QStringLiteral("--view"), QStringLiteral("priority")});
    const CliRun dump = RunCli({QStringLiteral("dump"), file});
    ASSERT_EQ(list.exitCode, 0);
    ASSERT_EQ(dump.exitCode, 0);
    // the list shows the channel as " C16" / " C255"; the dump as "channel 16" / "channel 255"
    for (const char *channel : {"16", "255"}) {
        EXPECT_TRUE(list.out.contains(QByteArray("\t C") + channel + "\t")) << channel << "\n"
                                                                            << list.out.constData();
        EXPECT_TRUE(dump.out.contains(QByteArray("channel ") + channel)) << channel;
    }
}

} // namespace
} // namespace zx
