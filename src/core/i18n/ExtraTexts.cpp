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
        {"The chip tool \"%1\" was not found. Install the programming adapter's tool so that %1 is on the "
         "PATH or beside zentrix. For demonstrations, the simulated tool of this package is in "
         "/usr/libexec/zentrix: start zentrix with that folder on the PATH.",
         "Das Chip-Programm \"%1\" wurde nicht gefunden. Installieren Sie das Programm des "
         "Programmieradapters so, dass %1 im PATH oder neben zentrix liegt. Zum Vorführen liegt das "
         "simulierte Programm dieses Pakets in /usr/libexec/zentrix: starten Sie zentrix mit diesem Ordner "
         "im PATH.",
         "L'outil de programmation \"%1\" est introuvable. Installez l'outil de l'adaptateur de "
         "programmation "
         "pour que %1 soit dans le PATH ou à côté de zentrix. Pour une démonstration, l'outil "
         "simulé de ce paquet se trouve dans /usr/libexec/zentrix : démarrez zentrix avec ce dossier "
         "dans le PATH."},
        {"The export would replace the program file it is made from. Choose another file name.",
         "Der Export würde die Programmdatei ersetzen, aus der er entsteht. Wählen Sie einen anderen "
         "Dateinamen.",
         "L'export remplacerait le fichier programme dont il est issu. Choisissez un autre nom de fichier."},
        {"This is not a regular file; the export is written only to a regular file.",
         "Dies ist keine gewöhnliche Datei; der Export wird nur in eine gewöhnliche Datei geschrieben.",
         "Ce n'est pas un fichier ordinaire ; l'export n'est écrit que dans un fichier ordinaire."},
        {"Export iCalendar...", "iCalendar exportieren...", "Exporter en iCalendar..."},
        {"as CSV for spreadsheets", "als CSV für Tabellenkalkulation", "en CSV pour tableur"},
        {"iCalendar files (*.ics)", "iCalendar-Dateien (*.ics)", "Fichiers iCalendar (*.ics)"},
    };
    const Row &r = rows[static_cast<int>(id)];
    return QString::fromUtf8(sprache == 1 ? r.de : sprache == 3 ? r.fr : r.en);
}

} // namespace zx
