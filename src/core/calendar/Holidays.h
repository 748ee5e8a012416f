#pragma once

#include "model/HolidayLibrary.h"

#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace zx {

class Model;

struct CalendarDate {
    int day = 0;
    int month = 0;
    int year = 0;
    friend auto operator<=>(const CalendarDate &a, const CalendarDate &b)
    {
        if (a.year != b.year)
            return a.year <=> b.year;
        if (a.month != b.month)
            return a.month <=> b.month;
        return a.day <=> b.day;
    }
    friend bool operator==(const CalendarDate &, const CalendarDate &) = default;
};

// Whether a holiday's values are ones the device and the dialog can hold.
bool IsValidHoliday(const Holiday &h);

// A name as the file can keep it: a comma would end the name and a line break the record, so
// both become blanks; blanks at either end are dropped.
QString CleanHolidayName(const QString &name);

// The date of a holiday in a year; a free holiday may fall into the year before or after (the
// Monday before 3 January). None for 29 February in a common year or invalid values.
std::optional<CalendarDate> HolidayDate(const Holiday &h, int year);

// ---- editing (the holiday dialog and the CLI call these) ----

enum class HolidayChange { Appended, Changed, Refused };

// Adds a holiday, or changes the date values of the holiday with the same name (the name is
// what tells holidays apart). A new name always makes a new holiday, even on a date another
// holiday has: no holiday is ever renamed by adding. Refused for an empty name or invalid values.
HolidayChange AddOrChangeHoliday(HolidayLibrary &library, Holiday holiday);
// Gives holiday `index` (0-based) another name; the sets refer to it by number, so they show the
// new name. False (nothing changes) for an empty name or one another holiday has.
bool RenameHoliday(HolidayLibrary &library, int index, const QString &name);
// Removes holiday `index` (0-based) and its membership in every set; the member numbers above it
// move down by one.
void DeleteHoliday(HolidayLibrary &library, int index);
// Appends an empty set; false for an empty or taken name or when MaxHolidaySets exist.
bool AddHolidaySet(HolidayLibrary &library, const QString &name);
// Gives a set another name; false (nothing changes) for an empty name or one another set has.
bool RenameHolidaySet(HolidayLibrary &library, int setIndex, const QString &name);
void DeleteHolidaySet(HolidayLibrary &library, int setIndex);
// Adds holiday `index` (0-based) to a set; false when it is a member already or the set is full.
bool AddToHolidaySet(HolidayLibrary &library, int setIndex, int index);
// Removes member position `position` (0-based) of a set.
void RemoveFromHolidaySet(HolidayLibrary &library, int setIndex, int position);

// ---- texts ----

// A day and month in the interface language, as the lists and the dialogs show it.
QString DayMonthText(const Model &model, int day, int month);
// "Holiday at eastern + 1" style name of an Easter day code with no holiday of its own.
QString EasterCodeFallbackName(const Model &model, int easterCode);
// "5. May" / "May, 5. " style description of a holiday, as the dialog's label shows it.
QString Describe(const Model &model, const Holiday &h);
// The text of an Easter offset: "eastern", "2 day(s) before eastern", "39 day(s) after eastern".
QString EasterOffsetText(const Model &model, int offset);
// The name of the library's first Easter-relative holiday with this day code, or the generic
// "Holiday at eastern + 1" name.
QString EasterCodeName(const Model &model, const HolidayLibrary &library, int code);

// ---- the holiday file ----

enum class HolidayLoad { Ok, Missing, Unreadable, Damaged };

struct HolidayFileResult {
    HolidayLoad status = HolidayLoad::Ok;
    QString error; // the system's text for Missing and Unreadable, the damaged line otherwise
    bool ok() const { return status == HolidayLoad::Ok; }
};

// Parses the text of a holiday file; on failure `library` stays as it was.
HolidayFileResult ParseHolidays(const QByteArray &bytes, HolidayLibrary &library);
// Reads a holiday file; on failure `library` stays as it was.
HolidayFileResult LoadHolidays(const QString &path, HolidayLibrary &library);
// The text of a holiday file: Windows-1252 when every character fits, UTF-8 otherwise; CR LF.
QByteArray HolidayFileText(const HolidayLibrary &library);
// Replaces the file as a whole; on failure the previous file stays and `error` says why.
bool SaveHolidays(const QString &path, const HolidayLibrary &library, QString *error);

class Prompter;

enum class HolidaySave { Saved, Declined, Failed };
// Writes the library over the holiday file as the holiday dialog does. A file that is there but
// did not load holds holidays the library never got: the user is asked first, and on Yes the
// damaged file is kept beside it (DamagedHolidayCopyPath) before it is replaced. A file that
// cannot be read at all is not replaced. Failed: `error` says why, and the file is as it was.
HolidaySave SaveHolidaysOverDamaged(const Model &model, Prompter &prompter, const QString &path,
                                    const HolidayLibrary &library, QString *error);
// "deutsch.hdy.damaged", or with a number when that name is taken already.
QString DamagedHolidayCopyPath(const QString &path);

// Path of the holiday file in the working directory: the one the user chose (SwitchHolidayFile),
// else the interface language's (the catalogue names it).
QString HolidayFilePath(const Model &model, const QString &workDir);
// The holiday files to choose from: the language's, then every "*.hdy" of the working directory
// (another country's holidays), by name.
QStringList HolidayFileNames(const Model &model, const QString &workDir);
// Makes another holiday file of the working directory the library (its holidays and sets) and
// remembers the choice there, so the file is the one written back and read at the next start.
// On failure the library and the choice stay as they were, and `error` is the whole message.
HolidayFileResult SwitchHolidayFile(Model &model, const QString &workDir, const QString &name);

} // namespace zx
