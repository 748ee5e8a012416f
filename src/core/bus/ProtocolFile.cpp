#include "bus/ProtocolFile.h"

#include "platform/FileAccess.h"

#include <QDir>

namespace zx {

bool ProtocolFile::recreate(const QString &dir, QString *error)
{
    close();
    failed_ = false;
    written_ = 0;
    cutOff_ = false;
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
    if (!file_.isOpen() || cutOff_)
        return;
    QByteArray bytes = text.toUtf8() + "\r\n";
    if (written_ + bytes.size() > limit_) {
        bytes = "... protocol cut off here: it reached its limit\r\n";
        cutOff_ = true;
    }
    written_ += bytes.size();
    if (!AppendChecked(file_, bytes))
        failed_ = true;
}

void ProtocolFile::close()
{
    if (file_.isOpen())
        file_.close();
}

} // namespace zx
