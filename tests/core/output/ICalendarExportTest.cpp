#include "output/ICalendarExport.h"

#include "model/Calendar.h"
#include "model/ChangeoverRules.h"
#include "model/Model.h"
#include "output/YearSimulation.h"
#include "support/SamplePrograms.h"

#include <QRegularExpression>

#include <gtest/gtest.h>

using namespace zx;
using namespace zx::test;

namespace {

// ---- content lines ----

// Every physical line holds at most 75 octets and whole UTF-8 characters; unfolding gives the line.
class Folding : public ::testing::TestWithParam<std::pair<QByteArray, int>> {};

TEST_P(Folding, KeepsOctetsAndCharacters)
{
    const auto [line, physicalLines] = GetParam();
    const QByteArray folded = ical::FoldLine(line);
    ASSERT_TRUE(folded.endsWith("\r\n"));
    const QList<QByteArray> lines = folded.chopped(2).split('\n');
    EXPECT_EQ(lines.size(), physicalLines);
    QByteArray unfolded;
    for (QByteArray l : lines) {
        if (l.endsWith('\r'))
            l.chop(1);
        EXPECT_LE(l.size(), 75);
        if (!unfolded.isEmpty()) {
            ASSERT_TRUE(l.startsWith(' '));
            l.remove(0, 1);
        }
        EXPECT_EQ(QString::fromUtf8(l).toUtf8(), l) << "a character split";
        unfolded += l;
    }
    EXPECT_EQ(unfolded, line);
}

// 75 octets fit; a two-octet character at the edge goes whole to the next line.
INSTANTIATE_TEST_SUITE_P(ICalendar, Folding,
                         ::testing::Values(std::pair{QByteArray(75, 'x'), 1},
                                           std::pair{QByteArray(76, 'x'), 2},
                                           std::pair{QByteArray(74, 'x') + "\xc3\xa9y", 2},
                                           std::pair{QString(60, QChar(0x20AC)).toUtf8(), 3},
                                           // a four-octet character (lead 0xF0) that the edge would cut
                                           std::pair{QByteArray(72, 'x') + "\xf0\x9f\x98\x80", 2},
                                           // and a three-octet one with the lowest lead, 0xE0
                                           std::pair{QByteArray(73, 'x') + "\xe0\xa4\x84", 2},
                                           std::pair{QByteArray(75 + 74 * 2 + 1, 'x'), 4}));

TEST(ICalendarText, Escaping)
{
    EXPECT_EQ(ical::EscapeText(QStringLiteral("Hall, stairs; \\ back\r\nnext\nline")),
              QByteArray("Hall\\, stairs\\; \\\\ back\\nnext\\nline"));
    EXPECT_EQ(ical::EscapeText(QStringLiteral("Gr\u00fc\u00dfe\x01")),
              QString(QStringLiteral("Gr\u00fc\u00dfe")).toUtf8());
}

// ---- the year as events ----

class YearCalendarTest : public ::testing::Test {
  protected:
    Model m;
    void SetUp() override
    {
        m.device.Kanalzahl = 2;
        m.device.SwRegel = RuleEurope;
        m.program().FileName = QStringLiteral("/plans/town hall.zxp");
        m.program().UsageText = QStringLiteral("Lights, stairs");
        m.program().ChannelNames[0] = QStringLiteral("Hall ");
        // Channel 1 ON every evening at 22:00 and OFF at 06:00; channel 2 rings a 5 s bell at 07:55.
        m.appendRecord(SetProgram, weeklyTime(22, 0, 127, 1, 1));
        m.appendRecord(SetProgram, weeklyTime(6, 0, 127, 1, 0));
        m.appendRecord(SetProgram, weeklyTime(7, 55, 127, 2, 1, 0, 5));
    }
    QByteArray calendar(int channel = 0)
    {
        CalendarRequest r;
        r.year = 2026;
        r.channel = channel;
        r.utcOffsetMinutes = 60;
        r.stamp = QDateTime(QDate(2026, 3, 5), QTime(13, 7), Qt::UTC);
        return YearCalendar(m, r);
    }
};

// The astro device keeps its own time zone, whatever the computer's: its times are in it.
TEST(DeviceUtcOffset, TheAstroDeviceUsesItsOwnZone)
{
    Model m;
    m.device.Uhrentyp = TypeAstro;
    for (const float zone : {-75.0F, 0.0F, 330.0F}) {
        m.astro.TimeZone = zone;
        EXPECT_EQ(DeviceUtcOffsetMinutes(m, 2030), int(zone));
    }
}

TEST_F(YearCalendarTest, PeriodsRunOverMidnightAndPulsesAreShort)
{
    const YearSimulation sim(m);
    const DayPlan plan = sim.dayPlan(2026);
    const std::vector<OnPeriod> hall = YearOnPeriods(sim, plan, 1);
    ASSERT_EQ(hall.size(), 366u); // ON at the year's first midnight, then every night
    EXPECT_EQ(hall.front(), (OnPeriod{1, 0, 360, 0}));
    EXPECT_EQ(hall[1], (OnPeriod{1, 1320, 1440 + 360, 0}));
    EXPECT_EQ(hall.back(), (OnPeriod{1, 364 * 1440 + 1320, 365 * 1440, 0}));
    const std::vector<OnPeriod> bell = YearOnPeriods(sim, plan, 2);
    ASSERT_EQ(bell.size(), 365u); // the pulse does not leave the output ON
    EXPECT_EQ(bell.front(), (OnPeriod{2, 475, 475, 5}));
}

TEST_F(YearCalendarTest, UtcTimesFollowTheChangeover)
{
    const QString ics = QString::fromUtf8(calendar());
    // The night into 29 March: ON 22:00 winter time, OFF 06:00 summer time.
    EXPECT_TRUE(ics.contains(QStringLiteral("DTSTART:20260328T210000Z\r\nDTEND:20260329T040000Z\r\n")));
    // The night into 25 October: ON 22:00 summer time, OFF 06:00 winter time.
    EXPECT_TRUE(ics.contains(QStringLiteral("DTSTART:20261024T200000Z\r\nDTEND:20261025T050000Z\r\n")));
    EXPECT_TRUE(ics.contains(QStringLiteral("DTSTART:20260701T055500Z\r\nDURATION:PT5S\r\n")));
    EXPECT_TRUE(ics.contains(QStringLiteral("SUMMARY:C1 Hall ON\r\n")));
    EXPECT_TRUE(ics.contains(QStringLiteral("X-WR-CALNAME:town hall 2026\r\n")));
    EXPECT_TRUE(ics.contains(QStringLiteral("X-WR-CALDESC:Lights\\, stairs\r\n")));
    EXPECT_EQ(ics.count(QStringLiteral("BEGIN:VEVENT")), 366 + 365);
    EXPECT_EQ(ics.count(QStringLiteral("BEGIN:VEVENT")), ics.count(QStringLiteral("END:VEVENT")));
    // CR LF everywhere, lines within 75 octets.
    EXPECT_FALSE(ics.contains(QRegularExpression(QStringLiteral("[^\r]\n"))));
    for (const QString &line : ics.split(QStringLiteral("\r\n")))
        EXPECT_LE(line.toUtf8().size(), 75);
}

TEST_F(YearCalendarTest, OneChannelAlone)
{
    const QByteArray one = calendar(2);
    EXPECT_EQ(one.count("BEGIN:VEVENT"), 365);
    EXPECT_TRUE(one.contains("SUMMARY:C2 ON 5"));
    EXPECT_TRUE(one.contains("X-WR-CALNAME:town hall 2026\\, C2\r\n"));
    // A named channel's own calendar calls its events by the name alone.
    EXPECT_TRUE(calendar(1).contains("SUMMARY:Hall ON\r\n"));
    // The same export again keeps its UIDs, so a calendar replaces the events instead of doubling them.
    EXPECT_EQ(calendar(2), one);
}

} // namespace
