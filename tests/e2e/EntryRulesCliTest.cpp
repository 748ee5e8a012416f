// zentrix-cli's editing commands and the one rule they share with build: what add refuses as a
// repeat of an earlier entry, build refuses too; remove picks entries by the fields the list shows.
#include "support/CliRunner.h"
#include "support/TempDir.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

namespace zx::test {
namespace {

QByteArray readFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

class EntryRulesCli : public ::testing::Test {
  public:
    TempDir dir;
    // An empty program file of four channels (bus: a bus device).
    QString fresh(const QString &name, bool bus = false)
    {
        const QString path = dir.file(name);
        QStringList args{"new", path, "--type", "517", "--channels", "4", "--force"};
        if (bus)
            args << "--bus";
        EXPECT_EQ(RunCli(args).exitCode, 0);
        return path;
    }
    // The record bytes add stores for an entry, entered alone into an empty file.
    QJsonArray bytesOf(const QStringList &entry, bool bus)
    {
        const CliRun r = RunCli(QStringList{"add", fresh(QStringLiteral("alone.zxp"), bus)} + entry);
        EXPECT_EQ(r.exitCode, 0) << r.err.constData();
        QJsonArray bytes;
        for (const QByteArray &b : r.out.split('\n').value(0).split(' '))
            bytes.append(b.toInt());
        return bytes;
    }
};

struct PairCase {
    const char *name;
    bool bus;
    QStringList first, second;
    bool refused; // the second entry is refused after the first
};

TEST_F(EntryRulesCli, AddAndBuildRefuseTheSameRecordsAsDuplicates)
{
    const QStringList weekly{"switching", "--time", "06:30", "--days", "mo,tu", "--channels", "1,2"};
    const std::vector<PairCase> cases = {
        {"the same entry", false, weekly + QStringList{"--state", "on"},
         weekly + QStringList{"--state", "on"}, true},
        {"the other state", false, weekly + QStringList{"--state", "on"},
         weekly + QStringList{"--state", "off"}, true},
        {"a second pulse", false, weekly + QStringList{"--pulse", "5"}, weekly + QStringList{"--pulse", "9"},
         true},
        {"other channels",
         false,
         weekly,
         {"switching", "--time", "06:30", "--days", "mo,tu", "--channels", "1"},
         false},
        {"the same priority time",
         false,
         {"priority", "--from", "1.5", "--to", "3.5", "--priority", "2", "--channels", "1"},
         {"priority", "--from", "1.5", "--to", "3.5", "--priority", "2", "--channels", "1"},
         true},
        {"bus: another value",
         true,
         {"switching", "--time", "22:00", "--date", "24.12", "--channel", "3", "--value", "10"},
         {"switching", "--time", "22:00", "--date", "24.12", "--channel", "3", "--value", "99"},
         true},
        {"bus: another channel",
         true,
         {"switching", "--time", "22:00", "--date", "24.12", "--channel", "3", "--value", "10"},
         {"switching", "--time", "22:00", "--date", "24.12", "--channel", "4", "--value", "10"},
         false},
    };
    for (const PairCase &c : cases) {
        // add: the second entry onto a file holding the first
        const QString file = fresh(QStringLiteral("pair.zxp"), c.bus);
        ASSERT_EQ(RunCli(QStringList{"add", file} + c.first).exitCode, 0) << c.name;
        const QByteArray before = readFile(file);
        const CliRun added = RunCli(QStringList{"add", file} + c.second);
        EXPECT_EQ(added.exitCode, c.refused ? 1 : 0) << c.name << "\n" << added.err.constData();
        if (c.refused)
            EXPECT_EQ(readFile(file), before) << c.name;

        // build: a document holding both records
        const QJsonArray secondBytes = bytesOf(c.second, c.bus);
        QJsonObject doc =
            QJsonDocument::fromJson(RunCli({"dump", fresh(QStringLiteral("one.zxp"), c.bus), "--json"}).out)
                .object();
        QJsonArray records{QJsonObject{{"bytes", bytesOf(c.first, c.bus)}},
                           QJsonObject{{"bytes", secondBytes}}};
        doc[u"records"] = records;
        dir.write(QStringLiteral("both.json"), QJsonDocument(doc).toJson());
        const QString out = dir.file(QStringLiteral("both.zxp"));
        const CliRun built = RunCli({"build", dir.file(QStringLiteral("both.json")), out, "--force"});
        EXPECT_EQ(built.exitCode, c.refused ? 1 : 0) << c.name << "\n" << built.err.constData();
        if (!c.refused)
            continue;
        EXPECT_TRUE(built.err.contains("record 2")) << c.name << built.err.constData();
        // a file in use that holds such records still goes back as it was, and check warns
        ASSERT_EQ(
            RunCli({"build", dir.file(QStringLiteral("both.json")), out, "--force", "--keep-duplicates"})
                .exitCode,
            0)
            << c.name;
        const CliRun checked = RunCli({"check", out});
        EXPECT_EQ(checked.exitCode, 0) << c.name;
        EXPECT_TRUE(checked.err.contains("warning: record 2")) << c.name << checked.err.constData();
    }
}

struct RemoveCase {
    QStringList match;
    int exitCode;
    int left;                 // entries of both lists left in the file
    const char *message = ""; // standard error holds it
};

TEST_F(EntryRulesCli, RemoveByFieldsTakesOneEntryOrAllWhenAskedAndNothingByGuess)
{
    const std::vector<RemoveCase> cases = {
        {{"--time", "07:30", "--days", "tu"}, 0, 3},
        {{"--time", "07:30"}, 1, 4, "2 entries match; --all removes them all"},
        {{"--time", "07:30", "--all"}, 0, 2},
        {{"--days", "mo"}, 0, 3}, // "mo" is not "mo,tu": one entry
        {{"--days", "mo,tu", "--state", "off"}, 1, 4, "no entry matches"},
        {{"--from", "1.5", "--priority", "2"}, 0, 3}, // the priority list
        {{"--time", "07:30", "--from", "1.5"}, 1, 4, "no entry matches"},
        {{"--time", "25:30"}, 2, 4, "--time 25:30:"},
        {{"--time", "07:30", "--row", "1"}, 2, 4}, // rows or fields, not both
        {{"--time", "07:30", "--view", "priority"}, 2, 4},
    };
    for (const RemoveCase &c : cases) {
        const QString file = fresh(QStringLiteral("r.zxp"));
        for (const QStringList &entry : std::vector<QStringList>{
                 {"switching", "--time", "06:30", "--days", "mo,tu", "--channels", "1", "--state", "on"},
                 {"switching", "--time", "07:30", "--days", "mo", "--channels", "1", "--state", "on"},
                 {"switching", "--time", "07:30", "--days", "tu", "--channels", "1", "--state", "off"},
                 {"priority", "--from", "1.5", "--to", "3.5", "--priority", "2", "--channels", "1"}})
            ASSERT_EQ(RunCli(QStringList{"add", file} + entry).exitCode, 0);
        const QByteArray before = readFile(file);
        const CliRun r = RunCli(QStringList{"remove", file} + c.match);
        const QString what = c.match.join(u' ');
        EXPECT_EQ(r.exitCode, c.exitCode) << qPrintable(what) << "\n" << r.err.constData();
        EXPECT_TRUE(r.err.contains(c.message)) << qPrintable(what) << "\n" << r.err.constData();
        if (c.exitCode != 0) {
            EXPECT_EQ(readFile(file), before) << qPrintable(what);
            EXPECT_TRUE(r.out.isEmpty()) << qPrintable(what);
        } else {
            // the rows deleted, as list showed them
            EXPECT_EQ(r.out.count('\n'), 4 - c.left) << qPrintable(what);
        }
        const QJsonArray checked = QJsonDocument::fromJson(RunCli({"check", "--json", file}).out).array();
        EXPECT_EQ(checked[0][u"records"].toInt(), c.left) << qPrintable(what);
    }
}

// The system's reasons in the error line follow --lang, as every other message does.
TEST_F(EntryRulesCli, SystemReasonsFollowTheLanguage)
{
    const struct {
        const char *lang;
        const char *folder, *missing;
    } cases[] = {
        {"en", "Is a directory", "No such file or directory"},
        {"de", "Ist ein Verzeichnis", "Datei oder Verzeichnis nicht gefunden"},
        {"fr", "Est un dossier", "Aucun fichier ou dossier de ce nom"},
    };
    for (const auto &c : cases) {
        const CliRun folder = RunCli({"dump", dir.path(), "--lang", c.lang});
        EXPECT_EQ(folder.err, ("zentrix-cli: " + dir.path() + ": " + c.folder + "\n").toUtf8()) << c.lang;
        const CliRun missing =
            RunCli({"build", dir.file(QStringLiteral("none.json")), "-", "--lang", c.lang});
        EXPECT_TRUE(missing.err.endsWith(QByteArray(c.missing) + '\n')) << c.lang << missing.err.constData();
    }
}

} // namespace
} // namespace zx::test
