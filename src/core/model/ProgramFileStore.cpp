// The program file on disk: saving with the questions the user answers first, loading, and
// noticing a file that another program changed since. The text format itself is ProgramFile.cpp's.
#include "model/ProgramFile.h"

#include "i18n/ExtraTexts.h"
#include "i18n/Msg.h"
#include "model/DeviceCodes.h"
#include "model/ListOrder.h"
#include "model/Model.h"
#include "platform/Clock.h"
#include "platform/FileAccess.h"
#include "platform/Prompter.h"

namespace zx {

namespace {

bool hasNoData(const Model &model)
{
    const ProgramSet &p = model.program();
    return p.DstCount == 0 && p.UsedCount == 0 && model.astro.AstroPresent == 0 &&
           model.device.MessKanal == 0 && !model.ExportEmptyConfirmed;
}

// Sorts set 0 back into display order however the save ends.
class DisplayOrderOnExit {
  public:
    DisplayOrderOnExit(Model &model, Prompter &prompter) : model_(model), prompter_(prompter) {}
    ~DisplayOrderOnExit() { SortRecords(model_, DisplayOrder, SetProgram, &prompter_); }
    DisplayOrderOnExit(const DisplayOrderOnExit &) = delete;
    DisplayOrderOnExit &operator=(const DisplayOrderOnExit &) = delete;

  private:
    Model &model_;
    Prompter &prompter_;
};

} // namespace

bool SaveProgramWith(Model &model, Prompter &prompter, const Clock &clock, const ProgramTextWriter &write,
                     const QString &target)
{
    const auto busy = prompter.busy();
    const Catalogue &text = model.catalogue;
    ProgramSet &p = model.program();

    if (hasNoData(model)) {
        if (prompter.ask(text(Msg::NoDataToSaveDo), Buttons::OkCancel, Icon::Question) != Answer::Ok)
            return false;
        p.ProgramNumber = NoProgramNumber;
    }
    const DisplayOrderOnExit sortBack(model, prompter);
    if (p.DstCount == 0 && model.device.SwRegel == RuleTable) {
        prompter.tell(text(Msg::SelectAnOtherChangeoverRule), Icon::Critical);
        return false;
    }
    SortRecords(model, DeviceOrder, SetProgram, &prompter);
    if (p.DstCount > 0 && model.device.SwRegel != RuleTable) {
        if (prompter.ask(text(Msg::ThereIsAChangeoverTable), Buttons::YesNo, Icon::Question) == Answer::Yes)
            model.device.SwRegel = RuleTable;
    }
    if (model.device.Uhrentyp != TypeAstro)
        model.device.DeviceCode = AnnualDeviceCode(model.device.DeviceCode, model.HasSpecialPriority());

    if (target.trimmed().isEmpty()) {
        prompter.tell(text(Msg::NoValidFilename).trimmed(), Icon::Critical);
        return false;
    }

    const QDateTime now = clock.now();
    const MemoryImage image = BuildImage(model, now);
    QString error;
    if (!write(FormatProgramText(image, p.UsageText, p.ChannelNames), &error)) {
        prompter.tell(FileErrorText(target, error), Icon::Critical);
        return false;
    }
    // the header as last written, checksum byte left at 0
    const auto header = BuildHeaderBytes(model, now);
    for (std::size_t i = 0; i < header.size(); ++i)
        p.HeaderBytes[i] = header[i];
    model.Modified = 0;
    return true;
}

bool SaveProgram(Model &model, Prompter &prompter, const Clock &clock)
{
    ProgramSet &p = model.program();
    if (FileChangedOnDisk(model)) {
        prompter.tell(
            FileErrorText(p.FileName, extraText(ExtraText::FileChangedOnDisk, model.device.Sprache)),
            Icon::Critical);
        return false;
    }
    const QString path = p.FileName;
    const bool saved = SaveProgramWith(
        model, prompter, clock,
        [&path](const QByteArray &text, QString *error) { return WriteFileAtomically(path, text, error); },
        path);
    if (saved) {
        p.StampedFile = path;
        p.DiskStamp = StampOf(path);
    }
    return saved;
}

bool FileChangedOnDisk(const Model &model)
{
    const ProgramSet &p = model.program();
    if (p.StampedFile.isEmpty() || p.StampedFile != p.FileName)
        return false;
    return StampOf(p.FileName) != p.DiskStamp;
}

void AcceptDiskVersionLoss(Model &model)
{
    model.program().StampedFile.clear();
    model.program().DiskStamp = {};
}

LoadResult LoadProgram(Model &model, Prompter &prompter, const QString &path, bool skipTexts, int setIndex,
                       QString *reason, LoadDetail *detail)
{
    if (detail)
        *detail = {};
    const auto busy = prompter.busy();
    const FileContent read = ReadRegularFile(path, MaxProgramFileSize);
    if (read.status == ReadStatus::Missing) {
        model.set(setIndex).FileName = path;
        return LoadResult::Missing;
    }
    if (read.status == ReadStatus::Unreadable) {
        if (reason)
            *reason = read.error;
        prompter.tell(FileErrorText(path, read.error), Icon::Critical);
        return LoadResult::Unreadable;
    }
    if (!read.ok()) {
        if (detail)
            detail->fault = LoadFault::TooLarge;
        return LoadResult::Invalid;
    }
    const QByteArray &content = read.content;
    const LoadResult result = LoadProgramText(model, content, skipTexts, setIndex, detail);
    if (result == LoadResult::Loaded) {
        ProgramSet &set = model.set(setIndex);
        set.FileName = path;
        set.StampedFile = path;
        set.DiskStamp = read.stamp;
    }
    return result;
}

} // namespace zx
