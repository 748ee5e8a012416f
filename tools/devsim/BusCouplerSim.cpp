#include "BusCouplerSim.h"
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
volatile std::sig_atomic_t healRequested = 0;
volatile std::sig_atomic_t strikeRequested = 0;

void dump(const char *what, const std::vector<std::uint8_t> &bytes)
{
    traceBytes("devsim bus", what, bytes, true);
}

void onStop(int)
{
    BusCouplerSim::stop();
}

void onHeal(int)
{
    BusCouplerSim::heal();
}

void onStrike(int)
{
    BusCouplerSim::strike();
}

constexpr std::uint8_t Ack = 0xE5;
constexpr int MailboxAddress = 0x00CE;
constexpr int MailboxSize = 9;
constexpr int ConnectionFlag = 0x010D;
constexpr int AddressTableLength = 0x0116;
constexpr int MaxRecords = 324;
// The programming application announces itself by these bytes at 0x0119.
constexpr std::uint8_t Signature[8] = {0x5A, 0x58, 0x4D, 0x42, 0x4F, 0x58, 0x30, 0x31};

constexpr FaultName<BusFault> faultTable[] = {
    {"none", BusFault::None},
    {"no-bcu", BusFault::NoBcu},
    {"no-device", BusFault::NoDevice},
    {"busy", BusFault::Busy},
    {"wrong-mask", BusFault::WrongMask},
    {"wrong-ident", BusFault::WrongIdent},
    {"no-write", BusFault::NoWrite},
    {"lost-ack", BusFault::LostAck},
    {"bad-checksum", BusFault::BadChecksum},
    {"babble", BusFault::Babble},
};

// Maker byte of each brand, and the device type bytes of a four-channel time switch.
constexpr std::uint8_t BrandMaker[6] = {0x4E, 0x4B, 0x4F, 0x50, 0x52, 0x54};

} // namespace

bool parseBusFault(const std::string &name, BusFault *fault)
{
    return findFault(faultTable, name, fault);
}

bool takeDeviceOption(int argc, char *argv[], int &i, BusOptions &options)
{
    const std::string arg = argv[i];
    const bool hasValue = i + 1 < argc;
    long number = 0;
    int address = 0;
    if (arg == "--device" && hasValue && parsePhysicalAddress(argv[i + 1], &address))
        options.devices.push_back(address);
    else if (arg == "--brand" && hasValue && toNumber(argv[i + 1], &number))
        options.brand = int(number);
    else if (arg == "--fault-count" && hasValue && toNumber(argv[i + 1], &number))
        options.faultCount = int(number);
    else if (arg == "--fault-after" && hasValue && toNumber(argv[i + 1], &number))
        options.faultAfter = int(number);
    else if (arg == "--dump" && hasValue)
        options.dumpFile = argv[i + 1];
    else if (arg == "--verbose")
        options.verbose = true;
    else
        return false;
    if (arg != "--verbose")
        ++i;
    return true;
}

const char *busFaultNames()
{
    return "none, no-bcu, no-device, busy, wrong-mask, wrong-ident, no-write, lost-ack, bad-checksum, babble";
}

void BusCouplerSim::installSignalHandlers()
{
    onStopSignals(onStop);
    std::signal(SIGUSR1, onHeal);
    std::signal(SIGUSR2, onStrike);
}

void BusCouplerSim::stop()
{
    stopRequested = 1;
}

void BusCouplerSim::heal()
{
    healRequested = 1;
}

void BusCouplerSim::strike()
{
    strikeRequested = 1;
}

BusCouplerSim::BusCouplerSim(BusOptions options) : options_(std::move(options))
{
    if (options_.devices.empty())
        options_.devices.push_back(0x1105);
    local_[AddressTableLength] = static_cast<std::uint8_t>(options_.tableLength);
    for (int address : options_.devices) {
        Device d;
        // The device's own application: identification, then its program and tables.
        const int brand = (options_.brand >= 1 && options_.brand <= 6) ? options_.brand : 1;
        const bool wrongIdent = options_.fault == BusFault::WrongIdent;
        d.memory[0x0104] = wrongIdent ? 0 : BrandMaker[brand - 1];
        d.memory[0x0105] = wrongIdent ? 0 : 0x52;
        d.memory[0x0106] = wrongIdent ? 0 : 0x04;
        for (int a = 0x0107; a <= 0x01FE; ++a)
            d.memory[a] = static_cast<std::uint8_t>((a * 13 + 7) & 0xFF);
        d.memory[ConnectionFlag] = 0xFF;
        d.memory[AddressTableLength] = 3;
        for (auto &e : d.changeover)
            e = {0xFF, 0xFF, 0xFF, 0xFF};
        devices_[address] = d;
    }
    if (options_.fault == BusFault::Busy)
        busyLeft_ = options_.faultCount == 0 ? 1 << 30 : options_.faultCount;
    dumpDevice();
}

