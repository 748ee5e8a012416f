#include "transfer/SerialLink.h"

#include "i18n/Catalogue.h"
#include "platform/ComPortMap.h"
#include "platform/EventPump.h"
#include "platform/FileAccess.h"
#include "platform/Prompter.h"
#include "platform/SerialPort.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace zx {

namespace {

const QByteArray NoAnswerYet = QByteArrayLiteral("nix");

constexpr std::uint8_t WriteLength = 0x12;
constexpr std::uint8_t ReadLength = 0x03;
constexpr std::uint8_t StatusLength = 0x01;
constexpr std::uint8_t StatusWritten = 0x80;
constexpr std::uint8_t StatusNoDevice = 0x81;
constexpr std::uint8_t StatusDeviceSilent = 0x82;
constexpr std::uint8_t StatusTransmission = 0x84;

bool hasBits(std::uint8_t status, std::uint8_t bits)
{
    return (status & bits) == bits;
}

// The lines of a text file without their line ends; nullopt with the system's text.
std::optional<QStringList> readLines(const QString &path, QString *error)
{
    const FileContent file = ReadRegularFile(path, 64 * 1024);
    if (!file.ok()) {
        *error =
            path + QStringLiteral(": ") + (file.error.isEmpty() ? QStringLiteral("too large") : file.error);
        return std::nullopt;
    }
    QStringList lines;
    for (QByteArray line : file.content.split('\n')) {
        while (line.endsWith('\r'))
            line.chop(1);
        lines << QString::fromUtf8(line);
    }
    if (file.content.endsWith('\n'))
        lines.removeLast(); // the final line end starts no further line
    return lines;
}

} // namespace

// What one transfer keeps open: the port, the log and the answer buffer.
class SerialLink::Session {
  public:
    Session(SerialPort &port, const QString &logPath) : port(port), log(logPath), logPath(logPath) {}
    ~Session()
    {
        log.close();
        port.close();
    }

    bool createLog(QString *error)
    {
        if (OpenForAppending(log, true, error))
            return true;
        *error = logPath + QStringLiteral(": ") + *error;
        return false;
    }
    // A log that cannot be written ends the transfer: a protocol with holes is worse than none.
    bool logLine(const QByteArray &frame, QString *error)
    {
        if (!log.isOpen() || AppendChecked(log, hexLine(frame) + "\r\n", error))
            return true;
        // The log is open on its descriptor, which keeps no name: the path named at the start.
        *error = logPath + QStringLiteral(": ") + *error;
        return false;
    }

    SerialPort &port;
    QFile log;
    QString logPath;
    SerialEndpoint endpoint;
    QByteArray answer = NoAnswerYet;
};

SerialEndpoint serialEndpointFor(int portSetting, const ComPortMap &ports)
{
    const int com = ComPortMap::comForPortSetting(portSetting);
    return {ports.device(com), QString::number(com)};
}

SerialLink::SerialLink(SerialPort &port, EventPump &pump, Prompter &prompter, const Catalogue &catalogue,
                       const QString &workDir, TransferProgress *progress, SerialTimings timings)
    : port_(port), pump_(pump), prompter_(prompter), catalogue_(catalogue), workDir_(workDir),
      progress_(progress), timings_(timings)
{
}

std::uint8_t SerialLink::selectByte(bool read, int address)
{
    return static_cast<std::uint8_t>((read ? 0xA1 : 0xA0) | (((address / 256) * 2) & 0x0E));
}

QByteArray SerialLink::writeRequest(int address, const std::uint8_t *bytes)
{
    QByteArray frame;
    frame.append(char(WriteLength));
    frame.append(char(selectByte(false, address)));
    frame.append(char(address & 0xFF));
    frame.append(reinterpret_cast<const char *>(bytes), BlockSize);
    return frame;
}

QByteArray SerialLink::readRequest(int address)
{
    QByteArray frame;
    frame.append(char(ReadLength));
    frame.append(char(selectByte(true, address)));
    frame.append(char(address & 0xFF));
    frame.append(char(BlockSize));
    return frame;
}

QByteArray SerialLink::hexLine(const QByteArray &frame)
{
    QByteArray line;
    for (const char c : frame)
        line += ' ' + QByteArray::number(static_cast<std::uint8_t>(c), 16).toUpper();
    return line;
}

QByteArray SerialLink::cardDatText(const MemoryImage &image)
{
    QByteArray text;
    auto line = [&](int from, int count) {
        for (int i = from; i < from + count; ++i)
            text += ' ' + QByteArray::number(image[i]) + ' ';
        text += "\r\n";
    };
    line(0, 4);
    for (int a = 4; a < 104; a += 5)
        line(a, 5);
    for (int a = 104; a < ImageSize; a += 6)
        line(a, 6);
    return text;
}

void SerialLink::setGauge(int value)
{
    if (progress_)
        progress_->setGauge(value);
}

bool SerialLink::cancelled() const
{
    return progress_ && progress_->cancelRequested();
}

