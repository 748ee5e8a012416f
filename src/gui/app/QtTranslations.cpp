#include "app/QtTranslations.h"

#include "i18n/Catalogue.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

#include <memory>

namespace zx {

bool useQtTranslations(int language)
{
    static std::unique_ptr<QTranslator> installed;
    if (installed) {
        QCoreApplication::removeTranslator(installed.get());
        installed.reset();
    }
    const char *code = language == German ? "de" : language == French ? "fr" : nullptr;
    if (!code)
        return true;
    auto translator = std::make_unique<QTranslator>();
    // "qt_xx" gathers the translations of every Qt module installed.
    if (!translator->load(QStringLiteral("qt_") + QLatin1String(code),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        return false;
    QCoreApplication::installTranslator(translator.get());
    installed = std::move(translator);
    return true;
}

} // namespace zx
