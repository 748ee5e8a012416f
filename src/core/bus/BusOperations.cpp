#include "bus/BusOperations.h"

#include "bus/BusAddress.h"
#include "bus/BusLink.h"
#include "bus/BusTexts.h"
#include "calendar/Changeover.h"
#include "entry/EntryDeviceRules.h"
#include "i18n/Msg.h"
#include "model/ListOrder.h"
#include "model/Model.h"
#include "model/RecordDecoder.h"
#include "model/ValueRanges.h"
#include "platform/Prompter.h"

#include <QDir>

#include <algorithm>

namespace zx {

namespace {

// Application services on the connection: two bytes of service code, then the operands.
constexpr std::uint8_t MemoryService = 0x02; // high byte of memory read/response/write
constexpr std::uint8_t MemoryRead = 0x00;
constexpr std::uint8_t MemoryResponse = 0x40;
constexpr std::uint8_t MemoryWrite = 0x80;
constexpr std::uint8_t MaskService = 0x03; // high byte of mask version read/response
constexpr std::uint8_t MaskRead = 0x00;
constexpr std::uint8_t MaskResponse = 0x40;

// Mask versions of the BCUs a time switch is built on.
constexpr std::uint8_t AcceptedMaskHigh = 0x11;
constexpr std::uint8_t AcceptedMaskLow = 0x12;

constexpr int IdentificationAddress = 0x0104;
constexpr int SaveFirstBlock = 0x0107;
constexpr int SaveLastBlock = 0x01F7;
constexpr int SaveBlockPauseStep = 8;
constexpr int InstallFirstBlock = 0x0119;
constexpr int InstallLastBlock = 0x01F1;
constexpr int InstallAttempts = 3;
constexpr int InstallItems = 3 + 1 + (InstallLastBlock - InstallFirstBlock) / 8 + 1 + 1 + 1 + 1;

QByteArray addressBytes(int address)
{
    QByteArray b;
    b.append(char((address >> 8) & 0xFF));
    b.append(char(address & 0xFF));
    return b;
}

QByteArray imageBytes(const ApplicationImage &image, int from, int count)
{
    QByteArray b;
    for (int a = from; a < from + count; ++a)
        b.append(char(image.at(a)));
    return b;
}

} // namespace

QByteArray Mailbox::request(int command, const QByteArray &data)
{
    QByteArray r;
    r.append(char(Request));
    r.append(char(data.size() + 1));
    r.append(char(command));
    r.append(data);
    r.append(QByteArray(std::max<int>(0, Size - int(r.size())), '\0'));
    return r.left(Size);
}

QByteArray BusBytes(std::initializer_list<int> values)
{
    QByteArray b;
    for (int v : values)
        b.append(char(v & 0xFF));
    return b;
}

BusOperations::BusOperations(BusLink &link, Model &model, const BusIdentity &identity, const QString &workDir,
                             BusProgress *progress, Prompter *prompter)
    : link_(link), model_(model), identity_(identity), workDir_(workDir), progress_(progress),
      prompter_(prompter)
{
}

void BusOperations::step(int msgId)
{
    link_.logStep(msgId);
    if (progress_)
        progress_->setStep(link_.catalogue()(msgId));
}

void BusOperations::gauge(int value, int maximum)
{
    if (progress_)
        progress_->setGauge(value, maximum);
}

int BusOperations::runTimeError(const QString &text)
{
    runTimeText_ = text;
    link_.log(link_.catalogue()(Msg::UnknownError) + text);
    return LinkError::RunTimeError;
}

int BusOperations::Connect(int address)
{
    device_ = address;
    const int status = link_.Connect(address);
    connected_ = status == LinkError::Ok;
    return status;
}

int BusOperations::disconnect()
{
    connected_ = false;
    return link_.Disconnect();
}

// Ends a link period: the connection and the link are closed whatever happened; the first
// error is the result.
int BusOperations::finish(int status)
{
    if (link_.isOpen()) {
        // Over a link that failed, a disconnect would only wait for its own time-out; closing
        // still tries to give the coupling unit its address table back.
        if (connected_ && (!LinkError::IsLocalLinkFailure(status) || status == LinkError::Interrupted)) {
            const int d = disconnect();
            if (status == LinkError::Ok)
                status = d;
        }
        const int c = link_.CloseLink();
        if (status == LinkError::Ok)
            status = c;
    }
    connected_ = false;
    return status;
}

int BusOperations::reopen()
{
    const bool wasConnected = connected_;
    connected_ = false;
    link_.CloseLink();
    if (const int status = link_.OpenLink(link_.comIndex()))
        return status;
    return wasConnected || device_ ? Connect(device_) : LinkError::Ok;
}

int BusOperations::memoryRead(int address, int count, QByteArray *data)
{
    link_.logStep(Msg::AskingForContentsOfMemory, QString::number(address));
    QByteArray request;
    request.append(char(MemoryService));
    request.append(char(MemoryRead | (count & 0x3F)));
    request.append(addressBytes(address));
    if (const int status = link_.SendOnConnection(request))
        return status;
    link_.logStep(Msg::WaitingForContentsOfMemory);
    int source = 0;
    QByteArray answer;
    if (const int status = link_.ReceiveFromDevice(&source, &answer))
        return status;
    if (source != device_) {
        link_.logStep(Msg::AnswerFromAWrongDevice);
        return LinkError::AnswerFromWrongDevice;
    }
    const auto b = [&](int i) { return std::uint8_t(answer.at(i)); };
    if (answer.size() < 4 + count || (b(0) & 0x03) != MemoryService || (b(1) & 0xC0) != MemoryResponse ||
        (b(1) & 0x3F) != count || ((b(2) << 8) | b(3)) != address) {
        link_.logStep(Msg::NoValidDataReceived);
        return LinkError::NoValidData;
    }
    *data = answer.mid(4, count);
    return LinkError::Ok;
}

int BusOperations::memoryWrite(int address, const QByteArray &data)
{
    QByteArray request;
    request.append(char(MemoryService));
    request.append(char(MemoryWrite | (data.size() & 0x3F)));
    request.append(addressBytes(address));
    request.append(data);
    return link_.SendOnConnection(request);
}

int BusOperations::checkMask()
{
    step(Msg::AskingForMaskVersion);
    if (const int status = link_.SendOnConnection(BusBytes({MaskService, MaskRead})))
        return status;
    step(Msg::WaitingForMaskVersion);
    int source = 0;
    QByteArray answer;
    const int status = link_.ReceiveFromDevice(&source, &answer);
    if (status == LinkError::NoConnectionToDevice) {
        link_.logStep(Msg::NoMaskResponseReceived);
        return LinkError::NoMaskResponse;
    }
    if (status != LinkError::Ok)
        return status;
    if (source != device_) {
        link_.logStep(Msg::AnswerFromAWrongDevice);
        return LinkError::AnswerFromWrongDevice;
    }
    if (answer.size() < 4 || (std::uint8_t(answer.at(0)) & 0x03) != MaskService ||
        (std::uint8_t(answer.at(1)) & 0xC0) != MaskResponse) {
        link_.logStep(Msg::NoMaskResponseReceived);
        return LinkError::NoMaskResponse;
    }
    if (std::uint8_t(answer.at(2)) != AcceptedMaskHigh && std::uint8_t(answer.at(3)) != AcceptedMaskLow) {
        link_.logStep(Msg::WrongMaskVersion, HexBytes(answer, 2, 2));
        return LinkError::WrongMaskVersion;
    }
    return LinkError::Ok;
}

int BusOperations::readIdentification(QByteArray *bytes)
{
    return memoryRead(IdentificationAddress, 3, bytes);
}

int BusOperations::SearchDevice(int address, QByteArray *identification)
{
    int status = Connect(address);
    if (status == LinkError::Ok)
        status = checkMask();
    if (status == LinkError::Ok)
        status = readIdentification(identification);
    if (connected_) {
        const int d = disconnect();
        if (status == LinkError::Ok)
            status = d;
    }
    return status;
}

int BusOperations::WriteMemoryVerified(int address, const QByteArray &bytes)
{
    if (const int status = memoryWrite(address, bytes))
        return status;
    link_.Pause(link_.timings().verifyPauseMs);
    QByteArray back;
    if (const int status = memoryRead(address, int(bytes.size()), &back))
        return status;
    if (back != bytes) {
        link_.log(link_.catalogue()(Msg::MemoryWasNotWritten) + QStringLiteral(" ") +
                  QString::number(address) + QStringLiteral(":") + HexBytes(bytes) + QStringLiteral(" /") +
                  HexBytes(back));
        return LinkError::MemoryNotWritten;
    }
    return LinkError::Ok;
}

int BusOperations::SaveApplication(int address, const ApplicationImage *programmingApplication,
                                   bool *foundProgramming)
{
    if (foundProgramming)
        *foundProgramming = false;
    step(Msg::SaveApplication);
    int status = Connect(address);
    if (status == LinkError::Ok)
        status = checkMask();
    ApplicationImage image;
    QByteArray ident;
    if (status == LinkError::Ok)
        status = readIdentification(&ident);
    const int blocks = (SaveLastBlock - SaveFirstBlock) / SaveBlockPauseStep + 1;
    for (int a = SaveFirstBlock, n = 0; status == LinkError::Ok && a <= SaveLastBlock; a += 8, ++n) {
        QByteArray block;
        status = memoryRead(a, 8, &block);
        for (int i = 0; status == LinkError::Ok && i < 8; ++i)
            image.set(a + i, std::uint8_t(block.at(i)));
        link_.Pause(link_.timings().saveBlockPauseMs);
        gauge(n + 1, blocks);
    }
    if (status == LinkError::Ok) {
        for (int i = 0; i < 3; ++i)
            image.set(IdentificationAddress + i, std::uint8_t(ident.at(i)));
        if (!identity_.matches(ident)) {
            link_.logStep(Msg::WrongDeviceTyp, HexBytes(ident));
            status = LinkError::WrongDeviceType;
        }
    }
    if (status == LinkError::Ok) {
        // An install writes the identification block 0x0104..0x010C before everything but the
        // single bytes; a device whose block is that of the programming application was left
        // by a transfer that broke off, and the maker byte is the brand's in both.
        bool runsProgrammingApplication = programmingApplication != nullptr;
        for (int a = 0x0105; runsProgrammingApplication && a <= 0x010C; ++a)
            runsProgrammingApplication = image.at(a) == programmingApplication->at(a);
        const QString path = QDir(workDir_).filePath(QLatin1String(ApplicationImage::SavedFile));
        if (foundProgramming)
            *foundProgramming = runsProgrammingApplication;
        if (runsProgrammingApplication) {
            // Saving it would lose the device's own application kept from the broken transfer.
            link_.log(link_.catalogue()(Msg::ReinstallApplication) + QStringLiteral(": ") +
                      QLatin1String(ApplicationImage::SavedFile));
        } else {
            QString error;
            if (!SaveApplicationImage(path, image, &error))
                status = runTimeError(error);
        }
    }
    if (connected_) {
        const int d = disconnect();
        if (status == LinkError::Ok)
            status = d;
    }
    return status;
}

int BusOperations::installSteps(const ApplicationImage &image)
{
    int done = 0;
    auto write = [&](int address, const QByteArray &bytes) {
        const int status = WriteMemoryVerified(address, bytes);
        if (status == LinkError::Ok) {
            installTouched_ = true;
            gauge(++done, InstallItems);
        }
        return status;
    };
    // The BCU is stopped, its connection flag cleared and its address table cut before the
    // application changes under it; it is restarted last.
    if (const int s = write(0x0100, QByteArray(1, char(0xFF))))
        return s;
    if (const int s = write(0x010D, QByteArray(1, char(0x00))))
        return s;
    if (const int s = write(0x0116, QByteArray(1, char(0x01))))
        return s;
    if (const int s = write(0x0104, imageBytes(image, 0x0104, 9)))
        return s;
    for (int a = InstallFirstBlock; a <= InstallLastBlock; a += 8) {
        if (const int s = write(a, imageBytes(image, a, 8)))
            return s;
        link_.Pause(link_.timings().installBlockPauseMs);
    }
    if (const int s = write(0x01F9, imageBytes(image, 0x01F9, 6)))
        return s;
    if (const int s = write(0x010E, imageBytes(image, 0x010E, 9)))
        return s;
    return write(0x010D, QByteArray(1, char(0xFF)));
}

int BusOperations::InstallApplication(int address, const QString &fileName)
{
    link_.logStep(Msg::InstallApplication, fileName);
    if (progress_)
        progress_->setStep(link_.catalogue()(Msg::InstallApplication) + fileName);
    QString error;
    auto image = LoadApplicationImage(QDir(workDir_).filePath(fileName), &error);
    if (!image)
        return runTimeError(error);
    image->set(IdentificationAddress, identity_.maker);

    int status = Connect(address);
    if (status == LinkError::Ok)
        status = checkMask();
    QByteArray ident;
    if (status == LinkError::Ok)
        status = readIdentification(&ident);
    if (status == LinkError::Ok && !identity_.matches(ident)) {
        link_.logStep(Msg::WrongDeviceTyp, HexBytes(ident));
        status = LinkError::WrongDeviceType;
    }
    if (status != LinkError::Ok) {
        if (connected_)
            disconnect();
        return status;
    }

    std::optional<Prompter::BusyGuard> busy;
    if (prompter_)
        busy.emplace(prompter_->busy());
    status = installSteps(*image);
    if (LinkError::IsLocalLinkFailure(status))
        return status;
    if (status != LinkError::Ok) {
        link_.ResetLocalBcu();
        reopen();
    }
    if (connected_) {
        const int d = disconnect();
        if (status == LinkError::Ok)
            status = d;
    }
    return status;
}

int BusOperations::installWithAttempts(int address, const QString &fileName)
{
    int status = LinkError::Ok;
    for (int attempt = 0; attempt < InstallAttempts; ++attempt) {
        status = InstallApplication(address, fileName);
        // A file that cannot be read will not become readable by trying again, nor a link that
        // failed answer again.
        if (status == LinkError::Ok || status == LinkError::RunTimeError ||
            LinkError::IsLocalLinkFailure(status))
            break;
        if (!link_.isOpen()) {
            if (const int s = link_.OpenLink(link_.comIndex()))
                return s;
        }
    }
    return status;
}

QString BusOperations::reinstallCaption() const
{
    return link_.catalogue()(Msg::Reinstall);
}

int BusOperations::language() const
{
    return model_.device.Sprache;
}

bool BusOperations::setOwner(int address, bool holdsProgramming)
{
    QString error;
    if (WriteSavedApplicationOwner(workDir_, {address, holdsProgramming}, &error))
        return true;
    runTimeError(error);
    return false;
}

// The programming application provides the mailbox: it is put into the device only for the
// transfer, and the device's own application (saved to "appl.old" first) goes back afterwards.
// "appl.old" is the only copy of a device's application while that device holds the programming
// application, so it is never given to another device then, nor overwritten.
int BusOperations::transfer(int address, int (BusOperations::*exchange)(int))
{
    step(Msg::PrepareTransmission);
    QString error;
    const auto programming = LoadApplicationImage(
        QDir(workDir_).filePath(QLatin1String(ApplicationImage::ProgrammingFile)), &error);
    if (!programming)
        return runTimeError(error);
    const auto owner = ReadSavedApplicationOwner(workDir_);
    if (owner && owner->holdsProgramming && owner->address != address)
        return runTimeError(busText(BusText::SavedApplicationHeld, language())
                                .arg(PhysicalAddressText(owner->address), reinstallCaption()));
    if (const int s = link_.OpenLink(link_.comIndex()))
        return s;
    bool foundProgramming = false;
    if (const int s = SaveApplication(address, &*programming, &foundProgramming))
        return finish(s);
    if (foundProgramming && owner && owner->address != address) {
        // Its own application is lost already; another device's would make it that device.
        return finish(
            runTimeError(busText(BusText::SavedApplicationOfAnother, language())
                             .arg(PhysicalAddressText(owner->address), PhysicalAddressText(address))));
    }
    if (!setOwner(address, true))
        return finish(LinkError::RunTimeError);
    installTouched_ = false;
    const int installed = installWithAttempts(address, QLatin1String(ApplicationImage::ProgrammingFile));
    // A device whose memory took no byte of the programming application still runs its own.
    holdsProgramming_ = installTouched_ || foundProgramming;
    if (installed != LinkError::Ok) {
        if (!holdsProgramming_)
            setOwner(address, false);
        return finish(installed);
    }
    link_.WaitMs(link_.timings().afterInstallWaitMs);
    if (const int s = finish(LinkError::Ok))
        return s;
    if (const int s = (this->*exchange)(address))
        return s;
    if (const int s = link_.OpenLink(link_.comIndex()))
        return s;
    step(Msg::ReinstallApplication);
    const int status = finish(installWithAttempts(address, QLatin1String(ApplicationImage::SavedFile)));
    if (status == LinkError::Ok) {
        holdsProgramming_ = false;
        if (!setOwner(address, false))
            return LinkError::RunTimeError;
    }
    return status;
}

int BusOperations::ProgramWithApplicationSwap(int address)
{
    return transfer(address, &BusOperations::ProgramDevice);
}

int BusOperations::ReadWithApplicationSwap(int address)
{
    return transfer(address, &BusOperations::ReadDevice);
}

int BusOperations::Reinstall(int address)
{
    step(Msg::ReinstallApplication);
    const auto owner = ReadSavedApplicationOwner(workDir_);
    if (owner && owner->address != address)
        return runTimeError(busText(BusText::SavedApplicationOfAnother, language())
                                .arg(PhysicalAddressText(owner->address), PhysicalAddressText(address)));
    if (const int s = link_.OpenLink(link_.comIndex()))
        return s;
    const int status = InstallApplication(address, QLatin1String(ApplicationImage::SavedFile));
    if (status == LinkError::Ok)
        link_.WaitMs(link_.timings().afterInstallWaitMs);
    const int finished = finish(status);
    if (finished == LinkError::Ok && !setOwner(address, false))
        return LinkError::RunTimeError;
    return finished;
}

} // namespace zx
