#pragma once

#include <QIcon>
#include <QSize>
#include <QString>

namespace zx {

// Before the first window is up, nothing should decode a picture: Qt's first image read scans
// and loads every image format plugin, which held back the start screen more than all of its
// own construction. These give what the layout needs without that.

// The size of a picture file (a resource too). A PNG file's size is read from its header;
// any other picture goes through Qt's image reader. Invalid when the file cannot be read.
QSize PictureSize(const QString &path);

// An icon of one picture file that is decoded when it is first painted or asked for a pixmap.
// It looks exactly like QIcon(path).
QIcon DeferredFileIcon(const QString &path);

} // namespace zx
