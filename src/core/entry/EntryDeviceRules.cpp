#include "entry/EntryDeviceRules.h"

#include "model/Model.h"

namespace zx {

int BusChannelCount(int kanalzahl)
{
    return kanalzahl == 4 ? 4 : 8;
}

ChannelLayout PrepareChannelLayout(DeviceProperties &device)
{
    ChannelLayout layout;
    layout.bus = device.BusDevice != 0;
    if (layout.bus) {
        layout.channels = BusChannelCount(device.Kanalzahl);
        return layout;
    }
    layout.channels = device.Kanalzahl >= 1 && device.Kanalzahl <= 3 ? device.Kanalzahl : 4;
    device.Kanalzahl = layout.channels;
    layout.firstTicked = layout.channels == 1;
    // Without the utility option every channel stays free, even the only one of a one-channel
    // device.
    if (device.Evu == 0)
        return layout;
    layout.firstLocked = layout.firstTicked;
    // The meter pulse channel counts its own pulses: an entry that switched it would spoil
    // the count.
    if (device.MessKanal >= 1 && device.MessKanal <= 4 && device.MessKanal <= layout.channels)
        layout.meterChannel = device.MessKanal;
    return layout;
}

int ChannelsExcludedBy(const DeviceProperties &device, int channel)
{
    if (device.Uhrentyp != TypeAstro)
        return 0;
    if (channel == 1)
        return 2;
    if (channel == 2)
        return 1;
    return 0;
}

bool OffersPulses(const DeviceProperties &device)
{
    return device.Uhrentyp != TypeAstro;
}

} // namespace zx
