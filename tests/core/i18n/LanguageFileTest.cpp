// Language files: 402 lines, edge blanks dropped on reading and put back from the fixed table,
// 378 overwriting 368, failures that leave the catalogue alone, the legacy 8-bit encoding, and
// the code-4 fill from "speech.txt".
#include "i18n/Catalogue.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <map>

using namespace zx;

namespace {

// Blanks put back after reading (front, end), written out independently of the reader.
std::map<int, std::pair<int, int>> blankTable()
{
    std::map<int, std::pair<int, int>> t;
    for (int p : {61, 62, 69, 70, 71, 128, 185, 189, 191, 194, 198, 199, 213})
        t[p] = {0, 1};
    for (int p : {49, 78, 79, 135, 136, 137, 138, 139, 167, 172, 184, 186, 188, 192, 193, 195})
        t[p] = {0, 2};
    t[190] = {1, 1};
    for (int p : {96, 170, 215, 346, 347, 348, 349, 350})
        t[p] = {1, 0};
    for (int p : {206, 207, 208, 209, 210, 211, 212})
        t[p] = {2, 0};
    return t;
}

QString expectedAfterReading(int pos, const QString &written)
{
    static const auto table = blankTable();
    QString core = written;
    while (core.startsWith(u' '))
        core.remove(0, 1);
    while (core.endsWith(u' '))
        core.chop(1);
    const auto it = table.find(pos);
    if (it == table.end())
        return core;
    return QString(it->second.first, u' ') + core + QString(it->second.second, u' ');
}

void writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    ASSERT_EQ(f.write(bytes), bytes.size());
}

// n lines "line k" (k = 1..n), CR LF, with or without a line end after the last.
QByteArray numberedLines(int n, bool finalLineEnd = true)
{
    QByteArray out;
    for (int k = 1; k <= n; ++k) {
        out += "line " + QByteArray::number(k);
        if (k < n || finalLineEnd)
            out += "\r\n";
    }
    return out;
}

struct Snapshot {
    explicit Snapshot(const Catalogue &c) : title(c.productTitle), version(c.versionText), help(c.helpFile)
    {
        for (int pos = 1; pos <= Msg::Count; ++pos)
            texts.push_back(c(pos));
    }
    bool operator==(const Snapshot &) const = default;
    QString title, version, help;
    std::vector<QString> texts;
};

class LanguageFile : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }
    QString path(const QString &name) const { return dir.filePath(name); }
    QTemporaryDir dir;
};

} // namespace

TEST_F(LanguageFile, WritesOneLinePerPositionInWindows1252)
{
    Catalogue c;
    c.fillBuiltin(German, 1);
    QString error;
    ASSERT_TRUE(c.writeLanguageFile(path("de.ln1"), &error)) << error.toStdString();
    QFile f(path("de.ln1"));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray bytes = f.readAll();
    EXPECT_EQ(bytes.count("\r\n"), Msg::Count);
    EXPECT_TRUE(bytes.endsWith("\r\n"));
    const QList<QByteArray> lines = bytes.split('\n');
    ASSERT_EQ(lines.size(), Msg::Count + 1);
    EXPECT_EQ(lines[0], "deutsch.hdy\r");
    EXPECT_EQ(lines[21], QString::fromUtf8("Dezember").toUtf8() + "\r");
    EXPECT_EQ(lines[12], QByteArray("M\xe4rz\r"));
    EXPECT_EQ(lines[48], QByteArray("\xc4nderungen speichern in \r"));
}

