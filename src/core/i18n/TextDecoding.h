#pragma once

#include <QByteArray>
#include <QString>

namespace zx {

// Text files written by older installations use the legacy 8-bit Western encoding; newer
// ones are UTF-8. Valid UTF-8 is read as such, anything else as Windows-1252.
QString decodeText(const QByteArray &bytes);

// The data files other tools read too are written in Windows-1252 when every character fits,
// and in UTF-8 otherwise.
QByteArray encodeDataFileText(const QString &text);

// Windows-1252 to Unicode for one byte.
QChar windows1252ToUnicode(unsigned char byte);

} // namespace zx
