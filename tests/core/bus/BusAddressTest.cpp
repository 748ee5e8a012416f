#include "bus/BusAddress.h"
#include "bus/ApplicationImage.h"

#include "support/ScriptedPrompter.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace zx::test {
namespace {

TEST(PhysicalAddress, PacksValidTextsAndRefusesTheRest)
{
    EXPECT_EQ(ParsePhysicalAddress(QStringLiteral("1.1.5")), 0x1105);
    EXPECT_EQ(ParsePhysicalAddress(QStringLiteral("15.12.255")), 0xFCFF);
    EXPECT_EQ(ParsePhysicalAddress(QStringLiteral(" 0. 0.1")), 0x0001);
    for (const char *bad : {"1.13.5", "1.1.0", "16.1.1", "1.1.256", "1.1", "1.1.5.1", "1.a.5", "", "-1.1.5"})
        EXPECT_FALSE(ParsePhysicalAddress(QString::fromLatin1(bad))) << bad;
    EXPECT_EQ(PhysicalAddressText(0xFCFF), QStringLiteral("15.12.255"));
}

TEST(GroupAddress, PacksOrRefusesWithTheSameMessageInEveryLanguage)
{
    ScriptedPrompter prompter;
    EXPECT_EQ(CheckGroupAddress(QStringLiteral("3/100"), prompter), 6244);
    EXPECT_EQ(CheckGroupAddress(QStringLiteral("31/2047"), prompter), 65535);
    EXPECT_TRUE(prompter.shown.empty());
    for (const char *bad : {"32/1", "3", "/3", "3/2048", "3/x"})
        EXPECT_EQ(CheckGroupAddress(QString::fromLatin1(bad), prompter), 0) << bad;
    EXPECT_EQ(prompter.shown.size(), 5u);
    EXPECT_EQ(prompter.last(), QStringLiteral("keine g\u00fcltige Gruppenadresse"));
}

struct FieldCase {
    BusField field;
    const char *typed;
    const char *shown;
    bool beep;
};

class SearchFields : public ::testing::TestWithParam<FieldCase> {};

TEST_P(SearchFields, KeepTheirLimits)
{
    const BusFieldCheck check = CheckBusField(GetParam().field, QString::fromLatin1(GetParam().typed));
    EXPECT_EQ(check.text, QString::fromLatin1(GetParam().shown));
    EXPECT_EQ(check.beep, GetParam().beep);
}

INSTANTIATE_TEST_SUITE_P(Limits, SearchFields,
                         ::testing::Values(FieldCase{BusField::Area, "16", "0", true},
                                           FieldCase{BusField::Line, "15", "15", false},
                                           FieldCase{BusField::FromDevice, "256", "0", true},
                                           FieldCase{BusField::ToDevice, "300", "255", true},
                                           FieldCase{BusField::ToDevice, "99999999999", "255", true},
                                           FieldCase{BusField::FromDevice, "007", "7", false},
                                           FieldCase{BusField::Area, " 3 ", "3", false},
                                           FieldCase{BusField::Area, "", "", false}));

TEST(ApplicationImageFile, SavedValuesLoadBackCompletely)
{
    TempDir dir;
    ApplicationImage image;
    for (int a = ApplicationImage::First; a <= ApplicationImage::Last; ++a)
        image.set(a, std::uint8_t(a));
    QString error;
    ASSERT_TRUE(SaveApplicationImage(dir.file(QStringLiteral("appl.old")), image, &error));
    const auto back = LoadApplicationImage(dir.file(QStringLiteral("appl.old")), &error);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->values, image.values); // 0x01F5..0x01FE included
}

TEST(ApplicationImageFile, RefusesWhatIsNoImage)
{
    TempDir dir;
    QByteArray short240;
    for (int i = 0; i < 240; ++i)
        short240 += "1\r\n";
    dir.write(QStringLiteral("short"), short240);
    dir.write(QStringLiteral("big"), short240 + "256\r\n");
    dir.write(QStringLiteral("text"), "12\r\nabc\r\n");
    QString error;
    for (const char *name : {"short", "big", "text", "missing"}) {
        EXPECT_FALSE(LoadApplicationImage(dir.file(QString::fromLatin1(name)), &error)) << name;
        EXPECT_FALSE(error.isEmpty());
    }
    EXPECT_FALSE(LoadApplicationImage(dir.path(), &error)); // a directory
    dir.write(QStringLiteral("exact"), short240 + "255\r\n");
    const auto image = LoadApplicationImage(dir.file(QStringLiteral("exact")), &error);
    ASSERT_TRUE(image);
    EXPECT_EQ(image->at(0x01F4), 255);
    EXPECT_EQ(image->at(0x01FE), 0);
}

} // namespace
} // namespace zx::test
