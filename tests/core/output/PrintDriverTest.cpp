#include "output/PrintDriver.h"

#include "model/Model.h"
#include "output/PrintLayout.h"
#include "output/TextFileSink.h"
#include "platform/PrintSink.h"
#include "support/FileLimits.h"
#include "support/SamplePrograms.h"
#include "support/TempDir.h"

#include <QFile>

#include <gtest/gtest.h>

using namespace zx;
using namespace zx::test;

namespace {

class PrintDriverTest : public ::testing::Test {
  protected:
    Model model;
    PrintSettings settings;

    void SetUp() override
    {
        model.device.Kanalzahl = 2;
        model.program().FileName = QStringLiteral("/plant/hall.zxp");
        for (int i = 0; i < 65; ++i)
            model.appendRecord(SetProgram, weeklyTime(i / 60, i % 60, 1, 1 + i % 2));
        model.appendRecord(SetProgram, priorityTime(1, 3, 31, 3, 2, 1));
        model.transfer.PrintHeaderInterval = 30;
    }
};

TEST(PrintLayout, HeaderIntervalBreaksPagesBeforeRows31And61)
{
    const auto pages = output::PageRanges(65, 30);
    ASSERT_EQ(pages.size(), 3u);
    EXPECT_EQ(pages[1].firstRow, 30);
    EXPECT_EQ(pages[2].firstRow, 60);
    EXPECT_EQ(pages[2].endRow, 65);
    EXPECT_EQ(output::PageRanges(0, 30).size(), 1u);
    // Rows that fill the last page exactly start no empty page after it.
    EXPECT_EQ(output::PageRanges(60, 30).size(), 2u);
    // No interval configured (ZEILEN=0) must not divide by zero.
    EXPECT_EQ(output::PageRanges(120, 0).size(), 3u);
}

// Pages break after the header interval or after the rows the paper holds, whichever comes
// first; every page but the last is full, so no row ends up on a page of its own.
struct PagingCase {
    int rows, interval, fit;
    std::vector<int> pageSizes;
};

class PageRangesTable : public ::testing::TestWithParam<PagingCase> {};

TEST_P(PageRangesTable, BreaksByIntervalOrPaper)
{
    const PagingCase &c = GetParam();
    const auto pages = output::PageRanges(c.rows, c.interval, c.fit);
    std::vector<int> sizes;
    int next = 0;
    for (const PrintPage &p : pages) {
        EXPECT_EQ(p.firstRow, next);
        next = p.endRow;
        sizes.push_back(p.endRow - p.firstRow);
    }
    EXPECT_EQ(sizes, c.pageSizes);
}

INSTANTIATE_TEST_SUITE_P(
    PrintLayout, PageRangesTable,
    ::testing::Values(PagingCase{324, 50, 0, {50, 50, 50, 50, 50, 50, 24}}, // text file: interval
                      PagingCase{324, 0, 58, {50, 50, 50, 50, 50, 50, 24}}, // default interval fits
                      PagingCase{100, 50, 49, {49, 49, 2}},                 // paper holds fewer
                      PagingCase{100, 200, 60, {60, 40}},                   // interval beyond the paper
                      PagingCase{50, 50, 50, {50}},                         // exactly one full page
                      PagingCase{0, 50, 49, {0}},                           // the header alone
                      PagingCase{3, 1, 40, {1, 1, 1}}));                    // a header before each row

// The sink's page size reaches the page ranges it is handed; the text file's lists stay as laid out.
class PagedSink : public PrintSink {
  public:
    int fit = 0;
    std::vector<std::size_t> pageCounts;
    int rowsPerPage(const PrintedList &) const override { return fit; }
    bool printList(const PrintedList &list) override
    {
        pageCounts.push_back(list.pages.size());
        return true;
    }
    bool finish() override { return true; }
    QString errorText() const override { return {}; }
};

TEST_F(PrintDriverTest, PrintListsPagesByWhatTheSinkHolds)
{
    for (const auto &[fit, pages] : {std::pair{0, 3u}, {20, 4u}, {40, 3u}}) {
        settings.switching = true;
        PagedSink sink;
        sink.fit = fit;
        EXPECT_TRUE(output::PrintLists(output::CollectPrintJob(model, settings, {}), sink).isEmpty());
        EXPECT_EQ(sink.pageCounts, std::vector<std::size_t>{pages}) << fit;
    }
}

// The second header line names every channel the device has, and no more: a named channel
// after its label, an unnamed one by its label alone.
TEST(PrintLayout, LegendListsTheDevicesChannels)
{
    for (const auto &[channels, shown] : {std::pair{0, 1}, {1, 1}, {4, 4}, {8, 8}, {9, 8}}) {
        Model model;
        model.device.Kanalzahl = channels;
        model.program().ChannelNames[0] = QStringLiteral("Hall");
        const QStringList legend = output::PrintHeaderLines(model, ListSwitching, SetProgram, false)
                                       .at(1)
                                       .split(QStringLiteral(", "));
        ASSERT_EQ(legend.size(), shown) << channels;
        const QString label = model.catalogue(Msg::ChannelPrefix).trimmed();
        EXPECT_EQ(legend.first(), label + QStringLiteral("1 Hall"));
        EXPECT_EQ(legend.last(),
                  shown == 1 ? label + QStringLiteral("1 Hall") : label + QString::number(shown));
    }
}

TEST(PrintLayout, TextFileNameReplacesOnlyTheFilesExtension)
{
    EXPECT_EQ(output::TextFileName(QStringLiteral("/a/hall.zxp")), QStringLiteral("/a/hall.txt"));
    EXPECT_EQ(output::TextFileName(QStringLiteral("/a/hall.v2.zxp")), QStringLiteral("/a/hall.v2.txt"));
    EXPECT_EQ(output::TextFileName(QStringLiteral("/a/hall")), QStringLiteral("/a/hall.txt"));
    EXPECT_EQ(output::TextFileName(QStringLiteral("/plant.2/hall")), QStringLiteral("/plant.2/hall.txt"));
}

// Text file columns: a cell starts at its tab stop; one that reaches or passes the stop, and
// every cell past the last stop, is kept apart by one blank; a row keeps no trailing blanks.
TEST(PrintLayout, TextFileCellsStandAtTheirStopsAndNeverTouch)
{
    PrintedList list;
    list.headerLines = {QStringLiteral("Hall")};
    list.tabs = {0, 4, 8};
    list.columnHeader = {QStringLiteral("No"), QStringLiteral("Time"), QStringLiteral("Ch")};
    list.rows = {{QStringLiteral("1"), QStringLiteral("06:30"), QStringLiteral("1"), QStringLiteral("ON")},
                 {QStringLiteral("1234"), QStringLiteral(""), QStringLiteral("2 ")}};
    EXPECT_EQ(output::TextFileLines(list), QByteArray("Hall\r\n\r\n"
                                                      "No  Time Ch\r\n"
                                                      "1   06:30 1 ON\r\n"
                                                      "1234    2\r\n"
                                                      "\r\n"));
}

TEST_F(PrintDriverTest, NoListChosenPrintsNothing)
{
    EXPECT_TRUE(output::CollectPrintJob(model, settings, {}).empty());
}

TEST_F(PrintDriverTest, FilteredViewPrintsUnfilteredAndTheFilterComesBack)
{
    model.ListView = ListPriority;
    model.FilterOn = -1;
    model.filter.FilterChannels = 2;
    settings.switching = true;
    settings.priority = true;
    settings.astro = true; // never on the annual device
    const auto lists = output::CollectPrintJob(model, settings, {});
    ASSERT_EQ(lists.size(), 2u);
    EXPECT_EQ(lists[0].rows.size(), 65u);
    EXPECT_TRUE(lists[0].headerLines[0].endsWith(model.catalogue(Msg::WithoutFilter)));
    EXPECT_TRUE(lists[0].headerLines[0].contains(QStringLiteral("/plant/hall.zxp")));
    EXPECT_EQ(lists[0].pages.size(), 3u);
    EXPECT_EQ(lists[1].listKind, ListPriority);
    EXPECT_FALSE(settings.switching || settings.priority || settings.astro);
    EXPECT_EQ(model.ListView, ListPriority);
    EXPECT_EQ(model.FilterOn, -1);
}

TEST_F(PrintDriverTest, CurrentViewKeepsTheFilterAndAstroPrintsOnTheAstroDevice)
{
    model.FilterOn = -1;
    model.filter.FilterChannels = 2;
    settings.currentView = true;
    auto lists = output::CollectPrintJob(model, settings, {});
    ASSERT_EQ(lists.size(), 1u);
    EXPECT_EQ(lists[0].rows.size(), 32u);
    EXPECT_TRUE(lists[0].headerLines[0].endsWith(model.catalogue(Msg::WithFilter)));

    model.device.Uhrentyp = TypeAstro;
    model.astro.AstroPresent = -1;
    settings.astro = true;
    lists = output::CollectPrintJob(model, settings, {});
    ASSERT_EQ(lists.size(), 1u);
    EXPECT_EQ(lists[0].listKind, ListAstro);
    EXPECT_GE(lists[0].rows.size(), 365u);
}

class FailingSink : public PrintSink {
  public:
    bool printList(const PrintedList &) override { return false; }
    bool finish() override { return true; }
    QString errorText() const override { return QStringLiteral("out of paper"); }
};

TEST_F(PrintDriverTest, SinkFailureIsReportedAndTheViewStays)
{
    model.ListView = ListPriority;
    model.FilterOn = -1;
    settings.switching = true;
    FailingSink sink;
    EXPECT_EQ(output::PrintLists(output::CollectPrintJob(model, settings, {}), sink),
              QStringLiteral("out of paper"));
    EXPECT_EQ(model.ListView, ListPriority);
    EXPECT_EQ(model.FilterOn, -1);
}

TEST_F(PrintDriverTest, TextFileAppendsEveryPrintout)
{
    TempDir dir;
    const QString path = dir.file(QStringLiteral("hall.txt"));
    for (int round = 0; round < 2; ++round) {
        settings.priority = true;
        TextFileSink sink(path);
        EXPECT_TRUE(output::PrintLists(output::CollectPrintJob(model, settings, {}), sink).isEmpty());
    }
    const QString text = QString::fromUtf8(dir.read(QStringLiteral("hall.txt")));
    EXPECT_EQ(text.count(model.catalogue(Msg::ListPriorityProgram) + QLatin1Char(' ')), 2);
    const QStringList lines = text.split(QStringLiteral("\r\n"));
    // Header lines once, a blank line, the headings, one row, a blank line; twice.
    EXPECT_EQ(lines.size(), 2 * 8 + 1);
    EXPECT_TRUE(lines[5].startsWith(model.catalogue(Msg::ColNr) + QStringLiteral("  ")));
    // Cells start at the tab positions of their columns.
    EXPECT_EQ(lines[6].indexOf(model.catalogue(Msg::March)), lines[5].indexOf(model.catalogue(Msg::BeginAt)));
}

// A printout that does not fit on the disk says so and leaves the earlier printouts as they were.
TEST(TextFileSink, FailedAppendSaysSoAndKeepsTheEarlierText)
{
    TempDir dir;
    QString error;
    EXPECT_FALSE(AppendKeepingEarlier(dir.path(), "x", &error));
    EXPECT_FALSE(error.isEmpty());
    error.clear();
    EXPECT_FALSE(AppendKeepingEarlier(dir.file(QStringLiteral("gone/hall.txt")), "x", &error));
    EXPECT_FALSE(error.isEmpty());
    const QString path = dir.file(QStringLiteral("hall.txt"));
    ASSERT_TRUE(AppendKeepingEarlier(path, "earlier\r\n", &error));
    {
        const test::FileSizeLimit full(16);
        ASSERT_TRUE(full.active());
        error.clear();
        EXPECT_FALSE(AppendKeepingEarlier(path, QByteArray(100, 'x'), &error));
    }
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(dir.read(QStringLiteral("hall.txt")), QByteArray("earlier\r\n"));
}

} // namespace
