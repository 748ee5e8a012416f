#include "MainWindowFixture.h"

#include "model/ProgramFile.h"

#include <QDateTime>
#include <QDeadlineTimer>
#include <QFile>
#include <QFileInfo>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QSignalSpy>
#include <QToolButton>

using namespace zx;
using namespace zx::test;

// ------------------------------------------------------------------ structure

TEST_F(MainWindowTest, FrameListWindowGridAndHeaderFieldsCarryTheirNames)
{
    EXPECT_EQ(w->objectName(), QStringLiteral("MDIForm1"));
    EXPECT_NE(w->findChild<QWidget *>(QStringLiteral("frmHauptmenue")), nullptr);
    EXPECT_NE(grid(), nullptr);
    for (const char *name : {"txtProgrammnummer", "txtverwendung", "txtkannam0", "txtkannam8"})
        EXPECT_NE(find<QLineEdit>(name), nullptr) << name;
    EXPECT_NE(find<QToolButton>("AniSchreibschutz"), nullptr);
    EXPECT_NE(find<QProgressBar>("ggeanzSz"), nullptr);
    EXPECT_NE(find<QFrame>("picfilter"), nullptr);
    EXPECT_NE(find<QLabel>("imgfilt"), nullptr);
    EXPECT_NE(find<QLabel>("imgnofilt"), nullptr);
    EXPECT_EQ(find<QLineEdit>("txtkannam3")->property("index").toInt(), 3);
    for (const char *menu : {"mnuDatei", "mnuBearbeiten", "mnuAnsicht", "mnuEinstellungen", "mnuHilfe"})
        EXPECT_NE(find<QMenu>(menu), nullptr) << menu;
}

TEST_F(MainWindowTest, MenusCarryCatalogueCaptions)
{
    EXPECT_EQ(find<QMenu>("mnuDatei")->title(), QStringLiteral("&File"));
    EXPECT_EQ(act("mnuDatNeu")->text(), QStringLiteral("&New"));
    EXPECT_EQ(act("mnuDatOeffnen")->text(), QStringLiteral("&Open..."));
    EXPECT_EQ(act("mnuDatSpeichernUnter")->text(), QStringLiteral("Save &as..."));
    EXPECT_EQ(act("mnuDatExp")->text(), QStringLiteral("Program zentrix"));
    EXPECT_EQ(act("mnuAnsVorlPz")->text(), QStringLiteral("Sa&mple Prioritys"));
    EXPECT_EQ(act("mnuGeraet")->text(), QStringLiteral("&Device Properties..."));
    EXPECT_EQ(act("mnuHilfeInhalt")->text(), QStringLiteral("&Help for Zentrix 2.0"));
    EXPECT_FALSE(act("mnuDatNeu")->shortcut().isEmpty());
}

TEST_F(MainWindowTest, CommandsOfLaterWindowsAreVisibleButDisabledUntilWired)
{
    w->updateActions();
    for (const char *name :
         {"mnuDatDruck", "mnuDatExp", "mnuDatImp", "mnuEingSz", "mnuEingPz", "mnuEingSw", "mnuFilter",
          "mnuAssistent", "mnuMaster", "mnuFeiertage", "mnuHilfeInhalt", "tbDruck"}) {
        EXPECT_TRUE(act(name)->isVisible()) << name;
        EXPECT_FALSE(act(name)->isEnabled()) << name;
    }
    int runs = 0;
    w->setCommandHandler(QStringLiteral("mnuEingSz"), [&runs] { ++runs; });
    EXPECT_TRUE(act("mnuEingSz")->isEnabled());
    act("mnuEingSz")->trigger();
    EXPECT_EQ(runs, 1);
    w->setCommandHandler(QStringLiteral("mnuDatDruck"), [&runs] { runs += 10; });
    EXPECT_TRUE(act("tbDruck")->isEnabled());
    act("tbDruck")->trigger();
    EXPECT_EQ(runs, 11);
}

// ------------------------------------------------------------------ list and header fields

TEST_F(MainWindowTest, RedrawShowsRowsTitleAndFileDate)
{
    add(Weekly(6, 30, 1 + 4 + 16, 1 + 4, 1));
    add(Weekly(18, 0, 127, 2, 0));
    w->redrawList();
    EXPECT_EQ(headerText(1), QStringLiteral("date/days"));
    ASSERT_EQ(grid()->rowCount(), 2);
    EXPECT_EQ(cell(0, 0), QStringLiteral("1"));
    EXPECT_EQ(cell(0, 1), QStringLiteral("mo we fr"));
    EXPECT_EQ(cell(0, 2), QStringLiteral("  6:30 hrs"));
    EXPECT_EQ(cell(0, 3), QStringLiteral(" C1 C3"));
    EXPECT_EQ(cell(1, 1), QStringLiteral("daily"));
    EXPECT_EQ(find<QLabel>("lblDateidatum")->text(), QStringLiteral("unsaved file "));
    EXPECT_TRUE(
        w->windowTitle().contains(QStringLiteral("switching program (") + model.program().FileName + ")"));
    EXPECT_EQ(find<QProgressBar>("ggeanzSz")->value(), 2);
    EXPECT_EQ(find<QProgressBar>("ggeanzSz")->maximum(), 324);
}