TEST_F(LanguageFile, RoundTripKeepsTextsAndAppliesTheBlankTable)
{
    for (int language : {German, English, French}) {
        for (int brand : {1, 5}) {
            Catalogue source;
            source.fillBuiltin(language, brand);
            ASSERT_TRUE(source.writeLanguageFile(path("lang.ln1")));

            Catalogue read;
            read.fillBuiltin(language == French ? German : French, 1);
            QString error;
            ASSERT_TRUE(read.readLanguageFile(path("lang.ln1"), &error)) << error.toStdString();
            EXPECT_EQ(read.helpFile, "Zentri2e.hlp");
            EXPECT_EQ(read.productTitle, "Zentrix 2.0"); // not part of the file
            for (int pos = 1; pos <= Msg::Count; ++pos) {
                EXPECT_EQ(read(pos), expectedAfterReading(pos, source(pos)))
                    << "language " << language << " brand " << brand << " position " << pos;
                const QString &s = source(pos);
                if (!s.startsWith(u' ') && !s.endsWith(u' ') && !blankTable().count(pos)) {
                    EXPECT_EQ(read(pos), s) << "language " << language << " position " << pos;
                }
            }
        }
    }
}

TEST_F(LanguageFile, BlankTableGivesItsOwnBlanks)
{
    Catalogue c;
    c.fillBuiltin(English, 1);
    ASSERT_TRUE(c.writeLanguageFile(path("en.ln1")));
    Catalogue read;
    ASSERT_TRUE(read.readLanguageFile(path("en.ln1")));
    EXPECT_EQ(read(Msg::SaveChangesIn), "Save changes in  ");
    EXPECT_EQ(read(Msg::AlreadyExistsOverwrite), "already exists! Overwrite ? ");
    EXPECT_EQ(read(Msg::FilePrefix), "File ");
    EXPECT_EQ(read(Msg::OrDelayToLow), " or delay to low! ");
    EXPECT_EQ(read(Msg::AbbrMonday), "  mo");
    EXPECT_EQ(read(Msg::Sec), " sec");
    EXPECT_EQ(read(Msg::FirstOfMonth), "1st  ");
    // Outside the table edge blanks are dropped.
    EXPECT_EQ(read(Msg::NoValidFilename), "No valid filename");
    EXPECT_EQ(read(Msg::TimeSwitchBusy), "*** time switch busy");
    EXPECT_EQ(read(Msg::MenuHelpFor), "&Help for Zentrix 2.0");
}

TEST_F(LanguageFile, BlanksAroundLinesAreNotSignificant)
{
    QByteArray bytes = numberedLines(Msg::Count);
    bytes.replace("line 3\r\n", "   line 3 \t \r\n");
    bytes.replace("line 61\r\n", "  Datei     \r\n");
    writeBytes(path("blanks.ln1"), bytes);
    Catalogue c;
    ASSERT_TRUE(c.readLanguageFile(path("blanks.ln1")));
    EXPECT_EQ(c(3), "line 3");
    EXPECT_EQ(c(61), "Datei ");
    EXPECT_EQ(c(206), "  line 206");
    EXPECT_EQ(c(402), "line 402");
}

TEST_F(LanguageFile, Position378OverwritesPosition368)
{
    QByteArray bytes = numberedLines(Msg::Count);
    writeBytes(path("hol.ln1"), bytes);
    Catalogue c;
    ASSERT_TRUE(c.readLanguageFile(path("hol.ln1")));
    EXPECT_EQ(c(Msg::Holidays), "line 378");
    EXPECT_EQ(c(Msg::Holidays378), "line 378");
    EXPECT_EQ(c(Msg::Holidays - 1), "line 367");
    EXPECT_EQ(c(Msg::Holidays + 1), "line 369");
}

TEST_F(LanguageFile, AcceptsLfAndMissingFinalLineEndAndExtraLines)
{
    QByteArray lf = numberedLines(Msg::Count);
    lf.replace("\r\n", "\n");
    writeBytes(path("lf.ln1"), lf);
    writeBytes(path("nofinal.ln1"), numberedLines(Msg::Count, false));
    writeBytes(path("longer.ln1"), numberedLines(Msg::Count + 5));
    for (const char *name : {"lf.ln1", "nofinal.ln1", "longer.ln1"}) {
        Catalogue c;
        QString error;
        ASSERT_TRUE(c.readLanguageFile(path(name), &error)) << name << " " << error.toStdString();
        EXPECT_EQ(c(1), "line 1") << name;
        EXPECT_EQ(c(Msg::Count), "line 402") << name;
    }
}

