#pragma once

#include "app/ConfigFile.h"

#include <QString>

#include <vector>

namespace zx {

class Model;
class Prompter;
class ToolLauncher;

// One entry of the start screen's model list.
struct ModelEntry {
    int slot; // 1..19
    QString name;
};

// The brand's models in slot order, without the slots it does not offer.
std::vector<ModelEntry> ModelList(int brandNumber);

// The slot the settings describe (0 when none): the astro device, else by write protection,
// bus programming (read back as 1), utility option and channel count.
int PreselectedSlot(const Model &model);

// Index into ModelList of the entry to preselect: the described slot, or the first entry
// when the brand does not offer it.
int PreselectedIndex(const Model &model);

// Sets channels, device type, bus programming, device code, record capacity, utility option
// and write protection from a slot.
void ApplySlot(Model &model, int slot);

// Applies the first slot of the brand whose name is the given text, comparing in the order
// S1..S5, S6..S9, S19, S10..S13, S14, S15..S18. Returns the slot, 0 when no slot matched (the
// properties then stay as they are).
int ApplySlotByName(Model &model, const QString &name);

// What opening the start screen found.
struct StartPreparation {
    ConfigStatus configStatus = ConfigStatus::Missing;
    QString errorText; // the system's text when the configuration was unreadable
    std::vector<ModelEntry> models;
    int selectedIndex = 0;
};

// Opening the start screen: reads "zentrix.ini" from dir (or takes the defaults when it is
// missing, short or unreadable), sets program set 0 and the options up for a new program and
// builds the model list with its preselection. model.BrandNumber must be set.
StartPreparation PrepareStartScreen(Model &model, const QString &dir);

// OK on the start screen: applies the chosen model, fills the catalogue for the chosen
// language, gives set 0 its default file name, usage text and empty channel names, writes
// "zentrix.ini", clears the astro table and reads the holiday file. False when the catalogue could not be
// filled (the loaded language's "speech.txt" is missing or broken): the error was shown and the start screen
// stays.
bool ConfirmStartScreen(Model &model, const QString &selectedName, const QString &dir, Prompter &prompter);

// Reads the language's holiday file from dir into the model's library (an empty library when it
// is missing); a file that cannot be read is reported and leaves the library empty.
void ReadHolidayLibrary(Model &model, const QString &dir, Prompter &prompter);

// The sibling tool offered on the start screen of brand 1 in German.
inline QString SiblingToolName()
{
    return QStringLiteral("ZX4TOOL.exe");
}
bool SiblingToolOffered(int brandNumber, int sprache, const QString &dir);
// Starts the sibling tool from dir; a failure is shown as "Error " and the system's text.
bool StartSiblingTool(ToolLauncher &launcher, Prompter &prompter, const QString &dir);

// Result of choosing a language file on the start screen.
enum class LoadedLanguageResult { Loaded, AlreadyChosen, Cancelled, Failed };

// The fourth language: asks for a "*.ln1" file, reads it into the catalogue, makes startDir
// current again, keeps a copy as "speech.txt" in startDir and sets Sprache 4. A file that
// cannot be read is reported with the system's text and changes nothing.
LoadedLanguageResult ChooseLoadedLanguage(Model &model, Prompter &prompter, const QString &startDir);

// The persistent copy of the last loaded language.
inline QString SpeechFileName()
{
    return QStringLiteral("speech.txt");
}

} // namespace zx
