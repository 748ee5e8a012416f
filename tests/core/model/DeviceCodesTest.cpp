#include "model/DeviceCodes.h"

#include <gtest/gtest.h>

using namespace zx;

// Special priorities decide between 72 and 73; a master card stays one either way.
TEST(DeviceCodes, AnnualCodeKeepsTheMasterCardBit)
{
    EXPECT_EQ(AnnualDeviceCode(72, true), 73);
    EXPECT_EQ(AnnualDeviceCode(73, false), 72);
    EXPECT_EQ(AnnualDeviceCode(72 | MasterCardBit, true), 201);
    EXPECT_EQ(AnnualDeviceCode(201, false), 200);
    EXPECT_TRUE(IsMasterCard(200));
    EXPECT_FALSE(IsMasterCard(80));
    EXPECT_EQ(PlainDeviceCode(208), DeviceCodeAstro);
}
