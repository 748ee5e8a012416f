#include "transfer/SerialLink.h"

#include "core/transfer/SerialFakes.h"
#include "i18n/Catalogue.h"
#include "platform/ComPortMap.h"
#include "support/FileLimits.h"
#include "support/ScriptedPrompter.h"
#include "support/TempDir.h"

#include <QFileInfo>

#include <QDir>

#include <gtest/gtest.h>

#include <optional>

namespace zx::test {
namespace {

QByteArray status(int s)
{
    return QByteArray(1, char(0x01)) + QByteArray(1, char(s));
}

MemoryImage sampleImage()
{
    MemoryImage image{};
    for (int i = 0; i < ImageSize; ++i)
        image[i] = static_cast<std::uint8_t>((i * 7 + i / 256) % 256);
    return image;
}

// A program file as the writer lays it out is not needed here: the link takes the first 2048
// numbers whatever the line grouping.
QByteArray programText(const MemoryImage &image, int count = ImageSize, int extra = -1)
{
    QByteArray text;
    for (int i = 0; i < count; ++i) {
        text += ' ' + QByteArray::number(i == 5 && extra >= 0 ? extra : image[i]) + ' ';
        if (i % 6 == 5)
            text += "\r\n";
    }
    return text + "\r\nunknown\r\nLight \r\n";
}

class SerialLinkTest : public ::testing::Test {
  protected:
    SerialLinkTest()
    {
        catalogue.fillBuiltin(English, 1);
        port.responder = std::ref(device);
    }

    void request(const char *direction, const QString &file = QStringLiteral("prog.zxp"))
    {
        dir.write(QStringLiteral("zentrix.msg"),
                  QByteArray(direction) + "\r\n 5 \r\n 8 \r\n 400 \r\n 2 \r\n" + file.toUtf8() + "\r\n");
    }
    void program(const QByteArray &text) { dir.write(QStringLiteral("prog.zxp"), text); }

    int transfer()
    {
        SerialLink link(port, pump, prompter, catalogue, dir.path(), &progress);
        return link.SerialTransfer({QStringLiteral("/dev/ttyS1"), QStringLiteral("2")});
    }
    QList<QByteArray> logLines() const
    {
        QList<QByteArray> lines = dir.read(QStringLiteral("rsproto.txt")).split('\n');
        if (!lines.isEmpty() && lines.last().isEmpty())
            lines.removeLast();
        for (auto &l : lines)
            l.chop(l.endsWith('\r') ? 1 : 0);
        return lines;
    }

