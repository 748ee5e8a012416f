#include "../ModalHelper.h"
#include "../app/MainWindowFixture.h"

#include "app/CommandWiring.h"
#include "output/PrintCommands.h"
#include "output/PrintLayout.h"
#include "support/SamplePrograms.h"

#include <QCheckBox>
#include <QDialog>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QPageLayout>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QPushButton>
#include <QRegularExpression>
#include <QSpinBox>

using namespace zx;
using namespace zx::test;

namespace {

class PrintFlowTest : public MainWindowTest {
  protected:
    PrintCommands *print = nullptr;

    void SetUp() override
    {
        MainWindowTest::SetUp();
        for (int i = 0; i < 3; ++i)
            model.appendRecord(SetProgram, weeklyTime(6 + i, 0, 1, 1 + i % 2));
        model.appendRecord(SetProgram, priorityTime(1, 3, 31, 3, 2, 1));
        wireCommands(*w, ctx);
        print = w->findChild<PrintCommands *>(QStringLiteral("printCommands"));
        ASSERT_NE(print, nullptr);
        // The priority list with a filter is on screen.
        model.filter.FilterChannels = 1;
        model.FilterOn = -1;
        w->showList(ListPriority, SetProgram);
    }
    void printToPdf(const QString &path)
    {
        print->choosePrinter = [path](QPrinter &printer) {
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(path);
            return true;
        };
    }
    void expectViewRestored()
    {
        EXPECT_EQ(model.ListView, ListPriority);
        EXPECT_EQ(model.FilterOn, -1);
        EXPECT_EQ(grid()->horizontalHeaderItem(1)->text(), model.catalogue(Msg::BeginAt));
    }
};

TEST_F(PrintFlowTest, DialogPrintsChosenListsToPdfAndRestoresTheView)
{
    EXPECT_TRUE(act("tbDruck")->isEnabled());
    const QString pdf = dir.file(QStringLiteral("out.pdf"));
    printToPdf(pdf);
    whenModal(QStringLiteral("frmDruck"), [](QWidget *d) {
        EXPECT_FALSE(Control<QCheckBox>(d, QStringLiteral("Chkprastro"))->isVisibleTo(d));
        Control<QCheckBox>(d, QStringLiteral("chkprsz"))->setChecked(true);
        Control<QPushButton>(d, QStringLiteral("cmdprdruck"))->click();
    });
    act("mnuDatDruck")->trigger();
    QFile file(pdf);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.readAll().startsWith("%PDF"));
    // a finished print says so, and where it went
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_EQ(prompter.last(), QStringLiteral("Saved as %1.").arg(pdf));
    // pages keep a margin a printer can print; the next print starts with this printer
    EXPECT_GE(print->printer().pageLayout().margins(QPageLayout::Millimeter).left(), 10.0);
    EXPECT_EQ(print->printer().outputFileName(), pdf);
    expectViewRestored();
    // the dialog offers the lists chosen last again
    bool switching = false, priority = true;
    whenModal(QStringLiteral("frmDruck"), [&](QWidget *d) {
        switching = Control<QCheckBox>(d, QStringLiteral("chkprsz"))->isChecked();
        priority = Control<QCheckBox>(d, QStringLiteral("chkprpz"))->isChecked();
        Control<QPushButton>(d, QStringLiteral("cmdprcancel"))->click();
    });
    act("mnuDatDruck")->trigger();
    EXPECT_TRUE(switching);
    EXPECT_FALSE(priority);
}

TEST_F(PrintFlowTest, PrinterErrorIsShownAndTheViewIsRestored)
{
    printToPdf(dir.file(QStringLiteral("missing/folder/out.pdf")));
    grid()->selectRow(0);
    print->settings().switching = true;
    print->run(false);
    EXPECT_EQ(model.Marked.size(), 1u); // the marking survives printing
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_EQ(prompter.shown[0].icon, Icon::Critical);
    EXPECT_TRUE(prompter.last().contains(QStringLiteral("out.pdf")));
    EXPECT_FALSE(QFileInfo::exists(dir.file(QStringLiteral("missing/folder/out.pdf"))));
    expectViewRestored();
}

TEST_F(PrintFlowTest, ToolStripPrintsTheShownViewIntoTheTextFile)
{
    whenModal(QStringLiteral("frmDruck"), [](QWidget *d) {
        Control<QCheckBox>(d, QStringLiteral("chktxtdat"))->click();
        Control<QPushButton>(d, QStringLiteral("cmdprcancel"))->click();
    });
    act("mnuDatDruck")->trigger();
    EXPECT_TRUE(print->settings().redirectToFile); // stored at once, kept after Cancel
    act("tbDruck")->trigger();
    EXPECT_EQ(prompter.last(),
              QStringLiteral("The list was written to %1.").arg(dir.file(QStringLiteral("Swprg1.txt"))));
    const QString text = QString::fromUtf8(dir.read(QStringLiteral("Swprg1.txt")));
    EXPECT_TRUE(text.startsWith(model.catalogue(Msg::ListPriorityProgram)));
    EXPECT_TRUE(text.contains(model.catalogue(Msg::WithFilter)));
    expectViewRestored();
}

