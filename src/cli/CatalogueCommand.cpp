// zentrix-cli catalogue: prints the message catalogue of a language, one position a line.
#include "Commands.h"
#include "ProgramDocument.h"

#include "app/BrandTable.h"
#include "i18n/Catalogue.h"

#include <QFileInfo>

namespace zx::cli {

static const char *catalogueUsage = "zentrix-cli catalogue [--lang en|de|fr|FILE.ln1] [--brand N]";

int runCatalogue(const QStringList &args)
{
    QString lang = QStringLiteral("en");
    int brand = 1;
    for (int i = 0; i < args.size(); ++i) {
        const QString &a = args[i];
        if ((a == QLatin1String("--lang") || a == QLatin1String("--brand")) && i + 1 < args.size()) {
            const QString value = args[++i];
            if (a == QLatin1String("--lang")) {
                lang = value;
            } else {
                bool ok = false;
                brand = value.toInt(&ok);
                if (!ok || brand < 1 || brand > BrandCount)
                    return usageError(catalogueUsage);
            }
        } else {
            return usageError(catalogueUsage);
        }
    }

    Catalogue catalogue;
    if (int code = English; parseLanguageOption(lang, &code)) {
        catalogue.fillBuiltin(code, brand);
    } else if (lang.endsWith(QLatin1String(".ln1"), Qt::CaseInsensitive)) {
        catalogue.fillBuiltin(English, brand);
        QString error;
        if (!catalogue.readLanguageFile(lang, &error)) {
            std::fprintf(stderr, "zentrix-cli: %s: %s\n", qPrintable(lang), qPrintable(error));
            return 1;
        }
    } else {
        return usageError(catalogueUsage);
    }

    QByteArray out;
    for (int pos = 1; pos <= Msg::Count; ++pos)
        out += QByteArray::number(pos) + "\t\"" + catalogue(pos).toUtf8() + "\"\n";
    std::fwrite(out.constData(), 1, static_cast<size_t>(out.size()), stdout);
    return 0;
}

} // namespace zx::cli
