#include "app/StartUp.h"

#include "i18n/ExtraTexts.h"

#include "calendar/Holidays.h"

#include "app/DefaultFileName.h"
#include "model/BrandTable.h"
#include "model/Model.h"
#include "platform/Prompter.h"
#include "platform/ToolLauncher.h"
#include "views/ListFormatter.h"

#include <QDir>
#include <QFileInfo>

namespace zx {

std::vector<ModelEntry> ModelList(int brandNumber)
{
    const Brand &brand = BrandTable(brandNumber);
    std::vector<ModelEntry> list;
    for (int slot = 1; slot <= SlotCount; ++slot) {
        if (brand.offers(slot))
            list.push_back({slot, brand.slotName(slot)});
    }
    return list;
}

int PreselectedSlot(const Model &model)
{
    using namespace Slot;
    const DeviceProperties &d = model.device;
    if (d.Uhrentyp == TypeAstro)
        return S19;
    if (d.Uhrentyp != TypeAnnual)
        return 0;
    // Bus programming is written as -1 and reads back as 1; either means the bus model.
    const bool bus = d.Busprog != 0;
    const bool channelsKnown = d.Kanalzahl >= 1 && d.Kanalzahl <= 4;
    if (d.Bewft == 1) {
        if (bus)
            return S14;
        if (!channelsKnown)
            return 0;
        return (d.Evu == 1 ? S15 : S10) + d.Kanalzahl - 1;
    }
    if (d.Bewft == 0) {
        if (bus)
            return S5;
        if (!channelsKnown)
            return 0;
        return (d.Evu == 1 ? S6 : S1) + d.Kanalzahl - 1;
    }
    return 0;
}

int PreselectedIndex(const Model &model)
{
    const int slot = PreselectedSlot(model);
    const auto list = ModelList(model.BrandNumber);
    for (std::size_t i = 0; i < list.size(); ++i) {
        if (list[i].slot == slot)
            return static_cast<int>(i);
    }
    return 0;
}

void ApplySlot(Model &model, int slot)
{
    if (slot < 1 || slot > SlotCount)
        return;
    const SlotProperties &p = SlotPropertiesOf(slot);
    DeviceProperties &d = model.device;
    d.Kanalzahl = p.channels;
    d.Uhrentyp = p.uhrentyp;
    d.Busprog = p.busprog;
    d.DeviceCode = p.deviceCode;
    d.RecordCapacity = p.recordCapacity;
    d.Evu = p.evu;
    d.Bewft = p.bewft;
}

int ApplySlotByName(Model &model, const QString &name)
{
    using namespace Slot;
    static const int order[SlotCount] = {S1,  S2,  S3,  S4,  S5,  S6,  S7,  S8,  S9, S19,
                                         S10, S11, S12, S13, S14, S15, S16, S17, S18};
    const Brand &brand = BrandTable(model.BrandNumber);
    for (int slot : order) {
        if (brand.offers(slot) && brand.slotName(slot) == name) {
            ApplySlot(model, slot);
            return slot;
        }
    }
    return 0;
}

StartPreparation PrepareStartScreen(Model &model, const QString &dir)
{
    StartPreparation prep;
    const ConfigReadResult config = ReadConfigValues(QDir(dir).filePath(ConfigFileName()));
    prep.configStatus = config.status;
    prep.errorText = config.errorText;
    if (config.status == ConfigStatus::Read)
        ApplyConfigValues(model, config.values);
    else
        ApplyConfigDefaults(model);

    // New starts from a clean document: nothing of the program, the sample or the editor state
    // before it stays behind (a bus sample kept in memory would refuse the next conventional file).
    // The texts of set 0 stay until OK gives them their new values: the main window that is
    // still open would otherwise take its fields for changes.
    {
        ProgramSet &p = model.program();
        const QString usage = p.UsageText;
        const QString file = p.FileName;
        const auto names = p.ChannelNames;
        p.clear();
        p.UsageText = usage;
        p.FileName = file;
        p.ChannelNames = names;
    }
    model.set(SetTemplate).clear();
    model.EditMode = 0;
    model.ExportEmptyConfirmed = 0;
    model.automation.AutomationActive = 0;
    model.resetForStart();
    // A fresh program: nothing to save yet and no name chosen by the user.
    model.Modified = 0;
    model.FileNamed = 0;
    // Marks pointed into the program that is gone.
    model.Marked.clear();
    model.FirstMarked = 0;
    model.LastMarked = -1;
    // The main window starts on the switching times of the program, whatever it showed before.
    model.ListView = ListSwitching;
    model.CurrentSet = SetProgram;
    model.transfer.LongDelayFactor = 50;

    prep.models = ModelList(model.BrandNumber);
    prep.selectedIndex = PreselectedIndex(model);
    return prep;
}

bool ConfirmStartScreen(Model &model, const QString &selectedName, const QString &dir, Prompter &prompter)
{
    QString error;
    Catalogue filled = model.catalogue;
    if (!filled.fill(model.device.Sprache, model.BrandNumber, dir, &error)) {
        if (model.device.Sprache == Loaded) {
            // A damaged "speech.txt" would fail every OK again: the screen falls back to the
            // language it speaks and lets the user choose.
            const int fallback = model.catalogue.language() == Loaded ? English : model.catalogue.language();
            error += QStringLiteral("\n\n") + extraText(ExtraText::ChooseOtherLanguage, fallback);
            model.device.Sprache = fallback;
        }
        prompter.tell(error, Icon::Critical);
        return false;
    }
    model.catalogue = filled;
    model.device.ModelName = selectedName;
    // A bus model starts as a bus program, so that the entry dialogs offer channel and value at
    // once instead of after the first bus file.
    if (ApplySlotByName(model, selectedName) != 0)
        model.device.BusDevice = model.device.Busprog != 0 ? 1 : 0;

    ProgramSet &program = model.program();
    program.FileName = DefaultFileName(dir, model.catalogue, prompter);
    program.UsageText = model.catalogue(Msg::Unknown);
    for (QString &name : program.ChannelNames)
        name.clear();

    // A configuration that cannot be written only costs the settings of the next start.
    if (!WriteConfigFile(model, QDir(dir).filePath(ConfigFileName()), &error))
        prompter.tell(error, Icon::Critical);

    model.astro.clearTable();
    ReadHolidayLibrary(model, dir, prompter);
    return true;
}

void ReadHolidayLibrary(Model &model, const QString &dir, Prompter &prompter)
{
    // A missing file is a fresh installation's empty library; a damaged one is reported and the
    // dialog will not replace it by an empty library.
    HolidayLibrary loaded;
    const HolidayFileResult result = LoadHolidays(HolidayFilePath(model, dir), loaded);
    model.holidays = loaded;
    if (result.status == HolidayLoad::Damaged)
        prompter.tell(model.catalogue(Msg::IllegalFile) + QLatin1Char('\n') + result.error, Icon::Critical);
    else if (result.status == HolidayLoad::Unreadable)
        prompter.tell(result.error, Icon::Critical);
}

bool SiblingToolOffered(int brandNumber, int sprache, const QString &dir)
{
    return brandNumber == 1 && sprache == German && QFileInfo(QDir(dir).filePath(SiblingToolName())).isFile();
}

bool StartSiblingTool(ToolLauncher &launcher, Prompter &prompter, const QString &dir)
{
    QString error;
    const QString program = QDir(dir).absoluteFilePath(SiblingToolName());
    if (launcher.start(program, {}, dir, &error))
        return true;
    prompter.tell(QStringLiteral("Error ") + error, Icon::Critical);
    return false;
}

LoadedLanguageResult ChooseLoadedLanguage(Model &model, Prompter &prompter, const QString &startDir)
{
    if (model.device.Sprache == Loaded)
        return LoadedLanguageResult::AlreadyChosen;
    const auto path = prompter.chooseOpenFile({}, QStringLiteral("*.ln1|*.ln1"), startDir);
    if (!path)
        return LoadedLanguageResult::Cancelled;

    QString error;
    Catalogue loaded = model.catalogue;
    const bool read = loaded.readLanguageFile(*path, &error);
    // The file dialog may have wandered off; the data files are found from the start directory.
    QDir::setCurrent(startDir);
    if (!read) {
        prompter.tell(error, Icon::Critical);
        return LoadedLanguageResult::Failed;
    }
    if (!loaded.writeLanguageFile(QDir(startDir).filePath(SpeechFileName()), &error)) {
        prompter.tell(error, Icon::Critical);
        return LoadedLanguageResult::Failed;
    }
    model.catalogue = loaded;
    model.device.Sprache = Loaded;
    return LoadedLanguageResult::Loaded;
}

} // namespace zx
