#pragma once

#include "platform/DatagramSocket.h"

#include <deque>
#include <functional>
#include <vector>

namespace zx::test {

// A datagram socket whose far end is a script: every datagram sent is recorded and may be
// answered at once by `responder`; `incoming` holds what receive() hands out next.
class ScriptedDatagramSocket final : public DatagramSocket {
  public:
    UdpEndpoint peer{0x7F000001, 3671};
    UdpEndpoint local{0x7F000001, 40000};
    std::vector<QByteArray> sent;
    std::vector<UdpEndpoint> sentTo; // where each datagram of `sent` went
    std::deque<ReceivedDatagram> incoming;
    std::function<void(const QByteArray &)> responder;
    QString sendError; // every send fails with this text while it is set
    bool opened = false;

    QString resolveError; // the host name is not found, with this text, while it is set
    std::optional<std::uint32_t> resolve(const QString &, QString *error) override
    {
        if (resolveError.isEmpty())
            return peer.address;
        *error = resolveError;
        return std::nullopt;
    }
    bool open(const UdpEndpoint &, QString *) override { return opened = true; }
    void close() override { opened = false; }
    bool isOpen() const override { return opened; }
    UdpEndpoint localEndpoint() const override { return local; }
    bool sendTo(const UdpEndpoint &to, const QByteArray &bytes, QString *error) override
    {
        if (!sendError.isEmpty()) {
            *error = sendError;
            return false;
        }
        sent.push_back(bytes);
        sentTo.push_back(to);
        if (responder)
            responder(bytes);
        return true;
    }
    std::optional<ReceivedDatagram> receive() override
    {
        if (incoming.empty())
            return std::nullopt;
        ReceivedDatagram d = incoming.front();
        incoming.pop_front();
        return d;
    }
    void answer(const QByteArray &bytes) { incoming.push_back({peer, bytes}); }
};

} // namespace zx::test
