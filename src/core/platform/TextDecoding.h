#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace zx {

// Text files written by older installations use the legacy 8-bit Western encoding; newer
// ones are UTF-8. Valid UTF-8 is read as such, anything else as Windows-1252.
QString decodeText(const QByteArray &bytes);

// The files other tools read (program, configuration, language, holiday and location files)
// are written in Windows-1252 when every character has a place there, so those tools show
// them right; a text with any other character is written as UTF-8, which the readers above
// recognise. Round trip: decodeText(encodeText(t)) == t.
QByteArray encodeText(const QString &text);

// The lines of a text whose lines end in CR LF, LF or CR, in any mix (files pass through
// editors and transfers of other systems). A text ending in a line end gives an empty last
// element, as QString::split does.
QStringList splitTextLines(const QString &text);

// Windows-1252 to Unicode for one byte.
QChar windows1252ToUnicode(unsigned char byte);

// The legacy 8-bit code of a character, -1 when that encoding has none for it.
int unicodeToWindows1252(QChar c);

} // namespace zx
