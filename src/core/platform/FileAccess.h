#pragma once

#include "platform/FileStamp.h"
#include <QByteArray>

#include <QString>

#include <memory>

class QFileDevice;
class QLockFile;

namespace zx {

// Every file this program writes as a whole goes through WriteFileAtomically: the content goes
// to a temporary file beside the target, every write and the final flush are checked, and only
// then does the temporary file replace the target. A failed write (full disk, file-size limit,
// no permission) leaves the previous file as it was and hands back the system's text.
//
// Qt 6.4's QSaveFile::commit() can commit a short file after a failed write of its buffer,
// which is why the flush is checked here before committing.
//
// Only a regular file is written: a device node, FIFO or socket at the path is refused (a
// rename would put a file in its place), as is a file without any write permission, even for
// root. A symbolic link is followed and stays a link to the new content. The replaced file's
// mode, owner and group are kept where the user may set them.
//
// The new file's data is synced before the rename and the folder after it, so that once this
// returns true a crash or power cut brings back the new file, never the old one; a failed sync is
// a failed write. The temporary copy is never left behind by a failed write, and copies or stale
// lock files that a killed writer left beside this file are removed by the next write of it.
bool WriteFileAtomically(const QString &path, const QByteArray &content, QString *error = nullptr);

// Test hooks. The call that makes a file's or a folder's content durable (fsync, given the open
// descriptor); a test puts in one that fails as a failing disk does. Returns the one before;
// nullptr puts the system's back.
using SyncCall = int (*)(int fd);
SyncCall SetSyncCallForTesting(SyncCall call);
// false: temporary copies are made as on a file system without unnamed files (vfat, exFAT,
// network shares), under their name from the start.
void SetUnnamedTempFilesForTesting(bool allowed);

// The file a path names after following symbolic links (a dangling link: its target path). A
// path through more links than the system follows comes back as it was given.
QString ResolveLinks(const QString &path);

// Why `path` cannot be written as a regular file (device node, FIFO, socket, directory,
// read-only file, a loop of links or a path the system cannot follow); empty when it can be, or
// does not exist.
QString WriteRefusal(const QString &path);

// Appends to an open file and pushes the bytes out at once, so a failure shows at the call
// that caused it and not at some later close. false with the system's text in `error`.
bool AppendChecked(QFileDevice &file, const QByteArray &data, QString *error = nullptr);

// Opens `path` for appending writers (log, export); the file is created or, with truncate,
// emptied. Only a regular file is opened, without blocking on a FIFO; a read-only file is
// refused. false with the reason in `error`. The file is opened on its checked descriptor, and a
// QFile opened that way no longer reports its name: a caller that names the file in a later
// message keeps the path itself.
bool OpenForAppending(QFileDevice &file, bool truncate, QString *error = nullptr);

enum class ReadStatus {
    Read,       // content holds the file
    Missing,    // nothing exists at the path
    Unreadable, // something exists but cannot be read as a file: error says why
    TooLarge,   // the file is larger than the caller's limit
};

// The stamp of the file a path names (links followed); size -1 when there is none.
FileStamp StampOf(const QString &path);

struct FileContent {
    ReadStatus status = ReadStatus::Missing;
    QByteArray content;
    QString error;   // the system's text, for Unreadable
    FileStamp stamp; // of the file that was read
    bool ok() const { return status == ReadStatus::Read; }
};

// Reads a whole regular file. A FIFO, device node or socket is refused without waiting on it,
// a directory or a file without read permission gives the system's text, and Missing means
// that nothing exists at the path. maxSize < 0: no limit.
FileContent ReadRegularFile(const QString &path, qint64 maxSize = -1);

// The text of a failed file operation as it is shown: the path, a line break, the reason.
QString FileErrorText(const QString &path, const QString &reason);

// An advisory lock for the load-change-save of one file, as editors keep one: a lock file
// beside the file (links followed), which other programs honouring it wait for. A lock left
// by a process that died is taken over.
class FileLock {
  public:
    explicit FileLock(const QString &path);
    ~FileLock();
    FileLock(const FileLock &) = delete;
    FileLock &operator=(const FileLock &) = delete;

    // Waits at most `timeoutMs` for the lock; false with the reason in `error`.
    bool lock(int timeoutMs, QString *error);

  private:
    std::unique_ptr<QLockFile> lock_;
};

} // namespace zx
