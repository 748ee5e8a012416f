#pragma once

#include "bus/Ft12Frame.h"

#include <QByteArray>
#include <QString>

#include <deque>
#include <optional>

namespace zx {

class EventPump;
class SerialPort;

// The FT1.2 frame link over a serial port: frames to the BCU go out one at a time and each waits
// for its acknowledgement 0xE5; a frame that is not acknowledged within the repeat time is sent
// again with the same frame-count bit, up to three repetitions. A frame still unconfirmed one
// repeat time after its last repetition is given up and counted (takeUnconfirmed()), and a link
// reset goes out ahead of the frames behind it: the BCU may or may not have taken the lost
// frame, so only a reset puts both frame-count bits in step again. Frames from the BCU are acknowledged
// when they pass every check; a repeated frame (same frame-count bit as the last one taken) is
// acknowledged again but handed on only once.
class Ft12Link {
  public:
    static constexpr int Repetitions = 3;

    Ft12Link(SerialPort &port, EventPump &pump);

    bool open(const QString &device, QString *error);
    void close();
    bool isOpen() const;
    void setRepeatMs(int ms) { repeatMs_ = ms; }
    // A pause in the middle of a received frame longer than this gives the partial frame up.
    void setFrameGapMs(int ms) { frameGapMs_ = ms; }

    // Drops whatever waits to be sent or was received and queues the reset frame; the next
    // user data frame carries the frame-count bit 1.
    void reset();
    // Queues user data for the BCU; false when it is too long for a frame.
    bool queue(const QByteArray &userData);
    // Moves received bytes through the reader and sends or repeats the head of the queue.
    // False once the port failed (see errorText()).
    bool poll();
    // Frames waiting for their acknowledgement (the head is on the line).
    int pending() const { return int(queue_.size()); }
    int repeatsOfHead() const { return repeats_; }
    std::optional<QByteArray> takeReceived();
    // Frames given up unconfirmed since the last call.
    int takeUnconfirmed()
    {
        const int n = unconfirmed_;
        unconfirmed_ = 0;
        return n;
    }

    const QString &errorText() const { return errorText_; }

  private:
    struct Outgoing {
        bool reset = false;
        QByteArray userData;
    };
    void sendHead();
    void handle(const Ft12Event &event);

    SerialPort &port_;
    EventPump &pump_;
    Ft12Reader reader_;
    std::deque<Outgoing> queue_;
    std::deque<QByteArray> received_;
    QByteArray onLine_; // the head as sent, for repetitions
    bool headSent_ = false;
    qint64 sentAt_ = 0;
    int repeats_ = 0;
    int unconfirmed_ = 0;
    bool frameCountBit_ = true; // of the next user data frame to the BCU
    int lastIncomingBit_ = -1;  // frame-count bit of the last frame taken from the BCU
    qint64 lastInputAt_ = 0;
    int repeatMs_ = 500;
    int frameGapMs_ = 100;
    bool failed_ = false;
    QString errorText_;
};

} // namespace zx