TEST_F(LanguageFile, AnEmptyLastEntryStillCounts)
{
    // 402 lines, the last one empty: the file ends with an empty line before its final line end.
    QByteArray bytes = numberedLines(Msg::Count - 1) + "\r\n";
    writeBytes(path("emptylast.ln1"), bytes);
    Catalogue c;
    ASSERT_TRUE(c.readLanguageFile(path("emptylast.ln1")));
    EXPECT_EQ(c(Msg::Count), "");
    EXPECT_EQ(c(Msg::Count - 1), "line 401");
}

TEST_F(LanguageFile, FileEndingEarlyFailsAndChangesNothing)
{
    writeBytes(path("short.ln1"), numberedLines(Msg::Count - 1));
    writeBytes(path("short2.ln1"), numberedLines(Msg::Count - 1, false));
    writeBytes(path("empty.ln1"), QByteArray());
    for (const char *name : {"short.ln1", "short2.ln1", "empty.ln1"}) {
        Catalogue c;
        c.fillBuiltin(German, 5);
        const Snapshot before(c);
        QString error;
        EXPECT_FALSE(c.readLanguageFile(path(name), &error)) << name;
        // says what was expected and found, in the language the catalogue speaks
        EXPECT_TRUE(error.startsWith("Die Sprachdatei")) << error.toStdString();
        EXPECT_TRUE(error.contains(QString::number(Msg::Count))) << error.toStdString();
        EXPECT_TRUE(Snapshot(c) == before) << name;
        EXPECT_EQ(c.helpFile, "Zentri2D.hlp");
    }
}

