#include "i18n/ExtraTexts.h"

#include <iterator>

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
        {"Channel 1 and channel 2 cannot be switched by one entry.",
         "Kanal 1 und Kanal 2 können nicht im selben Eintrag geschaltet werden.",
         "Le canal 1 et le canal 2 ne peuvent pas être commutés par la même entrée."},
        {"The astro device switches its outputs only: no pulses.",
         "Das Astrogerät schaltet nur seine Ausgänge: keine Impulse.",
         "L'appareil astro commute seulement ses sorties : pas d'impulsions."},
        {"an even number from %1 to %2", "eine gerade Zahl von %1 bis %2", "un nombre pair de %1 à %2"},
        {"A bus device has no year in its priority times: a free holiday can only be entered for one "
         "year. Choose 2 years for free holidays, or enter the date itself.",
         "Ein Busgerät hat kein Jahr in seinen Prioritätszeiten: ein freier Feiertag kann nur für ein "
         "Jahr eingegeben werden. Wählen Sie 2 Jahre für freie Feiertage oder geben Sie das Datum selbst "
         "ein.",
         "Un appareil bus n'a pas d'année dans ses temps de priorité : un jour férié libre ne peut être "
         "saisi que pour une année. Choisissez 2 ans pour les jours fériés libres, ou saisissez la date "
         "elle-même."},
        {"There is no holiday named \"%1\" in %2.", "In %2 gibt es keinen Feiertag \"%1\".",
         "Il n'y a pas de jour férié nommé \"%1\" dans %2."},
        {"There is no holiday set named \"%1\" in %2.", "In %2 gibt es keine Feiertagsgruppe \"%1\".",
         "Il n'y a pas de groupe de jours fériés nommé \"%1\" dans %2."},
        {"The holiday set \"%1\" holds no holidays.", "Die Feiertagsgruppe \"%1\" enthält keine Feiertage.",
         "Le groupe de jours fériés \"%1\" ne contient aucun jour férié."},
        {"Nothing was stored: no date of the chosen holidays lies ahead of %1 in the years the device "
         "can hold.",
         "Nichts gespeichert: kein Datum der gewählten Feiertage liegt nach dem %1 in den Jahren, die das "
         "Gerät speichern kann.",
         "Rien n'a été enregistré : aucune date des jours fériés choisis ne suit le %1 dans les années que "
         "l'appareil peut garder."},
        {"The holiday file %1 could not be read, so it holds more than this list shows. Write the list "
         "over it? The damaged file is kept as %2.",
         "Die Feiertagsdatei %1 konnte nicht gelesen werden und enthält mehr, als diese Liste zeigt. Die "
         "Liste darüber schreiben? Die beschädigte Datei bleibt als %2 erhalten.",
         "Le fichier des jours fériés %1 n'a pas pu être lu : il contient plus que cette liste. Écrire la "
         "liste à sa place ? Le fichier endommagé est gardé sous %2."},
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
        {"The language file %1 is too short: %2 lines are needed, %3 were found.",
         "Die Sprachdatei %1 ist zu kurz: %2 Zeilen werden gebraucht, %3 wurden gefunden.",
         "Le fichier de langue %1 est trop court : %2 lignes sont nécessaires, %3 ont été trouvées."},
        {"Choose another language, or load another language file.",
         "Wählen Sie eine andere Sprache oder laden Sie eine andere Sprachdatei.",
         "Choisissez une autre langue ou chargez un autre fichier de langue."},
        {"Switching times to delete: %1", "Zu löschende Schaltzeiten: %1", "Horaires à supprimer : %1"},
        {"Priority times to delete: %1", "Zu löschende Prioritätszeiten: %1", "Priorités à supprimer : %1"},
        {"Changeover entries to delete: %1 to %2", "Zu löschende Umschalttermine: %1 bis %2",
         "Changements d'heure à supprimer : %1 à %2"},
        {"Delete the times of %1 days?", "Die Zeiten von %1 Tagen löschen?",
         "Supprimer les heures de %1 jours ?"},
        {"%1 of %2", "%1 von %2", "%1 sur %2"},
        {"Printing finished.", "Der Druck ist abgeschlossen.", "L'impression est terminée."},
        {"The list was written to %1.", "Die Liste wurde in %1 geschrieben.",
         "La liste a été écrite dans %1."},
        {"Saved as %1.", "Gespeichert als %1.", "Enregistré sous %1."},
        {"Settings not saved: %1 could not be written (%2).",
         "Einstellungen nicht gespeichert: %1 konnte nicht geschrieben werden (%2).",
         "Paramètres non enregistrés : impossible d'écrire %1 (%2)."},
        {"The holiday changes could not be saved: %1 could not be written (%2).\n\nTry again? No discards "
         "the changes.",
         "Die Änderungen der Feiertage konnten nicht gespeichert werden: %1 konnte nicht geschrieben werden "
         "(%2).\n\nNoch einmal versuchen? Nein verwirft die Änderungen.",
         "Les modifications des jours fériés n'ont pas pu être enregistrées : impossible d'écrire %1 "
         "(%2).\n\nRéessayer ? Non abandonne les modifications."},
        {"A file name cannot hold the character \"%1\" here: the program file could not keep it.",
         "Ein Dateiname kann das Zeichen \"%1\" hier nicht enthalten: die Programmdatei könnte es nicht "
         "aufnehmen.",
         "Un nom de fichier ne peut pas contenir le caractère « %1 » ici : le fichier de programme ne "
         "pourrait pas le conserver."},
        {"Brand file looked for: %1", "Gesuchte Markendatei: %1", "Fichier de marque recherché : %1"},
        {"This program may be installed and used free of charge to program the time switches it "
         "supports. It is provided \"as is\", without warranty of any kind. Unmodified copies may be "
         "passed on; all other rights are reserved.",
         "Dieses Programm darf kostenlos installiert und zum Programmieren der unterstützten Schaltuhren "
         "benutzt werden. Es wird ohne jede Gewährleistung bereitgestellt, so wie es ist. Unveränderte "
         "Kopien dürfen weitergegeben werden; alle anderen Rechte bleiben vorbehalten.",
         "Ce programme peut être installé et utilisé gratuitement pour programmer les horloges qu'il "
         "prend en charge. Il est fourni « tel quel », sans aucune garantie. Des copies non modifiées "
         "peuvent être transmises ; tous les autres droits sont réservés."},
        {"Find next", "Weitersuchen", "Suivant"},
        {"\"%1\" was not found.", "\"%1\" wurde nicht gefunden.", "« %1 » est introuvable."},
        {"Rename set", "Satz umbenennen", "Renommer le jeu"},
        {"No program was read: the memory read is empty.",
         "Es wurde kein Programm gelesen: der gelesene Speicher ist leer.",
         "Aucun programme n'a été lu : la mémoire lue est vide."},
        {"The calendar was written to %1 (%2 events).", "Der Kalender wurde in %1 geschrieben (%2 Termine).",
         "Le calendrier a été écrit dans %1 (%2 événements)."},
        {"Rename", "Umbenennen", "Renommer"},
        {"Rename the holiday \"%1\" to \"%2\"? Every set that holds it shows the new name.",
         "Den Feiertag \"%1\" in \"%2\" umbenennen? Jeder Satz, der ihn enthält, zeigt den neuen Namen.",
         "Renommer le jour férié « %1 » en « %2 » ? Chaque jeu qui le contient affiche le nouveau nom."},
        {"Holiday file", "Feiertagsdatei", "Fichier des jours fériés"},
        {"The astro table holds times changed by hand. Compute it again from the new settings and "
         "lose those changes?\n\nNo keeps the table as it is.",
         "Die Astrotabelle enthält von Hand geänderte Zeiten. Soll sie aus den neuen Einstellungen neu "
         "berechnet werden? Die Änderungen gehen dabei verloren.\n\nNein behält die Tabelle, wie sie ist.",
         "La table astro contient des heures modifiées à la main. La recalculer avec les nouveaux "
         "paramètres et perdre ces modifications ?\n\nNon conserve la table telle quelle."},
    };
    static_assert(std::size(rows) == static_cast<std::size_t>(ExtraText::Count));
    const Row &r = rows[static_cast<int>(id)];
    return QString::fromUtf8(sprache == 1 ? r.de : sprache == 3 ? r.fr : r.en);
}

} // namespace zx
