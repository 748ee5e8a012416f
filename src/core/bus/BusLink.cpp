#include "bus/BusLink.h"

#include "bus/ProtocolFile.h"
#include "i18n/Catalogue.h"
#include "i18n/Msg.h"
#include "platform/BusLibrary.h"
#include "platform/Clock.h"
#include "platform/EventPump.h"

#include <functional>

namespace zx {

QString HexBytes(const QByteArray &bytes, int first, int count)
{
    const int end = count == 0 ? int(bytes.size()) : std::min<int>(int(bytes.size()), first + count);
    QString text;
    for (int i = std::max(0, first); i < end; ++i)
        text += QLatin1Char(' ') + QString::number(std::uint8_t(bytes.at(i)), 16).toUpper();
    return text;
}

QString LinkErrorMessage(const Catalogue &c, int code, int comIndex, const QString &runTimeText)
{
    return LinkErrorMessage(c, code, comIndex, QString(), runTimeText);
}

QString LinkErrorMessage(const Catalogue &c, int code, int comIndex, const QString &portName,
                         const QString &runTimeText)
{
    if (code == LinkError::NoBusAccess && !portName.isEmpty()) {
        // The text ends in "COM " before the port's number; a named port takes its place.
        QString text = c(Msg::NoBusAccessViaCOM);
        if (text.endsWith(QLatin1String("COM ")))
            text.chop(4);
        return text + portName;
    }
    const QString details = c(Msg::ForDetailsSeeFileProtocol);
    switch (code) {
    case LinkError::TimeSwitchBusy:
        return c(Msg::TimeSwitchBusy) + details;
    case LinkError::NoAnswerFromTimeSwitch:
        return c(Msg::NoAnswerFromTheTime) + details;
    case LinkError::WrongTelegramLength:
        return c(Msg::WrongTelegrammLenth) + details;
    case LinkError::NoValidData:
        return c(Msg::NoValidDataReceived) + details;
    case LinkError::NoConnectionToEib:
        return c(Msg::NoConnectionToTheEIB) + details;
    case LinkError::NoConnectionToDevice:
        return c(Msg::NoConnectionToTheBus) + details;
    case LinkError::NoBusAccess:
        return c(Msg::NoBusAccessViaCOM) + QString::number(comIndex + 1);
    case LinkError::ConnectingDevice:
        return c(Msg::ConnectingDevice);
    case LinkError::NoMaskResponse:
        return c(Msg::NoMaskResponseReceived);
    case LinkError::WrongMaskVersion:
        return c(Msg::WrongMaskVersion);
    case LinkError::AnswerFromWrongDevice:
        return c(Msg::AnswerFromAWrongDevice);
    case LinkError::MemoryNotWritten:
        return c(Msg::MemoryWasNotWritten);
    case LinkError::WrongDeviceType:
        return c(Msg::WrongDeviceTyp);
    case LinkError::Ok:
    case LinkError::RunTimeError:
        return c(Msg::UnknownError) + runTimeText;
    default:
        return c(Msg::UnknownError) + QString::number(code) + details;
    }
}

namespace BusFrame {

namespace {
QByteArray withLength(QByteArray body, bool modulo32)
{
    const int length = int(body.size());
    body.prepend(char(modulo32 ? length % 32 : length));
    return body;
}
void appendAddress(QByteArray &f, int address)
{
    f.append(char((address >> 8) & 0xFF));
    f.append(char(address & 0xFF));
}
} // namespace

QByteArray readLocalMemory(int address, int count)
{
    QByteArray f;
    f.append(char(0x4C));
    f.append(char(count));
    appendAddress(f, address);
    return withLength(f, true); // four bytes: never near the 32 the length field wraps at
}

QByteArray writeLocalMemory(int address, const QByteArray &data)
{
    QByteArray f;
    f.append(char(0x46));
    f.append(char(data.size()));
    appendAddress(f, address);
    f.append(data);
    return withLength(f, true);
}

QByteArray connect(int deviceAddress)
{
    QByteArray f("\x23\x00\x00\x00", 4);
    appendAddress(f, deviceAddress);
    return withLength(f, false);
}

QByteArray disconnect()
{
    return withLength(QByteArray("\x24\x00\x00\x00\x00\x00", 6), false);
}

QByteArray dataOnConnection(const QByteArray &applicationData)
{
    QByteArray f("\x21\x00\x00\x00\x00\x00", 6);
    f.append(char(applicationData.size() - 1));
    f.append(applicationData);
    return withLength(f, false);
}

} // namespace BusFrame

BusLink::Deadline::Deadline(EventPump &pump, int ms) : pump_(pump), end_(pump.monotonicMs() + ms) {}

bool BusLink::Deadline::expired() const
{
    return pump_.monotonicMs() >= end_;
}

BusLink::BusLink(BusLibrary &library, EventPump &pump, const Clock &clock, const Catalogue &catalogue,
                 ProtocolFile &protocol, BusTimings timings)
    : library_(library), pump_(pump), clock_(clock), catalogue_(catalogue), protocol_(protocol),
      timings_(timings)
{
}

void BusLink::log(const QString &text)
{
    protocol_.line(text);
}

void BusLink::logStep(int msgId, const QString &suffix)
{
    log(catalogue_(msgId) + suffix);
}

void BusLink::logError(int msgId, const QString &suffix)
{
    log(catalogue_(Msg::ErrorWhile) + catalogue_(msgId) + suffix);
    const QString detail = library_.lastErrorText();
    if (!detail.isEmpty())
        log(QStringLiteral("     ") + detail);
}

bool BusLink::interrupted()
{
    if (!interrupted_ && interruptCheck_ && interruptCheck_()) {
        interrupted_ = true;
        log(QStringLiteral(" *** interrupted"));
    }
    return interrupted_ && !closing_;
}

int BusLink::OpenLink(int comIndex)
{
    comIndex_ = comIndex;
    if (interrupted())
        return LinkError::Interrupted;
    savedTableLength_ = 0;
    const int status = openSteps(comIndex);
    if (status != LinkError::Ok) {
        library_.close();
        open_ = false;
        savedTableLength_ = 0;
    }
    return status;
}

int BusLink::openSteps(int comIndex)
{
    struct Step {
        int msg;
        std::function<int()> call;
    };
    const Step steps[] = {
        {Msg::InstallAST,
         [&] {
             return library_.install(comIndex, 9600, timings_.installSendTimeoutMs, timings_.installRepeatMs,
                                     0);
         }},
        {Msg::ResetAST, [&] { return library_.resetTransport(); }},
        {Msg::ResetLocalBCU, [&] { return library_.resetLocalBcu(); }},
        {Msg::ChangeLayer, [&] { return library_.changeLayer(BusFrame::LayerCode); }},
    };
    for (const Step &step : steps) {
        logStep(step.msg);
        if (const int status = step.call()) {
            logError(step.msg);
            // An interface that never answers is no bus access, whichever back-end found it.
            return status == BusLibrary::NotConfirmed ? LinkError::NoBusAccess : status;
        }
    }
    open_ = true;

    logStep(Msg::ReadAdresstableLenth);
    logStep(Msg::WaitForAdresstableLenth);
    QByteArray length;
    if (const int status = ReadLocalMemory(BusFrame::AddressTableLength, 1, &length)) {
        logError(Msg::ReadAdresstableLenth);
        return status;
    }
    const int found = length.isEmpty() ? 0 : std::uint8_t(length.at(0));
    // The BCU must not answer group telegrams of its own while the PC talks through it: its
    // address table is cut to the physical address alone and given back on closing.
    if (found != 0) {
        logStep(Msg::SetAdresstableLenthTo, QStringLiteral("1"));
        if (const int status = WriteLocalMemory(BusFrame::AddressTableLength, QByteArray(1, char(1)))) {
            logError(Msg::SetAdresstableLenthTo, QStringLiteral("1"));
            return status;
        }
        savedTableLength_ = found;
    }
    return LinkError::Ok;
}

int BusLink::CloseLink()
{
    const Closing closing(*this);
    int status = LinkError::Ok;
    if (open_ && savedTableLength_ != 0) {
        const QString value = QString::number(savedTableLength_);
        logStep(Msg::SetAdresstableLenthTo, value);
        status = WriteLocalMemory(BusFrame::AddressTableLength, QByteArray(1, char(savedTableLength_)));
        if (status != LinkError::Ok)
            logError(Msg::SetAdresstableLenthTo, value);
    }
    savedTableLength_ = 0;
    open_ = false;
    const int closed = library_.close();
    return status != LinkError::Ok ? status : closed;
}

int BusLink::SendLocal(const QByteArray &frame)
{
    if (interrupted())
        return LinkError::Interrupted;
    // A back-end that repeats what goes missing on its way may need longer than the coupling
    // unit's confirmation time.
    Deadline timer(pump_, std::max(timings_.localTimeoutMs, library_.sendTimeLimitMs()));
    logStep(Msg::SendToLocalBCU, HexBytes(frame));
    if (const int status = library_.send(frame)) {
        logError(Msg::SendToLocalBCU, QStringLiteral(" ") + QString::number(status));
        return status;
    }
    int polls = 0;
    for (;;) {
        if (++polls % std::max(1, timings_.pollsPerTurn) == 0) {
            pump_.processEvents();
            if (interrupted())
                return LinkError::Interrupted;
            if (timer.expired()) {
                log(catalogue_(Msg::TimeoutWhile) + catalogue_(Msg::SendTelegramm) + QStringLiteral(" ") +
                    QString::number(LinkError::NoBusAccess));
                return LinkError::NoBusAccess;
            }
        }
        int queued = 0, repeats = 0, busy = 0;
        const int status = library_.pollSend(queued, repeats, busy);
        if (status == BusLibrary::NotConfirmed) {
            logError(Msg::SendTelegramm, QStringLiteral(" ") + QString::number(status));
            log(catalogue_(Msg::TimeoutWhile) + catalogue_(Msg::SendTelegramm) + QStringLiteral(" ") +
                QString::number(LinkError::NoBusAccess));
            return LinkError::NoBusAccess;
        }
        if (status != 0) {
            logError(Msg::SendTelegramm, QStringLiteral(" ") + QString::number(status));
            return status;
        }
        if (busy == 0)
            return LinkError::Ok;
    }
}

// Waits for a frame with the message code `code`; frames of other kinds are skipped. The timer
// is tested before every fetch, so no stream of frames holds the wait beyond its deadline.
int BusLink::fetchUntil(int code, const Deadline &timer, QByteArray *frame)
{
    BusLibrary::FetchBuffer buffer{};
    for (;;) {
        if (interrupted())
            return LinkError::Interrupted;
        if (timer.expired())
            return LinkError::RunTimeError; // the caller names its own time-out
        if (const int status = library_.fetch(buffer))
            return status;
        const int length = std::min<int>(buffer[0], int(buffer.size()) - 1);
        if (length == 0) {
            pump_.processEvents();
            continue;
        }
        const QByteArray received(reinterpret_cast<const char *>(buffer.data()), length + 1);
        if (buffer[1] == code) {
            *frame = received;
            return LinkError::Ok;
        }
        logIgnored(received);
        if (ignoredInWait_ % 16 == 0)
            pump_.processEvents();
    }
}

// A coupling unit that babbles must not fill the disk: the first few skipped frames of a wait
// are written, then one line for the rest.
void BusLink::logIgnored(const QByteArray &frame)
{
    constexpr int Shown = 8;
    if (++ignoredInWait_ <= Shown)
        log(QStringLiteral("  ignored:") + HexBytes(frame));
    else if (ignoredInWait_ == Shown + 1)
        log(QStringLiteral("  ignoring further frames until the answer or the time-out"));
}

int BusLink::ReadLocalMemory(int address, int count, QByteArray *data)
{
    if (const int status = SendLocal(BusFrame::readLocalMemory(address, count)))
        return status;
    logStep(Msg::WaitingForConfirm);
    const Deadline timer(pump_, timings_.localTimeoutMs);
    ignoredInWait_ = 0;
    for (;;) {
        QByteArray frame;
        const int status = fetchUntil(BusFrame::LocalAnswerCode, timer, &frame);
        if (status == LinkError::RunTimeError) {
            log(catalogue_(Msg::TimeoutWhile) + catalogue_(Msg::WaitingForConfirm) + QStringLiteral(" ") +
                QString::number(LinkError::NoConnectionToEib));
            return LinkError::NoConnectionToEib;
        }
        if (status != LinkError::Ok) {
            logError(Msg::WaitingForConfirm, QStringLiteral(" ") + QString::number(status));
            return status;
        }
        // length, 0x4B, count, address high, address low, data
        if (frame.size() < 5) {
            logStep(Msg::WrongTelegrammLenth, HexBytes(frame));
            return LinkError::WrongTelegramLength;
        }
        const int answered = std::uint8_t(frame.at(2)) & 0x0F;
        const int from = (std::uint8_t(frame.at(3)) << 8) | std::uint8_t(frame.at(4));
        if (from != address || answered != (count & 0x0F)) {
            logIgnored(frame); // an answer to an earlier request
            if (ignoredInWait_ % 16 == 0)
                pump_.processEvents();
            continue;
        }
        logStep(Msg::Answer, HexBytes(frame));
        if (frame.size() < 5 + answered) {
            logStep(Msg::WrongTelegrammLenth);
            return LinkError::WrongTelegramLength;
        }
        *data = frame.mid(5, answered);
        return LinkError::Ok;
    }
}

int BusLink::WriteLocalMemory(int address, const QByteArray &data)
{
    return SendLocal(BusFrame::writeLocalMemory(address, data));
}

int BusLink::Connect(int deviceAddress)
{
    logStep(Msg::ConnectingDevice, QString::number(deviceAddress) + QStringLiteral(" ") +
                                       QString::number(clock_.secondsSinceMidnight()));
    if (const int status = WriteLocalMemory(BusFrame::ConnectionFlag, QByteArray(1, char(0xFF))))
        return status;
    logStep(Msg::ChangeLayer, QStringLiteral(" ") + QString::number(BusFrame::LayerCode));
    if (const int status = library_.changeLayer(BusFrame::LayerCode)) {
        logError(Msg::ChangeLayer);
        return status;
    }
    return SendLocal(BusFrame::connect(deviceAddress));
}

int BusLink::Disconnect()
{
    const Closing closing(*this);
    logStep(Msg::DisconnectingDevice);
    return SendLocal(BusFrame::disconnect());
}

int BusLink::ResetLocalBcu()
{
    logStep(Msg::ResetLocalBCU);
    const int status = library_.resetLocalBcu();
    if (status != LinkError::Ok)
        logError(Msg::ResetLocalBCU);
    return status;
}

int BusLink::SendOnConnection(const QByteArray &applicationData)
{
    // The frame carries the length of the application data minus 1 in four bits.
    if (applicationData.isEmpty() || applicationData.size() > 16)
        return LinkError::WrongTelegramLength;
    return SendLocal(BusFrame::dataOnConnection(applicationData));
}

int BusLink::ReceiveFromDevice(int *source, QByteArray *applicationData)
{
    logStep(Msg::WaitingForAnswer);
    ignoredInWait_ = 0;
    QByteArray frame;
    const int status =
        fetchUntil(BusFrame::DeviceDataCode,
                   Deadline(pump_, std::max(timings_.remoteTimeoutMs, library_.answerTimeLimitMs())), &frame);
    if (status == LinkError::RunTimeError) {
        log(catalogue_(Msg::TimeoutWhile) + catalogue_(Msg::WaitingForAnswer));
        return LinkError::NoConnectionToDevice;
    }
    if (status != LinkError::Ok) {
        logError(Msg::WaitingForAnswer, QStringLiteral(" ") + QString::number(status));
        return status;
    }
    logStep(Msg::Answer, HexBytes(frame));
    // length, 0x39, control, source (2), destination (2), length - 1 in the low nibble, data
    if (frame.size() < 9) {
        logStep(Msg::WrongTelegrammLenth);
        return LinkError::WrongTelegramLength;
    }
    const int count = (std::uint8_t(frame.at(7)) & 0x0F) + 1;
    if (frame.size() < 8 + count) {
        logStep(Msg::WrongTelegrammLenth);
        return LinkError::WrongTelegramLength;
    }
    *source = (std::uint8_t(frame.at(3)) << 8) | std::uint8_t(frame.at(4));
    *applicationData = frame.mid(8, count);
    return LinkError::Ok;
}

// The far end of a tunnel expects its requests acknowledged within a second and the tunnel's
// state asked for now and then, also while the device takes its time.
void BusLink::waitServed(int ms)
{
    constexpr qint64 Slice = 10;
    const qint64 end = pump_.monotonicMs() + ms;
    for (qint64 now = pump_.monotonicMs(); now < end && !interrupted(); now = pump_.monotonicMs()) {
        if (library_.keepAlive() != 0)
            return; // a failed link shows at the next step
        pump_.pauseMs(int(std::min(Slice, end - now)));
    }
}

void BusLink::Pause(int ms)
{
    waitServed(ms);
}

void BusLink::WaitMs(int ms)
{
    waitServed(ms);
}

void BusLink::Drain(int ms)
{
    const Deadline timer(pump_, ms);
    ignoredInWait_ = 0;
    BusLibrary::FetchBuffer buffer{};
    for (;;) {
        if (interrupted() || library_.fetch(buffer) != 0)
            return;
        const int length = std::min<int>(buffer[0], int(buffer.size()) - 1);
        if (length > 0)
            logIgnored(QByteArray(reinterpret_cast<const char *>(buffer.data()), length + 1));
        if (timer.expired())
            return;
        if (length == 0 || ignoredInWait_ % 16 == 0)
            pump_.processEvents();
    }
}

} // namespace zx
