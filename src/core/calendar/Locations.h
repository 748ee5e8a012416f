#pragma once

#include <QByteArray>
#include <QString>

#include <vector>

namespace zx {

class Catalogue;

// A named place of the locations file: the raw positions of the astro settings' longitude,
// latitude and time-zone bars (the offsets are no part of a place).
struct Location {
    QString name;
    int longitudePos = 0;
    int latitudePos = 0;
    int zonePos = 0;

    bool operator==(const Location &) const = default;
};

using LocationList = std::vector<Location>;

// Sort key of a name: its first three characters as codes of the legacy 8-bit encoding (a
// missing character counts 0, a character outside that encoding by its Unicode value).
qint64 LocationKey(const QString &name);

// A name as the file can hold it: commas, line breaks and other control characters become
// blanks, runs of blanks one blank, no blanks at either end. Empty when nothing is left.
QString CleanLocationName(const QString &name);

// Adds a place: an existing place of exactly that name takes the new positions; otherwise the
// place goes before the first place with a greater key, after those with an equal one.
void AddLocation(LocationList &list, const Location &place);
// Index of the first place with exactly these positions, -1 when there is none.
int FindLocation(const LocationList &list, int longitudePos, int latitudePos, int zonePos);

struct LocationsReadResult {
    enum class Status { Read, Missing, Damaged, Unreadable } status = Status::Missing;
    LocationList locations;
    QString error; // what is wrong, for Damaged and Unreadable

    // As for every reader: the file was read. A missing file is no fault to the callers (the
    // list starts empty) but they say so themselves.
    bool ok() const { return status == Status::Read; }
    bool readOrMissing() const { return ok() || status == Status::Missing; }
};

// The text of a locations file: the count, then one "name,longitude,latitude,zone" line per
// place. Lines end in CR LF; the reader accepts LF and blanks around the numbers too. A file
// whose count, lines or positions do not agree is damaged, never half read.
LocationsReadResult ParseLocations(const QByteArray &content);
QByteArray FormatLocations(const LocationList &list);

// The file of the interface language in the working directory (catalogue position 2).
QString LocationsFilePath(const Catalogue &catalogue, const QString &workDir);
LocationsReadResult ReadLocationsFile(const QString &path);
// Replaces the file as a whole; on failure the previous file stays and `error` says why.
bool WriteLocationsFile(const QString &path, const LocationList &list, QString *error);

} // namespace zx
