// The bus operations against devsim's simulated coupling unit and time switches on a real
// pseudo-terminal, through the FT1.2 library and the serial port the product uses.
#include "TransferFixtures.h"

#include "bus/BusSession.h"
#include "bus/Ft12BusLibrary.h"
#include "calendar/Changeover.h"
#include "model/ListOrder.h"
#include "platform/EventPump.h"
#include "platform/QtSerialPort.h"
#include "support/CliRunner.h"
#include "support/TempDir.h"

namespace zx::test {
namespace {

class BusE2E : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { ensureApplication(); }
    void SetUp() override
    {
        ASSERT_TRUE(QFile::copy(QStringLiteral(ZX_SOURCE_DATA "/remote.s19"),
                                dir.file(QStringLiteral("remote.s19"))));
    }

    QStringList simArgs(QStringList more) const
    {
        return QStringList{QStringLiteral("bus"), QStringLiteral("--no-pace"), QStringLiteral("--dump"),
                           dir.file(QStringLiteral("device.txt"))} +
               more;
    }
    void fillBusProgram()
    {
        model.device.BusDevice = 1;
        model.device.Kanalzahl = 4;
        for (int i = 0; i < 12; ++i)
            model.appendRecord(SetProgram, weeklyTime(5 + i, 15, 0x7F >> (i % 3), 10 * i, i % 2));
        model.appendRecord(SetProgram, datedTime(12, 0, 24, 12, 255));
        ProgramSet &p = model.program();
        p.DstFirstYear = EncodeDstFirstYear(2026, 1); // twice the year
        p.DstCount = 2;
        p.DstTable[0] = EncodeChangeoverEntry({{29, 3, 2, 1}, {15, 5, 3, 1}});
        p.DstTable[1] = EncodeChangeoverEntry({{15, 7, 2, 1}, {25, 10, 3, 1}});
        SortRecords(model, DisplayOrder, SetProgram);
    }
    BusResult run(const QString &pty, BusCommand command)
    {
        Ft12BusLibrary library(port, pump, [&](int) { return pty; });
        BusEnvironment env{library, pump, clock, model, prompter, dir.path(), BusTimings::fast()};
        return RunBusCommand(env, command, 0, 0x1105);
    }
    QString protocol() const { return QString::fromUtf8(dir.read(QStringLiteral("protocol.txt"))); }
    QByteArray device() const { return dir.read(QStringLiteral("device.txt")); }

    TempDir dir;
    Model model;
    ScriptedPrompter prompter;
    FixedClock clock{QDateTime(QDate(2026, 3, 2), QTime(9, 0))};
    SleepingEventPump pump;
    QtSerialPort port;
};

TEST_F(BusE2E, SearchFindsTheTimeSwitchesOfTheLine)
{
    DevSim sim(simArgs({"--device", "1.1.5", "--device", "1.1.7", "--device", "1.2.6"}));
    ASSERT_FALSE(sim.path().isEmpty());
    Ft12BusLibrary library(port, pump, [&](int) { return sim.path(); });
    BusEnvironment env{library, pump, clock, model, prompter, dir.path(), BusTimings::fast()};
    QStringList checked;
    const BusSearchResult r = SearchBusDevices(env, 0, 1, 1, 4, 8, [&](const QString &t) { checked << t; });
    EXPECT_TRUE(r.ok()) << r.message.toStdString();
    EXPECT_EQ(r.found, (QStringList{"1.1.5", "1.1.7"}));
    EXPECT_EQ(checked.size(), 5);
    EXPECT_EQ(checked.first(), QStringLiteral("checking device 1.1.4"));
}

TEST_F(BusE2E, AProgramWrittenAndReadBackIsTheSameAndTheDeviceKeepsItsApplication)
{
    DevSim sim(simArgs({}));
    ASSERT_FALSE(sim.path().isEmpty());
    const QByteArray before = device();
    ASSERT_FALSE(before.isEmpty());
    fillBusProgram();
    const ProgramSet written = model.program();

    BusResult r = run(sim.path(), BusCommand::Program);
    ASSERT_TRUE(r.ok()) << r.message.toStdString() << protocol().toStdString();
    EXPECT_EQ(device(), before);

    model.program().clear();
    model.recount(SetProgram);
    r = run(sim.path(), BusCommand::Read);
    ASSERT_TRUE(r.ok()) << r.message.toStdString();
    SortRecords(model, DisplayOrder, SetProgram);
    const ProgramSet &read = model.program();
    ASSERT_EQ(read.UsedCount, written.UsedCount);
    for (int i = 0; i < read.UsedCount; ++i)
        EXPECT_EQ(read.Records[i], written.Records[i]) << i;
    EXPECT_EQ(read.DstCount, 2);
    EXPECT_EQ(read.DstFirstYear, written.DstFirstYear);
    EXPECT_EQ(read.DstTable, written.DstTable);
    EXPECT_EQ(device(), before);
    EXPECT_TRUE(protocol().contains(QStringLiteral("read switching programm ")));
}

TEST_F(BusE2E, ReinstallRestoresADeviceLeftWithTheProgrammingApplication)
{
    DevSim sim(simArgs({"--fault", "busy"}));
    ASSERT_FALSE(sim.path().isEmpty());
    const QByteArray before = device();
    fillBusProgram();
    BusResult r = run(sim.path(), BusCommand::Program);
    ASSERT_EQ(r.code, 101);
    EXPECT_NE(device(), before);
    ASSERT_TRUE(dir.exists(QStringLiteral("appl.old")));

    r = run(sim.path(), BusCommand::Reinstall);
    ASSERT_TRUE(r.ok()) << r.message.toStdString();
    EXPECT_EQ(device(), before);
}

// zentrix-cli with the device's own timings: a search of one address and a silent coupler.
TEST_F(BusE2E, CliSearchesAndReportsWithTheCataloguesMessage)
{
    DevSim sim(simArgs({"--device", "1.1.9"}));
    ASSERT_FALSE(sim.path().isEmpty());
    CliOptions inDir;
    inDir.workingDirectory = dir.path();
    inDir.deadlineMs = 30000;
    CliRun r = RunCli(
        {"bus", "search", "--port", sim.path(), "--area", "1", "--line", "1", "--from", "9", "--to", "9"},
        inDir);
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, QByteArray("1.1.9\n"));
    EXPECT_TRUE(dir.read(QStringLiteral("protocol.txt")).contains("checking device 1.1.9"));

