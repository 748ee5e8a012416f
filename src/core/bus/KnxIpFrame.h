#pragma once

#include "platform/DatagramSocket.h"

#include <QByteArray>

#include <cstdint>
#include <optional>

namespace zx {

// KNXnet/IP tunnelling on the link layer, as an IP interface (or knxd) speaks it over UDP:
//   header       06 10 service(2) total length(2)
//   HPAI         08 01 IPv4(4) port(2)                 an endpoint of this side
//   CRI          04 04 02 00                           tunnel connection on the link layer
//   connection   04 channel sequence status            of tunnelling requests and their acks
// and inside a tunnelling request one cEMI frame:
//   L_Data       code 00 control1 control2 source(2) destination(2) length TPDU...
// with the message codes 11 (.req), 2E (.con) and 29 (.ind); `length` counts the TPDU bytes
// after the first. All numbers are big-endian.
namespace KnxIp {
constexpr std::uint16_t DefaultPort = 3671;

constexpr std::uint16_t ConnectRequest = 0x0205;
constexpr std::uint16_t ConnectResponse = 0x0206;
constexpr std::uint16_t ConnectionStateRequest = 0x0207;
constexpr std::uint16_t ConnectionStateResponse = 0x0208;
constexpr std::uint16_t DisconnectRequest = 0x0209;
constexpr std::uint16_t DisconnectResponse = 0x020A;
constexpr std::uint16_t TunnellingRequest = 0x0420;
constexpr std::uint16_t TunnellingAck = 0x0421;

constexpr int NoError = 0x00;
constexpr int ErrorConnectionId = 0x21;
constexpr int ErrorNoMoreConnections = 0x24;

QByteArray connectRequest(const UdpEndpoint &local);
QByteArray connectResponse(int channel, int status, const UdpEndpoint &data, int individualAddress);
QByteArray connectionStateRequest(int channel, const UdpEndpoint &local);
QByteArray connectionStateResponse(int channel, int status);
QByteArray disconnectRequest(int channel, const UdpEndpoint &local);
QByteArray disconnectResponse(int channel, int status);
QByteArray tunnellingRequest(int channel, int sequence, const QByteArray &cemi);
QByteArray tunnellingAck(int channel, int sequence, int status);

// One datagram as read: the service and the fields it carries. Anything short, with a wrong
// header, a length that disagrees with the datagram or a body too short for its service is
// not ok() and carries nothing.
struct Datagram {
    std::uint16_t service = 0;
    int channel = -1;
    int sequence = -1;
    int status = -1;
    UdpEndpoint endpoint;       // connect response: data endpoint; requests: control endpoint
    int individualAddress = -1; // connect response: the address the interface gives the tunnel
    QByteArray cemi;            // tunnelling request
    bool valid = false;
    bool ok() const { return valid; }
};
Datagram ReadDatagram(const QByteArray &bytes);
} // namespace KnxIp

namespace Cemi {
constexpr int LDataReq = 0x11;
constexpr int LDataCon = 0x2E;
constexpr int LDataInd = 0x29;

// The standard frame of a point-to-point telegram: system priority, no repetition suppressed.
constexpr int Control1 = 0xB0;
constexpr int ConfirmError = 0x01;    // in control1 of an L_Data.con: the telegram did not go
constexpr int GroupAddressBit = 0x80; // in control2
constexpr int HopCount6 = 0x60;

struct LData {
    int messageCode = 0;
    int control1 = 0;
    int control2 = 0;
    int source = 0;
    int destination = 0;
    QByteArray tpdu; // TPCI byte first
    bool toGroup() const { return (control2 & GroupAddressBit) != 0; }
};
// An L_Data frame (any of the three codes) with its additional information skipped; nullopt
// for anything else or anything cut short.
std::optional<LData> ReadLData(const QByteArray &cemi);
QByteArray LDataFrame(int messageCode, int control1, int source, int destination, const QByteArray &tpdu);
} // namespace Cemi

// The connection-oriented transport layer's control bytes (TPCI) in the first TPDU byte.
namespace Tpci {
constexpr int Connect = 0x80;
constexpr int Disconnect = 0x81;
constexpr int DataConnected = 0x40; // | sequence << 2 | the application service's two high bits
constexpr int Ack = 0xC2;           // | sequence << 2
constexpr int Nak = 0xC3;           // | sequence << 2
constexpr bool isDataConnected(int tpci)
{
    return (tpci & 0xC0) == 0x40;
}
constexpr bool isAck(int tpci)
{
    return (tpci & 0xC3) == 0xC2;
}
constexpr bool isNak(int tpci)
{
    return (tpci & 0xC3) == 0xC3;
}
constexpr int sequenceOf(int tpci)
{
    return (tpci >> 2) & 0x0F;
}
} // namespace Tpci

} // namespace zx
