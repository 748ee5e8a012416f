#pragma once

#include "platform/EventPump.h"
#include "platform/SerialPort.h"
#include "transfer/TransferProgress.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <array>
#include <functional>
#include <vector>

namespace zx::test {

// Waiting on a virtual clock: every poll advances it by one millisecond, so time-outs and
// quiet times run at their real lengths in no time at all.
class VirtualPump final : public EventPump {
  public:
    qint64 now = 0;
    void processEvents() override { ++now; }
    qint64 monotonicMs() const override { return now; }
    void pauseMs(int ms) override { now += ms; }
};

// One part of an answer: it arrives `afterMs` after the previous part (or after the request).
struct Piece {
    qint64 afterMs;
    QByteArray bytes;
};
using Reply = std::vector<Piece>; // empty: no answer at all

// A serial port whose far end is a script: each request written gets the reply the responder
// makes for it, delivered on the virtual clock.
class ScriptedSerialPort final : public SerialPort {
  public:
    explicit ScriptedSerialPort(VirtualPump &pump) : pump_(pump) {}

    std::function<Reply(const QByteArray &request)> responder;
    QString openError;  // non-empty: open fails with this text
    QString writeError; // non-empty: every write fails with this text
    QString openedDevice;
    int opens = 0;
    int closes = 0;
    std::vector<QByteArray> requests;

    bool open(const QString &device, QString *error) override
    {
        openedDevice = device;
        if (!openError.isEmpty()) {
            *error = openError;
            return false;
        }
        ++opens;
        open_ = true;
        return true;
    }
    bool isOpen() const override { return open_; }
    void close() override
    {
        if (open_)
            ++closes;
        open_ = false;
    }
    bool write(const QByteArray &bytes, QString *error) override
    {
        if (!writeError.isEmpty()) {
            *error = writeError;
            return false;
        }
        requests.push_back(bytes);
        qint64 at = pump_.now;
        for (const Piece &p : responder ? responder(bytes) : Reply{}) {
            at += p.afterMs;
            pending_.push_back({at, p.bytes});
        }
        return true;
    }
    qint64 bytesAvailable() override
    {
        deliver();
        return input_.size();
    }
    QByteArray readAll() override
    {
        deliver();
        QByteArray all = input_;
        input_.clear();
        return all;
    }

  private:
    void deliver()
    {
        for (auto it = pending_.begin(); it != pending_.end();) {
            if (it->first <= pump_.now) {
                input_ += it->second;
                it = pending_.erase(it);
            } else {
                ++it;
            }
        }
    }
    VirtualPump &pump_;
    bool open_ = false;
    std::vector<std::pair<qint64, QByteArray>> pending_;
    QByteArray input_;
};

// A well-behaved interface with its device memory, answering within a few milliseconds.
struct MemoryDevice {
    std::array<std::uint8_t, 2048> memory{};

    Reply operator()(const QByteArray &request)
    {
        const auto byte = [&](int i) { return static_cast<std::uint8_t>(request.at(i)); };
        const int address = ((byte(1) >> 1) & 7) * 256 + byte(2);
        if (byte(0) == 0x12) {
            for (int i = 0; i < 16; ++i)
                memory[address + i] = byte(3 + i);
            return {{5, QByteArray("\x01\x80", 2)}};
        }
        QByteArray data = request.mid(0, 3);
        data[0] = char(0x12);
        for (int i = 0; i < 16; ++i)
            data.append(char(memory[address + i]));
        return {{5, data}};
    }
};

struct RecordingProgress final : public TransferProgress {
    QString caption;
    QString label;
    std::vector<int> gauge;
    int opened = 0;
    int closed = 0;
    void begin(const QString &c) override
    {
        caption = c;
        ++opened;
    }
    void setLabel(const QString &text) override { label = text; }
    void setGauge(int value) override { gauge.push_back(value); }
    void end() override { ++closed; }
    bool cancel = false; // the user's Cancel
    bool cancelRequested() const override { return cancel; }
};

} // namespace zx::test
