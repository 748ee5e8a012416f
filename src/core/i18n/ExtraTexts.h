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
};

QString extraText(ExtraText id, int sprache);

} // namespace zx
