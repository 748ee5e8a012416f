#include "app/ComparisonTexts.h"

#include <array>

namespace zx {

namespace {

struct Row {
    const char *en, *de, *fr;
};

// Rows with a count hold the singular and the plural form separated by '|'.
constexpr std::array<Row, static_cast<int>(CompareText::Count)> Rows{{
    {"only in %1", "nur in %1", "seulement dans %1"},
    {"changed", "geändert", "modifié"},
    {"device settings", "Geräteeinstellungen", "réglages de l'appareil"},
    {"The programs are the same.", "Die Programme sind gleich.", "Les programmes sont identiques."},
    {"written and verified", "geschrieben und geprüft", "écrit et vérifié"},
    {"written, but the device reads back differently:\n%1",
     "geschrieben, aber das Gerät liest anders zurück:\n%1",
     "écrit, mais l'appareil relit autre chose :\n%1"},
    {"&Verify after writing", "Nach dem Schreiben &prüfen", "&Vérifier après l'écriture"},
    {"Compare with &file...", "Mit &Datei vergleichen...", "Comparer avec un &fichier..."},
    {"Compare with de&vice...", "Mit &Gerät vergleichen...", "Comparer avec l'&appareil..."},
    {"Compare", "Vergleich", "Comparaison"},
    {"program", "Programm", "programme"},
    {"device", "Gerät", "appareil"},
    {"&Undo %1", "&Rückgängig: %1", "&Annuler : %1"},
    {"&Redo %1", "&Wiederholen: %1", "&Rétablir : %1"},
    {"add 1 switching time|add %1 switching times", "1 Schaltzeit eintragen|%1 Schaltzeiten eintragen",
     "ajouter 1 horaire|ajouter %1 horaires"},
    {"delete 1 switching time|delete %1 switching times", "1 Schaltzeit löschen|%1 Schaltzeiten löschen",
     "supprimer 1 horaire|supprimer %1 horaires"},
    {"change 1 switching time|change %1 switching times", "1 Schaltzeit ändern|%1 Schaltzeiten ändern",
     "modifier 1 horaire|modifier %1 horaires"},
    {"add 1 priority time|add %1 priority times", "1 Prioritätszeit eintragen|%1 Prioritätszeiten eintragen",
     "ajouter 1 priorité|ajouter %1 priorités"},
    {"delete 1 priority time|delete %1 priority times",
     "1 Prioritätszeit löschen|%1 Prioritätszeiten löschen", "supprimer 1 priorité|supprimer %1 priorités"},
    {"change 1 priority time|change %1 priority times", "1 Prioritätszeit ändern|%1 Prioritätszeiten ändern",
     "modifier 1 priorité|modifier %1 priorités"},
    {"change changeover table", "Umschalttabelle ändern", "modifier la table de changement d'heure"},
    {"change astro times", "Astrozeiten ändern", "modifier les heures astronomiques"},
    {"change device settings", "Geräteeinstellungen ändern", "modifier les réglages de l'appareil"},
    {"change texts", "Texte ändern", "modifier les textes"},
    {"read from device", "Gerät auslesen", "lire l'appareil"},
    {"change program", "Programm ändern", "modifier le programme"},
    {"device type", "Gerätetyp", "type d'appareil"},
    {"channels", "Kanäle", "canaux"},
    {"bus device", "Busgerät", "appareil bus"},
    {"device code", "Gerätekennung", "code d'appareil"},
    {"summer/winter rule", "Sommer/Winter-Regel", "règle été/hiver"},
    {"write protection", "Schreibschutz", "protection en écriture"},
    {"European date", "Europäisches Datum", "date européenne"},
    {"German display", "Deutsche Anzeige", "affichage allemand"},
    {"radio synchronised", "Funksynchronisiert", "synchronisé par radio"},
    {"NAK off", "NAK aus", "NAK désactivé"},
    {"permanent switching by keyboard", "Dauerschaltung über Tastatur", "commutation permanente au clavier"},
    {"master card options", "Mastercard-Optionen", "options de la carte maître"},
    {"meter pulse channel", "Messimpuls-Kanal", "canal d'impulsion de mesure"},
    {"meter period", "Messperiode", "période de mesure"},
    {"meter pulse length", "Messimpulsdauer", "durée d'impulsion de mesure"},
    {"meter pulse state", "Messimpuls-Zustand", "état d'impulsion de mesure"},
    {"meter pulse timing", "Messimpuls-Zeitpunkt", "moment d'impulsion de mesure"},
    {"program number", "Programmnummer", "numéro de programme"},
    {"usage text", "Verwendung", "utilisation"},
    {"name of channel %1", "Name von Kanal %1", "nom du canal %1"},
    {"longitude", "Längengrad", "longitude"},
    {"latitude", "Breitengrad", "latitude"},
    {"time zone", "Zeitzone", "fuseau horaire"},
    {"offset sunrise", "Versatz Sonnenaufgang", "décalage lever du soleil"},
    {"offset sunset", "Versatz Sonnenuntergang", "décalage coucher du soleil"},
    {"astro minute", "Astrominute", "minute astro"},
    {"astro channels 1 and 2", "Astrokanäle 1 und 2", "canaux astro 1 et 2"},
    {"first year of the changeover table", "erstes Jahr der Umschalttabelle",
     "première année de la table de changement d'heure"},
    {"&Read and compare", "&Auslesen und vergleichen", "&Lire et comparer"},
    {"changeovers per year", "Umschaltungen pro Jahr", "changements d'heure par an"},
    {"option bit 0", "Optionsbit 0", "bit d'option 0"},
}};

} // namespace

QString compareText(CompareText id, int sprache)
{
    const Row &r = Rows[static_cast<int>(id)];
    return QString::fromUtf8(sprache == 1 ? r.de : sprache == 3 ? r.fr : r.en);
}

QString compareCountText(CompareText id, int count, int sprache)
{
    const QString both = compareText(id, sprache);
    const int bar = both.indexOf(QLatin1Char('|'));
    if (bar < 0)
        return both.arg(count);
    return count == 1 ? both.left(bar) : both.mid(bar + 1).arg(count);
}

} // namespace zx
