#pragma once

namespace zx {

struct DeviceProperties;

// Which channels an entry dialog offers, as the device decides it. Both entry dialogs (switching
// and priority times) lay out their channel controls from it.
struct ChannelLayout {
    bool bus = false;         // one channel per entry (option buttons) instead of a channel mask
    int channels = 4;         // channel controls shown: 1..4 conventional, 4 or 8 on a bus device
    bool firstTicked = false; // a one-channel device starts with channel 1 chosen ...
    bool firstLocked = false; // ... and with the utility option it cannot be unchosen
    int meterChannel = 0;     // the meter pulse channel (1..4), which no entry may switch; 0 none
};

// The layout for the device. A conventional device with a channel count other than 1..3 has
// four channels, and its Kanalzahl is set to 4 accordingly.
ChannelLayout PrepareChannelLayout(DeviceProperties &device);

// The number of channels a bus device has: 4 with Kanalzahl 4, otherwise 8.
int BusChannelCount(int kanalzahl);

// The channels (as a mask, channel 1 = 1) that ticking `channel` (1-based) unticks: on the astro
// device channels 1 and 2 cannot be switched by one entry.
int ChannelsExcludedBy(const DeviceProperties &device, int channel);

// Whether switching times may be pulses: the astro device switches its outputs only.
bool OffersPulses(const DeviceProperties &device);

} // namespace zx
