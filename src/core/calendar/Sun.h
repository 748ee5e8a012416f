#pragma once

#include "model/Model.h"

#include <array>

namespace zx {

class Clock;
class Prompter;

// A crossing of the horizon on one day, at longitude 0 and time zone 0, as the device's
// minute resolution gives it.
struct SunCrossing {
    bool found = false; // false on a day without this event (polar day or night)
    int hour = 0;
    int minute = 0;

    int minutes() const { return hour * 60 + minute; }
    double hours() const { return hour + minute / 60.0; }
};

// Sunrise and sunset of a day and month at a latitude (degrees, north positive). The search
// runs over the 24 hours after 0:00 UT of the day; the year does not enter it.
SunCrossing Sunrise(int day, int month, double latitude);
SunCrossing Sunset(int day, int month, double latitude);

// The same as hours after 0:00 UT (hours + minutes / 60); 0 when the event does not happen.
double SunriseHours(int day, int month, double latitude);
double SunsetHours(int day, int month, double latitude);

using AstroTableRows = std::array<std::array<int, 2>, AstroDays>;

// The astro table of a year for a place: row n - 1 for day of year n (day 366 of a common
// year is 1 January of the next), column 0 sunset, column 1 sunrise, in minutes after local
// standard midnight. Longitude in degrees west positive, time zone in minutes east positive.
// A day whose event falls outside 0..1439, or does not happen at all, holds NoAstroTime.
AstroTableRows BuildAstroTable(double longitude, double latitude, double timeZone, int year);

// Fills the model's astro table from its astro location for the year of the clock and marks
// the table present. The wait cursor shows while it computes.
void BuildAstroTable(Model &model, const Clock &clock, Prompter &prompter);

} // namespace zx
