#pragma once

#include <QByteArray>
#include <QString>

namespace zx {

// Writes an export (calendar, CSV) as a whole through the checked atomic write. Refused before
// anything is written: the program file the export is made from (by any name: a symlink or a
// second hard link to it), and an existing target that is not a regular file. Empty on success,
// else the text to show in the language `sprache`, with the path.
QString WriteExportFile(const QString &path, const QByteArray &content, const QString &sourceFile,
                        int sprache);

// Whether two paths name the same existing file.
bool IsSameFile(const QString &a, const QString &b);

} // namespace zx
