#pragma once

#include "model/ValueRanges.h"

#include <QString>

namespace zx {

class Catalogue;
class Clock;
class Model;
class Prompter;
struct AstroData;

// The astro settings are edited as raw bar positions (each from 0 to its maximum); the
// locations file stores the same positions, the model the values derived from them. A bar
// spans the value's whole range in the steps the device stores.
constexpr int LongitudeBarMax =
    (Ranges::Longitude.max - Ranges::Longitude.min) * 2; // (p - 360) / 2 degrees, west positive
constexpr int LatitudeBarMax =
    (Ranges::Latitude.max - Ranges::Latitude.min) * 2; // (140 - p) / 2 degrees, north positive
constexpr int ZoneBarMax =
    (Ranges::TimeZone.max - Ranges::TimeZone.min) / 15; // (p - 48) x -15 minutes, east positive
constexpr int OffsetBarMax = Ranges::AstroOffset.max - Ranges::AstroOffset.min; // (p - 120) x -1 minutes
static_assert(LongitudeBarMax == 720 && LatitudeBarMax == 280 && ZoneBarMax == 96 && OffsetBarMax == 240);

struct AstroPositions {
    int longitude = 360;
    int latitude = 140;
    int zone = 44;
    int sunriseOffset = 120;
    int sunsetOffset = 120;

    bool operator==(const AstroPositions &) const = default;
};

float LongitudeOfPosition(int p);
float LatitudeOfPosition(int p);
float ZoneOfPosition(int p);
float OffsetOfPosition(int p);

// Positions of the model's astro location, each kept inside its bar.
AstroPositions PositionsOf(const AstroData &astro);
// True when every position lies on its bar.
bool PositionsValid(int longitude, int latitude, int zone);

// Label texts: "7.5 degree east", "47.5 degree north", "+1:00", "-15 min".
QString LongitudeLabel(const Catalogue &catalogue, int p);
QString LatitudeLabel(const Catalogue &catalogue, int p);
QString ZoneLabel(const Catalogue &catalogue, int p);
QString OffsetLabel(int p);

// True when the model's astro table holds times its own settings do not give in `year` nor in
// the years of its leap cycle: times changed with the astro time change (or a table computed
// elsewhere). A model without astro table holds none.
bool AstroTableHoldsChanges(const Model &model, int year);

// Ok of the astro settings: stores the five derived values, builds the astro table for the
// clock's year, marks it present and the program changed. A table that holds changed times is
// computed again only when the user says Yes; No stores the settings and keeps the table,
// Cancel changes nothing and returns false.
bool ConfirmAstroSettings(Model &model, const AstroPositions &positions, const Clock &clock,
                          Prompter &prompter);

} // namespace zx
