#include "bus/Ft12Link.h"
#include "bus/Ft12BusLibrary.h"
#include "bus/Ft12Frame.h"

#include "core/transfer/SerialFakes.h"

#include <gtest/gtest.h>

#include <utility>

namespace zx::test {
namespace {

QByteArray hex(const char *text)
{
    return QByteArray::fromHex(text);
}

TEST(Ft12Frames, FixedAndVariableFramesCarryTheirChecksum)
{
    EXPECT_EQ(Ft12::fixedFrame(Ft12::ResetControl), hex("10404016"));
    // 73: user data with the frame-count bit; sum 73 + 4C + 01 + 01 + 16 = D7.
    EXPECT_EQ(Ft12::userDataFrame(true, hex("4C010116")), hex("6805056873"
                                                              "4C010116"
                                                              "D716"));
    EXPECT_EQ(Ft12::userDataFrame(false, hex("24")).at(4), char(0x53));
}

struct ReaderCase {
    const char *name;
    QByteArray input;
    int acks;
    int frames;
};

class Ft12ReaderTable : public ::testing::TestWithParam<ReaderCase> {};

TEST_P(Ft12ReaderTable, HandsOnOnlyWhatPassesEveryCheck)
{
    Ft12Reader reader;
    int acks = 0, frames = 0;
    // Fed one byte at a time: answers arrive in pieces.
    for (char c : GetParam().input) {
        reader.feed(QByteArray(1, c));
        while (auto e = reader.next())
            e->kind == Ft12Event::Kind::Ack ? ++acks : ++frames;
    }
    EXPECT_EQ(acks, GetParam().acks);
    EXPECT_EQ(frames, GetParam().frames);
}

const QByteArray good = Ft12::variableFrame(0xF3, hex("4B01011605"));

INSTANTIATE_TEST_SUITE_P(
    Input, Ft12ReaderTable,
    ::testing::Values(
        ReaderCase{"ackAndFrame", QByteArray("\xE5") + good, 1, 1},
        ReaderCase{"noiseBefore", hex("00FF1216") + good, 0, 1},
        ReaderCase{"brokenChecksum", good.left(good.size() - 2) + hex("0016") + good, 0, 1},
        ReaderCase{"lengthsDisagree", hex("68050668F3") + good, 0, 1},
        ReaderCase{"missingEnd", good.left(good.size() - 1) + hex("17") + good, 0, 1},
        ReaderCase{"fixedFrame", hex("10C0C016") + hex("10C0C116"), 0, 1},
        ReaderCase{"tooLong", hex("68FFFF68") + good, 0, 1},
        // The length counts the control byte and up to MaxUserData bytes of data.
        ReaderCase{"controlOnly", Ft12::variableFrame(0xF3, {}), 0, 1},
        ReaderCase{"zeroLength", hex("680000680016") + good, 0, 1},
        ReaderCase{"longest", Ft12::variableFrame(0xF3, QByteArray(Ft12::MaxUserData, 1)), 0, 1},
        ReaderCase{"oneBeyondLongest", Ft12::variableFrame(0xF3, QByteArray(Ft12::MaxUserData + 1, 1)) + good,
                   0, 1}),
    [](const auto &info) { return std::string(info.param.name); });

// A header that fails its check is dropped as soon as its four bytes are in, not when the next
// byte comes: the link counts it as lost at once.
TEST(Ft12Reader, ABadHeaderIsDroppedOnceComplete)
{
    for (const QByteArray &header : {hex("68050616"), hex("10C0C116")}) {
        Ft12Reader reader;
        for (char c : header) {
            reader.feed(QByteArray(1, c));
            EXPECT_FALSE(reader.next());
        }
        EXPECT_EQ(reader.skipped(), 4) << header.toHex().toStdString();
    }
}

class Ft12LinkTest : public ::testing::Test {
  protected:
    VirtualPump pump;
    ScriptedSerialPort port{pump};
    Ft12Link link{port, pump};
    void SetUp() override
    {
        QString error;
        ASSERT_TRUE(link.open(QStringLiteral("/dev/bcu"), &error));
        link.setRepeatMs(100);
    }
    void runFor(int ms)
    {
        for (qint64 end = pump.now + ms; pump.now < end; pump.processEvents())
            link.poll();
    }
};

TEST_F(Ft12LinkTest, AFrameUnconfirmedAfterThreeRepetitionsIsGivenUpAndTheLinkReset)
{
    ASSERT_TRUE(link.queue(hex("24")));
    ASSERT_TRUE(link.queue(hex("4C010116")));
    runFor(1000);
    // The frame four times, then the reset four times; the reset is given up too, and the
    // frame behind them goes out only after it.
    ASSERT_GE(port.requests.size(), 9u);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(port.requests[i], port.requests.front());
    for (int i = 4; i < 8; ++i)
        EXPECT_EQ(port.requests[i], hex("10404016"));
    EXPECT_EQ(std::uint8_t(port.requests[8].at(5)), 0x4C);
    EXPECT_EQ(link.takeUnconfirmed(), 2);
    EXPECT_EQ(link.takeUnconfirmed(), 0);
}

TEST(Ft12BusLibrary, AGivenUpFrameEndsTheSendWithNotConfirmed)
{
    VirtualPump pump;
    ScriptedSerialPort port(pump);
    Ft12BusLibrary library(port, pump, [](int) { return QStringLiteral("/dev/bcu"); });
    ASSERT_EQ(library.install(0, 9600, 2000, 100, 0), 0);
    ASSERT_EQ(library.send(hex("0624000000000000")), 0);
    int queued = 0, repeats = 0, busy = 1, status = 0;
    for (int i = 0; i < 2000 && status == 0 && busy; ++i, pump.processEvents())
        status = library.pollSend(queued, repeats, busy);
    EXPECT_EQ(status, BusLibrary::NotConfirmed);
    EXPECT_LE(pump.now, 4 * 100 + 10);
    EXPECT_TRUE(library.lastErrorText().contains(QStringLiteral("3 repetitions")));
}

struct InstallCase {
    int portIndex;
    int baud;
    int expected;
};

class Ft12Install : public ::testing::TestWithParam<InstallCase> {};

// The transport serves COM1 and COM2 at 9600 baud only; anything else is refused before a port
// is opened.
TEST_P(Ft12Install, ServesTwoPortsAtOneRate)
{
    VirtualPump pump;
    ScriptedSerialPort port(pump);
    Ft12BusLibrary library(port, pump, [](int com) { return QStringLiteral("/dev/com%1").arg(com + 1); });
    EXPECT_EQ(library.install(GetParam().portIndex, GetParam().baud, 2000, 100, 0), GetParam().expected);
    EXPECT_EQ(port.opens, GetParam().expected == Ft12BusLibrary::Ok ? 1 : 0);
}

INSTANTIATE_TEST_SUITE_P(Ports, Ft12Install,
                         ::testing::Values(InstallCase{0, 9600, Ft12BusLibrary::Ok},
                                           InstallCase{1, 9600, Ft12BusLibrary::Ok},
                                           InstallCase{-1, 9600, Ft12BusLibrary::BadArgument},
                                           InstallCase{2, 9600, Ft12BusLibrary::BadArgument},
                                           InstallCase{0, 4800, Ft12BusLibrary::BadArgument},
                                           InstallCase{1, 19200, Ft12BusLibrary::BadArgument}));

// A port that fails stays failed: every later call reports it, naming the device, until the
// transport is installed again.
TEST(Ft12BusLibrary, APortThatFailsStaysFailedUntilInstalledAgain)
{
    VirtualPump pump;
    ScriptedSerialPort port(pump);
    Ft12BusLibrary library(port, pump, [](int) { return QStringLiteral("/dev/bcu"); });
    port.openError = QStringLiteral("no such device");
    EXPECT_EQ(library.install(0, 9600, 2000, 100, 0), Ft12BusLibrary::PortNotOpened);
    EXPECT_EQ(library.lastErrorText(), QStringLiteral("/dev/bcu: no such device"));
    BusLibrary::FetchBuffer buffer{};
    EXPECT_EQ(library.fetch(buffer), Ft12BusLibrary::NotInstalled);
    EXPECT_EQ(library.resetTransport(), Ft12BusLibrary::NotInstalled);

    port.openError.clear();
    ASSERT_EQ(library.install(0, 9600, 2000, 100, 0), Ft12BusLibrary::Ok);
    port.writeError = QStringLiteral("input/output error");
    EXPECT_EQ(library.send(hex("0624000000000000")), Ft12BusLibrary::PortFailed);
    EXPECT_EQ(library.lastErrorText(), QStringLiteral("/dev/bcu: input/output error"));
    port.writeError.clear();
    int queued = 0, repeats = 0, busy = 0;
    EXPECT_EQ(library.pollSend(queued, repeats, busy), Ft12BusLibrary::PortFailed);
    EXPECT_EQ(library.fetch(buffer), Ft12BusLibrary::PortFailed);
    EXPECT_EQ(library.resetLocalBcu(), Ft12BusLibrary::PortFailed);

    ASSERT_EQ(library.install(0, 9600, 2000, 100, 0), Ft12BusLibrary::Ok);
    EXPECT_EQ(library.send(hex("0624000000000000")), Ft12BusLibrary::Ok);
}

TEST_F(Ft12LinkTest, AcknowledgedFramesToggleTheFrameCountBit)
{
    port.responder = [](const QByteArray &) { return Reply{{2, QByteArray("\xE5")}}; };
    link.reset();
    ASSERT_TRUE(link.queue(hex("24")));
    ASSERT_TRUE(link.queue(hex("24")));
    runFor(50);
    ASSERT_EQ(port.requests.size(), 3u);
    EXPECT_EQ(port.requests[0], hex("10404016"));
    EXPECT_EQ(std::uint8_t(port.requests[1].at(4)), 0x73);
    EXPECT_EQ(std::uint8_t(port.requests[2].at(4)), 0x53);
    EXPECT_EQ(link.pending(), 0);
}

TEST_F(Ft12LinkTest, ARepeatedFrameFromTheBcuIsAcknowledgedButTakenOnce)
{
    const QByteArray frame = Ft12::variableFrame(0xF3, hex("4B01011605"));
    // The BCU misses the first acknowledgement and sends its frame again.
    port.responder = [&](const QByteArray &r) {
        return r.size() > 1 ? Reply{{1, frame}, {1, frame}} : Reply{};
    };
    ASSERT_TRUE(link.queue(hex("24")));
    runFor(20);
    ASSERT_TRUE(link.takeReceived());
    EXPECT_FALSE(link.takeReceived());
    EXPECT_EQ(std::count(port.requests.begin(), port.requests.end(), QByteArray("\xE5")), 2);
}

// A frame that comes in pieces, with pauses shorter than the gap between frames, is one frame.
TEST_F(Ft12LinkTest, AFrameInPiecesWithShortPausesIsOneFrame)
{
    const QByteArray frame = Ft12::variableFrame(0xF3, hex("4B01011605"));
    port.responder = [&](const QByteArray &r) {
        return r.size() > 1 ? Reply{{1, frame.left(3)}, {30, frame.mid(3, 4)}, {60, frame.mid(7)}} : Reply{};
    };
    ASSERT_TRUE(link.queue(hex("24")));
    runFor(95);
    EXPECT_TRUE(link.takeReceived());
}

// The start of a frame that never ends (a header announcing 32 bytes) is dropped once the line
// stays quiet for longer than the gap between frames: the BCU's next frame still counts.
TEST_F(Ft12LinkTest, ABrokenFrameIsDroppedAfterTheGap)
{
    const QByteArray frame = Ft12::variableFrame(0xF3, hex("4B01011605"));
    bool answered = false;
    port.responder = [&](const QByteArray &r) {
        if (r.size() < 2 || std::exchange(answered, true))
            return Reply{};
        return Reply{{1, hex("68202068")}, {250, frame}};
    };
    ASSERT_TRUE(link.queue(hex("24")));
    runFor(500);
    EXPECT_TRUE(link.takeReceived());
}

// A fixed frame from the BCU is acknowledged; our own frame echoed back by the line is not.
TEST_F(Ft12LinkTest, OnlyTheBcusFixedFramesAreAcknowledged)
{
    bool answered = false;
    port.responder = [&](const QByteArray &r) {
        if (r.size() < 2 || std::exchange(answered, true))
            return Reply{};
        const QByteArray fromBcu = Ft12::fixedFrame(Ft12::ResetControl | Ft12::DirFromBcu);
        return Reply{
            {1, QByteArray("\xE5")}, {2, fromBcu}, {3, Ft12::fixedFrame(Ft12::ResetControl)}, {4, fromBcu}};
    };
    ASSERT_TRUE(link.queue(hex("24")));
    runFor(20);
    EXPECT_EQ(std::count(port.requests.begin(), port.requests.end(), QByteArray("\xE5")), 2);
}

// The poll that meets a failure reports it: an acknowledgement that cannot be written, a port
// that closed.
TEST_F(Ft12LinkTest, ThePollThatMeetsAFailureReportsIt)
{
    const QByteArray frame = Ft12::variableFrame(0xF3, hex("4B01011605"));
    port.responder = [&](const QByteArray &r) {
        return r.size() > 1 ? Reply{{1, QByteArray("\xE5")}, {2, frame}} : Reply{};
    };
    ASSERT_TRUE(link.queue(hex("24")));
    ASSERT_TRUE(link.poll());
    port.writeError = QStringLiteral("input/output error");
    pump.pauseMs(5); // the acknowledgement and the BCU's frame are in
    EXPECT_FALSE(link.poll());
    EXPECT_EQ(link.errorText(), QStringLiteral("input/output error"));

    QString error;
    port.writeError.clear();
    ASSERT_TRUE(link.open(QStringLiteral("/dev/bcu"), &error));
    ASSERT_TRUE(link.poll());
    port.close();
    EXPECT_FALSE(link.poll());
    EXPECT_EQ(link.errorText(), QStringLiteral("port not open"));
}

TEST(Ft12BusLibrary, AFetchedFrameGetsItsLengthByteBack)
{
    VirtualPump pump;
    ScriptedSerialPort port(pump);
    port.responder = [](const QByteArray &request) {
        if (request.size() < 5)
            return Reply{};
        return Reply{{1, QByteArray("\xE5")}, {2, Ft12::variableFrame(0xF3, hex("4B01011605"))}};
    };
    Ft12BusLibrary library(port, pump, [](int com) { return QStringLiteral("/dev/com%1").arg(com + 1); });
    ASSERT_EQ(library.install(1, 9600, 2000, 500, 0), 0);
    EXPECT_EQ(port.openedDevice, QStringLiteral("/dev/com2"));
    ASSERT_EQ(library.send(hex("044C010116")), 0);
    int queued = 0, repeats = 0, busy = 1;
    for (int i = 0; i < 10 && busy; ++i, pump.processEvents())
        ASSERT_EQ(library.pollSend(queued, repeats, busy), 0);
    EXPECT_EQ(busy, 0);
    BusLibrary::FetchBuffer buffer{};
    for (int i = 0; i < 10 && buffer[0] == 0; ++i, pump.processEvents())
        ASSERT_EQ(library.fetch(buffer), 0);
    EXPECT_EQ(QByteArray(reinterpret_cast<const char *>(buffer.data()), 6), hex("054B01011605"));
    EXPECT_EQ(library.send(QByteArray(45, '\x21')), Ft12BusLibrary::BadFrame);
    library.close();
    EXPECT_EQ(library.fetch(buffer), Ft12BusLibrary::NotInstalled);
}

} // namespace
} // namespace zx::test
