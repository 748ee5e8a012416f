#include "platform/QtSerialPort.h"

namespace zx {

bool QtSerialPort::open(const QString &device, QString *error)
{
    if (port_.isOpen())
        port_.close();
    port_.setPortName(device);
    const bool ok = port_.open(QIODevice::ReadWrite) && port_.setBaudRate(QSerialPort::Baud9600) &&
                    port_.setDataBits(QSerialPort::Data8) && port_.setParity(QSerialPort::NoParity) &&
                    port_.setStopBits(QSerialPort::OneStop) &&
                    port_.setFlowControl(QSerialPort::NoFlowControl);
    if (!ok) {
        if (error)
            *error = device + QStringLiteral(": ") + port_.errorString();
        port_.close();
        return false;
    }
    port_.clearError();
    return true;
}

void QtSerialPort::close()
{
    if (port_.isOpen())
        port_.close();
}

bool QtSerialPort::write(const QByteArray &bytes, QString *error)
{
    if (!port_.isOpen() || port_.write(bytes) != bytes.size()) {
        if (error)
            *error = port_.errorString();
        return false;
    }
    // Without an event loop nothing else would push the buffered bytes to the device.
    while (port_.bytesToWrite() > 0) {
        if (!port_.waitForBytesWritten(1000)) {
            if (error)
                *error = port_.errorString();
            return false;
        }
    }
    return true;
}

void QtSerialPort::fetchWaitingInput()
{
    // A zero wait moves whatever the device holds into the port's buffer without blocking;
    // it reports a time-out when nothing is there, which is no fault here.
    if (port_.isOpen()) {
        port_.waitForReadyRead(0);
        if (port_.error() == QSerialPort::TimeoutError)
            port_.clearError();
    }
}

qint64 QtSerialPort::bytesAvailable()
{
    fetchWaitingInput();
    return port_.bytesAvailable();
}

QByteArray QtSerialPort::readAll()
{
    fetchWaitingInput();
    return port_.readAll();
}

} // namespace zx