TEST_F(MainWindowTest, ChannelNameFieldsFollowTheChannelCount)
{
    model.device.Kanalzahl = 2;
    model.program().ChannelNames[1] = QStringLiteral("Garden");
    w->redrawList();
    EXPECT_FALSE(find<QLineEdit>("txtkannam0")->isHidden());
    EXPECT_EQ(find<QLineEdit>("txtkannam1")->text(), QStringLiteral("Garden"));
    EXPECT_TRUE(find<QLineEdit>("txtkannam2")->isHidden());
    EXPECT_TRUE(find<QLineEdit>("txtkannam8")->isHidden());

    QLineEdit *name = find<QLineEdit>("txtkannam0");
    name->setText(QStringLiteral("Hall"));
    Q_EMIT name->editingFinished();
    EXPECT_EQ(model.program().ChannelNames[0], QStringLiteral("Hall"));
    EXPECT_EQ(model.Modified, 1);
}

TEST_F(MainWindowTest, EightChannelNamesWrapIntoRowsOfFourWhenTheWindowIsNarrow)
{
    model.device.Kanalzahl = 8;
    w->redrawList();
    QWidget *header = find<QWidget>("fraKopf");
    QLineEdit *first = find<QLineEdit>("txtkannam0");
    QLineEdit *fifth = find<QLineEdit>("txtkannam4");
    QLineEdit *last = find<QLineEdit>("txtkannam7");
    struct Case {
        int width;
        bool wrapped;
    };
    for (const Case c : {Case{1600, false}, Case{600, true}, Case{1600, false}}) {
        SCOPED_TRACE(c.width);
        w->resize(c.width, 600);
        // The header rearranges once the window's layout has run: wait for it, up to a deadline.
        QDeadlineTimer deadline(2000);
        while ((fifth->y() > first->y()) != c.wrapped && !deadline.hasExpired())
            QApplication::processEvents(QEventLoop::AllEvents, 20);
        QApplication::processEvents();
        EXPECT_EQ(w->width(), c.width);
        EXPECT_EQ(fifth->y() > first->y(), c.wrapped);
        EXPECT_EQ(fifth->x() == first->x(), c.wrapped);
        // The header grows by the row it gained: no field is squeezed below its height.
        EXPECT_GE(last->height(), last->minimumSizeHint().height());
        EXPECT_LE(header->mapTo(w.get(), QPoint(header->width(), 0)).x(), w->width());
        EXPECT_LE(last->mapTo(header, QPoint(last->width(), 0)).x(), header->width());
    }
}

TEST_F(MainWindowTest, UsageTextDropsCommasWithABeep)
{
    QLineEdit *usage = find<QLineEdit>("txtverwendung");
    usage->clear();
    usage->setFocus();
    QTest::keyClicks(usage, QStringLiteral("Hall, east"));
    EXPECT_EQ(usage->text(), QStringLiteral("Hall east"));
    EXPECT_EQ(prompter.beeps, 1);
    Q_EMIT usage->editingFinished();
    EXPECT_EQ(model.program().UsageText, QStringLiteral("Hall east"));
    EXPECT_EQ(model.Modified, 1);
}

TEST_F(MainWindowTest, ProgramNumberFieldOnlyWithUtilityOption)
{
    model.device.Evu = 1;
    w->redrawList();
    QLineEdit *field = find<QLineEdit>("txtProgrammnummer");
    EXPECT_FALSE(field->isHidden());
    EXPECT_EQ(field->text(), QString());

    // "0" gives program number 0, shown with six digits.
    field->setFocus();
    QTest::keyClicks(field, QStringLiteral("0"));
    Q_EMIT field->editingFinished();
    EXPECT_EQ(model.program().ProgramNumber, 0);
    EXPECT_EQ(field->text(), QStringLiteral("000000"));
    EXPECT_EQ(model.Modified, 1);

    // Letters beep and are dropped.
    field->clear();
    QTest::keyClicks(field, QStringLiteral("4a7"));
    EXPECT_EQ(field->text(), QStringLiteral("47"));
    EXPECT_GE(prompter.beeps, 1);
    Q_EMIT field->editingFinished();
    EXPECT_EQ(model.program().ProgramNumber, 47);
    EXPECT_EQ(field->text(), QStringLiteral("000047"));

    // Empty means no program number.
    model.Modified = 0;
    field->clear();
    Q_EMIT field->editingFinished();
    EXPECT_FALSE(model.program().hasProgramNumber());
    EXPECT_EQ(field->text(), QString());
    EXPECT_EQ(model.Modified, 1);
}

