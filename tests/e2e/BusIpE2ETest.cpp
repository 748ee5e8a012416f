// The bus operations through a KNXnet/IP tunnel to devsim's simulated IP interface on
// 127.0.0.1, with the same simulated time switches as behind its coupling unit.
#include "TransferFixtures.h"

#include "bus/BusLink.h"
#include "bus/BusSession.h"
#include "bus/KnxIpBusLibrary.h"
#include "entry/SwitchingEntry.h"
#include "model/ListOrder.h"
#include "platform/EventPump.h"
#include "platform/UdpSocket.h"
#include "support/CliRunner.h"
#include "support/TempDir.h"

#include <QStandardPaths>
#include <QThread>

#include <csignal>

namespace zx::test {
namespace {

// devsim ip for the lifetime of the object; it prints 127.0.0.1:PORT.
class IpSim : public DevSim {
  public:
    explicit IpSim(const QStringList &args) : DevSim(QStringList{QStringLiteral("ip")} + args) {}
    const QString &endpoint() const { return path(); }
};

class BusIpE2E : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { ensureApplication(); }
    void SetUp() override
    {
        ASSERT_TRUE(QFile::copy(QStringLiteral(ZX_SOURCE_DATA "/remote.s19"),
                                dir.file(QStringLiteral("remote.s19"))));
        model.device.BusDevice = 1;
        model.device.Kanalzahl = 8;
        for (int i = 0; i < 30; ++i) {
            SwitchingEntryValues e;
            e.hour = i % 24;
            e.minute = 2 * i;
            e.weekdayMask = AllWeekdays;
            e.kind = EntryKind::Weekly;
            e.busChannel = 1 + i % 8;
            e.value = i;
            model.appendRecord(SetProgram, EncodeSwitchingTime(e, 1));
        }
        SortRecords(model, DisplayOrder, SetProgram);
    }
    QStringList simArgs(const QStringList &more) const
    {
        return QStringList{"--device", "1.1.5", "--dump", dir.file(QStringLiteral("device.txt"))} + more;
    }
    BusResult run(const QString &endpoint, BusCommand command, const BusTimings &timings = BusTimings::fast())
    {
        const auto host = KnxIpBusLibrary::ParseHost(endpoint);
        KnxIpBusLibrary library(socket, pump, host->first, host->second, KnxIpTimings::fast());
        library.setHeartbeatMs(heartbeatMs);
        BusEnvironment env{library,           pump, clock, model, prompter, dir.path(), timings, nullptr,
                           library.hostText()};
        QElapsedTimer t;
        t.start();
        const BusResult r = RunBusCommand(env, command, 0, 0x1105);
        seconds = t.elapsed() / 1000.0;
        EXPECT_FALSE(library.tunnelOpen());
        return r;
    }
    QByteArray device() const { return dir.read(QStringLiteral("device.txt")); }
    QString protocol() const { return QString::fromUtf8(dir.read(QStringLiteral("protocol.txt"))); }

