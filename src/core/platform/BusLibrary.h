#pragma once

#include <QByteArray>
#include <QString>

#include <array>
#include <cstdint>

namespace zx {

// The bus library: the eight calls that carry frames between the PC and the bus coupling unit
// (BCU). Every call returns a status, 0 = success; any other value is the library's own error
// and is passed on unchanged. A frame handed in or fetched starts with a length byte that counts
// the bytes after it, followed by the message code.
class BusLibrary {
  public:
    using FetchBuffer = std::array<std::uint8_t, 40>;

    // A status every implementation uses alike: the coupling unit (or interface) did not confirm
    // a frame after all its repetitions and the frame was given up. The link reports it as the
    // local time-out, whichever back-end carries it.
    static constexpr int NotConfirmed = 200;

    virtual ~BusLibrary() = default;

    // Opens serial port `portIndex` (0 = COM1, 1 = COM2) at `baud` and starts the transport;
    // `sendTimeoutMs` bounds a send, `repeatMs` is the wait for an acknowledgement before a
    // frame is repeated.
    virtual int install(int portIndex, int baud, int sendTimeoutMs, int repeatMs, int flags) = 0;
    virtual int resetTransport() = 0;
    virtual int resetLocalBcu() = 0;
    virtual int changeLayer(int layer) = 0;
    // Hands a frame over for sending; pollSend() tells when it has gone.
    virtual int send(const QByteArray &frame) = 0;
    // While `busy` is non-zero and the status is 0 the last frame is still on its way; a frame
    // given up unconfirmed ends the wait with NotConfirmed.
    // `queued` counts the frames not yet confirmed, `repeats` the repetitions of the current one.
    virtual int pollSend(int &queued, int &repeats, int &busy) = 0;
    // On status 0 the buffer holds a received frame, or a length byte of 0 when none arrived.
    virtual int fetch(FetchBuffer &buffer) = 0;
    virtual int close() = 0;

    // Called again and again while the caller waits without sending or fetching (a pause after a
    // block, the start of an application): a back-end whose far end expects timely answers (a
    // tunnel's acknowledgements and heartbeat) serves it here. Frames that arrive stay for fetch().
    virtual int keepAlive() { return 0; }
    // The longest a send may take with every repetition the back-end makes, and the longest an
    // answer from a device may take when the back-end repeats what went missing on its way; 0:
    // the link's own time-outs suffice.
    virtual int sendTimeLimitMs() const { return 0; }
    virtual int answerTimeLimitMs() const { return 0; }

    // The system's text for the last non-zero status, for the protocol file; may be empty.
    virtual QString lastErrorText() const = 0;
    // The message for the user in place of the generic one for one of the library's own
    // statuses (language: 1 German, 2 English, 3 French); empty: the generic one.
    virtual QString statusMessage(int /*status*/, int /*language*/) const { return {}; }
};

} // namespace zx
