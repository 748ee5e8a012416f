#pragma once

#include <QString>

#include <array>
#include <vector>

namespace zx {

class Model;

constexpr int ConfigLines = 18;

// One line of "zentrix.ini": the key text the writer puts in front of the value, and how many
// characters at the end of the line the reader takes as the value. Some key texts end in
// zeros that pad the value to that width; the line's position, not its key, says what it is.
struct ConfigKey {
    const char *written;
    int width;
    const char *name; // the key without its padding zeros, for listings
};

const std::array<ConfigKey, ConfigLines> &ConfigKeys();

// The 18 values in file order, as they stand in the file (DELAY not yet multiplied by 4).
using ConfigValues = std::array<int, ConfigLines>;

enum class ConfigStatus {
    Read,    // all 18 lines read
    Missing, // no such file
    Short,   // fewer than 18 lines
    Error,   // the file exists but could not be read; errorText says why
};

struct ConfigReadResult {
    ConfigStatus status = ConfigStatus::Missing;
    ConfigValues values{};
    int lineCount = 0;
    QString errorText;
};

inline QString ConfigFileName()
{
    return QStringLiteral("zentrix.ini");
}

// The number at the end of a line: blanks skipped, an optional sign, then digits up to the
// first other character; no digits give 0.
int ConfigNumber(const QString &text);

// Reads the file. Only the last `width` characters of each line count, so "BUSPROG=-1" reads
// back as 1.
ConfigReadResult ReadConfigValues(const QString &path);

// Whether a value read from line `line` (0-based) is one the program can work with.
bool ConfigValueInRange(int line, int value);

// The read values with every value out of its range replaced by the default of a missing file
// for the model's brand (a damaged KANALZAHL=9 would otherwise be written back as 1).
// `replaced`, when given, receives the lines that were replaced.
ConfigValues ConfigValuesInRange(const Model &model, const ConfigValues &values,
                                 std::vector<int> *replaced = nullptr);

// Puts read values into the model: device properties, the device language, the astro channel
// option and the transfer settings (the delay kept multiplied by 4). Values out of range fall
// back to the defaults (ConfigValuesInRange).
void ApplyConfigValues(Model &model, const ConfigValues &values);

// The values the writer puts into the file, taken from the model (the delay divided by 4).
ConfigValues ConfigValuesOf(const Model &model);

// The file text: 18 lines of key text and value, each ending in CR LF.
QByteArray ConfigText(const ConfigValues &values);

// Replaces the file with the model's settings; false with the system's text on failure.
bool WriteConfigFile(const Model &model, const QString &path, QString *error = nullptr);

// Settings of a first start or of a file that is missing or has fewer than 18 lines: the
// properties of the brand's first model, everything else as a fresh model has it.
void ApplyConfigDefaults(Model &model);

} // namespace zx
