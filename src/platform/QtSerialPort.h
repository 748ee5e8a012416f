#pragma once

#include "platform/SerialPort.h"

#include <QSerialPort>

namespace zx {

// The serial port through QSerialPort. It works without a running event loop: waiting input
// is fetched from the device on every poll and writes are pushed out before they return.
class QtSerialPort final : public SerialPort {
  public:
    bool open(const QString &device, QString *error) override;
    bool isOpen() const override { return port_.isOpen(); }
    void close() override;
    bool write(const QByteArray &bytes, QString *error) override;
    qint64 bytesAvailable() override;
    QByteArray readAll() override;

  private:
    void fetchWaitingInput();
    QSerialPort port_;
};

} // namespace zx
