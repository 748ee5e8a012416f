// The serial link against devsim's simulated programming interface on a real pseudo-terminal.
#include "TransferFixtures.h"

#include "app/AppContext.h"
#include "app/ProgramComparison.h"
#include "platform/ComPortMap.h"
#include "platform/EventPump.h"
#include "platform/ProcessToolLauncher.h"
#include "platform/QtSerialPort.h"
#include "support/CliRunner.h"
#include "support/TempDir.h"
#include "transfer/DeviceTransfer.h"

#include <QElapsedTimer>

#include <csignal>

namespace zx::test {
namespace {

class SerialE2E : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { ensureApplication(); }
    void SetUp() override { ZX_SKIP_WITHOUT_PSEUDO_TERMINAL(); }

    // COM2 is the pseudo-terminal; port setting 5 is COM2.
    void useDevice(const QString &pty)
    {
        ASSERT_FALSE(pty.isEmpty()) << "devsim gave no pseudo-terminal";
        ComPortMap ports(dir.path());
        ports.setDevice(2, pty);
        ASSERT_TRUE(ports.save());
        model.transfer.PortSetting = 5;
    }
    void saveSample()
    {
        fillSampleProgram(model);
        model.program().FileName = dir.file(QStringLiteral("prog.zxp"));
        ASSERT_TRUE(SaveProgram(model, prompter, clock));
    }
    void write()
    {
        DeviceTransfer t(ctx, port);
        t.setSerialTimings(fast);
        t.WriteCommand([] { return true; });
    }
    void read()
    {
        DeviceTransfer t(ctx, port);
        t.setSerialTimings(fast);
        t.ReadCommand([] { return true; });
    }
    int attemptsLogged() const { return dir.read(QStringLiteral("rsproto.txt")).count('\n') / 2; }

