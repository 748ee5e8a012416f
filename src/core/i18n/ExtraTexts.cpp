#include "i18n/ExtraTexts.h"

namespace zx {

QString extraText(ExtraText id, int sprache)
{
    struct Row {
        const char *en, *de, *fr;
    };
    static const Row rows[] = {
        {"Preview", "Vorschau", "Aperçu"},
        {"Contents", "Inhalt", "Sommaire"},
        {"Back", "Zurück", "Précédent"},
        {"Forward", "Vor", "Suivant"},
        {"Search", "Suchen", "Rechercher"},
        {"The help file %1 is missing.", "Die Hilfedatei %1 fehlt.", "Le fichier d'aide %1 est introuvable."},
        {"Help", "Hilfe", "Aide"},
    };
    const Row &r = rows[static_cast<int>(id)];
    return QString::fromUtf8(sprache == 1 ? r.de : sprache == 3 ? r.fr : r.en);
}

} // namespace zx
