#pragma once

#include <QString>

namespace zx::cli {

// The command line's own texts beyond the message catalogue, in the three built-in languages
// (1 German, 2 English, 3 French); --lang chooses.
enum class CliText {
    UnknownOption,
    NeedsValue,
    GivenTwice,
    Outside,            // %1 first, %2 last value
    OneOf,              // %1 the choices
    ProgramHasChannels, // %1 channel count
    StandardOutput,
    StandardInput,
    Exists,
    SameAsInput,
    NothingToPrint,
    NotADate,
    TooManyArguments,
    Missing,   // %1 what is missing
    NoSuchRow, // %1 row number
    NotAField,
    NoEntryMatches,
    SeveralEntriesMatch, // %1 count
    BusFinished,
    PermanentOnly,
    NotATime,
    ExcludeEachOther,        // %1, %2 the two options
    NotAnOptionOf,           // %1 the command
    BusDeviceTakes,          // %1 the options it takes instead
    ConventionalDeviceTakes, // %1 the options it takes instead
    WriteInterrupted,
    ReadInterrupted,
    UnknownCommand,
    NotJson, // %1 the parser's reason, %2 the offset
    JsonObjectRequired,
    DaysChanged,     // %1 count
    ConfigMissing,   // %1 path
    ConfigShort,     // %1 path, %2 lines
    ArgumentMissing, // %1 what (FILE.zxp)
    UnexpectedArgument,
    OneOfOptions, // %1 the options
    NoAstroList,
    ChoiceOf,     // %1 what, %2 the choices
    NotForChange, // %1 what
    FileRequired,
    NotAPosition,
};

QString cliText(CliText id, int language);

} // namespace zx::cli