    TempDir dir;
    Model model;
    ScriptedPrompter prompter;
    FixedClock clock{QDateTime(QDate(2025, 6, 2), QTime(8, 30))};
    SleepingEventPump pump;
    ProcessToolLauncher launcher;
    AppContext ctx{model, prompter, clock, pump, launcher, dir.path(), dir.path()};
    QtSerialPort port;
    // Shrunk from 500 / 100 / 2000 ms: a pseudo-terminal answers within a millisecond; the quiet
    // time stays well above a loaded machine's scheduling delays.
    SerialTimings fast{500, 40, 0};
};

TEST_F(SerialE2E, WriteThenReadGivesTheSameImageAndProgram)
{
    DevSim sim({QStringLiteral("--memory"), dir.file(QStringLiteral("device.img"))});
    useDevice(sim.path());
    saveSample();
    model.program().ChannelNames[0] = QStringLiteral("Pump");

    write();
    ASSERT_TRUE(prompter.shown.empty()) << prompter.last().toStdString();
    EXPECT_EQ(attemptsLogged(), 128);

    read();
    ASSERT_TRUE(prompter.shown.empty()) << prompter.last().toStdString();
    const auto written = imageOf(dir.file(QStringLiteral("prog.zxp")));
    const auto readBack = imageOf(dir.file(QStringLiteral("card.dat")));
    ASSERT_TRUE(written && readBack);
    EXPECT_EQ(*written, *readBack);

    Model original;
    ASSERT_EQ(LoadProgram(original, prompter, dir.file(QStringLiteral("prog.zxp")), false, SetProgram),
              LoadResult::Loaded);
    expectSameProgram(original, model);
    EXPECT_EQ(model.Modified, 1);
    EXPECT_EQ(model.program().UsageText, QStringLiteral("unknown"));
    EXPECT_EQ(model.program().ChannelNames, (std::array<QString, 9>{}))
        << "the device holds no channel names";
    EXPECT_TRUE(model.program().FileName.endsWith(QStringLiteral("Swprg1.zxp")));
}

TEST_F(SerialE2E, AnswersInPiecesAtTheLineRateAreCollected)
{
    DevSim sim({QStringLiteral("--pieces"), QStringLiteral("--gap-ms"), QStringLiteral("5")});
    useDevice(sim.path());
    saveSample();
    fast.quietMs = 25;
    write();
    ASSERT_TRUE(prompter.shown.empty()) << prompter.last().toStdString();
    read();
    ASSERT_TRUE(prompter.shown.empty()) << prompter.last().toStdString();
    EXPECT_EQ(attemptsLogged(), 128);
}

TEST_F(SerialE2E, InterfaceRecoversAfterItsFaultCount)
{
    DevSim sim({QStringLiteral("--no-pace"), QStringLiteral("--fault"), QStringLiteral("transmission"),
                QStringLiteral("--fault-count"), QStringLiteral("2")});
    useDevice(sim.path());
    saveSample();
    write();
    EXPECT_TRUE(prompter.shown.empty()) << prompter.last().toStdString();
    EXPECT_EQ(attemptsLogged(), 130);
}

struct FaultCase {
    const char *fault;
    const char *direction;
    int attempts;
    const char *message;
};

class SerialFaultE2E : public SerialE2E, public ::testing::WithParamInterface<FaultCase> {};

TEST_P(SerialFaultE2E, EndsWithItsMessageAfterItsAttempts)
{
    const FaultCase c = GetParam();
    DevSim sim({QStringLiteral("--no-pace"), QStringLiteral("--fault"), QString::fromLatin1(c.fault)});
    useDevice(sim.path());
    saveSample();
    dir.write(QStringLiteral("card.dat"), "an old image");
    if (QLatin1String(c.direction) == QLatin1String("s"))
        write();
    else
        read();
    EXPECT_EQ(attemptsLogged(), c.attempts);
    EXPECT_EQ(prompter.messages(), (QStringList{QString::fromLatin1(c.message),
                                                QStringLiteral("Access to zentrix not successful")}));
    if (QLatin1String(c.direction) == QLatin1String("l")) {
        EXPECT_EQ(model.program().UsedCount, 0);
        EXPECT_EQ(model.program().SzCount, 0);
        EXPECT_EQ(model.program().FileName, dir.file(QStringLiteral("prog.zxp"))); // nothing was loaded
    }
}

INSTANTIATE_TEST_SUITE_P(
    FaultSwitches, SerialFaultE2E,
    ::testing::Values(FaultCase{"no-device", "s", 1, "there is no zentrix in the programm interface"},
                      FaultCase{"no-device", "l", 1, "there is no zentrix in the programm interface"},
                      FaultCase{"device-silent", "s", 3, "no answer from the zentrix"},
                      FaultCase{"transmission", "s", 3, "transmission error at COM "},
                      FaultCase{"unknown-status", "s", 3, "unknown Message"},
                      FaultCase{"silence", "s", 3, "no answer from the programm interface at COM "},
                      FaultCase{"silence", "l", 3, "no answer from the programm interface at COM "},
                      FaultCase{"wrong-echo", "l", 3, "unknown Message"},
                      FaultCase{"garbage", "s", 3, "unknown Message"},
                      FaultCase{"garbage", "l", 3, "unknown Message"}));

TEST_F(SerialE2E, PortThatCannotBeOpenedEndsWithTheSystemsText)
{
    useDevice(dir.file(QStringLiteral("no-such-tty")));
    saveSample();
    write();
    ASSERT_EQ(prompter.shown.size(), 2u);
    EXPECT_TRUE(prompter.shown[0].message.startsWith(QStringLiteral("error in serial communication :")));
    EXPECT_EQ(prompter.shown[1].message, QStringLiteral("Access to zentrix not successful"));
}

// The command line at the real timings against an interface paced at 9600 baud.
class CliE2E : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { ensureApplication(); }
    void SetUp() override { ZX_SKIP_WITHOUT_PSEUDO_TERMINAL(); }
    int cli(const QStringList &args, QByteArray *err = nullptr)
    {
        CliOptions options;
        options.workingDirectory = dir.path();
        // the simulated interface answers at once: no settling time, a short quiet time
        options.environment.insert(QStringLiteral("ZENTRIX_FAST_LINK"), QStringLiteral("1"));
        options.deadlineMs = 120000;
        const CliRun r = RunCli(args, options);
        if (err)
            *err = r.err;
        return r.exitCode;
    }
    // The sample program saved as prog.zxp in the test's folder.
    void saveSample()
    {
        Model model;
        fillSampleProgram(model);
        ScriptedPrompter prompter;
        model.program().FileName = dir.file(QStringLiteral("prog.zxp"));
        ASSERT_TRUE(SaveProgram(model, prompter, SystemClock()));
    }
    TempDir dir;
};

