#include "bus/BusIdentity.h"

#include <gtest/gtest.h>

using namespace zx;

namespace {

QByteArray Bytes(std::initializer_list<int> values)
{
    QByteArray out;
    for (int v : values)
        out.append(char(v));
    return out;
}

} // namespace

// Each brand's time switch carries that brand's maker byte; a number outside 1..6 is brand 1.
TEST(BusIdentity, EveryBrandHasItsOwnMakerByte)
{
    const int makers[] = {0x4E, 0x4B, 0x4F, 0x50, 0x52, 0x54};
    for (int brand = 1; brand <= 6; ++brand)
        EXPECT_EQ(BusIdentityOf(brand).maker, makers[brand - 1]) << "brand " << brand;
    EXPECT_EQ(BusIdentityOf(0).maker, 0x4E);
    EXPECT_EQ(BusIdentityOf(7).maker, 0x4E);
}

TEST(BusIdentity, AcceptsTheKnownDeviceTypesOfTheBrandOnly)
{
    const BusIdentity &id = BusIdentityOf(6);
    for (int at0105 : {0x51, 0x52, 0x5A})
        for (int at0106 : {0x01, 0x04, 0x10})
            EXPECT_TRUE(id.matches(Bytes({0x54, at0105, at0106})));
    EXPECT_FALSE(id.matches(Bytes({0x4E, 0x51, 0x01})));      // another brand's device
    EXPECT_FALSE(id.matches(Bytes({0x54, 0x53, 0x01})));      // unknown type at 0x0105
    EXPECT_FALSE(id.matches(Bytes({0x54, 0x51, 0x02})));      // unknown type at 0x0106
    EXPECT_FALSE(id.matches(Bytes({0x54, 0x51})));            // answer too short
    EXPECT_TRUE(id.matches(Bytes({0x54, 0x51, 0x01, 0x77}))); // more bytes than asked for
}