TEST_F(MainWindowTest, WithoutUtilityOptionThereIsNeverAProgramNumber)
{
    model.device.Evu = 0;
    model.program().ProgramNumber = 1234;
    w->redrawList();
    EXPECT_TRUE(find<QLineEdit>("txtProgrammnummer")->isHidden());
    EXPECT_FALSE(model.program().hasProgramNumber());
}

TEST_F(MainWindowTest, WriteProtectShownForVariableHolidayDevicesAndToggles)
{
    model.device.Bewft = 0;
    w->redrawList();
    EXPECT_TRUE(find<QToolButton>("AniSchreibschutz")->isHidden());
    model.device.Bewft = 1;
    w->redrawList();
    QToolButton *button = find<QToolButton>("AniSchreibschutz");
    EXPECT_FALSE(button->isHidden());
    EXPECT_FALSE(w->isWindowModified());
    button->click();
    EXPECT_EQ(model.device.WriteProtect, 1);
    EXPECT_EQ(model.Modified, 1);
    EXPECT_TRUE(w->isWindowModified()) << "the title's mark follows the click at once";
}

TEST_F(MainWindowTest, GaugeClickShowsTheUsedMemory)
{
    add(Weekly(6, 0, 1, 1, 1));
    add(Rec(121, 131, 6, 1, 16));
    model.program().DstCount = 1;
    w->redrawList();
    QTest::mouseClick(find<QProgressBar>("ggeanzSz"), Qt::LeftButton);
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_EQ(prompter.last(),
              QStringLiteral("used memory: 2 of 324\nswitching program: 1\npriority program: 1\n"
                             "Changeover table: 1 of 20"));
}

TEST_F(MainWindowTest, FilterSwitchTogglesAndRedraws)
{
    QLabel *off = find<QLabel>("imgnofilt");
    QLabel *on = find<QLabel>("imgfilt");
    EXPECT_FALSE(off->isHidden());
    EXPECT_TRUE(on->isHidden());
    QTest::mouseClick(off, Qt::LeftButton);
    EXPECT_EQ(model.FilterOn, -1);
    EXPECT_FALSE(on->isHidden());
    EXPECT_EQ(find<QFrame>("picfilter")->palette().color(QPalette::Window), QColor(255, 255, 16));
    QTest::mouseClick(on, Qt::LeftButton);
    EXPECT_EQ(model.FilterOn, 0);
    EXPECT_EQ(find<QFrame>("picfilter")->palette().color(QPalette::Window), QColor(192, 192, 192));
}

// ------------------------------------------------------------------ marking and sorting

TEST_F(MainWindowTest, MarkingKeepsTheMarkingOrder)
{
    add(Weekly(6, 0, 1, 1, 1));
    add(Weekly(7, 0, 1, 1, 1));
    add(Weekly(8, 0, 1, 1, 1));
    w->redrawList();
    clickRow(2);
    clickRow(0, Qt::ControlModifier);
    EXPECT_EQ(model.Marked,
              (std::vector<int>{w->shownList().rows[2].recordIndex, w->shownList().rows[0].recordIndex}));
    EXPECT_EQ(model.FirstMarked, 0);
    EXPECT_EQ(model.LastMarked, 1);
    clickRow(0);
    EXPECT_EQ(model.Marked, (std::vector<int>{w->shownList().rows[0].recordIndex}));
    clickRow(2, Qt::ShiftModifier);
    EXPECT_EQ(model.Marked.size(), 3u);
}

TEST_F(MainWindowTest, HeaderClickSortsByThatColumn)
{
    add(Weekly(18, 0, 1, 1, 1)); // Monday 18:00, channel 1
    add(Weekly(6, 0, 2, 2, 1));  // Tuesday 06:00, channel 2
    add(Weekly(12, 0, 4, 1, 0)); // Wednesday 12:00, channel 1
    w->redrawList();
    clickHeader(2); // time
    EXPECT_EQ(model.SortColumnSz, 2);
    EXPECT_EQ(cell(0, 2), QStringLiteral("  6:00 hrs"));
    EXPECT_EQ(cell(1, 2), QStringLiteral("12:00 hrs"));
    EXPECT_EQ(cell(2, 2), QStringLiteral("18:00 hrs"));
    clickHeader(1); // date/days
    EXPECT_EQ(model.SortColumnSz, 1);
    EXPECT_EQ(cell(0, 1), QStringLiteral("mo"));
    EXPECT_EQ(cell(2, 1), QStringLiteral("we"));
}

