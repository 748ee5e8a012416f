#include "transfer/MasterCard.h"

#include "model/Model.h"
#include "platform/Clock.h"
#include "support/ScriptedPrompter.h"

#include <gtest/gtest.h>

namespace zx::test {
namespace {

class MasterCardTest : public ::testing::Test {
  protected:
    MasterCardTest()
    {
        model.device.Uhrentyp = TypeAnnual;
        model.device.DeviceCode = 72;
        model.device.Kanalzahl = 4;
        model.device.SwRegel = 1;
        model.options = {};
        model.options.EuroDate = 1;
        model.options.GermanDisplay = 1;
        model.options.RadioSync = 0;
        model.options.NakOff = 0;
        model.options.KeyPermanent = 0;
    }
    const std::array<int, 8> &header() const { return model.program().HeaderBytes; }

    Model model;
    ScriptedPrompter prompter;
    FixedClock clock{QDateTime(QDate(2024, 3, 17), QTime(13, 45, 10))};
};

TEST_F(MasterCardTest, HeaderCarriesCodeChannelsRuleOptionsAndTheMoment)
{
    UpdateOptionsImage(model, prompter, clock);
    const int t = 13 * 60 + 45; // 825
    EXPECT_EQ(header(),
              (std::array<int, 8>{0, 72, 3 + 16, 1 + 2 + 4, t >> 4, (t % 16) * 16 + 3, 17, 2024 - 1872}));
    EXPECT_TRUE(prompter.shown.empty());
}

TEST_F(MasterCardTest, EachOptionSetsItsBitAndMarksModified)
{
    SetDeviceOption(model, prompter, clock, DeviceOption::RadioSync, true);
    EXPECT_EQ(model.Modified, 1);
    EXPECT_EQ(header()[3], 1 + 2 + 4 + 8);
    SetDeviceOption(model, prompter, clock, DeviceOption::NakOff, true);
    EXPECT_EQ(header()[3], 1 + 2 + 4 + 8 + 16);
    SetDeviceOption(model, prompter, clock, DeviceOption::KeyPermanent, true);
    EXPECT_EQ(header()[3], 1 + 2 + 4 + 8 + 16 + 32);
    SetDeviceOption(model, prompter, clock, DeviceOption::EuroDate, false);
    SetDeviceOption(model, prompter, clock, DeviceOption::GermanDisplay, false);
    EXPECT_EQ(header()[3], 1 + 8 + 16 + 32);
    EXPECT_EQ(OptionValue(model, DeviceOption::GermanDisplay), 0);
    EXPECT_EQ(OptionValue(model, DeviceOption::KeyPermanent), 1);
}

TEST_F(MasterCardTest, MasterCardWithoutOptionBitsLeavesByteThreeWithoutBitSeven)
{
    SetDeviceOption(model, prompter, clock, DeviceOption::MasterCard, true);
    EXPECT_EQ(model.device.DeviceCode, 72 | 0x80);
    EXPECT_EQ(header()[1], 200);
    EXPECT_EQ(header()[3] & 0x80, 0);

    SetMasterCardOptions(model, prompter, clock, 0x10);
    EXPECT_EQ(model.device.MasterCardOptions, 0x10);
    EXPECT_EQ(header()[3] & 0x80, 0x80);
    EXPECT_EQ(OptionValue(model, DeviceOption::MasterCard), 1);
}

TEST_F(MasterCardTest, ProgcardKeepsTheLowSevenBitsOfTheDeviceCode)
{
    model.program().Records[0] = ProgramRecord{96, 0, 0, 0, 0, 0}; // a priority time with a special date form
    model.program().UsedCount = 1;
    model.recount(SetProgram);
    SetDeviceOption(model, prompter, clock, DeviceOption::MasterCard, true);
    EXPECT_EQ(model.device.DeviceCode, 73 | 0x80);
    SetDeviceOption(model, prompter, clock, DeviceOption::MasterCard, false);
    EXPECT_EQ(model.device.DeviceCode, 73);
    EXPECT_EQ(header()[1], 73);
}

TEST_F(MasterCardTest, OptionBitsWithoutMasterCardDoNotSetBitSeven)
{
    SetMasterCardOptions(model, prompter, clock, 0xFF);
    EXPECT_EQ(header()[3] & 0x80, 0);
}

TEST_F(MasterCardTest, AstroDeviceHasNoLanguageBit)
{
    model.device.Uhrentyp = TypeAstro;
    model.device.DeviceCode = 80;
    SetDeviceOption(model, prompter, clock, DeviceOption::GermanDisplay, true);
    const int withGerman = header()[3];
    SetDeviceOption(model, prompter, clock, DeviceOption::GermanDisplay, false);
    EXPECT_EQ(header()[3], withGerman);
    EXPECT_EQ(header()[3], 5 + 2);
    EXPECT_EQ(header()[1], 80);
}

TEST_F(MasterCardTest, OtherDeviceTypesKeepTheirHeader)
{
    model.device.Uhrentyp = 999;
    model.program().HeaderBytes = {9, 9, 9, 9, 9, 9, 9, 9};
    UpdateOptionsImage(model, prompter, clock);
    EXPECT_EQ(header(), (std::array<int, 8>{9, 9, 9, 9, 9, 9, 9, 9}));
}

TEST_F(MasterCardTest, ChangeoverTableAsksOnEveryClickUntilActivated)
{
    model.program().DstCount = 2;
    prompter.answers = {Answer::No, Answer::No, Answer::Yes};
    SetDeviceOption(model, prompter, clock, DeviceOption::RadioSync, true);
    SetDeviceOption(model, prompter, clock, DeviceOption::RadioSync, false);
    EXPECT_EQ(model.device.SwRegel, 1);
    SetMasterCardOptions(model, prompter, clock, 1);
    EXPECT_EQ(model.device.SwRegel, 4);
    EXPECT_EQ(header()[2], 3 + 16 * 4);
    SetDeviceOption(model, prompter, clock, DeviceOption::RadioSync, true);
    ASSERT_EQ(prompter.shown.size(), 3u);
    EXPECT_EQ(prompter.shown[0].message,
              QStringLiteral("There is a changeover table but not activated ! activate now ?"));
    EXPECT_EQ(prompter.shown[0].icon, Icon::Warning);
    EXPECT_EQ(prompter.shown[0].buttons, Buttons::YesNo);
}

} // namespace
} // namespace zx::test
