#include "platform/FileAccess.h"

#include "platform/SystemReasons.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QSaveFile>
#include <QSysInfo>

#include <cerrno>
#include <cstring>

#ifdef Q_OS_UNIX
#include <csignal>
#include <fcntl.h>
#include <sys/file.h>
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

#ifdef Q_OS_UNIX
namespace {

SyncCall syncCall = nullptr;
bool withoutUnnamedFiles = false;

// 0 when the content behind fd is on the disk, or the file system has no way to make it so
// (EINVAL: a file system that does not sync folders); otherwise -1 with errno.
int syncDescriptor(int fd)
{
    const int synced = syncCall ? syncCall(fd) : ::fsync(fd);
    return synced != 0 && errno == EINVAL ? 0 : synced;
}

// Our temporary copies beside a file: ".NAME.zxsave-" and six letters or digits. Only names of
// this exact form are ever removed as leftovers.
QString tempPrefix(const QString &fileName)
{
    return QLatin1Char('.') + fileName + QStringLiteral(".zxsave-");
}

QString freshTempName(const QString &dir, const QString &fileName)
{
    static const char chars[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    QString name = tempPrefix(fileName);
    for (int i = 0; i < 6; ++i)
        name += QLatin1Char(chars[QRandomGenerator::system()->bounded(int(sizeof chars) - 1)]);
    return dir + QLatin1Char('/') + name;
}

bool writeAll(int fd, const QByteArray &content)
{
    qint64 done = 0;
    while (done < content.size()) {
        const ssize_t n = ::write(fd, content.constData() + done, std::size_t(content.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            if (n == 0)
                errno = EIO;
            return false;
        }
        done += n;
    }
    return true;
}

// A leftover of a killed writer: one of our temporary copies, a regular file, that no living
// writer holds (every writer keeps an exclusive lock on its copy until it is renamed).
void removeIfAbandonedTemp(const QString &path)
{
    const QByteArray native = QFile::encodeName(path);
    const int fd = ::open(native.constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return;
    struct stat st {};
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && ::flock(fd, LOCK_EX | LOCK_NB) == 0)
        ::unlink(native.constData());
    ::close(fd);
}

// The stale-lock clean-up of the advisory lock takes a second lock ".lock.rmlock" for a moment;
// a process killed meanwhile leaves it, and the next clean-up may leave ".rmlock.rmlock" too.
// Such a file is removed when it names a process of this machine that no longer runs.
void removeIfAbandonedLock(const QString &path)
{
    struct stat st {};
    if (::lstat(QFile::encodeName(path).constData(), &st) != 0 || !S_ISREG(st.st_mode))
        return;
    qint64 pid = 0;
    QString host, app;
    if (!QLockFile(path).getLockInfo(&pid, &host, &app) || pid <= 0)
        return;
    if (!host.isEmpty() && host != QSysInfo::machineHostName())
        return;
    if (::kill(pid_t(pid), 0) == 0 || errno != ESRCH)
        return;
    ::unlink(QFile::encodeName(path).constData());
}

void removeLeftovers(const QString &dir, const QString &fileName)
{
    const QString temp = tempPrefix(fileName);
    const QString lock = QLatin1Char('.') + fileName + QStringLiteral(".lock");
    static const QRegularExpression tempTail(QStringLiteral("^[A-Za-z0-9]{6}$"));
    static const QRegularExpression lockTail(QStringLiteral("^(\\.rmlock)+$"));
    const QStringList names =
        QDir(dir).entryList(QDir::Files | QDir::Hidden | QDir::System | QDir::NoSymLinks, QDir::NoSort);
    for (const QString &name : names) {
        if (name.startsWith(temp) && tempTail.match(name.mid(temp.size())).hasMatch())
            removeIfAbandonedTemp(dir + QLatin1Char('/') + name);
        else if (name.startsWith(lock) && lockTail.match(name.mid(lock.size())).hasMatch())
            removeIfAbandonedLock(dir + QLatin1Char('/') + name);
    }
}

// A temporary copy of the new content. The descriptor holds an exclusive lock, so no clean-up
// takes a copy being written for a leftover.
struct TempFile {
    int fd = -1;
    QString name; // empty while unnamed
};

void discardTemp(TempFile &temp)
{
    if (!temp.name.isEmpty())
        ::unlink(QFile::encodeName(temp.name).constData());
    if (temp.fd >= 0)
        ::close(temp.fd);
    temp = {};
}

enum class TempResult { Written, Failed, NoUnnamedName };

// Writes the content into a temporary copy beside the target, keeps the replaced file's
// attributes, syncs it and names it, ready for the rename. `unnamed`: the copy is made without a
// name and named only once complete, so a writer killed meanwhile leaves nothing behind; vfat,
// exFAT and network shares cannot make such files, and there it gets its name from the start.
TempResult writeTemp(const QString &dir, const QString &fileName, const QByteArray &content,
                     const struct stat *replaced, bool unnamed, TempFile *temp, QString *error)
{
    // A new file gets the mode any new file gets (umask applies); a replaced one its own.
    const mode_t mode = replaced ? 0600 : 0666;
    if (unnamed) {
        temp->fd = ::open(QFile::encodeName(dir).constData(), O_TMPFILE | O_WRONLY | O_CLOEXEC, mode);
        if (temp->fd < 0)
            return TempResult::NoUnnamedName;
    } else {
        for (int attempt = 0; attempt < 100 && temp->fd < 0; ++attempt) {
            const QString name = freshTempName(dir, fileName);
            temp->fd =
                ::open(QFile::encodeName(name).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
            if (temp->fd >= 0)
                temp->name = name;
            else if (errno != EEXIST)
                break;
        }
        if (temp->fd < 0) {
            setError(error, systemText(errno));
            return TempResult::Failed;
        }
    }
    ::flock(temp->fd, LOCK_EX);
    errno = 0;
    if (!writeAll(temp->fd, content)) {
        setError(error, systemText(errno));
        discardTemp(*temp);
        return TempResult::Failed;
    }
    if (replaced)
        keepAttributes(temp->fd, *replaced);
    // The data must be on the disk before the name points at it, or a crash could leave an
    // empty or short file under the name; a failed sync means the disk did not take it.
    if (syncDescriptor(temp->fd) != 0) {
        setError(error, systemText(errno));
        discardTemp(*temp);
        return TempResult::Failed;
    }
    if (!temp->name.isEmpty())
        return TempResult::Written;
    const QByteArray self = "/proc/self/fd/" + QByteArray::number(temp->fd);
    for (int attempt = 0; attempt < 100; ++attempt) {
        const QString name = freshTempName(dir, fileName);
        if (::linkat(AT_FDCWD, self.constData(), AT_FDCWD, QFile::encodeName(name).constData(),
                     AT_SYMLINK_FOLLOW) == 0) {
            temp->name = name;
            return TempResult::Written;
        }
        if (errno != EEXIST)
            break;
    }
    discardTemp(*temp);
    return TempResult::NoUnnamedName; // no /proc to name it by: written again under a name
}

bool syncFolder(const QString &dir, QString *error)
{
    const int fd = ::open(QFile::encodeName(dir).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        // A folder one may write into but not list (a drop box) cannot be opened to sync it;
        // the rename went through, and there is nothing more this user can do for it.
        if (errno == EACCES)
            return true;
        setError(error, systemText(errno));
        return false;
    }
    const bool synced = syncDescriptor(fd) == 0;
    const int e = errno;
    ::close(fd);
    if (!synced)
        setError(error, systemText(e));
    return synced;
}

} // namespace

SyncCall SetSyncCallForTesting(SyncCall call)
{
    const SyncCall before = syncCall;
    syncCall = call;
    return before;
}

void SetUnnamedTempFilesForTesting(bool allowed)
{
    withoutUnnamedFiles = !allowed;
}
#endif

bool WriteFileAtomically(const QString &path, const QByteArray &content, QString *error)
{
    const QString target = ResolveLinks(path);
    if (const QString refusal = WriteRefusal(target); !refusal.isEmpty()) {
        setError(error, refusal);
        return false;
    }
#ifdef Q_OS_UNIX
    const QFileInfo info(target);
    const QString dir = info.absolutePath();
    const QString fileName = info.fileName();
    removeLeftovers(dir, fileName);

    struct stat before {};
    const bool replacing = ::stat(QFile::encodeName(target).constData(), &before) == 0;
    TempFile temp;
    TempResult written = TempResult::NoUnnamedName;
    if (!withoutUnnamedFiles)
        written = writeTemp(dir, fileName, content, replacing ? &before : nullptr, true, &temp, error);
    if (written == TempResult::NoUnnamedName)
        written = writeTemp(dir, fileName, content, replacing ? &before : nullptr, false, &temp, error);
    if (written != TempResult::Written)
        return false;
    if (::rename(QFile::encodeName(temp.name).constData(), QFile::encodeName(target).constData()) != 0) {
        setError(error, systemText(errno));
        discardTemp(temp);
        return false;
    }
    ::close(temp.fd);
    // Until the folder is synced the rename itself may be lost to a power cut, bringing the old
    // file back after the user was told it was saved.
    return syncFolder(dir, error);
#else
    QSaveFile file(target);
    if (!file.open(QIODevice::WriteOnly)) {
        setError(error, file.errorString());
        return false;
    }
    if (file.write(content) != content.size() || !file.flush() || file.error() != QFileDevice::NoError) {
        setError(error, file.errorString());
        file.cancelWriting();
        return false;
    }
    if (!file.commit()) {
        setError(error, file.errorString());
        return false;
    }
    return true;
#endif
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
