// The desktop program's options and the catalogue and config commands, run as real processes.
#include "support/CliRunner.h"
#include "support/TempDir.h"

#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QRegularExpression>

#include <gtest/gtest.h>

namespace {

using Outcome = zx::test::CliTextRun;

Outcome run(const QString &program, const QStringList &args, const QString &workDir = {},
            bool withoutDisplay = true)
{
    zx::test::CliOptions options;
    options.program = program;
    options.workingDirectory = workDir;
    options.deadlineMs = 30000;
    if (withoutDisplay) {
        options.environment.remove("DISPLAY");
        options.environment.remove("WAYLAND_DISPLAY");
        options.environment.remove("QT_QPA_PLATFORM");
    }
    return zx::test::RunCliText(args, options);
}

const QString cli = QStringLiteral(ZX_BIN_DIR "/src/cli/zentrix-cli");
const QString gui = QStringLiteral(ZX_BIN_DIR "/src/app/zentrix");

} // namespace

// The desktop program is not built in a core-only configuration.
class DesktopProgram : public ::testing::Test {
  protected:
    void SetUp() override
    {
        if (!QFile::exists(gui))
            GTEST_SKIP() << "zentrix not built";
    }
};

// The project version in the top-level build file, read independently of the program.
QString ProjectVersion()
{
    QFile f(QStringLiteral(ZX_SOURCE_DIR "/CMakeLists.txt"));
    if (!f.open(QIODevice::ReadOnly))
        return {};
    const QRegularExpressionMatch m =
        QRegularExpression(QStringLiteral(R"(project\(Zentrix VERSION ([0-9.]+))"))
            .match(QString::fromUtf8(f.readAll()));
    return m.captured(1);
}

TEST_F(DesktopProgram, VersionWorksWithoutDisplayAndIsTheOneEverywhere)
{
    const QString version = ProjectVersion();
    ASSERT_FALSE(version.isEmpty());
    const QString line = QStringLiteral("Zentrix ") + version + u'\n';
    const Outcome r = run(gui, {"--version"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out, line);
    EXPECT_EQ(run(cli, {"--version"}).out, line);
    // the committed manual page of zentrix-cli, made from the same table
    QFile man(QStringLiteral(ZX_SOURCE_DIR "/packaging/zentrix-cli.1"));
    ASSERT_TRUE(man.open(QIODevice::ReadOnly));
    EXPECT_TRUE(QString::fromUtf8(man.readLine()).contains(QStringLiteral("\"Zentrix ") + version + u'"'));
}

TEST_F(DesktopProgram, HelpWorksWithoutDisplay)
{
    for (const char *option : {"--help", "-h"}) {
        const Outcome r = run(gui, {option});
        EXPECT_EQ(r.exitCode, 0) << option;
        EXPECT_TRUE(r.out.startsWith("usage: zentrix [--workdir DIR]")) << option;
        EXPECT_TRUE(r.err.isEmpty());
    }
}

TEST_F(DesktopProgram, NoDisplayGivesOneClearLine)
{
    const Outcome r = run(gui, {});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err.count('\n'), 1);
    EXPECT_TRUE(r.err.contains("display"));
}

TEST_F(DesktopProgram, UnknownOptionIsBadUsage)
{
    EXPECT_EQ(run(gui, {"--bogus"}).exitCode, 2);
    EXPECT_EQ(run(gui, {"--workdir"}).exitCode, 2);
}

TEST(CatalogueCommand, PrintsAll402PositionsQuoted)
{
    for (const char *lang : {"de", "en", "fr"}) {
        const Outcome r = run(cli, {"catalogue", "--lang", lang});
        ASSERT_EQ(r.exitCode, 0) << lang;
        const QStringList lines = r.out.split('\n', Qt::SkipEmptyParts);
        ASSERT_EQ(lines.size(), 402) << lang;
        const QRegularExpression shape(QStringLiteral("^(\\d+)\\t\"(.*)\"$"));
        for (int i = 0; i < lines.size(); ++i) {
            const auto m = shape.match(lines[i]);
            ASSERT_TRUE(m.hasMatch()) << qPrintable(lines[i]);
            EXPECT_EQ(m.captured(1).toInt(), i + 1);
        }
    }
}

TEST(CatalogueCommand, EnglishTextsAndBrandFive)
{
    const QStringList lines = run(cli, {"catalogue"}).out.split('\n');
    EXPECT_EQ(lines[60], "61\t\"File \"");
    EXPECT_EQ(lines[216], "217\t\"Swprg\"");
    const QStringList chip = run(cli, {"catalogue", "--brand", "5", "--lang", "en"}).out.split('\n');
    EXPECT_EQ(chip[225], "226\t\"Program memory chip\"");
}

