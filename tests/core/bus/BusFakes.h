#pragma once

#include "platform/BusLibrary.h"

#include <QByteArray>

#include <array>
#include <deque>
#include <functional>
#include <map>
#include <vector>

namespace zx::test {

// A bus library whose far end is a coupling unit with one time switch, in the same process:
// frames are taken and answered at once. It records every frame sent and every mailbox
// command the time switch took.
class FakeBus final : public BusLibrary {
  public:
    int deviceAddress = 0x1105;
    bool bcuConfirms = true; // false: every send stays busy
    bool deviceAnswers = true;
    std::array<std::uint8_t, 2> mask{0x00, 0x12};
    int busyAnswers = 0;            // mailbox answers that report busy
    int refuseWritesAt = -1;        // this address keeps its old value
    int refusals = -1;              // how many writes to it keep the old value; -1 every one
    int resetStatus = 0;            // what a reset of the local BCU answers
    int confirmedSends = -1;        // the coupling unit stops confirming after this many frames; -1 never
    bool babble = false;            // every fetch brings a local answer for address 0, nothing else
    int loseAnswerAfter = -1;       // the answer to the first read after this mailbox command is lost
    int losses = 1;                 // how many times in a row loseAnswerAfter strikes
    int shortenLocalAnswers = 0;    // data bytes left out of the BCU's answers to memory reads
    std::function<int()> onInstall; // the status of each install; none: every install succeeds
    // Changes each answer of the device (application data, source) before it goes out.
    std::function<void(QByteArray &app, int &source)> tamper;
    std::array<std::uint8_t, 512> local{};
    std::array<std::uint8_t, 512> memory{};
    std::vector<QByteArray> sent;
    std::vector<std::pair<int, QByteArray>> mailboxCommands; // command, data
    std::vector<std::pair<int, int>> memoryWrites;           // address, byte count
    std::vector<std::array<std::uint8_t, 6>> records;
    int changeoverHeader = 0;
    std::array<std::array<std::uint8_t, 4>, 20> changeover{};
    int installs = 0, closes = 0, bcuResets = 0;

    FakeBus()
    {
        local[0x0116] = 5;
        memory[0x0104] = 0x4E;
        memory[0x0105] = 0x52;
        memory[0x0106] = 0x04;
        for (auto &e : changeover)
            e = {0xFF, 0xFF, 0xFF, 0xFF};
    }

    int install(int, int, int, int, int) override
    {
        ++installs;
        return onInstall ? onInstall() : 0;
    }
    int resetTransport() override { return 0; }
    int resetLocalBcu() override
    {
        ++bcuResets;
        connected = -1; // a reset BCU holds no connection
        return resetStatus;
    }
    int changeLayer(int) override { return 0; }
    int send(const QByteArray &frame) override
    {
        sent.push_back(frame);
        if (confirmedSends >= 0 && int(sent.size()) > confirmedSends)
            bcuConfirms = false;
        if (bcuConfirms)
            handle(frame);
        return 0;
    }
    int pollSend(int &queued, int &repeats, int &busy) override
    {
        queued = repeats = 0;
        busy = bcuConfirms ? 0 : 1;
        return 0;
    }
    int fetch(FetchBuffer &buffer) override
    {
        buffer.fill(0);
        if (babble) {
            const QByteArray f = QByteArray::fromHex("054B01000000");
            std::copy(f.begin(), f.end(), buffer.begin());
            return 0;
        }
        if (!incoming.empty()) {
            const QByteArray f = incoming.front();
            incoming.pop_front();
            for (int i = 0; i < f.size() && i < int(buffer.size()); ++i)
                buffer[i] = std::uint8_t(f.at(i));
        }
        return 0;
    }
    int close() override
    {
        ++closes;
        connected = -1;
        return 0;
    }
    QString lastErrorText() const override { return {}; }
    int keepAlive() override { return ++keepAlives, 0; }
    int keepAlives = 0;

    // A frame fetched before any answer the coupling unit gives.
    void inject(const QByteArray &frame) { incoming.push_front(frame); }

    // Mailbox commands taken, by command code.
    int commandCount(int command) const
    {
        int n = 0;
        for (const auto &c : mailboxCommands)
            n += c.first == command;
        return n;
    }

  private:
    std::deque<QByteArray> incoming;
    std::size_t readPosition = 0;
    int connected = -1;
    bool loseAnswer = false;

