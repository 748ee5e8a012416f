// zentrix-cli simulate prints what the simulation core computes for a program file.
#include "model/Calendar.h"
#include "model/Model.h"
#include "model/ProgramFile.h"
#include "output/YearSimulation.h"
#include "support/CliRunner.h"
#include "support/ScriptedPrompter.h"

#include <QProcess>

#include <gtest/gtest.h>

using namespace zx;

namespace {

struct CliRun {
    int exitCode = -1;
    QStringList lines;
};

CliRun simulate(const QStringList &args)
{
    const test::CliRun run = test::RunCli(QStringList{QStringLiteral("simulate")} + args);
    return {run.exitCode, QString::fromUtf8(run.out).split(QLatin1Char('\n'), Qt::SkipEmptyParts)};
}

struct Fixture {
    const char *file;
    int type;
};

class SimulateCommandTest : public ::testing::TestWithParam<Fixture> {
  protected:
    QString path() const { return QStringLiteral(ZX_TEST_DATA "/") + QLatin1String(GetParam().file); }
    Model load() const
    {
        Model m;
        m.device.Uhrentyp = GetParam().type;
        m.device.RecordCapacity = GetParam().type == TypeAstro ? CapacityAstro : CapacityAnnual;
        m.device.DeviceCode = GetParam().type == TypeAstro ? 80 : 72;
        test::ScriptedPrompter prompter;
        EXPECT_EQ(LoadProgram(m, prompter, path(), false, SetProgram), LoadResult::Loaded);
        return m;
    }
};

TEST_P(SimulateCommandTest, DayPlanAndSegmentsAreTheCoresOwn)
{
    const Model m = load();
    const YearSimulation sim(m);
    for (int year : {2030, 2032}) {
        const CliRun run = simulate({path(), QStringLiteral("--year"), QString::number(year)});
        ASSERT_EQ(run.exitCode, 0);
        const DayPlan plan = sim.dayPlan(year);
        ASSERT_EQ(run.lines.size(), plan.days);
        for (int d = 1; d <= plan.days; ++d) {
            QStringList expected{QString::number(d)};
            for (int c = 1; c <= plan.channels; ++c)
                expected << QString::number(plan.code(d, c));
            ASSERT_EQ(run.lines[d - 1], expected.join(QLatin1Char(' '))) << "day " << d;
        }
    }
    for (const char *date : {"2030-01-01", "2030-04-21", "2032-12-31"}) {
        const QDate q = QDate::fromString(QLatin1String(date), Qt::ISODate);
        const CliRun run = simulate({path(), QStringLiteral("--channel"), QStringLiteral("1"),
                                     QStringLiteral("--date"), QLatin1String(date)});
        ASSERT_EQ(run.exitCode, 0) << date;
        const DayPlan plan = sim.dayPlan(q.year());
        QStringList expected;
        int total = 0;
        for (const DaySegment &s : sim.daySegments(plan, 1, DayOfYear(q.day(), q.month(), q.year()))) {
            expected << QStringLiteral("%1 %2").arg(s.state).arg(s.minutes);
            total += s.minutes;
        }
        EXPECT_EQ(run.lines, expected) << date;
        EXPECT_EQ(total, 1440);
    }
}

INSTANTIATE_TEST_SUITE_P(Fixtures, SimulateCommandTest,
                         ::testing::Values(Fixture{"full517.zxp", TypeAnnual},
                                           Fixture{"full236.zxp", TypeAstro}));

TEST(SimulateCommand, RefusesBadUsageAndMissingFiles)
{
    const QString file = QStringLiteral(ZX_TEST_DATA "/full517.zxp");
    EXPECT_EQ(simulate({file}).exitCode, 2);
    EXPECT_EQ(simulate({file, QStringLiteral("--year"), QStringLiteral("20x0")}).exitCode, 2);
    EXPECT_EQ(simulate({file, QStringLiteral("--channel"), QStringLiteral("9"), QStringLiteral("--date"),
                        QStringLiteral("2030-01-01")})
                  .exitCode,
              2);
    EXPECT_EQ(simulate({file, QStringLiteral("--channel"), QStringLiteral("1"), QStringLiteral("--date"),
                        QStringLiteral("2030-02-30")})
                  .exitCode,
              2);
    EXPECT_EQ(simulate({QStringLiteral("/nonexistent.zxp"), QStringLiteral("--year"), QStringLiteral("2030")})
                  .exitCode,
              1);
}

} // namespace
