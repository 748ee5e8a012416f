#pragma once

#include <QByteArray>
#include <QString>

namespace zx {

// A serial line to the programming interface: 9600 baud, 8 data bits, no parity, 1 stop bit,
// no flow control, raw bytes in both directions. The serial link polls it; it never blocks
// for an answer.
class SerialPort {
  public:
    virtual ~SerialPort() = default;

    // Opens the device file (e.g. /dev/ttyS1, /dev/ttyUSB0, a pseudo-terminal) with the line
    // settings above. False with the system's error text when it cannot be opened.
    virtual bool open(const QString &device, QString *error) = 0;
    virtual bool isOpen() const = 0;
    virtual void close() = 0;
    // Sends the bytes; false with the system's error text when they could not be sent.
    virtual bool write(const QByteArray &bytes, QString *error) = 0;
    // Received bytes waiting to be taken.
    virtual qint64 bytesAvailable() = 0;
    // Takes every waiting byte at once.
    virtual QByteArray readAll() = 0;
};

} // namespace zx
