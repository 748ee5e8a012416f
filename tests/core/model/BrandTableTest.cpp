#include "model/BrandTable.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

using namespace zx;

struct CodeCase {
    const char *line;
    int brand;
};

class BrandCode : public ::testing::TestWithParam<CodeCase> {};

TEST_P(BrandCode, FirstThreeCharactersInOneOfThreeSpellings)
{
    EXPECT_EQ(BrandNumberFromCode(QString::fromUtf8(GetParam().line)), GetParam().brand);
}

INSTANTIATE_TEST_SUITE_P(Spellings, BrandCode,
                         ::testing::Values(CodeCase{"NRV", 1}, CodeCase{"Nrv", 1}, CodeCase{"nrv", 1},
                                           CodeCase{"Nrvxyz", 1}, CodeCase{"KLA", 2}, CodeCase{"Kla", 2},
                                           CodeCase{"ode", 3}, CodeCase{"Pax", 4}, CodeCase{"RUM", 5},
                                           CodeCase{"teo", 6}, CodeCase{"nRv", 0}, CodeCase{"NrV", 0},
                                           CodeCase{"NRv", 0}, CodeCase{"NR", 0}, CodeCase{"", 0},
                                           CodeCase{" NRV", 0}, CodeCase{"XYZ", 0}));

TEST(BrandFile, ReadsCodeFromFirstLineOnly)
{
    test::TempDir dir;
    dir.write("zentrix.sys", "Teo edition\r\nNRV\r\n");
    EXPECT_EQ(ReadBrandFile(dir.file("zentrix.sys")), 6);
    dir.write("zentrix.sys", "\r\nNRV\r\n");
    EXPECT_EQ(ReadBrandFile(dir.file("zentrix.sys")), 0);
}

TEST(BrandFile, MissingOrEmptyFileIsUnknown)
{
    test::TempDir dir;
    EXPECT_EQ(ReadBrandFile(dir.file("zentrix.sys")), 0);
    dir.write("zentrix.sys", "");
    EXPECT_EQ(ReadBrandFile(dir.file("zentrix.sys")), 0);
}

TEST(BrandFile, ByteOrderMarkIsNoPartOfTheCode)
{
    test::TempDir dir;
    dir.write("zentrix.sys", "\xEF\xBB\xBFKla\n");
    EXPECT_EQ(ReadBrandFile(dir.file("zentrix.sys")), 2);
}

TEST(BrandFile, ShippedFileIsBrandOne)
{
    EXPECT_EQ(ReadBrandFile(QStringLiteral(ZX_SOURCE_DATA "/zentrix.sys")), 1);
}

TEST(BrandTable, OffersOnlyTheFilledSlots)
{
    const Brand &one = BrandTable(1);
    EXPECT_EQ(one.slotName(Slot::S5), "ZX 104 B");
    EXPECT_EQ(one.slotName(Slot::S19), "ZX 401");
    EXPECT_FALSE(one.offers(Slot::S3));
    // Slots are numbered 1..19; a number outside is offered by no brand.
    EXPECT_TRUE(one.offers(1));
    EXPECT_FALSE(one.offers(0));
    EXPECT_FALSE(one.offers(SlotCount + 1));
    EXPECT_EQ(one.slotName(SlotCount + 1), SlotNotOffered());
    EXPECT_EQ(one.slotName(Slot::S6), QString::fromUtf8("entfällt"));
    EXPECT_EQ(one.shortDeviceName, "ZX104");

    int offered[BrandCount + 1] = {};
    for (int b = 1; b <= BrandCount; ++b)
        for (int s = 1; s <= SlotCount; ++s)
            offered[b] += BrandTable(b).offers(s) ? 1 : 0;
    EXPECT_EQ(offered[1], 14);
    EXPECT_EQ(offered[2], 2);
    EXPECT_EQ(offered[3], 2);
    EXPECT_EQ(offered[4], 1);
    EXPECT_EQ(offered[5], 1);
    EXPECT_EQ(offered[6], 1);
    EXPECT_EQ(BrandTable(3).slotName(Slot::S14), "ZX 601 B");
    EXPECT_EQ(BrandTable(6).shortDeviceName, "ZX 901 K");
}

TEST(BrandTable, EveryBrandHasItsOwnLook)
{
    for (int b = 1; b <= BrandCount; ++b) {
        const Brand &brand = BrandTable(b);
        EXPECT_EQ(brand.number, b);
        EXPECT_GE(brand.companyLines.size(), 3);
        EXPECT_TRUE(brand.primaryColour.startsWith('#'));
        EXPECT_NE(brand.primaryColour, brand.secondaryColour);
        EXPECT_TRUE(brand.startPicture.startsWith(":/"));
        for (int other = 1; other < b; ++other)
            EXPECT_NE(BrandTable(other).primaryColour, brand.primaryColour);
    }
}

TEST(SlotProperties, AstroAndBusSlots)
{
    const SlotProperties &astro = SlotPropertiesOf(Slot::S19);
    EXPECT_EQ(astro.uhrentyp, 236);
    EXPECT_EQ(astro.recordCapacity, 120);
    EXPECT_EQ(astro.deviceCode, 80);
    EXPECT_EQ(astro.channels, 2);
    EXPECT_EQ(SlotPropertiesOf(Slot::S5).busprog, -1);
    EXPECT_EQ(SlotPropertiesOf(Slot::S14).busprog, -1);
    EXPECT_EQ(SlotPropertiesOf(Slot::S14).bewft, 1);
    EXPECT_EQ(SlotPropertiesOf(Slot::S17).evu, 1);
    EXPECT_EQ(SlotPropertiesOf(Slot::S17).channels, 3);
    EXPECT_EQ(SlotPropertiesOf(Slot::S12).deviceCode, 73);
    // a slot number outside the table reads as no slot
    for (const int outside : {0, -1, SlotCount + 1})
        EXPECT_EQ(&SlotPropertiesOf(outside), &SlotPropertiesOf(0)) << outside;
}
