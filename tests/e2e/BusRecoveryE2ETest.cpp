// Bus transfers that break off in the middle, against devsim's coupling unit on a pseudo-terminal:
// each ends within the link's own time-out, and the device is left as the user expects.
#include "TransferFixtures.h"

#include "bus/BusLink.h"
#include "bus/BusOperations.h"
#include "bus/BusSession.h"
#include "bus/Ft12BusLibrary.h"
#include "calendar/Changeover.h"
#include "entry/SwitchingEntry.h"
#include "model/ListOrder.h"
#include "platform/EventPump.h"
#include "platform/QtSerialPort.h"
#include "support/CliRunner.h"
#include "support/TempDir.h"

#include <csignal>

namespace zx::test {
namespace {

// devsim bus: it can be healed (SIGUSR1), made to strike (SIGUSR2) or killed.
class BusSim : public DevSim {
  public:
    explicit BusSim(const QStringList &args) : DevSim(QStringList{QStringLiteral("bus")} + args) {}
};

// Calls back once when an operation reaches a step.
class AtStep final : public BusProgress {
  public:
    AtStep(QString step, std::function<void()> action) : step_(std::move(step)), action_(std::move(action)) {}
    void setStep(const QString &text) override
    {
        if (action_ && text == step_)
            std::exchange(action_, nullptr)();
    }
    void setGauge(int, int) override {}

  private:
    QString step_;
    std::function<void()> action_;
};

class BusRecoveryE2E : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { ensureApplication(); }
    void SetUp() override
    {
        ZX_SKIP_WITHOUT_PSEUDO_TERMINAL();
        ASSERT_TRUE(QFile::copy(QStringLiteral(ZX_SOURCE_DATA "/remote.s19"),
                                dir.file(QStringLiteral("remote.s19"))));
        model.device.BusDevice = 1;
        model.device.Kanalzahl = 4;
        for (int i = 0; i < 40; ++i)
            model.appendRecord(SetProgram, busTime(i % 24, i % 60, 1 + i % 4));
        SortRecords(model, DisplayOrder, SetProgram);
    }
    static ProgramRecord busTime(int hour, int minute, int channel)
    {
        SwitchingEntryValues e;
        e.hour = hour;
        e.minute = minute;
        e.weekdayMask = AllWeekdays;
        e.kind = EntryKind::Weekly;
        e.busChannel = channel;
        e.value = 100 + channel;
        return EncodeSwitchingTime(e, 1);
    }
    QStringList simArgs(const QStringList &more) const
    {
        return QStringList{"--no-pace",
                           "--device",
                           "1.1.5",
                           "--device",
                           "1.1.7",
                           "--dump",
                           dir.file(QStringLiteral("device.txt"))} +
               more;
    }
    // The link's own time-outs as the device has them; the waits of the time switch shrunk.
    static BusTimings linkTimings()
    {
        BusTimings t = BusTimings::fast();
        const BusTimings device;
        t.localTimeoutMs = device.localTimeoutMs;
        t.remoteTimeoutMs = device.remoteTimeoutMs;
        t.installRepeatMs = device.installRepeatMs;
        return t;
    }
    BusResult run(const QString &pty, BusCommand command, int address = 0x1105,
                  BusProgress *progress = nullptr, const BusTimings &timings = BusTimings::fast())
    {
        Ft12BusLibrary library(port, pump, [&](int) { return pty; });
        BusEnvironment env{library, pump, clock, model, prompter, dir.path(), timings, progress};
        QElapsedTimer t;
        t.start();
        const BusResult r = RunBusCommand(env, command, 0, address);
        seconds = t.elapsed() / 1000.0;
        return r;
    }
    QByteArray device() const { return dir.read(QStringLiteral("device.txt")); }
    QString protocol() const { return QString::fromUtf8(dir.read(QStringLiteral("protocol.txt"))); }

