#include "output/ICalendarExport.h"

#include "calendar/Changeover.h"
#include "model/Calendar.h"
#include "model/ChangeoverRules.h"
#include "model/Model.h"
#include "output/YearSimulation.h"
#include "support/RandomPrograms.h"
#include "support/SamplePrograms.h"

#include <QRegularExpression>
#include <QSet>

#include <gtest/gtest.h>

#include <algorithm>
#include <map>

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

// An event's UID is what the event is, not the path the program was opened by.
TEST_F(YearCalendarTest, UidsDoNotDependOnHowThePathWasTyped)
{
    const QByteArray absolute = calendar();
    for (const char *path : {"town hall.zxp", "./plans/town hall.zxp", "../x/../plans/town hall.zxp"}) {
        m.program().FileName = QString::fromLatin1(path);
        EXPECT_EQ(calendar(), absolute) << path;
    }
    // another program number is another program, none of whose events a calendar takes for these
    m.program().ProgramNumber = 7;
    auto uids = [](const QByteArray &ics) {
        QSet<QByteArray> out;
        for (const QByteArray &line : ics.split('\n'))
            if (line.startsWith("UID:"))
                out.insert(line);
        return out;
    };
    const QSet<QByteArray> mine = uids(absolute);
    EXPECT_EQ(mine.size(), absolute.count("BEGIN:VEVENT"));
    EXPECT_FALSE(uids(calendar()).intersects(mine));
}

// ---- the hours the clock skips and repeats ----

struct NightCase {
    const char *name;
    int rule;               // RuleTable: one entry for 2026, forward 29 March and back 25 October
    int tableShift;         // hours of that entry
    int onHour, onMinute;   // daily ON ...
    int offHour, offMinute; // ... and OFF, channel 1
    const char *expected;   // the event of that night, or "" for none that day
    const char *day;        // the day (UTC) whose events before 10:00 are looked at
};

class ChangeoverNight : public ::testing::TestWithParam<NightCase> {};

TEST_P(ChangeoverNight, EventsHappenWhenTheClockDoes)
{
    const NightCase c = GetParam();
    Model m;
    m.device.SwRegel = c.rule;
    if (c.rule == RuleTable)
        AppendChangeoverEntry(m.program(), {{29, 3, 2, c.tableShift}, {25, 10, 3, c.tableShift}}, 2026,
                              OnceAYear);
    m.appendRecord(SetProgram, test::weeklyTime(c.onHour, c.onMinute, 127, 1, 1));
    m.appendRecord(SetProgram, test::weeklyTime(c.offHour, c.offMinute, 127, 1, 0));
    CalendarRequest r;
    r.year = 2026;
    r.utcOffsetMinutes = 60;
    r.stamp = QDateTime(QDate(2026, 3, 5), QTime(13, 7), Qt::UTC);
    const QString ics = QString::fromUtf8(YearCalendar(m, r));
    const QRegularExpression event(
        QStringLiteral("DTSTART:(%1T0\\d{5}Z)\r\nDTEND:(\\d{8}T\\d{6}Z)\r\n").arg(QLatin1String(c.day)));
    QStringList found;
    for (auto it = event.globalMatch(ics); it.hasNext();) {
        const auto match = it.next();
        found << match.captured(1) + QLatin1Char('-') + match.captured(2);
    }
    EXPECT_EQ(found.join(QLatin1Char(' ')), QLatin1String(c.expected));
}

INSTANTIATE_TEST_SUITE_P(
    ICalendar, ChangeoverNight,
    ::testing::Values(
        // The OFF at 02:10 falls into the skipped hour: it happens at the jump, 01:00 UTC.
        NightCase{"OffInTheGap", RuleEurope, 0, 1, 45, 2, 10, "20260329T004500Z-20260329T010000Z",
                  "20260329"},
        NightCase{"OnInTheGap", RuleEurope, 0, 2, 30, 4, 0, "20260329T010000Z-20260329T020000Z", "20260329"},
        NightCase{"BothInTheGap", RuleEurope, 0, 2, 10, 2, 40, "", "20260329"},
        NightCase{"TwoHourGap", RuleTable, 2, 1, 45, 3, 30, "20260329T004500Z-20260329T010000Z", "20260329"},
        // The hour the clock shows twice: once, on the summer clock.
        NightCase{"InTheRepeatedHour", RuleEurope, 0, 2, 30, 2, 45, "20261025T003000Z-20261025T004500Z",
                  "20261025"}),
    [](const auto &info) { return std::string(info.param.name); });

