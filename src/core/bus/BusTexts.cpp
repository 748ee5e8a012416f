#include "bus/BusTexts.h"

namespace zx {

QString busText(BusText id, int sprache)
{
    struct Row {
        const char *en, *de, *fr;
    };
    static const Row rows[] = {
        {"The saved application \"appl.old\" belongs to device %1, which still holds the programming "
         "application. Choose \"%3\" for %1 first.",
         "Die gesicherte Applikation \"appl.old\" gehört zum Gerät %1, das noch die "
         "Programmier-Applikation enthält. Wählen Sie zuerst \"%3\" für %1.",
         "L'application sauvegardée \"appl.old\" appartient à l'appareil %1, qui contient encore "
         "l'application de programmation. Choisissez d'abord « %3 » pour %1."},
        {"The saved application \"appl.old\" belongs to device %1, not to %2: it is not installed in %2.",
         "Die gesicherte Applikation \"appl.old\" gehört zum Gerät %1, nicht zu %2: sie wird nicht in "
         "%2 installiert.",
         "L'application sauvegardée \"appl.old\" appartient à l'appareil %1, pas à %2 : elle n'est pas "
         "installée dans %2."},
        {"The time switch still holds the programming application: choose \"%3\" to give it back "
         "its own application.",
         "Die Schaltuhr enthält noch die Programmier-Applikation: Wählen Sie \"%3\", um ihr die "
         "eigene Applikation zurückzugeben.",
         "L'horloge contient encore l'application de programmation : choisissez « %3 » pour lui "
         "rendre sa propre application."},
        {"The IP interface %1 refused the connection (status 0x%2).",
         "Die IP-Schnittstelle %1 hat die Verbindung abgelehnt (Status 0x%2).",
         "L'interface IP %1 a refusé la connexion (état 0x%2)."},
        {"The connection to the IP interface %1 was lost.",
         "Die Verbindung zur IP-Schnittstelle %1 ging verloren.",
         "La connexion à l'interface IP %1 a été perdue."},
        {"IP interface", "IP-Schnittstelle", "Interface IP"},
        {"Host[:port] :", "Host[:Port] :", "Hôte[:port] :"},
        {"\"%1\" is no host name or address (with an optional port, host:port).",
         "\"%1\" ist kein Hostname und keine Adresse (mit optionalem Port, Host:Port).",
         "\"%1\" n'est ni un nom d'hôte ni une adresse (port facultatif, hôte:port)."},
        {"The host name %1 was not found.", "Der Hostname %1 wurde nicht gefunden.",
         "Le nom d'hôte %1 est introuvable."},
        {"The transfer was interrupted; the connection to the device was closed.",
         "Die Übertragung wurde abgebrochen; die Verbindung zum Gerät wurde geschlossen.",
         "Le transfert a été interrompu ; la connexion à l'appareil a été fermée."},
    };
    const Row &r = rows[static_cast<int>(id)];
    return QString::fromUtf8(sprache == 1 ? r.de : sprache == 3 ? r.fr : r.en);
}

} // namespace zx
