#pragma once

namespace zx {

// Device codes as the image header carries them (byte 1). Bit 7 marks a master card, which
// carries option bits for the device instead of a program alone.
constexpr int DeviceCodeAnnual = 72;                  // annual time switch
constexpr int DeviceCodeAnnualSpecialPriorities = 73; // annual time switch with special priorities
constexpr int DeviceCodeAstro = 80;                   // astro device
constexpr int MasterCardBit = 0x80;

constexpr bool IsMasterCard(int deviceCode)
{
    return (deviceCode & MasterCardBit) != 0;
}

// The code without the master-card bit.
constexpr int PlainDeviceCode(int deviceCode)
{
    return deviceCode & ~MasterCardBit & 0xFF;
}

// The annual device's code for a program: 73 when it holds priority times the plain device
// cannot run (dated forms beyond "every year"), 72 otherwise; a master card stays one.
constexpr int AnnualDeviceCode(int deviceCode, bool specialPriorities)
{
    return (deviceCode & MasterCardBit) |
           (specialPriorities ? DeviceCodeAnnualSpecialPriorities : DeviceCodeAnnual);
}

} // namespace zx