TEST_F(MainWindowTest, DeleteRemovesMarkedRecordsAfterTheQuestion)
{
    add(Weekly(6, 0, 1, 1, 1));
    add(Weekly(7, 0, 1, 1, 1));
    w->redrawList();
    clickRow(0);
    model.Modified = 0;
    prompter.answers = {Answer::Cancel};
    act("mnuLoeschen")->trigger();
    EXPECT_EQ(prompter.last(), QStringLiteral("Really delete ?\n\nSwitching times to delete: 1"));
    EXPECT_EQ(model.program().UsedCount, 2);
    clickRow(0);
    prompter.answers = {Answer::Ok};
    act("mnuLoeschen")->trigger();
    EXPECT_EQ(model.program().UsedCount, 1);
    EXPECT_EQ(model.Modified, 1);
    EXPECT_EQ(grid()->rowCount(), 1);
    EXPECT_EQ(cell(0, 2), QStringLiteral("  7:00 hrs"));
}

TEST_F(MainWindowTest, ChangeoverEntriesGoOnlyFromTheEndOfTheTable)
{
    ProgramSet &p = model.program();
    p.DstFirstYear = 30;
    for (int i = 0; i < 3; ++i)
        p.DstTable[i] = {1 + 2 + 32, 16 * 13 + 3, 1 + 2 + 48, 16 * 9 + 10};
    p.DstCount = 3;
    w->showList(ListChangeover, SetProgram);
    ASSERT_EQ(grid()->rowCount(), 3);
    clickRow(0);
    clickRow(1, Qt::ShiftModifier);
    act("mnuLoeschen")->trigger();
    EXPECT_EQ(prompter.last(),
              QStringLiteral("You can only delete if the last Changeovers are marked too !"));
    EXPECT_EQ(p.DstCount, 3);

    clickRow(1);
    clickRow(2, Qt::ShiftModifier);
    prompter.answers = {Answer::Ok};
    act("mnuLoeschen")->trigger();
    EXPECT_EQ(prompter.last(), QStringLiteral("Really delete ?\n\nChangeover entries to delete: 2 to 3"));
    EXPECT_EQ(p.DstCount, 1);
    EXPECT_EQ(p.DstTable[1], EmptyDstEntry);
    EXPECT_EQ(model.Modified, 1);
    EXPECT_EQ(grid()->rowCount(), 1);
}

TEST_F(MainWindowTest, ChangeSetsEditModeAndOpensTheEntryOfTheShownList)
{
    add(Weekly(6, 0, 1, 1, 1));
    add(Weekly(7, 0, 1, 1, 1));
    w->redrawList();
    clickRow(1);
    w->updateActions();
    EXPECT_FALSE(act("mnuAendern")->isEnabled()) << "no switching entry yet";
    int opened = 0;
    w->setCommandHandler(QStringLiteral("mnuEingSz"), [&] { ++opened; });
    model.automation.AutomationActive = 1;
    act("mnuAendern")->trigger();
    EXPECT_EQ(opened, 1);
    EXPECT_EQ(model.EditMode, 1);
    EXPECT_EQ(model.Marked, (std::vector<int>{1}));
    EXPECT_EQ(model.FirstMarked, 0);
    EXPECT_EQ(model.LastMarked, 0);
    EXPECT_EQ(model.automation.AutomationActive, 0);
}

TEST_F(MainWindowTest, ViewMenuTicksTheShownListAndEnablesByContent)
{
    QMenu *view = find<QMenu>("mnuAnsicht");
    Q_EMIT view->aboutToShow();
    EXPECT_TRUE(act("mnuAnsSz")->isChecked());
    EXPECT_FALSE(act("mnuAnsPz")->isEnabled());
    EXPECT_FALSE(act("mnuAnsSw")->isEnabled());
    EXPECT_FALSE(act("mnuAnsVorlSz")->isEnabled());
    EXPECT_FALSE(act("mnuAnsAstro")->isVisible());
    add(Rec(121, 131, 6, 1, 16));
    Q_EMIT view->aboutToShow();
    EXPECT_TRUE(act("mnuAnsPz")->isEnabled());
    act("mnuAnsPz")->trigger();
    EXPECT_EQ(model.ListView, ListPriority);
    EXPECT_EQ(headerText(1), QStringLiteral("begin at: "));
    Q_EMIT view->aboutToShow();
    EXPECT_TRUE(act("mnuAnsPz")->isChecked());
    EXPECT_FALSE(act("mnuAnsSz")->isChecked());
}

