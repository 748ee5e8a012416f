#pragma once

#include <QString>

namespace zx {

// Texts of the program comparison and of the undo steps, which the message catalogue does not
// hold, in the three built-in languages; a loaded language gets the English ones.
enum class CompareText {
    OnlyIn,          // "only in %1"
    Changed,         // "changed"
    Settings,        // heading of the device settings that differ
    Equal,           // the programs hold the same
    WrittenVerified, // result of a write whose read-back holds the same
    VerifyDiffers,   // result of a write whose read-back differs; %1 the differences
    VerifyOption,    // menu: verify after writing
    CompareFile,     // menu: compare with file
    CompareDevice,   // menu: compare with device
    CompareTitle,    // window title
    Program,         // the program in memory
    Device,          // the device
    Undo,            // "Undo %1"
    Redo,            // "Redo %1"
    AddSwitching,    // "add %n switching time(s)"
    DeleteSwitching,
    ChangeSwitching,
    AddPriority,
    DeletePriority,
    ChangePriority,
    StepChangeover,
    StepAstro,
    StepSettings,
    StepTexts,
    StepRead,
    StepProgram,
    // Setting names.
    SetDeviceType,
    SetChannels,
    SetBusDevice,
    SetDeviceCode,
    SetRule,
    SetWriteProtect,
    SetEuroDate,
    SetGermanDisplay,
    SetRadioSync,
    SetNakOff,
    SetKeyPermanent,
    SetMasterOptions,
    SetMeterChannel,
    SetMeterPeriod,
    SetMeterPulse,
    SetMeterState,
    SetMeterTiming,
    SetProgramNumber,
    SetUsageText,
    SetChannelName, // %1 the channel number
    SetLongitude,
    SetLatitude,
    SetTimeZone,
    SetOffset1,
    SetOffset2,
    SetAstroMinute,
    SetAstroC1C2,
    SetFirstYear,
    ReadCompare, // button: read the bus device and compare
    SetEntriesPerYear,
    SetOptionBit0,
    Count
};

QString compareText(CompareText id, int sprache);
// A text with a count in it, singular for 1.
QString compareCountText(CompareText id, int count, int sprache);

} // namespace zx