QString SerialLink::receiveFailure(ReceiveState state) const
{
    return catalogue_.text(state == ReceiveState::Overrun ? Msg::UnknownMessage
                                                          : Msg::NoAnswerFromTheProgramm);
}

ReceiveState SerialLink::SerialReceive(QByteArray &buffer)
{
    // The time-out covers the first byte; an answer that has begun is collected until the line
    // has been quiet for the quiet time. A line that keeps sending (a wrong device, noise) ends
    // the receive once more than the longest answer arrived or at the receive deadline.
    const qint64 start = pump_.monotonicMs();
    const qint64 firstByteDeadline = start + timings_.answerTimeoutMs;
    const qint64 deadline = start + std::max(timings_.receiveDeadlineMs, timings_.answerTimeoutMs);
    while (port_.bytesAvailable() == 0) {
        if (cancelled())
            return ReceiveState::Cancelled;
        if (pump_.monotonicMs() >= firstByteDeadline)
            return ReceiveState::TimeOut;
        pump_.processEvents();
    }
    qint64 count = port_.bytesAvailable();
    qint64 quietSince = pump_.monotonicMs();
    while (pump_.monotonicMs() - quietSince < timings_.quietMs) {
        if (cancelled())
            return ReceiveState::Cancelled;
        if (count > LongestAnswer || pump_.monotonicMs() >= deadline) {
            buffer = port_.readAll();
            return ReceiveState::Overrun;
        }
        pump_.processEvents();
        const qint64 now = port_.bytesAvailable();
        if (now != count) {
            count = now;
            quietSince = pump_.monotonicMs();
        }
    }
    if (count > LongestAnswer) {
        buffer = port_.readAll();
        return ReceiveState::Overrun;
    }
    buffer = port_.readAll();
    return ReceiveState::Received;
}

QString SerialLink::statusMessage(std::uint8_t status, bool writing, bool *success, bool *final) const
{
    *success = false;
    *final = false;
    if (writing && status == StatusWritten) {
        *success = true;
        return {};
    }
    if (hasBits(status, StatusNoDevice)) {
        *final = true;
        return catalogue_.text(Msg::ThereIsNoZentrixIn);
    }
    if (hasBits(status, StatusDeviceSilent))
        return catalogue_.text(Msg::NoAnswerFromTheZentrix);
    if (hasBits(status, StatusTransmission))
        return catalogue_.text(Msg::TransmissionErrorAtCOM);
    return catalogue_.text(Msg::UnknownMessage);
}

std::optional<SerialLink::Abort> SerialLink::exchange(Session &s, const QByteArray &request,
                                                      ReceiveState *state)
{
    QString error;
    if (!port_.write(request, &error))
        return Abort{error};
    if (!s.logLine(request, &error))
        return Abort{error};
    *state = SerialReceive(s.answer);
    if (!s.logLine(s.answer, &error))
        return Abort{error};
    return std::nullopt;
}

std::optional<SerialLink::Abort> SerialLink::writeDevice(Session &s, const QString &programFile,
                                                         Outcome &outcome)
{
    if (progress_)
        progress_->setLabel(catalogue_.text(Msg::WriteToZentrixLabel) + QFileInfo(programFile).fileName() +
                            catalogue_.text(Msg::UsingCOM) + s.endpoint.comName);
    pump_.pauseMs(timings_.startWaitMs);
    if (cancelled()) {
        outcome = Outcome::Cancelled;
        return std::nullopt;
    }

    // The whole file is checked before the first block goes out, so a damaged file never
    // leaves a half-written device.
    const FileContent file = ReadRegularFile(programFile, MaxProgramFileSize);
    if (file.status == ReadStatus::Missing || file.status == ReadStatus::Unreadable)
        return Abort{programFile + QStringLiteral(": ") + file.error};
    const auto values = ReadImageValues(file.content);
    if (!values)
        return Abort{programFile + QStringLiteral(": not 2048 values from 0 to 255")};
    MemoryImage image{};
    for (int i = 0; i < ImageSize; ++i)
        image[i] = static_cast<std::uint8_t>((*values)[i]);

    QString error;
    if (!s.createLog(&error))
        return Abort{error};

    for (int a = 0; a < ImageSize; a += BlockSize) {
        const QByteArray request = writeRequest(a, image.data() + a);
        QString failure;
        bool done = false;
        for (int attempt = 0; attempt < Attempts && !done; ++attempt) {
            port_.readAll();
            s.answer = NoAnswerYet;
            ReceiveState state = ReceiveState::Waiting;
            if (auto abort = exchange(s, request, &state))
                return abort;
            if (state == ReceiveState::Cancelled) {
                outcome = Outcome::Cancelled;
                return std::nullopt;
            }
            if (state != ReceiveState::Received) {
                failure = receiveFailure(state);
                continue;
            }
            if (static_cast<std::uint8_t>(s.answer.at(0)) != StatusLength) {
                failure = catalogue_.text(Msg::UnknownMessage);
                continue;
            }
            if (s.answer.size() < 2)
                return Abort{QStringLiteral("status answer without its status byte")};
            bool final = false;
            failure = statusMessage(static_cast<std::uint8_t>(s.answer.at(1)), true, &done, &final);
            if (final)
                break;
        }
        if (!done) {
            prompter_.tell(failure);
            outcome = Outcome::GaveUp;
            return std::nullopt;
        }
        setGauge(a / BlockSize + 1);
    }
    outcome = Outcome::Done;
    return std::nullopt;
}

