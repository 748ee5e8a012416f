#include "bus/ProtocolFile.h"

#include <QDir>

namespace zx {

bool ProtocolFile::recreate(const QString &dir, QString *error)
{
    close();
    failed_ = false;
    file_.setFileName(QDir(dir).filePath(QLatin1String(FileName)));
    // Removed first, so a protocol that cannot be written never shows an earlier operation.
    if (file_.exists())
        file_.remove();
    if (!file_.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        failed_ = true;
        if (error)
            *error = file_.fileName() + QStringLiteral(": ") + file_.errorString();
        return false;
    }
    return true;
}

void ProtocolFile::line(const QString &text)
{
    if (!file_.isOpen())
        return;
    const QByteArray bytes = text.toUtf8() + "\r\n";
    if (file_.write(bytes) != bytes.size() || !file_.flush())
        failed_ = true;
}

void ProtocolFile::close()
{
    if (file_.isOpen())
        file_.close();
}

} // namespace zx
