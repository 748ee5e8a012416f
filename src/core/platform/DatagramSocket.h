#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <optional>

namespace zx {

// An IPv4 address and UDP port, both in host order.
struct UdpEndpoint {
    std::uint32_t address = 0;
    std::uint16_t port = 0;
    friend bool operator==(const UdpEndpoint &, const UdpEndpoint &) = default;
    QString text() const
    {
        return QStringLiteral("%1.%2.%3.%4:%5")
            .arg(address >> 24)
            .arg((address >> 16) & 0xFF)
            .arg((address >> 8) & 0xFF)
            .arg(address & 0xFF)
            .arg(port);
    }
};

struct ReceivedDatagram {
    UdpEndpoint from;
    QByteArray bytes;
};

// A UDP socket for the tunnelling back-end of the bus: the real one in the platform library,
// a scripted one in the tests. Nothing here waits: receive() hands over what has arrived.
class DatagramSocket {
  public:
    virtual ~DatagramSocket() = default;
    // The IPv4 address of a host name or dotted quad; nullopt with the system's text.
    virtual std::optional<std::uint32_t> resolve(const QString &host, QString *error) = 0;
    // Opens a socket on a free port of the local address that reaches `peer`.
    virtual bool open(const UdpEndpoint &peer, QString *error) = 0;
    virtual void close() = 0;
    virtual bool isOpen() const = 0;
    virtual UdpEndpoint localEndpoint() const = 0;
    virtual bool sendTo(const UdpEndpoint &to, const QByteArray &bytes, QString *error) = 0;
    // The next datagram that has arrived, if any.
    virtual std::optional<ReceivedDatagram> receive() = 0;
};

} // namespace zx
