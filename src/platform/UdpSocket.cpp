#include "platform/UdpSocket.h"

#include <arpa/inet.h>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace zx {

namespace {

sockaddr_in toSockaddr(const UdpEndpoint &e)
{
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(e.address);
    a.sin_port = htons(e.port);
    return a;
}

QString systemError()
{
    return QString::fromLocal8Bit(std::strerror(errno));
}

} // namespace

std::optional<std::uint32_t> UdpSocket::resolve(const QString &host, QString *error)
{
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_DGRAM;
    addrinfo *found = nullptr;
    const int status = ::getaddrinfo(host.toUtf8().constData(), nullptr, &hints, &found);
    if (status != 0 || !found) {
        if (error)
            *error = QString::fromLocal8Bit(::gai_strerror(status));
        return std::nullopt;
    }
    const auto *in = reinterpret_cast<const sockaddr_in *>(found->ai_addr);
    const std::uint32_t address = ntohl(in->sin_addr.s_addr);
    ::freeaddrinfo(found);
    return address;
}

bool UdpSocket::open(const UdpEndpoint &peer, QString *error)
{
    close();
    // The local address that reaches the peer goes into every endpoint this side names, so the
    // interface answers to an address it can reach: a connected probe socket finds it.
    const int probe = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    sockaddr_in local{};
    socklen_t length = sizeof local;
    const sockaddr_in to = toSockaddr(peer);
    const bool found = probe >= 0 &&
                       ::connect(probe, reinterpret_cast<const sockaddr *>(&to), sizeof to) == 0 &&
                       ::getsockname(probe, reinterpret_cast<sockaddr *>(&local), &length) == 0;
    if (!found) {
        if (error)
            *error = systemError();
        if (probe >= 0)
            ::close(probe);
        return false;
    }
    ::close(probe);
    fd_ = ::socket(AF_INET, SOCK_DGRAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    local.sin_port = 0;
    if (fd_ < 0 || ::bind(fd_, reinterpret_cast<const sockaddr *>(&local), sizeof local) != 0 ||
        ::getsockname(fd_, reinterpret_cast<sockaddr *>(&local), &length) != 0) {
        if (error)
            *error = systemError();
        close();
        return false;
    }
    local_ = {ntohl(local.sin_addr.s_addr), ntohs(local.sin_port)};
    return true;
}

void UdpSocket::close()
{
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = -1;
    local_ = {};
}

bool UdpSocket::sendTo(const UdpEndpoint &to, const QByteArray &bytes, QString *error)
{
    const sockaddr_in a = toSockaddr(to);
    if (fd_ < 0 || ::sendto(fd_, bytes.constData(), size_t(bytes.size()), 0,
                            reinterpret_cast<const sockaddr *>(&a), sizeof a) != bytes.size()) {
        if (error)
            *error = fd_ < 0 ? QStringLiteral("socket not open") : systemError();
        return false;
    }
    return true;
}

std::optional<ReceivedDatagram> UdpSocket::receive()
{
    if (fd_ < 0)
        return std::nullopt;
    // Room for the largest datagram UDP carries: one cut to a smaller buffer could pass for a
    // shorter one whose header happens to match the cut, and take a sequence number.
    constexpr std::size_t Largest = 65535;
    if (buffer_.size() < Largest)
        buffer_.resize(Largest);
    sockaddr_in from{};
    socklen_t length = sizeof from;
    for (;;) {
        const ssize_t n = ::recvfrom(fd_, buffer_.data(), buffer_.size(), MSG_TRUNC,
                                     reinterpret_cast<sockaddr *>(&from), &length);
        if (n < 0 && errno == EINTR)
            continue;
        // ECONNREFUSED: an earlier datagram found no listener; nothing to hand over now.
        if (n < 0)
            return std::nullopt;
        if (std::size_t(n) > buffer_.size())
            continue; // longer than any datagram can be: nothing whole to hand over
        return ReceivedDatagram{{ntohl(from.sin_addr.s_addr), ntohs(from.sin_port)},
                                QByteArray(buffer_.data(), int(n))};
    }
}

} // namespace zx
