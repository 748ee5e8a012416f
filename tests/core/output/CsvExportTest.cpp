#include "output/CsvExport.h"
#include "output/ExportFile.h"

#include "entry/PriorityEntry.h"
#include "model/Model.h"
#include "support/SamplePrograms.h"
#include "support/TempDir.h"

#include <QFile>

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

using namespace zx;

namespace {

struct RecordCase {
    const char *name;
    QStringList fields;
    QByteArray record;
};

class CsvRecord : public ::testing::TestWithParam<RecordCase> {};

TEST_P(CsvRecord, QuotesWhatNeedsIt)
{
    EXPECT_EQ(csv::Record(GetParam().fields), GetParam().record);
}

INSTANTIATE_TEST_SUITE_P(
    Csv, CsvRecord,
    ::testing::Values(RecordCase{"Plain", {"1", "06:30", "ON"}, "1,06:30,ON\r\n"},
                      RecordCase{"Comma", {"Mo,Tu", "x"}, "\"Mo,Tu\",x\r\n"},
                      RecordCase{"Quote", {"say \"on\""}, "\"say \"\"on\"\"\"\r\n"},
                      RecordCase{"OuterBlanks", {" C1", "pulse "}, "\" C1\",\"pulse \"\r\n"},
                      RecordCase{"OneEmptyField", {""}, "\"\"\r\n"},
                      RecordCase{"EmptyCellsAmongOthers", {"", "1", ""}, ",1,\r\n"},
                      RecordCase{"LineBreaksAlone", {"a\nb", "c\rd"}, "\"a\nb\",\"c\rd\"\r\n"},
                      RecordCase{"Utf8",
                                 {QStringLiteral("Gr\u00fc\u00dfe")},
                                 "Gr\xc3\xbc\xc3\x9f"
                                 "e\r\n"}),
    [](const auto &info) { return std::string(info.param.name); });

// The table holds values, not the list's texts: a spreadsheet sorts and computes with them.
TEST(CsvLists, ValuesUnderNamedFieldsAndAnEmptyLineBetweenLists)
{
    Model model;
    model.device.Kanalzahl = 4;
    ProgramSet &p = model.program();
    p.Records[0] = test::weeklyTime(7, 0, 1 + 4 + 16, 1 + 4, 1, 3);
    p.Records[1] = test::datedTime(22, 5, 24, 12, 2, 0, 1, 30);
    p.Records[2] = test::priorityTime(1, 1, 6, 1, 10, 1, 1, 1, YearCodeOf(2027));
    p.Records[3] = test::easterPriority(-2, 4, 8);
    p.UsedCount = 4;
    model.recount(0);
    PrintedList switching;
    switching.listKind = ListSwitching;
    switching.rows = {{" C1"}, {"  7:00 hrs"}};
    switching.recordIndex = {0, 1};
    PrintedList priority;
    priority.listKind = ListPriority;
    priority.rows = {{"x"}, {"y"}};
    priority.recordIndex = {2, 3};
    EXPECT_EQ(ListsCsv(model, {switching, priority}),
              QByteArray("row,kind,weekdays,date,once,time,channels,pulse,state,value,program\r\n"
                         "1,weekly,mo we fr,,,07:00,1 3,,on,,3\r\n"
                         "2,dated,,12-24,1,22:05,2,30,off,,\r\n"
                         "\r\n"
                         "row,from,to,year,once,easter,priority,channels,state,value\r\n"
                         "1,2027-01-01,2027-01-06,2027,1,,permanent,1,on,\r\n"
                         "2,,,,0,-2,4,4,,\r\n"));
    EXPECT_EQ(CsvFileName(QStringLiteral("/p/plan.zxp")), QStringLiteral("/p/plan.csv"));
}

// ---- the checked write of an export ----

class ExportFileTest : public ::testing::Test {
  protected:
    test::TempDir dir;
    QString program;
    void SetUp() override
    {
        dir.write(QStringLiteral("plan.zxp"), "program");
        program = dir.file(QStringLiteral("plan.zxp"));
    }
};

TEST_F(ExportFileTest, RefusesTheProgramFileByAnyNameAndWhatIsNoFile)
{
    ASSERT_TRUE(QFile::link(program, dir.file(QStringLiteral("link.csv"))));
    ASSERT_EQ(
        ::link(QFile::encodeName(program).constData(), QFile::encodeName(dir.file("hard.csv")).constData()),
        0);
    for (const char *name : {"plan.zxp", "link.csv", "hard.csv", "./plan.zxp"})
        EXPECT_TRUE(WriteExportFile(dir.file(QLatin1String(name)), "x", program, 1)
                        .contains(QStringLiteral("Programmdatei")))
            << name;
    EXPECT_EQ(dir.read(QStringLiteral("plan.zxp")), QByteArray("program"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(dir.file("pipe.csv")).constData(), 0600), 0);
    EXPECT_FALSE(WriteExportFile(dir.file(QStringLiteral("pipe.csv")), "x", program, 2).isEmpty());
    const QString missingFolder = dir.file(QStringLiteral("no/such/out.csv"));
    EXPECT_TRUE(WriteExportFile(missingFolder, "x", program, 2).startsWith(missingFolder));
}

TEST_F(ExportFileTest, ReplacesAFileAndWritesThroughASymlink)
{
    EXPECT_TRUE(WriteExportFile(dir.file(QStringLiteral("out.csv")), "a,b\r\n", program, 2).isEmpty());
    ASSERT_TRUE(QFile::link(dir.file("out.csv"), dir.file("to-out.csv")));
    EXPECT_TRUE(WriteExportFile(dir.file(QStringLiteral("to-out.csv")), "c\r\n", program, 2).isEmpty());
    EXPECT_EQ(dir.read(QStringLiteral("out.csv")), QByteArray("c\r\n"));
}

} // namespace
