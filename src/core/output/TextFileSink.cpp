#include "output/TextFileSink.h"

#include "output/PrintLayout.h"
#include "platform/FileAccess.h"

#include <QFile>
#include <QFileInfo>

namespace zx {

bool AppendKeepingEarlier(const QString &path, const QByteArray &bytes, QString *error)
{
    const QFileInfo info(path);
    if (info.exists() && !info.isFile()) {
        // A FIFO or device node would block or swallow the printout.
        if (error)
            *error = QStringLiteral("not a regular file");
        return false;
    }
    QFile file(path);
    if (!OpenForAppending(file, false, error))
        return false;
    const qint64 before = file.size();
    if (AppendChecked(file, bytes, error))
        return true;
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
    const bool ok = AppendKeepingEarlier(path_, pending_, &error_);
    pending_.clear();
    return ok;
}

} // namespace zx