    DevSim silent(simArgs({"--fault", "no-bcu"}));
    // it reports as the serial commands do: the one error line naming the way to the bus, in the
    // language asked for, the steps silenced by --quiet, nothing on standard output
    const QByteArray line = "zentrix-cli: " + silent.path().toUtf8() + ": ";
    const struct {
        QStringList extra;
        QByteArray last; // the last line of standard error
        bool steps;      // progress lines besides the error lines
    } reports[] = {
        {{}, line + "not successful\n", true},
        {{"--lang", "de"}, line + "nicht erfolgreich\n", true},
        {{"--quiet"}, line + "not successful\n", false},
    };
    for (const auto &report : reports) {
        r = RunCli(QStringList{"bus", "reinstall", "--port", silent.path(), "--address", "1.1.5"} +
                       report.extra,
                   inDir);
        EXPECT_EQ(r.exitCode, 1);
        const QByteArray err = r.err;
        EXPECT_TRUE(r.out.isEmpty());
        EXPECT_TRUE(err.endsWith(report.last)) << err.toStdString();
        EXPECT_TRUE(err.contains(line + "no bus access via " + silent.path().toUtf8()) ||
                    !report.extra.isEmpty())
            << err.toStdString();
        bool steps = false;
        for (const QByteArray &l : err.trimmed().split('\n'))
            steps = steps || !l.startsWith("zentrix-cli: ");
        EXPECT_EQ(steps, report.steps) << err.toStdString();
    }

    r = RunCli({"bus", "read", "out.zxp", "--port", silent.path(), "--address", "1.13.5"}, inDir);
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.contains("no valid physical Adress"));
    EXPECT_FALSE(dir.exists(QStringLiteral("out.zxp")));

    EXPECT_EQ(RunCli({"bus", "program", "--port", silent.path()}, inDir).exitCode, 2);
}

struct BusFaultCase {
    const char *fault;
    const char *count;
    int code;
    const char *message;
    const char *step; // a protocol line that names the failing step
};

class BusFaultE2E : public BusE2E, public ::testing::WithParamInterface<BusFaultCase> {};

TEST_P(BusFaultE2E, EndsWithItsMessageAndAProtocolOfTheStep)
{
    const BusFaultCase c = GetParam();
    DevSim sim(simArgs({"--fault", c.fault, "--fault-count", c.count}));
    ASSERT_FALSE(sim.path().isEmpty());
    fillBusProgram();
    const BusResult r = run(sim.path(), BusCommand::Program);
    EXPECT_EQ(r.code, c.code) << protocol().toStdString();
    EXPECT_EQ(r.message, QString::fromUtf8(c.message));
    EXPECT_TRUE(protocol().contains(QString::fromUtf8(c.step))) << protocol().toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    FaultSwitches, BusFaultE2E,
    ::testing::Values(
        BusFaultCase{"no-bcu", "0", 107, "no bus access via COM 1",
                     " *** Error while : read adresstable lenth"},
        BusFaultCase{"no-device", "0", 109, "no mask response received", "waiting for mask version "},
        BusFaultCase{
            "busy", "0", 101,
            " *** time switch busy  For details see file: 'protocol.txt'\nThe time switch still holds "
            "the programming application: choose \"Reinstall\" to give it back its own application.",
            "write s/w change over"},
        BusFaultCase{"wrong-mask", "0", 110, "wrong mask version", "wrong mask version 0 10"},
        BusFaultCase{"wrong-ident", "0", 113, "wrong device typ", "wrong device typ 0 0 0"},
        BusFaultCase{"no-write", "0", 112, "memory was not written", "memory was not written 256:"},
        BusFaultCase{"lost-ack", "0", 107, "no bus access via COM 1",
                     " *** Timeout while: send telegramm 107"},
        BusFaultCase{"bad-checksum", "0", 105,
                     "no connection to the EIB  For details see file: 'protocol.txt'",
                     " *** Timeout while: waiting for confirm 105"},
        // Once only: the link's repetitions and the mailbox's retries carry the operation through.
        BusFaultCase{"lost-ack", "1", 0, "", "install application : appl.old"},
        BusFaultCase{"bad-checksum", "1", 0, "", "install application : appl.old"},
        BusFaultCase{"busy", "2", 0, "", " *** time switch busy "}),
    [](const auto &info) {
        std::string name = std::string(info.param.fault) + "_" + info.param.count;
        std::replace(name.begin(), name.end(), '-', '_');
        return name;
    });

} // namespace
} // namespace zx::test