// A fault with --fault-after N waits until N frames came from the PC: it strikes in the middle
// of a transfer.
bool BusCouplerSim::faultArmed(BusFault fault) const
{
    return options_.fault == fault && framesFromPc_ > options_.faultAfter;
}

bool BusCouplerSim::faultApplies(BusFault fault)
{
    if (!faultArmed(fault))
        return false;
    if (options_.faultCount == 0)
        return true;
    if (faulted_ >= options_.faultCount)
        return false;
    ++faulted_;
    return true;
}

bool BusCouplerSim::mailboxActive(const Device &d) const
{
    return d.memory[ConnectionFlag] == 0xFF &&
           std::equal(std::begin(Signature), std::end(Signature), &d.memory[0x0119]);
}

void BusCouplerSim::dumpDevice() const
{
    if (options_.dumpFile.empty() || devices_.empty())
        return;
    const std::string temp = options_.dumpFile + ".tmp";
    {
        std::ofstream f(temp, std::ios::trunc);
        const Device &d = devices_.begin()->second;
        for (int a = 0x0104; a <= 0x01FE; ++a)
            f << int(d.memory[a]) << "\n";
    }
    std::rename(temp.c_str(), options_.dumpFile.c_str());
}

void BusCouplerSim::send(int fd, const std::vector<std::uint8_t> &bytes)
{
    if (options_.verbose)
        dump("<-", bytes);
    for (std::uint8_t b : bytes) {
        writeAll(fd, &b, 1);
        if (options_.byteMicros > 0)
            ::usleep(static_cast<useconds_t>(options_.byteMicros));
    }
}

void BusCouplerSim::queueToPc(const std::vector<std::uint8_t> &userData)
{
    out_.push_back({userData, 0, 0, false});
}

void BusCouplerSim::drive(int fd)
{
    if (faultArmed(BusFault::NoBcu))
        return; // frozen: not even a repetition goes out
    if (out_.empty() && faultArmed(BusFault::Babble))
        queueToPc({0x4B, 0x01, 0x00, 0x00, 0x00}); // a local answer nobody asked for
    if (out_.empty())
        return;
    Outgoing &head = out_.front();
    const long long now = nowMicros();
    if (head.sent && now - head.sentAt < options_.repeatMs * 1000LL)
        return;
    if (head.sent && head.repeats >= 3) {
        out_.pop_front(); // the PC is gone; the frame is given up
        return;
    }
    if (head.sent)
        ++head.repeats;
    const std::uint8_t control = 0xD3 | (outBit_ ? 0x20 : 0x00);
    std::vector<std::uint8_t> frame{0x68, std::uint8_t(head.frame.size() + 1),
                                    std::uint8_t(head.frame.size() + 1), 0x68, control};
    std::uint8_t sum = control;
    for (std::uint8_t b : head.frame) {
        frame.push_back(b);
        sum = std::uint8_t(sum + b);
    }
    if (faultApplies(BusFault::BadChecksum))
        sum ^= 0x5A;
    frame.push_back(sum);
    frame.push_back(0x16);
    send(fd, frame);
    head.sent = true;
    head.sentAt = nowMicros();
}

void BusCouplerSim::onBytes(int fd, const std::uint8_t *bytes, std::size_t count)
{
    input_.insert(input_.end(), bytes, bytes + count);
    for (;;) {
        if (input_.empty())
            return;
        const std::uint8_t first = input_[0];
        if (first == Ack) {
            input_.erase(input_.begin());
            if (!out_.empty() && out_.front().sent) {
                out_.pop_front();
                outBit_ = !outBit_;
            }
            continue;
        }
        if (first == 0x10) {
            if (input_.size() < 4)
                return;
            if (input_[1] == input_[2] && input_[3] == 0x16) {
                const std::uint8_t control = input_[1];
                input_.erase(input_.begin(), input_.begin() + 4);
                onFrame(fd, control, {}, true);
            } else {
                input_.erase(input_.begin());
            }
            continue;
        }
        if (first == 0x68) {
            if (input_.size() < 4)
                return;
            const std::size_t length = input_[1];
            if (input_[2] != length || input_[3] != 0x68 || length < 1) {
                input_.erase(input_.begin());
                continue;
            }
            if (input_.size() < length + 6)
                return;
            std::uint8_t sum = 0;
            for (std::size_t i = 4; i < 4 + length; ++i)
                sum = std::uint8_t(sum + input_[i]);
            if (input_[4 + length] != sum || input_[5 + length] != 0x16) {
                if (options_.verbose)
                    dump("bad frame", input_);
                input_.erase(input_.begin());
                continue;
            }
            const std::uint8_t control = input_[4];
            std::vector<std::uint8_t> data(input_.begin() + 5, input_.begin() + 4 + length);
            input_.erase(input_.begin(), input_.begin() + 6 + length);
            onFrame(fd, control, data, false);
            continue;
        }
        input_.erase(input_.begin());
    }
}

