#include "app/DeviceSettings.h"
#include "model/Model.h"

#include <gtest/gtest.h>

using namespace zx;
using namespace zx::devicesettings;

TEST(DeviceSettings, LayoutFollowsTypeAndUtilityOption)
{
    DeviceProperties d;
    d.Uhrentyp = TypeAstro;
    d.Evu = 1;
    EXPECT_EQ(LayoutFor(d), Layout::Astro);
    d.Uhrentyp = TypeAnnual;
    EXPECT_EQ(LayoutFor(d), Layout::Meter);
    d.Evu = 0;
    EXPECT_EQ(LayoutFor(d), Layout::Language);
}

TEST(DeviceSettings, PeriodIndexAndMinutes)
{
    const int minutes[] = {1, 2, 3, 4, 5, 6, 10, 12, 15, 20, 30, 60};
    for (int i = 0; i < 12; ++i) {
        EXPECT_EQ(PeriodAt(i), minutes[i]);
        EXPECT_EQ(PeriodIndex(minutes[i]), i);
    }
    EXPECT_EQ(PeriodAt(8), 15);
    EXPECT_EQ(PeriodIndex(7), 0) << "a period the list does not hold shows the first entry";
}

TEST(DeviceSettings, PulseLengthListDependsOnThePeriod)
{
    EXPECT_EQ(PulseLengthCount(0), 59);
    for (int i = 1; i < 12; ++i)
        EXPECT_EQ(PulseLengthCount(i), 60);
    EXPECT_EQ(PulseIndex(1, 3), 0);
    EXPECT_EQ(PulseIndex(60, 3), 59);
    EXPECT_EQ(PulseIndex(60, 0), 58) << "60 shows as index 58 in the shorter list";
}

TEST(DeviceSettings, MeterChannelsUpToFour)
{
    EXPECT_EQ(MeterChannelCount(1), 1);
    EXPECT_EQ(MeterChannelCount(2), 2);
    EXPECT_EQ(MeterChannelCount(4), 4);
    EXPECT_EQ(MeterChannelCount(8), 4);
}

TEST(DeviceSettings, FromModelShowsTheModel)
{
    Model m;
    m.device.Evu = 1;
    m.device.Kanalzahl = 4;
    m.device.MessKanal = 2;
    m.device.MessPeriode = 15;
    m.device.MessImpDauer = 7;
    m.device.MessZustand = 1;
    m.device.SwRegel = 3;
    m.transfer.Delay = 12;
    m.transfer.PortSetting = 5;
    const Choices c = FromModel(m);
    EXPECT_EQ(c.meterChannel, 2);
    EXPECT_EQ(c.periodIndex, 8);
    EXPECT_EQ(c.pulseIndex, 6);
    EXPECT_EQ(c.meterState, 1);
    EXPECT_EQ(c.swRegel, 3);
    EXPECT_EQ(c.delay, 3) << "the delay is kept multiplied by 4";
    EXPECT_EQ(c.portSetting, 5);
}

// A value the dialog offers no choice for (a hand-edited file, an other device) is shown, and
// taken back, as the nearest choice at either end.
TEST(DeviceSettings, ValuesBeyondTheChoicesGoToTheNearestEnd)
{
    for (const int beyond : {-1, 1}) {
        Model m;
        m.device.SwRegel = beyond < 0 ? -1 : ChangeoverRules;
        m.transfer.PortSetting = beyond < 0 ? 0 : PortChoices + 1;
        m.device.Kanalzahl = 2;
        m.device.MessKanal = beyond < 0 ? -1 : 3;
        const Choices c = FromModel(m);
        EXPECT_EQ(c.swRegel, beyond < 0 ? 0 : ChangeoverRules - 1);
        EXPECT_EQ(c.portSetting, beyond < 0 ? 1 : PortChoices);
        EXPECT_EQ(c.meterChannel, beyond < 0 ? 0 : 2);
        Choices given = c;
        given.swRegel = m.device.SwRegel;
        given.portSetting = m.transfer.PortSetting;
        Apply(m, given);
        EXPECT_EQ(m.device.SwRegel, c.swRegel);
        EXPECT_EQ(m.transfer.PortSetting, c.portSetting);
    }
}

TEST(DeviceSettings, ApplyMeterPulse)
{
    Model m;
    m.device.Evu = 1;
    m.device.Kanalzahl = 2;
    Choices c = FromModel(m);
    c.meterChannel = 2;
    c.periodIndex = 8;
    c.pulseIndex = 4;
    c.meterState = 1;
    c.meterTiming = 1;
    c.delay = 5;
    c.maxDelay = 9;
    c.portSetting = 4;
    c.swRegel = 1;
    c.printHeaderInterval = 30;
    Apply(m, c);
    EXPECT_EQ(m.device.MessKanal, 2);
    EXPECT_EQ(m.device.MessPeriode, 15);
    EXPECT_EQ(m.device.MessImpDauer, 5);
    EXPECT_EQ(m.device.MessZustand, 1);
    EXPECT_EQ(m.device.MessZeitpunkt, 1);
    EXPECT_EQ(m.transfer.Delay, 20);
    EXPECT_EQ(m.transfer.MaxDelay, 9);
    EXPECT_EQ(m.transfer.PortSetting, 4);
    EXPECT_EQ(m.transfer.PrintHeaderInterval, 30);
    EXPECT_EQ(m.device.SwRegel, 1);
    EXPECT_EQ(m.transfer.LongDelayFactor, 20);
}

TEST(DeviceSettings, NoMeterChannelClearsTheMeterPulse)
{
    Model m;
    m.device.Evu = 1;
    m.device.Kanalzahl = 4;
    m.device.MessKanal = 3;
    m.device.MessPeriode = 30;
    m.device.MessImpDauer = 20;
    m.device.MessZustand = 1;
    Choices c = FromModel(m);
    c.meterChannel = 0;
    Apply(m, c);
    EXPECT_EQ(m.device.MessKanal, 0);
    EXPECT_EQ(m.device.MessPeriode, 1);
    EXPECT_EQ(m.device.MessImpDauer, 1);
    EXPECT_EQ(m.device.MessZustand, 0);
    EXPECT_EQ(m.device.MessZeitpunkt, 0);
}

TEST(DeviceSettings, PulseLengthOfOneMinutePeriodStopsAt59)
{
    Model m;
    m.device.Evu = 1;
    Choices c = FromModel(m);
    c.meterChannel = 1;
    c.periodIndex = 0;
    c.pulseIndex = 59;
    Apply(m, c);
    EXPECT_EQ(m.device.MessImpDauer, 59);
}

TEST(DeviceSettings, LanguageAndAstroOptionsByType)
{
    Model m;
    m.device.Evu = 0;
    Choices c = FromModel(m);
    c.germanDisplay = 0;
    c.astroC1C2 = 1;
    Apply(m, c);
    EXPECT_EQ(m.options.GermanDisplay, 0);
    EXPECT_EQ(m.astro.AstroC1C2, 0) << "only the astro device has the astro channel option";

    Model a;
    a.device.Uhrentyp = TypeAstro;
    Choices ca = FromModel(a);
    ca.astroC1C2 = 1;
    ca.germanDisplay = 0;
    Apply(a, ca);
    EXPECT_EQ(a.astro.AstroC1C2, 1);
    EXPECT_EQ(a.options.GermanDisplay, 1);
}