    TempDir dir;
    Catalogue catalogue;
    ScriptedPrompter prompter;
    VirtualPump pump;
    ScriptedSerialPort port{pump};
    MemoryDevice device;
    RecordingProgress progress;
};

TEST_F(SerialLinkTest, WriteSendsEveryBlockAndSucceeds)
{
    const MemoryImage image = sampleImage();
    program(programText(image));
    request("s", dir.file(QStringLiteral("prog.zxp")));

    EXPECT_EQ(transfer(), 0);
    EXPECT_TRUE(prompter.shown.empty()) << prompter.last().toStdString();
    ASSERT_EQ(port.requests.size(), 128u);
    EXPECT_EQ(device.memory, image);
    EXPECT_EQ(port.openedDevice, QStringLiteral("/dev/ttyS1"));
    EXPECT_FALSE(port.isOpen());

    const QByteArray atHex700 = port.requests[0x700 / 16];
    EXPECT_EQ(atHex700.size(), 19);
    EXPECT_EQ(quint8(atHex700[0]), 0x12);
    EXPECT_EQ(quint8(atHex700[1]), 0xAE);
    EXPECT_EQ(quint8(atHex700[2]), 0x00);
    EXPECT_EQ(quint8(port.requests[0x130 / 16][1]), 0xA2);
    EXPECT_EQ(quint8(port.requests[0x130 / 16][2]), 0x30);

    EXPECT_EQ(progress.caption, QStringLiteral("serial transmission"));
    EXPECT_EQ(progress.label, QStringLiteral("write to zentrix: prog.zxp using COM 2"));
    ASSERT_EQ(progress.gauge.size(), 130u);
    EXPECT_EQ(progress.gauge.front(), 0);
    EXPECT_EQ(progress.gauge[1], 1);
    EXPECT_EQ(progress.gauge[128], 128);
    EXPECT_EQ(progress.gauge.back(), TransferProgress::GaugeMax);
    EXPECT_EQ(progress.opened, 1);
    EXPECT_EQ(progress.closed, 1);
}

TEST_F(SerialLinkTest, WriteTakesTheStartWaitBeforeTheFirstBlock)
{
    program(programText(sampleImage()));
    request("s");
    qint64 firstRequestAt = -1;
    port.responder = [&](const QByteArray &r) {
        if (firstRequestAt < 0)
            firstRequestAt = pump.now;
        return device(r);
    };
    EXPECT_EQ(transfer(), 0);
    EXPECT_GE(firstRequestAt, 2000);
    // Each block ends with the quiet time: at least 128 x 0.1 s plus the start wait.
    EXPECT_GE(pump.now, 2000 + 128 * 100);
}

struct StatusCase {
    int status;
    int attempts;
    const char *message;
};

class WriteStatusTest : public SerialLinkTest, public ::testing::WithParamInterface<StatusCase> {};

TEST_P(WriteStatusTest, EndsWithItsMessageAfterItsAttempts)
{
    const StatusCase c = GetParam();
    program(programText(sampleImage()));
    request("s");
    port.responder = [&](const QByteArray &) { return Reply{{3, status(c.status)}}; };

    EXPECT_EQ(transfer(), 1);
    EXPECT_EQ(port.requests.size(), std::size_t(c.attempts));
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_EQ(prompter.last(), QString::fromLatin1(c.message));
    EXPECT_EQ(prompter.shown[0].icon, Icon::None);
    EXPECT_FALSE(port.isOpen());
    EXPECT_EQ(progress.closed, 1);
    EXPECT_NE(progress.gauge.back(), TransferProgress::GaugeMax);
}

INSTANTIATE_TEST_SUITE_P(
    StatusTable, WriteStatusTest,
    ::testing::Values(StatusCase{0x81, 1, "there is no zentrix in the programm interface"},
                      // The no-device test comes first: 0x83 holds its bits.
                      StatusCase{0x83, 1, "there is no zentrix in the programm interface"},
                      StatusCase{0x87, 1, "there is no zentrix in the programm interface"},
                      StatusCase{0x82, 3, "no answer from the zentrix"},
                      StatusCase{0x86, 3, "no answer from the zentrix"},
                      StatusCase{0x84, 3, "transmission error at COM "},
                      StatusCase{0x90, 3, "unknown Message"}, StatusCase{0x00, 3, "unknown Message"}));

TEST_F(SerialLinkTest, WriteAnswerThatIsNoStatusIsUnknown)
{
    program(programText(sampleImage()));
    request("s");
    port.responder = [&](const QByteArray &) { return Reply{{3, QByteArray("\x02\x80", 2)}}; };
    EXPECT_EQ(transfer(), 1);
    EXPECT_EQ(port.requests.size(), 3u);
    EXPECT_EQ(prompter.last(), QStringLiteral("unknown Message"));
}

TEST_F(SerialLinkTest, WriteRecoversWithinThreeAttempts)
{
    program(programText(sampleImage()));
    request("s");
    int failures = 2;
    port.responder = [&](const QByteArray &r) {
        if (failures-- > 0)
            return Reply{{3, status(0x84)}};
        return device(r);
    };
    EXPECT_EQ(transfer(), 0);
    EXPECT_EQ(port.requests.size(), 130u);
    EXPECT_TRUE(prompter.shown.empty());
}

TEST_F(SerialLinkTest, SilentInterfaceGivesUpOnTheFirstBlock)
{
    program(programText(sampleImage()));
    request("s");
    port.responder = nullptr;
    EXPECT_EQ(transfer(), 1);
    EXPECT_EQ(port.requests.size(), 3u);
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_EQ(prompter.last(), QStringLiteral("no answer from the programm interface at COM "));
}

TEST_F(SerialLinkTest, SilentInterfaceWhenReadingGivesUpToo)
{
    request("l");
    port.responder = nullptr;
    EXPECT_EQ(transfer(), 1);
    EXPECT_EQ(port.requests.size(), 3u);
    EXPECT_EQ(prompter.last(), QStringLiteral("no answer from the programm interface at COM "));
    EXPECT_FALSE(dir.exists(QStringLiteral("card.dat")));
}

TEST_F(SerialLinkTest, ReadFetchesEveryBlockAndWritesCardDat)
{
    device.memory = sampleImage();
    request("l");

    EXPECT_EQ(transfer(), 0);
    EXPECT_TRUE(prompter.shown.empty());
    ASSERT_EQ(port.requests.size(), 128u);
    EXPECT_EQ(progress.label, QStringLiteral("read zentrix  using COM 2"));
    // 0 at the start, one step per block read, then full: as when writing.
    ASSERT_EQ(progress.gauge.size(), 130u);
    EXPECT_EQ(progress.gauge.front(), 0);
    EXPECT_EQ(progress.gauge[1], 1);
    EXPECT_EQ(progress.gauge[128], 128);
    EXPECT_EQ(progress.gauge.back(), TransferProgress::GaugeMax);

    const QByteArray card = dir.read(QStringLiteral("card.dat"));
    EXPECT_EQ(card, SerialLink::cardDatText(device.memory));
    const QList<QByteArray> lines = card.split('\n');
    ASSERT_EQ(lines.size(), 1 + 20 + 324 + 1);
    EXPECT_EQ(lines[0], " 0  7  14  21 \r");
    EXPECT_EQ(lines[1].simplified().split(' ').size(), 5);
    EXPECT_EQ(lines[21].simplified().split(' ').size(), 6);
    const auto values = ReadImageValues(card);
    ASSERT_TRUE(values.has_value());
    for (int i = 0; i < ImageSize; ++i)
        ASSERT_EQ((*values)[i], device.memory[i]) << i;
}

TEST_F(SerialLinkTest, CardDatThatCannotBeWrittenWholeKeepsTheOldOne)
{
    device.memory = sampleImage();
    dir.write(QStringLiteral("card.dat"), "old");
    request("l");
    // From the last answer on, no file may grow beyond the log's size: the log takes its last
    // two lines, card.dat (larger than the log's last lines) cannot be written whole.
    std::optional<test::FileSizeLimit> limit;
    port.responder = [&](const QByteArray &r) {
        if (port.requests.size() == 128)
            limit.emplace(QFileInfo(dir.file(QStringLiteral("rsproto.txt"))).size() + 200);
        return device(r);
    };
    ASSERT_GT(SerialLink::cardDatText(device.memory).size(), 10000);
    const int result = transfer();
    limit.reset();
    EXPECT_EQ(result, 1);
    EXPECT_EQ(dir.read(QStringLiteral("card.dat")), QByteArray("old"));
    EXPECT_TRUE(prompter.last().contains(QStringLiteral("card.dat"))) << prompter.last().toStdString();
    EXPECT_FALSE(port.isOpen());
}

// A log that cannot take the next line ends the transfer at once and names the log: a protocol
// with holes is worse than none.
TEST_F(SerialLinkTest, ALogThatFillsTheDiskEndsTheTransfer)
{
    device.memory = sampleImage();
    request("l");
    std::optional<test::FileSizeLimit> limit;
    port.responder = [&](const QByteArray &r) {
        if (port.requests.size() == 10)
            limit.emplace(QFileInfo(dir.file(QStringLiteral("rsproto.txt"))).size() + 4);
        return device(r);
    };
    const int result = transfer();
    limit.reset();
    EXPECT_EQ(result, 1);
    EXPECT_TRUE(prompter.last().contains(QStringLiteral("rsproto.txt"))) << prompter.last().toStdString();
    EXPECT_EQ(port.requests.size(), 10u);
    EXPECT_FALSE(port.isOpen());
}

TEST_F(SerialLinkTest, ReadRepeatsStatusWrittenAsUnknown)
{
    request("l");
    port.responder = [&](const QByteArray &) { return Reply{{3, status(0x80)}}; };
    EXPECT_EQ(transfer(), 1);
    EXPECT_EQ(port.requests.size(), 3u);
    EXPECT_EQ(prompter.last(), QStringLiteral("unknown Message"));
}

TEST_F(SerialLinkTest, ReadStatusNoDeviceStopsAtOnce)
{
    request("l");
    port.responder = [&](const QByteArray &) { return Reply{{3, status(0x83)}}; };
    EXPECT_EQ(transfer(), 1);
    EXPECT_EQ(port.requests.size(), 1u);
    EXPECT_EQ(prompter.last(), QStringLiteral("there is no zentrix in the programm interface"));
}

TEST_F(SerialLinkTest, ReadRepeatsDataWithWrongEcho)
{
    request("l");
    port.responder = [&](const QByteArray &r) {
        Reply reply = device(r);
        reply[0].bytes[2] = char(reply[0].bytes[2] ^ 0x10);
        return reply;
    };
    EXPECT_EQ(transfer(), 1);
    EXPECT_EQ(port.requests.size(), 3u);
    EXPECT_EQ(prompter.last(), QStringLiteral("unknown Message"));
}

TEST_F(SerialLinkTest, ReadRepeatsDataOfWrongLength)
{
    request("l");
    port.responder = [&](const QByteArray &r) {
        Reply reply = device(r);
        reply[0].bytes.chop(1);
        return reply;
    };
    EXPECT_EQ(transfer(), 1);
    EXPECT_EQ(port.requests.size(), 3u);
    EXPECT_EQ(prompter.last(), QStringLiteral("unknown Message"));
}

TEST_F(SerialLinkTest, AnswerInPiecesWithShortGapsIsOneAnswer)
{
    device.memory = sampleImage();
    request("l");
    port.responder = [&](const QByteArray &r) {
        const QByteArray all = device(r)[0].bytes;
        return Reply{{5, all.left(4)}, {60, all.mid(4, 8)}, {90, all.mid(12)}};
    };
    EXPECT_EQ(transfer(), 0);
    EXPECT_EQ(port.requests.size(), 128u);
    EXPECT_TRUE(prompter.shown.empty());
}

TEST_F(SerialLinkTest, AGapOverTheQuietTimeEndsTheAnswer)
{
    SerialLink link(port, pump, prompter, catalogue, dir.path());
    port.responder = [&](const QByteArray &) { return Reply{{5, "ab"}, {99, "c"}, {101, "d"}}; };
    port.write("x", nullptr);
    QByteArray buffer;
    EXPECT_EQ(link.SerialReceive(buffer), ReceiveState::Received);
    EXPECT_EQ(buffer, QByteArray("abc"));
    EXPECT_EQ(link.SerialReceive(buffer), ReceiveState::Received);
    EXPECT_EQ(buffer, QByteArray("d"));
}

TEST_F(SerialLinkTest, TimeOutCoversTheFirstByteOnly)
{
    SerialLink link(port, pump, prompter, catalogue, dir.path());
    port.responder = [&](const QByteArray &) { return Reply{{450, "a"}, {90, "b"}, {90, "c"}, {90, "d"}}; };
    port.write("x", nullptr);
    QByteArray buffer = "nix";
    EXPECT_EQ(link.SerialReceive(buffer), ReceiveState::Received);
    EXPECT_EQ(buffer, QByteArray("abcd"));

    port.responder = [&](const QByteArray &) { return Reply{{520, "late"}}; };
    port.write("x", nullptr);
    EXPECT_EQ(link.SerialReceive(buffer), ReceiveState::TimeOut);
    EXPECT_EQ(buffer, QByteArray("abcd"));
}

// A line that never stops sending: a stream much faster than the quiet time, and a trickle just
// slower than it.
struct TalkerCase {
    const char *what;
    qint64 gapMs;
    qint64 endsBeforeMs;
};

void PrintTo(const TalkerCase &c, std::ostream *os)
{
    *os << c.what;
}

class EndlessLineTest : public SerialLinkTest, public ::testing::WithParamInterface<TalkerCase> {
  protected:
    Reply endless() const
    {
        Reply r;
        for (int i = 0; i < 200000 / 64; ++i)
            r.push_back({GetParam().gapMs, QByteArray(1, char(0x12))});
        return r;
    }
};

TEST_P(EndlessLineTest, ReceiveEndsAsAFailedAttempt)
{
    SerialLink link(port, pump, prompter, catalogue, dir.path());
    port.responder = [&](const QByteArray &) { return endless(); };
    port.write("x", nullptr);
    QByteArray buffer;
    EXPECT_EQ(link.SerialReceive(buffer), ReceiveState::Overrun);
    EXPECT_LT(pump.now, GetParam().endsBeforeMs);
    EXPECT_LE(buffer.size(), SerialLink::LongestAnswer + 1);
}

TEST_P(EndlessLineTest, TransferGivesUpWithoutCardDat)
{
    request("l");
    port.responder = [&](const QByteArray &) { return endless(); };
    EXPECT_EQ(transfer(), 1);
    EXPECT_EQ(port.requests.size(), 3u);
    EXPECT_EQ(prompter.last(), QStringLiteral("unknown Message"));
    EXPECT_FALSE(port.isOpen());
    EXPECT_FALSE(dir.exists(QStringLiteral("card.dat")));
}

INSTANTIATE_TEST_SUITE_P(Talkers, EndlessLineTest,
                         ::testing::Values(TalkerCase{"stream", 1, 100},
                                           TalkerCase{"trickle under the quiet time", 90, 2200}));

TEST_F(SerialLinkTest, CancelEndsTheTransferAsAFailure)
{
    device.memory = sampleImage();
    request("l");
    port.responder = [&](const QByteArray &r) {
        progress.cancel = port.requests.size() == 40;
        return device(r);
    };
    EXPECT_EQ(transfer(), 1);
    EXPECT_EQ(port.requests.size(), 40u);
    EXPECT_FALSE(port.isOpen());
    EXPECT_EQ(progress.closed, 1);
    EXPECT_FALSE(dir.exists(QStringLiteral("card.dat")));
    EXPECT_TRUE(prompter.shown.empty()) << "the caller tells the failure";
}

TEST_F(SerialLinkTest, LogShowsNixForAWriteAttemptWithoutAnswer)
{
    program(programText(sampleImage()));
    request("s");
    bool first = true;
    port.responder = [&](const QByteArray &r) {
        if (first) {
            first = false;
            return Reply{};
        }
        return device(r);
    };
    EXPECT_EQ(transfer(), 0);
    const auto lines = logLines();
    ASSERT_EQ(lines.size(), 2 * 129);
    EXPECT_TRUE(lines[0].startsWith(" 12 A0 0 0 7 E 15 1C"));
    EXPECT_EQ(lines[1], QByteArray(" 6E 69 78"));
    EXPECT_EQ(lines[2], lines[0]);
    EXPECT_EQ(lines[3], QByteArray(" 1 80"));
}

TEST_F(SerialLinkTest, LogOfAReadRepeatsThePreviousAnswerAfterATimeOut)
{
    request("l");
    int n = 0;
    port.responder = [&](const QByteArray &r) {
        // Block 16 (address 0x100) needs a second attempt.
        return ++n == 17 ? Reply{} : device(r);
    };
    EXPECT_EQ(transfer(), 0);
    const auto lines = logLines();
    ASSERT_EQ(lines.size(), 2 * 129);
    EXPECT_EQ(lines[32], QByteArray(" 3 A3 0 10"));
    EXPECT_EQ(lines[33], lines[31]); // the answer of block 15, once more
    EXPECT_EQ(lines[34], QByteArray(" 3 A3 0 10"));
    EXPECT_TRUE(lines[35].startsWith(" 12 A3 0 0 0"));
}

TEST_F(SerialLinkTest, LogIsCreatedAnewForEveryTransfer)
{
    dir.write(QStringLiteral("rsproto.txt"), QByteArray(5000, 'x'));
    request("l");
    port.responder = nullptr;
    EXPECT_EQ(transfer(), 1);
    EXPECT_EQ(logLines(), (QList<QByteArray>{" 3 A1 0 10", " 6E 69 78", " 3 A1 0 10", " 6E 69 78",
                                             " 3 A1 0 10", " 6E 69 78"}));
}

// A transfer whose log cannot be created does not start: nothing goes to the device.
TEST_F(SerialLinkTest, LogThatCannotBeCreatedEndsBeforeAnyFrame)
{
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("rsproto.txt")));
    request("s");
    program(programText(sampleImage()));
    EXPECT_EQ(transfer(), 1);
    EXPECT_TRUE(port.requests.empty());
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_TRUE(prompter.last().contains(QStringLiteral("rsproto.txt: "))) << prompter.last().toStdString();
}

