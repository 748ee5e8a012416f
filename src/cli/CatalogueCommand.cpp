// zentrix-cli catalogue: prints the message catalogue of a language, one position a line.
#include "Commands.h"

#include "i18n/Catalogue.h"
#include "model/BrandTable.h"

namespace zx::cli {

int runCatalogue(Options &o)
{
    const int brand = o.integer("--brand", {1, BrandCount}).value_or(1);
    if (o.failed())
        return 2;
    if (!o.expectArguments({}))
        return 2;
    const QString lang = o.has("--lang") ? o.value("--lang") : QStringLiteral("en");

    Catalogue catalogue;
    if (lang == QLatin1String("en") || lang == QLatin1String("de") || lang == QLatin1String("fr")) {
        catalogue.fillBuiltin(o.language(), brand);
    } else if (lang.endsWith(QLatin1String(".ln1"), Qt::CaseInsensitive)) {
        catalogue.fillBuiltin(English, brand);
        QString error;
        if (!catalogue.readLanguageFile(lang, &error))
            return fail(lang, error);
    } else {
        return o.badValue("--lang", QStringLiteral("en, de, fr or a language file FILE.ln1"));
    }

    QByteArray out;
    for (int pos = 1; pos <= Msg::Count; ++pos)
        out += QByteArray::number(pos) + "\t\"" + catalogue(pos).toUtf8() + "\"\n";
    printBytes(out);
    return 0;
}

} // namespace zx::cli
