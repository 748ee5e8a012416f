#pragma once

#include <QByteArray>
#include <QString>

#include <array>
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
    MasterCard = 4,       // a master card holds options, not a program
    OtherType517 = 517,   // the file is for the annual device
    OtherType236 = 236,   // the file is for the astro device
};

// Writes set 0 to its FileName as a program file. true: saved.
bool SaveProgram(Model &model, Prompter &prompter, const Clock &clock);

// Loads a program file into set 0 or 1. A failed load leaves the model as it was.
LoadResult LoadProgram(Model &model, Prompter &prompter, const QString &path, bool skipTexts, int setIndex);

// The first 2048 numbers of a program file or card.dat, as the file holds them (before
// undoing the nibble order); nullopt when the text holds fewer, or anything not a number 0..255.
std::optional<std::array<int, ImageSize>> ReadImageValues(const QByteArray &text);

} // namespace zx