TEST_F(SerialLinkTest, PortThatCannotBeOpenedEndsInTheErrorPath)
{
    request("s");
    program(programText(sampleImage()));
    port.openError = QStringLiteral("/dev/ttyS1: Permission denied");
    EXPECT_EQ(transfer(), 1);
    EXPECT_TRUE(port.requests.empty());
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_EQ(prompter.last(),
              QStringLiteral("error in serial communication : /dev/ttyS1: Permission denied"));
    EXPECT_EQ(progress.closed, 1);
}

TEST_F(SerialLinkTest, ShortProgramFileSendsNothing)
{
    request("s");
    program(programText(sampleImage(), 2000));
    EXPECT_EQ(transfer(), 1);
    EXPECT_TRUE(port.requests.empty());
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_TRUE(prompter.last().startsWith(QStringLiteral("error in serial communication :")));
    EXPECT_FALSE(port.isOpen());
    EXPECT_EQ(progress.closed, 1);
}

TEST_F(SerialLinkTest, ValueOutsideAByteSendsNothing)
{
    request("s");
    program(programText(sampleImage(), ImageSize, 256));
    EXPECT_EQ(transfer(), 1);
    EXPECT_TRUE(port.requests.empty());
    EXPECT_TRUE(prompter.last().startsWith(QStringLiteral("error in serial communication :")));
}

