#pragma once

#include "bus/Ft12Link.h"
#include "platform/BusLibrary.h"

#include <functional>

namespace zx {

// The bus library over the FT1.2 frame link. A frame handed to send() travels without its
// length byte as the user data of one FT1.2 frame; a received frame gets its length byte back
// before fetch() hands it out. Resetting the local BCU and changing its layer are user data
// frames of their own, queued like any other frame.
class Ft12BusLibrary final : public BusLibrary {
  public:
    // Message codes of the two BCU management requests.
    static constexpr std::uint8_t ResetBcuCode = 0xA9;
    static constexpr std::uint8_t ChangeLayerCode = 0xA6;

    // Library statuses (the system's own link errors are 101..113).
    enum Status : int {
        Ok = 0,
        PortNotOpened = 201, // install: the port could not be opened
        NotInstalled = 202,  // a call before install or after close
        PortFailed = 203,    // the port failed while sending or receiving
        BadFrame = 204,      // a frame that is empty, too long or whose length byte disagrees
        BadArgument = 205,   // install with a port index or baud rate the transport does not serve
        NotConfirmed = BusLibrary::NotConfirmed, // a frame the BCU never acknowledged was given up
    };

    // `deviceForPort` gives the device file of port index 0 (COM1) or 1 (COM2).
    Ft12BusLibrary(SerialPort &port, EventPump &pump, std::function<QString(int)> deviceForPort);

    int install(int portIndex, int baud, int sendTimeoutMs, int repeatMs, int flags) override;
    int resetTransport() override;
    int resetLocalBcu() override;
    int changeLayer(int layer) override;
    int send(const QByteArray &frame) override;
    int pollSend(int &queued, int &repeats, int &busy) override;
    int fetch(FetchBuffer &buffer) override;
    int close() override;
    QString lastErrorText() const override { return errorText_; }

  private:
    int fail(int status, const QString &text);
    int queue(const QByteArray &userData);
    int pollLink();

    Ft12Link link_;
    std::function<QString(int)> deviceForPort_;
    QString device_; // the device file installed, named once in every port error
    QString errorText_;
};

} // namespace zx
