// libFuzzer target: arbitrary bytes as a language file. Reading either fails and leaves the
// catalogue exactly as it was, or fills all 402 positions with 368 and 378 equal, no line
// break inside a text and the blanks of the fixed table in place.
#include "i18n/Catalogue.h"

#include <QFile>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdlib>

namespace {

bool sameTexts(const zx::Catalogue &a, const zx::Catalogue &b)
{
    for (int pos = 1; pos <= zx::Msg::Count; ++pos) {
        if (a(pos) != b(pos))
            return false;
    }
    return a.productTitle == b.productTitle && a.versionText == b.versionText && a.helpFile == b.helpFile;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static QTemporaryDir dir;
    if (!dir.isValid())
        std::abort();
    const QString path = dir.filePath(QStringLiteral("fuzz.ln1"));
    {
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
            std::abort();
        f.write(reinterpret_cast<const char *>(data), static_cast<qint64>(size));
    }

    zx::Catalogue before;
    before.fillBuiltin(zx::German, 5);
    zx::Catalogue c = before;
    QString error;
    if (!c.readLanguageFile(path, &error)) {
        if (error.isEmpty() || !sameTexts(c, before))
            std::abort();
        return 0;
    }
    if (c.helpFile != QStringLiteral("Zentri2e.hlp") || c(zx::Msg::Holidays) != c(zx::Msg::Holidays378))
        std::abort();
    for (int pos = 1; pos <= zx::Msg::Count; ++pos) {
        if (c(pos).contains(u'\n'))
            std::abort();
    }
    if (!c(zx::Msg::SaveChangesIn).endsWith(QStringLiteral("  ")) ||
        !c(zx::Msg::AbbrMonday).startsWith(QStringLiteral("  ")))
        std::abort();

    // What was read writes back and reads again to the same texts (unless the first text
    // itself begins with U+FEFF, which a reader cannot tell from a byte order mark).
    if (c(1).startsWith(QChar(0xFEFF)))
        return 0;
    const QString again = dir.filePath(QStringLiteral("again.ln1"));
    if (!c.writeLanguageFile(again))
        std::abort();
    zx::Catalogue d;
    if (!d.readLanguageFile(again))
        std::abort();
    for (int pos = 1; pos <= zx::Msg::Count; ++pos) {
        if (pos != zx::Msg::Holidays && d(pos) != c(pos))
            std::abort();
    }
    return 0;
}
