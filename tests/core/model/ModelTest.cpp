#include "model/Model.h"

#include <gtest/gtest.h>

using namespace zx;

// A new start empties the program and header bytes 3..6 and takes the default location and
// options; the other header bytes stay as they were.
TEST(Model, StartingAfreshClearsTheProgramAndItsHeader)
{
    Model model;
    ProgramSet &p = model.program();
    p.HeaderBytes.fill(0x55);
    p.SzCount = p.PzCount = p.UsedCount = p.DstCount = 3;
    p.ProgramNumber = 1234;
    model.device.WriteProtect = 1;
    model.astro.TimeZone = 120;
    model.astro.Longitude = 8.5f;
    model.options.NakOff = 0;
    model.options.RadioSync = 1;

    model.resetForStart();
    EXPECT_EQ(p.HeaderBytes, (std::array<int, 8>{0x55, 0x55, 0x55, 0, 0, 0, 0, 0x55}));
    EXPECT_EQ(p.SzCount + p.PzCount + p.UsedCount + p.DstCount, 0);
    EXPECT_EQ(p.ProgramNumber, NoProgramNumber);
    EXPECT_EQ(model.device.WriteProtect, 0);
    EXPECT_EQ(model.astro.TimeZone, 60);
    EXPECT_EQ(model.astro.Longitude, 0);
    EXPECT_EQ(model.options.NakOff, 1);
    EXPECT_EQ(model.options.RadioSync, 0);
}
