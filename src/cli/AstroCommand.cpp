// zentrix-cli astro: prints the astro table the program would store for a place, computed by
// the same core functions as the astro settings' Ok.
#include "CliTexts.h"
#include "Commands.h"
#include "HeadlessPrompter.h"

#include "calendar/AstroSettings.h"
#include "calendar/Locations.h"
#include "calendar/Sun.h"
#include "entry/AstroTimeChange.h"
#include "i18n/Catalogue.h"
#include "i18n/Msg.h"
#include "model/Calendar.h"
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

// The value of an option in steps; nullopt when absent or refused (printed).
std::optional<int> stepsOption(Options &o, const char *name, double step, const char *unit)
{
    if (!o.has(name))
        return std::nullopt;
    const auto steps = stepsOf(o.value(name), step);
    if (!steps)
        o.badValue(name,
                   QStringLiteral("a multiple of %1 %2 is required").arg(step).arg(QLatin1String(unit)));
    return steps;
}

// "HH:MM" with hours 0..23 and minutes 0..59, or "-HH:MM" where a sign is allowed: minutes.
std::optional<int> clockTime(const QString &text, bool signAllowed)
{
    QString t = text;
    const bool negative = signAllowed && t.startsWith(u'-');
    if (negative)
        t.remove(0, 1);
    const QStringList parts = t.split(QLatin1Char(':'));
    if (parts.size() != 2 || parts[1].size() != 2 || parts[0].isEmpty() || parts[0].size() > 2)
        return std::nullopt;
    bool okH = false;
    bool okM = false;
    const int hours = parts[0].toInt(&okH);
    const int minutes = parts[1].toInt(&okM);
    if (!okH || !okM || hours < 0 || hours > MaxChangeHour || minutes < 0 || minutes > MaxChangeMinute)
        return std::nullopt;
    const int m = hours * 60 + minutes;
    return negative ? -m : m;
}

} // namespace

int runAstro(Options &o)
{
    const auto latitude = stepsOption(o, "--latitude", 0.5, "degree");   // half degrees, north positive
    const auto longitude = stepsOption(o, "--longitude", 0.5, "degree"); // half degrees, east positive
    const auto zone = stepsOption(o, "--timezone", 15, "minutes");       // quarter hours, east positive
    const auto yearOption = o.integer("--year", {CalendarFirstYear, CalendarLastYear});
    const std::optional<int> offsets[2] = {o.integer("--sunrise-offset", Ranges::AstroOffset),
                                           o.integer("--sunset-offset", Ranges::AstroOffset)};
    if (o.failed())
        return 2;
    const QString place = o.value("--place");
    const QString store = o.value("--store");
    const bool byValue = latitude || longitude || zone;
    const QString missing = cliText(CliText::Missing, o.language());
    if (!o.expectArguments({}))
        return 2;
    if (byValue && o.has("--place"))
        return o.usageError(
            cliText(CliText::ExcludeEachOther, o.language())
                .arg(QStringLiteral("--place"), QStringLiteral("--latitude/--longitude/--timezone")));
    if (!byValue && !o.has("--place"))
        return o.missingOneOf(
            {QStringLiteral("--place"), QStringLiteral("--latitude --longitude --timezone")});
    if (place.isEmpty() && o.has("--place"))
        return o.usageError(QStringLiteral("--place: ") + cliText(CliText::NeedsValue, o.language()));
    if (!o.has("--store") && (offsets[0] || offsets[1]))
        return o.usageError(missing.arg(QStringLiteral("--store")));
    if (o.has("--store") && store.isEmpty())
        return o.usageError(QStringLiteral("--store: ") + cliText(CliText::NeedsValue, o.language()));
    const int year = yearOption.value_or(SystemClock().today().year());

    AstroPositions positions;
    if (byValue) {
        if (!latitude || !longitude || !zone)
            return o.usageError(missing.arg(QLatin1String(!latitude    ? "--latitude"
                                                          : !longitude ? "--longitude"
                                                                       : "--timezone")));
        // The device keeps longitude west positive.
        positions.longitude = 360 - *longitude;
        positions.latitude = 140 - *latitude;
        positions.zone = 48 - *zone;
        const auto outside = [&o](const char *name, ValueRange r) {
            return o.badValue(name, cliText(CliText::Outside, o.language()).arg(r.min).arg(r.max));
        };
        if (std::abs(*latitude) > 2 * Ranges::Latitude.max)
            return outside("--latitude", Ranges::Latitude);
        if (std::abs(*longitude) > 2 * Ranges::Longitude.max)
            return outside("--longitude", Ranges::Longitude);
        if (std::abs(*zone * 15) > Ranges::TimeZone.max)
            return outside("--timezone", Ranges::TimeZone);
        if (!PositionsValid(positions.longitude, positions.latitude, positions.zone))
            return o.usageError(cliText(CliText::NotAPosition, o.language()));
    } else {
        const QString dir = workDir(o);
        if (dir.isEmpty())
            return 1;
        Catalogue catalogue;
        catalogue.fillBuiltin(o.language(), 1);
        const QString path = LocationsFilePath(catalogue, dir);
        const LocationsReadResult read = ReadLocationsFile(path);
        if (!read.readOrMissing())
            return fail(path, catalogue.text(Msg::IllegalFile) + QStringLiteral(" (") + read.error + u')');
        const auto found = std::find_if(read.locations.begin(), read.locations.end(),
                                        [&](const Location &l) { return l.name == place; });
        if (found == read.locations.end())
            return fail(path, QStringLiteral("no place named \"%1\"").arg(place));
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
        FileLock lock(store);
        if (!lockProgramOrTell(lock, store))
            return 1;
        Model model;
        if (!loadProgramOrTell(model, o, store, TypeAstro))
            return 1;
        const AstroPositions kept = PositionsOf(model.astro);
        positions.sunriseOffset = offsets[0] ? 120 - *offsets[0] : kept.sunriseOffset;
        positions.sunsetOffset = offsets[1] ? 120 - *offsets[1] : kept.sunsetOffset;
        HeadlessPrompter prompter;
        prompter.quietQuestions = o.quiet();
        prompter.file = store;
        // Times changed by hand are kept unless the command was asked to replace them.
        if (o.has("--replace"))
            prompter.yesNoAnswer = Answer::Yes;
        const SystemClock system;
        const FixedClock fixed(QDateTime(QDate(year, 1, 1), QTime(12, 0)));
        ConfirmAstroSettings(model, positions, yearOption ? static_cast<const Clock &>(fixed) : system,
                             prompter);
        if (!saveProgramOrTell(model, o, store))
            return 1;
        table = model.astro.AstroTable;
    }
    QByteArray out;
    for (int n = 0; n < AstroDays; ++n)
        out += QByteArray::number(n + 1) + '\t' + QByteArray::number(table[n][0]) + '\t' +
               QByteArray::number(table[n][1]) + '\n';
    printBytes(out);
    return 0;
}

