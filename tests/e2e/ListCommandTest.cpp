// zentrix-cli list prints the grid texts of a program file.
#include "model/Model.h"
#include "model/ProgramFile.h"
#include "platform/Clock.h"
#include "support/CliRunner.h"
#include "support/ScriptedPrompter.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

using namespace zx;
using zx::test::CliTextRun;
using zx::test::RunCliText;

namespace {

ProgramRecord weekly(int m, int days, int channels, int on)
{
    return ProgramRecord{static_cast<std::uint8_t>(128 + (m >> 4)),
                         static_cast<std::uint8_t>((m % 16) << 4),
                         0,
                         static_cast<std::uint8_t>(days),
                         static_cast<std::uint8_t>(channels),
                         static_cast<std::uint8_t>(on)};
}

class ListCommandTest : public ::testing::Test {
  protected:
    test::TempDir dir;
    test::ScriptedPrompter prompter;
    FixedClock clock{QDateTime(QDate(2026, 3, 5), QTime(14, 7))};
    QString file;

    void SetUp() override
    {
        Model m;
        m.device.Kanalzahl = 4;
        m.appendRecord(SetProgram, weekly(390, 1 + 4 + 16, 1 + 4, 1));
        m.appendRecord(SetProgram, weekly(725, 127, 2, 0));
        // Priority 3 from 24 December to 6 January, channel 1.
        m.appendRecord(SetProgram, ProgramRecord{121, 131, 0, 6, 1, 16});
        file = dir.file(QStringLiteral("plan.zxp"));
        m.program().FileName = file;
        ASSERT_TRUE(SaveProgram(m, prompter, clock));
    }
};

} // namespace

TEST_F(ListCommandTest, SwitchingListInEnglish)
{
    const CliTextRun r =
        RunCliText({QStringLiteral("list"), file, QStringLiteral("--view"), QStringLiteral("switching")});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QStringList lines = r.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 3);
    EXPECT_EQ(lines[0], QStringLiteral("nr.\tdate/days\ttime\tchannels\tpuls\t1x\tstate\tprio."));
    EXPECT_EQ(lines[1], QStringLiteral("1\tmo we fr\t  6:30 hrs\t C1 C3\t\t \tON\t0"));
    EXPECT_EQ(lines[2], QStringLiteral("2\tdaily\t12:05 hrs\t C2\t\t \tOFF\t0"));
}

TEST_F(ListCommandTest, PriorityListInGerman)
{
    const CliTextRun r =
        RunCliText({QStringLiteral("list"), file, QStringLiteral("--view"), QStringLiteral("priority"),
                    QStringLiteral("--lang"), QStringLiteral("de")});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QStringList lines = r.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 2);
    const QStringList cells = lines[1].split(QLatin1Char('\t'));
    ASSERT_EQ(cells.size(), 7);
    EXPECT_EQ(cells[1], QStringLiteral("24. Dezember  00:00 Uhr"));
    EXPECT_EQ(cells[2], QStringLiteral("6. Januar 24:00 Uhr"));
    EXPECT_EQ(cells[6], QStringLiteral("3"));
}

TEST_F(ListCommandTest, TemplateSetAndEmptyChangeoverTable)
{
    const CliTextRun r =
        RunCliText({QStringLiteral("list"), file, QStringLiteral("--view"), QStringLiteral("changeover"),
                    QStringLiteral("--set"), QStringLiteral("1")});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, QStringLiteral("nr.\tYear\tpreset at:\tat:\treset at:\tat:\n"));
}

TEST_F(ListCommandTest, WrongTypeMissingFileAndBadUsage)
{
    CliTextRun r = RunCliText({QStringLiteral("list"), file, QStringLiteral("--view"),
                               QStringLiteral("switching"), QStringLiteral("--type"), QStringLiteral("236")});
    EXPECT_EQ(r.exitCode, 1);
    r = RunCliText({QStringLiteral("list"), dir.file(QStringLiteral("none.zxp")), QStringLiteral("--view"),
                    QStringLiteral("switching")});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.contains(QStringLiteral("No such file !")));
    r = RunCliText({QStringLiteral("list"), file}); // the switching list, as the main window opens
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out, RunCliText({QStringLiteral("list"), file, QStringLiteral("--view"),
                                 QStringLiteral("switching")})
                         .out);
    r = RunCliText({QStringLiteral("list"), file, QStringLiteral("--view"), QStringLiteral("graph")});
    EXPECT_EQ(r.exitCode, 2);
}