// The clock as it runs, minute by minute over a year and a day either side: its reading at every
// standard minute, from which the moment of a reading is the first minute that reaches it. So a
// reading the clock skips happens at its jump, a repeated one the first time.
class RunningClock {
  public:
    RunningClock(const Model &m, int year)
    {
        struct Summer {
            long long on, off, shift;
        };
        // the summer times of the year and its neighbours, on this year's minute count
        std::vector<Summer> summers;
        for (int y = year - 1; y <= year + 1; ++y) {
            const long long base = y < year   ? -DaysInYear(y) * 1440LL
                                   : y > year ? DaysInYear(year) * 1440LL
                                              : 0;
            for (const ChangeoverEntry &e : ChangeoversOfYear(m.device.SwRegel, m.program(), y)) {
                const long long shift = e.advance.shift * 60;
                const long long on =
                    (DayOfYear(e.advance.day, e.advance.month, y) - 1) * 1440LL + e.advance.hour * 60;
                const long long off =
                    (DayOfYear(e.setBack.day, e.setBack.month, y) - 1) * 1440LL + e.setBack.hour * 60 - shift;
                if (on < off) {
                    summers.push_back({base + on, base + off, shift});
                } else { // over the new year: both ends of its own year
                    summers.push_back({base, base + off, shift});
                    summers.push_back({base + on, base + DaysInYear(y) * 1440LL, shift});
                }
            }
        }
        for (long long s = -1440; s < (DaysInYear(year) + 1) * 1440LL; ++s) {
            long long reading = s;
            for (const Summer &x : summers)
                if (s >= x.on && s < x.off)
                    reading = s + x.shift;
            highest_.push_back(highest_.empty() ? reading : std::max(highest_.back(), reading));
        }
    }
    long long standardOf(long long reading) const
    {
        const auto it = std::lower_bound(highest_.begin(), highest_.end(), reading);
        return (it - highest_.begin()) - 1440;
    }

  private:
    std::vector<long long> highest_;
};

struct Event {
    int channel;
    long long start, end; // UTC minutes from the year's 1 January; end == start for a pulse
    bool operator<(const Event &o) const
    {
        return std::tie(channel, start, end) < std::tie(o.channel, o.start, o.end);
    }
    bool operator==(const Event &o) const = default;
};

std::vector<Event> calendarEvents(const QByteArray &ics, int year, QSet<QByteArray> &uids)
{
    const QDateTime newYear(QDate(year, 1, 1), QTime(0, 0), Qt::UTC);
    auto minutes = [&](const QByteArray &v) {
        return newYear.secsTo(
                   QDateTime::fromString(QString::fromLatin1(v), QStringLiteral("yyyyMMdd'T'HHmmss'Z'"))
                       .toUTC()) /
               60;
    };
    std::vector<Event> out;
    Event e{};
    for (const QByteArray &raw : ics.split('\n')) {
        const QByteArray line = raw.trimmed();
        if (line.startsWith("UID:")) {
            EXPECT_FALSE(uids.contains(line)) << line.constData();
            uids.insert(line);
            e.channel = QRegularExpression(QStringLiteral("-c(\\d)-"))
                            .match(QString::fromLatin1(line))
                            .captured(1)
                            .toInt();
        } else if (line.startsWith("DTSTART:")) {
            e.start = minutes(line.mid(8));
        } else if (line.startsWith("DTEND:")) {
            e.end = minutes(line.mid(6));
            EXPECT_GT(e.end, e.start) << "an event ends before it starts";
        } else if (line.startsWith("DURATION:")) {
            e.end = e.start;
        } else if (line == "END:VEVENT") {
            out.push_back(e);
        }
    }
    return out;
}

