#include "transfer/DeviceTransfer.h"

#include "i18n/ExtraTexts.h"

#include "app/AppContext.h"
#include "app/DefaultFileName.h"
#include "app/LoadFailure.h"
#include "app/ProgramComparison.h"
#include "app/UnsavedChanges.h"
#include "model/DeviceReadProgram.h"
#include "model/Model.h"
#include "model/ProgramFile.h"
#include "platform/ComPortMap.h"
#include "platform/FileAccess.h"
#include "platform/Prompter.h"
#include "platform/ToolLauncher.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStandardPaths>

namespace zx {

namespace {

QByteArray numberLine(int value)
{
    return ' ' + QByteArray::number(value) + " \r\n";
}

} // namespace

DeviceTransfer::DeviceTransfer(AppContext &context, SerialPort &port, TransferProgress *progress)
    : ctx_(context), port_(port), progress_(progress), chipTool_(ChipToolProgram())
{
}

QByteArray DeviceTransfer::RequestText(const Model &model, const QString &direction, const QString &lastLine)
{
    const int delay = model.transfer.Delay;
    QByteArray text = direction.toUtf8() + "\r\n";
    text += numberLine(model.transfer.PortSetting);
    text += numberLine(delay);
    text += numberLine(delay * model.transfer.LongDelayFactor);
    text += numberLine(model.device.Sprache);
    text += lastLine.toUtf8() + "\r\n";
    return text;
}

bool DeviceTransfer::WriteRequestFile(const QString &dir, const QByteArray &text, QString *error)
{
    const QString path = QDir(dir).filePath(QLatin1String(SerialLink::RequestFileName));
    QString reason;
    if (WriteFileAtomically(path, text, &reason))
        return true;
    *error = path + QStringLiteral(": ") + reason;
    return false;
}

std::optional<ChipToolResult> DeviceTransfer::ReadResultFile(const QString &path)
{
    const FileContent file = ReadRegularFile(path, 4096);
    if (!file.ok())
        return std::nullopt;
    const QStringList items = QString::fromLatin1(file.content)
                                  .split(QRegularExpression(QStringLiteral("[,\\s]+")), Qt::SkipEmptyParts);
    bool ok = false;
    ChipToolResult result;
    result.code = items.value(0).toInt(&ok);
    if (!ok)
        return std::nullopt;
    result.address = items.value(1).toInt();
    return result;
}

QString DeviceTransfer::ResultText(const Model &model, const ChipToolResult &result)
{
    const Catalogue &c = model.catalogue;
    const QString address = QString::number(result.address);
    switch (result.code) {
    case 1:
        return c(Msg::NoProgramingAdapterAtLPT) + QString::number(model.transfer.PortSetting) +
               c(Msg::OrDelayToLow);
    case 2:
        return c(Msg::NoZentrixAtThePrograming) + c(Msg::OrDelayToLow);
    case 4:
    case 5:
        return c(Msg::ErrorWhileWritingAddress) + address + c(Msg::TryToIncreaseDelay);
    case 6:
        return c(Msg::ErrorWhileWritingInAddress) + address + c(Msg::TryToIncreaseDelay);
    case 7:
        return c(Msg::ErrorWhileSendingTheRead) + QStringLiteral(",") + c(Msg::TryToIncreaseDelay);
    default:
        return {};
    }
}

QString DeviceTransfer::ChipToolProgram()
{
    const QString beside =
        QCoreApplication::instance()
            ? QDir(QCoreApplication::applicationDirPath()).filePath(QLatin1String(ChipToolName))
            : QString();
    if (QFileInfo(beside).isExecutable())
        return beside;
    const QString onPath = QStandardPaths::findExecutable(QLatin1String(ChipToolName));
    return onPath.isEmpty() ? QString::fromLatin1(ChipToolName) : onPath;
}

void DeviceTransfer::WriteCommand(const std::function<bool()> &save)
{
    Model &m = ctx_.model;
    Prompter &p = ctx_.prompter;
    succeeded_ = false;
    const ProgramSet &program = m.program();
    if (program.DstCount == 0 && program.UsedCount == 0 && !m.astro.AstroPresent) {
        if (p.ask(m.catalogue(Msg::NoDataToSaveDo), Buttons::OkCancel, Icon::None) != Answer::Ok)
            return;
        // The save must not ask the same question a second time.
        m.ExportEmptyConfirmed = 1;
        const bool saved = SaveProgram(m, p, ctx_.clock);
        m.ExportEmptyConfirmed = 0;
        if (!saved)
            return;
    }
    if (m.device.Uhrentyp == TypeAstro && !m.astro.AstroPresent) {
        if (p.ask(m.catalogue(Msg::ThereAreNoAstrotimesReally), Buttons::OkCancel, Icon::None) != Answer::Ok)
            return;
    }
    if (m.Modified) {
        if (p.ask(m.catalogue(Msg::YouCanOnlyExportSaved), Buttons::OkCancel, Icon::None) != Answer::Ok)
            return;
        if (!save || !save())
            return;
    }
    Transfer(QStringLiteral("s"));
}

void DeviceTransfer::ReadCommand(const std::function<bool()> &save)
{
    Model &m = ctx_.model;
    succeeded_ = false;
    // A save that failed or was cancelled stops the read: the changes exist nowhere else.
    if (!SaveChangesFirst(m, ctx_.prompter, save))
        return;
    m.Modified = 0;
    reading_ = true;
    Transfer(QStringLiteral("l"));
}

void DeviceTransfer::emptyProgramLists()
{
    ProgramSet &program = ctx_.model.program();
    program.SzCount = 0;
    program.DstCount = 0;
    program.PzCount = 0;
    // The records in use are the switching and priority times; none are left.
    program.UsedCount = 0;
    ctx_.model.Marked.clear();
}

bool DeviceTransfer::runSerialLink()
{
    const ComPortMap ports(ctx_.workDir);
    SerialLink link(port_, ctx_.pump, ctx_.prompter, ctx_.model.catalogue, ctx_.workDir, progress_, timings_);
    return link.SerialTransfer(serialEndpointFor(ctx_.model.transfer.PortSetting, ports)) == 0;
}

bool DeviceTransfer::runChipTool(const QString &direction)
{
    Model &m = ctx_.model;
    const QString resultPath = QDir(ctx_.workDir).filePath(QLatin1String(ResultFileName));
    // A result file seen after the tool has run must belong to this transfer.
    QFile::remove(resultPath);

    QString error;
    if (!ctx_.launcher.start(chipTool_, {}, ctx_.workDir, &error)) {
        // Nothing beside the program or on the PATH: say what to install instead of the
        // system's bare "No such file or directory".
        const bool missing =
            !QFileInfo::exists(chipTool_) && QStandardPaths::findExecutable(chipTool_).isEmpty();
        ctx_.prompter.tell(missing ? extraText(ExtraText::ChipToolMissing, m.device.Sprache).arg(chipTool_)
                                   : error,
                           Icon::Critical);
    } else {
        // The tool runs on its own; the user confirms this message once it has finished.
        ctx_.prompter.tell(m.catalogue(Msg::AccessToZentrixFinished));
        if (const auto result = ReadResultFile(resultPath)) {
            const QString text = ResultText(m, *result);
            if (!text.isEmpty())
                ctx_.prompter.tell(text, Icon::Critical);
            return text.isEmpty();
        }
    }
    if (direction == QLatin1String("l") && !readTarget_)
        emptyProgramLists();
    ctx_.prompter.tell(m.catalogue(Msg::AccessToZentrixNotSuccessful));
    return false;
}

bool DeviceTransfer::loadReadBackImage()
{
    Model &m = ctx_.model;
    const QString card = QDir(ctx_.workDir).filePath(QLatin1String(SerialLink::ReadBackFileName));
    // An erased memory passes every check of the loader except the device code: it is told as
    // what it is, not as a damaged file.
    const bool erased = IsErasedImageFile(card);
    if (readTarget_) {
        // A separate document: the program in memory and its file name stay as they are.
        if (erased) {
            ctx_.prompter.tell(extraText(ExtraText::DeviceHoldsNoProgram, m.device.Sprache), Icon::Critical);
            return false;
        }
        readTarget_->set(SetTemplate).clear();
        const LoadResult result = LoadForComparison(*readTarget_, ctx_.prompter, card);
        if (result == LoadResult::Loaded)
            return true;
        if (result != LoadResult::Unreadable)
            ctx_.prompter.tell(
                m.catalogue(result == LoadResult::Missing ? Msg::NoSuchFile : Msg::IllegalFile),
                Icon::Critical);
        return false;
    }
    ProgramSet &program = m.program();
    program.FileName = card;
    const LoadResult result =
        erased ? LoadResult::Invalid : LoadProgram(m, ctx_.prompter, card, true, SetProgram);
    GiveReadProgramDeviceTexts(m);
    program.FileName = DefaultFileName(ctx_.workDir, m.catalogue, ctx_.prompter);
    if (result != LoadResult::Loaded) {
        // The system's text of an unreadable file has been shown already. A program of another
        // device type or group, or a master card, loads nothing: the program in memory is not
        // the device's and is not passed off as read.
        if (erased)
            ctx_.prompter.tell(extraText(ExtraText::DeviceHoldsNoProgram, m.device.Sprache), Icon::Critical);
        else if (result != LoadResult::Unreadable)
            ctx_.prompter.tell(LoadFailureText(m, result), Icon::Critical);
        emptyProgramLists();
        return false;
    }
    m.Modified = 1;
    // A program that came from a device has no file of the user's yet: Save asks for a name.
    m.FileNamed = 0;
    m.CurrentSet = SetProgram;
    return true;
}

void DeviceTransfer::Transfer(const QString &direction)
{
    verified_ = false;
    const bool written = transferOnce(direction) && direction == QLatin1String("s");
    if (written && verify_)
        verifyWrittenProgram();
    if (redraw_)
        redraw_();
}

bool DeviceTransfer::ReadInto(Model &document)
{
    readTarget_ = &document;
    reading_ = true;
    const bool read = transferOnce(QStringLiteral("l"));
    readTarget_ = nullptr;
    return read;
}

void DeviceTransfer::verifyWrittenProgram()
{
    Model &m = ctx_.model;
    Model readBack = m;
    const bool read = ReadInto(readBack);
    succeeded_ = false;
    if (!read)
        return; // the read has told why
    ListOptions list;
    list.clock = &ctx_.clock;
    bool same = false;
    const QString text = VerifyResultText(m, readBack, list, &same);
    succeeded_ = same;
    verified_ = same;
    ctx_.prompter.tell(text, same ? Icon::Information : Icon::Critical);
}

bool DeviceTransfer::transferOnce(const QString &direction)
{
    Model &m = ctx_.model;
    const bool serial = m.transfer.PortSetting >= FirstSerialPortSetting;
    const bool writing = direction == QLatin1String("s");

    // Over the serial link the request names the saved program file itself; the chip tool
    // gets a copy under the catalogue's "File " name in the working directory.
    const QString lastLine = serial ? m.program().FileName : m.catalogue(Msg::FilePrefix);
    QString error;
    bool prepared = true;
    succeeded_ = false;
    if (!serial && writing) {
        const QString copy = QDir(ctx_.workDir).filePath(lastLine);
        const FileContent source = ReadRegularFile(m.program().FileName, MaxProgramFileSize);
        if (!source.ok()) {
            error = m.program().FileName + QStringLiteral(": ") +
                    (source.error.isEmpty() ? QStringLiteral("too large") : source.error);
            prepared = false;
        } else if (!WriteFileAtomically(copy, source.content, &error)) {
            error = copy + QStringLiteral(": ") + error;
            prepared = false;
        }
    }
    if (prepared)
        prepared = WriteRequestFile(ctx_.workDir, RequestText(m, direction, lastLine), &error);

    if (!prepared) {
        ctx_.prompter.tell(error, Icon::Critical);
    } else {
        bool succeeded = serial ? runSerialLink() : runChipTool(direction);
        if (serial && !succeeded) {
            if (!writing && !readTarget_)
                emptyProgramLists();
            ctx_.prompter.tell(m.catalogue(Msg::AccessToZentrixNotSuccessful));
        }
        // After a failed read nothing is loaded: a "card.dat" lying there is an old one.
        if (reading_ && succeeded)
            succeeded = loadReadBackImage();
        succeeded_ = succeeded;
    }
    reading_ = false;
    return succeeded_;
}

bool RunSerialTransfer(Model &model, Prompter &prompter, EventPump &pump, SerialPort &port,
                       const QString &workDir, const QString &direction, const QString &programFile,
                       const QString &device, TransferProgress *progress, const SerialTimings &timings,
                       QByteArray *readBack)
{
    model.transfer.PortSetting = FirstSerialPortSetting;
    QString error;
    const QByteArray request =
        DeviceTransfer::RequestText(model, direction, QFileInfo(programFile).absoluteFilePath());
    if (!DeviceTransfer::WriteRequestFile(workDir, request, &error)) {
        prompter.tell(error, Icon::Critical);
        return false;
    }
    SerialLink link(port, pump, prompter, model.catalogue, workDir, progress, timings);
    if (link.SerialTransfer({device, device}) != 0) {
        prompter.tell(model.catalogue(Msg::AccessToZentrixNotSuccessful), Icon::Critical);
        return false;
    }
    if (!readBack)
        return true;
    // The image as the device holds it: loaded once to be sure it is a program of this device.
    const QString card = QDir(workDir).filePath(QLatin1String(SerialLink::ReadBackFileName));
    const FileContent cardFile = ReadRegularFile(card, MaxProgramFileSize);
    const auto values = cardFile.ok() ? ReadImageValues(cardFile.content) : std::nullopt;
    Model probe = model;
    const LoadResult loaded =
        cardFile.ok() ? LoadProgramText(probe, cardFile.content, true, SetProgram) : LoadResult::Invalid;
    if (values && IsErasedImage(*values)) {
        prompter.tell(extraText(ExtraText::DeviceHoldsNoProgram, model.device.Sprache), Icon::Critical);
        return false;
    }
    if (!values || (loaded != LoadResult::Loaded && loaded != LoadResult::MasterCard)) {
        const QString why = values ? LoadFailureText(model, loaded) : model.catalogue(Msg::IllegalFile);
        prompter.tell(FileErrorText(card, why), Icon::Critical);
        return false;
    }
    MemoryImage image{};
    for (int i = 0; i < ImageSize; ++i)
        image[i] = static_cast<std::uint8_t>((*values)[i]);
    *readBack = FormatProgramText(image, model.catalogue(Msg::Unknown), {});
    return true;
}

} // namespace zx
