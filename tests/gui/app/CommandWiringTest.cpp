#include "MainWindowFixture.h"

#include "app/CommandWiring.h"
#include "transfer/TransferCommands.h"

#include <QApplication>
#include <QLabel>
#include <QRadioButton>
#include <QStatusBar>

#include "model/ProgramFile.h"

using namespace zx;
using namespace zx::test;

TEST_F(MainWindowTest, WiredTransferAndOptionsCommandsBecomeAvailable)
{
    wireCommands(*w, ctx);
    w->updateActions();
    for (const char *name : {"mnuDatExp", "mnuDatImp", "mnuMaster"})
        EXPECT_TRUE(act(name)->isEnabled()) << name;
}

TEST_F(MainWindowTest, OptionsDialogOpensOnceAndMasterCardShowsInStatus)
{
    wireCommands(*w, ctx);
    model.device.ModelName = QStringLiteral("ZX 104");
    w->redrawList();
    auto *status = find<QLabel>("lblGeraetStatus");
    ASSERT_NE(status, nullptr);
    EXPECT_EQ(status->text(), QStringLiteral("ZX 104"));

    act("mnuMaster")->trigger();
    act("mnuMaster")->trigger();
    QList<QWidget *> dialogs;
    for (QWidget *top : QApplication::topLevelWidgets())
        if (top->objectName() == QLatin1String("FrmMaster") && top->isVisible())
            dialogs << top;
    ASSERT_EQ(dialogs.size(), 1);

    auto *master = dialogs.first()->findChild<QRadioButton *>(QStringLiteral("optmastercard"));
    ASSERT_NE(master, nullptr);
    master->click();
    EXPECT_TRUE(model.device.DeviceCode & 0x80);
    EXPECT_TRUE(status->text().endsWith(QStringLiteral("Mastercard")));
    dialogs.first()->close();
}

#include "model/ProgramFile.h"

#include <QAbstractButton>
#include <QDialog>
#include <QListWidget>

// The everyday workflow: enter 06:30 Monday to Friday on channel 1 through the Edit menu, see
// it in the list, save, open the file again and find the record.
TEST_F(MainWindowTest, EditMenuEntryShowsInListAndSurvivesSaveAndOpen)
{
    wireCommands(*w, ctx);
    w->updateActions();
    act("mnuEingSz")->trigger();
    QDialog *entry = ShownWindow<QDialog>("frmEingSz");
    ASSERT_NE(entry, nullptr);
    auto click = [entry](const char *name) { Control<QAbstractButton>(entry, name)->click(); };
    Control<QListWidget>(entry, QStringLiteral("liststd"))->setCurrentRow(6);
    Control<QListWidget>(entry, QStringLiteral("listmin"))->setCurrentRow(30);
    for (const char *day : {"chkMontag", "chkDienstag", "chkMittwoch", "chkDonnerstag", "chkFreitag"})
        click(day);
    click("chkKan1");
    click("cmdSzOk");
    click("cmdSzEnd");
    QApplication::processEvents();

    ASSERT_EQ(grid()->rowCount(), 1);
    EXPECT_EQ(cell(0, 1), QStringLiteral("mo tu we th fr"));
    EXPECT_EQ(cell(0, 2), QStringLiteral("  6:30 hrs"));
    EXPECT_EQ(model.Modified, 1);

    ASSERT_TRUE(SaveProgram(model, prompter, clock));
    Model reopened;
    reopened.device.Kanalzahl = 4;
    ASSERT_EQ(LoadProgram(reopened, prompter, model.program().FileName, false, SetProgram),
              LoadResult::Loaded);
    ASSERT_EQ(reopened.program().UsedCount, 1);
    EXPECT_EQ(reopened.program().Records[0], (ProgramRecord{152, 96, 0, 31, 1, 1}));
}

// Change from the Edit menu walks the marked rows and writes each back in place.
TEST_F(MainWindowTest, ChangeOfMarkedRowsWritesBackInPlace)
{
    wireCommands(*w, ctx);
    add(Weekly(6, 0, 1, 1, 1));
    add(Weekly(7, 0, 1, 1, 1));
    w->redrawList();
    clickRow(0);
    clickRow(1, Qt::ControlModifier);
    w->updateActions();
    act("mnuAendern")->trigger();
    QDialog *entry = ShownWindow<QDialog>("frmEingSz");
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(model.EditMode, 1);
    // Switch both entries off, one OK each; the run closes after the last marked row.
    for (int i = 0; i < 2; ++i) {
        Control<QAbstractButton>(entry, QStringLiteral("cmdEinAus"))->click();
        Control<QAbstractButton>(entry, QStringLiteral("cmdSzOk"))->click();
        QApplication::processEvents();
    }
    EXPECT_EQ(ShownWindow<QDialog>("frmEingSz"), nullptr);
    EXPECT_EQ(model.EditMode, 0);
    EXPECT_EQ(model.program().UsedCount, 2);
    ASSERT_EQ(grid()->rowCount(), 2);
    EXPECT_EQ(cell(0, 6), QStringLiteral("OFF"));
    EXPECT_EQ(cell(1, 6), QStringLiteral("OFF"));
}

// A Program or Read that worked says so in the status bar once its message boxes are gone; one
// that failed leaves nothing there. The chip tool's part is played by the recording launcher.
TEST_F(MainWindowTest, SuccessfulProgramAndReadShowInTheStatusBar)
{
    wireCommands(*w, ctx);
    add(Weekly(6, 30, 31, 1, 1));
    ASSERT_TRUE(SaveProgram(model, prompter, clock));
    model.FileNamed = 1;
    model.Modified = 0;
    const QString image = model.program().FileName;
    launcher.onStart = [image](const QString &workDir) {
        QFile result(QDir(workDir).filePath(QStringLiteral("card.msg")));
        ASSERT_TRUE(result.open(QIODevice::WriteOnly));
        result.write("3,0\r\n");
        QFile::remove(QDir(workDir).filePath(QStringLiteral("card.dat")));
        QFile::copy(image, QDir(workDir).filePath(QStringLiteral("card.dat")));
    };
    w->updateActions();
    QStatusBar *status = w->statusBar();

    act("mnuDatExp")->trigger();
    EXPECT_EQ(status->currentMessage(), QStringLiteral("Program zentrix: Access to zentrix finished"));
    // said in a message as well
    EXPECT_EQ(prompter.last(), QStringLiteral("Program zentrix: Access to zentrix finished"));
    act("mnuDatImp")->trigger();
    EXPECT_EQ(status->currentMessage(), QStringLiteral("Read zentrix: Access to zentrix finished"));
    EXPECT_EQ(model.program().UsedCount, 1);

    // A verified write says "written and verified" once, with no second message after it.
    ASSERT_TRUE(SaveProgram(model, prompter, clock));
    model.FileNamed = 1;
    setVerifyAfterWrite(model, true);
    prompter.shown.clear();
    act("mnuDatExp")->trigger();
    setVerifyAfterWrite(model, false);
    EXPECT_EQ(status->currentMessage(), QStringLiteral("Program zentrix: Access to zentrix finished"));
    EXPECT_EQ(prompter.messages(), (QStringList{QStringLiteral("Access to zentrix finished"),
                                                QStringLiteral("Access to zentrix finished"),
                                                QStringLiteral("written and verified")}));

    launcher.fail = true;
    model.Modified = 0;
    act("mnuDatImp")->trigger();
    EXPECT_TRUE(status->currentMessage().isEmpty());
    EXPECT_EQ(prompter.last(), QStringLiteral("Access to zentrix not successful"));
}
