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
};

QString cliText(CliText id, int language);

} // namespace zx::cli
