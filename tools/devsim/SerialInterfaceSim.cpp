#include "SerialInterfaceSim.h"
#include "SimSupport.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <fstream>
#include <poll.h>
#include <unistd.h>

namespace devsim {

namespace {

volatile std::sig_atomic_t stopRequested = 0;

void sleepUntilMicros(long long at)
{
    timespec ts{};
    ts.tv_sec = static_cast<time_t>(at / 1000000);
    ts.tv_nsec = static_cast<long>((at % 1000000) * 1000);
    while (::clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &ts, nullptr) == EINTR && !stopRequested) {
    }
}

bool stopping()
{
    return stopRequested != 0;
}

void dump(const char *what, const std::vector<std::uint8_t> &bytes)
{
    traceBytes("devsim", what, bytes, false);
}

constexpr int MemorySize = 2048;

} // namespace

bool parseFault(const std::string &name, Fault *fault)
{
    static const FaultName<Fault> table[] = {
        {"none", Fault::None},
        {"no-device", Fault::NoDevice},
        {"device-silent", Fault::DeviceSilent},
        {"transmission", Fault::Transmission},
        {"unknown-status", Fault::UnknownStatus},
        {"silence", Fault::Silence},
        {"wrong-echo", Fault::WrongEcho},
        {"garbage", Fault::Garbage},
        {"chatter", Fault::Chatter},
    };
    return findFault(table, name, fault);
}

const char *faultNames()
{
    return "none, no-device, device-silent, transmission, unknown-status, silence, wrong-echo, garbage, "
           "chatter";
}

SerialInterfaceSim::SerialInterfaceSim(SerialOptions options) : options_(std::move(options))
{
    memory_.fill(0xFF); // an erased memory chip
    loadMemory();
}

void SerialInterfaceSim::stop()
{
    stopRequested = 1;
}

void SerialInterfaceSim::loadMemory()
{
    if (options_.memoryFile.empty())
        return;
    std::ifstream in(options_.memoryFile, std::ios::binary);
    if (in)
        in.read(reinterpret_cast<char *>(memory_.data()), MemorySize);
}

void SerialInterfaceSim::saveMemory() const
{
    if (options_.memoryFile.empty())
        return;
    const std::string temporary = options_.memoryFile + ".tmp";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char *>(memory_.data()), MemorySize);
    }
    std::rename(temporary.c_str(), options_.memoryFile.c_str());
}

bool SerialInterfaceSim::faultApplies()
{
    if (options_.fault == Fault::None)
        return false;
    if (options_.faultCount > 0 && framesFaulted_ >= options_.faultCount)
        return false;
    ++framesFaulted_;
    return true;
}

std::vector<std::uint8_t> SerialInterfaceSim::answer(const std::vector<std::uint8_t> &frame)
{
    const std::size_t length = frame.empty() ? 0 : frame[0];
    const bool isWrite = length == 18 && frame.size() == 19 && (frame[1] & 0xF1) == 0xA0;
    const bool isRead = length == 3 && frame.size() == 4 && (frame[1] & 0xF1) == 0xA1;
    if (!isWrite && !isRead)
        return {0x01, 0x84}; // the interface could not make sense of what arrived

    // A wrong echo can only show in a data answer, so only reads count towards the fault count.
    const bool faulty = (options_.fault != Fault::WrongEcho || isRead) && faultApplies();
    if (faulty) {
        switch (options_.fault) {
        case Fault::NoDevice:
            return {0x01, 0x81};
        case Fault::DeviceSilent:
            return {0x01, 0x82};
        case Fault::Transmission:
            return {0x01, 0x84};
        case Fault::UnknownStatus:
            return {0x01, 0x90};
        case Fault::Silence:
            return {};
        case Fault::Garbage:
            return {0x55, 0xAA, 0x5A, 0x00, 0x17};
        case Fault::Chatter: {
            std::vector<std::uint8_t> stream(65536);
            for (std::size_t i = 0; i < stream.size(); ++i)
                stream[i] = static_cast<std::uint8_t>(i * 7);
            return stream;
        }
        case Fault::WrongEcho:
        case Fault::None:
            break;
        }
    }

    const int address = ((frame[1] >> 1) & 0x07) * 256 + frame[2];
    if (isWrite) {
        for (int i = 0; i < 16; ++i)
            memory_[(address + i) % MemorySize] = frame[3 + i];
        saveMemory();
        return {0x01, 0x80};
    }
    const int count = frame[3];
    std::vector<std::uint8_t> data{static_cast<std::uint8_t>(count + 2), frame[1], frame[2]};
    if (faulty && options_.fault == Fault::WrongEcho)
        data[2] = static_cast<std::uint8_t>(frame[2] ^ 0x10);
    for (int i = 0; i < count; ++i)
        data.push_back(memory_[(address + i) % MemorySize]);
    return data;
}

void SerialInterfaceSim::send(int fd, const std::vector<std::uint8_t> &bytes)
{
    if (options_.verbose)
        dump("<-", bytes);
    const std::size_t pieceCount = options_.pieces ? 3 : 1;
    const std::size_t pieceSize = (bytes.size() + pieceCount - 1) / pieceCount;
    long long at = nowMicros();
    for (std::size_t start = 0; start < bytes.size(); start += pieceSize) {
        if (start > 0) {
            sleepUntilMicros(nowMicros() + options_.gapMs * 1000LL);
            at = nowMicros();
        }
        const std::size_t end = std::min(bytes.size(), start + pieceSize);
        if (options_.byteMicros == 0) {
            writeAll(fd, &bytes[start], end - start, stopping);
            continue;
        }
        for (std::size_t i = start; i < end && !stopRequested; ++i) {
            // A byte leaves once the line has carried the previous one.
            sleepUntilMicros(at);
            at += options_.byteMicros;
            writeAll(fd, &bytes[i], 1, stopping);
        }
    }
}

int SerialInterfaceSim::run(int fd)
{
    std::vector<std::uint8_t> frame;
    long long frameStart = 0;
    while (!stopRequested) {
        pollfd p{fd, POLLIN, 0};
        const int ready = ::poll(&p, 1, frame.empty() ? 1000 : options_.frameTimeoutMs);
        if (ready < 0) {
            if (errno == EINTR)
                continue;
            std::perror("devsim: poll");
            return 1;
        }
        if (ready == 0) {
            if (!frame.empty()) {
                if (options_.verbose)
                    dump("dropped", frame);
                frame.clear();
            }
            continue;
        }
        if (!(p.revents & POLLIN)) {
            ::usleep(10000); // no client on the slave side just now
            continue;
        }
        std::uint8_t chunk[256];
        const ssize_t n = ::read(fd, chunk, sizeof chunk);
        if (n <= 0) {
            ::usleep(10000);
            continue;
        }
        for (ssize_t i = 0; i < n; ++i) {
            if (frame.empty())
                frameStart = nowMicros();
            frame.push_back(chunk[i]);
            if (frame.size() < std::size_t(frame[0]) + 1)
                continue;
            if (options_.verbose)
                dump("->", frame);
            // At 9600 baud the frame is complete only once all its bytes have crossed the line.
            const long long arrived = frameStart + static_cast<long long>(frame.size()) * options_.byteMicros;
            if (options_.byteMicros > 0)
                sleepUntilMicros(arrived);
            const auto reply = answer(frame);
            if (!reply.empty())
                send(fd, reply);
            frame.clear();
        }
    }
    return 0;
}

} // namespace devsim