TEST_F(PrintFlowTest, TextExportAsCsvTableBesideTheProgram)
{
    whenModal(QStringLiteral("frmDruck"), [](QWidget *d) {
        auto *csv = d->findChild<QCheckBox *>(QStringLiteral("chkcsv"));
        auto *toFile = d->findChild<QCheckBox *>(QStringLiteral("chktxtdat"));
        EXPECT_FALSE(csv->isEnabled()); // only with the text file
        toFile->click();
        csv->click();
        EXPECT_TRUE(toFile->text().endsWith(QStringLiteral("Swprg1.csv")));
        Control<QCheckBox>(d, QStringLiteral("chkprsz"))->setChecked(true);
        Control<QPushButton>(d, QStringLiteral("cmdprdruck"))->click();
    });
    act("mnuDatDruck")->trigger();
    const QStringList rows =
        QString::fromUtf8(dir.read(QStringLiteral("Swprg1.csv"))).split(QStringLiteral("\r\n"));
    ASSERT_EQ(rows.size(), 1 + 3 + 1); // headings, three switching times, the final line end
    EXPECT_TRUE(rows[0].startsWith(QStringLiteral("row,kind,weekdays,date,once,time,")))
        << qPrintable(rows[0]);
    EXPECT_TRUE(rows[1].startsWith(QStringLiteral("1,")));
    EXPECT_FALSE(dir.exists(QStringLiteral("Swprg1.txt")));
    ASSERT_EQ(prompter.shown.size(), 1u) << qPrintable(prompter.last()); // the finished export
    EXPECT_TRUE(prompter.last().contains(QStringLiteral("Swprg1.csv")));
    expectViewRestored();
}

TEST_F(PrintFlowTest, PreviewShowsThePagesOfTheSameLayout)
{
    int pages = 0;
    whenModal(QStringLiteral("frmDruckVorschau"), [&pages](QWidget *preview) {
        auto *view = preview->findChild<QPrintPreviewWidget *>();
        ASSERT_NE(view, nullptr);
        pages = view->pageCount();
        if (!qEnvironmentVariableIsEmpty("ZX_SHOT"))
            preview->grab().save(qEnvironmentVariable("ZX_SHOT"));
        qobject_cast<QDialog *>(preview)->reject();
    });
    print->settings().switching = true;
    print->settings().priority = true;
    print->run(true);
    EXPECT_EQ(pages, 2);
    EXPECT_TRUE(prompter.shown.empty());
    expectViewRestored();
}

TEST_F(PrintFlowTest, ChangeSetsTheHeaderIntervalThroughTheDeviceProperties)
{
    QString shown;
    whenModal(QStringLiteral("frmDruck"), [&shown](QWidget *d) {
        whenModal(QString::fromUtf8("frmGer\u00e4tEinst"), [](QWidget *p) {
            if (auto *lines = p->findChild<QSpinBox *>(QStringLiteral("txtZeilen")))
                lines->setValue(30);
            Control<QPushButton>(p, QStringLiteral("cmdOk"))->click();
        });
        Control<QPushButton>(d, QString::fromUtf8("cmdpr\u00e4ndern"))->click();
        shown = Control<QLabel>(d, QStringLiteral("lblZeilen"))->text();
        Control<QPushButton>(d, QStringLiteral("cmdprcancel"))->click();
    });
    act("mnuDatDruck")->trigger();
    EXPECT_EQ(model.transfer.PrintHeaderInterval, 30);
    EXPECT_EQ(shown, QStringLiteral("30") + model.catalogue(Msg::Lines));
    // the default count is a number too
    model.transfer.PrintHeaderInterval = 0;
    whenModal(QStringLiteral("frmDruck"), [&shown](QWidget *d) {
        shown = Control<QLabel>(d, QStringLiteral("lblZeilen"))->text();
        Control<QPushButton>(d, QStringLiteral("cmdprcancel"))->click();
    });
    act("mnuDatDruck")->trigger();
    EXPECT_EQ(shown, QString::number(output::EffectiveHeaderInterval(0)) + model.catalogue(Msg::Lines));
}

// A full page holds the header interval's rows on every paper: 100 switching times under the
// default interval of 50 are two pages, never a row left alone on a page of its own.
class PrintPaperTest : public PrintFlowTest, public ::testing::WithParamInterface<QPageSize::PageSizeId> {};

TEST_P(PrintPaperTest, DefaultIntervalFillsEachPage)
{
    for (int i = 3; i < 100; ++i)
        model.appendRecord(SetProgram, weeklyTime(i / 60, i % 60, 1 << (i % 7), 1));
    model.transfer.PrintHeaderInterval = 0;
    const QString pdf = dir.file(QStringLiteral("paper.pdf"));
    printToPdf(pdf);
    print->printer().setPageSize(QPageSize(GetParam()));
    print->settings().switching = true;
    print->run(false);
    QFile file(pdf);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << qPrintable(prompter.last());
    const QString bytes = QString::fromLatin1(file.readAll());
    EXPECT_EQ(bytes.count(QRegularExpression(QStringLiteral("/Type\\s*/Page(?!s)"))), 2);
}

INSTANTIATE_TEST_SUITE_P(Papers, PrintPaperTest,
                         ::testing::Values(QPageSize::A4, QPageSize::Letter, QPageSize::A5));

} // namespace
