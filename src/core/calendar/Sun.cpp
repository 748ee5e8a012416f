#include "calendar/Sun.h"

#include "model/Calendar.h"
#include "platform/Clock.h"
#include "platform/Prompter.h"

#include <cmath>

namespace zx {

namespace {

// The constants of the device's sun computation, exactly as the device firmware and older
// programs use them: a table computed here must agree with theirs to the minute.
constexpr double TwoPi = 6.2831853;
constexpr double Pi = 3.14159265;
constexpr double DR = Pi / 180;
constexpr double K1 = 15 * DR * 1.0027379; // sidereal advance of one hour
constexpr double Z1 = 90.833 * DR;         // zenith distance of sunrise and sunset

// Sunrise and sunset are computed for fixed years; the few seconds of drift between years
// are below the table's minute resolution.
constexpr int SunriseYear = 1998;
constexpr int SunsetYear = 1999;

double fraction(double x)
{
    return x - std::floor(x);
}

double sign(double x)
{
    return (x > 0) - (x < 0);
}

struct SunPosition {
    double ra;
    double dec;
};

// Low-precision solar series (van Flandern and Pulkkinen) for day T from the epoch.
SunPosition sunAt(double t, double tt)
{
    const double l = fraction(0.779072 + 0.00273790931 * t) * TwoPi;
    const double g = fraction(0.993126 + 0.0027377785 * t) * TwoPi;
    const double v = 0.39785 * std::sin(l) - 0.01 * std::sin(l - g) + 0.00333 * std::sin(l + g) -
                     0.00021 * tt * std::sin(l);
    const double u = 1 - 0.03349 * std::cos(g) - 0.00014 * std::cos(2 * l) + 0.00008 * std::cos(l);
    const double w = -0.0001 - 0.04129 * std::sin(2 * l) + 0.03211 * std::sin(g) +
                     0.00104 * std::sin(2 * l - g) - 0.00035 * std::sin(2 * l + g) -
                     0.00008 * tt * std::sin(g);
    double s = w / std::sqrt(u - v * v);
    const double ra = l + std::atan(s / std::sqrt(1 - s * s));
    s = v / std::sqrt(u);
    const double dec = std::atan(s / std::sqrt(1 - s * s));
    return {ra, dec};
}

enum class Event { Sunrise, Sunset };

SunCrossing findCrossing(int day, int month, double latitude, Event wanted)
{
    const double y = wanted == Event::Sunrise ? SunriseYear : SunsetYear;
    const double d = day;
    const double m = month;

    // Julian day number of the date at 0 h UT.
    double f = d - std::floor(d) - 0.5;
    double j = -std::floor(7 * (std::floor((m + 9) / 12) + y) / 4);
    const double s0 = sign(m - 9);
    const double a0 = std::abs(m - 9);
    double j3 = std::floor(y + s0 * std::floor(a0 / 7));
    j3 = -std::floor((std::floor(j3 / 100) + 1) * 3 / 4);
    j = j + std::floor(275 * m / 9) + d + j3 + 1721027 + 2 + 367 * y;
    if (f < 0) {
        f += 1;
        j -= 1;
    }

    const double t = (j - 2451545) + f;
    const double tt = t / 36525 + 1;
    const double t0 = fraction((24110.5 + 8640184.813 * t / 36525) / 86400) * 360 * DR;

    const SunPosition p1 = sunAt(t, tt);
    SunPosition p2 = sunAt(t + 1, tt);
    if (p2.ra < p1.ra)
        p2.ra += TwoPi;
    const double da = p2.ra - p1.ra;
    const double dd = p2.dec - p1.dec;
    const double sl = std::sin(latitude * DR);
    const double cl = std::cos(latitude * DR);
    const double z = std::cos(Z1);
    auto altitudeTerm = [&](double dec, double hourAngle) {
        return sl * std::sin(dec) + cl * std::cos(dec) * std::cos(hourAngle) - z;
    };

    SunCrossing result;
    double ra0 = p1.ra;
    double dec0 = p1.dec;
    double v0 = 0;
    for (int c0 = 0; c0 <= 23; ++c0) {
        const double p = (c0 + 1) / 24.0;
        const double rah = p1.ra + p * da;
        const double dech = p1.dec + p * dd;
        const double l0 = t0 + c0 * K1;
        const double l2 = l0 + K1;
        const double h0 = l0 - ra0;
        const double h2 = l2 - rah;
        const double h1 = (h2 + h0) / 2;
        const double decm = (dech + dec0) / 2;
        if (c0 == 0)
            v0 = altitudeTerm(dec0, h0);
        const double v2 = altitudeTerm(dech, h2);
        if (sign(v0) != sign(v2)) {
            const double v1 = altitudeTerm(decm, h1);
            const double a = 2 * v2 - 4 * v1 + 2 * v0;
            const double b = 4 * v1 - 3 * v0 - v2;
            double disc = b * b - 4 * a * v0;
            if (disc >= 0) {
                disc = std::sqrt(disc);
                double e = (-b + disc) / (2 * a);
                if (e > 1 || e < 0)
                    e = (-b - disc) / (2 * a);
                const double t3 = c0 + e + 1.0 / 120;
                const bool kind = wanted == Event::Sunrise ? (v0 < 0 && v2 > 0) : (v0 > 0 && v2 < 0);
                // A nearly flat parabola gives no usable root: no crossing in this hour.
                if (kind && std::isfinite(t3) && std::abs(t3) < 1e6) {
                    const double hour = std::floor(t3);
                    result.found = true;
                    result.hour = static_cast<int>(hour);
                    result.minute = static_cast<int>(std::floor((t3 - hour) * 60));
                }
            }
        }
        ra0 = rah;
        dec0 = dech;
        v0 = v2;
    }
    return result;
}

// Day and month of day of year n; days past the end of the year continue into the next, so
// row 366 of a common year is 1 January.
DayMonth dateOfTableDay(int n, int year)
{
    if (n > DaysInYear(year))
        return DateOfDay(n - DaysInYear(year), year + 1);
    return DateOfDay(n, year);
}

int tableValue(const SunCrossing &c, int shift)
{
    // A day without the event keeps "no time": shifting nothing by zone and longitude would
    // make a lamp switch at a time that has nothing to do with the sun.
    if (!c.found)
        return NoAstroTime;
    const int v = shift + c.minutes();
    return (v < 0 || v > 1439) ? NoAstroTime : v;
}

} // namespace

SunCrossing Sunrise(int day, int month, double latitude)
{
    return findCrossing(day, month, latitude, Event::Sunrise);
}

SunCrossing Sunset(int day, int month, double latitude)
{
    return findCrossing(day, month, latitude, Event::Sunset);
}

double SunriseHours(int day, int month, double latitude)
{
    const SunCrossing c = Sunrise(day, month, latitude);
    return c.found ? c.hours() : 0;
}

double SunsetHours(int day, int month, double latitude)
{
    const SunCrossing c = Sunset(day, month, latitude);
    return c.found ? c.hours() : 0;
}

AstroTableRows BuildAstroTable(double longitude, double latitude, double timeZone, int year)
{
    const int shift = static_cast<int>(std::lround(timeZone)) + static_cast<int>(std::floor(longitude * 4));
    AstroTableRows rows{};
    for (int n = 1; n <= AstroDays; ++n) {
        const DayMonth date = dateOfTableDay(n, year);
        rows[n - 1] = {tableValue(Sunset(date.day, date.month, latitude), shift),
                       tableValue(Sunrise(date.day, date.month, latitude), shift)};
    }
    return rows;
}

void BuildAstroTable(Model &model, const Clock &clock, Prompter &prompter)
{
    const auto busy = prompter.busy();
    AstroData &a = model.astro;
    a.AstroTable = BuildAstroTable(a.Longitude, a.Latitude, a.TimeZone, clock.today().year());
    a.AstroPresent = -1;
}

} // namespace zx
