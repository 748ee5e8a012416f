#include "bus/ApplicationImage.h"

#include "platform/FileAccess.h"

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

} // namespace zx
