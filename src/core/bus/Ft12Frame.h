#pragma once

#include <QByteArray>

#include <cstdint>
#include <optional>
#include <vector>

namespace zx {

// FT1.2 framing between the PC and the bus coupling unit, over the serial port's 9600 baud 8N1:
//   fixed frame     0x10 C CS 0x16                       (CS = C)
//   variable frame  0x68 L L 0x68 C data... CS 0x16      (L = 1 + data length, CS = C + data mod 256)
//   acknowledgement the single character 0xE5
// Control byte: 0x80 direction (set from the BCU), 0x40 primary message, 0x20 frame-count bit,
// 0x10 frame-count bit valid, low nibble the function (0x0 reset, 0x3 user data).
namespace Ft12 {
constexpr std::uint8_t FixedStart = 0x10;
constexpr std::uint8_t VariableStart = 0x68;
constexpr std::uint8_t End = 0x16;
constexpr std::uint8_t Ack = 0xE5;

constexpr std::uint8_t DirFromBcu = 0x80;
constexpr std::uint8_t Primary = 0x40;
constexpr std::uint8_t FrameCountBit = 0x20;
constexpr std::uint8_t FrameCountValid = 0x10;
constexpr std::uint8_t FunctionReset = 0x00;
constexpr std::uint8_t FunctionUserData = 0x03;

constexpr std::uint8_t ResetControl = Primary | FunctionReset; // 0x40
// The longest user data a frame may carry: a fetched frame plus its length byte fills the
// library's 40-byte buffer.
constexpr int MaxUserData = 39;

QByteArray fixedFrame(std::uint8_t control);
QByteArray variableFrame(std::uint8_t control, const QByteArray &userData);
// User data from the PC with the given frame-count bit.
QByteArray userDataFrame(bool frameCountBit, const QByteArray &userData);
} // namespace Ft12

// What the reader found in the received bytes.
struct Ft12Event {
    enum class Kind { Ack, Fixed, Variable };
    Kind kind = Kind::Ack;
    std::uint8_t control = 0;
    QByteArray userData; // Variable only
};

// Cuts received bytes into acknowledgements and frames. Bytes that are no frame (a broken
// checksum, a wrong length, a missing end byte, noise) are skipped one at a time until a start
// byte lines up again; nothing that fails a check is ever handed on.
class Ft12Reader {
  public:
    void feed(const QByteArray &bytes);
    // The next complete event, if any.
    std::optional<Ft12Event> next();
    // An incomplete frame that stopped arriving: its first byte is given up and the rest is
    // scanned again.
    void dropStale();
    bool hasPartial() const { return !buffer_.isEmpty(); }
    void clear() { buffer_.clear(); }
    // Bytes given up so far.
    int skipped() const { return skipped_; }

  private:
    void skip(int count);
    QByteArray buffer_;
    int skipped_ = 0;
};

} // namespace zx
