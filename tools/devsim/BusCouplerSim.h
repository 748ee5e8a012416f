#pragma once

#include <array>
#include <cstdint>
#include <deque>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace devsim {

// What the simulated bus coupling unit or the time switches behind it do wrong, when asked to.
enum class BusFault {
    None,
    NoBcu,       // the coupling unit neither acknowledges nor answers
    NoDevice,    // no time switch answers on a connection
    Busy,        // the time switch reports busy for the next N mailbox answers
    WrongMask,   // mask version 0x0010
    WrongIdent,  // identification bytes 00 00 00
    NoWrite,     // application memory does not take a write
    LostAck,     // the coupling unit's acknowledgement is lost
    BadChecksum, // frames to the PC carry a corrupted checksum
    Babble,      // the coupling unit answers nothing but sends unrelated frames without end
};

bool parseBusFault(const std::string &name, BusFault *fault);
const char *busFaultNames();

struct BusOptions {
    std::vector<int> devices; // physical addresses of the time switches (default 1.1.5)
    int brand = 1;            // identification of brand 1..6
    int mask = 0x0012;
    int tableLength = 5; // the coupling unit's address table length
    BusFault fault = BusFault::None;
    int faultCount = 0;     // fault only the first N times (busy: N answers); 0: always
    int faultAfter = 0;     // the fault strikes only after this many frames from the PC
    long byteMicros = 1042; // one byte at 9600 baud 8N1; 0: no pacing
    int repeatMs = 150;     // wait for the PC's acknowledgement before repeating a frame
    std::string dumpFile;   // the first device's memory, written whenever it changes
    bool verbose = false;
};

// Takes argv[i] (and its value) when it is one of the options of the time switches that devsim
// bus and devsim ip share: --device, --brand, --fault-count, --fault-after, --dump, --verbose.
// False for any other option or a bad value.
bool takeDeviceOption(int argc, char *argv[], int &i, BusOptions &options);

// A bus coupling unit on FT1.2 (fixed frames 10 C C 16, variable frames 68 L L 68 C .. CS 16,
// acknowledgement E5) with its local memory, and bus time switches behind it: BCU memory with
// mask version, identification and application, the mailbox at 0x00CE served while the
// programming application runs, a changeover table and a switching program.
class BusCouplerSim {
  public:
    explicit BusCouplerSim(BusOptions options);
    int run(int fd);
    // Frames taken from the PC so far (repetitions included): where --fault-after can strike.
    long framesFromPc() const { return framesFromPc_; }

    // The time switches behind the coupling unit, for other front ends (devsim ip) as well:
    // application data sent to `address` and the device's answer, if it gives one.
    std::optional<std::vector<std::uint8_t>> deviceReply(int address, const std::vector<std::uint8_t> &app);
    bool hasDevice(int address) const { return devices_.count(address) != 0; }
    // A frame from the PC arrived: --fault-after counts it.
    void countFrame() { ++framesFromPc_; }
    bool faultArmed(BusFault fault) const;
    bool faultApplies(BusFault fault);
    // Takes a pending heal or strike signal; true when the fault was healed.
    bool serviceSignals();
    static bool stopping();
    const BusOptions &options() const { return options_; }
    // SIGTERM and SIGINT stop, SIGUSR1 heals, SIGUSR2 strikes.
    static void installSignalHandlers();
    static void stop();
    // Ends the fault (SIGUSR1): what it broke stays broken, nothing new goes wrong.
    static void heal();
    // The fault strikes from the next frame on (SIGUSR2), whatever --fault-after said.
    static void strike();

  private:
    struct Device {
        std::array<std::uint8_t, 512> memory{};
        int changeoverHeader = 0;
        std::array<std::array<std::uint8_t, 4>, 20> changeover{};
        std::vector<std::array<std::uint8_t, 6>> records;
        std::size_t readPosition = 0;
    };
    struct Outgoing {
        std::vector<std::uint8_t> frame;
        int repeats = 0;
        long long sentAt = 0;
        bool sent = false;
    };

    void onBytes(int fd, const std::uint8_t *bytes, std::size_t count);
    void onFrame(int fd, std::uint8_t control, const std::vector<std::uint8_t> &data, bool fixed);
    void handleUserData(const std::vector<std::uint8_t> &data);
    void handleDeviceData(int address, const std::vector<std::uint8_t> &app);
    void handleMailbox(Device &d);
    void queueToPc(const std::vector<std::uint8_t> &userData);
    void drive(int fd);
    void send(int fd, const std::vector<std::uint8_t> &bytes);
    void dumpDevice() const;
    bool mailboxActive(const Device &d) const;

    BusOptions options_;
    std::map<int, Device> devices_;
    std::array<std::uint8_t, 512> local_{};
    int connected_ = -1;
    int lastBit_ = -1;   // frame-count bit of the last frame taken from the PC
    bool outBit_ = true; // of the next frame to the PC
    int busyLeft_ = 0;
    int faulted_ = 0;
    long framesFromPc_ = 0;
    std::vector<std::uint8_t> input_;
    long long lastInput_ = 0;
    std::deque<Outgoing> out_;
};

} // namespace devsim
