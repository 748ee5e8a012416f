#pragma once

#include "model/ProgramFile.h"
#include "transfer/TransferProgress.h"

#include <QByteArray>
#include <QString>

#include <optional>

namespace zx {

class Catalogue;
class ComPortMap;
class EventPump;
class Prompter;
class SerialPort;

// The line's timing. The product keeps these values; tests shrink them.
struct SerialTimings {
    int answerTimeoutMs = 500;    // wait for the first byte of an answer
    int quietMs = 100;            // an answer is complete once the line was quiet this long
    int startWaitMs = 2000;       // the interface settles before the first block
    int receiveDeadlineMs = 2000; // one answer, from the request to its last byte
};

// The port a transfer uses: the device file and what the progress text names after
// " using COM " (the COM number, or the device path when no COM number applies).
struct SerialEndpoint {
    QString device;
    QString comName;
};

// The port of a transfer port setting (4 and above: COM(setting - 3)) as the map assigns it.
SerialEndpoint serialEndpointFor(int portSetting, const ComPortMap &ports);

// Overrun: the line went on sending beyond the longest answer the protocol knows, or beyond the
// receive deadline; Cancelled: the user ended the transfer. Both end the attempt as failed.
enum class ReceiveState : int { Received = 0, TimeOut = 1, Waiting = 2, Overrun = 3, Cancelled = 4 };

// Writes or reads the device memory over the serial programming interface: 128 blocks of 16
// bytes, each sent as one request frame and confirmed by one answer frame, up to three
// attempts per block. Takes its orders from "zentrix.msg" in the working directory, writes
// the protocol log "rsproto.txt" there and, after a complete read, the image "card.dat".
class SerialLink {
  public:
    static constexpr int BlockSize = 16;
    static constexpr int BlockCount = 128;
    static constexpr int Attempts = 3;
    // The longest answer: a data frame of length byte, select byte, address and one block.
    static constexpr int LongestAnswer = 3 + BlockSize;
    static constexpr const char *LogFileName = "rsproto.txt";
    static constexpr const char *RequestFileName = "zentrix.msg";
    static constexpr const char *ReadBackFileName = "card.dat";
    // Shown before the system's text when a transfer breaks off unexpectedly.
    static constexpr const char *UnexpectedErrorText = "error in serial communication :";

    SerialLink(SerialPort &port, EventPump &pump, Prompter &prompter, const Catalogue &catalogue,
               const QString &workDir, TransferProgress *progress = nullptr, SerialTimings timings = {});

    // One whole transfer: 0 when every block went through, 1 when it was abandoned (the user
    // has been told why).
    int SerialTransfer(const SerialEndpoint &endpoint);

    // Waits for one answer. Received: the buffer holds the received bytes; TimeOut: nothing
    // began to arrive in time and the buffer is unchanged; Overrun: more than the longest answer
    // arrived, or the line was still sending at the receive deadline (the buffer holds what was
    // read); Cancelled: the progress window's Cancel was pressed.
    ReceiveState SerialReceive(QByteArray &buffer);

    // Frames.
    static std::uint8_t selectByte(bool read, int address);
    static QByteArray writeRequest(int address, const std::uint8_t *bytes);
    static QByteArray readRequest(int address);
    // One log line: every byte as a blank and upper-case hexadecimal without leading zero.
    static QByteArray hexLine(const QByteArray &frame);
    // "card.dat": values 0..3 on one line, 4..103 five a line, 104..2047 six a line.
    static QByteArray cardDatText(const MemoryImage &image);

  private:
    class Session;
    enum class Outcome { Done, GaveUp, Cancelled };
    struct Abort {
        QString text;
    };

    // Sends one request and waits for its answer, logging both.
    std::optional<Abort> exchange(Session &s, const QByteArray &request, ReceiveState *state);
    std::optional<Abort> writeDevice(Session &s, const QString &programFile, Outcome &outcome);
    std::optional<Abort> readDevice(Session &s, Outcome &outcome);
    QString statusMessage(std::uint8_t status, bool writing, bool *success, bool *final) const;
    void setGauge(int value);
    bool cancelled() const;
    // The failure text of an attempt whose receive did not end in an answer.
    QString receiveFailure(ReceiveState state) const;

    SerialPort &port_;
    EventPump &pump_;
    Prompter &prompter_;
    const Catalogue &catalogue_;
    QString workDir_;
    TransferProgress *progress_;
    SerialTimings timings_;
};

} // namespace zx