void BusCouplerSim::onFrame(int fd, std::uint8_t control, const std::vector<std::uint8_t> &data, bool fixed)
{
    if (options_.verbose)
        dump(fixed ? "-> reset" : "->", data);
    countFrame();
    if (faultArmed(BusFault::NoBcu))
        return;
    if (!faultApplies(BusFault::LostAck)) {
        const std::uint8_t ack = Ack;
        send(fd, {ack});
    }
    if (fixed) {
        if ((control & 0x0F) == 0x00) {
            lastBit_ = -1;
            outBit_ = true;
            out_.clear();
        }
        return;
    }
    if ((control & 0x0F) != 0x03 || data.empty())
        return;
    if (control & 0x10) {
        const int bit = (control & 0x20) ? 1 : 0;
        if (bit == lastBit_)
            return; // a repetition of a frame already taken
        lastBit_ = bit;
    }
    handleUserData(data);
}

void BusCouplerSim::handleUserData(const std::vector<std::uint8_t> &p)
{
    if (faultArmed(BusFault::Babble))
        return;
    const auto address = [&](std::size_t i) { return i + 1 < p.size() ? (p[i] << 8) | p[i + 1] : -1; };
    switch (p[0]) {
    case 0xA9: // reset of the coupling unit
        connected_ = -1;
        out_.clear();
        break;
    case 0xA6: // change of layer
        break;
    case 0x4C: { // read local memory: count, address
        if (p.size() < 4)
            return;
        const int count = p[1] & 0x0F;
        const int from = address(2);
        std::vector<std::uint8_t> answer{0x4B, std::uint8_t(count), p[2], p[3]};
        for (int i = 0; i < count; ++i)
            answer.push_back(local_[(from + i) & 0x1FF]);
        queueToPc(answer);
        break;
    }
    case 0x46: { // write local memory: count, address, data
        if (p.size() < 4)
            return;
        const int from = address(2);
        for (std::size_t i = 4; i < p.size(); ++i)
            local_[(from + int(i) - 4) & 0x1FF] = p[i];
        break;
    }
    case 0x23: // connect: 0 0 0, device address
        if (p.size() >= 6)
            connected_ = address(4);
        break;
    case 0x24: // disconnect
        connected_ = -1;
        break;
    case 0x21: { // data on the connection: 0 0 0 0 0, length - 1, application data
        if (p.size() < 8 || connected_ < 0)
            return;
        const std::size_t length = (p[6] & 0x0F) + 1;
        if (p.size() < 7 + length)
            return;
        handleDeviceData(connected_, std::vector<std::uint8_t>(p.begin() + 7, p.begin() + 7 + long(length)));
        break;
    }
    default:
        break;
    }
}

void BusCouplerSim::handleDeviceData(int address, const std::vector<std::uint8_t> &app)
{
    const auto reply = deviceReply(address, app);
    if (!reply)
        return;
    std::vector<std::uint8_t> frame{0x39,
                                    0xB0,
                                    std::uint8_t(address >> 8),
                                    std::uint8_t(address & 0xFF),
                                    0x11,
                                    0xFF,
                                    std::uint8_t((reply->size() - 1) & 0x0F)};
    frame.insert(frame.end(), reply->begin(), reply->end());
    queueToPc(frame);
}

std::optional<std::vector<std::uint8_t>> BusCouplerSim::deviceReply(int address,
                                                                    const std::vector<std::uint8_t> &app)
{
    const auto it = devices_.find(address);
    if (it == devices_.end() || app.size() < 2 || faultApplies(BusFault::NoDevice))
        return std::nullopt;
    Device &d = it->second;
    std::vector<std::uint8_t> reply;
    const int service = ((app[0] & 0x03) << 8) | (app[1] & 0xC0);
    if (service == 0x0300) { // mask version read
        const int mask = options_.fault == BusFault::WrongMask ? 0x0010 : options_.mask;
        reply = {0x03, 0x40, std::uint8_t(mask >> 8), std::uint8_t(mask & 0xFF)};
    } else if (service == 0x0200 && app.size() >= 4) { // memory read
        const int count = std::min(app[1] & 0x3F, 12);
        const int from = (app[2] << 8) | app[3];
        reply = {0x02, std::uint8_t(0x40 | count), app[2], app[3]};
        for (int i = 0; i < count; ++i)
            reply.push_back(d.memory[(from + i) & 0x1FF]);
    } else if (service == 0x0280 && app.size() >= 4) { // memory write, unanswered
        const int from = (app[2] << 8) | app[3];
        const bool application = from >= 0x0100;
        if (application && faultApplies(BusFault::NoWrite))
            return std::nullopt;
        for (std::size_t i = 4; i < app.size(); ++i)
            d.memory[(from + int(i) - 4) & 0x1FF] = app[i];
        if (from == MailboxAddress && app.size() >= 5 && app[4] == 0x01 && mailboxActive(d))
            handleMailbox(d);
        if (application)
            dumpDevice();
        return std::nullopt;
    } else {
        return std::nullopt;
    }
    return reply;
}