// Random programs with times around the changeover hours, under every rule and tables of one and
// two hours, twice a year and over the new year: every event ends after it starts, and the
// calendar holds exactly the ON periods and ON pulses of the simulation, each at the moment the
// running clock reaches its time.
TEST(YearCalendarProperty, CalendarAgreesWithTheSimulationOnEveryNight)
{
    struct Changeovers {
        int rule;
        std::vector<ChangeoverEntry> entries;
        int firstYear, perYear;
    };
    const std::vector<Changeovers> rules{
        {RuleEurope, {}, 0, 0},
        {RuleUK, {}, 0, 0},
        {RuleUSA, {}, 0, 0},
        {RuleTable, {{{29, 3, 1, 2}, {25, 10, 3, 2}}}, 2026, OnceAYear},
        {RuleTable, {{{29, 3, 2, 1}, {3, 5, 3, 1}}, {{2, 8, 2, 3}, {25, 10, 3, 3}}}, 2026, TwiceAYear},
        // the southern hemisphere: summer time over the new year, tables for the years around it
        {RuleTable,
         {{{4, 10, 2, 1}, {5, 4, 3, 1}}, {{4, 10, 2, 1}, {5, 4, 3, 1}}, {{3, 10, 2, 1}, {4, 4, 3, 1}}},
         2025,
         OnceAYear},
    };
    std::mt19937 rng(2026);
    auto pick = [&rng](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    for (int round = 0; round < 4; ++round) {
        for (const Changeovers &c : rules) {
            Model m;
            m.device.Kanalzahl = 4;
            test::fillRandomProgram(m, rng, pick(0, 12));
            // times in and around the hours the clocks skip and repeat, some of them pulses
            for (int k = pick(2, 8); k > 0; --k)
                m.appendRecord(SetProgram,
                               test::weeklyTime(pick(0, 4), pick(0, 59), pick(1, 127), pick(1, 15),
                                                pick(0, 1), 0, pick(0, 3) == 0 ? pick(1, 59) : 0));
            m.device.SwRegel = c.rule;
            m.program().DstCount = 0;
            for (const ChangeoverEntry &e : c.entries)
                AppendChangeoverEntry(m.program(), e, c.firstYear, c.perYear);

            CalendarRequest r;
            r.year = 2026;
            r.utcOffsetMinutes = 60;
            r.stamp = QDateTime(QDate(2026, 3, 5), QTime(13, 7), Qt::UTC);
            QSet<QByteArray> uids;
            std::vector<Event> got = calendarEvents(YearCalendar(m, r), 2026, uids);

            const RunningClock clock(m, 2026);
            auto utc = [&](long long reading) { return clock.standardOf(reading) - r.utcOffsetMinutes; };
            const YearSimulation sim(m);
            const DayPlan plan = sim.dayPlan(2026);
            std::vector<Event> expected;
            for (int channel = 1; channel <= 4; ++channel) {
                int level = 0;
                long long onSince = 0;
                for (int day = 1; day <= plan.days; ++day) {
                    long long minute = (day - 1) * 1440LL;
                    for (const DaySegment &seg : sim.daySegments(plan, channel, day)) {
                        if (seg.state == SegmentState::PulseOn)
                            expected.push_back({channel, utc(minute), utc(minute)});
                        else if ((seg.state & SegmentState::PulseBit) == 0 && seg.state != level) {
                            if (seg.state == 1)
                                onSince = minute;
                            else if (utc(minute) > utc(onSince))
                                expected.push_back({channel, utc(onSince), utc(minute)});
                            level = seg.state;
                        }
                        minute += seg.minutes;
                    }
                }
                if (level && utc(plan.days * 1440LL) > utc(onSince))
                    expected.push_back({channel, utc(onSince), utc(plan.days * 1440LL)});
            }
            std::sort(got.begin(), got.end());
            std::sort(expected.begin(), expected.end());
            ASSERT_EQ(got, expected) << "round " << round << ", rule " << c.rule << ", " << c.entries.size()
                                     << " table entries";
        }
    }
}

} // namespace