TEST_F(CliE2E, WriteAndReadRoundTrip)
{
    DevSim sim({QStringLiteral("--memory"), dir.file(QStringLiteral("device.img"))});
    ASSERT_FALSE(sim.path().isEmpty());
    ASSERT_NO_FATAL_FAILURE(saveSample());
    ScriptedPrompter prompter;

    QByteArray err;
    ASSERT_EQ(cli({QStringLiteral("write"), QStringLiteral("prog.zxp"), QStringLiteral("--port"), sim.path()},
                  &err),
              0)
        << err.toStdString();
    EXPECT_TRUE(err.contains("write to zentrix: prog.zxp using COM " + sim.path().toUtf8()))
        << err.toStdString();
    EXPECT_TRUE(dir.exists(QStringLiteral("rsproto.txt")));
    ASSERT_EQ(
        cli({QStringLiteral("read"), QStringLiteral("back.zxp"), QStringLiteral("--port"), sim.path()}, &err),
        0)
        << err.toStdString();
    EXPECT_EQ(imageOf(dir.file(QStringLiteral("back.zxp"))), imageOf(dir.file(QStringLiteral("prog.zxp"))));

    Model back;
    ASSERT_EQ(LoadProgram(back, prompter, dir.file(QStringLiteral("back.zxp")), false, SetProgram),
              LoadResult::Loaded);
    Model original;
    ASSERT_EQ(LoadProgram(original, prompter, dir.file(QStringLiteral("prog.zxp")), false, SetProgram),
              LoadResult::Loaded);
    expectSameProgram(original, back);
    EXPECT_EQ(back.program().UsageText, QStringLiteral("unknown"));
}

// Ctrl-C in the middle of a write: the transfer ends as the window's Cancel ends it (the port
// closed), the user learns that the device may hold an incomplete program, and the exit status
// says which signal ended it.
TEST_F(CliE2E, AnInterruptedWriteClosesThePortAndSaysSo)
{
    DevSim sim({QStringLiteral("--memory"), dir.file(QStringLiteral("device.img"))});
    ASSERT_FALSE(sim.path().isEmpty());
    ASSERT_NO_FATAL_FAILURE(saveSample());
    CliOptions options;
    options.workingDirectory = dir.path();
    options.environment.insert(QStringLiteral("ZENTRIX_FAST_LINK"), QStringLiteral("1"));
    auto write = StartCli(
        {QStringLiteral("write"), QStringLiteral("prog.zxp"), QStringLiteral("--port"), sim.path()}, options);
    QByteArray err;
    QElapsedTimer t;
    t.start();
    while (!err.contains("/129") && t.elapsed() < 15000 && write->state() != QProcess::NotRunning) {
        write->waitForReadyRead(20);
        err += write->readAllStandardError();
    }
    ASSERT_TRUE(err.contains("/129")) << err.toStdString(); // the gauge moves: blocks are going out
    ::kill(pid_t(write->processId()), SIGINT);
    const CliRun r = FinishCli(std::move(write), 15000);
    EXPECT_EQ(r.exitCode, 130) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains("interrupted: the port is closed; the device may hold an incomplete program"))
        << r.err.toStdString();
}

TEST_F(CliE2E, FailedTransferExitsOne)
{
    DevSim sim({QStringLiteral("--fault"), QStringLiteral("no-device")});
    QByteArray err;
    EXPECT_EQ(
        cli({QStringLiteral("read"), QStringLiteral("back.zxp"), QStringLiteral("--port"), sim.path()}, &err),
        1);
    EXPECT_TRUE(err.contains("there is no zentrix in the programm interface")) << err.toStdString();
    EXPECT_FALSE(dir.exists(QStringLiteral("back.zxp")));
}

