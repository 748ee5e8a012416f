// Undo and redo in the main window, and the compare window behind the File menu.
#include "MainWindowFixture.h"

#include "app/CompareCommands.h"
#include "app/CompareWindow.h"
#include "app/UndoSupport.h"
#include "model/ListOrder.h"
#include "model/ProgramFile.h"
#include "model/ProgramSnapshot.h"
#include "support/RandomPrograms.h"
#include "transfer/TransferCommands.h"

#include <QCoreApplication>
#include <QDir>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QTimer>
#include <QTreeWidget>
#include <QUndoStack>

namespace zx::test {
namespace {

class UndoTest : public MainWindowTest {
  protected:
    UndoSupport *undo = nullptr;
    const QDateTime stamp{QDate(2026, 3, 5), QTime(14, 7)};

    void SetUp() override
    {
        MainWindowTest::SetUp();
        undo = new UndoSupport(*w, ctx);
        settle();
    }
    // What a dialog does when its OK has changed the model, and the event loop after it.
    void changed()
    {
        w->redrawList();
        settle();
    }
    void settle()
    {
        for (int i = 0; i < 3; ++i)
            QCoreApplication::processEvents();
    }
    QByteArray bytes() const { return ProgramSnapshot::take(model).fileText(stamp); }
    QAction *undoAction() { return find<QAction>("mnuRueckgaengig"); }
    QAction *redoAction() { return find<QAction>("mnuWiederholen"); }
};

// A random sequence of the edits a user makes: every step goes back and comes again byte for
// byte, however it was made.
TEST_F(UndoTest, RandomEditsUndoToTheStartAndRedoToTheEnd)
{
    std::mt19937 rng(27);
    fillRandomProgram(model, rng, 12);
    model.Modified = 0;
    undo->reset();
    changed();
    const QByteArray start = bytes();
    int steps = 0;
    auto pick = [&rng](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    for (int i = 0; i < 40; ++i) {
        ProgramSet &p = model.program();
        const int kind = pick(0, 5);
        if (kind == 0 || p.UsedCount < 3) { // store a new entry
            model.appendRecord(SetProgram, randomRecord(rng));
            SortRecords(model, DisplayOrder, SetProgram);
            model.Modified = 1;
            changed();
        } else if (kind == 1) { // delete marked rows through the Delete command
            w->showList(ListSwitching, SetProgram);
            settle();
            if (grid()->rowCount() < 2)
                continue;
            clickRow(0);
            clickRow(1, Qt::ShiftModifier);
            prompter.answers = {Answer::Ok};
            act("mnuLoeschen")->trigger();
            settle();
        } else if (kind == 2) { // change an entry
            p.Records[pick(0, p.UsedCount - 1)].b4 ^= 4;
            model.Modified = 1;
            changed();
        } else if (kind == 3) { // type a usage text and leave the field
            auto *usage = find<QLineEdit>("txtverwendung");
            usage->setText(QStringLiteral("text %1").arg(i));
            Q_EMIT usage->editingFinished();
            settle();
        } else if (kind == 4) { // device properties
            model.device.Kanalzahl = pick(1, 8);
            model.Modified = 1;
            changed();
        } else { // sort by a column: the same program, no step of its own
            clickHeader(pick(1, 3));
            settle();
            continue;
        }
        ++steps;
    }
    const QByteArray end = bytes();
    ASSERT_NE(start, end);
    ASSERT_GE(undo->stack()->count(), steps / 2);

    while (undoAction()->isEnabled())
        undoAction()->trigger();
    EXPECT_EQ(bytes(), start);
    EXPECT_EQ(model.Modified, 0) << "back at the state the file was opened in";
    while (redoAction()->isEnabled())
        redoAction()->trigger();
    EXPECT_EQ(bytes(), end);
    EXPECT_EQ(model.Modified, 1);
}

TEST_F(UndoTest, StepsAreNamedAndTheSavedStateClearsModified)
{
    for (int h = 6; h < 10; ++h)
        add(Weekly(h, 0, 1, 1, 1));
    changed();
    EXPECT_EQ(undoAction()->text(), "&Undo add 4 switching times");
    model.FileNamed = 1;
    ASSERT_TRUE(w->save());
    settle();
    EXPECT_EQ(model.Modified, 0);

    clickRow(0);
    clickRow(2, Qt::ShiftModifier);
    prompter.answers = {Answer::Ok};
    act("mnuLoeschen")->trigger();
    settle();
    EXPECT_EQ(undoAction()->text(), "&Undo delete 3 switching times");
    EXPECT_EQ(model.Modified, 1);

    undoAction()->trigger();
    EXPECT_EQ(model.program().UsedCount, 4);
    EXPECT_EQ(model.Modified, 0) << "the saved state again";
    EXPECT_EQ(redoAction()->text(), "&Redo delete 3 switching times");
    EXPECT_EQ(grid()->rowCount(), 4);
    redoAction()->trigger();
    EXPECT_EQ(model.program().UsedCount, 1);
    EXPECT_EQ(model.Modified, 1);

    // Opening a file starts afresh.
    Q_EMIT w->programLoaded();
    EXPECT_FALSE(undoAction()->isEnabled());
    EXPECT_FALSE(redoAction()->isEnabled());
}

// The "all" button repeats OK on its timer: the whole run is one step.
TEST_F(UndoTest, AnAllRunIsOneStep)
{
    QTimer allTimer(w.get());
    allTimer.setObjectName(QStringLiteral("tmalleok"));
    allTimer.start(60000);
    for (int h = 6; h < 9; ++h) {
        add(Weekly(h, 0, 1, 1, 1));
        changed();
    }
    EXPECT_EQ(undo->stack()->count(), 0);
    allTimer.stop();
    add(Weekly(10, 0, 1, 1, 1));
    changed();
    ASSERT_EQ(undo->stack()->count(), 1);
    EXPECT_EQ(undo->stack()->undoText(), "add 4 switching times");
}

TEST_F(UndoTest, CompareWithFileShowsTheThreeGroups)
{
    wireCompareCommands(*w, ctx);
    add(Weekly(6, 0, 1, 1, 1));
    add(Weekly(7, 0, 1, 1, 1));
    model.program().FileName = dir.file(QStringLiteral("other.zxp"));
    ASSERT_TRUE(SaveProgram(model, prompter, clock));
    model.program().FileName = dir.file(QStringLiteral("hall.zxp"));
    model.removeRecords(SetProgram, {0, 1});
    add(Weekly(7, 0, 1, 3, 1)); // 07:00 on C1 and C2 instead of the file's 07:00 on C1
    add(Weekly(8, 0, 1, 1, 1));
    SortRecords(model, DisplayOrder, SetProgram);
    w->redrawList();

    prompter.files = {dir.file(QStringLiteral("other.zxp"))};
    find<QAction>("mnuVergleichDatei")->trigger();
    auto *frm = find<CompareWindow>("frmVergleich");
    QTreeWidget *tree = Control<QTreeWidget>(frm, "tvwUnterschiede");
    ASSERT_EQ(tree->topLevelItemCount(), 1) << tree->topLevelItem(1)->text(0).toStdString() << ": "
                                            << tree->topLevelItem(1)->child(0)->text(0).toStdString();
    QTreeWidgetItem *list = tree->topLevelItem(0);
    EXPECT_EQ(list->text(3), "time");
    QStringList groups;
    for (int i = 0; i < list->childCount(); ++i)
        groups << list->child(i)->text(0) + QStringLiteral(":%1").arg(list->child(i)->childCount());
    // 06:00 only in the file (B), 08:00 only in the program (A), 07:00 changed (two rows).
    EXPECT_EQ(groups, QStringList({"only in A:1", "only in B:1", "changed:2"}));
    EXPECT_EQ(list->child(1)->child(0)->background(1).color(), CompareWindow::addedColour());
    EXPECT_EQ(model.program().UsedCount, 2) << "comparing leaves the program alone";
    // both sides by their files, and every column in view at the window's own size
    EXPECT_EQ(Control<QLabel>(frm, "lblVergleich")->text(),
              QStringLiteral("A: %1\nB: %2")
                  .arg(QDir::toNativeSeparators(dir.file(QStringLiteral("hall.zxp"))),
                       QDir::toNativeSeparators(dir.file(QStringLiteral("other.zxp")))));
    frm->layout()->activate();
    int columns = 0;
    for (int i = 0; i < tree->columnCount(); ++i)
        columns += tree->columnWidth(i);
    EXPECT_LE(columns, tree->viewport()->width());

    // The option is remembered per kind of device: off for conventional devices until chosen.
    ASSERT_FALSE(verifyAfterWrite(model));
    find<QAction>("mnuSchreibenPruefen")->trigger();
    EXPECT_TRUE(verifyAfterWrite(model));
    setVerifyAfterWrite(model, false);
}

} // namespace
} // namespace zx::test
