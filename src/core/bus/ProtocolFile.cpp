#include "bus/ProtocolFile.h"

#include "platform/FileAccess.h"

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
    QString reason;
    if (!OpenForAppending(file_, true, &reason)) {
        failed_ = true;
        if (error)
            *error = file_.fileName() + QStringLiteral(": ") + reason;
        return false;
    }
    return true;
}

void ProtocolFile::line(const QString &text)
{
    if (!file_.isOpen())
        return;
    if (!AppendChecked(file_, text.toUtf8() + "\r\n"))
        failed_ = true;
}

void ProtocolFile::close()
{
    if (file_.isOpen())
        file_.close();
}

} // namespace zx