TEST_F(CliE2E, LineThatNeverStopsSendingFailsTheReadWithinSeconds)
{
    DevSim sim({QStringLiteral("--fault"), QStringLiteral("chatter")});
    QElapsedTimer took;
    took.start();
    QByteArray err;
    EXPECT_EQ(
        cli({QStringLiteral("read"), QStringLiteral("back.zxp"), QStringLiteral("--port"), sim.path()}, &err),
        1);
    EXPECT_LT(took.elapsed(), 20000);
    EXPECT_TRUE(err.contains("unknown Message")) << err.toStdString();
    EXPECT_FALSE(dir.exists(QStringLiteral("back.zxp")));
    EXPECT_FALSE(dir.exists(QStringLiteral("card.dat")));
}

TEST_F(CliE2E, ProgramOfTheOtherDeviceTypeIsNotWritten)
{
    Model model;
    fillSampleProgram(model);
    ScriptedPrompter prompter;
    SystemClock clock;
    model.program().FileName = dir.file(QStringLiteral("prog.zxp"));
    ASSERT_TRUE(SaveProgram(model, prompter, clock));
    QByteArray err;
    EXPECT_EQ(cli({QStringLiteral("write"), QStringLiteral("prog.zxp"), QStringLiteral("--port"),
                   QStringLiteral("/dev/null"), QStringLiteral("--type"), QStringLiteral("236")},
                  &err),
              1);
    EXPECT_TRUE(err.contains("517")) << err.toStdString();
}

TEST_F(SerialE2E, AVerifiedWriteThenAMemoryChangedBehindTheProgramsBack)
{
    // Whole-image reads back to back: a loaded machine may pause the simulator mid-answer.
    fast.quietMs = 80;
    const QString memory = dir.file(QStringLiteral("device.img"));
    saveSample();
    {
        DevSim sim({QStringLiteral("--memory"), memory});
        useDevice(sim.path());
        DeviceTransfer t(ctx, port);
        t.setSerialTimings(fast);
        t.setVerifyAfterWrite(true);
        t.WriteCommand([] { return true; });
        EXPECT_TRUE(t.succeeded());
        ASSERT_EQ(prompter.messages(), QStringList{"written and verified"});
    }

    // Someone toggles channel 2 of the first record slot at the device: b4 is held with its
    // nibbles swapped, and the checksum in byte 0 keeps the sum of all bytes at 0.
    QFile f(memory);
    ASSERT_TRUE(f.open(QIODevice::ReadWrite));
    QByteArray image = f.readAll();
    ASSERT_EQ(image.size(), ImageSize);
    const int delta = (static_cast<std::uint8_t>(image[108]) ^ 0x20) - static_cast<std::uint8_t>(image[108]);
    image[108] = static_cast<char>(static_cast<std::uint8_t>(image[108]) + delta);
    image[0] = static_cast<char>(static_cast<std::uint8_t>(image[0]) - delta);
    f.seek(0);
    f.write(image);
    f.close();

    DevSim sim({QStringLiteral("--memory"), memory});
    useDevice(sim.path());
    const ProgramSet before = model.program();
    Model device = model;
    DeviceTransfer t(ctx, port);
    t.setSerialTimings(fast);
    ASSERT_TRUE(t.ReadInto(device)) << prompter.messages().join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(model.program().Records, before.Records) << "the program in memory stays";
    EXPECT_EQ(model.program().FileName, before.FileName);
    CompareOptions options;
    options.texts = false;
    const ProgramDifferences d = ComparePrograms(model, device, options);
    EXPECT_TRUE(d.settings.empty());
    int changed = 0, only = 0;
    for (const ListDifference &l : d.lists) {
        changed += static_cast<int>(l.changed.size());
        only += static_cast<int>(l.onlyA.size() + l.onlyB.size());
    }
    EXPECT_EQ(changed, 1);
    EXPECT_EQ(only, 0);
}

} // namespace
} // namespace zx::test