TEST_F(MainWindowTest, AstroViewOnlyOnTheAstroDeviceWithATable)
{
    model.device.Uhrentyp = TypeAstro;
    model.device.Kanalzahl = 2;
    QMenu *view = find<QMenu>("mnuAnsicht");
    Q_EMIT view->aboutToShow();
    EXPECT_TRUE(act("mnuAnsAstro")->isVisible());
    EXPECT_FALSE(act("mnuAnsAstro")->isEnabled());
    model.astro.AstroPresent = -1;
    Q_EMIT view->aboutToShow();
    EXPECT_TRUE(act("mnuAnsAstro")->isEnabled());
    act("mnuAnsAstro")->trigger();
    EXPECT_EQ(model.ListView, ListAstro);
    EXPECT_GE(grid()->rowCount(), 365);
    Q_EMIT find<QMenu>("mnuBearbeiten")->aboutToShow();
    EXPECT_TRUE(act("mnuAstroEin")->isVisible());
}

// ------------------------------------------------------------------ unsaved changes

TEST_F(MainWindowTest, NewAsksOnlyWithRecordsAndChanges)
{
    QSignalSpy spy(w.get(), &MainWindow::newRequested);
    model.Modified = 1;
    act("mnuDatNeu")->trigger();
    EXPECT_TRUE(prompter.shown.empty()) << "no records: no question";
    EXPECT_EQ(spy.count(), 1);
}

TEST_F(MainWindowTest, NewWithChangesAsksAndCancelStays)
{
    QSignalSpy spy(w.get(), &MainWindow::newRequested);
    add(Weekly(6, 0, 1, 1, 1));
    prompter.answers = {Answer::Cancel};
    act("mnuDatNeu")->trigger();
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_EQ(prompter.last(), saveQuestion(QStringLiteral(" ?")));
    EXPECT_EQ(prompter.shown[0].buttons, Buttons::YesNoCancel);
    EXPECT_EQ(spy.count(), 0);
    EXPECT_TRUE(w->isVisible());

    prompter.answers = {Answer::No};
    act("mnuDatNeu")->trigger();
    EXPECT_EQ(spy.count(), 1);
    EXPECT_FALSE(w->isVisible());
}

TEST_F(MainWindowTest, ExitWithChangesButNoRecordsLeavesWithoutQuestion)
{
    model.Modified = 1;
    act("mnuDatEnde")->trigger();
    EXPECT_TRUE(prompter.shown.empty());
    EXPECT_FALSE(w->isVisible());
}

TEST_F(MainWindowTest, ExitWithRecordsAsksWithTwoBlanks)
{
    add(Weekly(6, 0, 1, 1, 1));
    prompter.answers = {Answer::Cancel};
    act("mnuDatEnde")->trigger();
    EXPECT_EQ(prompter.last(), saveQuestion(QStringLiteral("  ?")));
    EXPECT_TRUE(w->isVisible());
    prompter.answers = {Answer::No};
    act("mnuDatEnde")->trigger();
    EXPECT_FALSE(w->isVisible());
    EXPECT_EQ(prompter.shown.size(), 2u);
}

TEST_F(MainWindowTest, ClosingTheWindowAsksWheneverModified)
{
    model.Modified = 1;
    prompter.answers = {Answer::Cancel};
    w->close();
    EXPECT_EQ(prompter.last(), saveQuestion(QStringLiteral("  ?")));
    EXPECT_TRUE(w->isVisible());
    prompter.answers = {Answer::No};
    w->close();
    EXPECT_FALSE(w->isVisible());
}

TEST_F(MainWindowTest, ClosingUnmodifiedAsksNothing)
{
    add(Weekly(6, 0, 1, 1, 1));
    model.Modified = 0;
    w->close();
    EXPECT_TRUE(prompter.shown.empty());
    EXPECT_FALSE(w->isVisible());
}

TEST_F(MainWindowTest, OpenAsksWheneverModified)
{
    model.Modified = 1; // no records
    prompter.answers = {Answer::Cancel};
    act("mnuDatOeffnen")->trigger();
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_EQ(prompter.last(), saveQuestion(QStringLiteral(" ?")));
    EXPECT_EQ(model.Modified, 1);
}

TEST_F(MainWindowTest, YesSavesBeforeGoingOn)
{
    add(Weekly(6, 0, 1, 1, 1));
    prompter.answers = {Answer::Yes};
    prompter.files = {dir.file(QStringLiteral("kept"))};
    QSignalSpy spy(w.get(), &MainWindow::newRequested);
    act("mnuDatNeu")->trigger();
    EXPECT_TRUE(QFileInfo::exists(dir.file(QStringLiteral("kept.zxp"))));
    EXPECT_EQ(spy.count(), 1);
}

// ------------------------------------------------------------------ save, save as, open

