#include "bus/Ft12BusLibrary.h"

namespace zx {

Ft12BusLibrary::Ft12BusLibrary(SerialPort &port, EventPump &pump, std::function<QString(int)> deviceForPort)
    : link_(port, pump), deviceForPort_(std::move(deviceForPort))
{
}

int Ft12BusLibrary::fail(int status, const QString &text)
{
    errorText_ = text;
    return status;
}

int Ft12BusLibrary::install(int portIndex, int baud, int /*sendTimeoutMs*/, int repeatMs, int /*flags*/)
{
    if (portIndex < 0 || portIndex > 1 || baud != 9600)
        return fail(BadArgument,
                    QStringLiteral("port %1 at %2 baud is not served").arg(portIndex + 1).arg(baud));
    const QString device = deviceForPort_(portIndex);
    QString error;
    // The port's own text names the device already.
    if (!link_.open(device, &error))
        return fail(PortNotOpened, error.contains(device) ? error : device + QStringLiteral(": ") + error);
    link_.setRepeatMs(repeatMs);
    device_ = device;
    errorText_.clear();
    return Ok;
}

int Ft12BusLibrary::resetTransport()
{
    if (!link_.isOpen())
        return fail(NotInstalled, QStringLiteral("transport not installed"));
    link_.reset();
    return pollLink();
}

int Ft12BusLibrary::queue(const QByteArray &userData)
{
    if (!link_.isOpen())
        return fail(NotInstalled, QStringLiteral("transport not installed"));
    if (!link_.queue(userData))
        return fail(BadFrame, QStringLiteral("frame of %1 bytes cannot be sent").arg(userData.size()));
    return pollLink();
}

int Ft12BusLibrary::resetLocalBcu()
{
    return queue(QByteArray(1, char(ResetBcuCode)));
}

int Ft12BusLibrary::changeLayer(int layer)
{
    QByteArray data;
    data.append(char(ChangeLayerCode));
    data.append(char(layer & 0xFF));
    return queue(data);
}

int Ft12BusLibrary::send(const QByteArray &frame)
{
    if (frame.size() < 2)
        return fail(BadFrame, QStringLiteral("frame without message code"));
    return queue(frame.mid(1));
}

int Ft12BusLibrary::pollLink()
{
    if (!link_.poll()) {
        const QString &text = link_.errorText();
        return fail(PortFailed, text.contains(device_) ? text : device_ + QStringLiteral(": ") + text);
    }
    return Ok;
}

int Ft12BusLibrary::pollSend(int &queued, int &repeats, int &busy)
{
    int status = link_.isOpen() ? pollLink() : fail(NotInstalled, QStringLiteral("transport not installed"));
    if (status == Ok && link_.takeUnconfirmed() > 0)
        status = fail(NotConfirmed, QStringLiteral("frame not acknowledged after %1 repetitions, given up")
                                        .arg(Ft12Link::Repetitions));
    queued = link_.pending();
    repeats = link_.repeatsOfHead();
    busy = queued > 0 ? 1 : 0;
    return status;
}

int Ft12BusLibrary::fetch(FetchBuffer &buffer)
{
    buffer.fill(0);
    if (!link_.isOpen())
        return fail(NotInstalled, QStringLiteral("transport not installed"));
    if (const int status = pollLink())
        return status;
    if (auto data = link_.takeReceived()) {
        const int n = std::min<int>(int(data->size()), int(buffer.size()) - 1);
        buffer[0] = std::uint8_t(n);
        for (int i = 0; i < n; ++i)
            buffer[1 + i] = std::uint8_t(data->at(i));
    }
    return Ok;
}

int Ft12BusLibrary::close()
{
    link_.close();
    return Ok;
}

} // namespace zx
