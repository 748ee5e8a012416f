#include "platform/TextDecoding.h"

#include <QStringDecoder>

namespace zx {

QChar windows1252ToUnicode(unsigned char byte)
{
    // 0x80..0x9F differ from Latin-1; the five undefined positions map to themselves.
    static const char16_t high[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                      0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                      0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                      0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};
    if (byte >= 0x80 && byte <= 0x9F)
        return QChar(high[byte - 0x80]);
    return QChar(static_cast<char16_t>(byte));
}

namespace {

// The Windows-1252 byte of one UTF-16 unit; -1 where it has none.
int windows1252Byte(char16_t unit)
{
    if (unit < 0x80 || (unit >= 0xA0 && unit <= 0xFF))
        return unit;
    for (int byte = 0x80; byte <= 0x9F; ++byte) {
        if (windows1252ToUnicode(static_cast<unsigned char>(byte)).unicode() == unit)
            return byte;
    }
    return -1;
}

} // namespace

QStringList splitTextLines(const QString &text)
{
    QStringList lines;
    qsizetype start = 0;
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = text[i];
        if (c != u'\r' && c != u'\n')
            continue;
        lines << text.mid(start, i - start);
        if (c == u'\r' && i + 1 < n && text[i + 1] == u'\n')
            ++i;
        start = i + 1;
    }
    lines << text.mid(start);
    return lines;
}

int unicodeToWindows1252(QChar c)
{
    return windows1252Byte(c.unicode());
}

QByteArray encodeText(const QString &text)
{
    QByteArray legacy;
    legacy.reserve(text.size());
    for (const QChar c : text) {
        const int byte = windows1252Byte(c.unicode());
        if (byte < 0)
            return text.toUtf8();
        legacy.append(static_cast<char>(byte));
    }
    // A legacy text that happens to be valid UTF-8 would be read back as UTF-8 (and so differ);
    // such a text is written as UTF-8 right away.
    if (decodeText(legacy) != text)
        return text.toUtf8();
    return legacy;
}

QString decodeText(const QByteArray &bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(bytes);
    if (!utf8.hasError()) {
        if (text.startsWith(QChar(0xFEFF)))
            text.remove(0, 1);
        return text;
    }
    QString legacy;
    legacy.reserve(bytes.size());
    for (char c : bytes)
        legacy.append(windows1252ToUnicode(static_cast<unsigned char>(c)));
    return legacy;
}

} // namespace zx