int runAstroChange(Options &o)
{
    const auto column = o.choice("--column", {QStringLiteral("sunset"), QStringLiteral("sunrise")});
    int first = 0;
    int last = 0;
    if (o.has("--days")) {
        const QStringList range = o.value("--days").split(QLatin1Char('-'));
        bool okFirst = false;
        bool okLast = range.size() == 1;
        first = range[0].toInt(&okFirst);
        last = range.size() == 2 ? range[1].toInt(&okLast) : first;
        if (!okFirst || !okLast || range.size() > 2 || first < 1 || last < first || last > AstroDays)
            return o.badValue("--days", cliText(CliText::Outside, o.language()).arg(1).arg(AstroDays));
    }
    const int given = int(o.has("--delete")) + int(o.has("--set")) + int(o.has("--shift"));
    std::optional<TimeChange> change;
    if (o.has("--delete")) {
        change = MakeTimeChange(ChangeOption::Delete, 0, 0);
    } else if (o.has("--set")) {
        const auto at = clockTime(o.value("--set"), false);
        if (!at)
            return o.badValue("--set", QStringLiteral("HH:MM, 00:00..23:59"));
        change = MakeTimeChange(ChangeOption::ChangeTo, *at / 60, *at % 60);
    } else if (o.has("--shift")) {
        // the dialog's range: forward or back by up to 23:59
        const auto by = clockTime(o.value("--shift"), true);
        change = by ? ShiftByMinutes(*by) : std::nullopt;
        if (!change) {
            const QString most = QStringLiteral("%1:%2")
                                     .arg(MaxShiftMinutes / 60)
                                     .arg(MaxShiftMinutes % 60, 2, 10, QLatin1Char('0'));
            return o.badValue("--shift", QStringLiteral("[-]HH:MM, -%1..%1").arg(most));
        }
    }
    if (o.failed())
        return 2;
    if (!o.expectArguments({QStringLiteral("FILE.zxp")}))
        return 2;
    const QString missing = cliText(CliText::Missing, o.language());
    if (!column)
        return o.usageError(missing.arg(QStringLiteral("--column")));
    if (first == 0)
        return o.usageError(missing.arg(QStringLiteral("--days")));
    if (given == 0)
        return o.missingOneOf(
            {QStringLiteral("--delete"), QStringLiteral("--set"), QStringLiteral("--shift")});
    if (given > 1)
        return o.usageError(cliText(CliText::ExcludeEachOther, o.language())
                                .arg(QLatin1String(o.has("--delete") ? "--delete" : "--set"),
                                     QLatin1String(o.has("--shift") ? "--shift" : "--set")));
    const QString file = o.positional.first();

    FileLock lock(file);
    if (!lockProgramOrTell(lock, file))
        return 1;
    Model model;
    if (!loadProgramOrTell(model, o, file, TypeAstro))
        return 1;
    std::vector<int> days;
    for (int day = first; day <= last; ++day)
        days.push_back(day - 1);
    const int changed = ApplyTimeChangeToDays(model, *column, days, *change);
    note(o, cliText(CliText::DaysChanged, o.language()).arg(changed));
    if (!model.Modified)
        return 0;
    return saveProgramOrTell(model, o, file) ? 0 : 1;
}

} // namespace zx::cli
