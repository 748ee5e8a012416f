#include "app/DeviceSettings.h"

#include "model/Model.h"
#include "model/ProgramSnapshot.h"

#include <QtGlobal>

namespace zx::devicesettings {

Layout LayoutFor(const DeviceProperties &device)
{
    if (device.Uhrentyp == TypeAstro)
        return Layout::Astro;
    return device.Evu == 1 ? Layout::Meter : Layout::Language;
}

int PeriodIndex(int minutes)
{
    for (int i = 0; i < static_cast<int>(PeriodMinutes.size()); ++i) {
        if (PeriodMinutes[i] == minutes)
            return i;
    }
    return 0;
}

int PeriodAt(int index)
{
    return PeriodMinutes[qBound(0, index, static_cast<int>(PeriodMinutes.size()) - 1)];
}

int PulseLengthCount(int periodIndex)
{
    return PeriodAt(periodIndex) == 1 ? 59 : 60;
}

int PulseIndex(int messImpDauer, int periodIndex)
{
    return qBound(0, messImpDauer - 1, PulseLengthCount(periodIndex) - 1);
}

int MeterChannelCount(int kanalzahl)
{
    return qBound(0, kanalzahl, 4);
}

Choices FromModel(const Model &model)
{
    const DeviceProperties &d = model.device;
    Choices c;
    c.swRegel = qBound(0, d.SwRegel, ChangeoverRules - 1);
    c.portSetting = qBound(1, model.transfer.PortSetting, PortChoices);
    c.delay = model.transfer.Delay / 4;
    c.maxDelay = model.transfer.MaxDelay;
    c.printHeaderInterval = model.transfer.PrintHeaderInterval;
    c.astroC1C2 = model.astro.AstroC1C2 ? 1 : 0;
    c.germanDisplay = model.options.GermanDisplay ? 1 : 0;
    c.meterChannel = qBound(0, d.MessKanal, MeterChannelCount(d.Kanalzahl));
    c.periodIndex = PeriodIndex(d.MessPeriode);
    c.pulseIndex = PulseIndex(d.MessImpDauer, c.periodIndex);
    c.meterState = d.MessZustand ? 1 : 0;
    c.meterTiming = d.MessZeitpunkt ? 1 : 0;
    return c;
}

void Apply(Model &model, const Choices &c)
{
    DeviceProperties &d = model.device;
    switch (LayoutFor(d)) {
    case Layout::Astro:
        model.astro.AstroC1C2 = c.astroC1C2 ? 1 : 0;
        break;
    case Layout::Meter:
        d.MessKanal = qBound(0, c.meterChannel, MeterChannelCount(d.Kanalzahl));
        if (d.MessKanal == 0) {
            d.clearMeterPulse();
        } else {
            d.MessPeriode = PeriodAt(c.periodIndex);
            d.MessImpDauer = qBound(0, c.pulseIndex, PulseLengthCount(c.periodIndex) - 1) + 1;
            d.MessZustand = c.meterState ? 1 : 0;
            d.MessZeitpunkt = c.meterTiming ? 1 : 0;
        }
        break;
    case Layout::Language:
        model.options.GermanDisplay = c.germanDisplay ? 1 : 0;
        break;
    }
    model.transfer.Delay = c.delay * 4;
    model.transfer.MaxDelay = c.maxDelay;
    model.transfer.PortSetting = qBound(1, c.portSetting, PortChoices);
    d.SwRegel = qBound(0, c.swRegel, ChangeoverRules - 1);
    model.transfer.PrintHeaderInterval = c.printHeaderInterval;
    model.transfer.LongDelayFactor = 20;
}

bool ChangesProgram(const Model &model, const Choices &choices)
{
    Model applied = model;
    Apply(applied, choices);
    return !(ProgramSnapshot::take(applied) == ProgramSnapshot::take(model));
}

} // namespace zx::devicesettings
