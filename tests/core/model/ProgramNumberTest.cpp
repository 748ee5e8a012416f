#include "model/ProgramNumber.h"
#include "model/Model.h"

#include <gtest/gtest.h>

using namespace zx;

TEST(ProgramNumberField, ZeroIsANumberAndEmptyIsNone)
{
    EXPECT_EQ(ProgramNumberFromText(QStringLiteral("0")), 0);
    EXPECT_EQ(ProgramNumberFromText(QStringLiteral("000000")), 0);
    EXPECT_EQ(ProgramNumberFromText(QString()), NoProgramNumber);
    EXPECT_EQ(ProgramNumberFromText(QStringLiteral("   ")), NoProgramNumber);
    EXPECT_EQ(ProgramNumberFromText(QStringLiteral(" 47 11")), 4711);
    // More digits than the device keeps never become a number beyond six digits.
    EXPECT_EQ(ProgramNumberFromText(QStringLiteral("12345678")), 123456);
}

TEST(ProgramNumberField, OnlyUtilityDevicesKeepOneAndOnlyChangesMarkModified)
{
    Model m;
    m.device.Evu = 0;
    EXPECT_FALSE(SetProgramNumberFromText(m, QStringLiteral("7")));
    EXPECT_FALSE(m.program().hasProgramNumber());

    m.device.Evu = 1;
    m.Modified = 0;
    EXPECT_TRUE(SetProgramNumberFromText(m, QStringLiteral("7")));
    EXPECT_EQ(m.program().ProgramNumber, 7);
    EXPECT_EQ(m.Modified, 1);

    m.Modified = 0;
    EXPECT_FALSE(SetProgramNumberFromText(m, QStringLiteral("000007")));
    EXPECT_EQ(m.Modified, 0);
    EXPECT_TRUE(SetProgramNumberFromText(m, QString()));
    EXPECT_FALSE(m.program().hasProgramNumber());
    EXPECT_EQ(m.Modified, 1);
}
