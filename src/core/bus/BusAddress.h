#pragma once

#include <QString>

#include <optional>

namespace zx {

class Prompter;

// A physical address: area 0..15, line 0..15, device 0..255, packed as 4096 x area + 256 x
// line + device.
constexpr int PackPhysicalAddress(int area, int line, int device)
{
    return 4096 * area + 256 * line + device;
}
QString PhysicalAddressText(int packed);

// The address typed for an operation: "area.line.device" with area 0..15, line 0..12 (lines
// 13..15 are no lines a time switch sits on) and device 1..255. nullopt when it is none.
std::optional<int> ParsePhysicalAddress(const QString &text);

// A group address "main/sub", main 0..31 and sub 0..2047, packed as 2048 x main + sub; 0 with
// the message "keine gültige Gruppenadresse" (the same in every language) when it is none.
int CheckGroupAddress(const QString &text, Prompter &prompter);

// The search fields of the bus access dialog.
enum class BusField { Area, Line, FromDevice, ToDevice };
struct BusFieldCheck {
    QString text; // what the field shows afterwards
    int value = 0;
    bool beep = false; // the typed value was above the limit
};
// A value above the field's limit beeps and becomes 0 (to-device: 255); the field then shows
// the number as read, without leading zeros and blanks. An empty field stays empty.
BusFieldCheck CheckBusField(BusField field, const QString &text);

} // namespace zx
