#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace devsim {

// What the simulated programming interface does wrong, when asked to.
enum class Fault {
    None,
    NoDevice,      // status 0x81: no device in the interface
    DeviceSilent,  // status 0x82: the device did not answer the interface
    Transmission,  // status 0x84: transmission error between PC and interface
    UnknownStatus, // a status with none of the known bit pairs
    Silence,       // no answer at all
    WrongEcho,     // a data answer whose address bytes differ from the request
    Garbage,       // bytes that are no frame
    Chatter,       // a line that keeps sending: tens of thousands of bytes after every request
};

bool parseFault(const std::string &name, Fault *fault);
const char *faultNames();

struct SerialOptions {
    std::string memoryFile; // device memory kept across runs (2048 bytes); empty: erased memory
    Fault fault = Fault::None;
    int faultCount = 0;       // fail only the first N frames, then answer correctly; 0: all
    bool pieces = false;      // answers leave in three pieces with gaps between them
    int gapMs = 30;           // the gap between pieces (the host's quiet time is 100 ms)
    long byteMicros = 1042;   // time of one byte on the line at 9600 baud, 8N1; 0: no pacing
    int frameTimeoutMs = 300; // an incomplete frame is dropped after this much silence
    bool verbose = false;     // every frame on stderr
};

// The serial programming interface with its 2048-byte device memory, speaking length-prefixed
// frames: write requests (0x12, select 0xA0 | address bits 8..10 in bits 1..3, low address,
// 16 bytes) answered with status 0x01 0x80, read requests (0x03, select 0xA1 | ..., low
// address, count) answered with the data frame.
class SerialInterfaceSim {
  public:
    explicit SerialInterfaceSim(SerialOptions options);

    // Serves the master side of a pseudo-terminal until stop() or a termination signal.
    int run(int fd);
    static void stop();

    // The answer to one complete frame; empty: no answer. Public for the self-test.
    std::vector<std::uint8_t> answer(const std::vector<std::uint8_t> &frame);
    const std::array<std::uint8_t, 2048> &memory() const { return memory_; }

  private:
    bool faultApplies();
    void loadMemory();
    void saveMemory() const;
    void send(int fd, const std::vector<std::uint8_t> &bytes);

    SerialOptions options_;
    std::array<std::uint8_t, 2048> memory_{};
    int framesFaulted_ = 0;
};

} // namespace devsim
