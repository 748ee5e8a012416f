#include "bus/KnxIpBusLibrary.h"

#include "KnxIpFakes.h"
#include "core/transfer/SerialFakes.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace zx::test {
namespace {

QByteArray hex(const char *text)
{
    return QByteArray::fromHex(text);
}

struct DatagramCase {
    const char *name;
    QByteArray bytes;
    bool ok;
};

class KnxIpDatagrams : public ::testing::TestWithParam<DatagramCase> {};

TEST_P(KnxIpDatagrams, AreReadOnlyWhenEveryFieldFits)
{
    EXPECT_EQ(KnxIp::ReadDatagram(GetParam().bytes).ok(), GetParam().ok);
}

INSTANTIATE_TEST_SUITE_P(
    Reader, KnxIpDatagrams,
    ::testing::Values(
        DatagramCase{"ack", hex("06100421000a04010200"), true}, DatagramCase{"short", hex("061004"), false},
        DatagramCase{"wrongVersion", hex("06200421000a04010200"), false},
        DatagramCase{"lengthDisagrees", hex("06100421000b04010200"), false},
        DatagramCase{"connectionHeaderCut", hex("061004210009040102"), false},
        DatagramCase{"emptyTunnellingRequest", hex("06100420000a04010200"), false},
        DatagramCase{"refused", hex("061002060008 0024"), true},
        DatagramCase{"acceptedWithoutEndpoint", hex("0610020600080100"), false},
        DatagramCase{"accepted", hex("061002060014 0500 08017f0000010e57 040411ff"), true},
        DatagramCase{"endpointOfOtherLength", hex("061002060014 0500 07017f0000010e57 040411ff"), false},
        DatagramCase{"crdOfOtherLength", hex("061002060014 0500 08017f0000010e57 050411ff"), false},
        DatagramCase{"crdOfOtherType", hex("061002060014 0500 08017f0000010e57 040311ff"), false},
        DatagramCase{"unknownService", hex("061002030008 0000"), false}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(KnxIpFrames, CarryTheirBytes)
{
    const UdpEndpoint local{0x7F000001, 0x9C40};
    EXPECT_EQ(KnxIp::connectRequest(local), hex("06100205001a 08017f0000019c40 08017f0000019c40 04040200"));
    EXPECT_EQ(KnxIp::tunnellingAck(7, 3, 0), hex("06100421000a 04070300"));
    // T_DATA_CONNECTED #1 with a memory read of 9 bytes at 0x00CE to device 1.1.5.
    EXPECT_EQ(Cemi::LDataFrame(Cemi::LDataReq, Cemi::Control1, 0, 0x1105, hex("460900ce")),
              hex("1100b0600000110503460900ce"));
    const auto f = Cemi::ReadLData(hex("2900b0601105000003460900ce"));
    ASSERT_TRUE(f);
    EXPECT_EQ(f->source, 0x1105);
    EXPECT_EQ(f->tpdu, hex("460900ce"));
    EXPECT_FALSE(Cemi::ReadLData(hex("2900b0601105000004460900ce")));
    EXPECT_EQ(KnxIpBusLibrary::ParseHost(QStringLiteral("knx.local:3700"))->second, 3700);
    EXPECT_EQ(KnxIpBusLibrary::ParseHost(QStringLiteral("192.168.1.9"))->second, KnxIp::DefaultPort);
    EXPECT_FALSE(KnxIpBusLibrary::ParseHost(QStringLiteral("host:70000")));
}

// A host is a name or an address with an optional port from 1 to 65535.
TEST(KnxIpHost, TakesAPortWithinItsRange)
{
    const struct {
        const char *text;
        const char *host; // nullptr: refused
        int port;
    } cases[] = {{"knx.local", "knx.local", KnxIp::DefaultPort},
                 {" 10.0.0.9:1 ", "10.0.0.9", 1},
                 {"10.0.0.9:65535", "10.0.0.9", 65535},
                 {"10.0.0.9:0", nullptr, 0},
                 {"10.0.0.9:65536", nullptr, 0},
                 {"10.0.0.9:", nullptr, 0},
                 {"10.0.0.9:x", nullptr, 0},
                 {":3671", nullptr, 0},
                 {"  ", nullptr, 0}};
    for (const auto &c : cases) {
        const auto parsed = KnxIpBusLibrary::ParseHost(QString::fromLatin1(c.text));
        ASSERT_EQ(parsed.has_value(), c.host != nullptr) << c.text;
        if (parsed) {
            EXPECT_EQ(parsed->first, QString::fromLatin1(c.host)) << c.text;
            EXPECT_EQ(parsed->second, c.port) << c.text;
        }
    }
}

// Every field is read from its own place: distinct values show a field taken from its neighbour.
TEST(KnxIpFrames, EachFieldIsReadFromItsPlace)
{
    const UdpEndpoint local{0x7F000001, 0x9C40};
    struct Case {
        const char *name;
        QByteArray bytes;
        int channel, sequence, status;
    };
    const std::vector<Case> cases = {
        {"connectResponse", KnxIp::connectResponse(7, 0, local, 0x11FF), 7, -1, 0},
        {"connectionStateResponse", KnxIp::connectionStateResponse(7, 0x21), 7, -1, 0x21},
        {"disconnectRequest", KnxIp::disconnectRequest(7, local), 7, -1, 0},
        {"disconnectResponse", KnxIp::disconnectResponse(7, 0x21), 7, -1, 0x21},
        {"tunnellingAck", KnxIp::tunnellingAck(7, 9, 0x29), 7, 9, 0x29},
        {"tunnellingRequest", KnxIp::tunnellingRequest(7, 9, hex("29")), 7, 9, 0},
    };
    for (const Case &c : cases) {
        const KnxIp::Datagram d = KnxIp::ReadDatagram(c.bytes);
        ASSERT_TRUE(d.ok()) << c.name;
        EXPECT_EQ(d.channel, c.channel) << c.name;
        EXPECT_EQ(d.sequence, c.sequence) << c.name;
        EXPECT_EQ(d.status, c.status) << c.name;
        // One byte less is a body too short for its service, or a length that disagrees.
        QByteArray cut = c.bytes.left(c.bytes.size() - 1);
        cut[5] = char(cut.size());
        EXPECT_FALSE(KnxIp::ReadDatagram(cut).ok()) << c.name;
    }
    // A tunnelling header whose length byte is not 4.
    QByteArray request = KnxIp::tunnellingRequest(7, 9, hex("2900"));
    request[6] = 5;
    EXPECT_FALSE(KnxIp::ReadDatagram(request).ok());
}

// An L_Data frame in each of its three codes, with or without additional information; any other
// code, or a length that disagrees with the frame, is none.
TEST(KnxIpFrames, CemiFramesAreReadByTheirCodeAndLength)
{
    for (const int code : {Cemi::LDataReq, Cemi::LDataCon, Cemi::LDataInd, 0x2B, 0x10}) {
        const QByteArray frame = Cemi::LDataFrame(code, 0xB0, 0x1105, 0x11FF, hex("4300"));
        const auto f = Cemi::ReadLData(frame);
        const bool lData = code == Cemi::LDataReq || code == Cemi::LDataCon || code == Cemi::LDataInd;
        ASSERT_EQ(f.has_value(), lData) << code;
        if (!lData)
            continue;
        EXPECT_EQ(f->messageCode, code);
        EXPECT_EQ(f->control1, 0xB0);
        EXPECT_EQ(f->source, 0x1105);
        EXPECT_EQ(f->destination, 0x11FF);
        EXPECT_EQ(f->tpdu, hex("4300"));
    }
    // Two bytes of additional information are skipped.
    const auto withInfo = Cemi::ReadLData(hex("2902aabb b0e0 1105 11ff 01 4300"));
    ASSERT_TRUE(withInfo);
    EXPECT_EQ(withInfo->control2, 0xE0);
    EXPECT_EQ(withInfo->source, 0x1105);
    EXPECT_EQ(withInfo->tpdu, hex("4300"));
    EXPECT_FALSE(Cemi::ReadLData(hex("2902aabb b0e0 1105 11ff 01 43")));
    EXPECT_FALSE(Cemi::ReadLData(hex("2902aabb b0e0 1105 11ff 01 430000")));
}

// A tunnel to a scripted interface that acknowledges and confirms every request.
class KnxIpTunnel : public ::testing::Test {
  protected:
    void SetUp() override
    {
        socket.responder = [this](const QByteArray &sent) {
            const KnxIp::Datagram d = KnxIp::ReadDatagram(sent);
            if (d.service == KnxIp::ConnectRequest)
                socket.answer(KnxIp::connectResponse(channel, refuseWith, dataNamed, 0x11FF));
            if (d.service == KnxIp::DisconnectRequest)
                socket.answer(KnxIp::disconnectResponse(channel, 0));
            if (d.service == KnxIp::TunnellingRequest) {
                socket.answer(KnxIp::tunnellingAck(channel, d.sequence, 0));
                QByteArray con = d.cemi;
                con[0] = char(Cemi::LDataCon);
                socket.answer(KnxIp::tunnellingRequest(channel, fromServer++, con));
            }
        };
    }
    // An indication from `source` to the tunnel, as the interface's next request.
    QByteArray indication(int source, const QByteArray &tpdu)
    {
        return KnxIp::tunnellingRequest(channel, fromServer++,
                                        Cemi::LDataFrame(Cemi::LDataInd, 0xB0, source, 0x11FF, tpdu));
    }
    int sendAndWait(const QByteArray &frame)
    {
        if (const int s = library.send(frame))
            return s;
        int q = 0, r = 0, busy = 1, status = 0;
        for (int i = 0; i < 5000 && busy && status == 0; ++i, pump.processEvents())
            status = library.pollSend(q, r, busy);
        return status;
    }
    // The sequence numbers of the telegrams sent towards the device whose control byte `kind`
    // takes (Tpci::isDataConnected, Tpci::isAck, ...), in the order sent.
    std::vector<int> sentToDevice(bool (*kind)(int)) const
    {
        std::vector<int> seen;
        for (const QByteArray &s : socket.sent) {
            const KnxIp::Datagram d = KnxIp::ReadDatagram(s);
            const auto f = d.service == KnxIp::TunnellingRequest ? Cemi::ReadLData(d.cemi) : std::nullopt;
            if (f && !f->tpdu.isEmpty() && kind(std::uint8_t(f->tpdu.at(0))))
                seen.push_back(Tpci::sequenceOf(std::uint8_t(f->tpdu.at(0))));
        }
        return seen;
    }
    int acksSent(int sequence) const
    {
        int n = 0;
        for (const QByteArray &s : socket.sent) {
            const KnxIp::Datagram d = KnxIp::ReadDatagram(s);
            n += d.service == KnxIp::TunnellingAck && d.sequence == sequence;
        }
        return n;
    }

    VirtualPump pump;
    ScriptedDatagramSocket socket;
    KnxIpBusLibrary library{socket, pump, QStringLiteral("127.0.0.1"), KnxIp::DefaultPort,
                            KnxIpTimings::fast()};
    int refuseWith = 0;
    int fromServer = 0;
    int channel = 5;                     // the tunnel's channel, as the interface gives it
    UdpEndpoint dataNamed = socket.peer; // the data endpoint the interface names on connecting
};

// The tunnel's data goes where the interface says. Address 0 (an interface behind NAT or on this
// machine) stands for the whole control endpoint, as the port it names is one behind the NAT;
// port 0 at an address stands for the control port.
TEST_F(KnxIpTunnel, DataGoesToTheEndpointTheInterfaceNames)
{
    const std::uint32_t other = 0x0A000009;
    struct Case {
        UdpEndpoint named, expected;
    };
    const Case cases[] = {{{0, 0}, socket.peer},
                          {{0, 3700}, socket.peer},
                          {{other, 0}, {other, socket.peer.port}},
                          {{other, 3700}, {other, 3700}}};
    for (const Case &c : cases) {
        dataNamed = c.named;
        ASSERT_EQ(library.install(0, 9600, 2000, 100, 0), 0);
        socket.sentTo.clear();
        socket.sent.clear();
        ASSERT_EQ(sendAndWait(hex("062300000011 05")), 0);
        ASSERT_FALSE(socket.sent.empty());
        EXPECT_EQ(KnxIp::ReadDatagram(socket.sent.front()).service, KnxIp::TunnellingRequest);
        EXPECT_EQ(socket.sentTo.front().text().toStdString(), c.expected.text().toStdString())
            << c.named.text().toStdString();
    }
}

TEST_F(KnxIpTunnel, TakesOnlyTheDevicesAnswersAndEachOnce)
{
    ASSERT_EQ(library.install(0, 9600, 2000, 100, 0), 0);
    ASSERT_EQ(sendAndWait(hex("062300000011 05")), 0);
    ASSERT_EQ(sendAndWait(hex("0921000000000001 0300")), 0);
    // From the device, but to a group (whose number is the tunnel's address) or to another
    // device's address: not for this tunnel.
    QByteArray toGroup = Cemi::LDataFrame(Cemi::LDataInd, 0xB0, 0x1105, 0x11FF, hex("434000AA"));
    toGroup[3] = char(std::uint8_t(toGroup.at(3)) | Cemi::GroupAddressBit);
    socket.answer(KnxIp::tunnellingRequest(5, fromServer++, toGroup));
    socket.answer(KnxIp::tunnellingRequest(
        5, fromServer++, Cemi::LDataFrame(Cemi::LDataInd, 0xB0, 0x1105, 0x1107, hex("43400012"))));
    const int seq = fromServer;
    const QByteArray answer = indication(0x1105, hex("43400012"));
    socket.answer(answer);
    socket.answer(answer);                              // repeated: its acknowledgement was lost
    socket.answer(indication(0x1107, hex("43400012"))); // another device
    socket.incoming.push_back({{0x7F000002, 3671}, indication(0x1105, hex("47400012"))}); // another sender
    BusLibrary::FetchBuffer buffer{};
    std::vector<QByteArray> frames;
    for (int i = 0; i < 50; ++i, pump.processEvents()) {
        ASSERT_EQ(library.fetch(buffer), 0);
        if (buffer[0] > 0)
            frames.emplace_back(reinterpret_cast<const char *>(buffer.data()), buffer[0] + 1);
    }
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(frames[0], hex("0b39b0110511ff03 03400012"));
    EXPECT_EQ(acksSent(seq), 2);
    library.close();
    EXPECT_FALSE(library.tunnelOpen());
    EXPECT_EQ(KnxIp::ReadDatagram(socket.sent.back()).service, KnxIp::DisconnectRequest);
}

// The link keeps the interface's own memory (the device address, the layer) itself: a write
// changes exactly the bytes it carries and a read gives them back.
TEST_F(KnxIpTunnel, ItsOwnMemoryKeepsExactlyTheBytesWritten)
{
    ASSERT_EQ(library.install(0, 9600, 2000, 100, 0), 0);
    ASSERT_EQ(library.send(hex("074603 0100 112233")), 0);
    ASSERT_EQ(library.send(hex("064602 0100 AABB")), 0);
    ASSERT_EQ(library.send(hex("044C03 0100")), 0);
    BusLibrary::FetchBuffer buffer{};
    ASSERT_EQ(library.fetch(buffer), 0);
    EXPECT_EQ(QByteArray(reinterpret_cast<const char *>(buffer.data()), buffer[0] + 1),
              hex("074B03 0100 AABB33"));
}

// Channel 0 is a channel like any other: the tunnel is open on it and carries telegrams.
TEST_F(KnxIpTunnel, ChannelZeroIsAChannel)
{
    channel = 0;
    ASSERT_EQ(library.install(0, 9600, 2000, 100, 0), 0);
    EXPECT_TRUE(library.tunnelOpen());
    EXPECT_EQ(library.changeLayer(0), 0);
    EXPECT_EQ(sendAndWait(hex("062300000011 05")), 0);
    EXPECT_EQ(library.resetTransport(), 0);
}

// A datagram the network does not take ends the tunnel's work with the host and the reason.
TEST_F(KnxIpTunnel, ADatagramThatCannotLeaveIsLost)
{
    socket.sendError = QStringLiteral("Network is unreachable");
    EXPECT_EQ(library.install(0, 9600, 2000, 100, 0), KnxIpBusLibrary::Lost);
    EXPECT_EQ(library.lastErrorText(), QStringLiteral("127.0.0.1: Network is unreachable"));
    socket.sendError.clear();
    ASSERT_EQ(library.install(0, 9600, 2000, 100, 0), 0);
    socket.sendError = QStringLiteral("Network is unreachable");
    EXPECT_EQ(sendAndWait(hex("062300000011 05")), KnxIpBusLibrary::Lost);
    EXPECT_EQ(library.lastErrorText(), QStringLiteral("127.0.0.1: Network is unreachable"));
}

// A telegram in the tunnel, not yet confirmed by the interface, keeps the link busy.
TEST_F(KnxIpTunnel, ATelegramInTheTunnelKeepsTheLinkBusy)
{
    ASSERT_EQ(library.install(0, 9600, 2000, 100, 0), 0);
    socket.responder = nullptr; // the interface is slow to answer
    ASSERT_EQ(library.send(hex("062300000011 05")), 0);
    int queued = 0, repeats = 0, busy = 0;
    EXPECT_EQ(library.pollSend(queued, repeats, busy), 0);
    EXPECT_EQ(busy, 1);
    EXPECT_EQ(queued, 1);
}

// Closing waits for the interface's answer to this tunnel's disconnect, up to its bound: other
// datagrams, or the answer for another channel, do not end the wait.
TEST_F(KnxIpTunnel, TheCloseWaitsForItsOwnDisconnectResponse)
{
    ASSERT_EQ(library.install(0, 9600, 2000, 100, 0), 0);
    socket.responder = [this](const QByteArray &sent) {
        if (KnxIp::ReadDatagram(sent).service == KnxIp::DisconnectRequest) {
            socket.answer(KnxIp::tunnellingAck(channel, 0, 0));
            socket.answer(KnxIp::disconnectResponse(channel + 1, 0));
        }
    };
    const qint64 before = pump.now;
    library.close();
    EXPECT_GE(pump.now - before, 3 * library.timings().disconnectResponseMs); // three tries
    EXPECT_LT(pump.now - before, 4 * library.timings().disconnectResponseMs);
    EXPECT_FALSE(library.tunnelOpen());
}

// The device's numbered telegrams are taken one after the other, each acknowledged with its own
// number.
TEST_F(KnxIpTunnel, TheDevicesNumberedTelegramsAreTakenInTurn)
{
    ASSERT_EQ(library.install(0, 9600, 2000, 100, 0), 0);
    ASSERT_EQ(sendAndWait(hex("062300000011 05")), 0);
    BusLibrary::FetchBuffer buffer{};
    for (int sequence = 0; sequence < 3; ++sequence) {
        socket.answer(indication(0x1105, QByteArray(1, char(0x43 | sequence << 2)) + hex("4000") +
                                             QByteArray(1, char(sequence))));
        QByteArray frame;
        for (int i = 0; i < 20 && frame.isEmpty(); ++i, pump.processEvents()) {
            ASSERT_EQ(library.fetch(buffer), 0);
            if (buffer[0] > 0)
                frame = QByteArray(reinterpret_cast<const char *>(buffer.data()), buffer[0] + 1);
        }
        EXPECT_EQ(frame, hex("0b39b0110511ff03 034000") + QByteArray(1, char(sequence))) << sequence;
    }
    // Telegram 2 once more, as the device repeats it when our T_ACK was lost: acknowledged
    // again, not taken again, and our own next telegram leaves at once.
    socket.answer(
        indication(0x1105, QByteArray(1, char(0x43 | 2 << 2)) + hex("4000") + QByteArray(1, char(2))));
    for (int i = 0; i < 20; ++i, pump.processEvents()) {
        ASSERT_EQ(library.fetch(buffer), 0);
        EXPECT_EQ(buffer[0], 0);
    }
    EXPECT_EQ(sentToDevice(Tpci::isAck), (std::vector<int>{0, 1, 2, 2}));
    ASSERT_EQ(sendAndWait(hex("0921000000000001 0300")), 0);
    EXPECT_EQ(sentToDevice(Tpci::isDataConnected), std::vector<int>{0});
}

// A new connection, or the end of one, first ends the connection to the device before it, also
// to 0.0.0 where a search starts.
TEST_F(KnxIpTunnel, EveryConnectionIsEndedBeforeTheNext)
{
    ASSERT_EQ(library.install(0, 9600, 2000, 100, 0), 0);
    auto disconnectsTo = [this](int device) {
        int n = 0;
        for (const QByteArray &s : socket.sent) {
            const KnxIp::Datagram d = KnxIp::ReadDatagram(s);
            if (d.service != KnxIp::TunnellingRequest)
                continue;
            const auto f = Cemi::ReadLData(d.cemi);
            n += f && f->destination == device && f->tpdu == QByteArray(1, char(Tpci::Disconnect));
        }
        return n;
    };
    ASSERT_EQ(sendAndWait(hex("062300000000 00")), 0);
    EXPECT_EQ(disconnectsTo(0x0000), 0);
    ASSERT_EQ(sendAndWait(hex("062300000011 05")), 0);
    EXPECT_EQ(disconnectsTo(0x0000), 1);
    ASSERT_EQ(sendAndWait(hex("0124")), 0);
    EXPECT_EQ(disconnectsTo(0x1105), 1);
    ASSERT_EQ(sendAndWait(hex("062300000000 00")), 0);
    ASSERT_EQ(sendAndWait(hex("0124")), 0);
    EXPECT_EQ(disconnectsTo(0x0000), 2);
    ASSERT_EQ(sendAndWait(hex("0124")), 0); // no connection: nothing to end
    EXPECT_EQ(disconnectsTo(0x0000), 2);
    // Resetting the local BCU ends a connection the same way.
    ASSERT_EQ(sendAndWait(hex("062300000000 00")), 0);
    ASSERT_EQ(library.resetLocalBcu(), 0);
    EXPECT_EQ(disconnectsTo(0x0000), 3);
    ASSERT_EQ(library.resetLocalBcu(), 0);
    EXPECT_EQ(disconnectsTo(0x0000), 3);
}

// Data to the device goes one numbered telegram at a time: the next leaves with the next sequence
// number once the device acknowledged the one before; an acknowledgement of another number is
// no acknowledgement.
TEST_F(KnxIpTunnel, DataTelegramsAreNumberedAndWaitForTheirAcknowledgement)
{
    ASSERT_EQ(library.install(0, 9600, 2000, 100, 0), 0);
    ASSERT_EQ(sendAndWait(hex("062300000011 05")), 0);
    auto sequences = [this] { return sentToDevice(Tpci::isDataConnected); };
    auto deviceAcks = [this](int sequence) {
        socket.answer(indication(0x1105, QByteArray(1, char(Tpci::Ack | (sequence << 2)))));
        int queued = 0, repeats = 0, busy = 0;
        for (int i = 0; i < 5; ++i, pump.processEvents())
            library.pollSend(queued, repeats, busy);
    };
    ASSERT_EQ(sendAndWait(hex("0921000000000001 0300")), 0);
    ASSERT_EQ(sendAndWait(hex("0921000000000001 0300")), 0);
    EXPECT_EQ(sequences(), std::vector<int>{0});
    deviceAcks(3);
    EXPECT_EQ(sequences(), std::vector<int>{0});
    deviceAcks(0);
    EXPECT_EQ(sequences(), (std::vector<int>{0, 1}));
    deviceAcks(1);
    ASSERT_EQ(sendAndWait(hex("0921000000000001 0300")), 0);
    EXPECT_EQ(sequences(), (std::vector<int>{0, 1, 2}));
}

// A numbered telegram the device does not acknowledge leaves again with its own number, three
// times; after the third the connection to the device is ended. A refusal (T_NAK) sends it again
// at once and counts as one of the three.
TEST_F(KnxIpTunnel, AnUnacknowledgedTelegramIsRepeatedThenTheConnectionEnds)
{
    auto waitMs = [this](int ms) {
        int queued = 0, repeats = 0, busy = 0;
        for (const qint64 end = pump.now + ms; pump.now < end; pump.processEvents())
            library.pollSend(queued, repeats, busy);
    };
    auto isDisconnect = [](int tpci) { return tpci == Tpci::Disconnect; };
    for (const bool refused : {false, true}) {
        SCOPED_TRACE(refused ? "refused once" : "never answered");
        socket.sent.clear();
        fromServer = 0; // a new tunnel counts the interface's requests from 0
        ASSERT_EQ(library.install(0, 9600, 2000, 100, 0), 0);
        ASSERT_EQ(sendAndWait(hex("062300000011 05")), 0);
        ASSERT_EQ(sendAndWait(hex("0921000000000001 0300")), 0);
        const int t = library.timings().transportAckMs;
        waitMs(t / 2);
        if (refused) {
            socket.answer(indication(0x1105, QByteArray(1, char(Tpci::Nak))));
            waitMs(10);
        }
        std::vector<int> expected(refused ? 2 : 1, 0);
        EXPECT_EQ(sentToDevice(Tpci::isDataConnected), expected) << "repeated before its time";
        // Repeats at t, 2t, 3t after the last sending; the connection ends at 4t.
        waitMs(refused ? 2 * t + 40 : 3 * t - t / 2 + 40);
        expected.assign(4, 0);
        EXPECT_EQ(sentToDevice(Tpci::isDataConnected), expected);
        EXPECT_TRUE(sentToDevice(isDisconnect).empty());
        waitMs(t);
        EXPECT_EQ(sentToDevice(isDisconnect).size(), 1u);
        library.close();
    }
}

// Each request to the interface carries the next sequence number of the tunnel; an acknowledgement
// the interface repeats, or one for another number, does not move it on.
TEST_F(KnxIpTunnel, RequestsAreCountedOncePerAcknowledgement)
{
    const auto plain = socket.responder;
    socket.responder = [this, plain](const QByteArray &sent) {
        const KnxIp::Datagram d = KnxIp::ReadDatagram(sent);
        if (d.service == KnxIp::TunnellingRequest) {
            socket.answer(KnxIp::tunnellingAck(5, (d.sequence + 5) & 0xFF, 0));
            socket.answer(KnxIp::tunnellingAck(5, d.sequence, 0));
            // one for the number the next request will carry, before that request is sent
            socket.answer(KnxIp::tunnellingAck(5, (d.sequence + 1) & 0xFF, 0));
        }
        plain(sent); // the acknowledgement once more, then the confirmation
    };
    ASSERT_EQ(library.install(0, 9600, 2000, 100, 0), 0);
    for (int i = 0; i < 3; ++i)
        ASSERT_EQ(sendAndWait(hex("062300000011 05")), 0);
    std::vector<int> sequences;
    for (const QByteArray &s : socket.sent) {
        const KnxIp::Datagram d = KnxIp::ReadDatagram(s);
        if (d.service == KnxIp::TunnellingRequest)
            sequences.push_back(d.sequence);
    }
    // connect; disconnect and connect; disconnect and connect
    EXPECT_EQ(sequences, (std::vector<int>{0, 1, 2, 3, 4}));
}

// How the interface answers a tunnelling request or a connection state request.
enum class Tunnel {
    Silent,         // neither acknowledges nor confirms
    Sound,          // acknowledges, then confirms
    ConfirmedEarly, // confirms before it acknowledges
    AckLost,        // confirms but never acknowledges
    AckRefused,     // acknowledges with an error status, then confirms
    NotSent,        // acknowledges, then confirms with the error bit
    NotSentEarly,   // confirms with the error bit, then acknowledges
    NeverConfirmed, // acknowledges only
    StateRefused,   // answers the heartbeat with "no such connection"
    StateSilent,    // never answers the heartbeat
    EndsTunnel,     // asks to end the tunnel after its acknowledgement
};

struct TunnelCase {
    const char *name;
    Tunnel behaviour;
    int expected; // of the send, polled until it is done or fails
    int requests; // tunnelling requests sent: an acknowledged one never goes again
};

class KnxIpTunnelFaults : public KnxIpTunnel, public ::testing::WithParamInterface<TunnelCase> {};

// Every answer of the interface ends a send in its own way: done, the telegram not confirmed
// (which the link counts as no bus access), or the tunnel lost; never a send that waits on.
TEST_P(KnxIpTunnelFaults, EndTheSendAsTheInterfaceAnswers)
{
    const Tunnel t = GetParam().behaviour;
    socket.responder = [this, t](const QByteArray &sent) {
        const KnxIp::Datagram d = KnxIp::ReadDatagram(sent);
        if (d.service == KnxIp::ConnectRequest)
            socket.answer(KnxIp::connectResponse(5, 0, socket.peer, 0x11FF));
        if (d.service == KnxIp::ConnectionStateRequest && t != Tunnel::StateSilent)
            socket.answer(KnxIp::connectionStateResponse(
                5, t == Tunnel::StateRefused ? KnxIp::ErrorConnectionId : KnxIp::NoError));
        if (d.service != KnxIp::TunnellingRequest || t == Tunnel::Silent)
            return;
        QByteArray con = d.cemi;
        con[0] = char(Cemi::LDataCon);
        if (t == Tunnel::NotSent || t == Tunnel::NotSentEarly)
            con[2] = char(std::uint8_t(con.at(2)) | Cemi::ConfirmError);
        const bool early = t == Tunnel::ConfirmedEarly || t == Tunnel::NotSentEarly || t == Tunnel::AckLost;
        if (early)
            socket.answer(KnxIp::tunnellingRequest(5, fromServer++, con));
        if (t != Tunnel::AckLost)
            socket.answer(KnxIp::tunnellingAck(5, d.sequence, t == Tunnel::AckRefused ? 0x29 : 0));
        if (!early && t != Tunnel::NeverConfirmed)
            socket.answer(KnxIp::tunnellingRequest(5, fromServer++, con));
        if (t == Tunnel::EndsTunnel)
            socket.answer(KnxIp::disconnectRequest(5, socket.peer));
    };
    library.setHeartbeatMs(50);
    ASSERT_EQ(library.install(0, 9600, 2000, 100, 0), 0);
    int status = library.send(hex("062300000011 05"));
    int q = 0, r = 0, busy = 1;
    for (int i = 0; i < 5000 && busy && status == 0; ++i, pump.processEvents())
        status = library.pollSend(q, r, busy);
    // The heartbeat comes only after the send; a tunnel that fails it fails the next poll.
    for (int i = 0; i < 5000 && status == 0 && GetParam().expected != 0; ++i, pump.processEvents())
        status = library.pollSend(q, r, busy);
    EXPECT_EQ(status, GetParam().expected) << library.lastErrorText().toStdString();
    EXPECT_LT(pump.now, 5000);
    int requests = 0;
    for (const QByteArray &sent : socket.sent)
        requests += KnxIp::ReadDatagram(sent).service == KnxIp::TunnellingRequest;
    EXPECT_EQ(requests, GetParam().requests);
}

INSTANTIATE_TEST_SUITE_P(
    Answers, KnxIpTunnelFaults,
    // A request goes three times, each with its repeat, before the telegram is given up; a
    // confirmation shows the request taken even without its acknowledgement, and one lost
    // confirmation leaves the telegram to the transport layer.
    ::testing::Values(TunnelCase{"silent", Tunnel::Silent, BusLibrary::NotConfirmed, 6},
                      TunnelCase{"sound", Tunnel::Sound, 0, 1},
                      TunnelCase{"confirmedEarly", Tunnel::ConfirmedEarly, 0, 1},
                      TunnelCase{"ackLost", Tunnel::AckLost, 0, 1},
                      TunnelCase{"ackRefused", Tunnel::AckRefused, 0, 1},
                      TunnelCase{"notSent", Tunnel::NotSent, BusLibrary::NotConfirmed, 1},
                      TunnelCase{"notSentEarly", Tunnel::NotSentEarly, BusLibrary::NotConfirmed, 1},
                      TunnelCase{"neverConfirmed", Tunnel::NeverConfirmed, 0, 1},
                      TunnelCase{"stateRefused", Tunnel::StateRefused, KnxIpBusLibrary::Lost, 1},
                      TunnelCase{"stateSilent", Tunnel::StateSilent, KnxIpBusLibrary::Lost, 1},
                      TunnelCase{"endsTunnel", Tunnel::EndsTunnel, KnxIpBusLibrary::Lost, 1}),
    [](const auto &info) { return std::string(info.param.name); });

// A standard interface behind a lossy network: it takes a request under the number it expects,
// acknowledges a repetition of the one before without taking it again, and drops anything else.
// Each letter is one request the client sends: L lost on its way, A its answers (acknowledgement
// and confirmation) lost, . passed. Whatever the losses, the telegram arrives, and the next one
// is taken at its first request: the two counters agree again.
TEST_F(KnxIpTunnel, LostRequestsAndAnswersLeaveTheCountersAgreeing)
{
    const struct {
        const char *losses;
        int minimumTaken; // how often the interface takes the first telegram
    } cases[] = {{"", 1}, {"LL", 1}, {"AA", 1}, {"LA", 1}, {"AL", 1}, {"LLLL", 1}, {"AALL", 1}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.losses);
        socket.sent.clear();
        fromServer = 0;
        int expected = 0, request = 0;
        std::vector<QByteArray> taken;
        const std::string losses = c.losses;
        socket.responder = [&](const QByteArray &sent) {
            const KnxIp::Datagram d = KnxIp::ReadDatagram(sent);
            if (d.service == KnxIp::ConnectRequest)
                socket.answer(KnxIp::connectResponse(channel, 0, socket.peer, 0x11FF));
            if (d.service == KnxIp::DisconnectRequest)
                socket.answer(KnxIp::disconnectResponse(channel, 0));
            if (d.service != KnxIp::TunnellingRequest)
                return;
            const char loss = request < int(losses.size()) ? losses[std::size_t(request)] : '.';
            ++request;
            if (loss == 'L')
                return;
            const bool fresh = d.sequence == expected;
            if (!fresh && d.sequence != ((expected - 1) & 0xFF))
                return;
            if (fresh) {
                expected = (expected + 1) & 0xFF;
                taken.push_back(d.cemi);
            }
            if (loss == 'A')
                return;
            socket.answer(KnxIp::tunnellingAck(channel, d.sequence, 0));
            if (fresh) {
                QByteArray con = d.cemi;
                con[0] = char(Cemi::LDataCon);
                socket.answer(KnxIp::tunnellingRequest(channel, fromServer++, con));
            }
        };
        ASSERT_EQ(library.install(0, 9600, 2000, 100, 0), 0);
        ASSERT_EQ(sendAndWait(hex("062300000011 05")), 0) << library.lastErrorText().toStdString();
        const int first = int(std::count_if(taken.begin(), taken.end(), [](const QByteArray &cemi) {
            return cemi.endsWith(char(Tpci::Connect));
        }));
        EXPECT_GE(first, c.minimumTaken);
        const int before = request;
        taken.clear();
        ASSERT_EQ(sendAndWait(hex("0124")), 0);
        EXPECT_EQ(request, before + 1);
        EXPECT_EQ(taken.size(), 1u);
        library.close();
    }
}

// The closing T_DISCONNECT after a telegram that went unacknowledged: the tunnel's counter has
// moved past that telegram's number, and the tunnel's DISCONNECT_REQUEST waits for the
// T_DISCONNECT's acknowledgement, within its bound.
TEST_F(KnxIpTunnel, TheClosingDisconnectTakesTheNextNumberAndIsAwaited)
{
    for (const bool acknowledged : {true, false}) {
        SCOPED_TRACE(acknowledged ? "acknowledged" : "never acknowledged");
        socket.sent.clear();
        fromServer = 0;
        const auto sound = socket.responder;
        ASSERT_EQ(library.install(0, 9600, 2000, 100, 0), 0);
        ASSERT_EQ(sendAndWait(hex("062300000011 05")), 0);
        bool silent = true;
        qint64 disconnectSentAt = -1, closedAt = -1;
        int unacknowledgedSequence = -1, disconnectSequence = -1;
        socket.responder = [&](const QByteArray &sent) {
            const KnxIp::Datagram d = KnxIp::ReadDatagram(sent);
            if (d.service == KnxIp::DisconnectRequest)
                closedAt = pump.now;
            if (d.service == KnxIp::TunnellingRequest) {
                if (silent) {
                    unacknowledgedSequence = d.sequence;
                    return;
                }
                if (disconnectSentAt < 0) {
                    disconnectSequence = d.sequence;
                    disconnectSentAt = pump.now;
                }
                if (!acknowledged)
                    return;
            }
            sound(sent);
        };
        EXPECT_EQ(sendAndWait(hex("0921000000000001 0300")), BusLibrary::NotConfirmed);
        silent = false;
        library.close();
        EXPECT_EQ(disconnectSequence, (unacknowledgedSequence + 1) & 0xFF);
        ASSERT_GE(disconnectSentAt, 0);
        const int ack = library.timings().tunnellingAckMs;
        if (acknowledged) {
            EXPECT_LT(closedAt - disconnectSentAt, ack);
        } else {
            EXPECT_GE(closedAt - disconnectSentAt, 2 * ack); // the request and its repeat
            EXPECT_LT(closedAt - disconnectSentAt, 4 * ack);
        }
        socket.responder = sound;
    }
}

// While the caller waits, the interface's requests are acknowledged at once; what they carry
// stays for the next fetch.
TEST_F(KnxIpTunnel, KeepAliveAcknowledgesAndKeepsWhatArrives)
{
    ASSERT_EQ(library.install(0, 9600, 2000, 100, 0), 0);
    ASSERT_EQ(sendAndWait(hex("062300000011 05")), 0);
    const int sequence = fromServer;
    socket.answer(indication(0x1105, hex("43400012")));
    EXPECT_EQ(library.keepAlive(), 0);
    EXPECT_EQ(acksSent(sequence), 1);
    BusLibrary::FetchBuffer buffer{};
    ASSERT_EQ(library.fetch(buffer), 0);
    EXPECT_EQ(QByteArray(reinterpret_cast<const char *>(buffer.data()), buffer[0] + 1),
              hex("0b39b0110511ff03 03400012"));
}

// Three connection state questions lost on a lossy link do not end a tunnel in which the
// interface still speaks; once it falls silent as well, the tunnel is lost.
TEST_F(KnxIpTunnel, UnansweredStateQuestionsEndOnlyASilentTunnel)
{
    library.setHeartbeatMs(50); // the scripted interface never answers the state question
    ASSERT_EQ(library.install(0, 9600, 2000, 100, 0), 0);
    int q = 0, r = 0, busy = 0, status = 0;
    for (int i = 0; i < 5000 && status == 0; ++i, pump.processEvents()) {
        if (i % 200 == 0)
            socket.answer(indication(0x1234, hex("0081")));
        status = library.pollSend(q, r, busy);
    }
    EXPECT_EQ(status, 0);
    const qint64 silentFrom = pump.now;
    for (int i = 0; i < 10000 && status == 0; ++i, pump.processEvents())
        status = library.pollSend(q, r, busy);
    EXPECT_EQ(status, KnxIpBusLibrary::Lost);
    // at most the questions under way when the interface fell silent, and three more
    EXPECT_LE(pump.now - silentFrom, 2 * 3 * library.timings().connectionStateMs + 100);
}

// A host name that cannot be resolved says so in the user's language.
TEST_F(KnxIpTunnel, AnUnknownHostNameSaysSo)
{
    socket.resolveError = QStringLiteral("Name or service not known");
    EXPECT_EQ(library.install(0, 9600, 2000, 100, 0), KnxIpBusLibrary::UnknownHost);
    EXPECT_EQ(library.lastErrorText(), QStringLiteral("127.0.0.1: Name or service not known"));
    EXPECT_EQ(library.statusMessage(KnxIpBusLibrary::UnknownHost, 2),
              QStringLiteral("The host name 127.0.0.1 was not found."));
    EXPECT_EQ(library.statusMessage(KnxIpBusLibrary::UnknownHost, 1),
              QStringLiteral("Der Hostname 127.0.0.1 wurde nicht gefunden."));
    EXPECT_EQ(library.statusMessage(KnxIpBusLibrary::UnknownHost, 3),
              QString::fromUtf8("Le nom d'hôte 127.0.0.1 est introuvable."));
    EXPECT_FALSE(socket.opened);
}

TEST_F(KnxIpTunnel, ARefusedConnectionNamesTheHostAndTheStatus)
{
    refuseWith = KnxIp::ErrorNoMoreConnections;
    EXPECT_EQ(library.install(0, 9600, 2000, 100, 0), KnxIpBusLibrary::Refused);
    EXPECT_EQ(library.statusMessage(KnxIpBusLibrary::Refused, 2),
              QStringLiteral("The IP interface 127.0.0.1 refused the connection (status 0x24)."));
    EXPECT_FALSE(socket.opened);
}

} // namespace
} // namespace zx::test
