// zentrix-cli astro: prints the astro table the program would store for a place, computed by
// the same core functions as the astro settings' Ok.
#include "Commands.h"

#include "calendar/AstroSettings.h"
#include "calendar/Locations.h"
#include "calendar/Sun.h"
#include "i18n/Catalogue.h"
#include "i18n/Msg.h"
#include "platform/Clock.h"

#include <QDir>

#include <algorithm>
#include <cmath>
#include <optional>

namespace zx::cli {

namespace {

const char *const AstroUsage =
    "zentrix-cli astro (--latitude DEG --longitude DEG --timezone MIN | --place NAME [--lang en|de|fr] "
    "[--workdir DIR]) [--year Y]";

// A number that is a whole multiple of `step` (0.5 degree, 15 minutes); nullopt otherwise.
std::optional<int> stepsOf(const QString &text, double step)
{
    bool ok = false;
    const double value = text.toDouble(&ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    const double steps = value / step;
    if (std::abs(steps - std::round(steps)) > 1e-9 || std::abs(steps) > 100000)
        return std::nullopt;
    return static_cast<int>(std::lround(steps));
}

} // namespace

int runAstro(const QStringList &args)
{
    std::optional<int> latitude;  // half degrees, north positive
    std::optional<int> longitude; // half degrees, east positive as maps give it
    std::optional<int> zone;      // quarter hours, east positive
    QString place;
    int language = English;
    QString workDir = QDir::currentPath();
    int year = SystemClock().today().year();
    for (int i = 0; i < args.size(); ++i) {
        const QString &a = args[i];
        if (i + 1 >= args.size())
            return usageError(AstroUsage);
        const QString v = args[++i];
        if (a == QLatin1String("--latitude") && !latitude) {
            latitude = stepsOf(v, 0.5);
            if (!latitude)
                return usageError(AstroUsage);
        } else if (a == QLatin1String("--longitude") && !longitude) {
            longitude = stepsOf(v, 0.5);
            if (!longitude)
                return usageError(AstroUsage);
        } else if (a == QLatin1String("--timezone") && !zone) {
            zone = stepsOf(v, 15);
            if (!zone)
                return usageError(AstroUsage);
        } else if (a == QLatin1String("--place") && place.isEmpty() && !v.isEmpty()) {
            place = v;
        } else if (a == QLatin1String("--lang")) {
            const QStringList codes{"de", "en", "fr"};
            const int index = static_cast<int>(codes.indexOf(v));
            if (index < 0)
                return usageError(AstroUsage);
            language = index + German;
        } else if (a == QLatin1String("--workdir")) {
            workDir = v;
        } else if (a == QLatin1String("--year")) {
            bool ok = false;
            year = v.toInt(&ok);
            if (!ok || year < 1 || year > 9999)
                return usageError(AstroUsage);
        } else {
            return usageError(AstroUsage);
        }
    }

    const bool byValue = latitude || longitude || zone;
    if (byValue == !place.isEmpty())
        return usageError(AstroUsage);

    AstroPositions positions;
    if (byValue) {
        if (!latitude || !longitude || !zone)
            return usageError(AstroUsage);
        // The program keeps longitude west positive.
        positions.longitude = 360 - *longitude;
        positions.latitude = 140 - *latitude;
        positions.zone = 48 - *zone;
        if (!PositionsValid(positions.longitude, positions.latitude, positions.zone))
            return usageError(AstroUsage);
    } else {
        Catalogue catalogue;
        catalogue.fillBuiltin(language, 1);
        const QString path = LocationsFilePath(catalogue, workDir);
        const LocationsReadResult read = ReadLocationsFile(path);
        if (!read.ok()) {
            std::fprintf(stderr, "%s: %s (%s)\n", qPrintable(QDir::toNativeSeparators(path)),
                         qPrintable(catalogue.text(Msg::IllegalFile)), qPrintable(read.error));
            return 1;
        }
        const auto found = std::find_if(read.locations.begin(), read.locations.end(),
                                        [&](const Location &l) { return l.name == place; });
        if (found == read.locations.end()) {
            std::fprintf(stderr, "%s: no place named \"%s\"\n", qPrintable(QDir::toNativeSeparators(path)),
                         qPrintable(place));
            return 1;
        }
        positions.longitude = found->longitudePos;
        positions.latitude = found->latitudePos;
        positions.zone = found->zonePos;
    }

    const AstroTableRows table =
        BuildAstroTable(LongitudeOfPosition(positions.longitude), LatitudeOfPosition(positions.latitude),
                        ZoneOfPosition(positions.zone), year);
    QByteArray out;
    for (int n = 0; n < AstroDays; ++n)
        out += QByteArray::number(n + 1) + '\t' + QByteArray::number(table[n][0]) + '\t' +
               QByteArray::number(table[n][1]) + '\n';
    std::fwrite(out.constData(), 1, static_cast<size_t>(out.size()), stdout);
    return 0;
}

} // namespace zx::cli
