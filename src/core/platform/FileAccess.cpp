#include "platform/FileAccess.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <cerrno>
#include <cstring>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace zx {

namespace {

void setError(QString *error, const QString &text)
{
    if (error)
        *error = text;
}

QString systemText(int errorNumber)
{
    return QString::fromLocal8Bit(std::strerror(errorNumber));
}

// Qt reports a failed flush of its write buffer as "Unknown error"; the system's own reason
// (errno of the failed write) says what happened, e.g. "File too large" or "No space left".
QString writeErrorText(const QFileDevice &file, int errorNumber)
{
    const QString qt = file.errorString();
    if (errorNumber != 0 && (qt.isEmpty() || qt == QLatin1String("Unknown error")))
        return systemText(errorNumber);
    return qt;
}

QString notRegularText()
{
    return QStringLiteral("Not a regular file");
}

} // namespace

bool WriteFileAtomically(const QString &path, const QByteArray &content, QString *error)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        setError(error, file.errorString());
        return false;
    }
    errno = 0;
    if (file.write(content) != content.size() || !file.flush() || file.error() != QFileDevice::NoError) {
        setError(error, writeErrorText(file, errno));
        file.cancelWriting();
        return false;
    }
    if (!file.commit()) {
        setError(error, file.errorString());
        return false;
    }
    return true;
}

bool OpenForAppending(QFileDevice &file, bool truncate, QString *error)
{
    const QIODevice::OpenMode mode =
        QIODevice::WriteOnly | (truncate ? QIODevice::Truncate : QIODevice::Append);
    if (file.open(mode))
        return true;
    setError(error, file.errorString());
    return false;
}

bool AppendChecked(QFileDevice &file, const QByteArray &data, QString *error)
{
    errno = 0;
    if (file.write(data) == data.size() && file.flush() && file.error() == QFileDevice::NoError)
        return true;
    setError(error, writeErrorText(file, errno));
    return false;
}

FileContent ReadRegularFile(const QString &path, qint64 maxSize)
{
    FileContent result;
#ifdef Q_OS_UNIX
    // Opened without blocking, so a FIFO with no writer cannot hold us; the type is checked
    // on the open descriptor, so nothing can be swapped in between the check and the read.
    const QByteArray native = QFile::encodeName(path);
    const int fd = ::open(native.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        const int e = errno;
        result.status = e == ENOENT || path.isEmpty() ? ReadStatus::Missing : ReadStatus::Unreadable;
        result.error = systemText(e);
        return result;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        const bool dir = S_ISDIR(st.st_mode);
        ::close(fd);
        result.status = ReadStatus::Unreadable;
        result.error = dir ? systemText(EISDIR) : notRegularText();
        return result;
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    QFile file;
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        result.status = ReadStatus::Unreadable;
        result.error = file.errorString();
        return result;
    }
#else
    const QFileInfo info(path);
    if (!info.exists()) {
        result.status = ReadStatus::Missing;
        return result;
    }
    if (!info.isFile()) {
        result.status = ReadStatus::Unreadable;
        result.error = info.isDir() ? QStringLiteral("Is a directory") : notRegularText();
        return result;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        result.status = ReadStatus::Unreadable;
        result.error = file.errorString();
        return result;
    }
#endif
    result.content = maxSize < 0 ? file.readAll() : file.read(maxSize + 1);
    if (file.error() != QFileDevice::NoError) {
        result.status = ReadStatus::Unreadable;
        result.error = file.errorString();
        result.content.clear();
        return result;
    }
    if (maxSize >= 0 && result.content.size() > maxSize) {
        result.status = ReadStatus::TooLarge;
        result.content.clear();
        return result;
    }
    result.status = ReadStatus::Read;
    return result;
}

QString FileErrorText(const QString &path, const QString &reason)
{
    return QStringLiteral("%1\n%2").arg(QDir::toNativeSeparators(path), reason);
}

} // namespace zx