TEST_F(SerialLinkTest, MissingProgramFileEndsInTheErrorPath)
{
    request("s", QStringLiteral("gone.zxp"));
    EXPECT_EQ(transfer(), 1);
    EXPECT_TRUE(prompter.last().startsWith(QStringLiteral("error in serial communication :")));
    // the system's reason, not a complaint about the values
    EXPECT_FALSE(prompter.last().contains(QStringLiteral("not 2048 values")));
    EXPECT_FALSE(port.isOpen());

    // A request that names no program file to write says so before the port is opened.
    request("s", QString());
    EXPECT_EQ(transfer(), 1);
    EXPECT_EQ(
        prompter.last(),
        QStringLiteral("error in serial communication : zentrix.msg: line 6 names no program file to write"));
    EXPECT_EQ(port.opens, 1);
}

TEST_F(SerialLinkTest, MissingRequestFileEndsInTheErrorPath)
{
    EXPECT_EQ(transfer(), 1);
    EXPECT_EQ(port.opens, 0);
    EXPECT_TRUE(prompter.last().startsWith(QStringLiteral("error in serial communication :")));
}

TEST_F(SerialLinkTest, OneByteStatusEndsInTheErrorPath)
{
    program(programText(sampleImage()));
    request("s");
    port.responder = [&](const QByteArray &) { return Reply{{3, QByteArray(1, char(0x01))}}; };
    EXPECT_EQ(transfer(), 1);
    EXPECT_EQ(port.requests.size(), 1u);
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_TRUE(prompter.last().startsWith(QStringLiteral("error in serial communication :")));
    EXPECT_FALSE(port.isOpen());
    EXPECT_EQ(progress.closed, 1);
}