TEST(CatalogueCommand, ReadsALanguageFile)
{
    zx::test::TempDir dir;
    QByteArray text;
    for (int i = 1; i <= 402; ++i)
        text += "text " + QByteArray::number(i) + "\r\n";
    dir.write("mine.ln1", text);
    const Outcome r = run(cli, {"catalogue", "--lang", dir.file("mine.ln1")});
    ASSERT_EQ(r.exitCode, 0);
    const QStringList lines = r.out.split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 402);
    EXPECT_EQ(lines[4], "5\t\"text 5\"");
    EXPECT_EQ(lines[60], "61\t\"text 61 \""); // blank put back at the end

    dir.write("short.ln1", "a\r\nb\r\n");
    const Outcome broken = run(cli, {"catalogue", "--lang", dir.file("short.ln1")});
    EXPECT_EQ(broken.exitCode, 1);
    EXPECT_TRUE(broken.out.isEmpty());
}

TEST(ConfigCommand, PrintsTheEighteenValuesAsRead)
{
    zx::test::TempDir dir;
    dir.write("zentrix.ini", "KANALZAHL=4\r\nBEWFT=0\r\nLPT=1\r\nUHRENTYP=517\r\nDELAY=002\r\nZEILEN=050\r\n"
                             "MAXDELAY=00100\r\nSWREGEL=1\r\nSPRACHE(Uhr)=1\r\nSPRACHE=1\r\nASTROC1C2=000\r\n"
                             "BUSPROG=-1\r\nMESSKANAL=0\r\nMESSPERIODE=01\r\nMESSIMPDAUER=01\r\n"
                             "MESSZUSTAND=0\r\nMESSZEITPUNKT=0\r\nEVU=0\r\n");
    const Outcome r = run(cli, {"config", "--workdir", dir.path()});
    ASSERT_EQ(r.exitCode, 0) << qPrintable(r.err);
    const QStringList lines = r.out.split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 18);
    EXPECT_EQ(lines[0], "KANALZAHL=4");
    EXPECT_EQ(lines[3], "UHRENTYP=517");
    EXPECT_EQ(lines[4], "DELAY=2");
    EXPECT_EQ(lines[6], "MAXDELAY=100");
    EXPECT_EQ(lines[11], "BUSPROG=1");
    EXPECT_EQ(lines[17], "EVU=0");

    // Without --workdir the current directory is used.
    EXPECT_EQ(run(cli, {"config"}, dir.path()).out, r.out);
}

TEST(ConfigCommand, MissingFilePrintsTheDefaultsAStartUses)
{
    zx::test::TempDir dir;
    const Outcome r = run(cli, {"config", "--workdir", dir.path()});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out.count(u'\n'), 18);
    EXPECT_TRUE(r.err.contains("zentrix.ini"));
}

class BadArguments : public ::testing::TestWithParam<std::vector<const char *>> {};

TEST_P(BadArguments, WhatIsWrongAndExitTwo)
{
    QStringList args;
    for (const char *a : GetParam())
        args << QString::fromLatin1(a);
    const Outcome r = run(cli, args);
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_TRUE(r.err.startsWith("zentrix-cli: ") || r.err.startsWith("usage: zentrix-cli"))
        << r.err.toStdString();
    EXPECT_TRUE(r.out.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Commands, BadArguments,
                         ::testing::Values(std::vector<const char *>{"catalogue", "--lang", "xx"},
                                           std::vector<const char *>{"catalogue", "--lang"},
                                           std::vector<const char *>{"catalogue", "--brand", "7"},
                                           std::vector<const char *>{"catalogue", "--brand", "one"},
                                           std::vector<const char *>{"catalogue", "extra"},
                                           std::vector<const char *>{"config", "--bogus"},
                                           std::vector<const char *>{"config", "--workdir"},
                                           std::vector<const char *>{"check", "--type"},
                                           std::vector<const char *>{"check", "a.zxp", "-x"},
                                           std::vector<const char *>{"dump", "-x"},
                                           std::vector<const char *>{"read", "out.zxp", "--port"}));

class HelpRequest : public ::testing::TestWithParam<std::vector<const char *>> {};

TEST_P(HelpRequest, UsageOnStandardOutputAndExitZero)
{
    QStringList args;
    for (const char *a : GetParam())
        args << QString::fromLatin1(a);
    const Outcome r = run(cli, args);
    EXPECT_EQ(r.exitCode, 0);
    const QString expected = args.size() > 1 ? QStringLiteral("usage: zentrix-cli ") + args[0] + u' '
                                             : QStringLiteral("usage: zentrix-cli COMMAND");
    EXPECT_TRUE(r.out.startsWith(expected)) << r.out.toStdString();
    EXPECT_TRUE(r.err.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Commands, HelpRequest,
                         ::testing::Values(std::vector<const char *>{"--help"},
                                           std::vector<const char *>{"-h"},
                                           std::vector<const char *>{"check", "--help"},
                                           std::vector<const char *>{"dump", "a.zxp", "-h"},
                                           std::vector<const char *>{"build", "--help"},
                                           std::vector<const char *>{"write", "--help"},
                                           std::vector<const char *>{"list", "--help"}));
