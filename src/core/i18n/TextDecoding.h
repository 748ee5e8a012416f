#pragma once

#include <QByteArray>
#include <QString>

namespace zx {

// Text files written by older installations use the legacy 8-bit Western encoding; newer
// ones are UTF-8. Valid UTF-8 is read as such, anything else as Windows-1252.
QString decodeText(const QByteArray &bytes);

// Windows-1252 to Unicode for one byte.
QChar windows1252ToUnicode(unsigned char byte);

// The legacy 8-bit code of a character, -1 when that encoding has none for it.
int unicodeToWindows1252(QChar c);

// Text for the files other tools read too: Windows-1252 when every character fits, else UTF-8.
QByteArray encodeText(const QString &text);

} // namespace zx
