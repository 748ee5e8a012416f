#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QStringList>

#include <array>
#include <cstdint>
#include <functional>
#include <optional>

namespace zx {

class Model;
class Prompter;
class Clock;

constexpr int ImageSize = 2048;
using MemoryImage = std::array<std::uint8_t, ImageSize>;

enum class LoadResult : int {
    Loaded = 0,
    Invalid = 1,
    Missing = 2,
    GroupConflict = 3,
    MasterCard = 4,     // a master card holds options, not a program
    Unreadable = 5,     // something is there but cannot be read as a file; the user was told why
    OtherType517 = 517, // the file is for the annual device
    OtherType236 = 236, // the file is for the astro device
};

// What the loader found wrong with a program file, and where, so that every caller names the
// same reason: the text ends early, holds something that is no number 0..255, its checksum
// fails, or its record chain leaves the capacity or runs in a loop.
enum class LoadFault {
    None,
    TooLarge,           // larger than any program file
    Truncated,          // fewer than 2048 numbers; `line` is the last line
    NotANumber,         // `line` holds something else where a number belongs
    ValueOutOfRange,    // `value` above 255 on `line`
    Checksum,           // the values do not add up to 0 modulo 256; `value` is their sum
    LinkBeyondCapacity, // `value` links beyond `limit` record slots, on `line`
    ChainLoop,          // the chain visits more than `limit` slots; `line` is where it came back
};
struct LoadDetail {
    LoadFault fault = LoadFault::None;
    int line = 0; // 1-based line of the file; 0 where no single line is to blame
    int value = 0;
    int limit = 0;
    bool ok() const { return fault == LoadFault::None; }
};

// Header bytes 0..7 of set 0 at the given moment, as stored in HeaderBytes and written plain
// (byte 0, the checksum, still 0).
std::array<int, 8> BuildHeaderBytes(const Model &model, const QDateTime &now);

// Writes set 0 to its FileName as a program file. true: saved. A file that changed on disk
// since set 0 was loaded from it or saved to it is not replaced: the prompter is told why.
bool SaveProgram(Model &model, Prompter &prompter, const Clock &clock);

// Save with the file's text handed to `write` (standard output) instead of the set's FileName.
using ProgramTextWriter = std::function<bool(const QByteArray &text, QString *error)>;
bool SaveProgramWith(Model &model, Prompter &prompter, const Clock &clock, const ProgramTextWriter &write,
                     const QString &target);

// Whether set 0's file changed on disk since set 0 was loaded from it or saved to it.
bool FileChangedOnDisk(const Model &model);
// The user chose to replace what is on disk: the next Save does not ask again.
void AcceptDiskVersionLoss(Model &model);

// Loads a program file into set 0 or 1. A failed load leaves the model as it was (only a
// missing file stores the path as the set's FileName, as the callers expect). Only a regular
// file is read; for anything else (directory, FIFO, no permission) the prompter shows the
// system's text, which `reason` also receives, and the result is Unreadable.
LoadResult LoadProgram(Model &model, Prompter &prompter, const QString &path, bool skipTexts, int setIndex,
                       QString *reason = nullptr, LoadDetail *detail = nullptr);

// The first 2048 numbers of a program file or card.dat, as the file holds them (before
// undoing the nibble order); nullopt when the text holds fewer, or anything not a number 0..255.
std::optional<std::array<int, ImageSize>> ReadImageValues(const QByteArray &text);

// ----- the pure steps of saving and loading, without any file access ----------------------

// A program file larger than this is no program file (a real one is about 11 KB).
constexpr qint64 MaxProgramFileSize = 1024 * 1024;

// Number of texts after the image: the usage text and the eight channel names.
constexpr int ProgramTextCount = 9;

// The contents of a program file's text: the 2048 file values and the texts that follow them
// (missing texts are empty; channel names as they stand, without the appended blank).
struct ProgramText {
    std::array<int, ImageSize> values{};
    std::array<QString, ProgramTextCount> texts;
    std::array<int, ImageSize> lines{}; // the line each value stood on (1-based; 0 when not from a file)
};
std::optional<ProgramText> ParseProgramText(const QByteArray &text, LoadDetail *detail = nullptr);

// The file values (nibble order applied, checksum in byte 0) of set 0 as it stands: the records
// in their current order, DeviceCode as it is. `now` stamps bytes 4..7.
MemoryImage BuildImage(const Model &model, const QDateTime &now);

// The text of a program file: the image in its line layout, then usage text and channel names
// 0..7, every line ending in CR LF; the texts in Windows-1252 when they fit, else UTF-8. A text cannot hold a
// comma or a line break in this format; those are written as blanks. Channel names are written without
// trailing blanks (the reader appends one), so names stay the same however often a file is loaded and saved.
QByteArray FormatProgramText(const MemoryImage &fileValues, const QString &usageText,
                             const std::array<QString, 9> &channelNames);

// Decodes a parsed program file into set `setIndex` of the model and sorts it into display
// order. The model changes only when the result is Loaded.
LoadResult ApplyProgramText(Model &model, const ProgramText &parsed, bool skipTexts, int setIndex,
                            LoadDetail *detail = nullptr);

// ParseProgramText and ApplyProgramText in one: Invalid when the text does not parse.
LoadResult LoadProgramText(Model &model, const QByteArray &text, bool skipTexts, int setIndex,
                           LoadDetail *detail = nullptr);

// Called after every successful load to derive ModelName from brand, channel count and
// DeviceCode (DeriveModelName).
void deriveModelNameAfterLoad(Model &model);

} // namespace zx
