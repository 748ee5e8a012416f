#include "app/DefaultFileName.h"

#include "i18n/Catalogue.h"
#include "platform/Prompter.h"

#include <QDir>
#include <QFileInfo>

namespace zx {

std::optional<QString> NextFreeDefaultFileName(const QString &dir, const Catalogue &catalogue)
{
    const QDir directory(dir);
    const QString prefix = catalogue(Msg::DefaultFilePrefix);
    for (int i = 1; i <= MaxDefaultFileNumber; ++i) {
        const QString path = directory.filePath(prefix + QString::number(i) + QStringLiteral(".zxp"));
        // A dangling link or a folder of that name is taken too: saving there would fail.
        if (!QFileInfo(path).exists() && !QFileInfo(path).isSymLink())
            return path;
    }
    return std::nullopt;
}

QString DefaultFileName(const QString &dir, const Catalogue &catalogue, Prompter &prompter)
{
    if (auto path = NextFreeDefaultFileName(dir, catalogue))
        return *path;
    prompter.tell(catalogue(Msg::SaveYourExistingFilesWith) + catalogue(Msg::DefaultFilePrefix) +
                      QStringLiteral("xxx.zxp"),
                  Icon::Critical);
    return {};
}

std::optional<QChar> UncarriableFileNameCharacter(const QString &fileName)
{
    for (const QChar c : fileName) {
        // A lone half of a surrogate pair has no UTF-8 form either.
        if (c.unicode() < 0x20 || c.unicode() == 0x7F || (c.isSurrogate() && !fileName.isValidUtf16()))
            return c;
    }
    return std::nullopt;
}

} // namespace zx
