#pragma once

#include "bus/BusTimings.h"

#include <QByteArray>
#include <QString>

#include <functional>

namespace zx {

class BusLibrary;
class Catalogue;
class Clock;
class EventPump;
class ProtocolFile;

// Link errors: 0 success, the system's own codes 101..113; any other non-zero value comes from
// the bus library. RunTimeError stands for a failure that is no link error (an image file that
// cannot be read or written); its text is kept by whoever returned it.
namespace LinkError {
constexpr int Ok = 0;
constexpr int TimeSwitchBusy = 101;
constexpr int NoAnswerFromTimeSwitch = 102;
constexpr int WrongTelegramLength = 103;
constexpr int NoValidData = 104;
constexpr int NoConnectionToEib = 105;
constexpr int NoConnectionToDevice = 106;
constexpr int NoBusAccess = 107;
constexpr int ConnectingDevice = 108;
constexpr int NoMaskResponse = 109;
constexpr int WrongMaskVersion = 110;
constexpr int AnswerFromWrongDevice = 111;
constexpr int MemoryNotWritten = 112;
constexpr int WrongDeviceType = 113;
constexpr int RunTimeError = -1;
// The user ended the operation (Ctrl-C, a termination signal); the link still closes the
// connection and itself.
constexpr int Interrupted = 120;

// A failure of the link to the coupling unit itself (no confirmation, no local answer, the
// library's own errors such as a port that failed), as against a bus device that does not
// answer. Nothing that follows on the same link can succeed, so an operation ends at once.
constexpr bool IsLocalLinkFailure(int code)
{
    return code == NoBusAccess || code == NoConnectionToEib ||
           (code != Ok && code != RunTimeError && (code < TimeSwitchBusy || code > WrongDeviceType));
}
} // namespace LinkError

// Each byte from position `first` (`count` bytes; 0 = to the end) as a blank and the byte in
// upper-case hexadecimal without leading zero: 0x06 0x23 0x00 gives " 6 23 0".
QString HexBytes(const QByteArray &bytes, int first = 0, int count = 0);

// The message of ReportError for a link error; `comIndex` 0 or 1 names the port of 107,
// `runTimeText` describes a RunTimeError (or a 0 reported as a failure).
QString LinkErrorMessage(const Catalogue &catalogue, int code, int comIndex, const QString &runTimeText = {});
// The same, with 107 naming the port as the user gave it (a device file, an interface's host)
// in place of "COM n"; an empty `portName` names COM `comIndex` + 1.
QString LinkErrorMessage(const Catalogue &catalogue, int code, int comIndex, const QString &portName,
                         const QString &runTimeText);

// The frames to the local BCU, each with its length byte first.
namespace BusFrame {
constexpr int LocalAnswerCode = 0x4B;
constexpr int DeviceDataCode = 0x39;
constexpr int AddressTableLength = 0x0116;
constexpr int ConnectionFlag = 0x010D;
constexpr int LayerCode = 150;

QByteArray readLocalMemory(int address, int count);
QByteArray writeLocalMemory(int address, const QByteArray &data);
QByteArray connect(int deviceAddress);
QByteArray disconnect();
QByteArray dataOnConnection(const QByteArray &applicationData);
} // namespace BusFrame

// The link to the bus coupling unit for one operation: opening with the BCU's address table
// length saved and restored on closing, sending with confirmation, local memory, the
// connection to a bus device and its answers. Every step and every frame goes to the protocol.
class BusLink {
  public:
    BusLink(BusLibrary &library, EventPump &pump, const Clock &clock, const Catalogue &catalogue,
            ProtocolFile &protocol, BusTimings timings = {});

    int OpenLink(int comIndex);
    int CloseLink();
    bool isOpen() const { return open_; }
    int comIndex() const { return comIndex_; }
    // The port the next OpenLink of an operation uses.
    void setComIndex(int comIndex) { comIndex_ = comIndex; }

    int SendLocal(const QByteArray &frame);
    int ReadLocalMemory(int address, int count, QByteArray *data);
    int WriteLocalMemory(int address, const QByteArray &data);
    int Connect(int deviceAddress);
    int Disconnect();
    // Restarts the local BCU (also after a device that failed).
    int ResetLocalBcu();
    int SendOnConnection(const QByteArray &applicationData);
    // The next frame from a bus device: its source address and application data.
    int ReceiveFromDevice(int *source, QByteArray *applicationData);

    void Pause(int ms);
    void WaitMs(int ms);
    // Waits `ms` while taking and dropping whatever arrives: an answer that comes after its
    // time-out must not pass for the answer to the next request.
    void Drain(int ms);

    // Asked between polls and during every wait: true ends the step that waits with Interrupted,
    // and every later step of the operation too; disconnecting and closing still run, each
    // bounded by its own time-outs.
    void setInterruptCheck(std::function<bool()> check) { interruptCheck_ = std::move(check); }
    bool interrupted();

    // A protocol line in the catalogue's words.
    void log(const QString &text);
    void logStep(int msgId, const QString &suffix = {});
    void logError(int msgId, const QString &suffix = {});
    const Catalogue &catalogue() const { return catalogue_; }
    const BusTimings &timings() const { return timings_; }
    ProtocolFile &protocol() { return protocol_; }

  private:
    // The time-out of t_rcvtimer: started with a length, then only tested.
    class Deadline {
      public:
        Deadline(EventPump &pump, int ms);
        bool expired() const;

      private:
        EventPump &pump_;
        qint64 end_;
    };
    int openSteps(int comIndex);
    // Lets the library serve its far end (acknowledgements, heartbeat) until `ms` have passed.
    void waitServed(int ms);
    // Disconnect and CloseLink run even after an interruption.
    class Closing {
      public:
        explicit Closing(BusLink &link) : link_(link), was_(link.closing_) { link.closing_ = true; }
        ~Closing() { link_.closing_ = was_; }
        Closing(const Closing &) = delete;
        Closing &operator=(const Closing &) = delete;

      private:
        BusLink &link_;
        bool was_;
    };
    int fetchUntil(int code, const Deadline &timer, QByteArray *frame);
    void logIgnored(const QByteArray &frame);

    BusLibrary &library_;
    EventPump &pump_;
    const Clock &clock_;
    const Catalogue &catalogue_;
    ProtocolFile &protocol_;
    BusTimings timings_;
    bool open_ = false;
    int comIndex_ = 0;
    int savedTableLength_ = 0;
    int ignoredInWait_ = 0; // frames of another kind or address skipped in the current wait
    std::function<bool()> interruptCheck_;
    bool interrupted_ = false;
    bool closing_ = false;
};

} // namespace zx