    TempDir dir;
    Model model;
    ScriptedPrompter prompter;
    FixedClock clock{QDateTime(QDate(2026, 3, 2), QTime(9, 0))};
    SleepingEventPump pump;
    UdpSocket socket;
    double seconds = 0;
    int heartbeatMs = 200; // many heartbeats in a short transfer
};

TEST_F(BusIpE2E, SearchProgramAndReadBackThroughTheTunnel)
{
    IpSim sim(simArgs({"--device", "1.1.7"}));
    ASSERT_FALSE(sim.endpoint().isEmpty());
    const QByteArray own = device();
    {
        const auto host = KnxIpBusLibrary::ParseHost(sim.endpoint());
        KnxIpBusLibrary library(socket, pump, host->first, host->second);
        BusEnvironment env{library, pump, clock, model, prompter, dir.path(), BusTimings::fast()};
        const BusSearchResult found = SearchBusDevices(env, 0, 1, 1, 4, 7);
        EXPECT_TRUE(found.ok()) << found.message.toStdString();
        EXPECT_EQ(found.found, (QStringList{"1.1.5", "1.1.7"}));
    }
    const ProgramSet written = model.program();
    BusResult r = run(sim.endpoint(), BusCommand::Program);
    ASSERT_TRUE(r.ok()) << r.message.toStdString() << protocol().toStdString();
    EXPECT_EQ(device(), own);
    model.program().clear();
    r = run(sim.endpoint(), BusCommand::Read);
    ASSERT_TRUE(r.ok()) << r.message.toStdString();
    SortRecords(model, DisplayOrder, SetProgram);
    ASSERT_EQ(model.program().UsedCount, written.UsedCount);
    for (int i = 0; i < written.UsedCount; ++i)
        EXPECT_EQ(model.program().Records[i], written.Records[i]) << i;
    EXPECT_EQ(model.program().DstCount, 0);
}

struct IpFaultCase {
    const char *name;
    QStringList args;
    int code;
    const char *message; // the start of the message; %1 stands for the interface's endpoint
};

class IpFaults : public BusIpE2E, public ::testing::WithParamInterface<IpFaultCase> {};

// Every fault of the interface ends with its message within seconds and leaves no tunnel
// open: the simulator has one channel, and the next operation gets it at once.
TEST_P(IpFaults, EndWithTheirMessageAndLeaveNoTunnelOpen)
{
    const IpFaultCase c = GetParam();
    IpSim sim(simArgs(c.args));
    ASSERT_FALSE(sim.endpoint().isEmpty());
    BusResult r = run(sim.endpoint(), BusCommand::Program);
    EXPECT_EQ(r.code, c.code) << r.message.toStdString() << protocol().toStdString();
    if (c.code != 0) {
        EXPECT_TRUE(r.message.startsWith(QString::fromUtf8(c.message).arg(sim.endpoint())))
            << r.message.toStdString();
    }
    EXPECT_LT(seconds, 15.0);

    sim.heal();
    r = run(sim.endpoint(), BusCommand::Read);
    EXPECT_TRUE(r.ok()) << r.message.toStdString() << protocol().toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Switches, IpFaults,
    ::testing::Values(
        IpFaultCase{"refused",
                    {"--fault", "refuse"},
                    KnxIpBusLibrary::Refused,
                    "The IP interface %1 refused the connection (status 0x24)."},
        // Each telegram's confirmation shows it taken, though no acknowledgement comes.
        IpFaultCase{"acknowledgementsLost", {"--fault", "lost-ack", "--fault-after", "40"}, 0, ""},
        // Forged longer copies of the interface's requests are refused, the genuine ones taken.
        IpFaultCase{"oversizedCopies", {"--fault", "oversize", "--fault-count", "40"}, 0, ""},
        IpFaultCase{"neverConfirmed",
                    {"--fault", "no-confirm", "--fault-after", "40"},
                    LinkError::NoBusAccess,
                    "no bus access via %1"},
        IpFaultCase{
            "deviceSilent", {"--fault", "no-device"}, LinkError::NoMaskResponse, "no mask response received"},
        IpFaultCase{"dropped",
                    {"--fault", "drop", "--fault-after", "200"},
                    KnxIpBusLibrary::Lost,
                    "The connection to the IP interface %1 was lost."},
        IpFaultCase{"oneAcknowledgementLost", {"--fault", "lost-ack", "--fault-count", "1"}, 0, ""}),
    [](const auto &info) { return std::string(info.param.name); });

// A busy wireless or VPN link loses datagrams both ways; the tunnel's and the transport layer's
// repeats carry the transfer through. The losses are seeded, so each run loses the same ones.
TEST_F(BusIpE2E, ProgramAndReadSurviveFivePercentLossEachWay)
{
    const QStringList lossy = {"--loss-in",  "5",   "--loss-out",      "5",
                               "--ack-wait", "100", "--transport-ack", "300"};
    const ProgramSet written = model.program();
    heartbeatMs = KnxIpTimings::fast().heartbeatMs; // a lossy link's heartbeat at its own pace
    for (const char *seed : {"1", "2"}) {
        SCOPED_TRACE(seed);
        IpSim sim(simArgs(lossy + QStringList{"--seed", seed}));
        ASSERT_FALSE(sim.endpoint().isEmpty());
        // The first seed programs and reads back; the others read what the device holds.
        const bool programming = QByteArray(seed) == "1";
        if (programming) {
            const BusResult r = run(sim.endpoint(), BusCommand::Program);
            ASSERT_TRUE(r.ok()) << r.message.toStdString() << protocol().toStdString();
            EXPECT_LT(seconds, 40.0);
        }
        model.program().clear();
        const BusResult r = run(sim.endpoint(), BusCommand::Read);
        ASSERT_TRUE(r.ok()) << r.message.toStdString() << protocol().toStdString();
        EXPECT_LT(seconds, 40.0);
        if (programming) {
            SortRecords(model, DisplayOrder, SetProgram);
            ASSERT_EQ(model.program().UsedCount, written.UsedCount);
            for (int i = 0; i < written.UsedCount; ++i)
                EXPECT_EQ(model.program().Records[i], written.Records[i]) << i;
        }
    }
}

// An interface that ends the tunnel when its request is not acknowledged within 150 ms, itself
// repeated once: the device's waits (after deleting, after installing) keep the tunnel answered.
TEST_F(BusIpE2E, TheTunnelIsAnsweredDuringTheDevicesWaits)
{
    IpSim sim(simArgs({"--ack-wait", "150", "--strict", "--transport-ack", "300"}));
    ASSERT_FALSE(sim.endpoint().isEmpty());
    BusTimings timings = BusTimings::fast();
    timings.afterInstallWaitMs = 1500;
    timings.afterDeleteWaitMs = 1000;
    timings.installBlockPauseMs = 30;
    const BusResult r = run(sim.endpoint(), BusCommand::Program, timings);
    EXPECT_TRUE(r.ok()) << r.message.toStdString() << protocol().toStdString();
}

// Ctrl-C or a termination signal while the switching program is written: the CLI ends the
// connection and the tunnel, says that the device needs Reinstall, and exits 130 or 143; the
// interface's one channel is free at once for that Reinstall.
TEST_F(BusIpE2E, ASignalEndsTheTransferAndFreesTheTunnel)
{
    model.program().FileName = dir.file(QStringLiteral("prog.zxp"));
    ASSERT_TRUE(SaveProgram(model, prompter, clock));
    for (const auto &[signal, status] : {std::pair{SIGINT, 130}, std::pair{SIGTERM, 143}}) {
        SCOPED_TRACE(status);
        IpSim sim(simArgs({}));
        ASSERT_FALSE(sim.endpoint().isEmpty());
        CliOptions inDir;
        inDir.workingDirectory = dir.path();
        inDir.environment.insert(QStringLiteral("ZENTRIX_FAST_LINK"), QStringLiteral("1"));
        auto cli =
            StartCli({"bus", "program", "prog.zxp", "--ip", sim.endpoint(), "--address", "1.1.5"}, inDir);
        QByteArray err;
        QElapsedTimer t;
        t.start();
        while (!err.contains("write switching programm") && t.elapsed() < 15000 &&
               cli->state() != QProcess::NotRunning) {
            cli->waitForReadyRead(50);
            err += cli->readAllStandardError();
        }
        ASSERT_TRUE(err.contains("write switching programm")) << err.toStdString();
        ::kill(pid_t(cli->processId()), signal);
        const CliRun r = FinishCli(std::move(cli), 15000);
        const QString text = QString::fromUtf8(err + r.err);
        EXPECT_EQ(r.exitCode, status) << text.toStdString();
        EXPECT_TRUE(text.contains(QStringLiteral("The transfer was interrupted"))) << text.toStdString();
        EXPECT_TRUE(text.contains(QStringLiteral("Reinstall"))) << text.toStdString();
        const CliRun again =
            RunCli({"bus", "reinstall", "--ip", sim.endpoint(), "--address", "1.1.5"}, inDir);
        EXPECT_EQ(again.exitCode, 0) << again.err.toStdString();
    }
}

// A host name that does not resolve is named as such, in the user's language. The lookup runs in
// a private network namespace, where no name server is reached.
TEST_F(BusIpE2E, AnUnknownHostNameIsNamed)
{
    QProcess probe;
    probe.start(QStringLiteral("unshare"), {"-n", "true"});
    if (!probe.waitForFinished(10000) || probe.exitStatus() != QProcess::NormalExit || probe.exitCode() != 0)
        GTEST_SKIP() << "skipped: a private network namespace (unshare -n) is not permitted here";
    CliOptions inDir;
    inDir.workingDirectory = dir.path();
    inDir.program = QStringLiteral("unshare");
    inDir.deadlineMs = 20000;
    const QStringList search = {
        "-n", ZX_CLI,   "bus", "search", "--ip", "zentrix-no-such-host.invalid", "--area", "1", "--line",
        "1",  "--from", "5",   "--to",   "5"};
    CliRun r = RunCli(search, inDir);
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.contains("The host name zentrix-no-such-host.invalid was not found."))
        << r.err.toStdString();
    r = RunCli(search + QStringList{"--lang", "de"}, inDir);
    EXPECT_TRUE(r.err.contains("Der Hostname zentrix-no-such-host.invalid wurde nicht gefunden."))
        << r.err.toStdString();
}

