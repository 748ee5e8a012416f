#include "output/TextFileSink.h"

#include "output/PrintLayout.h"

#include <QFile>
#include <QFileInfo>

namespace zx {

bool AppendChecked(const QString &path, const QByteArray &bytes, QString *error)
{
    const QFileInfo info(path);
    if (info.exists() && !info.isFile()) {
        // A FIFO or device node would block or swallow the printout.
        if (error)
            *error = path + QStringLiteral(": not a regular file");
        return false;
    }
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append)) {
        if (error)
            *error = file.errorString();
        return false;
    }
    const qint64 before = file.size();
    const bool written = file.write(bytes) == bytes.size() && file.flush();
    if (written) {
        file.close();
        if (file.error() == QFileDevice::NoError)
            return true;
    }
    if (error)
        *error = file.errorString();
    if (file.isOpen() || file.open(QIODevice::ReadWrite))
        file.resize(before);
    return false;
}

bool TextFileSink::printList(const PrintedList &list)
{
    pending_ += output::TextFileLines(list);
    return true;
}

bool TextFileSink::finish()
{
    if (pending_.isEmpty())
        return true;
    const bool ok = AppendChecked(path_, pending_, &error_);
    pending_.clear();
    return ok;
}

} // namespace zx
