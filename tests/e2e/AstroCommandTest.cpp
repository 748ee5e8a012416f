// zentrix-cli astro prints the astro table the program would store.
#include "calendar/AstroSettings.h"
#include "calendar/Sun.h"
#include "support/CliRunner.h"
#include "support/TempDir.h"

#include <QFile>

#include <gtest/gtest.h>

using namespace zx;
using zx::test::CliTextRun;
using zx::test::RunCliText;

namespace {

CliTextRun astro(const QStringList &args)
{
    return RunCliText(QStringList{QStringLiteral("astro")} + args);
}

QString tableText(const AstroTableRows &t)
{
    QString text;
    for (int n = 0; n < AstroDays; ++n)
        text += QStringLiteral("%1\t%2\t%3\n").arg(n + 1).arg(t[n][0]).arg(t[n][1]);
    return text;
}

TEST(AstroCommandTest, TableByValueWithEastPositiveLongitude)
{
    const CliTextRun r =
        astro({"--latitude", "47.5", "--longitude", "7.5", "--timezone", "60", "--year", "2028"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, tableText(BuildAstroTable(-7.5, 47.5, 60, 2028)));
    const QStringList lines = r.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 366);
    // 21 June at latitude 48, 30 minutes earlier than at longitude 0, plus the zone's hour.
    const CliTextRun north =
        astro({"--latitude", "48", "--longitude", "7.5", "--timezone", "60", "--year", "2026"});
    EXPECT_TRUE(north.out.contains(QStringLiteral("\n172\t%1\t%2\n").arg(1203 + 30).arg(240 + 30)));
    const CliTextRun polar =
        astro({"--latitude", "-70", "--longitude", "0", "--timezone", "0", "--year", "2026"});
    EXPECT_TRUE(polar.out.contains(QStringLiteral("\n355\t1791\t1791\n"))); // 21 December
}

TEST(AstroCommandTest, PlaceFromTheLocationsFile)
{
    test::TempDir dir;
    dir.write("deutsch.ord", "2\r\nBasel,345,45,44\r\nBonn,346,39,44\r\n");
    const CliTextRun r =
        astro({"--place", "Basel", "--lang", "de", "--workdir", dir.path(), "--year", "2027"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, tableText(BuildAstroTable(-7.5, 47.5, 60, 2027)));

    EXPECT_EQ(astro({"--place", "Kiel", "--lang", "de", "--workdir", dir.path()}).exitCode, 1);
    EXPECT_EQ(astro({"--place", "Basel", "--workdir", dir.path()}).exitCode, 1); // english.ord is missing
    dir.write("deutsch.ord", "3\r\nBasel,345,45,44\r\n");
    const CliTextRun damaged = astro({"--place", "Basel", "--lang", "de", "--workdir", dir.path()});
    EXPECT_EQ(damaged.exitCode, 1);
    EXPECT_TRUE(damaged.err.contains(QStringLiteral("deutsch.ord")));
    EXPECT_TRUE(damaged.out.isEmpty());
}

class AstroUsageTest : public ::testing::TestWithParam<QStringList> {};

TEST_P(AstroUsageTest, IsAUsageError)
{
    const CliTextRun r = astro(GetParam());
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_TRUE(r.out.isEmpty());
    EXPECT_TRUE(r.err.startsWith(QStringLiteral("zentrix-cli: ")) ||
                r.err.startsWith(QStringLiteral("usage:")))
        << r.err.toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Arguments, AstroUsageTest,
    ::testing::Values(QStringList{}, QStringList{"--latitude", "48", "--longitude", "7"},
                      QStringList{"--latitude", "48.2", "--longitude", "7", "--timezone", "60"},
                      QStringList{"--latitude", "48", "--longitude", "7", "--timezone", "50"},
                      QStringList{"--latitude", "71", "--longitude", "7", "--timezone", "60"},
                      QStringList{"--latitude", "48", "--longitude", "180.5", "--timezone", "60"},
                      QStringList{"--latitude", "48", "--longitude", "7", "--timezone", "735"},
                      QStringList{"--latitude", "x", "--longitude", "7", "--timezone", "60"},
                      QStringList{"--latitude", "48", "--longitude", "7", "--timezone", "60", "--year", "0"},
                      QStringList{"--latitude", "48", "--longitude", "7", "--timezone", "60", "--place",
                                  "Bonn"},
                      QStringList{"--place", "Bonn", "--lang", "it"}, QStringList{"--latitude"}));

} // namespace

namespace {

TEST(AstroCommandTest, StoreIntoAProgramAndChangeTimesHeadless)
{
    test::TempDir dir;
    const QString file = dir.file("astro.zxp");
    ASSERT_TRUE(QFile::copy(QStringLiteral(ZX_TEST_DATA "/full236.zxp"), file));
    ASSERT_EQ(astro({"--latitude", "47.5", "--longitude", "7.5", "--timezone", "60", "--year", "2026",
                     "--store", file, "--sunset-offset", "-10"})
                  .exitCode,
              0);
    const QString dump = RunCliText({"dump", file}).out;
    EXPECT_TRUE(
        dump.contains(QStringLiteral("longitude 7.5 (east positive), latitude 47.5, time zone 60 min")))
        << dump.toStdString();
    EXPECT_TRUE(dump.contains(QStringLiteral(" / -10 min")));

    const CliTextRun changed =
        RunCliText({"astro-change", file, "--column", "sunset", "--days", "1-10", "--set", "06:15"});
    ASSERT_EQ(changed.exitCode, 0) << changed.err.toStdString();
    const QStringList rows = RunCliText({"list", file, "--view", "astro"}).out.split(QLatin1Char('\n'));
    ASSERT_GT(rows.size(), 12);
    EXPECT_TRUE(rows[10].contains(QStringLiteral("6:15 hrs"))); // day 10 (row 0 is the header)
    EXPECT_FALSE(rows[11].contains(QStringLiteral("6:15 hrs")));
    EXPECT_EQ(RunCliText({"astro-change", file, "--column", "noon", "--days", "1", "--delete"}).exitCode, 2);

    // Storing the place again keeps the times changed by hand; --replace computes them anew.
    const QStringList again{"--latitude", "47.5",   "--longitude", "7.5",     "--timezone",
                            "60",         "--year", "2026",        "--store", file};
    for (const bool replace : {false, true}) {
        ASSERT_EQ(astro(replace ? again + QStringList{"--replace"} : again).exitCode, 0);
        const QString day10 =
            RunCliText({"list", file, "--view", "astro"}).out.split(QLatin1Char('\n')).value(10);
        EXPECT_EQ(day10.contains(QStringLiteral("6:15 hrs")), !replace) << replace;
    }
}

} // namespace
