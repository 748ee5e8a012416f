#include "calendar/AstroSettings.h"

#include "calendar/Sun.h"
#include "i18n/Catalogue.h"
#include "i18n/ExtraTexts.h"
#include "i18n/Msg.h"
#include "model/Model.h"
#include "platform/Clock.h"
#include "platform/Prompter.h"

#include <QtGlobal>

#include <cmath>

namespace zx {

float LongitudeOfPosition(int p)
{
    return (p - 360) / 2.0f;
}

float LatitudeOfPosition(int p)
{
    return (140 - p) / 2.0f;
}

float ZoneOfPosition(int p)
{
    return static_cast<float>((p - 48) * -15);
}

float OffsetOfPosition(int p)
{
    return static_cast<float>((p - 120) * -1);
}

AstroPositions PositionsOf(const AstroData &astro)
{
    AstroPositions p;
    p.longitude = qBound(0, static_cast<int>(std::floor(astro.Longitude * 2)) + 360, LongitudeBarMax);
    p.latitude = qBound(0, 140 - static_cast<int>(std::floor(astro.Latitude * 2)), LatitudeBarMax);
    p.zone = qBound(0, 48 - static_cast<int>(std::lround(astro.TimeZone)) / 15, ZoneBarMax);
    p.sunriseOffset = qBound(0, 120 - static_cast<int>(std::lround(astro.AstroOffset1)), OffsetBarMax);
    p.sunsetOffset = qBound(0, 120 - static_cast<int>(std::lround(astro.AstroOffset2)), OffsetBarMax);
    return p;
}

bool PositionsValid(int longitude, int latitude, int zone)
{
    return longitude >= 0 && longitude <= LongitudeBarMax && latitude >= 0 && latitude <= LatitudeBarMax &&
           zone >= 0 && zone <= ZoneBarMax;
}

namespace {

// Half degrees without trailing zeros: 7.5, 8.
QString degrees(int halfDegrees)
{
    const int a = std::abs(halfDegrees);
    return QString::number(a / 2) + (a % 2 ? QStringLiteral(".5") : QString());
}

QString degreeLabel(const Catalogue &catalogue, int halfDegrees, int negativeWord, int positiveWord)
{
    QString text = degrees(halfDegrees) + catalogue.text(Msg::Degree);
    if (halfDegrees < 0)
        text += catalogue.text(negativeWord);
    else if (halfDegrees > 0)
        text += catalogue.text(positiveWord);
    return text;
}

} // namespace

QString LongitudeLabel(const Catalogue &catalogue, int p)
{
    // West positive: positions below the middle are east.
    return degreeLabel(catalogue, p - 360, Msg::East, Msg::West);
}

QString LatitudeLabel(const Catalogue &catalogue, int p)
{
    return degreeLabel(catalogue, 140 - p, Msg::South, Msg::North);
}

QString ZoneLabel(const Catalogue &catalogue, int p)
{
    const int minutes = (p - 48) * -15;
    const QString sign = minutes > 0 ? QStringLiteral("+") : minutes < 0 ? QStringLiteral("-") : QString();
    const int a = std::abs(minutes);
    return sign + QString::number(a / 60) + catalogue.text(Msg::TimeSeparator) +
           QStringLiteral("%1").arg(a % 60, 2, 10, QLatin1Char('0'));
}

QString OffsetLabel(int p)
{
    return QString::number((p - 120) * -1) + QStringLiteral(" min");
}

bool AstroTableHoldsChanges(const Model &model, int year)
{
    const AstroData &a = model.astro;
    if (!a.AstroPresent)
        return false;
    // The table's dates depend on the year only through 29 February.
    for (int y = year; y > year - 4; --y)
        if (BuildAstroTable(a.Longitude, a.Latitude, a.TimeZone, y) == a.AstroTable)
            return false;
    return true;
}

bool ConfirmAstroSettings(Model &model, const AstroPositions &positions, const Clock &clock,
                          Prompter &prompter)
{
    bool rebuild = true;
    if (AstroTableHoldsChanges(model, clock.today().year())) {
        const Answer answer = prompter.ask(extraText(ExtraText::AstroTableChanged, model.device.Sprache),
                                           Buttons::YesNoCancel, Icon::Question);
        if (answer == Answer::Cancel)
            return false;
        rebuild = answer == Answer::Yes;
    }
    AstroData &a = model.astro;
    a.Longitude = LongitudeOfPosition(qBound(0, positions.longitude, LongitudeBarMax));
    a.Latitude = LatitudeOfPosition(qBound(0, positions.latitude, LatitudeBarMax));
    a.TimeZone = ZoneOfPosition(qBound(0, positions.zone, ZoneBarMax));
    a.AstroOffset1 = OffsetOfPosition(qBound(0, positions.sunriseOffset, OffsetBarMax));
    a.AstroOffset2 = OffsetOfPosition(qBound(0, positions.sunsetOffset, OffsetBarMax));
    if (rebuild)
        BuildAstroTable(model, clock, prompter);
    model.Modified = 1;
    return true;
}

} // namespace zx
