#include "bus/BusOperations.h"

#include "BusFakes.h"
#include "bus/ApplicationImage.h"
#include "bus/BusAddress.h"
#include "bus/BusLink.h"
#include "bus/BusSession.h"
#include "bus/ProtocolFile.h"
#include "calendar/Changeover.h"
#include "core/transfer/SerialFakes.h"
#include "entry/SwitchingEntry.h"
#include "model/Model.h"
#include "platform/Clock.h"
#include "support/SamplePrograms.h"
#include "support/ScriptedPrompter.h"
#include "support/TempDir.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <numeric>

namespace zx::test {
namespace {

constexpr int Device = 0x1105;

class BusOperationsTest : public ::testing::Test {
  protected:
    void SetUp() override
    {
        ASSERT_TRUE(protocol.recreate(dir.path()));
        ASSERT_TRUE(QFile::copy(QStringLiteral(ZX_SOURCE_DATA "/remote.s19"),
                                dir.file(QStringLiteral("remote.s19"))));
        for (int a = 0x0107; a <= 0x01FE; ++a)
            bus.memory[a] = std::uint8_t(a * 3);
        bus.memory[0x010D] = 0xFF; // the application runs
        original = bus.memory;
        link.setComIndex(0);
    }
    // A bus program: four weekly times and a changeover table of three entries.
    void fillBusProgram()
    {
        model.device.BusDevice = 1;
        model.device.Kanalzahl = 4;
        for (int i = 0; i < 4; ++i)
            model.appendRecord(SetProgram, weeklyTime(6 + i, 30, 0x1F, 200 - i, i % 2));
        ProgramSet &p = model.program();
        p.DstFirstYear = EncodeDstFirstYear(2026, 0);
        p.DstCount = 3;
        p.DstTable[0] = EncodeChangeoverEntry({{29, 3, 2, 1}, {25, 10, 3, 1}});
        p.DstTable[1] = EncodeChangeoverEntry({{28, 3, 2, 1}, {31, 10, 3, 1}});
        p.DstTable[2] = EncodeChangeoverEntry({{26, 3, 2, 1}, {29, 10, 3, 1}});
    }
    void expectOwnApplication() const
    {
        for (int a = 0x0104; a <= 0x01FE; ++a)
            ASSERT_EQ(bus.memory[a], original[a]) << "at " << a;
    }
    // Frames with this message code sent since frame `from`: 0x23 connect, 0x24 disconnect.
    int framesWith(std::uint8_t code, std::size_t from = 0) const
    {
        int n = 0;
        for (std::size_t i = from; i < bus.sent.size(); ++i)
            n += std::uint8_t(bus.sent[i].at(1)) == code;
        return n;
    }
    QString protocolText()
    {
        protocol.close();
        return QString::fromUtf8(dir.read(QStringLiteral("protocol.txt")));
    }

