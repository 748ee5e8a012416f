#include "bus/KnxIpFrame.h"

namespace zx {

namespace {

constexpr int HeaderSize = 6;
constexpr int HpaiSize = 8;

void append16(QByteArray &b, int v)
{
    b.append(char((v >> 8) & 0xFF));
    b.append(char(v & 0xFF));
}

QByteArray withHeader(std::uint16_t service, const QByteArray &body)
{
    QByteArray b;
    b.append(char(0x06));
    b.append(char(0x10));
    append16(b, service);
    append16(b, HeaderSize + int(body.size()));
    return b + body;
}

QByteArray hpai(const UdpEndpoint &e)
{
    QByteArray b;
    b.append(char(HpaiSize));
    b.append(char(0x01)); // UDP over IPv4
    append16(b, int(e.address >> 16));
    append16(b, int(e.address & 0xFFFF));
    append16(b, e.port);
    return b;
}

int u8(const QByteArray &b, int i)
{
    return std::uint8_t(b.at(i));
}

int u16(const QByteArray &b, int i)
{
    return (u8(b, i) << 8) | u8(b, i + 1);
}

// An HPAI at `at`; false when it is not one of UDP over IPv4.
bool readHpai(const QByteArray &b, int at, UdpEndpoint *e)
{
    if (b.size() < at + HpaiSize || u8(b, at) != HpaiSize || u8(b, at + 1) != 0x01)
        return false;
    e->address = (std::uint32_t(u16(b, at + 2)) << 16) | std::uint32_t(u16(b, at + 4));
    e->port = std::uint16_t(u16(b, at + 6));
    return true;
}

} // namespace

namespace KnxIp {

QByteArray connectRequest(const UdpEndpoint &local)
{
    return withHeader(ConnectRequest, hpai(local) + hpai(local) + QByteArray("\x04\x04\x02\x00", 4));
}

QByteArray connectResponse(int channel, int status, const UdpEndpoint &data, int individualAddress)
{
    QByteArray body;
    body.append(char(channel));
    body.append(char(status));
    if (status == NoError) {
        body += hpai(data);
        body.append(char(0x04));
        body.append(char(0x04));
        append16(body, individualAddress);
    }
    return withHeader(ConnectResponse, body);
}

QByteArray connectionStateRequest(int channel, const UdpEndpoint &local)
{
    QByteArray body;
    body.append(char(channel));
    body.append(char(0));
    return withHeader(ConnectionStateRequest, body + hpai(local));
}

QByteArray connectionStateResponse(int channel, int status)
{
    QByteArray body;
    body.append(char(channel));
    body.append(char(status));
    return withHeader(ConnectionStateResponse, body);
}

QByteArray disconnectRequest(int channel, const UdpEndpoint &local)
{
    QByteArray body;
    body.append(char(channel));
    body.append(char(0));
    return withHeader(DisconnectRequest, body + hpai(local));
}

QByteArray disconnectResponse(int channel, int status)
{
    QByteArray body;
    body.append(char(channel));
    body.append(char(status));
    return withHeader(DisconnectResponse, body);
}

QByteArray tunnellingRequest(int channel, int sequence, const QByteArray &cemi)
{
    QByteArray body;
    body.append(char(0x04));
    body.append(char(channel));
    body.append(char(sequence & 0xFF));
    body.append(char(0));
    return withHeader(TunnellingRequest, body + cemi);
}

QByteArray tunnellingAck(int channel, int sequence, int status)
{
    QByteArray body;
    body.append(char(0x04));
    body.append(char(channel));
    body.append(char(sequence & 0xFF));
    body.append(char(status));
    return withHeader(TunnellingAck, body);
}

Datagram ReadDatagram(const QByteArray &b)
{
    Datagram d;
    if (b.size() < HeaderSize || u8(b, 0) != 0x06 || u8(b, 1) != 0x10 || u16(b, 4) != b.size())
        return d;
    d.service = std::uint16_t(u16(b, 2));
    const int body = HeaderSize;
    const int size = int(b.size()) - HeaderSize;
    switch (d.service) {
    case ConnectResponse:
        if (size < 2)
            return {};
        d.channel = u8(b, body);
        d.status = u8(b, body + 1);
        if (d.status == NoError) {
            // HPAI of the data endpoint, then the CRD with the tunnel's individual address.
            if (size < 2 + HpaiSize + 4 || !readHpai(b, body + 2, &d.endpoint) || u8(b, body + 10) != 4 ||
                u8(b, body + 11) != 0x04)
                return {};
            d.individualAddress = u16(b, body + 12);
        }
        break;
    case ConnectionStateRequest:
    case DisconnectRequest:
        if (size < 2 + HpaiSize || !readHpai(b, body + 2, &d.endpoint))
            return {};
        d.channel = u8(b, body);
        d.status = u8(b, body + 1);
        break;
    case ConnectionStateResponse:
    case DisconnectResponse:
        if (size < 2)
            return {};
        d.channel = u8(b, body);
        d.status = u8(b, body + 1);
        break;
    case ConnectRequest:
        if (size < 2 * HpaiSize + 4 || !readHpai(b, body, &d.endpoint) || u8(b, body + 16) != 4 ||
            u8(b, body + 17) != 0x04 || u8(b, body + 18) != 0x02)
            return {};
        {
            UdpEndpoint data;
            if (!readHpai(b, body + HpaiSize, &data))
                return {};
        }
        break;
    case TunnellingRequest:
    case TunnellingAck:
        // An acknowledgement is the connection header alone: anything after it is no ack.
        if (size < 4 || u8(b, body) != 4 || (d.service == TunnellingAck && size != 4))
            return {};
        d.channel = u8(b, body + 1);
        d.sequence = u8(b, body + 2);
        d.status = u8(b, body + 3);
        if (d.service == TunnellingRequest) {
            d.cemi = b.mid(body + 4);
            if (d.cemi.isEmpty())
                return {};
        }
        break;
    default:
        return {}; // a service the tunnel does not use
    }
    d.valid = true;
    return d;
}

} // namespace KnxIp

namespace Cemi {

std::optional<LData> ReadLData(const QByteArray &b)
{
    if (b.size() < 2)
        return std::nullopt;
    LData f;
    f.messageCode = u8(b, 0);
    if (f.messageCode != LDataReq && f.messageCode != LDataCon && f.messageCode != LDataInd)
        return std::nullopt;
    const int at = 2 + u8(b, 1); // after the additional information
    if (b.size() < at + 7)
        return std::nullopt;
    f.control1 = u8(b, at);
    f.control2 = u8(b, at + 1);
    f.source = u16(b, at + 2);
    f.destination = u16(b, at + 4);
    const int length = u8(b, at + 6);
    if (b.size() != at + 7 + length + 1)
        return std::nullopt;
    f.tpdu = b.mid(at + 7, length + 1);
    return f;
}

QByteArray LDataFrame(int messageCode, int control1, int source, int destination, const QByteArray &tpdu)
{
    QByteArray b;
    b.append(char(messageCode));
    b.append(char(0));
    b.append(char(control1));
    b.append(char(HopCount6));
    append16(b, source);
    append16(b, destination);
    b.append(char(std::max<int>(0, int(tpdu.size()) - 1)));
    return b + tpdu;
}

} // namespace Cemi

} // namespace zx