// A datagram longer than its header says arrives whole, so its length gives it away; cut to a
// small buffer it would pass for one whose header matches.
TEST(UdpSocketE2E, TakesADatagramWhole)
{
    UdpSocket receiver, sender;
    QString error;
    const UdpEndpoint loopback{0x7F000001, KnxIp::DefaultPort};
    ASSERT_TRUE(receiver.open(loopback, &error)) << error.toStdString();
    ASSERT_TRUE(sender.open(loopback, &error)) << error.toStdString();
    QByteArray forged = KnxIp::tunnellingRequest(7, 0, QByteArray(1090, '\x29'));
    forged[4] = char(1024 >> 8);
    forged[5] = char(1024 & 0xFF);
    ASSERT_TRUE(sender.sendTo(receiver.localEndpoint(), forged, &error)) << error.toStdString();
    std::optional<ReceivedDatagram> got;
    QElapsedTimer t;
    t.start();
    while (!(got = receiver.receive()) && t.elapsed() < 2000)
        QThread::msleep(5);
    ASSERT_TRUE(got);
    EXPECT_EQ(got->bytes.size(), 1100);
    EXPECT_FALSE(KnxIp::ReadDatagram(got->bytes).ok());
}

// zentrix-cli takes the interface with --ip; a failure names it.
TEST_F(BusIpE2E, CliReachesTheInterfaceByItsHost)
{
    IpSim sim(simArgs({"--device", "1.1.9"}));
    ASSERT_FALSE(sim.endpoint().isEmpty());
    CliOptions inDir;
    inDir.workingDirectory = dir.path();
    inDir.deadlineMs = 30000;
    const CliRun r = RunCli(
        {"bus", "search", "--ip", sim.endpoint(), "--area", "1", "--line", "1", "--from", "9", "--to", "9"},
        inDir);
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, QByteArray("1.1.9\n"));

    EXPECT_EQ(RunCli({"bus", "search", "--ip", sim.endpoint(), "--port", "/dev/x", "--area", "1", "--line",
                      "1", "--from", "9", "--to", "9"},
                     inDir)
                  .exitCode,
              2); // one way to the bus, not two
}

