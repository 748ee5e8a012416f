#include "bus/Ft12Link.h"

#include "platform/EventPump.h"
#include "platform/SerialPort.h"

namespace zx {

Ft12Link::Ft12Link(SerialPort &port, EventPump &pump) : port_(port), pump_(pump) {}

bool Ft12Link::open(const QString &device, QString *error)
{
    close();
    failed_ = false;
    errorText_.clear();
    if (!port_.open(device, error)) {
        errorText_ = *error;
        return false;
    }
    return true;
}

void Ft12Link::close()
{
    if (port_.isOpen())
        port_.close();
    queue_.clear();
    received_.clear();
    reader_.clear();
    headSent_ = false;
    unconfirmed_ = 0;
}

bool Ft12Link::isOpen() const
{
    return port_.isOpen();
}

void Ft12Link::reset()
{
    queue_.clear();
    received_.clear();
    headSent_ = false;
    queue_.push_back({true, {}});
}

bool Ft12Link::queue(const QByteArray &userData)
{
    if (userData.isEmpty() || userData.size() > Ft12::MaxUserData)
        return false;
    queue_.push_back({false, userData});
    return true;
}

void Ft12Link::sendHead()
{
    const Outgoing &head = queue_.front();
    if (!headSent_) {
        onLine_ = head.reset ? Ft12::fixedFrame(Ft12::ResetControl)
                             : Ft12::userDataFrame(frameCountBit_, head.userData);
        repeats_ = 0;
    } else {
        ++repeats_;
    }
    QString error;
    if (!port_.write(onLine_, &error)) {
        failed_ = true;
        errorText_ = error;
        return;
    }
    headSent_ = true;
    sentAt_ = pump_.monotonicMs();
}

void Ft12Link::handle(const Ft12Event &event)
{
    QString error;
    switch (event.kind) {
    case Ft12Event::Kind::Ack:
        // An acknowledgement confirms the frame on the line; one without a frame is stale.
        if (headSent_ && !queue_.empty()) {
            if (queue_.front().reset) {
                frameCountBit_ = true;
                lastIncomingBit_ = -1;
            } else {
                frameCountBit_ = !frameCountBit_;
            }
            queue_.pop_front();
            headSent_ = false;
        }
        break;
    case Ft12Event::Kind::Fixed:
        if ((event.control & Ft12::DirFromBcu) == 0)
            break; // our own frame echoed back: not for us
        if (!port_.write(QByteArray(1, char(Ft12::Ack)), &error)) {
            failed_ = true;
            errorText_ = error;
        }
        lastIncomingBit_ = -1;
        break;
    case Ft12Event::Kind::Variable: {
        if ((event.control & Ft12::DirFromBcu) == 0 || (event.control & 0x0F) != Ft12::FunctionUserData)
            break;
        if (!port_.write(QByteArray(1, char(Ft12::Ack)), &error)) {
            failed_ = true;
            errorText_ = error;
        }
        const int bit = (event.control & Ft12::FrameCountBit) ? 1 : 0;
        const bool counted = (event.control & Ft12::FrameCountValid) != 0;
        if (counted && bit == lastIncomingBit_)
            break; // the BCU repeated a frame whose acknowledgement it missed
        lastIncomingBit_ = counted ? bit : -1;
        received_.push_back(event.userData);
        break;
    }
    }
}

bool Ft12Link::poll()
{
    if (failed_)
        return false;
    if (!port_.isOpen()) {
        failed_ = true;
        errorText_ = QStringLiteral("port not open");
        return false;
    }
    const qint64 now = pump_.monotonicMs();
    if (port_.bytesAvailable() > 0) {
        reader_.feed(port_.readAll());
        lastInputAt_ = now;
    } else if (reader_.hasPartial() && now - lastInputAt_ > frameGapMs_) {
        reader_.dropStale();
        lastInputAt_ = now;
    }
    while (auto event = reader_.next())
        handle(*event);
    if (failed_)
        return false;

    if (!queue_.empty() && headSent_ && now - sentAt_ >= repeatMs_) {
        if (repeats_ < Repetitions) {
            sendHead();
        } else {
            const bool wasReset = queue_.front().reset;
            queue_.pop_front();
            headSent_ = false;
            ++unconfirmed_;
            if (!wasReset)
                queue_.push_front({true, {}});
        }
    }
    if (!queue_.empty() && !headSent_ && !failed_)
        sendHead();
    return !failed_;
}

std::optional<QByteArray> Ft12Link::takeReceived()
{
    if (received_.empty())
        return std::nullopt;
    QByteArray data = received_.front();
    received_.pop_front();
    return data;
}

} // namespace zx