TEST(SerialEndpointTest, PortSettingFiveIsComTwo)
{
    TempDir dir;
    ComPortMap ports(dir.path());
    EXPECT_EQ(serialEndpointFor(5, ports).device, QStringLiteral("/dev/ttyS1"));
    EXPECT_EQ(serialEndpointFor(5, ports).comName, QStringLiteral("2"));
    EXPECT_EQ(serialEndpointFor(4, ports).device, QStringLiteral("/dev/ttyS0"));

    ports.setDevice(2, QStringLiteral("/dev/ttyUSB0"));
    ASSERT_TRUE(ports.save());
    const ComPortMap reread(dir.path());
    EXPECT_EQ(serialEndpointFor(5, reread).device, QStringLiteral("/dev/ttyUSB0"));
    EXPECT_EQ(serialEndpointFor(7, reread).device, QStringLiteral("/dev/ttyS3"));

    // the last COM port keeps its device file too
    ports.setDevice(ComPortMap::PortCount, QStringLiteral("/dev/ttyACM0"));
    ASSERT_TRUE(ports.save());
    EXPECT_EQ(ComPortMap(dir.path()).device(ComPortMap::PortCount), QStringLiteral("/dev/ttyACM0"));
}

// The port choice offers every COM port the program can address, on-board ones first.
TEST(ComPortChoice, OffersEveryComPortBeforeTheAdapters)
{
    const QStringList offered = ComPortMap::candidates();
    ASSERT_GE(offered.size(), ComPortMap::PortCount);
    for (int com = 1; com <= ComPortMap::PortCount; ++com)
        EXPECT_EQ(offered.at(com - 1), ComPortMap::defaultDevice(com)) << "COM" << com;
    for (int i = ComPortMap::PortCount; i < offered.size(); ++i)
        EXPECT_TRUE(offered.at(i).startsWith(QStringLiteral("/dev/tty"))) << offered.at(i).toStdString();
}

TEST(SerialFrameTest, SelectByteCarriesAddressBitsEightToTen)
{
    EXPECT_EQ(SerialLink::selectByte(false, 0x000), 0xA0);
    EXPECT_EQ(SerialLink::selectByte(true, 0x0F0), 0xA1);
    EXPECT_EQ(SerialLink::selectByte(true, 0x100), 0xA3);
    EXPECT_EQ(SerialLink::selectByte(false, 0x7F0), 0xAE);
    EXPECT_EQ(SerialLink::hexLine(SerialLink::readRequest(0x100)), QByteArray(" 3 A3 0 10"));
}

} // namespace
} // namespace zx::test
