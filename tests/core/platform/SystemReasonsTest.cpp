#include "platform/SystemReasons.h"

#include "i18n/Catalogue.h"
#include "platform/FileAccess.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cerrno>

using namespace zx;

namespace {

struct ReasonCase {
    QString english; // as the file functions report it
    int language;
    QString said;
};

// A reason is said in the chosen language wherever it stands in a line; what is not a reason
// of ours (a path that happens to hold the words, an unlisted text) stays as it is.
TEST(SystemReasons, ReasonsInALineFollowTheLanguage)
{
    const std::vector<ReasonCase> cases = {
        {"No such file or directory", German, "Datei oder Verzeichnis nicht gefunden"},
        {"Permission denied", French, "Permission refusée"},
        {"No space left on device", German, "Kein Speicherplatz mehr auf dem Gerät"},
        {"/tmp/Read-only file system/a.zxp: Read-only file system", French,
         "/tmp/Read-only file system/a.zxp: Système de fichiers en lecture seule"},
        {"C:\\Permission denied\nPermission denied.", German, "C:\\Permission denied\nKeine Berechtigung."},
        {"/srv/old-Permission denied-2/.Permission denied: Permission denied", German,
         "/srv/old-Permission denied-2/.Permission denied: Keine Berechtigung"},
        {"Read-only file", German, "Schreibgeschützte Datei"}, // the shorter reason on its own
        {"in use by another program (/tmp/.a.zxp.lock)", German,
         "von einem anderen Programm belegt (/tmp/.a.zxp.lock)"},
        {"Permission denied", English, "Permission denied"},
        {"Permission denied", Loaded, "Permission denied"}, // a loaded language file: English
        {"Something else entirely", German, "Something else entirely"},
    };
    for (const ReasonCase &c : cases)
        EXPECT_EQ(TranslateReasons(c.english, c.language), c.said) << qPrintable(c.english);
    EXPECT_EQ(SystemReason(ENOSPC, French), QStringLiteral("Plus d'espace disponible sur le périphérique"));
    EXPECT_EQ(OwnReasonText(OwnReason::NotRegularFile, English), QStringLiteral("Not a regular file"));
    // a number outside the table still says something
    EXPECT_FALSE(SystemReason(EXDEV, German).isEmpty());
}

// The file functions report the table's English words, so every reason they give can be said
// in the user's language.
TEST(SystemReasons, FileFunctionsReportReasonsOfTheTable)
{
    zx::test::TempDir dir;
    const FileContent missing = ReadRegularFile(dir.file(QStringLiteral("none")));
    EXPECT_EQ(missing.error, SystemReason(ENOENT, English));
    const FileContent folder = ReadRegularFile(dir.path());
    EXPECT_EQ(TranslateReasons(folder.error, German), QStringLiteral("Ist ein Verzeichnis"));
}

} // namespace
