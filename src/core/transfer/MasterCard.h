#pragma once

#include "model/DeviceCodes.h"

#include <QDateTime>

#include <array>

namespace zx {

class Clock;
class Model;
class Prompter;

// The device options kept in the image header, and the master-card coding: a memory chip
// whose device code has bit 7 set is a master card, which carries eight option bits for the
// device in image byte 18.
enum class DeviceOption {
    RadioSync,     // time base: radio (1) or quartz (0)
    GermanDisplay, // display language: German (1) or French (0)
    EuroDate,      // date format: European (1) or US (0)
    NakOff,        // base current on NAK: switched off (1) or left on (0)
    KeyPermanent,  // permanent switching: by keyboard (1) or by switch (0)
    MasterCard,    // master card (1) or program card (0): bit 7 of DeviceCode
};

// The option's present value, 0 or 1.
int OptionValue(const Model &model, DeviceOption option);

// Sets an option, marks the program modified and rebuilds the header (UpdateOptionsImage).
void SetDeviceOption(Model &model, Prompter &prompter, const Clock &clock, DeviceOption option, bool on);

// Sets the eight option bits of a master card, marks the program modified and rebuilds the
// header.
void SetMasterCardOptions(Model &model, Prompter &prompter, const Clock &clock, int bits);

// Rebuilds header bytes 0..7 of set 0 from the model. With a changeover table that is not the
// active rule, asks first whether to activate it. Type 517: the device code becomes 72 or 73
// by the special priority rule, keeping the master-card bit. Other device types than 517 and
// 236 keep their header.
void UpdateOptionsImage(Model &model, Prompter &prompter, const Clock &clock);

} // namespace zx
