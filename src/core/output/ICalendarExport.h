#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>

#include <vector>

namespace zx {

class Model;
class YearSimulation;
struct DayPlan;

// One stretch of a year during which a channel is ON, or one pulse, in the device's local clock
// time counted in minutes from 1 January 00:00 of the simulated year. A period running through
// 31 December ends at the next year's midnight (the minute count of the year's length).
struct OnPeriod {
    int channel = 1;
    int start = 0;
    int end = 0;          // exclusive; for a pulse the minute it begins
    int pulseSeconds = 0; // 0 for a switched ON period
    friend bool operator==(const OnPeriod &, const OnPeriod &) = default;
};

// The ON periods and the ON pulses of one channel over the plan's year, as the day segments of
// the simulation give them. A pulse leaves the switched level as it was: the device drives the
// output for the pulse's seconds and then returns to it.
std::vector<OnPeriod> YearOnPeriods(const YearSimulation &simulation, const DayPlan &plan, int channel);

struct CalendarRequest {
    int year = 0;
    int channel = 0;          // 1..8: one channel's calendar; 0: every channel, named in each title
    int utcOffsetMinutes = 0; // the device's winter time, east of UTC positive
    QDateTime stamp;          // moment of the export (DTSTAMP)
};

// The device's winter time east of UTC: the astro device keeps its time zone in the program;
// for the others, the winter offset of this computer's zone in that year.
int DeviceUtcOffsetMinutes(const Model &model, int year);

// The simulated year of set 0 as an iCalendar (RFC 5545) text: one VEVENT per ON period and per
// pulse, with the program's name, use and channel names. Times are written in UTC, converted
// from the device's clock by its changeover rule or table, so every calendar shows them at the
// moment the output switches whatever zone it runs in. UTF-8, CR LF, lines folded at 75 octets.
QByteArray YearCalendar(const Model &model, const CalendarRequest &request);

namespace ical {
// TEXT value escaping: backslash, semicolon, comma and line breaks.
QByteArray EscapeText(const QString &text);
// A content line folded into lines of at most 75 octets (a continuation starts with a blank),
// never inside a UTF-8 sequence, each ended by CR LF.
QByteArray FoldLine(const QByteArray &line);
} // namespace ical

} // namespace zx
