#include "bus/BusLink.h"

#include "BusFakes.h"
#include "bus/ProtocolFile.h"
#include "core/transfer/SerialFakes.h"
#include "i18n/Catalogue.h"
#include "platform/Clock.h"
#include "support/TempDir.h"

#include <QRegularExpression>

#include <gtest/gtest.h>

namespace zx::test {
namespace {

QByteArray hex(const char *text)
{
    return QByteArray::fromHex(text);
}

struct FrameCase {
    const char *name;
    QByteArray frame;
    const char *expected;
};

class BusFrames : public ::testing::TestWithParam<FrameCase> {};

TEST_P(BusFrames, CarryTheirBytes)
{
    EXPECT_EQ(GetParam().frame.toHex(' '), hex(GetParam().expected).toHex(' '));
}

INSTANTIATE_TEST_SUITE_P(
    Link, BusFrames,
    ::testing::Values(FrameCase{"readTableLength", BusFrame::readLocalMemory(0x0116, 1), "044C010116"},
                      FrameCase{"writeTableLength", BusFrame::writeLocalMemory(0x0116, hex("01")),
                                "0546010116"
                                "01"},
                      FrameCase{"connect115", BusFrame::connect(0x1105), "06230000001105"},
                      FrameCase{"disconnect", BusFrame::disconnect(), "06240000000000"},
                      FrameCase{"memoryReadOnConnection", BusFrame::dataOnConnection(hex("020301 04")),
                                "0B2100000000000302030104"},
                      // 28 bytes after the length byte: the length is kept modulo 32.
                      FrameCase{"longLocalWrite",
                                BusFrame::writeLocalMemory(0x0100, QByteArray(28, '\x11')).left(2), "0046"}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(HexBytes, BlankAndUpperCaseWithoutLeadingZero)
{
    EXPECT_EQ(HexBytes(hex("062300")), QStringLiteral(" 6 23 0"));
    EXPECT_EQ(HexBytes(hex("064CFF01"), 1, 2), QStringLiteral(" 4C FF"));
    EXPECT_EQ(HexBytes(hex("064CFF01"), 2), QStringLiteral(" FF 1"));
    EXPECT_EQ(HexBytes(QByteArray()), QString());
}

TEST(LinkErrorMessage, EveryCodeHasItsText)
{
    Catalogue c;
    const QString details = QStringLiteral(" For details see file: 'protocol.txt'");
    const std::vector<std::pair<int, QString>> expected = {
        {101, QStringLiteral(" *** time switch busy ") + details},
        {102, QStringLiteral(" *** no answer from the time switch") + details},
        {103, QStringLiteral(" *** wrong telegramm lenth ") + details},
        {104, QStringLiteral(" *** no valid data received") + details},
        {105, QStringLiteral("no connection to the EIB ") + details},
        {106, QStringLiteral("no connection to the bus device ") + details},
        {107, QStringLiteral("no bus access via COM 2")},
        {108, QStringLiteral("connecting device : ")},
        {109, QStringLiteral("no mask response received")},
        {110, QStringLiteral("wrong mask version")},
        {111, QStringLiteral("answer from a wrong device")},
        {112, QStringLiteral("memory was not written")},
        {113, QStringLiteral("wrong device typ")},
        {0, QStringLiteral("unknown Error: disk full")},
        {203, QStringLiteral("unknown Error: 203") + details},
    };
    for (const auto &[code, text] : expected)
        EXPECT_EQ(LinkErrorMessage(c, code, 1, QStringLiteral("disk full")), text) << code;
}

class BusLinkTest : public ::testing::Test {
  protected:
    QStringList protocolLines()
    {
        protocol.close();
        return QString::fromUtf8(dir.read(QStringLiteral("protocol.txt")))
            .split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    }

    TempDir dir;
    FakeBus bus;
    VirtualPump pump;
    FixedClock clock{QDateTime(QDate(2026, 3, 2), QTime(10, 0))};
    Catalogue catalogue;
    ProtocolFile protocol;
    BusTimings timings = [] {
        BusTimings t;
        t.pollsPerTurn = 10;
        return t;
    }();
    BusLink link{bus, pump, clock, catalogue, protocol, timings};

    void SetUp() override { ASSERT_TRUE(protocol.recreate(dir.path())); }
};

TEST_F(BusLinkTest, OpeningCutsTheAddressTableAndClosingRestoresIt)
{
    ASSERT_EQ(link.OpenLink(0), 0);
    EXPECT_EQ(bus.local[0x0116], 1);
    EXPECT_EQ(link.CloseLink(), 0);
    EXPECT_EQ(bus.local[0x0116], 5);
    EXPECT_EQ(bus.closes, 1);
    const QStringList lines = protocolLines();
    EXPECT_EQ(lines.mid(0, 6), (QStringList{"install AST", "reset AST", "reset local BCU", "change layer",
                                            "read adresstable lenth", "wait for adresstable lenth"}));
    EXPECT_TRUE(lines.contains(QStringLiteral("send to local BCU 4 4C 1 1 16")));
    EXPECT_TRUE(lines.contains(QStringLiteral("set Adresstable lenth to : 1")));
    EXPECT_EQ(lines.last(), QStringLiteral("send to local BCU 5 46 1 1 16 5"));
}

TEST_F(BusLinkTest, AResetOfTheLocalBcuNamesAnErrorOnlyWhenItFails)
{
    ASSERT_EQ(link.OpenLink(0), 0);
    EXPECT_EQ(link.ResetLocalBcu(), 0);
    bus.resetStatus = LinkError::NoBusAccess;
    EXPECT_EQ(link.ResetLocalBcu(), LinkError::NoBusAccess);
    const QStringList lines = protocolLines();
    EXPECT_EQ(lines.count(QStringLiteral(" *** Error while : reset local BCU")), 1);
    EXPECT_EQ(lines.last(), QStringLiteral(" *** Error while : reset local BCU"));
}

TEST_F(BusLinkTest, AnEmptyAddressTableIsNeitherCutNorRestored)
{
    bus.local[0x0116] = 0;
    ASSERT_EQ(link.OpenLink(0), 0);
    EXPECT_EQ(link.CloseLink(), 0);
    EXPECT_EQ(bus.sent.size(), 1u); // the read of the length alone
    EXPECT_FALSE(protocolLines().join('\n').contains(QStringLiteral("set Adresstable")));
}

TEST_F(BusLinkTest, ABcuThatNeverConfirmsGives107AfterTheTimer)
{
    bus.bcuConfirms = false;
    EXPECT_EQ(link.OpenLink(1), LinkError::NoBusAccess);
    EXPECT_GE(pump.now, timings.localTimeoutMs);
    EXPECT_LT(pump.now, timings.localTimeoutMs + 50);
    const QStringList lines = protocolLines();
    EXPECT_TRUE(lines.contains(QStringLiteral(" *** Timeout while: send telegramm 107")));
    EXPECT_EQ(lines.last(), QStringLiteral(" *** Error while : read adresstable lenth"));
    // A link that failed half way is closed, and nothing later takes it for open.
    EXPECT_FALSE(link.isOpen());
    EXPECT_EQ(bus.closes, 1);
}

TEST_F(BusLinkTest, ASilentDeviceGives106AndTheAnswerIsParsed)
{
    ASSERT_EQ(link.OpenLink(0), 0);
    ASSERT_EQ(link.Connect(0x1105), 0);
    EXPECT_EQ(bus.local[0x010D], 0xFF);
    ASSERT_EQ(link.SendOnConnection(hex("0300")), 0);
    int source = 0;
    QByteArray data;
    ASSERT_EQ(link.ReceiveFromDevice(&source, &data), 0);
    EXPECT_EQ(source, 0x1105);
    EXPECT_EQ(data, hex("03400012"));

    bus.deviceAnswers = false;
    ASSERT_EQ(link.SendOnConnection(hex("0300")), 0);
    EXPECT_EQ(link.ReceiveFromDevice(&source, &data), LinkError::NoConnectionToDevice);
    EXPECT_EQ(protocolLines().last(), QStringLiteral(" *** Timeout while: waiting for answer "));
}

TEST_F(BusLinkTest, EveryWaitEndsAtItsDeadlineWhateverArrives)
{
    ASSERT_EQ(link.OpenLink(0), 0);
    ASSERT_EQ(link.Connect(0x1105), 0);
    bus.babble = true; // local answers for another address, without end
    QByteArray data;
    EXPECT_EQ(link.ReadLocalMemory(0x0116, 1, &data), LinkError::NoConnectionToEib);
    EXPECT_LT(pump.now, 2 * timings.localTimeoutMs + 100);
    const qint64 before = pump.now;
    int source = 0;
    EXPECT_EQ(link.ReceiveFromDevice(&source, &data), LinkError::NoConnectionToDevice);
    EXPECT_LT(pump.now - before, timings.remoteTimeoutMs + 100);
    // Thousands of frames went by; the protocol names the first eight of each wait, then says
    // once that it ignores the rest.
    const QStringList lines = protocolLines();
    EXPECT_LT(lines.size(), 40);
    EXPECT_EQ(lines.filter(QRegularExpression(QStringLiteral("^  ignored: "))).size(), 2 * 8);
    EXPECT_EQ(lines.filter(QStringLiteral("ignoring further frames")).size(), 2);
}

// Every wait of an operation keeps the library serving its far end (a tunnel's acknowledgements
// are due within a second, the device may take five), and ends early when the user interrupts;
// after that no step starts, but the connection and the link are still closed.
TEST_F(BusLinkTest, WaitsServeTheLibraryAndAnInterruptionLeavesOnlyTheClosing)
{
    ASSERT_EQ(link.OpenLink(0), 0);
    ASSERT_EQ(link.Connect(0x1105), 0);
    const qint64 before = pump.now;
    link.WaitMs(5000);
    EXPECT_EQ(pump.now - before, 5000);
    EXPECT_GE(bus.keepAlives, 5000 / 10);
    const qint64 interruptAt = pump.now + 300;
    link.setInterruptCheck([&] { return pump.now >= interruptAt; });
    link.Pause(1000);
    EXPECT_LT(pump.now, interruptAt + 20);
    const std::size_t sentBefore = bus.sent.size();
    EXPECT_EQ(link.SendOnConnection(hex("0300")), LinkError::Interrupted);
    int source = 0;
    QByteArray data;
    EXPECT_EQ(link.ReceiveFromDevice(&source, &data), LinkError::Interrupted);
    EXPECT_EQ(link.OpenLink(0), LinkError::Interrupted);
    EXPECT_EQ(bus.sent.size(), sentBefore);
    EXPECT_EQ(link.Disconnect(), 0);
    EXPECT_EQ(link.CloseLink(), 0);
    ASSERT_EQ(bus.sent.size(), sentBefore + 2);
    EXPECT_EQ(bus.sent[sentBefore], BusFrame::disconnect());
    EXPECT_EQ(bus.local[0x0116], 5); // the address table given back
}

TEST_F(BusLinkTest, AShortLocalAnswerIsRefusedBeforeItsFieldsAreRead)
{
    ASSERT_EQ(link.OpenLink(0), 0);
    bus.inject(hex("014B"));
    QByteArray data;
    EXPECT_EQ(link.ReadLocalMemory(0x0116, 1, &data), LinkError::WrongTelegramLength);
}

TEST(LinkErrorMessage, NamesThePortAsTheUserGaveIt)
{
    Catalogue c;
    EXPECT_EQ(LinkErrorMessage(c, 107, 0, QStringLiteral("/dev/ttyUSB0"), {}),
              QStringLiteral("no bus access via /dev/ttyUSB0"));
    EXPECT_EQ(LinkErrorMessage(c, 107, 1, QString(), {}), QStringLiteral("no bus access via COM 2"));
}

TEST(ProtocolFile, StopsGrowingAtItsLimit)
{
    TempDir dir;
    ProtocolFile protocol;
    ASSERT_TRUE(protocol.recreate(dir.path()));
    protocol.setLimit(100);
    for (int i = 0; i < 50; ++i)
        protocol.line(QStringLiteral("send to local BCU 4 4C 1 1 16"));
    protocol.close();
    const QByteArray text = dir.read(QStringLiteral("protocol.txt"));
    EXPECT_LE(text.size(), 100 + 64);
    EXPECT_TRUE(text.endsWith("cut off here: it reached its limit\r\n"));
}

// The BCU's answer names how many bytes it carries; an answer cut short is refused, not read
// as a shorter value.
TEST_F(BusLinkTest, ALocalAnswerShorterThanItsCountGives103)
{
    ASSERT_EQ(link.OpenLink(0), 0);
    QByteArray data;
    bus.shortenLocalAnswers = 1;
    EXPECT_EQ(link.ReadLocalMemory(0x0104, 3, &data), LinkError::WrongTelegramLength);
    bus.shortenLocalAnswers = 0;
    ASSERT_EQ(link.ReadLocalMemory(0x0104, 3, &data), 0);
    EXPECT_EQ(data.size(), 3);
}

// A frame's first byte is its length as the coupling unit claims it; a claim beyond the fetch
// buffer is cut to what the buffer holds, whether the frame comes in a wait or while draining.
TEST_F(BusLinkTest, AFrameLongerThanTheFetchBufferIsCutToIt)
{
    ASSERT_EQ(link.OpenLink(0), 0);
    QByteArray bogus(BusLibrary::FetchBuffer().size() + 8, '\x11');
    bogus[0] = char(0xFF);
    bus.inject(bogus);
    QByteArray data;
    ASSERT_EQ(link.ReadLocalMemory(0x0104, 1, &data), 0);
    bus.inject(bogus);
    link.Drain(50);
    const QStringList ignored = protocolLines().filter(QRegularExpression(QStringLiteral("^  ignored: ")));
    ASSERT_EQ(ignored.size(), 2);
    for (const QString &line : ignored)
        EXPECT_EQ(line.split(u' ', Qt::SkipEmptyParts).size(), 1 + int(BusLibrary::FetchBuffer().size()));
}

} // namespace
} // namespace zx::test
