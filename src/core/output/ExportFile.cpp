#include "output/ExportFile.h"

#include "i18n/ExtraTexts.h"
#include "platform/FileAccess.h"

#include <QFile>

#include <sys/stat.h>

namespace zx {

namespace {

bool statOf(const QString &path, struct stat &st)
{
    return !path.isEmpty() && ::stat(QFile::encodeName(path).constData(), &st) == 0;
}

} // namespace

bool IsSameFile(const QString &a, const QString &b)
{
    struct stat sa {
    }, sb{};
    return statOf(a, sa) && statOf(b, sb) && sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}

QString WriteExportFile(const QString &path, const QByteArray &content, const QString &sourceFile,
                        int sprache)
{
    if (IsSameFile(path, sourceFile))
        return FileErrorText(path, extraText(ExtraText::ExportIsSource, sprache));
    // A FIFO or device would be replaced by a file, or block the writer: only regular files.
    struct stat st {};
    if (statOf(path, st) && !S_ISREG(st.st_mode))
        return FileErrorText(path, extraText(ExtraText::ExportNotRegular, sprache));
    QString error;
    if (!WriteFileAtomically(path, content, &error))
        return FileErrorText(path, error);
    return {};
}

} // namespace zx
