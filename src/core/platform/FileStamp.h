#pragma once

#include <QtGlobal>

namespace zx {

// What tells one version of a file on disk from another: a save refuses to replace a file
// whose stamp changed since it was read (another program saved it meanwhile).
struct FileStamp {
    qint64 size = -1;
    qint64 modifiedNs = 0;
    quint64 inode = 0;
    quint64 device = 0;
    bool exists() const { return size >= 0; }
    friend bool operator==(const FileStamp &, const FileStamp &) = default;
};

} // namespace zx
