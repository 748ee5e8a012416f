#include "bus/ApplicationImage.h"

#include "bus/BusAddress.h"
#include "platform/FileAccess.h"

#include <QDir>

#include <QList>

namespace zx {

std::optional<ApplicationImage> LoadApplicationImage(const QString &path, QString *error)
{
    // A real image is about a kilobyte.
    const FileContent file = ReadRegularFile(path, 64 * 1024);
    switch (file.status) {
    case ReadStatus::Read:
        break;
    case ReadStatus::Missing:
        *error = path + QStringLiteral(": No such file or directory");
        return std::nullopt;
    case ReadStatus::TooLarge:
        *error = path + QStringLiteral(": file too large");
        return std::nullopt;
    case ReadStatus::Unreadable:
        *error = path + QStringLiteral(": ") + file.error;
        return std::nullopt;
    }
    ApplicationImage image;
    int count = 0;
    int lineNumber = 0;
    const QList<QByteArray> lines = file.content.split('\n');
    for (const QByteArray &raw : lines) {
        if (count >= ApplicationImage::SavedCount)
            break;
        const QByteArray line = raw.trimmed();
        ++lineNumber;
        if (line.isEmpty())
            continue;
        bool ok = false;
        const int value = line.toInt(&ok);
        if (!ok || value < 0 || value > 255) {
            *error = path + QStringLiteral(": line %1 holds no byte value").arg(lineNumber);
            return std::nullopt;
        }
        image.values[count++] = std::uint8_t(value);
    }
    if (count < ApplicationImage::MinimumCount) {
        *error = path + QStringLiteral(": %1 values, at least %2 expected")
                            .arg(count)
                            .arg(ApplicationImage::MinimumCount);
        return std::nullopt;
    }
    return image;
}

bool SaveApplicationImage(const QString &path, const ApplicationImage &image, QString *error)
{
    QByteArray text;
    for (int i = 0; i < ApplicationImage::SavedCount; ++i)
        text += QByteArray::number(image.values[i]) + "\r\n";
    QString reason;
    if (!WriteFileAtomically(path, text, &reason)) {
        *error = path + QStringLiteral(": ") + reason;
        return false;
    }
    return true;
}

namespace {
constexpr const char *HoldsProgramming = "programming";
constexpr const char *HoldsOwn = "own";
QString ownerPath(const QString &dir)
{
    return QDir(dir).filePath(QLatin1String(ApplicationImage::OwnerFile));
}
} // namespace

std::optional<SavedApplicationOwner> ReadSavedApplicationOwner(const QString &dir)
{
    const FileContent file = ReadRegularFile(ownerPath(dir), 1024);
    if (file.status != ReadStatus::Read)
        return std::nullopt;
    const QList<QByteArray> words = file.content.simplified().split(' ');
    if (words.size() != 2)
        return std::nullopt;
    // The address as an operation takes it; device 0 is no device a transfer reaches.
    const auto address = ParsePhysicalAddress(QString::fromLatin1(words[0]));
    if (!address)
        return std::nullopt;
    if (words[1] != HoldsProgramming && words[1] != HoldsOwn)
        return std::nullopt;
    return SavedApplicationOwner{*address, words[1] == HoldsProgramming};
}

bool WriteSavedApplicationOwner(const QString &dir, const SavedApplicationOwner &owner, QString *error)
{
    const QByteArray line = PhysicalAddressText(owner.address).toLatin1() + ' ' +
                            (owner.holdsProgramming ? HoldsProgramming : HoldsOwn) + "\r\n";
    QString reason;
    if (!WriteFileAtomically(ownerPath(dir), line, &reason)) {
        *error = ownerPath(dir) + QStringLiteral(": ") + reason;
        return false;
    }
    return true;
}

} // namespace zx