    TempDir dir;
    Model model;
    ScriptedPrompter prompter;
    FixedClock clock{QDateTime(QDate(2026, 3, 2), QTime(9, 0))};
    SleepingEventPump pump;
    QtSerialPort port;
    double seconds = 0;
};

struct MidTransferCase {
    const char *name;
    const char *fault; // a devsim fault, or "kill" for the simulator's end
};

class MidTransfer : public BusRecoveryE2E, public ::testing::WithParamInterface<MidTransferCase> {};

// The coupling unit freezes, stops acknowledging, or its process dies while the records go out:
// the failure comes within the link's time-outs (seconds, where a dead coupling unit took
// minutes) and names Reinstall; once the coupling unit works again, Reinstall gives the device
// its own application back.
TEST_P(MidTransfer, FailsWithinTheLinkTimeOutAndReinstallRestoresTheDevice)
{
    const QByteArray fault = GetParam().fault;
    const bool killed = fault == "kill";
    BusSim sim(simArgs(killed ? QStringList{} : QStringList{"--fault", fault, "--fault-after", "999999999"}));
    ASSERT_FALSE(sim.path().isEmpty());
    const QByteArray own = device();
    ASSERT_FALSE(own.isEmpty());

    QElapsedTimer sinceFault;
    AtStep strike(QStringLiteral("write switching programm "), [&] {
        killed ? sim.kill() : sim.strike();
        sinceFault.start();
    });
    BusResult r = run(sim.path(), BusCommand::Program, 0x1105, &strike, linkTimings());
    ASSERT_TRUE(sinceFault.isValid()) << protocol().toStdString();
    EXPECT_FALSE(r.ok());
    // Two link time-outs at the most: the lost frame, and the address table given back.
    EXPECT_LT(sinceFault.elapsed(), 3 * BusTimings().localTimeoutMs) << protocol().toStdString();
    EXPECT_TRUE(r.message.contains(QStringLiteral("\"Reinstall\""))) << r.message.toStdString();
    EXPECT_NE(device(), own);
    EXPECT_TRUE(protocol().endsWith(QStringLiteral("\r\n")));
    if (killed)
        return;

    sim.heal();
    r = run(sim.path(), BusCommand::Reinstall);
    ASSERT_TRUE(r.ok()) << r.message.toStdString() << protocol().toStdString();
    EXPECT_EQ(device(), own);
}

INSTANTIATE_TEST_SUITE_P(Faults, MidTransfer,
                         ::testing::Values(MidTransferCase{"frozen", "no-bcu"},
                                           MidTransferCase{"noAcknowledgements", "lost-ack"},
                                           MidTransferCase{"killed", "kill"}),
                         [](const auto &info) { return std::string(info.param.name); });

// A coupling unit that sends unrelated frames without end: the wait ends at its deadline and
// the protocol stays short.
TEST_F(BusRecoveryE2E, ABabblingCouplingUnitFailsAtTheDeadline)
{
    BusSim sim(simArgs({"--fault", "babble"}));
    ASSERT_FALSE(sim.path().isEmpty());
    const BusResult r = run(sim.path(), BusCommand::Read, 0x1105, nullptr, linkTimings());
    EXPECT_EQ(r.code, LinkError::NoConnectionToEib) << protocol().toStdString();
    EXPECT_LT(seconds, 2.0 * BusTimings().localTimeoutMs / 1000);
    EXPECT_LT(dir.read(QStringLiteral("protocol.txt")).size(), 4096);
}

// Device 1.1.5 breaks off holding the programming application; 1.1.7 is refused until 1.1.5 has
// its own application back, so "appl.old" is never lost nor given to the wrong device.
TEST_F(BusRecoveryE2E, TwoDevicesWithABrokenProgramBetween)
{
    BusSim sim(simArgs({"--fault", "busy"}));
    ASSERT_FALSE(sim.path().isEmpty());
    const QByteArray own = device();
    BusResult r = run(sim.path(), BusCommand::Program);
    ASSERT_EQ(r.code, LinkError::TimeSwitchBusy);
    sim.heal();

    r = run(sim.path(), BusCommand::Program, 0x1107);
    EXPECT_EQ(r.code, LinkError::RunTimeError);
    EXPECT_TRUE(r.message.contains(QStringLiteral("belongs to device 1.1.5"))) << r.message.toStdString();
    r = run(sim.path(), BusCommand::Reinstall, 0x1107);
    EXPECT_EQ(r.code, LinkError::RunTimeError);

    r = run(sim.path(), BusCommand::Reinstall);
    ASSERT_TRUE(r.ok()) << r.message.toStdString();
    EXPECT_EQ(device(), own);
    r = run(sim.path(), BusCommand::Program, 0x1107);
    EXPECT_TRUE(r.ok()) << r.message.toStdString();
}

// Through zentrix-cli: a program without changeover entries replaces the device's table by an
// empty one, and a read of records on channels 5 to 8 gives an eight-channel file.
TEST_F(BusRecoveryE2E, CliReadBackHoldsExactlyWhatWasProgrammed)
{
    BusSim sim(simArgs({}));
    ASSERT_FALSE(sim.path().isEmpty());
    ProgramSet &p = model.program();
    p.DstFirstYear = EncodeDstFirstYear(2026, 0);
    p.DstCount = 1;
    p.DstTable[0] = EncodeChangeoverEntry({{29, 3, 2, 1}, {25, 10, 3, 1}});
    ASSERT_TRUE(run(sim.path(), BusCommand::Program).ok());

    model.device.Kanalzahl = 8;
    p.DstCount = 0;
    p.DstFirstYear = 255;
    p.DstTable.fill(EmptyDstEntry);
    model.appendRecord(SetProgram, busTime(7, 0, 6));
    p.FileName = dir.file(QStringLiteral("eight.zxp"));
    ASSERT_TRUE(SaveProgram(model, prompter, clock));

    CliOptions fast;
    fast.environment.insert(QStringLiteral("ZENTRIX_FAST_LINK"), QStringLiteral("1"));
    fast.workingDirectory = dir.path();
    for (const QStringList &args :
         {QStringList{"bus", "program", "eight.zxp", "--port", sim.path(), "--address", "1.1.5"},
          QStringList{"bus", "read", "back.zxp", "--port", sim.path(), "--address", "1.1.5"}}) {
        const CliRun r = RunCli(args, fast);
        ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    }
    Model back;
    ASSERT_EQ(LoadProgram(back, prompter, dir.file(QStringLiteral("back.zxp")), false, SetProgram),
              LoadResult::Loaded);
    EXPECT_EQ(back.device.Kanalzahl, 8);
    EXPECT_EQ(back.program().DstCount, 0);
    EXPECT_EQ(back.program().UsedCount, model.program().UsedCount);

    // A port that cannot be opened is named once in the protocol.
    const QString missing = dir.file(QStringLiteral("no-such-port"));
    fast.deadlineMs = 30000;
    EXPECT_EQ(RunCli({"bus", "reinstall", "--port", missing, "--address", "1.1.5"}, fast).exitCode, 1);
    EXPECT_EQ(protocol().count(missing), 1) << protocol().toStdString();
}

} // namespace
} // namespace zx::test
