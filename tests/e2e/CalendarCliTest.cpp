// zentrix-cli easter, summertime and holidays against computations that share no code with them.
#include "support/CliRunner.h"

#include <QDate>
#include <QProcess>
#include <QStringList>

#include <gtest/gtest.h>

namespace {

struct CliRun {
    int status = -1;
    QStringList lines;
};

CliRun cli(const QStringList &args)
{
    const zx::test::CliRun run = zx::test::RunCli(args);
    return {run.exitCode, QString::fromUtf8(run.out).split(QLatin1Char('\n'), Qt::SkipEmptyParts)};
}

QDate lastSunday(int year, int month, int lastDay)
{
    QDate d(year, month, lastDay);
    return d.addDays(-(d.dayOfWeek() % 7));
}

TEST(CalendarCli, EasterAndRuleDatesOverEveryYear)
{
    QStringList years;
    for (int y = 1993; y <= 2099; ++y)
        years << QString::number(y);
    const CliRun easter = cli(QStringList{QStringLiteral("easter")} + years);
    ASSERT_EQ(easter.status, 0);
    ASSERT_EQ(easter.lines.size(), years.size());
    for (int y = 1993; y <= 2099; ++y) {
        // Anonymous Gregorian algorithm.
        const int a = y % 19, b = y / 100, c = y % 100, d = b / 4, e = b % 4, f = (b + 8) / 25,
                  g = (b - f + 1) / 3, h = (19 * a + b - d - g + 15) % 30, i = c / 4, k = c % 4,
                  l = (32 + 2 * e + 2 * i - h - k) % 7, m = (a + 11 * h + 22 * l) / 451;
        const QDate sunday(y, (h + l - 7 * m + 114) / 31, (h + l - 7 * m + 114) % 31 + 1);
        ASSERT_EQ(easter.lines[y - 1993], sunday.toString(Qt::ISODate));

        const struct {
            int rule;
            QDate advance, setBack;
        } rules[] = {{1, lastSunday(y, 3, 31), lastSunday(y, 10, 31)},
                     {2, lastSunday(y, 3, 31), lastSunday(y, 10, 28)},
                     {3, lastSunday(y, 4, 14), lastSunday(y, 10, 31)}};
        if (y % 10 != 0 && y != 1993 && y != 2099)
            continue; // every rule each decade keeps the run short
        for (const auto &r : rules) {
            const CliRun s = cli({QStringLiteral("summertime"), QStringLiteral("--rule"),
                                  QString::number(r.rule), QStringLiteral("--year"), QString::number(y)});
            ASSERT_EQ(s.status, 0);
            EXPECT_EQ(s.lines, (QStringList{QStringLiteral("advance ") + r.advance.toString(Qt::ISODate),
                                            QStringLiteral("set-back ") + r.setBack.toString(Qt::ISODate)}))
                << y << " rule " << r.rule;
        }
    }
}

TEST(CalendarCli, DaysListAndUsageErrors)
{
    const CliRun days = cli({QStringLiteral("summertime"), QStringLiteral("--rule"), QStringLiteral("1"),
                             QStringLiteral("--year"), QStringLiteral("2026"), QStringLiteral("--days")});
    ASSERT_EQ(days.lines.size(), 365);
    EXPECT_EQ(days.lines[86], QStringLiteral("2026-03-28\t0"));
    EXPECT_EQ(days.lines[87], QStringLiteral("2026-03-29\t1"));
    EXPECT_EQ(days.lines[297], QStringLiteral("2026-10-25\t1"));
    EXPECT_EQ(days.lines[298], QStringLiteral("2026-10-26\t0"));
    EXPECT_EQ(cli({QStringLiteral("summertime"), QStringLiteral("--rule"), QStringLiteral("0"),
                   QStringLiteral("--year"), QStringLiteral("2026")})
                  .lines,
              QStringList{});
    EXPECT_EQ(cli({QStringLiteral("easter"), QStringLiteral("1899")}).status, 2);
    EXPECT_EQ(cli({QStringLiteral("summertime"), QStringLiteral("--rule"), QStringLiteral("1"),
                   QStringLiteral("--year"), QStringLiteral("2100")})
                  .status,
              2);
    EXPECT_EQ(cli({QStringLiteral("holidays"), QStringLiteral("--year"), QStringLiteral("1992")}).status, 2);
}

TEST(CalendarCli, HolidaysOfASetInDateOrder)
{
    const CliRun r =
        cli({QStringLiteral("holidays"), QStringLiteral("--year"), QStringLiteral("2030"),
             QStringLiteral("--lang"), QStringLiteral("fr"), QStringLiteral("--set"),
             QStringLiteral("France"), QStringLiteral("--workdir"), QStringLiteral(ZX_SOURCE_DATA)});
    ASSERT_EQ(r.status, 0);
    ASSERT_EQ(r.lines.size(), 11);
    EXPECT_EQ(r.lines[1], QString::fromUtf8("2030-04-22\tLundi de Pâques"));
    EXPECT_EQ(r.lines[10], QString::fromUtf8("2030-12-25\tNoël"));
}

} // namespace