// The same operations through knxd, an independent bus stack between this program and the
// simulated interface, in a private network namespace (see knxd-proof.sh).
TEST_F(BusIpE2E, SearchProgramAndReadBackThroughKnxd)
{
    if (QStandardPaths::findExecutable(QStringLiteral("knxd")).isEmpty())
        GTEST_SKIP() << "skipped: knxd is not installed (scripts/install-deps.sh installs it)";
    QProcess probe;
    probe.start(QStringLiteral("unshare"), {"-n", "true"});
    if (!probe.waitForFinished(10000) || probe.exitStatus() != QProcess::NormalExit || probe.exitCode() != 0)
        GTEST_SKIP() << "skipped: a private network namespace (unshare -n) is not permitted here, and knxd "
                        "must not run in the machine's own network";
    model.device.Kanalzahl = 8;
    model.program().FileName = dir.file(QStringLiteral("prog.zxp"));
    ASSERT_TRUE(SaveProgram(model, prompter, clock));
    QProcess proof;
    proof.setProcessChannelMode(QProcess::MergedChannels);
    proof.start(QStringLiteral("unshare"),
                {"-n", "bash", QStringLiteral(ZX_SOURCE_DATA "/../tests/e2e/knxd-proof.sh"),
                 QStringLiteral(ZX_CLI), QStringLiteral(ZX_DEVSIM), dir.path()});
    ASSERT_TRUE(proof.waitForFinished(120000));
    const QString out = QString::fromUtf8(proof.readAll());
    EXPECT_EQ(proof.exitCode(), 0) << out.toStdString();
    EXPECT_TRUE(out.contains(QStringLiteral("through knxd: ok"))) << out.toStdString();
}

} // namespace
} // namespace zx::test
