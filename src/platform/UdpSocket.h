#pragma once

#include "platform/DatagramSocket.h"

#include <vector>

namespace zx {

// The datagram socket over the system's UDP (IPv4), non-blocking.
class UdpSocket final : public DatagramSocket {
  public:
    UdpSocket() = default;
    UdpSocket(const UdpSocket &) = delete;
    UdpSocket &operator=(const UdpSocket &) = delete;
    ~UdpSocket() override { close(); }

    std::optional<std::uint32_t> resolve(const QString &host, QString *error) override;
    bool open(const UdpEndpoint &peer, QString *error) override;
    void close() override;
    bool isOpen() const override { return fd_ >= 0; }
    UdpEndpoint localEndpoint() const override { return local_; }
    bool sendTo(const UdpEndpoint &to, const QByteArray &bytes, QString *error) override;
    std::optional<ReceivedDatagram> receive() override;

  private:
    int fd_ = -1;
    UdpEndpoint local_;
    std::vector<char> buffer_;
};

} // namespace zx
