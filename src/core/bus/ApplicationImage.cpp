#include "bus/ApplicationImage.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace zx {

std::optional<ApplicationImage> LoadApplicationImage(const QString &path, QString *error)
{
    const QFileInfo info(path);
    QFile file(path);
    if (!info.exists() || !info.isFile()) {
        *error = path + QStringLiteral(": ") +
                 (info.exists() ? QStringLiteral("not a regular file")
                                : QStringLiteral("No such file or directory"));
        return std::nullopt;
    }
    // A real image is about a kilobyte.
    if (info.size() > 64 * 1024 || !file.open(QIODevice::ReadOnly)) {
        *error = path + QStringLiteral(": ") +
                 (file.isOpen() ? QStringLiteral("file too large") : file.errorString());
        return std::nullopt;
    }
    ApplicationImage image;
    int count = 0;
    int lineNumber = 0;
    while (!file.atEnd() && count < ApplicationImage::SavedCount) {
        const QByteArray line = file.readLine().trimmed();
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
    QSaveFile file(path);
    // QSaveFile can commit a short file after a failed write: flush and check before the commit.
    if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size() || !file.flush() ||
        !file.commit()) {
        *error = path + QStringLiteral(": ") + file.errorString();
        file.cancelWriting();
        return false;
    }
    return true;
}

} // namespace zx