TEST_F(MainWindowTest, SaveWithoutChosenNameActsAsSaveAs)
{
    add(Weekly(6, 0, 1, 1, 1));
    w->updateActions();
    EXPECT_FALSE(act("mnuDatSpeichern")->isEnabled());
    prompter.files = {dir.file(QStringLiteral("first"))};
    act("tbSpeichern")->trigger();
    EXPECT_TRUE(prompter.files.empty()) << "the save dialog was asked";
    EXPECT_TRUE(QFileInfo::exists(dir.file(QStringLiteral("first.zxp"))));
    EXPECT_EQ(model.program().FileName, dir.file(QStringLiteral("first.zxp")));
    EXPECT_EQ(model.FileNamed, 1);
    EXPECT_EQ(model.Modified, 0);
    w->updateActions();
    EXPECT_TRUE(act("mnuDatSpeichern")->isEnabled());
    EXPECT_TRUE(find<QLabel>("lblDateidatum")->text().startsWith(QStringLiteral("File of : 5.3.2026 14:07")));

    // Now Save writes without asking.
    model.Modified = 1;
    act("mnuDatSpeichern")->trigger();
    EXPECT_EQ(model.Modified, 0);
    EXPECT_TRUE(prompter.shown.empty());
}

TEST_F(MainWindowTest, SaveOverAFileChangedOnDiskAsksOverwriteReloadOrCancel)
{
    add(Weekly(6, 0, 1, 1, 1));
    prompter.files = {dir.file(QStringLiteral("shared.zxp"))};
    ASSERT_TRUE(w->saveAs());
    const QByteArray ours = dir.read(QStringLiteral("shared.zxp"));
    // another window or program saves the same file meanwhile
    auto otherSave = [&] { dir.write(QStringLiteral("shared.zxp"), "another save"); };
    struct Case {
        Answer answer;
        bool saved;
    };
    for (const Case c : {Case{Answer::Cancel, false}, Case{Answer::Yes, true}}) {
        otherSave();
        prompter.shown.clear();
        prompter.answers = {c.answer};
        model.Modified = 1;
        EXPECT_EQ(w->save(), c.saved);
        ASSERT_FALSE(prompter.shown.empty());
        EXPECT_TRUE(prompter.shown[0].question);
        EXPECT_EQ(prompter.shown[0].buttons, Buttons::YesNoCancel);
        EXPECT_TRUE(prompter.shown[0].message.contains(QStringLiteral("changed on disk")));
        EXPECT_EQ(dir.read(QStringLiteral("shared.zxp")) == "another save", !c.saved);
    }
    // No: the version on disk is loaded instead
    dir.write(QStringLiteral("shared.zxp"), ours);
    QFile f(dir.file(QStringLiteral("shared.zxp")));
    f.open(QIODevice::ReadWrite); // a new stamp for the same content
    f.setFileTime(QDateTime::currentDateTime().addSecs(60), QFileDevice::FileModificationTime);
    f.close();
    model.program().UsageText = QStringLiteral("unsaved");
    prompter.answers = {Answer::No};
    EXPECT_FALSE(w->save());
    EXPECT_NE(model.program().UsageText, QStringLiteral("unsaved"));
    EXPECT_EQ(model.Modified, 0);
}

TEST_F(MainWindowTest, SaveAsAppendsZxpOnlyWithoutDotAmongTheLastFour)
{
    add(Weekly(6, 0, 1, 1, 1));
    prompter.files = {dir.file(QStringLiteral("plan.abc"))};
    EXPECT_TRUE(w->saveAs());
    EXPECT_TRUE(QFileInfo::exists(dir.file(QStringLiteral("plan.abc"))));
    prompter.files = {dir.file(QStringLiteral("plan.v2"))};
    EXPECT_TRUE(w->saveAs());
    EXPECT_TRUE(QFileInfo::exists(dir.file(QStringLiteral("plan.v2"))))
        << "a dot among the last four characters";
    prompter.files = {dir.file(QStringLiteral("plan.version"))};
    EXPECT_TRUE(w->saveAs());
    EXPECT_TRUE(QFileInfo::exists(dir.file(QStringLiteral("plan.version.zxp"))));
}

TEST_F(MainWindowTest, SaveAsTakesLettersOfAnyScriptAndRefusesLineBreaksByName)
{
    add(Weekly(6, 0, 1, 1, 1));
    prompter.files = {dir.file(QStringLiteral("Pr\u00fcfung\nneu")),
                      dir.file(QStringLiteral("Pr\u00fcfung \u0416"))};
    EXPECT_TRUE(w->saveAs());
    ASSERT_FALSE(prompter.shown.empty());
    EXPECT_TRUE(prompter.shown[0].message.startsWith(QStringLiteral("No valid filename\n")));
    EXPECT_TRUE(prompter.shown[0].message.contains(QStringLiteral("U+000a")))
        << prompter.shown[0].message.toStdString();
    EXPECT_EQ(prompter.shown[0].icon, Icon::Critical);
    EXPECT_TRUE(QFileInfo::exists(dir.file(QStringLiteral("Pr\u00fcfung \u0416.zxp"))));
    // the title names the file and its state
    EXPECT_TRUE(w->windowTitle().startsWith(QStringLiteral("Pr\u00fcfung \u0416.zxp[*]")));
    EXPECT_FALSE(w->isWindowModified());
    auto *usage = find<QLineEdit>("txtverwendung");
    usage->setText(QStringLiteral("hall"));
    Q_EMIT usage->editingFinished();
    EXPECT_TRUE(w->isWindowModified());
}

