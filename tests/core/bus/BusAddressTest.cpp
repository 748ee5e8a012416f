#include "bus/BusAddress.h"
#include "bus/ApplicationImage.h"
#include "bus/BusInterfaceChoice.h"

#include "support/ScriptedPrompter.h"
#include "support/TempDir.h"

#include <QFile>

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
    EXPECT_EQ(dir.read(QStringLiteral("appl.old")).count('\n'), ApplicationImage::SavedCount);
    const auto back = LoadApplicationImage(dir.file(QStringLiteral("appl.old")), &error);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->values, image.values); // 0x01F5..0x01FE included
    // What follows the saved values is not read.
    dir.write(QStringLiteral("longer"), dir.read(QStringLiteral("appl.old")) + "x\r\n");
    const auto longer = LoadApplicationImage(dir.file(QStringLiteral("longer")), &error);
    ASSERT_TRUE(longer) << qPrintable(error);
    EXPECT_EQ(longer->values, image.values);
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
    dir.write(QStringLiteral("word"), short240 + "x\r\n");
    dir.write(QStringLiteral("negative"), short240 + "-1\r\n");
    QString error;
    for (const char *name : {"short", "big", "text", "word", "negative", "missing"}) {
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

// The note of whose application "appl.old" holds: an address and one of two words, nothing
// else; anything damaged counts as no note at all.
TEST(SavedApplicationOwnerFile, ReadsOnlyAnAddressAndOneOfTwoWords)
{
    TempDir dir;
    QString error;
    ASSERT_TRUE(WriteSavedApplicationOwner(dir.path(), {0x1105, true}, &error));
    EXPECT_EQ(dir.read(QString::fromLatin1(ApplicationImage::OwnerFile)),
              QByteArray("1.1.5 programming\r\n"));
    const struct {
        const char *text;
        int address; // -1: no note
        bool programming;
    } cases[] = {{"1.1.5 programming\r\n", 0x1105, true},
                 {"15.12.255 own", 0xFCFF, false},
                 {" 1.1.5   own \n", 0x1105, false},
                 {"1.1.5 Own", -1, false},
                 {"1.1.5 programmings", -1, false},
                 {"1.1.5", -1, false},
                 {"1.1.5 own extra", -1, false},
                 {"1.1.0 own", -1, false},
                 {"", -1, false}};
    for (const auto &c : cases) {
        dir.write(QString::fromLatin1(ApplicationImage::OwnerFile), c.text);
        const auto owner = ReadSavedApplicationOwner(dir.path());
        ASSERT_EQ(owner.has_value(), c.address >= 0) << c.text;
        if (owner) {
            EXPECT_EQ(owner->address, c.address) << c.text;
            EXPECT_EQ(owner->holdsProgramming, c.programming) << c.text;
        }
    }
    ASSERT_TRUE(QFile::remove(dir.file(QString::fromLatin1(ApplicationImage::OwnerFile))));
    EXPECT_FALSE(ReadSavedApplicationOwner(dir.path()));
}

// The way to the bus is kept for the next opening of the dialog, each kind as itself; a file
// that is missing or names no known kind gives COM 1.
TEST(BusInterfaceChoiceFile, KeepsEachKindAndFallsBackToComOne)
{
    using Kind = BusInterfaceChoice::Kind;
    TempDir dir;
    for (const Kind kind : {Kind::Com1, Kind::Com2, Kind::Ip}) {
        const BusInterfaceChoice chosen{kind, QStringLiteral("knx.local:3700")};
        ASSERT_TRUE(chosen.save(dir.path()));
        const BusInterfaceChoice back = BusInterfaceChoice::Load(dir.path());
        EXPECT_EQ(back.kind, kind);
        EXPECT_EQ(back.host, chosen.host);
    }
    dir.write(QString::fromLatin1(BusInterfaceChoice::FileName), "INTERFACE=com3\r\nHOST= h \r\n");
    EXPECT_EQ(BusInterfaceChoice::Load(dir.path()).kind, Kind::Com1);
    EXPECT_EQ(BusInterfaceChoice::Load(dir.path()).host, QStringLiteral("h"));
    ASSERT_TRUE(QFile::remove(dir.file(QString::fromLatin1(BusInterfaceChoice::FileName))));
    EXPECT_EQ(BusInterfaceChoice::Load(dir.path()).kind, Kind::Com1);
}

} // namespace
} // namespace zx::test
