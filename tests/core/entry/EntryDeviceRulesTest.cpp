#include "entry/EntryDeviceRules.h"

#include "model/Model.h"

#include <gtest/gtest.h>

using namespace zx;

namespace {

struct LayoutCase {
    int bus, kanalzahl, evu, messKanal, uhrentyp;
    int channels;
    bool firstTicked, firstLocked;
    int meterChannel;
    int kanalzahlAfter;
};

class ChannelLayouts : public ::testing::TestWithParam<LayoutCase> {};

} // namespace

TEST_P(ChannelLayouts, FollowTheDevice)
{
    const LayoutCase &c = GetParam();
    DeviceProperties d;
    d.BusDevice = c.bus;
    d.Kanalzahl = c.kanalzahl;
    d.Evu = c.evu;
    d.MessKanal = c.messKanal;
    d.Uhrentyp = c.uhrentyp;
    const ChannelLayout l = PrepareChannelLayout(d);
    EXPECT_EQ(l.bus, c.bus != 0);
    EXPECT_EQ(l.channels, c.channels);
    EXPECT_EQ(l.firstTicked, c.firstTicked);
    EXPECT_EQ(l.firstLocked, c.firstLocked);
    EXPECT_EQ(l.meterChannel, c.meterChannel);
    EXPECT_EQ(d.Kanalzahl, c.kanalzahlAfter);
}

INSTANTIATE_TEST_SUITE_P(
    Devices, ChannelLayouts,
    ::testing::Values(LayoutCase{0, 1, 0, 0, TypeAnnual, 1, true, false, 0, 1},
                      LayoutCase{0, 1, 1, 0, TypeAnnual, 1, true, true, 0, 1},
                      LayoutCase{0, 3, 1, 2, TypeAnnual, 3, false, false, 2, 3},
                      LayoutCase{0, 3, 1, 4, TypeAnnual, 3, false, false, 0, 3}, // beyond the channels
                      LayoutCase{0, 4, 0, 2, TypeAnnual, 4, false, false, 0, 4}, // no utility option
                      LayoutCase{0, 8, 0, 0, TypeAnnual, 4, false, false, 0, 4},
                      LayoutCase{0, 0, 0, 0, TypeAstro, 4, false, false, 0, 4},
                      LayoutCase{1, 4, 1, 1, TypeAnnual, 4, false, false, 0, 4},
                      LayoutCase{1, 8, 0, 0, TypeAnnual, 8, false, false, 0, 8},
                      LayoutCase{1, 2, 0, 0, TypeAnnual, 8, false, false, 0, 2}));

TEST(EntryDeviceRules, AstroDeviceKeepsChannelsOneAndTwoApartAndHasNoPulses)
{
    DeviceProperties astro;
    astro.Uhrentyp = TypeAstro;
    EXPECT_EQ(ChannelsExcludedBy(astro, 1), 2);
    EXPECT_EQ(ChannelsExcludedBy(astro, 2), 1);
    EXPECT_EQ(ChannelsExcludedBy(astro, 3), 0);
    EXPECT_FALSE(OffersPulses(astro));
    DeviceProperties annual;
    EXPECT_EQ(ChannelsExcludedBy(annual, 1), 0);
    EXPECT_TRUE(OffersPulses(annual));
}