TEST_F(MainWindowTest, CtrlSSavesWithAndWithoutAChosenName)
{
    EXPECT_EQ(act("mnuDatOeffnen")->shortcut(), QKeySequence(QKeySequence::Open));
    EXPECT_EQ(act("mnuDatNeu")->shortcut(), QKeySequence(QKeySequence::New));
    EXPECT_EQ(act("mnuDatSpeichern")->shortcut(), QKeySequence(QKeySequence::Save));
    // Ctrl+S belongs to exactly one enabled command, which saves in either state.
    const auto ctrlS = [this] {
        QAction *owner = nullptr;
        for (const char *name : {"mnuDatSpeichern", "tbSpeichern"})
            if (act(name)->isEnabled() && act(name)->shortcut() == QKeySequence(QKeySequence::Save)) {
                EXPECT_EQ(owner, nullptr);
                owner = act(name);
            }
        return owner;
    };
    add(Weekly(6, 0, 1, 1, 1));
    model.Modified = 1;
    model.FileNamed = 0;
    w->updateActions();
    prompter.files = {dir.file(QStringLiteral("keys"))};
    ASSERT_NE(ctrlS(), nullptr);
    ctrlS()->trigger();
    EXPECT_TRUE(QFileInfo::exists(dir.file(QStringLiteral("keys.zxp"))));
    EXPECT_EQ(model.FileNamed, 1);
    model.Modified = 1;
    w->updateActions();
    ASSERT_NE(ctrlS(), nullptr);
    ctrlS()->trigger();
    EXPECT_EQ(model.Modified, 0); // the named program saved without a dialog
    EXPECT_TRUE(prompter.files.empty());
}

TEST_F(MainWindowTest, SaveAsAsksBeforeOverwritingAndStopsWithoutName)
{
    add(Weekly(6, 0, 1, 1, 1));
    dir.write(QStringLiteral("old.zxp"), "keep");
    prompter.files = {dir.file(QStringLiteral("old.zxp")), std::nullopt};
    prompter.answers = {Answer::No};
    EXPECT_FALSE(w->saveAs());
    ASSERT_EQ(prompter.shown.size(), 2u);
    EXPECT_EQ(prompter.shown[0].message,
              "File " + dir.file(QStringLiteral("old.zxp")) + " already exists! Overwrite ?");
    EXPECT_EQ(prompter.shown[1].message, QStringLiteral("No file selected !"));
    EXPECT_EQ(dir.read(QStringLiteral("old.zxp")), QByteArray("keep"));
    EXPECT_EQ(model.FileNamed, 0);

    prompter.files = {dir.file(QStringLiteral("old.zxp"))};
    prompter.answers = {Answer::Yes};
    EXPECT_TRUE(w->saveAs());
    EXPECT_NE(dir.read(QStringLiteral("old.zxp")), QByteArray("keep"));
}

TEST_F(MainWindowTest, FileCommandsRestoreTheWorkingDirectory)
{
    add(Weekly(6, 0, 1, 1, 1));
    const QString sub = dir.file(QStringLiteral("sub"));
    QDir().mkpath(sub);
    const QString before = QDir::currentPath();
    prompter.files = {sub + QStringLiteral("/x")};
    EXPECT_TRUE(w->saveAs());
    EXPECT_EQ(QDir::currentPath(), before);
    prompter.files = {sub + QStringLiteral("/x.zxp")};
    act("mnuDatOeffnen")->trigger();
    EXPECT_EQ(QDir::currentPath(), before);
    prompter.files = {sub + QStringLiteral("/x.zxp")};
    act("mnuDatVorlageOeffnen")->trigger();
    EXPECT_EQ(QDir::currentPath(), before);
}

TEST_F(MainWindowTest, OpenLoadsIntoTheProgramAndMarksTheNameChosen)
{
    add(Weekly(6, 30, 1 + 4 + 16, 1 + 4, 1));
    prompter.files = {dir.file(QStringLiteral("a"))};
    ASSERT_TRUE(w->saveAs());
    model.removeRecords(SetProgram, {0});
    model.Modified = 0;
    model.FileNamed = 0;
    model.program().FileName = dir.file(QStringLiteral("Swprg1.zxp"));
    prompter.files = {dir.file(QStringLiteral("a.zxp"))};
    act("mnuDatOeffnen")->trigger();
    EXPECT_EQ(model.FileNamed, 1);
    EXPECT_EQ(model.program().FileName, dir.file(QStringLiteral("a.zxp")));
    ASSERT_EQ(grid()->rowCount(), 1);
    EXPECT_EQ(cell(0, 1), QStringLiteral("mo we fr"));
}

