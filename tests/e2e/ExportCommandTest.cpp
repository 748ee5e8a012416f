// zentrix-cli export writes the desktop printout as PDF pages or as the list text file.
#include "model/Model.h"
#include "model/ProgramFile.h"
#include "platform/Clock.h"
#include "support/CliRunner.h"
#include "support/SamplePrograms.h"
#include "support/ScriptedPrompter.h"
#include "support/TempDir.h"

#include <QRegularExpression>
#include <QStandardPaths>

#include <gtest/gtest.h>

using namespace zx;

namespace {

int run(const QString &program, const QStringList &args, QString *out = nullptr)
{
    zx::test::CliOptions options;
    options.program = program;
    const zx::test::CliTextRun r = zx::test::RunCliText(args, options);
    if (out)
        *out = r.out + r.err;
    return r.exitCode;
}

int cli(const QStringList &args, QString *out = nullptr)
{
    return run(QStringLiteral(ZX_CLI), args, out);
}

class ExportCommandTest : public ::testing::Test {
  protected:
    test::TempDir dir;
    test::ScriptedPrompter prompter;
    FixedClock clock{QDateTime(QDate(2026, 3, 5), QTime(14, 7))};
    QString file;

    void SetUp() override
    {
        Model m;
        m.device.Kanalzahl = 2;
        for (int i = 0; i < 65; ++i)
            m.appendRecord(SetProgram, test::weeklyTime(i / 60, i % 60, 1, 1 + i % 2));
        file = dir.file(QStringLiteral("plan.zxp"));
        m.program().FileName = file;
        ASSERT_TRUE(SaveProgram(m, prompter, clock));
    }
};

TEST_F(ExportCommandTest, PdfRepeatsTheHeaderBeforeRows31And61)
{
    const QString pdftotext = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
    if (pdftotext.isEmpty())
        GTEST_SKIP() << "pdftotext (poppler-utils) is not installed: the PDF text is not checked";
    const QString pdf = dir.file(QStringLiteral("plan.pdf"));
    QString out;
    ASSERT_EQ(cli({QStringLiteral("export"), file, QStringLiteral("--lists"), QStringLiteral("switching"),
                   QStringLiteral("--lines"), QStringLiteral("30"), QStringLiteral("--out"), pdf},
                  &out),
              0)
        << out.toStdString();
    ASSERT_EQ(run(pdftotext, {QStringLiteral("-layout"), pdf, QStringLiteral("-")}, &out), 0);
    const QStringList pages = out.split(QLatin1Char('\f'), Qt::SkipEmptyParts);
    ASSERT_EQ(pages.size(), 3) << out.toStdString();
    const QStringList firstRows{QStringLiteral("1"), QStringLiteral("31"), QStringLiteral("61")};
    for (int p = 0; p < 3; ++p) {
        const QStringList lines = pages[p].split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        EXPECT_TRUE(lines[0].trimmed().startsWith(QStringLiteral("switching program from"))) << p;
        const int headings =
            static_cast<int>(lines.indexOf(QRegularExpression(QStringLiteral("^nr\\.\\s+date/days.*"))));
        ASSERT_GE(headings, 0) << p;
        EXPECT_EQ(lines[headings + 1].split(QLatin1Char(' '), Qt::SkipEmptyParts).value(0), firstRows[p]);
        EXPECT_EQ(lines.last().trimmed(), QStringLiteral("page %1").arg(p + 1));
    }
}

TEST_F(ExportCommandTest, TextAppendsOnlyWhenAsked)
{
    const QString txt = dir.file(QStringLiteral("plan.txt"));
    const QStringList args{QStringLiteral("export"), file, QStringLiteral("--lang"), QStringLiteral("de"),
                           QStringLiteral("--out"),  txt};
    ASSERT_EQ(cli(args), 0);
    const QByteArray once = dir.read(QStringLiteral("plan.txt"));
    EXPECT_TRUE(once.contains("plan.zxp")) << once.left(80).constData();
    ASSERT_EQ(cli(args + QStringList{QStringLiteral("--append")}), 0);
    EXPECT_EQ(dir.read(QStringLiteral("plan.txt")), once + once);
    // replacing an existing file takes --force, as for every command that creates one
    ASSERT_EQ(cli(args), 1);
    EXPECT_EQ(dir.read(QStringLiteral("plan.txt")), once + once);
    ASSERT_EQ(cli(args + QStringList{QStringLiteral("--force")}), 0);
    EXPECT_EQ(dir.read(QStringLiteral("plan.txt")), once);
}

TEST_F(ExportCommandTest, FilterFileFiltersAndBadFilterIsRefused)
{
    dir.write(QStringLiteral("f.json"), R"({"FilterChannels": 2})");
    dir.write(QStringLiteral("bad.json"), R"({"FilterPulses": 7})");
    const QString txt = dir.file(QStringLiteral("f.txt"));
    ASSERT_EQ(
        cli({QStringLiteral("export"), file, QStringLiteral("--lists"), QStringLiteral("switching"),
             QStringLiteral("--filter"), dir.file(QStringLiteral("f.json")), QStringLiteral("--out"), txt}),
        0);
    const QString text = QString::fromUtf8(dir.read(QStringLiteral("f.txt")));
    EXPECT_TRUE(text.contains(QStringLiteral("with filter")));
    EXPECT_TRUE(text.contains(QStringLiteral("\r\n32 ")));
    EXPECT_FALSE(text.contains(QStringLiteral("\r\n33 ")));
    QString out;
    EXPECT_EQ(cli({QStringLiteral("export"), file, QStringLiteral("--filter"),
                   dir.file(QStringLiteral("bad.json")), QStringLiteral("--out"), txt},
                  &out),
              1);
    EXPECT_TRUE(out.contains(QStringLiteral("FilterPulses")));
}

} // namespace