TEST_F(LanguageFile, FileThatCannotBeOpenedFailsAndChangesNothing)
{
    Catalogue c;
    c.fillBuiltin(French, 1);
    const Snapshot before(c);
    QString error;
    EXPECT_FALSE(c.readLanguageFile(path("missing.ln1"), &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_TRUE(Snapshot(c) == before);

    error.clear();
    EXPECT_FALSE(c.readLanguageFile(dir.path(), &error)); // a directory
    EXPECT_FALSE(error.isEmpty());
    EXPECT_TRUE(Snapshot(c) == before);
    // Without an error text pointer as well.
    EXPECT_FALSE(c.readLanguageFile(path("missing.ln1")));
    EXPECT_TRUE(Snapshot(c) == before);
}

TEST_F(LanguageFile, WritingToAnImpossiblePathFails)
{
    Catalogue c;
    QString error;
    EXPECT_FALSE(c.writeLanguageFile(path("no/such/dir/x.ln1"), &error));
    EXPECT_FALSE(error.isEmpty());
}

TEST_F(LanguageFile, ReadsWindows1252)
{
    QByteArray bytes = numberedLines(Msg::Count);
    bytes.replace("line 10\r\n", "t\xE4glich\r\n");
    bytes.replace("line 13\r\n", "M\xE4rz\r\n");
    bytes.replace("line 375\r\n", "timer doesn\xB4t support variable holidays\r\n");
    bytes.replace("line 44\r\n", "\x80 EIN\r\n");
    writeBytes(path("legacy.ln1"), bytes);
    Catalogue c;
    ASSERT_TRUE(c.readLanguageFile(path("legacy.ln1")));
    EXPECT_EQ(c(Msg::Daily), QString::fromUtf8("täglich"));
    EXPECT_EQ(c(Msg::March), QString::fromUtf8("März"));
    EXPECT_EQ(c(Msg::TimerDoesntSupportVariableHolidays),
              QString::fromUtf8("timer doesn´t support variable holidays"));
    EXPECT_EQ(c(Msg::On), QString::fromUtf8("€ EIN"));
    EXPECT_EQ(c(Msg::Count), "line 402");
}

TEST_F(LanguageFile, LegacyFileEndingInAUtf8LeadByteIsStillLegacy)
{
    // 0xC3 ("Ã" in Windows-1252) at the very end is an incomplete UTF-8 sequence.
    QByteArray bytes = numberedLines(Msg::Count, false);
    bytes.replace("line 10\r\n", "t\xE4glich\r\n");
    bytes += " \xC3";
    writeBytes(path("tail.ln1"), bytes);
    Catalogue c;
    ASSERT_TRUE(c.readLanguageFile(path("tail.ln1")));
    EXPECT_EQ(c(Msg::Daily), QString::fromUtf8("täglich"));
    EXPECT_EQ(c(Msg::Count), QString::fromUtf8("line 402 Ã"));
}

TEST_F(LanguageFile, ReadsUtf8WithAndWithoutByteOrderMark)
{
    QByteArray bytes = numberedLines(Msg::Count);
    bytes.replace("line 1\r\n", "deutsch.hdy\r\n");
    bytes.replace("line 10\r\n", QString::fromUtf8("täglich").toUtf8() + "\r\n");
    writeBytes(path("utf8.ln1"), bytes);
    writeBytes(path("bom.ln1"), "\xEF\xBB\xBF" + bytes);
    for (const char *name : {"utf8.ln1", "bom.ln1"}) {
        Catalogue c;
        ASSERT_TRUE(c.readLanguageFile(path(name))) << name;
        EXPECT_EQ(c(Msg::HolidayFileName), "deutsch.hdy") << name;
        EXPECT_EQ(c(Msg::Daily), QString::fromUtf8("täglich")) << name;
    }
}

TEST_F(LanguageFile, FillWithCode4ReadsSpeechTxt)
{
    Catalogue german;
    german.fillBuiltin(German, 1);
    ASSERT_TRUE(german.writeLanguageFile(path("speech.txt")));

    Catalogue c;
    c.fillBuiltin(English, 1);
    QString error;
    ASSERT_TRUE(c.fill(Loaded, 5, dir.path(), &error)) << error.toStdString();
    EXPECT_EQ(c.productTitle, "Chipwerk 2.0");
    EXPECT_EQ(c.versionText, " Version  2.0-02");
    EXPECT_EQ(c.helpFile, "Zentri2e.hlp");
    EXPECT_EQ(c(Msg::Monday), "Montag");
    EXPECT_EQ(c(Msg::FilePrefix), "Datei ");
    EXPECT_EQ(c(Msg::SaveChangesIn), QString::fromUtf8("Änderungen speichern in  "));
}

TEST_F(LanguageFile, FillWithCode4FailsCleanlyWithoutSpeechTxt)
{
    Catalogue c;
    c.fillBuiltin(French, 1);
    const Snapshot before(c);
    QString error;
    EXPECT_FALSE(c.fill(Loaded, 5, dir.path(), &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_TRUE(Snapshot(c) == before); // title, help file and texts as they were

    writeBytes(path("speech.txt"), numberedLines(100));
    error.clear();
    EXPECT_FALSE(c.fill(Loaded, 5, dir.path(), &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_TRUE(Snapshot(c) == before);
}

TEST_F(LanguageFile, FillWithBuiltInCodesNeverReadsAFile)
{
    writeBytes(path("speech.txt"), numberedLines(Msg::Count));
    Catalogue c;
    ASSERT_TRUE(c.fill(German, 1, dir.path()));
    EXPECT_EQ(c(Msg::Monday), "Montag");
    EXPECT_EQ(c.helpFile, "Zentri2D.hlp");
    ASSERT_TRUE(c.fill(French, 1, dir.path()));
    EXPECT_EQ(c(Msg::Monday), "lundi");
    ASSERT_TRUE(c.fill(English, 5, dir.path()));
    EXPECT_EQ(c(Msg::MenuProgramDevice), "Program memory chip");
    // Unknown codes give English, like fillBuiltin.
    ASSERT_TRUE(c.fill(0, 1, dir.path()));
    EXPECT_EQ(c(Msg::Monday), "monday");
    EXPECT_EQ(c.helpFile, "Zentri2E.hlp");
}
