#include "bus/KnxIpBusLibrary.h"

#include "bus/BusTexts.h"
#include "platform/EventPump.h"

namespace zx {

namespace {
constexpr int TransportRepetitions = 3;
constexpr int StateAsks = 3;
constexpr int DisconnectTries = 3;
// A telegram whose request and its repeat both went unacknowledged goes again as a new request,
// up to this many requests in all; a lost datagram or two on a busy link is no reason to stop.
constexpr int TunnelAttempts = 3;
// Telegrams in a row acknowledged but never confirmed: an interface that does not send them.
constexpr int MissedConfirmsLimit = 3;
constexpr int DataFromDevice = 0x39;
constexpr int LocalAnswer = 0x4B;
} // namespace

KnxIpBusLibrary::KnxIpBusLibrary(DatagramSocket &socket, EventPump &pump, QString host, std::uint16_t port,
                                 KnxIpTimings timings)
    : socket_(socket), pump_(pump), host_(std::move(host)), port_(port), timings_(timings)
{
    hostText_ = port_ == KnxIp::DefaultPort ? host_ : host_ + QStringLiteral(":%1").arg(port_);
}

KnxIpBusLibrary::~KnxIpBusLibrary()
{
    close();
}

std::optional<std::pair<QString, std::uint16_t>> KnxIpBusLibrary::ParseHost(const QString &text)
{
    const QString t = text.trimmed();
    const int colon = int(t.lastIndexOf(QLatin1Char(':')));
    if (t.isEmpty() || colon == 0)
        return std::nullopt;
    if (colon < 0)
        return std::pair{t, KnxIp::DefaultPort};
    bool ok = false;
    const int port = t.mid(colon + 1).toInt(&ok);
    if (!ok || port < 1 || port > 65535)
        return std::nullopt;
    return std::pair{t.left(colon), std::uint16_t(port)};
}

int KnxIpBusLibrary::fail(int status, const QString &text)
{
    errorText_ = text;
    return status;
}

QString KnxIpBusLibrary::statusMessage(int status, int language) const
{
    switch (status) {
    case Refused:
        return busText(BusText::TunnelRefused, language)
            .arg(hostText_,
                 QString::number(lastStatusCode_, 16).toUpper().rightJustified(2, QLatin1Char('0')));
    case Lost:
        return busText(BusText::TunnelLost, language).arg(hostText_);
    case UnknownHost:
        return busText(BusText::HostNotFound, language).arg(host_);
    default:
        return {};
    }
}

bool KnxIpBusLibrary::sendDatagram(const UdpEndpoint &to, const QByteArray &bytes)
{
    QString error;
    if (socket_.sendTo(to, bytes, &error))
        return true;
    failed_ = fail(Lost, hostText_ + QStringLiteral(": ") + error);
    return false;
}

int KnxIpBusLibrary::sendTimeLimitMs() const
{
    // Every attempt of the telegram and of one queued before it, and the confirmation.
    return 2 * (TunnelAttempts * 2 * timings_.tunnellingAckMs + timings_.confirmMs);
}

int KnxIpBusLibrary::answerTimeLimitMs() const
{
    // An answer lost twice in the tunnel comes again when the device repeats it unacknowledged.
    return timings_.transportAckMs + 3 * timings_.tunnellingAckMs;
}

int KnxIpBusLibrary::keepAlive()
{
    return channel_ >= 0 || failed_ ? poll() : Ok;
}

// The interface's own waits, not the coupling unit's ones the link hands over, bound every step.
int KnxIpBusLibrary::install(int, int, int, int, int)
{
    close();
    failed_ = 0;
    errorText_.clear();
    QString error;
    const auto address = socket_.resolve(host_, &error);
    if (!address)
        return fail(UnknownHost, hostText_ + QStringLiteral(": ") + error);
    control_ = {*address, port_};
    if (!socket_.open(control_, &error))
        return fail(NoInterface, hostText_ + QStringLiteral(": ") + error);
    if (!sendDatagram(control_, KnxIp::connectRequest(socket_.localEndpoint()))) {
        socket_.close();
        return failed_;
    }
    const qint64 start = pump_.monotonicMs();
    const qint64 end = start + timings_.connectMs;
    qint64 lastRequest = start;
    int refusedWith = -1;
    while (pump_.monotonicMs() < end) {
        // A request or its answer lost on the way: asked again; the interface answers a repeated
        // request from the same endpoint, or refuses it while the first one holds its channel.
        if (pump_.monotonicMs() - lastRequest >= timings_.connectRepeatMs) {
            lastRequest = pump_.monotonicMs();
            if (!sendDatagram(control_, KnxIp::connectRequest(socket_.localEndpoint()))) {
                socket_.close();
                return failed_;
            }
        }
        while (auto datagram = socket_.receive()) {
            if (datagram->from != control_)
                continue;
            const KnxIp::Datagram d = KnxIp::ReadDatagram(datagram->bytes);
            if (!d.ok() || d.service != KnxIp::ConnectResponse)
                continue;
            if (d.status != KnxIp::NoError) {
                refusedWith = d.status;
                if (lastRequest == start)
                    break; // refused at the first request: no answer to a repeat is pending
                continue;
            }
            channel_ = d.channel;
            // An interface behind NAT or on this machine may name 0.0.0.0: its own address then.
            data_ = d.endpoint.address == 0 ? control_ : d.endpoint;
            if (d.endpoint.port == 0)
                data_.port = control_.port;
            individualAddress_ = d.individualAddress;
            sendSequence_ = 0;
            expectedFromServer_ = 0;
            guessedFrom_ = -1;
            missedConfirms_ = 0;
            closing_ = false;
            stateAskedAt_ = -1; // a question to the tunnel before is no question to this one
            stateAsks_ = 0;
            lastHeard_ = pump_.monotonicMs();
            return Ok;
        }
        if (refusedWith >= 0 && lastRequest == start)
            break;
        pump_.processEvents();
    }
    socket_.close();
    if (refusedWith >= 0) {
        lastStatusCode_ = refusedWith;
        return fail(Refused, QStringLiteral("%1 refused the tunnel connection: status 0x%2")
                                 .arg(hostText_)
                                 .arg(refusedWith, 2, 16, QLatin1Char('0')));
    }
    return fail(NotConfirmed, hostText_ + QStringLiteral(": no answer to the tunnel connection request"));
}

int KnxIpBusLibrary::resetTransport()
{
    return channel_ >= 0 ? poll() : fail(NotInstalled, QStringLiteral("tunnel not open"));
}

int KnxIpBusLibrary::resetLocalBcu()
{
    if (channel_ < 0)
        return fail(NotInstalled, QStringLiteral("tunnel not open"));
    if (device_ >= 0)
        queueTransport(QByteArray(1, char(Tpci::Disconnect)), false);
    endTransportConnection();
    return poll();
}

int KnxIpBusLibrary::changeLayer(int)
{
    return channel_ >= 0 ? Ok : fail(NotInstalled, QStringLiteral("tunnel not open"));
}

void KnxIpBusLibrary::endTransportConnection()
{
    device_ = -1;
    awaitingAck_.reset();
    // Data telegrams still waiting for the connection go nowhere now.
    std::erase_if(queue_, [](const Outgoing &o) { return o.data; });
}

void KnxIpBusLibrary::queueTransport(const QByteArray &tpdu, bool data)
{
    queue_.push_back({tpdu, device_, data});
}

int KnxIpBusLibrary::send(const QByteArray &frame)
{
    if (channel_ < 0)
        return fail(NotInstalled, QStringLiteral("tunnel not open"));
    if (failed_)
        return failed_;
    if (frame.size() < 2 || std::uint8_t(frame.at(0)) != frame.size() - 1)
        return fail(BadFrame, QStringLiteral("frame whose length byte disagrees"));
    const auto b = [&](int i) { return i < frame.size() ? int(std::uint8_t(frame.at(i))) : 0; };
    switch (b(1)) {
    case 0x4C: { // read local memory: count, address
        const int count = b(2) & 0x0F;
        const int address = (b(3) << 8) | b(4);
        QByteArray answer;
        answer.append(char(4 + count));
        answer.append(char(LocalAnswer));
        answer.append(frame.mid(2, 3));
        for (int i = 0; i < count; ++i)
            answer.append(char(localMemory_[(address + i) & 0x1FF]));
        received_.push_back(answer);
        return poll();
    }
    case 0x46: { // write local memory: count, address, data
        const int address = (b(3) << 8) | b(4);
        for (int i = 5; i < frame.size(); ++i)
            localMemory_[(address + i - 5) & 0x1FF] = std::uint8_t(frame.at(i));
        return poll();
    }
    case 0x23: // connect: 0 0 0, device
        if (frame.size() < 7)
            return fail(BadFrame, QStringLiteral("connect without a device address"));
        if (device_ >= 0)
            queueTransport(QByteArray(1, char(Tpci::Disconnect)), false);
        endTransportConnection();
        device_ = (b(5) << 8) | b(6);
        transportOut_ = 0;
        transportIn_ = 0;
        queueTransport(QByteArray(1, char(Tpci::Connect)), false);
        return poll();
    case 0x24: // disconnect
        if (device_ >= 0)
            queueTransport(QByteArray(1, char(Tpci::Disconnect)), false);
        endTransportConnection();
        return poll();
    case 0x21: { // data on the connection: 0 0 0 0 0, length - 1, application data
        if (frame.size() < 10)
            return fail(BadFrame, QStringLiteral("data without an application service"));
        // Without a connection (a device that stopped acknowledging) the data goes nowhere, as
        // through a coupling unit: the device's answer is what is missing.
        if (device_ < 0)
            return poll();
        QByteArray tpdu = frame.mid(8);
        tpdu[0] = char((std::uint8_t(tpdu.at(0)) & 0x03) | Tpci::DataConnected);
        queueTransport(tpdu, true);
        return poll();
    }
    default:
        return fail(BadFrame,
                    QStringLiteral("message code 0x%1 has no meaning on a tunnel").arg(b(1), 2, 16));
    }
}

void KnxIpBusLibrary::sendTunnelling(const QByteArray &tpdu, int destination)
{
    const QByteArray cemi = Cemi::LDataFrame(Cemi::LDataReq, Cemi::Control1, 0, destination, tpdu);
    inTunnelDatagram_ = KnxIp::tunnellingRequest(channel_, sendSequence_, cemi);
    tunnelAcked_ = false;
    tunnelRepeats_ = 0;
    inTunnelSince_ = pump_.monotonicMs();
    sendDatagram(data_, inTunnelDatagram_);
}

// The request and its repeat went unacknowledged. The interface took it and only its
// acknowledgements were lost, or it never saw it; the counter is what tells them apart on its
// side. The first is likelier, so the telegram goes again with the next number; when that goes
// unacknowledged as well, with the number before. A request under a number the interface has
// taken already would be acknowledged and dropped as a repetition, and one under a number
// ahead of it dropped unanswered.
void KnxIpBusLibrary::unacknowledged()
{
    if (guessedFrom_ < 0) {
        guessedFrom_ = sendSequence_;
        sendSequence_ = (sendSequence_ + 1) & 0xFF;
    } else if (sendSequence_ != guessedFrom_) {
        sendSequence_ = guessedFrom_;
    } else {
        sendSequence_ = (guessedFrom_ + 1) & 0xFF;
    }
    if (++tunnelAttempts_ >= TunnelAttempts || closing_) {
        ++unconfirmed_;
        inTunnel_.reset();
        return;
    }
    sendTunnelling(inTunnel_->tpdu, inTunnel_->destination);
}

void KnxIpBusLibrary::drive(qint64 now)
{
    if (inTunnel_) {
        if (!tunnelAcked_ && now - inTunnelSince_ >= timings_.tunnellingAckMs) {
            if (tunnelRepeats_ < 1) {
                ++tunnelRepeats_;
                inTunnelSince_ = now;
                sendDatagram(data_, inTunnelDatagram_);
                // A missing acknowledgement may mean the interface dropped the tunnel: ask.
                if (stateAskedAt_ < 0 && !closing_)
                    askState();
            } else {
                unacknowledged();
            }
        } else if (tunnelAcked_ && now - inTunnelSince_ >= timings_.confirmMs) {
            // The confirmation may have been lost on its way like any datagram: the telegram
            // went, and the transport layer repeats what the device did not take. Only an
            // interface that confirms nothing any more stops the link.
            if (++missedConfirms_ >= MissedConfirmsLimit)
                ++unconfirmed_;
            inTunnel_.reset();
        }
    }
    if (awaitingAck_ && now - awaitingSince_ >= timings_.transportAckMs) {
        if (transportRepeats_ < TransportRepetitions) {
            ++transportRepeats_;
            awaitingSince_ = now;
            Outgoing again = *awaitingAck_;
            again.repeat = true;
            queue_.push_front(again);
        } else {
            // The device stopped acknowledging: the connection is given up, as the transport
            // layer does after its repetitions; the device's silence shows to the caller.
            queue_.push_front({QByteArray(1, char(Tpci::Disconnect)), device_, false});
            endTransportConnection();
        }
    }
    while (!inTunnel_ && !queue_.empty()) {
        const Outgoing &head = queue_.front();
        if (head.data && !head.repeat && awaitingAck_)
            break; // window of one: the next numbered telegram waits for the T_ACK
        Outgoing next = queue_.front();
        queue_.pop_front();
        if (next.data && !next.repeat) {
            QByteArray tpdu = next.tpdu;
            tpdu[0] = char((std::uint8_t(tpdu.at(0)) & 0xC3) | (transportOut_ << 2));
            next.tpdu = tpdu;
            transportRepeats_ = 0;
            awaitingAck_ = next;
            awaitingSince_ = now;
        }
        inTunnel_ = next;
        tunnelAttempts_ = 0;
        sendTunnelling(next.tpdu, next.destination);
    }
}

void KnxIpBusLibrary::checkConnection(qint64 now)
{
    if (channel_ < 0)
        return;
    if (stateAskedAt_ < 0) {
        if (now - lastHeard_ >= timings_.heartbeatMs)
            askState();
        return;
    }
    if (pump_.monotonicMs() - stateAskedAt_ < timings_.connectionStateMs)
        return;
    if (stateAsks_ >= StateAsks) {
        // Three questions lost on a lossy link, while the interface still speaks in the tunnel:
        // it is there; asked again.
        if (heardInTunnel_ > stateCycleStart_) {
            askState();
            return;
        }
        failed_ = fail(Lost, hostText_ + QStringLiteral(": no answer to the connection state request"));
        return;
    }
    ++stateAsks_;
    stateAskedAt_ = pump_.monotonicMs();
    sendDatagram(control_, KnxIp::connectionStateRequest(channel_, socket_.localEndpoint()));
}

// The heartbeat: the interface drops a tunnel whose state nobody asked for two minutes, however
// many telegrams it carries.
void KnxIpBusLibrary::askState()
{
    stateAskedAt_ = pump_.monotonicMs();
    stateCycleStart_ = stateAskedAt_;
    stateAsks_ = 1;
    sendDatagram(control_, KnxIp::connectionStateRequest(channel_, socket_.localEndpoint()));
}

void KnxIpBusLibrary::receiveAll()
{
    while (auto datagram = socket_.receive()) {
        if (datagram->from != control_ && datagram->from != data_)
            continue; // another sender's datagram is never trusted
        handle(*datagram);
    }
}

void KnxIpBusLibrary::handle(const ReceivedDatagram &datagram)
{
    const KnxIp::Datagram d = KnxIp::ReadDatagram(datagram.bytes);
    if (!d.ok() || d.channel != channel_)
        return;
    if (d.service == KnxIp::TunnellingAck || d.service == KnxIp::TunnellingRequest)
        heardInTunnel_ = pump_.monotonicMs();
    switch (d.service) {
    case KnxIp::TunnellingAck:
        if (inTunnel_ && !tunnelAcked_ && d.sequence == sendSequence_) {
            if (d.status != KnxIp::NoError)
                return; // refused: the repetition goes out when its time comes
            tunnelAcked_ = true;
            inTunnelSince_ = pump_.monotonicMs();
            sendSequence_ = (sendSequence_ + 1) & 0xFF;
            guessedFrom_ = -1;
        }
        break;
    case KnxIp::TunnellingRequest:
        handleTunnelling(d);
        break;
    case KnxIp::ConnectionStateResponse:
        stateAskedAt_ = -1;
        stateAsks_ = 0;
        lastHeard_ = pump_.monotonicMs();
        if (d.status != KnxIp::NoError) {
            lastStatusCode_ = d.status;
            failed_ = fail(Lost, QStringLiteral("%1 no longer knows the tunnel: status 0x%2")
                                     .arg(hostText_)
                                     .arg(d.status, 2, 16, QLatin1Char('0')));
        }
        break;
    case KnxIp::DisconnectRequest:
        sendDatagram(control_, KnxIp::disconnectResponse(channel_, KnxIp::NoError));
        channel_ = -1;
        lastStatusCode_ = 0;
        failed_ = fail(Lost, hostText_ + QStringLiteral(" ended the tunnel connection"));
        break;
    default:
        break;
    }
}

void KnxIpBusLibrary::handleTunnelling(const KnxIp::Datagram &d)
{
    // A repetition of the last request (its acknowledgement was lost) is acknowledged again and
    // not taken twice. The one after the next is taken too: the interface gave up a request that
    // never arrived here, after its repeat, and moved on; anything else out of sequence is
    // dropped without an acknowledgement.
    if (d.sequence == ((expectedFromServer_ - 1) & 0xFF)) {
        sendDatagram(data_, KnxIp::tunnellingAck(channel_, d.sequence, KnxIp::NoError));
        return;
    }
    if (d.sequence != expectedFromServer_ && d.sequence != ((expectedFromServer_ + 1) & 0xFF))
        return;
    sendDatagram(data_, KnxIp::tunnellingAck(channel_, d.sequence, KnxIp::NoError));
    expectedFromServer_ = (d.sequence + 1) & 0xFF;
    const auto f = Cemi::ReadLData(d.cemi);
    if (!f)
        return;
    if (f->messageCode == Cemi::LDataCon) {
        missedConfirms_ = 0; // even a late one shows an interface that confirms
        if (inTunnel_ && f->destination == inTunnel_->destination && f->tpdu == inTunnel_->tpdu) {
            const bool failed = (f->control1 & Cemi::ConfirmError) != 0;
            // The confirmation may overtake the acknowledgement, or come when the acknowledgement
            // was lost: either way the interface took the request under its number.
            if (!tunnelAcked_) {
                sendSequence_ = (sendSequence_ + 1) & 0xFF;
                guessedFrom_ = -1;
            }
            if (failed)
                ++unconfirmed_;
            inTunnel_.reset();
        }
        return;
    }
    if (f->messageCode == Cemi::LDataInd)
        handleIndication(*f);
}

void KnxIpBusLibrary::handleIndication(const Cemi::LData &f)
{
    // Only the device of the transport connection, speaking to this tunnel's address.
    if (f.toGroup() || device_ < 0 || f.source != device_ ||
        (individualAddress_ != 0 && f.destination != individualAddress_) || f.tpdu.isEmpty())
        return;
    const int tpci = std::uint8_t(f.tpdu.at(0));
    if (tpci == Tpci::Disconnect) {
        endTransportConnection();
        return;
    }
    if (Tpci::isAck(tpci) || Tpci::isNak(tpci)) {
        if (!awaitingAck_ || Tpci::sequenceOf(tpci) != transportOut_)
            return;
        if (Tpci::isAck(tpci)) {
            awaitingAck_.reset();
            transportOut_ = (transportOut_ + 1) & 0x0F;
        } else if (transportRepeats_ < TransportRepetitions) {
            ++transportRepeats_;
            awaitingSince_ = pump_.monotonicMs();
            Outgoing again = *awaitingAck_;
            again.repeat = true;
            queue_.push_front(again);
        }
        return;
    }
    if (!Tpci::isDataConnected(tpci))
        return;
    const int sequence = Tpci::sequenceOf(tpci);
    const QByteArray ack(1, char(Tpci::Ack | (sequence << 2)));
    if (sequence == ((transportIn_ - 1) & 0x0F)) {
        queue_.push_front({ack, device_, false}); // its T_ACK was lost: acknowledged again
        return;
    }
    if (sequence != transportIn_)
        return;
    queue_.push_front({ack, device_, false});
    transportIn_ = (transportIn_ + 1) & 0x0F;
    // As data from the device 39: control, source, destination, length - 1, application data.
    QByteArray app = f.tpdu;
    app[0] = char(tpci & 0x03);
    if (app.size() > 16)
        return; // longer than a coupling unit's frame can carry: no service the bus link uses
    QByteArray frame;
    frame.append(char(DataFromDevice));
    frame.append(char(f.control1));
    frame.append(char(f.source >> 8)).append(char(f.source & 0xFF));
    frame.append(char(f.destination >> 8)).append(char(f.destination & 0xFF));
    frame.append(char((app.size() - 1) & 0x0F));
    frame.append(app);
    frame.prepend(char(frame.size()));
    received_.push_back(frame);
}

int KnxIpBusLibrary::poll()
{
    if (channel_ < 0 && !failed_)
        return fail(NotInstalled, QStringLiteral("tunnel not open"));
    receiveAll();
    if (failed_)
        return failed_;
    const qint64 now = pump_.monotonicMs();
    drive(now);
    checkConnection(now);
    return failed_;
}

int KnxIpBusLibrary::pollSend(int &queued, int &repeats, int &busy)
{
    int status = poll();
    if (status == Ok && unconfirmed_ > 0) {
        unconfirmed_ = 0;
        status = fail(NotConfirmed, hostText_ + QStringLiteral(": telegram not confirmed by the interface"));
    }
    // Telegrams waiting only for the device's T_ACK are on their way as far as the link goes.
    int waiting = 0;
    for (const Outgoing &o : queue_)
        waiting += !(o.data && awaitingAck_);
    queued = int(queue_.size()) + (inTunnel_ ? 1 : 0);
    repeats = tunnelRepeats_;
    busy = (inTunnel_ || waiting > 0) ? 1 : 0;
    return status;
}

int KnxIpBusLibrary::fetch(FetchBuffer &buffer)
{
    buffer.fill(0);
    if (const int status = poll())
        return status;
    if (received_.empty())
        return Ok;
    const QByteArray f = received_.front();
    received_.pop_front();
    const int n = std::min<int>(int(f.size()), int(buffer.size()));
    for (int i = 0; i < n; ++i)
        buffer[i] = std::uint8_t(f.at(i));
    buffer[0] = std::uint8_t(n - 1);
    return Ok;
}

// Sends what is queued (the closing T_DISCONNECT last) until the interface acknowledged it, or
// the deadline passed; the interface's own requests are acknowledged meanwhile.
void KnxIpBusLibrary::endTunnelWork(qint64 deadline)
{
    while (pump_.monotonicMs() < deadline && !failed_ && channel_ >= 0 &&
           ((inTunnel_ && !tunnelAcked_) || !queue_.empty())) {
        if (inTunnel_ && tunnelAcked_)
            inTunnel_.reset(); // its confirmation does not hold the closing up
        poll();
        pump_.processEvents();
    }
}

void KnxIpBusLibrary::closeTunnel()
{
    if (channel_ < 0)
        return;
    closing_ = true;
    // The device's connection first, then the tunnel; each waits for its answer within a bound,
    // so a dead interface cannot hold the closing. The T_DISCONNECT carries no number of the
    // transport layer; it is a tunnelling request like any other, numbered in turn.
    if (!failed_) {
        // A request still unacknowledged is given up; the interface may have taken it, so the
        // counter moves past its number rather than give the T_DISCONNECT a number the
        // interface would drop as a repetition.
        if (inTunnel_ && !tunnelAcked_)
            sendSequence_ = (sendSequence_ + 1) & 0xFF;
        inTunnel_.reset();
        if (device_ >= 0) {
            queueTransport(QByteArray(1, char(Tpci::Disconnect)), false);
            endTransportConnection();
        }
        endTunnelWork(pump_.monotonicMs() + int(queue_.size() + 1) * 2 * timings_.tunnellingAckMs);
    }
    if (channel_ < 0)
        return; // the interface ended the tunnel itself meanwhile
    for (int attempt = 0; attempt < DisconnectTries; ++attempt) {
        QString error;
        if (!socket_.sendTo(control_, KnxIp::disconnectRequest(channel_, socket_.localEndpoint()), &error))
            break;
        const qint64 end = pump_.monotonicMs() + timings_.disconnectResponseMs;
        bool answered = false;
        while (!answered && pump_.monotonicMs() < end) {
            while (auto datagram = socket_.receive()) {
                const KnxIp::Datagram d = KnxIp::ReadDatagram(datagram->bytes);
                if (datagram->from == control_ && d.ok() && d.service == KnxIp::DisconnectResponse &&
                    d.channel == channel_)
                    answered = true;
            }
            if (!answered)
                pump_.processEvents();
        }
        if (answered)
            break;
    }
    channel_ = -1;
}

int KnxIpBusLibrary::close()
{
    closeTunnel();
    if (socket_.isOpen())
        socket_.close();
    queue_.clear();
    inTunnel_.reset();
    received_.clear();
    endTransportConnection();
    localMemory_.fill(0);
    unconfirmed_ = 0;
    return Ok;
}

} // namespace zx
