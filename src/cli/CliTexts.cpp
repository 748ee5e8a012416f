#include "CliTexts.h"

#include <iterator>

namespace zx::cli {

QString cliText(CliText id, int language)
{
    struct Row {
        const char *en, *de, *fr;
    };
    static const Row rows[] = {
        {"unknown option", "unbekannte Option", "option inconnue"},
        {"a value is required", "ein Wert fehlt", "une valeur est attendue"},
        {"given twice", "zweimal angegeben", "donnée deux fois"},
        {"outside %1..%2", "außerhalb von %1..%2", "hors de %1..%2"},
        {"one of %1 is required", "erlaubt ist eines von %1", "une des valeurs %1 est attendue"},
        {"the program has %1 channels", "das Programm hat %1 Kanäle", "le programme a %1 canaux"},
        {"standard output", "Standardausgabe", "sortie standard"},
        {"standard input", "Standardeingabe", "entrée standard"},
        {"exists; --force replaces it", "existiert; --force ersetzt die Datei",
         "existe ; --force le remplace"},
        {"is the program file itself", "ist die Programmdatei selbst", "est le fichier programme lui-même"},
        {"nothing to print; the output file is left as it was",
         "nichts zu drucken; die Ausgabedatei bleibt unverändert",
         "rien à imprimer ; le fichier de sortie reste tel quel"},
        {"not a date", "kein Datum", "pas une date"},
        {"too many arguments", "zu viele Argumente", "trop d'arguments"},
        {"%1 is missing", "%1 fehlt", "%1 manque"},
        {"there is no row %1", "es gibt keine Zeile %1", "il n'y a pas de ligne %1"},
        {"not a value this field takes", "kein Wert für dieses Feld", "pas une valeur de ce champ"},
        {"no entry matches; the file is left as it was", "kein Eintrag passt; die Datei bleibt unverändert",
         "aucune entrée ne correspond ; le fichier reste tel quel"},
        {"%1 entries match; --all removes them all, the file is left as it was",
         "%1 Einträge passen; --all löscht sie alle, die Datei bleibt unverändert",
         "%1 entrées correspondent ; --all les supprime toutes, le fichier reste tel quel"},
        {"done", "fertig", "terminé"},
        {"only a permanent priority (--priority permanent) switches to a state or a value",
         "nur eine Dauerpriorität (--priority permanent) schaltet auf einen Zustand oder Wert",
         "seule une priorité permanente (--priority permanent) commute sur un état ou une valeur"},
        {"not a time HH:MM (00:00 to 23:59)", "keine Uhrzeit HH:MM (00:00 bis 23:59)",
         "pas une heure HH:MM (00:00 à 23:59)"},
        {"%1 and %2 exclude each other", "%1 und %2 schließen einander aus", "%1 et %2 s'excluent"},
        {"not an option of %1", "keine Option von %1", "pas une option de %1"},
        {"a bus device takes %1", "ein Busgerät nimmt %1", "un appareil bus prend %1"},
        {"a conventional device takes %1", "ein konventionelles Gerät nimmt %1",
         "un appareil conventionnel prend %1"},
        {"interrupted: the port is closed; the device may hold an incomplete program, write it again",
         "abgebrochen: der Port ist geschlossen; das Gerät enthält womöglich ein unvollständiges Programm, "
         "schreiben Sie es erneut",
         "interrompu : le port est fermé ; l'appareil contient peut-être un programme incomplet, "
         "écrivez-le à nouveau"},
        {"interrupted: the port is closed; the device was only read, not changed",
         "abgebrochen: der Port ist geschlossen; das Gerät wurde nur gelesen, nicht verändert",
         "interrompu : le port est fermé ; l'appareil a seulement été lu, pas modifié"},
        {"unknown command; zentrix-cli help lists them", "unbekannter Befehl; zentrix-cli help nennt alle",
         "commande inconnue ; zentrix-cli help les énumère"},
        {"not JSON: %1 at offset %2", "kein JSON: %1 an Stelle %2", "pas du JSON : %1 à la position %2"},
        {"a JSON object is required", "ein JSON-Objekt wird erwartet", "un objet JSON est attendu"},
        {"%1 day(s) changed", "%1 Tag(e) geändert", "%1 jour(s) modifié(s)"},
        {"%1 does not exist: the defaults of the brand's first model",
         "%1 existiert nicht: die Vorgaben des ersten Modells der Marke",
         "%1 n'existe pas : les valeurs par défaut du premier modèle de la marque"},
        {"%1 has %2 of 18 lines: the defaults of the brand's first model",
         "%1 hat %2 von 18 Zeilen: die Vorgaben des ersten Modells der Marke",
         "%1 a %2 lignes sur 18 : les valeurs par défaut du premier modèle de la marque"},
        {"%1 is missing", "%1 fehlt", "%1 manque"},
        {"unexpected argument", "unerwartetes Argument", "argument inattendu"},
        {"one of %1 is required", "eine der Optionen %1 wird erwartet", "une des options %1 est attendue"},
        {"the annual time switch has no astro list; only the astro device (236) has one",
         "die Jahresschaltuhr hat keine Astroliste; nur das Astrogerät (236) hat eine",
         "l'horloge annuelle n'a pas de liste astro ; seul l'appareil astro (236) en a une"},
        {"%1: one of %2 is required", "%1: erlaubt ist eines von %2", "%1 : une des valeurs %2 est attendue"},
        {"%1 cannot be changed; remove the entry and add it anew",
         "%1 lässt sich nicht ändern; den Eintrag löschen und neu eingeben",
         "%1 ne peut pas être modifié ; supprimez l'entrée et ajoutez-la à nouveau"},
        {"a program file is required here, not standard input",
         "hier wird eine Programmdatei erwartet, nicht die Standardeingabe",
         "un fichier programme est attendu ici, pas l'entrée standard"},
        {"not a position the device takes", "keine Position, die das Gerät nimmt",
         "pas une position que l'appareil accepte"},
    };
    static_assert(std::size(rows) == static_cast<std::size_t>(CliText::NotAPosition) + 1,
                  "one row for every text");
    const Row &r = rows[static_cast<int>(id)];
    return QString::fromUtf8(language == 1 ? r.de : language == 3 ? r.fr : r.en);
}

} // namespace zx::cli
