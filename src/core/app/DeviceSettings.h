#pragma once

#include "model/ChangeoverRules.h"

#include <array>

namespace zx {

class Model;
struct DeviceProperties;

// The rules of the device properties dialog: which controls a device offers, the meter pulse
// lists and how the dialog's choices map to the model.
namespace devicesettings {

// Meter periods in minutes by list index.
constexpr std::array<int, 12> PeriodMinutes{1, 2, 3, 4, 5, 6, 10, 12, 15, 20, 30, 60};
constexpr int PortChoices = 7;                       // LPT1..LPT3, COM1..COM4
constexpr int ChangeoverRules = ChangeoverRuleCount; // no changeover, Europe, UK, USA, table

enum class Layout {
    Astro,    // type 236: astro channel option
    Meter,    // type 517 with Evu 1: meter pulse
    Language, // type 517 with Evu 0: language of the time switch
};
Layout LayoutFor(const DeviceProperties &device);

// Period list index of a period in minutes; 0 for a value the list does not hold.
int PeriodIndex(int minutes);
// Minutes of a period list index (clamped to the list).
int PeriodAt(int index);
// Entries of the pulse-length list: 1..59 for a 1-minute period, 1..60 otherwise.
int PulseLengthCount(int periodIndex);
// The list index showing MessImpDauer: MessImpDauer - 1, limited to the list.
int PulseIndex(int messImpDauer, int periodIndex);
// Entries after "none" in the meter channel list: one per channel, at most 4.
int MeterChannelCount(int kanalzahl);

// The dialog's choices, in list indexes and typed numbers.
struct Choices {
    int swRegel = 0;     // changeover rule list index 0..4
    int portSetting = 1; // LPT= value 1..7 (list index + 1)
    int delay = 0;       // delay factor as typed (the model keeps it x 4)
    int maxDelay = 0;
    int printHeaderInterval = 0; // print header interval
    int astroC1C2 = 0;           // type 236
    int germanDisplay = 1;       // type 517, Evu 0: 1 German, 0 French
    int meterChannel = 0;        // type 517, Evu 1: 0 none, 1..4
    int periodIndex = 0;
    int pulseIndex = 0;  // MessImpDauer - 1
    int meterState = 0;  // MessZustand
    int meterTiming = 0; // MessZeitpunkt
};

Choices FromModel(const Model &model);
// OK: stores the choices in the model (steps 1 and 2 of the dialog's OK); the long transfer
// delay factor becomes 20 once the device properties were confirmed.
void Apply(Model &model, const Choices &choices);
// True when the choices change the program (what its file and the device hold); the port,
// the delays and the print header are settings of this PC.
bool ChangesProgram(const Model &model, const Choices &choices);

} // namespace devicesettings
} // namespace zx