void BusCouplerSim::handleMailbox(Device &d)
{
    std::uint8_t *box = &d.memory[MailboxAddress];
    const std::uint8_t command = box[2];
    const std::uint8_t *data = box + 3;
    std::array<std::uint8_t, MailboxSize> answer;
    answer.fill(0xFF);
    answer[0] = 0x02;
    if (busyLeft_ > 0 && faultArmed(BusFault::Busy)) {
        --busyLeft_;
        answer[1] = 0x00; // busy: the command was not taken
        std::copy(answer.begin(), answer.end(), box);
        return;
    }
    auto reply = [&](std::initializer_list<std::uint8_t> bytes) {
        std::fill(answer.begin() + 2, answer.end(), 0x00);
        std::copy(bytes.begin(), bytes.end(), answer.begin() + 2);
    };
    auto recordReply = [&] {
        if (d.readPosition < d.records.size()) {
            const auto &r = d.records[d.readPosition++];
            reply({r[0], r[1], r[2], r[3], r[4], r[5], 0x00});
        } else {
            reply({0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF});
        }
    };
    switch (command) {
    case 0xC4:
        if (data[0] == 0)
            d.changeoverHeader = data[1];
        else if (data[0] <= 20)
            d.changeover[data[0] - 1] = {data[1], data[2], data[3], data[4]};
        break;
    case 0xE5:
        d.records.clear();
        break;
    case 0xE0:
        if (d.records.size() < MaxRecords)
            d.records.push_back({data[0], data[1], data[2], data[3], data[4], data[5]});
        else
            answer[1] = 0x01; // memory full
        break;
    case 0x44:
        reply({std::uint8_t(d.changeoverHeader), 0, 0, 0, 0, 0, 0});
        break;
    case 0x40:
        if (data[0] == 0) {
            reply({std::uint8_t(d.changeoverHeader), 0, 0, 0});
        } else if (data[0] <= 20) {
            const auto &e = d.changeover[data[0] - 1];
            reply({e[0], e[1], e[2], e[3]});
        }
        break;
    case 0x60:
        d.readPosition = 0;
        recordReply();
        break;
    case 0x61:
        recordReply();
        break;
    default:
        answer[1] = 0x02; // unknown command
        break;
    }
    std::copy(answer.begin(), answer.end(), box);
}

bool BusCouplerSim::stopping()
{
    return stopRequested != 0;
}

bool BusCouplerSim::serviceSignals()
{
    if (strikeRequested) {
        strikeRequested = 0;
        options_.faultAfter = int(framesFromPc_);
    }
    if (!healRequested)
        return false;
    // The fault is over: the coupling unit and the time switches work again, with whatever
    // state the fault left them in.
    healRequested = 0;
    options_.fault = BusFault::None;
    busyLeft_ = 0;
    out_.clear();
    input_.clear();
    return true;
}

int BusCouplerSim::run(int fd)
{
    while (!stopRequested) {
        serviceSignals();
        pollfd p{fd, POLLIN, 0};
        const int ready = ::poll(&p, 1, 5);
        if (ready < 0) {
            if (errno == EINTR)
                continue;
            std::perror("devsim: poll");
            return 1;
        }
        if (ready > 0 && (p.revents & POLLIN)) {
            std::uint8_t chunk[256];
            const ssize_t n = ::read(fd, chunk, sizeof chunk);
            if (n > 0) {
                lastInput_ = nowMicros();
                onBytes(fd, chunk, static_cast<std::size_t>(n));
            } else {
                ::usleep(10000);
            }
        } else if (ready > 0) {
            ::usleep(10000); // no client on the slave side just now
        }
        // A frame that stopped arriving is given up byte by byte.
        if (!input_.empty() && nowMicros() - lastInput_ > 200000) {
            input_.erase(input_.begin());
            lastInput_ = nowMicros();
            onBytes(fd, nullptr, 0);
        }
        drive(fd);
    }
    return 0;
}

} // namespace devsim