    static QByteArray withLength(const QByteArray &body) { return QByteArray(1, char(body.size())) + body; }
    void answerFromDevice(QByteArray app)
    {
        int source = deviceAddress;
        if (tamper)
            tamper(app, source);
        QByteArray f("\x39\xB0", 2);
        f.append(char(source >> 8)).append(char(source & 0xFF)).append("\x11\xFF", 2);
        f.append(char(app.size() - 1)).append(app);
        incoming.push_back(withLength(f));
    }
    void handle(const QByteArray &frame)
    {
        const auto b = [&](int i) { return std::uint8_t(frame.at(i)); };
        switch (b(1)) {
        case 0x4C: {
            const int address = (b(3) << 8) | b(4);
            QByteArray f = frame.mid(1, 4);
            f[0] = char(0x4B);
            for (int i = 0; i < b(2) - shortenLocalAnswers; ++i)
                f.append(char(local[address + i]));
            incoming.push_back(withLength(f));
            break;
        }
        case 0x46:
            for (int i = 0; i < b(2); ++i)
                local[((b(3) << 8) | b(4)) + i] = b(5 + i);
            break;
        case 0x23:
            connected = (b(5) << 8) | b(6);
            break;
        case 0x24:
            connected = -1;
            break;
        case 0x21:
            if (connected == deviceAddress && deviceAnswers)
                onDevice(frame.mid(8));
            break;
        }
    }
    void onDevice(const QByteArray &app)
    {
        const auto a = [&](int i) { return std::uint8_t(app.at(i)); };
        if (a(0) == 0x03) {
            answerFromDevice(QByteArray("\x03\x40", 2) + char(mask[0]) + char(mask[1]));
            return;
        }
        const int address = (a(2) << 8) | a(3);
        const int count = a(1) & 0x3F;
        if ((a(1) & 0xC0) == 0x00) {
            if (loseAnswer) {
                loseAnswer = false;
                return;
            }
            QByteArray r = app.left(4);
            r[1] = char(0x40 | count);
            for (int i = 0; i < count; ++i)
                r.append(char(memory[address + i]));
            answerFromDevice(r);
            return;
        }
        memoryWrites.push_back({address, count});
        for (int i = 0; i < count; ++i) {
            if (address + i != refuseWritesAt || refusals == 0)
                memory[address + i] = a(4 + i);
            else if (refusals > 0)
                --refusals;
        }
        if (address == 0x00CE && a(4) == 0x01)
            mailbox(app.mid(4));
    }
    void mailbox(const QByteArray &box)
    {
        QByteArray answer(9, char(0xFF));
        answer[0] = 2;
        const int command = std::uint8_t(box.at(2));
        const QByteArray data = box.mid(3, std::uint8_t(box.at(1)) - 1);
        if (busyAnswers > 0) {
            --busyAnswers;
            answer[1] = 0;
        } else {
            mailboxCommands.push_back({command, data});
            if (command == loseAnswerAfter) {
                if (--losses <= 0)
                    loseAnswerAfter = -1;
                loseAnswer = true;
            }
            auto reply = [&](const QByteArray &r) { answer.replace(2, r.size(), r); };
            const auto d = [&](int i) { return std::uint8_t(data.at(i)); };
            if (command == 0xC4 && d(0) == 0)
                changeoverHeader = d(1);
            else if (command == 0xC4)
                changeover[d(0) - 1] = {d(1), d(2), d(3), d(4)};
            else if (command == 0xE5)
                records.clear();
            else if (command == 0xE0)
                records.push_back({d(0), d(1), d(2), d(3), d(4), d(5)});
            else if (command == 0x44)
                reply(QByteArray(1, char(changeoverHeader)) + QByteArray(6, '\0'));
            else if (command == 0x40 && d(0) > 0) {
                const auto &e = changeover[d(0) - 1];
                reply(QByteArray(reinterpret_cast<const char *>(e.data()), 4));
            } else if (command == 0x60 || command == 0x61) {
                if (command == 0x60)
                    readPosition = 0;
                if (readPosition < records.size()) {
                    const auto &r = records[readPosition++];
                    reply(QByteArray(reinterpret_cast<const char *>(r.data()), 6) + '\0');
                }
            }
        }
        for (int i = 0; i < 9; ++i)
            memory[0xCE + i] = std::uint8_t(answer.at(i));
    }
};

} // namespace zx::test
