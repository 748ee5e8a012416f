#include "entry/EntryDeviceRules.h"

#include "calendar/Holidays.h"
#include "i18n/ExtraTexts.h"
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

int ChannelCountOf(const DeviceProperties &device)
{
    if (device.BusDevice)
        return BusChannelCount(device.Kanalzahl);
    return device.Kanalzahl >= 1 && device.Kanalzahl <= 3 ? device.Kanalzahl : 4;
}

bool OffersEasterForm(const DeviceProperties &device)
{
    return device.Bewft == 1;
}

bool OffersYears(const DeviceProperties &device)
{
    return device.Bewft == 1 && device.Uhrentyp != TypeAstro && !device.BusDevice;
}

namespace {

// The channel rules both kinds share: a bus entry names one channel, a conventional one a mask.
DeviceRule CheckChannels(int channelMask, int busChannel, const DeviceProperties &device)
{
    const int count = ChannelCountOf(device);
    if (device.BusDevice)
        return busChannel > count ? DeviceRule::ChannelAboveCount : DeviceRule::Ok;
    if ((channelMask & 0xFF) >> count)
        return DeviceRule::ChannelAboveCount;
    if (device.Uhrentyp == TypeAstro && (channelMask & 3) == 3)
        return DeviceRule::AstroChannelsTogether;
    return DeviceRule::Ok;
}

} // namespace

DeviceRule CheckSwitchingDeviceRules(const SwitchingEntryValues &e, const DeviceProperties &device)
{
    const DeviceRule channels = CheckChannels(e.channelMask, e.busChannel, device);
    if (channels != DeviceRule::Ok)
        return channels;
    if (e.pulse > 0 && !OffersPulses(device))
        return DeviceRule::PulseOnAstro;
    return DeviceRule::Ok;
}

DeviceRule CheckPriorityDeviceRules(const PriorityEntryValues &e, const DeviceProperties &device)
{
    const DeviceRule channels = CheckChannels(e.channelMask, e.busChannel, device);
    if (channels != DeviceRule::Ok)
        return channels;
    if (e.easter ? !OffersEasterForm(device) : (e.yearCode != 0 && !OffersYears(device)))
        return DeviceRule::NoVariableHolidays;
    return DeviceRule::Ok;
}

DeviceRule CheckFreeHolidayYears(int years)
{
    const bool even = years % 2 == 0;
    return even && years >= MinFreeHolidayYears && years <= MaxFreeHolidayYears
               ? DeviceRule::Ok
               : DeviceRule::FreeHolidayYears;
}

QString DeviceRuleMessage(const Model &model, DeviceRule rule)
{
    const Catalogue &c = model.catalogue;
    const int language = model.device.Sprache;
    switch (rule) {
    case DeviceRule::Ok:
        return {};
    case DeviceRule::AstroChannelsTogether:
        return extraText(ExtraText::AstroChannelsTogether, language);
    case DeviceRule::ChannelAboveCount:
        return c(Msg::NrOfChannels) + QStringLiteral(": 1 ") + c(Msg::UpTo) +
               QStringLiteral(" %1").arg(ChannelCountOf(model.device));
    case DeviceRule::PulseOnAstro:
        return extraText(ExtraText::AstroHasNoPulses, language);
    case DeviceRule::NoVariableHolidays:
        return c(Msg::TimerDoesntSupportVariableHolidays);
    case DeviceRule::FreeHolidayYears:
        return c(Msg::YearsForFreeHolidays) + QStringLiteral(": ") +
               extraText(ExtraText::EvenYearsRange, language)
                   .arg(MinFreeHolidayYears)
                   .arg(MaxFreeHolidayYears);
    case DeviceRule::BusFreeHolidayYears:
        return extraText(ExtraText::BusFreeHolidayYears, language);
    }
    return {};
}

std::vector<RuleBreak> RecordsBreakingDeviceRules(const Model &model)
{
    std::vector<RuleBreak> breaks;
    const ProgramSet &p = model.program();
    const int bus = model.device.BusDevice;
    for (int i = 0; i < p.UsedCount; ++i) {
        const ProgramRecord &r = p.Records[i];
        const int kind = RecordKind(r, bus);
        DeviceRule rule = DeviceRule::Ok;
        if (kind == Kind::PriorityConventional || kind == Kind::PriorityBus)
            rule = CheckPriorityDeviceRules(DecodePriorityTime(r, bus), model.device);
        else if (IsSwitchingTime(r, bus) && !IsAstroTime(r, bus))
            rule = CheckSwitchingDeviceRules(DecodeSwitchingTime(r, bus), model.device);
        if (rule != DeviceRule::Ok)
            breaks.push_back({i, rule});
    }
    return breaks;
}

} // namespace zx
