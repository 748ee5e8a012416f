// Language files: 402 lines, line n holding the text of position n. Blanks at either end of a
// line are dropped on reading and put back from a fixed table, since the built-in texts need
// them where callers join entries.
#include "i18n/Catalogue.h"
#include "i18n/ExtraTexts.h"
#include "platform/FileAccess.h"
#include "platform/TextDecoding.h"

#include <QDir>
#include <QFile>

namespace zx {
namespace {

struct Blanks {
    int front;
    int end;
};

Blanks blanksFor(int position)
{
    switch (position) {
    case 61:
    case 62:
    case 69:
    case 70:
    case 71:
    case 128:
    case 185:
    case 189:
    case 191:
    case 194:
    case 198:
    case 199:
    case 213:
        return {0, 1};
    case 49:
    case 78:
    case 79:
    case 135:
    case 136:
    case 137:
    case 138:
    case 139:
    case 167:
    case 172:
    case 184:
    case 186:
    case 188:
    case 192:
    case 193:
    case 195:
        return {0, 2};
    case 190:
        return {1, 1};
    case 96:
    case 170:
    case 215:
    case 346:
    case 347:
    case 348:
    case 349:
    case 350:
        return {1, 0};
    case 206:
    case 207:
    case 208:
    case 209:
    case 210:
    case 211:
    case 212:
        return {2, 0};
    default:
        return {0, 0};
    }
}

QString trimBlanks(const QString &line)
{
    int begin = 0;
    int end = line.size();
    while (begin < end && (line[begin] == u' ' || line[begin] == u'\t'))
        ++begin;
    while (end > begin && (line[end - 1] == u' ' || line[end - 1] == u'\t' || line[end - 1] == u'\r'))
        --end;
    return line.mid(begin, end - begin);
}

} // namespace

bool Catalogue::readLanguageFile(const QString &path, QString *error)
{
    const FileContent file = ReadRegularFile(path);
    if (!file.ok()) {
        if (error)
            *error = file.error;
        return false;
    }
    const QString content = decodeText(file.content);
    QStringList lines = splitTextLines(content);
    // A final line end does not start another line.
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    if (lines.size() < Msg::Count) {
        if (error)
            *error = extraText(ExtraText::LanguageFileShort, language_)
                         .arg(QDir::toNativeSeparators(path))
                         .arg(Msg::Count)
                         .arg(lines.size());
        return false;
    }
    std::array<QString, Msg::Count + 1> read;
    for (int pos = 1; pos <= Msg::Count; ++pos) {
        const Blanks b = blanksFor(pos);
        read[pos] = QString(b.front, u' ') + trimBlanks(lines[pos - 1]) + QString(b.end, u' ');
    }
    for (int pos = 1; pos <= Msg::Count; ++pos)
        setText(pos, read[pos]);
    helpFile = QStringLiteral("Zentri2e.hlp");
    language_ = Loaded;
    return true;
}

bool Catalogue::writeLanguageFile(const QString &path, QString *error) const
{
    QStringList lines;
    for (int pos = 1; pos <= Msg::Count; ++pos)
        lines << texts_[pos];
    return WriteFileAtomically(path, encodeText(lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")),
                               error);
}

bool Catalogue::fill(int language, int brand, const QString &dir, QString *error)
{
    // Only code 4 reads a file; any other code is a built-in language (unknown codes give
    // English, as fillBuiltin does), so a damaged ini value never sends us to "speech.txt".
    if (language != Loaded) {
        fillBuiltin(language, brand);
        return true;
    }
    Catalogue loaded(*this);
    loaded.setHeader(brand);
    if (!loaded.readLanguageFile(QDir(dir).filePath(QStringLiteral("speech.txt")), error))
        return false;
    *this = loaded;
    return true;
}

} // namespace zx