    TempDir dir;
    FakeBus bus;
    std::array<std::uint8_t, 512> original{};
    VirtualPump pump;
    FixedClock clock{QDateTime(QDate(2026, 3, 2), QTime(10, 0))};
    Model model;
    ScriptedPrompter prompter;
    ProtocolFile protocol;
    BusLink link{bus, pump, clock, model.catalogue, protocol, BusTimings::fast()};
    BusOperations ops{link, model, BusIdentityOf(1), dir.path(), nullptr, &prompter};
};

struct MaskCase {
    std::uint8_t high, low;
    bool answers;
    int expected;
};

class MaskVersions : public BusOperationsTest, public ::testing::WithParamInterface<MaskCase> {};

TEST_P(MaskVersions, DecideTheSearch)
{
    bus.mask = {GetParam().high, GetParam().low};
    bus.deviceAnswers = GetParam().answers;
    ASSERT_EQ(link.OpenLink(0), 0);
    QByteArray ident;
    EXPECT_EQ(ops.SearchDevice(Device, &ident), GetParam().expected);
    if (GetParam().expected == 0) {
        EXPECT_EQ(ident, QByteArray::fromHex("4E5204"));
    }
}

INSTANTIATE_TEST_SUITE_P(Search, MaskVersions,
                         ::testing::Values(MaskCase{0x00, 0x12, true, 0}, MaskCase{0x11, 0x00, true, 0},
                                           MaskCase{0x00, 0x10, true, LinkError::WrongMaskVersion},
                                           MaskCase{0x00, 0x12, false, LinkError::NoMaskResponse}));

struct AnswerCase {
    const char *name;
    std::uint8_t service; // the answer changed: 0x03 mask version, 0x02 memory
    std::function<void(QByteArray &app, int &source)> change;
    int expected;
};

class DeviceAnswers : public BusOperationsTest, public ::testing::WithParamInterface<AnswerCase> {};

// An answer is taken only from the device asked, for the service asked, with every field as
// asked: anything else is no answer to the question.
TEST_P(DeviceAnswers, AreTakenOnlyWhenEveryFieldFits)
{
    bus.tamper = [this](QByteArray &app, int &source) {
        if ((std::uint8_t(app.at(0)) & 0x03) == GetParam().service)
            GetParam().change(app, source);
    };
    ASSERT_EQ(link.OpenLink(0), 0);
    QByteArray ident;
    EXPECT_EQ(ops.SearchDevice(Device, &ident), GetParam().expected);
}

const auto setByte = [](int i, int value) {
    return [i, value](QByteArray &app, int &) { app[i] = char(value); };
};

INSTANTIATE_TEST_SUITE_P(
    Fields, DeviceAnswers,
    ::testing::Values(
        AnswerCase{"memoryAsIs", 0x02, [](QByteArray &, int &) {}, 0},
        AnswerCase{"memoryFromAnother", 0x02, [](QByteArray &, int &s) { s = Device + 1; },
                   LinkError::AnswerFromWrongDevice},
        AnswerCase{"memoryShort", 0x02, [](QByteArray &a, int &) { a.chop(1); }, LinkError::NoValidData},
        AnswerCase{"memoryOtherService", 0x02, setByte(0, 0x01), LinkError::NoValidData},
        AnswerCase{"memoryNoResponse", 0x02, setByte(1, 0x83), LinkError::NoValidData},
        AnswerCase{"memoryOtherCount", 0x02, setByte(1, 0x42), LinkError::NoValidData},
        AnswerCase{"memoryOtherHighAddress", 0x02, setByte(2, 0x02), LinkError::NoValidData},
        AnswerCase{"memoryOtherLowAddress", 0x02, setByte(3, 0x05), LinkError::NoValidData},
        AnswerCase{"maskFromAnother", 0x03, [](QByteArray &, int &s) { s = Device - 1; },
                   LinkError::AnswerFromWrongDevice},
        AnswerCase{"maskShort", 0x03, [](QByteArray &a, int &) { a.chop(1); }, LinkError::NoMaskResponse},
        AnswerCase{"maskOtherService", 0x03, setByte(0, 0x02), LinkError::NoMaskResponse},
        AnswerCase{"maskNoResponse", 0x03, setByte(1, 0x00), LinkError::NoMaskResponse}),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(BusOperationsTest, ABusyTimeSwitchIsAskedAgainUpToThreeTimes)
{
    ASSERT_EQ(link.OpenLink(0), 0);
    ASSERT_EQ(ops.Connect(Device), 0);
    bus.busyAnswers = 2;
    EXPECT_EQ(ops.MailboxCommand(Mailbox::DeleteProgram, {}), 0);
    EXPECT_EQ(bus.commandCount(Mailbox::DeleteProgram), 1);
    bus.busyAnswers = 3;
    EXPECT_EQ(ops.MailboxCommand(Mailbox::DeleteProgram, {}), LinkError::TimeSwitchBusy);
    EXPECT_EQ(protocolText().count(QStringLiteral(" *** time switch busy ")), 5);
}

// A busy time switch is asked again on the same connection; only a failed exchange opens the
// link afresh.
TEST_F(BusOperationsTest, OnlyAFailedExchangeOpensTheLinkAgain)
{
    ASSERT_EQ(link.OpenLink(0), 0);
    ASSERT_EQ(ops.Connect(Device), 0);
    const int resets = bus.bcuResets;
    bus.busyAnswers = 2;
    EXPECT_EQ(ops.MailboxCommand(Mailbox::DeleteProgram, {}), 0);
    EXPECT_EQ(bus.bcuResets, resets);
    bus.deviceAnswers = false;
    EXPECT_NE(ops.MailboxCommand(Mailbox::DeleteProgram, {}), 0);
    EXPECT_GT(bus.bcuResets, resets);

    // The device is back, but the first new opening of the link fails: the next opening connects
    // the device again before it takes the command.
    bus.onInstall = [this, fails = 1]() mutable {
        bus.deviceAnswers = true;
        return fails-- > 0 ? int(LinkError::NoBusAccess) : 0;
    };
    bus.deviceAnswers = false;
    EXPECT_EQ(ops.MailboxCommand(Mailbox::DeleteProgram, {}), 0);
    EXPECT_EQ(bus.commandCount(Mailbox::DeleteProgram), 2);
}

// The gauge of the changeover table runs from the header (1) to the last entry (21 of 21).
TEST_F(BusOperationsTest, TheChangeoverGaugeReachesItsEnd)
{
    struct Recorder final : BusProgress {
        std::vector<int> values;
        void setStep(const QString &) override {}
        void setGauge(int value, int maximum) override
        {
            if (maximum == DstEntries + 1)
                values.push_back(value);
        }
    } recorder;
    fillBusProgram();
    BusOperations watched{link, model, BusIdentityOf(1), dir.path(), &recorder, &prompter};
    ASSERT_EQ(watched.ProgramDevice(Device), 0);
    std::vector<int> expected(DstEntries + 1);
    std::iota(expected.begin(), expected.end(), 1);
    EXPECT_EQ(recorder.values, expected);
}

// A gauge never runs past its maximum (install, read, programming with the application saved
// first); the install and the changeover table's read reach it.
TEST_F(BusOperationsTest, EveryGaugeStaysWithinItsMaximumAndTheLongOnesReachIt)
{
    struct Recorder final : BusProgress {
        std::vector<std::pair<int, int>> gauges;
        void setStep(const QString &) override {}
        void setGauge(int value, int maximum) override { gauges.emplace_back(value, maximum); }
    } recorder;
    BusOperations watched{link, model, BusIdentityOf(1), dir.path(), &recorder, &prompter};
    auto expectWithin = [&](const char *what) {
        ASSERT_FALSE(recorder.gauges.empty()) << what;
        for (const auto &[value, maximum] : recorder.gauges) {
            EXPECT_GE(value, 1) << what;
            EXPECT_LE(value, maximum) << what;
        }
    };
    ASSERT_EQ(watched.ProgramWithApplicationSwap(Device), 0);
    expectWithin("programming with the application swapped");

    recorder.gauges.clear();
    ASSERT_EQ(link.OpenLink(0), 0);
    ASSERT_EQ(watched.InstallApplication(Device, QStringLiteral("remote.s19")), 0);
    expectWithin("install");
    EXPECT_EQ(recorder.gauges.back().first, recorder.gauges.back().second);
    link.CloseLink();

    recorder.gauges.clear();
    ASSERT_EQ(watched.ReadDevice(Device), 0);
    expectWithin("read");
    std::vector<int> changeover;
    for (const auto &[value, maximum] : recorder.gauges)
        if (maximum == DstEntries + 1)
            changeover.push_back(value);
    std::vector<int> expected(DstEntries + 1);
    std::iota(expected.begin(), expected.end(), 1);
    EXPECT_EQ(changeover, expected);
}

// Twenty entries in use: the table is full and read to its end.
TEST_F(BusOperationsTest, AFullChangeoverTableIsReadWhole)
{
    bus.changeoverHeader = 30;
    for (int i = 0; i < DstEntries; ++i) {
        const DstEntry e = EncodeChangeoverEntry({{25, 3, 2, 1}, {25, 10, 3, 1}});
        bus.changeover[i] = {std::uint8_t(e[0]), std::uint8_t(e[1]), std::uint8_t(e[2]), std::uint8_t(e[3])};
    }
    ASSERT_EQ(ops.ReadDevice(Device), 0);
    EXPECT_EQ(model.program().DstCount, DstEntries);
    EXPECT_NE(model.program().DstTable[DstEntries - 1], EmptyDstEntry);
}

// The search lists each time switch of the brand that answers, and goes on past the silent ones.
TEST_F(BusOperationsTest, ASearchListsTheTimeSwitchesOfTheBrandThatAnswer)
{
    BusEnvironment env{bus, pump, clock, model, prompter, dir.path(), BusTimings::fast()};
    QStringList checked;
    const BusSearchResult r = SearchBusDevices(env, 0, 1, 1, 4, 6, [&](const QString &t) { checked << t; });
    EXPECT_TRUE(r.ok()) << r.message.toStdString();
    EXPECT_EQ(r.found, QStringList{QStringLiteral("1.1.5")});
    EXPECT_EQ(checked.size(), 3);
    bus.memory[0x0105] = 0x33; // answers, but is no time switch of the brand
    EXPECT_TRUE(SearchBusDevices(env, 0, 1, 1, 5, 5).found.isEmpty());
}

// An operation's message names Reinstall exactly when it failed with the programming
// application left in the device.
TEST_F(BusOperationsTest, AFailureNamesReinstallOnlyWhileTheDeviceHoldsTheProgrammingApplication)
{
    fillBusProgram();
    BusEnvironment env{bus, pump, clock, model, prompter, dir.path(), BusTimings::fast()};
    const QString hint = QStringLiteral("choose \"Reinstall\"");
    const struct {
        const char *name;
        std::function<void()> arrange;
        int code;
        bool hinted;
    } cases[] = {{"sound", [] {}, 0, false},
                 {"foreign", [this] { bus.memory[0x0105] = 0x33; }, LinkError::WrongDeviceType, false},
                 {"busy",
                  [this] {
                      bus.memory[0x0105] = original[0x0105];
                      bus.busyAnswers = 100;
                  },
                  LinkError::TimeSwitchBusy, true}};
    for (const auto &c : cases) {
        c.arrange();
        const BusResult r = RunBusCommand(env, BusCommand::Program, 0, Device);
        EXPECT_EQ(r.code, c.code) << c.name;
        EXPECT_EQ(r.message.isEmpty(), c.code == 0) << c.name;
        EXPECT_EQ(r.message.contains(hint), c.hinted) << c.name << ": " << r.message.toStdString();
    }
}

// Interrupted half way through the install: nothing more is written, the connection to the
// device is ended and the link closed, and the message says what became of the device.
TEST_F(BusOperationsTest, AnInterruptedTransferDisconnectsClosesAndNamesReinstall)
{
    fillBusProgram();
    BusEnvironment env{bus, pump, clock, model, prompter, dir.path(), BusTimings::fast()};
    env.interrupted = [this] { return bus.memoryWrites.size() >= 5; };
    const BusResult r = RunBusCommand(env, BusCommand::Program, 0, Device);
    EXPECT_EQ(r.code, LinkError::Interrupted);
    EXPECT_TRUE(r.message.startsWith(QStringLiteral("The transfer was interrupted")))
        << r.message.toStdString();
    EXPECT_TRUE(r.message.contains(QStringLiteral("choose \"Reinstall\""))) << r.message.toStdString();
    EXPECT_EQ(bus.memoryWrites.size(), 5u);
    ASSERT_GE(bus.sent.size(), 2u);
    EXPECT_EQ(bus.sent[bus.sent.size() - 2], BusFrame::disconnect());
    EXPECT_EQ(bus.local[0x0116], 5);
    EXPECT_EQ(bus.closes, bus.installs);
}

TEST_F(BusOperationsTest, InstallWritesSingleBytesTheBlocksAndTheRestInOrder)
{
    ASSERT_EQ(link.OpenLink(0), 0);
    ASSERT_EQ(ops.InstallApplication(Device, QStringLiteral("remote.s19")), 0);
    std::vector<std::pair<int, int>> expected{{0x0100, 1}, {0x010D, 1}, {0x0116, 1}, {0x0104, 9}};
    for (int a = 0x0119; a <= 0x01F1; a += 8)
        expected.push_back({a, 8});
    expected.insert(expected.end(), {{0x01F9, 6}, {0x010E, 9}, {0x010D, 1}});
    EXPECT_EQ(expected.size(), 4u + 28u + 3u);
    EXPECT_EQ(bus.memoryWrites, expected);
    EXPECT_EQ(bus.memory[0x0104], 0x4E); // the brand's maker byte replaces the image's
    EXPECT_EQ(bus.memory[0x0119], 0x5A);
}

TEST_F(BusOperationsTest, AWriteThatDoesNotTakeStopsTheInstall)
{
    bus.refuseWritesAt = 0x0121;
    ASSERT_EQ(link.OpenLink(0), 0);
    EXPECT_EQ(ops.InstallApplication(Device, QStringLiteral("remote.s19")), LinkError::MemoryNotWritten);
    EXPECT_EQ(bus.memoryWrites.back().first, 0x0121);
    EXPECT_EQ(bus.bcuResets, 3); // opening, after the failed write, opening again
    EXPECT_TRUE(protocolText().contains(QStringLiteral("memory was not written 289:")));

    // When the link does not open again after the failed write, nothing more goes out on it.
    std::size_t sentWhenRefused = 0;
    bus.onInstall = [this, &sentWhenRefused, opened = bus.installs]() {
        if (bus.installs <= opened + 1)
            return 0;
        sentWhenRefused = bus.sent.size();
        return int(LinkError::NoBusAccess);
    };
    ASSERT_EQ(link.OpenLink(0), 0);
    EXPECT_EQ(ops.InstallApplication(Device, QStringLiteral("remote.s19")), LinkError::MemoryNotWritten);
    EXPECT_GT(sentWhenRefused, 0u);
    EXPECT_EQ(bus.sent.size(), sentWhenRefused);
}

struct TableCase {
    int entries;
    const char *header;      // the data of the header write
    const char *firstErased; // the data of the first erasure
};

class ChangeoverTables : public BusOperationsTest, public ::testing::WithParamInterface<TableCase> {};

// A program without entries writes an empty table: the device must not keep its old one.
TEST_P(ChangeoverTables, AreWrittenAsHeaderEntriesAndErasures)
{
    fillBusProgram();
    model.program().DstCount = GetParam().entries;
    ASSERT_EQ(ops.ProgramDevice(Device), 0);
    EXPECT_EQ(bus.commandCount(Mailbox::WriteChangeover), 1 + 20);
    EXPECT_EQ(bus.mailboxCommands.front().second, QByteArray::fromHex(GetParam().header));
    EXPECT_EQ(bus.mailboxCommands[GetParam().entries + 1].second,
              QByteArray::fromHex(GetParam().firstErased));
    EXPECT_EQ(bus.commandCount(Mailbox::DeleteProgram), 1);
    EXPECT_EQ(bus.commandCount(Mailbox::WriteRecord), 4);
    EXPECT_FALSE(link.isOpen());
    EXPECT_EQ(bus.local[0x0116], 5);
}

INSTANTIATE_TEST_SUITE_P(Program, ChangeoverTables,
                         ::testing::Values(TableCase{3, "001E000000", "04FFFFFFFF"}, // 2026 - 1996
                                           TableCase{0, "00FF000000", "01FFFFFFFF"}));

// The coupling unit stops confirming while the records go out: the operation ends within the
// link's own time-out, without polling or reconnecting any further.
TEST_F(BusOperationsTest, ACouplingUnitThatStopsMidTransferEndsItAtOnce)
{
    struct StopAtRecords final : BusProgress {
        FakeBus &bus;
        VirtualPump &pump;
        qint64 at = -1;
        StopAtRecords(FakeBus &b, VirtualPump &p) : bus(b), pump(p) {}
        void setStep(const QString &text) override
        {
            if (text == QStringLiteral("write switching programm ") && at < 0) {
                bus.confirmedSends = int(bus.sent.size()) + 5;
                at = pump.now;
            }
        }
        void setGauge(int, int) override {}
    } stop(bus, pump);
    BusOperations watched(link, model, BusIdentityOf(1), dir.path(), &stop, &prompter);
    fillBusProgram();
    EXPECT_EQ(watched.ProgramWithApplicationSwap(Device), LinkError::NoBusAccess);
    ASSERT_GE(stop.at, 0);
    // The unconfirmed frame, then the address table given back on closing: nothing else.
    EXPECT_LE(int(bus.sent.size()) - bus.confirmedSends, 2);
    EXPECT_LT(pump.now - stop.at, 3 * link.timings().localTimeoutMs);
    EXPECT_TRUE(watched.deviceHoldsProgramming());
}

TEST_F(BusOperationsTest, ProgramAndReadBackGiveTheSameProgram)
{
    fillBusProgram();
    model.FileNamed = 1;
    const ProgramSet written = model.program();
    ASSERT_EQ(ops.ProgramWithApplicationSwap(Device), 0) << protocolText().toStdString();
    // save, install, program, reinstall: each connection ended once
    EXPECT_EQ(framesWith(0x23), 4);
    EXPECT_EQ(framesWith(0x24), 4);
    // the device's own application is back, and the saved one is no longer the only copy
    EXPECT_FALSE(ops.deviceHoldsProgramming());
    EXPECT_FALSE(dir.read(QStringLiteral("appl.old.device")).contains("programming"));
    model.program().clear();
    model.recount(SetProgram);
    ASSERT_EQ(ops.ReadWithApplicationSwap(Device), 0);
    const ProgramSet &read = model.program();
    EXPECT_EQ(read.UsedCount, 4);
    EXPECT_EQ(read.DstCount, 3);
    EXPECT_EQ(read.DstFirstYear, written.DstFirstYear);
    EXPECT_EQ(read.DstTable, written.DstTable);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(read.Records[i], written.Records[i]);
    EXPECT_EQ(model.Modified, 1);
    EXPECT_EQ(model.FileNamed, 0) << "Save would put the device's program over the file opened before";
    // The device runs its own application again, and "appl.old" holds it.
    expectOwnApplication();
    QString error;
    const auto saved = LoadApplicationImage(dir.file(QStringLiteral("appl.old")), &error);
    ASSERT_TRUE(saved) << error.toStdString();
    EXPECT_EQ(saved->at(0x01FE), original[0x01FE]);

    // Without a saved application Reinstall ends before it reaches the device: no connection
    // is made or ended.
    ASSERT_TRUE(QFile::remove(dir.file(QStringLiteral("appl.old"))));
    const std::size_t sends = bus.sent.size();
    EXPECT_EQ(ops.Reinstall(Device), LinkError::RunTimeError);
    EXPECT_EQ(framesWith(0x23, sends) + framesWith(0x24, sends), 0);
}

// The note of whose application is saved cannot be written (a folder stands in its place):
// nothing is installed, and the device keeps its own application.
TEST_F(BusOperationsTest, AnOwnerNoteThatCannotBeWrittenInstallsNothing)
{
    ASSERT_TRUE(QDir(dir.path()).mkdir(QLatin1String(ApplicationImage::OwnerFile)));
    EXPECT_EQ(ops.ProgramWithApplicationSwap(Device), LinkError::RunTimeError);
    expectOwnApplication();
    EXPECT_TRUE(protocolText().contains(QLatin1String(ApplicationImage::OwnerFile)))
        << protocolText().toStdString();
}

// A device that refuses the install's very first write (stopping its BCU) still runs its own
// application, and the note of the saved copy says so.
TEST_F(BusOperationsTest, AnInstallRefusedAtItsFirstWriteLeavesTheDeviceItsOwn)
{
    bus.memory[0x0100] = 0;
    original = bus.memory;
    bus.refuseWritesAt = 0x0100;
    EXPECT_NE(ops.ProgramWithApplicationSwap(Device), 0);
    expectOwnApplication();
    const auto owner = ReadSavedApplicationOwner(dir.path());
    ASSERT_TRUE(owner);
    EXPECT_EQ(owner->address, Device);
    EXPECT_FALSE(owner->holdsProgramming);
}

TEST_F(BusOperationsTest, AFailedInstallLeavesTheSavedApplicationForReinstall)
{
    bus.refuseWritesAt = 0x01F9;
    EXPECT_EQ(ops.ProgramWithApplicationSwap(Device), LinkError::MemoryNotWritten);
    EXPECT_NE(bus.memory[0x0119], original[0x0119]);
    EXPECT_TRUE(dir.exists(QStringLiteral("appl.old")));

    // A second attempt finds the programming application in the device and keeps the
    // device's own application in "appl.old".
    const QByteArray saved = dir.read(QStringLiteral("appl.old"));
    bus.refuseWritesAt = -1;
    ASSERT_EQ(link.OpenLink(0), 0);
    QString error;
    const auto programming = LoadApplicationImage(dir.file(QStringLiteral("remote.s19")), &error);
    ASSERT_EQ(ops.SaveApplication(Device, &*programming), 0);
    link.CloseLink();
    EXPECT_EQ(dir.read(QStringLiteral("appl.old")), saved);

    ASSERT_EQ(ops.Reinstall(Device), 0);
    expectOwnApplication();
}

// The saved application of another device that got its own back is no longer the only copy:
// programming this device replaces it with this device's own.
TEST_F(BusOperationsTest, ASavedApplicationOfAnotherDeviceThatGotItsOwnBackIsReplaced)
{
    QString error;
    ASSERT_TRUE(WriteSavedApplicationOwner(dir.path(), {Device + 1, false}, &error));
    EXPECT_EQ(ops.ProgramWithApplicationSwap(Device), 0) << protocolText().toStdString();
    const auto owner = ReadSavedApplicationOwner(dir.path());
    ASSERT_TRUE(owner);
    EXPECT_EQ(owner->address, Device);
    EXPECT_FALSE(owner->holdsProgramming);
    expectOwnApplication();
}

// A write the device refused once is tried again: the install's next attempt succeeds.
TEST_F(BusOperationsTest, AnInstallTheDeviceRefusedOnceSucceedsOnItsNextAttempt)
{
    bus.refuseWritesAt = 0x01F9;
    bus.refusals = 1;
    EXPECT_EQ(ops.ProgramWithApplicationSwap(Device), 0) << protocolText().toStdString();
    EXPECT_EQ(bus.refusals, 0);
    expectOwnApplication();
}

// Without a saved copy of the device's own application nothing may overwrite it.
TEST_F(BusOperationsTest, AnApplicationThatCannotBeSavedStopsTheProgramming)
{
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("appl.old")));
    ASSERT_EQ(link.OpenLink(0), 0);
    EXPECT_EQ(ops.SaveApplication(Device, nullptr), LinkError::RunTimeError);
    link.CloseLink();
    EXPECT_EQ(ops.ProgramWithApplicationSwap(Device), LinkError::RunTimeError);
    EXPECT_TRUE(bus.memoryWrites.empty());
    EXPECT_TRUE(protocolText().contains(QStringLiteral("unknown Error: ")));
}

TEST_F(BusOperationsTest, AForeignDeviceIsNeverSavedNorOverwritten)
{
    bus.memory[0x0105] = 0x33;
    EXPECT_EQ(ops.ProgramWithApplicationSwap(Device), LinkError::WrongDeviceType);
    EXPECT_FALSE(dir.exists(QStringLiteral("appl.old")));
    EXPECT_TRUE(bus.memoryWrites.empty());
    // Nor is an application installed on it.
    ASSERT_EQ(link.OpenLink(0), 0);
    EXPECT_EQ(ops.InstallApplication(Device, QStringLiteral("remote.s19")), LinkError::WrongDeviceType);
    EXPECT_TRUE(bus.memoryWrites.empty());
    // Nor on one of the brand whose bus coupler has another mask version.
    bus.memory[0x0105] = original[0x0105];
    bus.mask = {0x00, 0x10};
    EXPECT_EQ(ops.InstallApplication(Device, QStringLiteral("remote.s19")), LinkError::WrongMaskVersion);
    EXPECT_TRUE(bus.memoryWrites.empty());
    EXPECT_EQ(ops.SaveApplication(Device, nullptr), LinkError::WrongMaskVersion);
    EXPECT_FALSE(dir.exists(QStringLiteral("appl.old")));
}

TEST_F(BusOperationsTest, AReadThatBreaksOffLeavesTheProgramInMemory)
{
    fillBusProgram();
    const ProgramSet before = model.program();
    bus.records = {{1, 2, 3, 4, 5, 6}};
    bus.busyAnswers = 100;
    ASSERT_EQ(ops.ReadDevice(Device), LinkError::TimeSwitchBusy);
    EXPECT_EQ(model.program().UsedCount, before.UsedCount);
    EXPECT_EQ(model.program().Records, before.Records);
    EXPECT_EQ(model.program().DstCount, 3);
}

TEST_F(BusOperationsTest, ATableRunsUpToItsFirstUnusedEntry)
{
    bus.changeoverHeader = 30;
    const DstEntry entry = EncodeChangeoverEntry({{29, 3, 2, 1}, {25, 10, 3, 1}});
    bus.changeover[0] = {std::uint8_t(entry[0]), std::uint8_t(entry[1]), std::uint8_t(entry[2]),
                         std::uint8_t(entry[3])};
    bus.changeover[1] = {0xF0, 0, 0, 0};
    bus.changeover[2] = bus.changeover[0];
    ASSERT_EQ(ops.ReadDevice(Device), 0);
    EXPECT_EQ(model.program().DstCount, 1);
    EXPECT_EQ(model.program().DstTable[2], EmptyDstEntry);

    bus.changeoverHeader = 255; // no table at all
    ASSERT_EQ(ops.ReadDevice(Device), 0);
    EXPECT_EQ(model.program().DstCount, 0);
    EXPECT_EQ(model.program().DstTable[0], EmptyDstEntry);
}

// The program read is the device's: the texts, program number and file stamp of the program
// open before do not stay with it.
TEST_F(BusOperationsTest, AReadKeepsNothingOfTheProgramOpenBefore)
{
    ProgramSet &p = model.program();
    p.UsageText = QStringLiteral("hall");
    p.ChannelNames[0] = QStringLiteral("Pump ");
    p.ProgramNumber = 4711;
    p.HeaderBytes[4] = 9;
    ASSERT_EQ(ops.ReadDevice(Device), 0);
    EXPECT_EQ(p.UsageText, QStringLiteral("unknown"));
    EXPECT_EQ(p.ChannelNames[0], QString());
    EXPECT_FALSE(p.hasProgramNumber());
    EXPECT_EQ(p.HeaderBytes[4], 0);
}

// A device that holds more records than the program has room for is read up to that room: the
// read stops there instead of asking on to the device's end.
TEST_F(BusOperationsTest, AReadStopsAtTheRecordCapacity)
{
    model.device.RecordCapacity = 5;
    for (int i = 0; i < 8; ++i)
        bus.records.push_back({std::uint8_t(i), 1, 0, 0, 0, 0});
    ASSERT_EQ(ops.ReadDevice(Device), 0);
    EXPECT_EQ(model.program().UsedCount, 5);
    EXPECT_EQ(model.program().Records[4].b0, 4);
    EXPECT_EQ(bus.commandCount(Mailbox::ReadNextRecord), 4);

    // A device that answers with records the program drops is asked no more often than the
    // most records any device holds.
    bus.records.assign(MaxRecords + 20, {92, 0, 0, 0, 0, 0});
    const int asked = bus.commandCount(Mailbox::ReadFirstRecord) + bus.commandCount(Mailbox::ReadNextRecord);
    ASSERT_EQ(ops.ReadDevice(Device), 0);
    EXPECT_EQ(model.program().UsedCount, 0);
    EXPECT_EQ(bus.commandCount(Mailbox::ReadFirstRecord) + bus.commandCount(Mailbox::ReadNextRecord) - asked,
              MaxRecords);
}

// What the loader would drop (b0 90..95, 218..255) is not read in either, and records on
// channels 5 to 8 make the program one of eight channels.
TEST_F(BusOperationsTest, AReadTakesWhatTheLoaderKeepsAndTheChannelsTheRecordsUse)
{
    model.device.BusDevice = 1;
    model.device.Kanalzahl = 4;
    SwitchingEntryValues e;
    e.hour = 6;
    e.weekdayMask = AllWeekdays;
    e.kind = EntryKind::Weekly;
    e.busChannel = 2;
    const ProgramRecord onTwo = EncodeSwitchingTime(e, 1);
    e.busChannel = 6;
    const ProgramRecord onSix = EncodeSwitchingTime(e, 1);
    auto bytes = [](const ProgramRecord &r) {
        return std::array<std::uint8_t, 6>{std::uint8_t(r.b0), std::uint8_t(r.b1), std::uint8_t(r.b2),
                                           std::uint8_t(r.b3), std::uint8_t(r.b4), std::uint8_t(r.b5)};
    };
    bus.records = {bytes(onTwo), {92, 0, 0, 0, 0, 0}, {218, 0, 0, 0, 0, 0}, {255, 1, 0, 0, 0, 0}};
    ASSERT_EQ(ops.ReadDevice(Device), 0);
    EXPECT_EQ(model.program().UsedCount, 1);
    EXPECT_EQ(model.device.Kanalzahl, 4);

    bus.records.push_back(bytes(onSix));
    ASSERT_EQ(ops.ReadDevice(Device), 0);
    EXPECT_EQ(model.program().UsedCount, 2);
    EXPECT_EQ(model.device.Kanalzahl, 8);
}

// Device A breaks off holding the programming application: "appl.old" is A's only copy, so
// neither a Program of B nor a Reinstall of B may touch it; Reinstall of A gives it back.
TEST_F(BusOperationsTest, TheSavedApplicationStaysWithTheDeviceItBelongsTo)
{
    const int other = PackPhysicalAddress(1, 1, 7);
    fillBusProgram();
    bus.busyAnswers = 100;
    ASSERT_EQ(ops.ProgramWithApplicationSwap(Device), LinkError::TimeSwitchBusy);
    EXPECT_TRUE(ops.deviceHoldsProgramming());
    EXPECT_EQ(dir.read(QStringLiteral("appl.old.device")), QByteArray("1.1.5 programming\r\n"));
    const QByteArray saved = dir.read(QStringLiteral("appl.old"));

    bus.busyAnswers = 0;
    bus.deviceAddress = other;
    const std::size_t sends = bus.sent.size();
    EXPECT_EQ(ops.ProgramWithApplicationSwap(other), LinkError::RunTimeError);
    EXPECT_EQ(ops.runTimeText(), QStringLiteral("The saved application \"appl.old\" belongs to device 1.1.5, "
                                                "which still holds the programming application. Choose "
                                                "\"Reinstall\" for 1.1.5 first."));
    EXPECT_EQ(ops.Reinstall(other), LinkError::RunTimeError);
    EXPECT_EQ(bus.sent.size(), sends); // refused before the bus was touched
    EXPECT_EQ(dir.read(QStringLiteral("appl.old")), saved);

    bus.deviceAddress = Device;
    ASSERT_EQ(ops.Reinstall(Device), 0);
    expectOwnApplication();
    EXPECT_EQ(dir.read(QStringLiteral("appl.old.device")), QByteArray("1.1.5 own\r\n"));

    // B turns out to hold the programming application (its own is lost already): A's saved
    // application must not become B's.
    QString error;
    const auto programming = LoadApplicationImage(dir.file(QStringLiteral("remote.s19")), &error);
    ASSERT_TRUE(programming) << error.toStdString();
    for (int a = 0x0105; a <= 0x010C; ++a)
        bus.memory[a] = programming->at(a);
    bus.deviceAddress = other;
    bus.memoryWrites.clear();
    EXPECT_EQ(ops.ProgramWithApplicationSwap(other), LinkError::RunTimeError);
    EXPECT_TRUE(ops.runTimeText().contains(QStringLiteral("1.1.7"))) << ops.runTimeText().toStdString();
    EXPECT_TRUE(bus.memoryWrites.empty());
    EXPECT_EQ(dir.read(QStringLiteral("appl.old")), saved);
    EXPECT_EQ(dir.read(QStringLiteral("appl.old.device")), QByteArray("1.1.5 own\r\n"));
}

// The time switch takes a "next record" or "write record" but its answer is lost: the command
// may have acted twice, so the records go again from the first; no record is doubled or lost.
TEST_F(BusOperationsTest, ALostAnswerToARecordCommandStartsTheRecordsAgain)
{
    fillBusProgram();
    bus.loseAnswerAfter = Mailbox::WriteRecord;
    ASSERT_EQ(ops.ProgramDevice(Device), 0) << protocolText().toStdString();
    EXPECT_EQ(bus.commandCount(Mailbox::DeleteProgram), 2);
    ASSERT_EQ(bus.records.size(), 4u);

    const ProgramSet written = model.program();
    bus.loseAnswerAfter = Mailbox::ReadNextRecord;
    ASSERT_EQ(ops.ReadDevice(Device), 0);
    EXPECT_EQ(bus.commandCount(Mailbox::ReadFirstRecord), 2);
    ASSERT_EQ(model.program().UsedCount, 4);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(model.program().Records[i], written.Records[i]) << i;
}

struct RestartCase {
    int command; // the mailbox command whose answer is lost
    int losses;
    int expected;
};

class RecordRestarts : public BusOperationsTest, public ::testing::WithParamInterface<RestartCase> {};

// The records start again from the first after each lost answer, three times at the most; a
// device that loses a fourth answer is given up rather than asked for ever.
TEST_P(RecordRestarts, AreGivenUpAfterTheThird)
{
    fillBusProgram();
    const bool write = GetParam().command == Mailbox::WriteRecord;
    if (!write) {
        ASSERT_EQ(ops.ProgramDevice(Device), 0);
    }
    const int firsts = bus.commandCount(write ? Mailbox::DeleteProgram : Mailbox::ReadFirstRecord);
    bus.loseAnswerAfter = GetParam().command;
    bus.losses = GetParam().losses;
    EXPECT_EQ(write ? ops.ProgramDevice(Device) : ops.ReadDevice(Device), GetParam().expected);
    EXPECT_EQ(bus.commandCount(write ? Mailbox::DeleteProgram : Mailbox::ReadFirstRecord) - firsts,
              std::min(GetParam().losses, 3) + 1);
    EXPECT_FALSE(link.isOpen());
}

INSTANTIATE_TEST_SUITE_P(Limit, RecordRestarts,
                         ::testing::Values(RestartCase{Mailbox::WriteRecord, 3, 0},
                                           RestartCase{Mailbox::WriteRecord, 4, LinkError::NoValidData},
                                           RestartCase{Mailbox::ReadNextRecord, 3, 0},
                                           RestartCase{Mailbox::ReadNextRecord, 4, LinkError::NoValidData}));

TEST(MailboxRequest, IsPaddedToNineBytes)
{
    EXPECT_EQ(Mailbox::request(Mailbox::DeleteProgram, {}), QByteArray::fromHex("0101E5000000000000"));
    EXPECT_EQ(Mailbox::request(Mailbox::WriteRecord, QByteArray::fromHex("112233445566")),
              QByteArray::fromHex("0107E0112233445566"));
}

} // namespace
} // namespace zx::test