std::optional<SerialLink::Abort> SerialLink::readDevice(Session &s, Outcome &outcome)
{
    if (progress_)
        progress_->setLabel(catalogue_.text(Msg::ReadZentrixLabel) + catalogue_.text(Msg::UsingCOM) +
                            s.endpoint.comName);
    pump_.pauseMs(timings_.startWaitMs);
    if (cancelled()) {
        outcome = Outcome::Cancelled;
        return std::nullopt;
    }
    QString error;
    if (!s.createLog(&error))
        return Abort{error};

    MemoryImage image{};
    for (int a = 0; a < ImageSize; a += BlockSize) {
        const QByteArray request = readRequest(a);
        QString failure;
        bool done = false;
        // A read attempt neither empties the input nor resets the answer buffer: after a
        // time-out the log repeats the previous answer.
        for (int attempt = 0; attempt < Attempts && !done; ++attempt) {
            ReceiveState state = ReceiveState::Waiting;
            if (auto abort = exchange(s, request, &state))
                return abort;
            if (state == ReceiveState::Cancelled) {
                outcome = Outcome::Cancelled;
                return std::nullopt;
            }
            if (state != ReceiveState::Received) {
                failure = receiveFailure(state);
                continue;
            }
            const QByteArray &answer = s.answer;
            if (static_cast<std::uint8_t>(answer.at(0)) == StatusLength) {
                if (answer.size() < 2)
                    return Abort{QStringLiteral("status answer without its status byte")};
                bool final = false;
                bool ignored = false;
                failure = statusMessage(static_cast<std::uint8_t>(answer.at(1)), false, &ignored, &final);
                if (final)
                    break;
                continue;
            }
            const bool accepted = answer.size() == 3 + BlockSize && answer.at(0) == char(WriteLength) &&
                                  answer.at(1) == request.at(1) && answer.at(2) == request.at(2);
            if (!accepted) {
                failure = catalogue_.text(Msg::UnknownMessage);
                continue;
            }
            for (int i = 0; i < BlockSize; ++i)
                image[a + i] = static_cast<std::uint8_t>(answer.at(3 + i));
            done = true;
        }
        if (!done) {
            prompter_.tell(failure);
            outcome = Outcome::GaveUp;
            return std::nullopt;
        }
        setGauge(a / BlockSize + 1);
    }

    const QString card = QDir(workDir_).filePath(QLatin1String(ReadBackFileName));
    if (!WriteFileAtomically(card, cardDatText(image), &error))
        return Abort{card + QStringLiteral(": ") + error};
    outcome = Outcome::Done;
    return std::nullopt;
}

int SerialLink::SerialTransfer(const SerialEndpoint &endpoint)
{
    if (progress_)
        progress_->begin(catalogue_.text(Msg::SerialTransmission));

    std::optional<Abort> abort;
    Outcome outcome = Outcome::GaveUp;
    {
        Session s(port_, QDir(workDir_).filePath(QLatin1String(LogFileName)));
        s.endpoint = endpoint;
        QString error;
        const auto request = readLines(QDir(workDir_).filePath(QLatin1String(RequestFileName)), &error);
        if (!request) {
            abort = Abort{error};
        } else if (request->size() < 6) {
            abort = Abort{QStringLiteral("%1: fewer than six lines").arg(QLatin1String(RequestFileName))};
        } else if (request->at(0).trimmed() == QLatin1String("s") && request->at(5).isEmpty()) {
            abort = Abort{QStringLiteral("%1: line 6 names no program file to write")
                              .arg(QLatin1String(RequestFileName))};
        } else if (!port_.isOpen() && !port_.open(endpoint.device, &error)) {
            abort = Abort{error};
        } else {
            port_.readAll();
            s.answer = NoAnswerYet;
            setGauge(0);
            const QString direction = request->at(0).trimmed();
            QString programFile = request->at(5);
            if (QFileInfo(programFile).isRelative())
                programFile = QDir(workDir_).filePath(programFile);
            abort = direction == QLatin1String("s") ? writeDevice(s, programFile, outcome)
                                                    : readDevice(s, outcome);
        }
    } // the session closes the log and the port

    if (progress_) {
        if (!abort && outcome == Outcome::Done)
            progress_->setGauge(TransferProgress::GaugeMax);
        progress_->end();
    }
    if (abort) {
        prompter_.tell(QLatin1String(UnexpectedErrorText) + QLatin1Char(' ') + abort->text);
        return 1;
    }
    return outcome == Outcome::Done ? 0 : 1;
}

} // namespace zx
