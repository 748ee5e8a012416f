#include "platform/FileAccess.h"

#include "platform/SystemReasons.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
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

// English here; the front ends say it in the user's language (TranslateReasons)
QString systemText(int errorNumber)
{
    return SystemReason(errorNumber, ReasonsInEnglish);
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
    return OwnReasonText(OwnReason::NotRegularFile, ReasonsInEnglish);
}

QString readOnlyText()
{
    return OwnReasonText(OwnReason::ReadOnlyFile, ReasonsInEnglish);
}

#ifdef Q_OS_UNIX
FileStamp stampOf(const struct stat &st)
{
    FileStamp s;
    s.size = qint64(st.st_size);
    s.modifiedNs = qint64(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
    s.inode = quint64(st.st_ino);
    s.device = quint64(st.st_dev);
    return s;
}

// Why an existing file of this kind may not be replaced or appended to; empty when it may.
QString refusalFor(const struct stat &st)
{
    if (S_ISDIR(st.st_mode))
        return systemText(EISDIR);
    if (!S_ISREG(st.st_mode))
        return notRegularText();
    // root may write anything; a file nobody may write is still meant to stay as it is
    if ((st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0)
        return readOnlyText();
    return {};
}

// Keeps mode, owner and group of the replaced file on the new one; owner and group only
// where the user may give them.
void keepAttributes(int fd, const struct stat &st)
{
    ::fchmod(fd, st.st_mode & 07777);
    if (::fchown(fd, st.st_uid, st.st_gid) != 0 && ::fchown(fd, uid_t(-1), st.st_gid) != 0) {
        // not permitted: the new file belongs to its writer, as any new file would
    }
    ::fchmod(fd, st.st_mode & 07777); // chown may have cleared set-id bits
}
#endif

} // namespace

QString ResolveLinks(const QString &path)
{
    // The system follows at most 40 links in a row (a loop never ends); so do we.
    constexpr int MostLinksFollowed = 40;
    QString current = path;
    for (int followed = 0;; ++followed) {
        const QFileInfo info(current);
        if (!info.isSymLink())
            return current;
        // Beyond that the path as given: the system refuses to open it, and so do our writers,
        // rather than replace a link in the middle of the chain with a file.
        if (followed == MostLinksFollowed)
            return path;
        QString target = info.symLinkTarget();
        if (target.isEmpty())
            return current;
        current = target;
    }
}

QString WriteRefusal(const QString &path)
{
#ifdef Q_OS_UNIX
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0) {
        // Not there yet is fine: it is made. Anything else (a loop of links, a folder that may
        // not be searched) the write would not get past either.
        return errno == ENOENT ? QString() : systemText(errno);
    }
    if (const QString refusal = refusalFor(st); !refusal.isEmpty())
        return refusal;
    if (::access(QFile::encodeName(path).constData(), W_OK) != 0)
        return systemText(errno);
    return {};
#else
    const QFileInfo info(path);
    if (!info.exists())
        return {};
    if (info.isDir())
        return systemText(EISDIR);
    if (!info.isFile())
        return notRegularText();
    return info.isWritable() ? QString() : readOnlyText();
#endif
}

FileStamp StampOf(const QString &path)
{
#ifdef Q_OS_UNIX
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0)
        return {};
    return stampOf(st);
#else
    const QFileInfo info(path);
    if (!info.exists())
        return {};
    FileStamp s;
    s.size = info.size();
    s.modifiedNs = info.lastModified().toMSecsSinceEpoch() * 1000000;
    return s;
#endif
}

bool WriteFileAtomically(const QString &path, const QByteArray &content, QString *error)
{
    const QString target = ResolveLinks(path);
    if (const QString refusal = WriteRefusal(target); !refusal.isEmpty()) {
        setError(error, refusal);
        return false;
    }
#ifdef Q_OS_UNIX
    struct stat before {};
    const bool replacing = ::stat(QFile::encodeName(target).constData(), &before) == 0;
#endif
    QSaveFile file(target);
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
#ifdef Q_OS_UNIX
    if (replacing)
        keepAttributes(file.handle(), before);
#endif
    if (!file.commit()) {
        setError(error, file.errorString());
        return false;
    }
    return true;
}

bool OpenForAppending(QFileDevice &file, bool truncate, QString *error)
{
    // Unbuffered: what a full disk refused must not wait in a buffer that the next write, a
    // resize back to the earlier length or the close would still put into the file.
    const QIODevice::OpenMode mode =
        QIODevice::WriteOnly | QIODevice::Unbuffered | (truncate ? QIODevice::Truncate : QIODevice::Append);
#ifdef Q_OS_UNIX
    // Opened without blocking, so a FIFO without reader cannot hold us, and checked on the open
    // descriptor before anything is cut or written.
    const QString target = ResolveLinks(file.fileName());
    const int fd = ::open(QFile::encodeName(target).constData(),
                          O_WRONLY | O_CREAT | O_APPEND | O_NONBLOCK | O_CLOEXEC, 0666);
    if (fd < 0) {
        const int e = errno;
        struct stat st {};
        const bool special = ::stat(QFile::encodeName(target).constData(), &st) == 0 &&
                             !S_ISREG(st.st_mode) && !S_ISDIR(st.st_mode);
        setError(error, special ? notRegularText() : systemText(e));
        return false;
    }
    struct stat st {};
    QString refusal = ::fstat(fd, &st) != 0 ? systemText(errno) : refusalFor(st);
    if (refusal.isEmpty() && truncate && ::ftruncate(fd, 0) != 0)
        refusal = systemText(errno);
    if (!refusal.isEmpty()) {
        ::close(fd);
        setError(error, refusal);
        return false;
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    if (auto *plain = qobject_cast<QFile *>(&file);
        plain && plain->open(fd, mode, QFileDevice::AutoCloseHandle))
        return true;
    ::close(fd);
    setError(error, file.errorString());
    return false;
#else
    const bool opened = file.open(mode);
    if (!opened)
        setError(error, file.errorString());
    return opened;
#endif
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
    result.stamp = stampOf(st);
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
        result.error = info.isDir() ? systemText(EISDIR) : notRegularText();
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

FileLock::FileLock(const QString &path)
{
    const QFileInfo target(ResolveLinks(path));
    lock_ = std::make_unique<QLockFile>(
        target.dir().filePath(QLatin1Char('.') + target.fileName() + QStringLiteral(".lock")));
}

FileLock::~FileLock() = default;

bool FileLock::lock(int timeoutMs, QString *error)
{
    if (lock_->tryLock(timeoutMs))
        return true;
    switch (lock_->error()) {
    case QLockFile::LockFailedError:
        setError(error, QStringLiteral("%1 (%2)").arg(OwnReasonText(OwnReason::InUse, ReasonsInEnglish),
                                                      lock_->fileName()));
        break;
    case QLockFile::PermissionError:
        setError(error, QStringLiteral("%1 %2: %3")
                            .arg(OwnReasonText(OwnReason::CannotLock, ReasonsInEnglish), lock_->fileName(),
                                 systemText(EACCES)));
        break;
    default:
        setError(error, QStringLiteral("%1 %2").arg(OwnReasonText(OwnReason::CannotLock, ReasonsInEnglish),
                                                    lock_->fileName()));
        break;
    }
    return false;
}

} // namespace zx
