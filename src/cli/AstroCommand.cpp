// zentrix-cli astro: prints the astro table the program would store for a place, computed by
// the same core functions as the astro settings' Ok.
#include "Commands.h"
#include "HeadlessPrompter.h"
#include "ProgramDocument.h"

#include "calendar/AstroSettings.h"
#include "calendar/Calendar.h"
#include "calendar/Locations.h"
#include "calendar/Sun.h"
#include "entry/AstroTimeChange.h"
#include "i18n/Catalogue.h"
#include "i18n/Msg.h"
#include "model/Model.h"
#include "model/ProgramFile.h"
#include "model/ValueRanges.h"
#include "platform/Clock.h"

#include <QDir>

#include <algorithm>
#include <cmath>
#include <optional>

namespace zx::cli {

namespace {

const char *const AstroUsage =
    "zentrix-cli astro (--latitude DEG --longitude DEG --timezone MIN | --place NAME [--lang en|de|fr] "
    "[--workdir DIR]) [--year Y] [--store FILE.zxp [--sunrise-offset MIN] [--sunset-offset MIN]]";

const char *const AstroChangeUsage = "zentrix-cli astro-change FILE.zxp --column sunset|sunrise --days N[-M] "
                                     "(--delete | --set HH:MM | --shift HH:MM)";

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

// Loads an astro device's program file into set 0; prints why when it cannot.
bool loadAstroProgram(Model &model, Prompter &prompter, const QString &path)
{
    int used = 0;
    const LoadResult result = loadProgramFile(model, prompter, path, TypeAstro, &used);
    if (result == LoadResult::Loaded)
        return true;
    std::fprintf(stderr, "%s: %s\n", qPrintable(path), qPrintable(loadFailureText(model, result)));
    return false;
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
    bool yearGiven = false;
    QString store;
    std::optional<int> offsets[2];
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
            if (!parseLanguageOption(v, &language))
                return usageError(AstroUsage);
        } else if (a == QLatin1String("--workdir")) {
            workDir = v;
        } else if (a == QLatin1String("--year")) {
            bool ok = false;
            year = v.toInt(&ok);
            if (!ok || year < CalendarFirstYear || year > CalendarLastYear)
                return usageError(AstroUsage);
            yearGiven = true;
        } else if (a == QLatin1String("--store") && store.isEmpty() && !v.isEmpty()) {
            store = v;
        } else if (a == QLatin1String("--sunrise-offset") || a == QLatin1String("--sunset-offset")) {
            bool ok = false;
            const int minutes = v.toInt(&ok);
            if (!ok || !Ranges::AstroOffset.contains(minutes))
                return usageError(AstroUsage);
            offsets[a == QLatin1String("--sunrise-offset") ? 0 : 1] = minutes;
        } else {
            return usageError(AstroUsage);
        }
    }

    const bool byValue = latitude || longitude || zone;
    if (byValue == !place.isEmpty() || (store.isEmpty() && (offsets[0] || offsets[1])))
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

    AstroTableRows table;
    if (store.isEmpty()) {
        table = BuildAstroTable(LongitudeOfPosition(positions.longitude),
                                LatitudeOfPosition(positions.latitude), ZoneOfPosition(positions.zone), year);
    } else {
        // The astro settings' Ok on a program file: the offsets not given stay as they are.
        Model model;
        HeadlessPrompter prompter;
        if (!loadAstroProgram(model, prompter, store))
            return 1;
        const AstroPositions kept = PositionsOf(model.astro);
        positions.sunriseOffset = offsets[0] ? 120 - *offsets[0] : kept.sunriseOffset;
        positions.sunsetOffset = offsets[1] ? 120 - *offsets[1] : kept.sunsetOffset;
        const SystemClock system;
        const FixedClock fixed(QDateTime(QDate(year, 1, 1), QTime(12, 0)));
        ConfirmAstroSettings(model, positions, yearGiven ? static_cast<const Clock &>(fixed) : system,
                             prompter);
        model.program().FileName = store;
        if (!SaveProgram(model, prompter, system))
            return 1;
        table = model.astro.AstroTable;
    }
    QByteArray out;
    for (int n = 0; n < AstroDays; ++n)
        out += QByteArray::number(n + 1) + '\t' + QByteArray::number(table[n][0]) + '\t' +
               QByteArray::number(table[n][1]) + '\n';
    std::fwrite(out.constData(), 1, static_cast<size_t>(out.size()), stdout);
    return 0;
}

namespace {

// "HH:MM" with hours 0..23 and minutes 0..59.
bool parseTime(const QString &text, int *hours, int *minutes)
{
    const QStringList parts = text.split(QLatin1Char(':'));
    bool okH = false;
    bool okM = false;
    if (parts.size() != 2 || parts[1].size() != 2)
        return false;
    *hours = parts[0].toInt(&okH);
    *minutes = parts[1].toInt(&okM);
    return okH && okM && *hours >= 0 && *hours <= MaxChangeHour && *minutes >= 0 &&
           *minutes <= MaxChangeMinute;
}

} // namespace

int runAstroChange(const QStringList &args)
{
    QString file;
    int column = -1;
    int first = 0;
    int last = 0;
    std::optional<TimeChange> change;
    for (int i = 0; i < args.size(); ++i) {
        const QString &a = args[i];
        if (!a.startsWith(QLatin1String("--")) && file.isEmpty()) {
            file = a;
            continue;
        }
        if (a == QLatin1String("--delete") && !change) {
            change = MakeTimeChange(ChangeOption::Delete, 0, 0);
            continue;
        }
        if (i + 1 >= args.size())
            return usageError(AstroChangeUsage);
        const QString v = args[++i];
        int hours = 0;
        int minutes = 0;
        if (a == QLatin1String("--column") && column < 0) {
            column = v == QLatin1String("sunset") ? 0 : v == QLatin1String("sunrise") ? 1 : -1;
            if (column < 0)
                return usageError(AstroChangeUsage);
        } else if (a == QLatin1String("--days") && first == 0) {
            const QStringList range = v.split(QLatin1Char('-'));
            bool okFirst = false;
            bool okLast = range.size() == 1;
            first = range[0].toInt(&okFirst);
            last = range.size() == 2 ? range[1].toInt(&okLast) : first;
            if (!okFirst || !okLast || range.size() > 2 || first < 1 || last < first || last > AstroDays)
                return usageError(AstroChangeUsage);
        } else if ((a == QLatin1String("--set") || a == QLatin1String("--shift")) && !change &&
                   parseTime(v, &hours, &minutes)) {
            change = MakeTimeChange(
                a == QLatin1String("--set") ? ChangeOption::ChangeTo : ChangeOption::ShiftBy, hours, minutes);
        } else {
            return usageError(AstroChangeUsage);
        }
    }
    if (file.isEmpty() || column < 0 || first == 0 || !change)
        return usageError(AstroChangeUsage);

    Model model;
    HeadlessPrompter prompter;
    if (!loadAstroProgram(model, prompter, file))
        return 1;
    std::vector<int> days;
    for (int day = first; day <= last; ++day)
        days.push_back(day - 1);
    const int changed = ApplyTimeChangeToDays(model, column, days, *change);
    std::printf("%d day(s) changed\n", changed);
    if (!model.Modified)
        return 0;
    const SystemClock clock;
    return SaveProgram(model, prompter, clock) ? 0 : 1;
}

} // namespace zx::cli
