#pragma once

#include <QString>

namespace zx {

// Texts of the windows and hints this program adds beyond the message catalogue (print preview,
// the help window, the missing chip tool), in the three built-in languages; a loaded language gets the
// English ones.
enum class ExtraText {
    Preview,
    HelpContents,
    HelpBack,
    HelpForward,
    HelpSearch,
    HelpMissing,
    HelpTitle,
    ChipToolMissing,
    ExportIsSource,
    ExportNotRegular,
    ExportCalendar,
    ExportCsv,
    CalendarFiles,
    AstroChannelsTogether,
    AstroHasNoPulses,
    EvenYearsRange,
    BusFreeHolidayYears,
    NoSuchHoliday,
    NoSuchHolidaySet,
    EmptyHolidaySet,
    NoHolidayDateAhead,
    DamagedHolidayFile,
    FileChangedOnDisk,
    FileChangedQuestion,
    NotADate,
    LanguageFileShort, // %1 path, %2 lines needed, %3 lines found
    ChooseOtherLanguage,
    DeleteSwitchingTimes, // %1 count
    DeletePriorityTimes,  // %1 count
    DeleteChangeovers,    // %1 first, %2 last entry number
    AstroDeleteDays,      // %1 count of days
    RecordOfRecords,      // %1 position, %2 count
    PrintFinished,
    ExportFinished,     // %1 path
    SavedAs,            // %1 path
    SettingsNotSaved,   // %1 path, %2 system text
    HolidaysNotSaved,   // %1 path, %2 system text
    FileNameCharacter,  // %1 the character
    BrandFileLookedFor, // %1 path
    AboutLicence,
    HelpFind,
    HelpNotFound, // %1 search text
    RenameSet,
    DeviceHoldsNoProgram,  // a read found an erased memory
    CalendarWritten,       // %1 path, %2 number of events
    RenameHoliday,         // button of the holiday dialog
    RenameHolidayQuestion, // %1 the holiday's name, %2 the new name
    HolidayFile,           // label of the holiday file choice
    AstroTableChanged,
    Count
};

QString extraText(ExtraText id, int sprache);

} // namespace zx
