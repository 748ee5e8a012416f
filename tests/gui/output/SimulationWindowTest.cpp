#include "gui/app/MainWindowFixture.h"

#include "app/CommandWiring.h"
#include "model/Calendar.h"
#include "output/SimulationDrawing.h"
#include "output/SimulationWindow.h"
#include "output/YearSimulation.h"
#include "support/SamplePrograms.h"

#include <QApplication>
#include <QColorDialog>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QProcess>
#include <QScrollBar>
#include <QToolButton>

using namespace zx;
using namespace zx::test;

namespace {

class SimulationWindowTest : public MainWindowTest {
  protected:
    SimulationWindow *open()
    {
        wireCommands(*w, ctx);
        w->updateActions();
        EXPECT_TRUE(act("mnuAnsGrafik")->isEnabled());
        act("mnuAnsGrafik")->trigger();
        if (auto *frm = ShownWindow<SimulationWindow>("FrmGrafik"))
            return frm;
        ADD_FAILURE() << "no simulation window";
        return nullptr;
    }
};

TEST_F(SimulationWindowTest, YearCellAndDayGraphFollowTheUser)
{
    add(weeklyTime(6, 0, 127, 1, 1, 2));  // P2 06:00 ON daily
    add(weeklyTime(18, 0, 127, 1, 0, 2)); // P2 18:00 OFF daily
    add(priorityTime(1, 5, 3, 5, 2, 1));  // P2 on 1..3 May, channel 1
    model.Modified = 0;
    const auto recordsBefore = model.program().Records;
    const int usedBefore = model.program().UsedCount;

    SimulationWindow *frm = open();
    ASSERT_NE(frm, nullptr);
    auto *years = Control<QComboBox>(frm, "cboSimulationsjahr");
    ASSERT_EQ(years->count(), 30);
    EXPECT_EQ(years->itemText(0), QStringLiteral("2026"));
    years->setCurrentIndex(4);
    EXPECT_EQ(frm->year(), 2030);

    auto *overview = Control<YearOverview>(frm, "picPzGrafik");
    auto *tag = Control<QLabel>(frm, "lbltag");
    const QPoint cell = overview->cellCentre(1, 2, 5);
    QTest::mousePress(overview, Qt::LeftButton, Qt::NoModifier, cell);
    QTest::mouseRelease(overview, Qt::LeftButton, Qt::NoModifier, cell);
    EXPECT_EQ(frm->dayOfYear(), DayOfYear(2, 5, 2030));
    EXPECT_EQ(tag->text(), QStringLiteral("C1, thursday may, 2. 2030, P 2"));
    EXPECT_EQ(frm->segments(), (std::vector<DaySegment>{{0, 360}, {1, 720}, {0, 360}}));
    QTest::keyClick(overview, Qt::Key_Down);
    QTest::keyClick(overview, Qt::Key_Right);
    EXPECT_EQ(frm->channel(), 2);
    EXPECT_EQ(frm->dayOfYear(), DayOfYear(3, 5, 2030));
    frm->selectCell(1, DayOfYear(2, 5, 2030));

    // the day graph: pointer, hours and stepping through the days
    auto *scroll = Control<QScrollBar>(frm, "HScroll1");
    auto *graph = Control<DayGraph>(frm, "picSzGrafik");
    scroll->setValue(6);
    EXPECT_EQ(Control<QLabel>(frm, "lblstarttime")->text(), QStringLiteral("5:00"));
    EXPECT_EQ(Control<QLabel>(frm, "lblendtime")->text(), QStringLiteral("14:00"));
    QTest::mouseClick(graph, Qt::LeftButton, Qt::NoModifier,
                      QPoint(graph->xOfMinute(90), graph->height() / 2));
    EXPECT_EQ(tag->text(), QStringLiteral("C1, may, 2. 2030, P 2 6:30 hrs"));
    scroll->setValue(17);
    EXPECT_EQ(frm->dayOfYear(), DayOfYear(3, 5, 2030));
    EXPECT_EQ(scroll->value(), 1);
    scroll->setValue(0);
    scroll->setValue(0);
    EXPECT_EQ(frm->dayOfYear(), DayOfYear(1, 5, 2030));
    EXPECT_EQ(scroll->value(), 16);
    frm->selectCell(1, 1);
    const int beeps = prompter.beeps;
    scroll->setValue(0);
    EXPECT_EQ(prompter.beeps, beeps + 1);
    EXPECT_EQ(frm->dayOfYear(), 1);
    EXPECT_EQ(frm->segments(), (std::vector<DaySegment>{{0, 1440}}));

    // looking never changes the program
    EXPECT_EQ(model.program().Records, recordsBefore);
    EXPECT_EQ(model.program().UsedCount, usedBefore);
    EXPECT_EQ(model.Modified, 0);

    // the window follows a change of the program
    add(priorityTime(1, 1, 1, 1, 10, 1, 1));
    w->redrawList();
    EXPECT_EQ(frm->plan().code(1, 1), DayCode::PermanentOn);
    EXPECT_EQ(frm->segments(), (std::vector<DaySegment>{{1, 1440}}));
    frm->close();
}

TEST_F(SimulationWindowTest, LegendColourAndExports)
{
    add(weeklyTime(6, 0, 127, 1, 1));
    SimulationWindow *frm = open();
    ASSERT_NE(frm, nullptr);
    auto *legend = Control<QLabel>(frm, "lblColorP3");
    QTest::mouseClick(legend, Qt::LeftButton);
    auto *dialog = frm->findChild<QColorDialog *>(QStringLiteral("ComDiaPzColor"));
    ASSERT_NE(dialog, nullptr);
    ASSERT_TRUE(dialog->isVisible());
    EXPECT_EQ(dialog->currentColor(), QColor(0, 0, 255));
    dialog->setCurrentColor(QColor(10, 20, 30));
    dialog->accept();
    EXPECT_EQ(frm->colour(3), QColor(10, 20, 30));
    EXPECT_EQ(legend->palette().color(QPalette::Window), QColor(10, 20, 30));

    // the overview as PNG through the export menu, the day as PDF
    const QString png = dir.file(QStringLiteral("year.png"));
    prompter.files.push_back(png);
    auto *exportMenu = Control<QToolButton>(frm, "cmdExport")->menu();
    ASSERT_NE(exportMenu, nullptr);
    Control<QAction>(exportMenu, QStringLiteral("mnuExportJahr"))->trigger();
    QImage image(png);
    ASSERT_FALSE(image.isNull());
    EXPECT_GT(image.width(), 1000);

    const QString pdf = dir.file(QStringLiteral("day.pdf"));
    ASSERT_TRUE(frm->exportDayGraph(pdf));
    QFile f(pdf);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_TRUE(f.read(5).startsWith("%PDF"));
    if (!qEnvironmentVariableIsEmpty("ZX_SHOT"))
        image.save(qEnvironmentVariable("ZX_SHOT"));

    // the pictures say which program and year they show; the overview carries its legend and
    // the day keeps its last hour label
    const QString yearPdf = dir.file(QStringLiteral("year.pdf"));
    ASSERT_TRUE(frm->exportOverview(yearPdf));
    const auto pdfText = [](const QString &path) {
        QProcess p;
        p.start(QStringLiteral("pdftotext"), {path, QStringLiteral("-")});
        return p.waitForFinished(10000) && p.exitCode() == 0 ? QString::fromUtf8(p.readAllStandardOutput())
                                                             : QString();
    };
    const QString day = pdfText(pdf);
    const QString year = pdfText(yearPdf);
    if (!day.isEmpty()) { // pdftotext is there
        EXPECT_TRUE(day.contains(QStringLiteral("Swprg1.zxp"))) << day.toStdString();
        EXPECT_TRUE(day.contains(QStringLiteral("24:00"))) << day.toStdString();
        EXPECT_TRUE(year.contains(QStringLiteral("Swprg1.zxp")) &&
                    year.contains(QString::number(frm->year())))
            << year.toStdString();
        EXPECT_TRUE(year.contains(QStringLiteral("P On"))) << year.toStdString();
    }

    // a directory that does not exist: told, nothing written
    const int shown = int(prompter.shown.size());
    EXPECT_FALSE(frm->exportOverview(dir.file(QStringLiteral("missing/year.png"))));
    EXPECT_EQ(int(prompter.shown.size()), shown + 1);
    frm->close();
}

TEST_F(SimulationWindowTest, YearAsICalendarButNeverOverTheProgram)
{
    add(weeklyTime(6, 0, 127, 1, 1));
    add(weeklyTime(18, 0, 127, 1, 0));
    ctx.model.program().FileName = dir.file(QStringLiteral("hall.zxp"));
    dir.write(QStringLiteral("hall.zxp"), "program");
    SimulationWindow *frm = open();
    ASSERT_NE(frm, nullptr);
    // A name without extension gets ".ics".
    prompter.files.push_back(dir.file(QStringLiteral("hall")));
    Control<QToolButton>(frm, "cmdExport")
        ->menu()
        ->findChild<QAction *>(QStringLiteral("mnuExportIcs"))
        ->trigger();
    const QByteArray ics = dir.read(QStringLiteral("hall.ics"));
    EXPECT_TRUE(ics.startsWith("BEGIN:VCALENDAR\r\n"));
    EXPECT_EQ(ics.count("BEGIN:VEVENT"), frm->plan().days);
    // confirmed with the file and its events, and the simulation stays in front
    EXPECT_EQ(prompter.last(), QStringLiteral("The calendar was written to %1 (%2 events).")
                                   .arg(QDir::toNativeSeparators(dir.file(QStringLiteral("hall.ics"))))
                                   .arg(frm->plan().days));
    QTRY_VERIFY(frm->isActiveWindow());

    const int shown = int(prompter.shown.size());
    EXPECT_FALSE(frm->exportCalendar(ctx.model.program().FileName));
    ASSERT_EQ(int(prompter.shown.size()), shown + 1);
    EXPECT_TRUE(prompter.last().contains(QStringLiteral("program file")));
    EXPECT_EQ(dir.read(QStringLiteral("hall.zxp")), QByteArray("program"));
    frm->close();
}

// A pulse is momentary in the graph as in the core: an OFF pulse while ON leaves the line ON.
TEST(DayGraphDrawing, APulseLeavesTheLineAtItsLevel)
{
    Model m;
    m.appendRecord(SetProgram, weeklyTime(6, 0, 127, 1, 1));
    m.appendRecord(SetProgram, weeklyTime(6, 30, 127, 1, 0, 0, 5));
    const std::vector<DaySegment> segments = YearSimulation(m).daySegments(1, 7, 1, 2030, 0);
    using G = DayGraphGeometry;
    QImage image(int(G::Margin) + 64, int(G::Height), QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    PaintDayGraph(p, QRectF(image.rect()), segments, 360, 60);
    p.end();
    const int after = int(G::Margin) + 45; // 06:45
    EXPECT_NE(image.pixel(after, int(G::OnLevel)), qRgb(255, 255, 255));
    EXPECT_EQ(image.pixel(after, int(G::OffLevel)), qRgb(255, 255, 255));
}

} // namespace
