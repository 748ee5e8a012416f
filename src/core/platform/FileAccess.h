#pragma once

#include <QByteArray>
#include <QString>

class QFileDevice;

namespace zx {

// Every file this program writes as a whole goes through WriteFileAtomically: the content goes
// to a temporary file beside the target, every write and the final flush are checked, and only
// then does the temporary file replace the target. A failed write (full disk, file-size limit,
// no permission) leaves the previous file as it was and hands back the system's text.
//
// Qt 6.4's QSaveFile::commit() can commit a short file after a failed write of its buffer,
// which is why the flush is checked here before committing.
bool WriteFileAtomically(const QString &path, const QByteArray &content, QString *error = nullptr);

// Appends to an open file and pushes the bytes out at once, so a failure shows at the call
// that caused it and not at some later close. false with the system's text in `error`.
bool AppendChecked(QFileDevice &file, const QByteArray &data, QString *error = nullptr);

// Opens `path` for appending writers (log, export); the file is created or, with truncate,
// emptied. false with the system's text in `error`.
bool OpenForAppending(QFileDevice &file, bool truncate, QString *error = nullptr);

enum class ReadStatus {
    Read,       // content holds the file
    Missing,    // nothing exists at the path
    Unreadable, // something exists but cannot be read as a file: error says why
    TooLarge,   // the file is larger than the caller's limit
};

struct FileContent {
    ReadStatus status = ReadStatus::Missing;
    QByteArray content;
    QString error; // the system's text, for Unreadable
    bool ok() const { return status == ReadStatus::Read; }
};

// Reads a whole regular file. A FIFO, device node or socket is refused without waiting on it,
// a directory or a file without read permission gives the system's text, and Missing means
// that nothing exists at the path. maxSize < 0: no limit.
FileContent ReadRegularFile(const QString &path, qint64 maxSize = -1);

// The text of a failed file operation as it is shown: the path, a line break, the reason.
QString FileErrorText(const QString &path, const QString &reason);

} // namespace zx
