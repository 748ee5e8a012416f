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
        {"The file was changed on disk since it was read; it is not overwritten.",
         "Die Datei wurde seit dem Lesen auf dem Datenträger geändert; sie wird nicht überschrieben.",
         "Le fichier a été modifié sur le disque depuis sa lecture ; il n'est pas écrasé."},
        {"The file %1 was changed on disk since it was opened.\n\nYes: overwrite it with this program.\n"
         "No: load the file from disk (the changes here are lost).\nCancel: do not save.",
         "Die Datei %1 wurde seit dem Öffnen auf dem Datenträger geändert.\n\nJa: mit diesem Programm "
         "überschreiben.\nNein: die Datei vom Datenträger laden (die Änderungen hier gehen verloren).\n"
         "Abbrechen: nicht speichern.",
         "Le fichier %1 a été modifié sur le disque depuis son ouverture.\n\nOui : l'écraser avec ce "
         "programme.\nNon : charger le fichier depuis le disque (les modifications ici sont perdues).\n"
         "Annuler : ne pas enregistrer."},
        {"not a date (day %1, month %2)", "kein Datum (Tag %1, Monat %2)", "pas une date (jour %1, mois %2)"},
    };
    const Row &r = rows[static_cast<int>(id)];
    return QString::fromUtf8(sprache == 1 ? r.de : sprache == 3 ? r.fr : r.en);
}

} // namespace zx
