#include "calendar/Locations.h"

#include "calendar/AstroSettings.h"
#include "i18n/Catalogue.h"
#include "i18n/Msg.h"
#include "platform/FileAccess.h"
#include "platform/TextDecoding.h"

#include <QDir>

namespace zx {

namespace {

// Far more places than anyone keeps; a larger count is a damaged file, not a list.
constexpr int MaxLocations = 100000;

qint64 characterCode(QChar c)
{
    const int legacy = unicodeToWindows1252(c);
    return legacy >= 0 ? legacy : c.unicode();
}

bool parsePosition(QStringView text, int *value)
{
    bool ok = false;
    *value = text.trimmed().toInt(&ok);
    return ok;
}

LocationsReadResult damaged(const QString &why)
{
    LocationsReadResult r;
    r.status = LocationsReadResult::Status::Damaged;
    r.error = why;
    return r;
}

} // namespace

qint64 LocationKey(const QString &name)
{
    qint64 key = 0;
    for (int i = 0; i < 3; ++i)
        key = key * 256 + (i < name.size() ? characterCode(name[i]) : 0);
    return key;
}

QString CleanLocationName(const QString &name)
{
    QString cleaned;
    cleaned.reserve(name.size());
    for (QChar c : name)
        cleaned.append((c == u',' || c.category() == QChar::Other_Control) ? QChar(u' ') : c);
    // simplified() makes every run of blanks, line and paragraph separators one blank.
    return cleaned.simplified();
}

void AddLocation(LocationList &list, const Location &place)
{
    for (Location &existing : list) {
        if (existing.name == place.name) {
            existing = place;
            return;
        }
    }
    const qint64 key = LocationKey(place.name);
    auto at = list.begin();
    while (at != list.end() && LocationKey(at->name) <= key)
        ++at;
    list.insert(at, place);
}

int FindLocation(const LocationList &list, int longitudePos, int latitudePos, int zonePos)
{
    for (int i = 0; i < static_cast<int>(list.size()); ++i) {
        const Location &l = list[i];
        if (l.longitudePos == longitudePos && l.latitudePos == latitudePos && l.zonePos == zonePos)
            return i;
    }
    return -1;
}

LocationsReadResult ParseLocations(const QByteArray &content)
{
    const QString text = decodeText(content);
    QStringList lines = splitTextLines(text);
    // Blank lines at the end are what editors leave; they carry nothing.
    while (!lines.isEmpty() && lines.last().trimmed().isEmpty())
        lines.removeLast();
    if (lines.isEmpty())
        return damaged(QStringLiteral("no count of places"));

    bool ok = false;
    const int count = lines.first().trimmed().toInt(&ok);
    if (!ok || count < 0 || count > MaxLocations)
        return damaged(QStringLiteral("line 1: no valid count of places"));
    if (lines.size() - 1 != count)
        return damaged(
            QStringLiteral("%1 places announced, %2 lines found").arg(count).arg(lines.size() - 1));

    LocationsReadResult result;
    result.status = LocationsReadResult::Status::Read;
    result.locations.reserve(count);
    for (int i = 1; i <= count; ++i) {
        const QString &line = lines[i];
        const QString where = QStringLiteral("line %1: ").arg(i + 1);
        const qsizetype comma = line.indexOf(QLatin1Char(','));
        if (comma < 0)
            return damaged(where + QStringLiteral("no comma after the name"));
        Location place;
        place.name = line.left(comma);
        if (CleanLocationName(place.name) != place.name || place.name.isEmpty())
            return damaged(where + QStringLiteral("invalid name"));
        // The positions are separated by commas or blanks.
        QString rest = line.mid(comma + 1);
        rest.replace(QLatin1Char(','), QLatin1Char(' '));
        const QStringList numbers = rest.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        if (numbers.size() != 3 || !parsePosition(numbers[0], &place.longitudePos) ||
            !parsePosition(numbers[1], &place.latitudePos) || !parsePosition(numbers[2], &place.zonePos))
            return damaged(where + QStringLiteral("three whole numbers expected after the name"));
        if (!PositionsValid(place.longitudePos, place.latitudePos, place.zonePos))
            return damaged(where + QStringLiteral("position out of range"));
        result.locations.push_back(place);
    }
    return result;
}

QByteArray FormatLocations(const LocationList &list)
{
    QString text = QString::number(list.size()) + QStringLiteral("\r\n");
    for (const Location &l : list)
        // One arg() call: a chained one would read a "%1" inside the name as a place holder.
        text += QStringLiteral("%1,%2,%3,%4\r\n")
                    .arg(l.name, QString::number(l.longitudePos), QString::number(l.latitudePos),
                         QString::number(l.zonePos));
    return encodeText(text);
}

QString LocationsFilePath(const Catalogue &catalogue, const QString &workDir)
{
    return QDir(workDir).filePath(catalogue.text(Msg::LocationFileName).trimmed());
}

LocationsReadResult ReadLocationsFile(const QString &path)
{
    // Far larger than any list of places: a bigger file is no locations file.
    const FileContent file = ReadRegularFile(path, 16 * 1024 * 1024);
    LocationsReadResult r;
    switch (file.status) {
    case ReadStatus::Read:
        return ParseLocations(file.content);
    case ReadStatus::Missing:
        r.status = LocationsReadResult::Status::Missing;
        return r;
    case ReadStatus::TooLarge:
        return damaged(QStringLiteral("file too large"));
    case ReadStatus::Unreadable:
        break;
    }
    r.status = LocationsReadResult::Status::Unreadable;
    r.error = file.error;
    return r;
}

bool WriteLocationsFile(const QString &path, const LocationList &list, QString *error)
{
    return WriteFileAtomically(path, FormatLocations(list), error);
}

} // namespace zx