TEST_F(MainWindowTest, OpenReportsMissingAndIllegalFilesAndKeepsTheName)
{
    const QString name = model.program().FileName;
    prompter.files = {dir.file(QStringLiteral("none.zxp"))};
    act("mnuDatOeffnen")->trigger();
    EXPECT_EQ(prompter.last(), QStringLiteral("No such file !"));
    EXPECT_EQ(model.program().FileName, name);
    dir.write(QStringLiteral("bad.zxp"), "1 2 3");
    prompter.files = {dir.file(QStringLiteral("bad.zxp"))};
    act("mnuDatOeffnen")->trigger();
    // the catalogue's message, then what the loader found
    EXPECT_TRUE(prompter.last().startsWith(QStringLiteral("Illegal File !\n")))
        << qPrintable(prompter.last());
    EXPECT_GT(prompter.last().size(), 16);
    EXPECT_EQ(prompter.shown.back().icon, Icon::Critical);
    EXPECT_EQ(model.program().FileName, name);
    EXPECT_EQ(model.FileNamed, 0);
}

TEST_F(MainWindowTest, OpeningAFileOfTheOtherDeviceTypeNamesTheDeviceAndKeepsTheName)
{
    // An astro device program, saved by a second model.
    Model astro;
    astro.device.Uhrentyp = TypeAstro;
    astro.device.DeviceCode = 80;
    astro.device.RecordCapacity = CapacityAstro;
    astro.device.Kanalzahl = 2;
    astro.appendRecord(SetProgram, Weekly(6, 0, 1, 1, 1));
    astro.program().FileName = dir.file(QStringLiteral("astro.zxp"));
    ASSERT_TRUE(SaveProgram(astro, prompter, clock));
    prompter.shown.clear();

    const QString name = model.program().FileName;
    prompter.files = {dir.file(QStringLiteral("astro.zxp"))};
    act("mnuDatOeffnen")->trigger();
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_EQ(prompter.last(), QStringLiteral("File for ZX 401"));
    EXPECT_EQ(model.program().FileName, name);
    EXPECT_EQ(model.FileNamed, 0);
}

TEST_F(MainWindowTest, SampleOpensIntoTheTemplateAndClosesAgain)
{
    add(Weekly(6, 0, 1, 1, 1));
    prompter.files = {dir.file(QStringLiteral("sample"))};
    ASSERT_TRUE(w->saveAs());
    add(Weekly(7, 0, 1, 1, 1));

    w->updateActions();
    EXPECT_FALSE(act("mnuDatVorlageSchliessen")->isEnabled());
    prompter.files = {dir.file(QStringLiteral("sample.zxp"))};
    act("mnuDatVorlageOeffnen")->trigger();
    EXPECT_EQ(model.CurrentSet, SetTemplate);
    EXPECT_EQ(model.set(SetTemplate).UsedCount, 1);
    EXPECT_EQ(grid()->rowCount(), 1);
    EXPECT_TRUE(w->windowTitle().contains(QStringLiteral("sample switching program")));
    EXPECT_TRUE(act("mnuDatVorlageSchliessen")->isEnabled());
    EXPECT_TRUE(act("mnuAnsVorlSz")->isEnabled());
    EXPECT_TRUE(act("mnuAnsVorlSz")->isChecked());

    act("mnuDatVorlageSchliessen")->trigger();
    EXPECT_EQ(model.CurrentSet, SetProgram);
    EXPECT_EQ(model.set(SetTemplate).UsedCount, 0);
    EXPECT_TRUE(model.set(SetTemplate).FileName.isEmpty());
    EXPECT_EQ(grid()->rowCount(), 2);
    EXPECT_FALSE(act("mnuAnsVorlSz")->isEnabled());
    EXPECT_FALSE(act("mnuDatVorlageSchliessen")->isEnabled());

    prompter.files = {dir.file(QStringLiteral("missing.zxp"))};
    act("mnuDatVorlageOeffnen")->trigger();
    EXPECT_EQ(prompter.last(), QStringLiteral("No such file !"));
    EXPECT_EQ(model.CurrentSet, SetProgram);
}

TEST_F(MainWindowTest, TextStillBeingTypedCountsWhenACommandStarts)
{
    QLineEdit *usage = find<QLineEdit>("txtverwendung");
    usage->setText(QStringLiteral("Gym"));
    model.Modified = 0;
    prompter.answers = {Answer::Cancel};
    w->close();
    EXPECT_EQ(model.program().UsageText, QStringLiteral("Gym"));
    EXPECT_EQ(prompter.last(), saveQuestion(QStringLiteral("  ?")));
    EXPECT_TRUE(w->isVisible());
}
