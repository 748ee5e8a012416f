#include "platform/SystemReasons.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <vector>

namespace zx {

namespace {

struct ReasonRow {
    int key; // errno, or an own reason below zero
    const char *en, *de, *fr;
};

constexpr int OwnKey(OwnReason r)
{
    return -1 - static_cast<int>(r);
}

// The reasons this program reports: what opening, reading, replacing, appending, locking and
// writing to standard output can run into.
const ReasonRow Rows[] = {
    {ENOENT, "No such file or directory", "Datei oder Verzeichnis nicht gefunden",
     "Aucun fichier ou dossier de ce nom"},
    {EACCES, "Permission denied", "Keine Berechtigung", "Permission refusée"},
    {EPERM, "Operation not permitted", "Vorgang nicht zulässig", "Opération non autorisée"},
    {ENOSPC, "No space left on device", "Kein Speicherplatz mehr auf dem Gerät",
     "Plus d'espace disponible sur le périphérique"},
    {EDQUOT, "Disk quota exceeded", "Speicherkontingent überschritten", "Quota de disque dépassé"},
    {EFBIG, "File too large", "Datei zu groß", "Fichier trop volumineux"},
    {EISDIR, "Is a directory", "Ist ein Verzeichnis", "Est un dossier"},
    {ENOTDIR, "Not a directory", "Ist kein Verzeichnis", "N'est pas un dossier"},
    {EROFS, "Read-only file system", "Dateisystem nur lesbar", "Système de fichiers en lecture seule"},
    {EIO, "Input/output error", "Ein-/Ausgabefehler", "Erreur d'entrée/sortie"},
    {ENAMETOOLONG, "File name too long", "Dateiname zu lang", "Nom de fichier trop long"},
    {ELOOP, "Too many levels of symbolic links", "Zu viele Ebenen symbolischer Verknüpfungen",
     "Trop de niveaux de liens symboliques"},
    {EPIPE, "Broken pipe", "Unterbrochene Pipe", "Tube brisé"},
    {EBUSY, "Device or resource busy", "Gerät oder Ressource belegt", "Périphérique ou ressource occupé"},
    {ENXIO, "No such device or address", "Gerät oder Adresse nicht vorhanden",
     "Périphérique ou adresse inexistant"},
    {EEXIST, "File exists", "Datei existiert bereits", "Le fichier existe"},
    {OwnKey(OwnReason::NotRegularFile), "Not a regular file", "Keine gewöhnliche Datei",
     "Pas un fichier ordinaire"},
    {OwnKey(OwnReason::ReadOnlyFile), "Read-only file", "Schreibgeschützte Datei",
     "Fichier en lecture seule"},
    {OwnKey(OwnReason::InUse), "in use by another program", "von einem anderen Programm belegt",
     "utilisé par un autre programme"},
    {OwnKey(OwnReason::CannotLock), "cannot make the lock file", "die Sperrdatei lässt sich nicht anlegen",
     "impossible de créer le fichier de verrou"},
};

QString inLanguage(const ReasonRow &row, int language)
{
    return QString::fromUtf8(language == 1 ? row.de : language == 3 ? row.fr : row.en);
}

const ReasonRow *find(int key)
{
    const auto it =
        std::find_if(std::begin(Rows), std::end(Rows), [key](const ReasonRow &r) { return r.key == key; });
    return it == std::end(Rows) ? nullptr : it;
}

} // namespace

QString SystemReason(int errorNumber, int language)
{
    if (const ReasonRow *row = errorNumber > 0 ? find(errorNumber) : nullptr)
        return inLanguage(*row, language);
    return QString::fromLocal8Bit(std::strerror(errorNumber));
}

QString OwnReasonText(OwnReason reason, int language)
{
    return inLanguage(*find(OwnKey(reason)), language);
}

// Whether the words at `at` are a reason of their own and not part of a path or a name: a
// folder may well be called "Permission denied", and the path must still name it.
static bool standsAlone(const QString &text, qsizetype at, qsizetype length)
{
    const auto partOfName = [](QChar c) {
        return c.isLetterOrNumber() || c == u'/' || c == u'\\' || c == u'_' || c == u'-' || c == u'.';
    };
    const qsizetype end = at + length;
    const bool startsAlone = at == 0 || !partOfName(text.at(at - 1));
    const bool endsAlone = end == text.size() || !partOfName(text.at(end)) ||
                           (text.at(end) == u'.' && (end + 1 == text.size() || text.at(end + 1).isSpace()));
    return startsAlone && endsAlone;
}

QString TranslateReasons(const QString &text, int language)
{
    if (language != 1 && language != 3)
        return text;
    // the longest first, so "Read-only file system" is not taken for "Read-only file"
    static const std::vector<const ReasonRow *> byLength = [] {
        std::vector<const ReasonRow *> rows;
        for (const ReasonRow &r : Rows)
            rows.push_back(&r);
        std::stable_sort(rows.begin(), rows.end(), [](const ReasonRow *a, const ReasonRow *b) {
            return std::strlen(a->en) > std::strlen(b->en);
        });
        return rows;
    }();
    QString out = text;
    for (const ReasonRow *row : byLength) {
        const QString english = QString::fromUtf8(row->en);
        // the search goes on after the words put in, so they are never matched again
        qsizetype at = 0;
        while ((at = out.indexOf(english, at)) >= 0) {
            if (!standsAlone(out, at, english.size())) {
                at += english.size();
                continue;
            }
            const QString said = inLanguage(*row, language);
            out.replace(at, english.size(), said);
            at += said.size();
        }
    }
    return out;
}

} // namespace zx
