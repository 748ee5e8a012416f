#include "MainWindowFixture.h"

#include "app/CommandWiring.h"
#include "entry/PriorityEntry.h"
#include "model/ProgramFile.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QListWidget>
#include <QTest>

using namespace zx;
using namespace zx::test;

namespace {

} // namespace

// Enter 24 December to 6 January, priority 3, channel 1 through the Edit menu; the main window
// turns to the priority list, and the record survives save and open.
TEST_F(MainWindowTest, PriorityEntryFromEditMenuShowsInPriorityList)
{
    wireCommands(*w, ctx);
    w->updateActions();
    act("mnuEingPz")->trigger();
    QDialog *entry = ShownWindow<QDialog>("frmEingPZ");
    ASSERT_NE(entry, nullptr);
    Control<QListWidget>(entry, "listvontag")->setCurrentRow(23);
    Control<QListWidget>(entry, "Lstvonmon")->setCurrentRow(11);
    Control<QListWidget>(entry, "listbistag")->setCurrentRow(5);
    Control<QListWidget>(entry, "LstbisMon")->setCurrentRow(0);

    // "permanent" enables the state; priority 3 turns it off again and disables it
    auto *prio = Control<QListWidget>(entry, "LstPrio");
    auto *state = Control<QAbstractButton>(entry, "cmdEinAus");
    prio->setCurrentRow(9);
    ASSERT_TRUE(state->isEnabled());
    state->click();
    EXPECT_EQ(state->text(), QStringLiteral("ON"));
    prio->setCurrentRow(2);
    EXPECT_EQ(state->text(), QStringLiteral("OFF"));
    EXPECT_FALSE(state->isEnabled());
    // a typed priority selects it; a digit beyond the list beeps and keeps it
    auto *typed = Control<QLineEdit>(entry, "txtAnzPrio");
    typed->selectAll();
    QTest::keyClicks(typed, QStringLiteral("5"));
    EXPECT_EQ(prio->currentRow(), 4);
    typed->selectAll();
    QTest::keyClicks(typed, QStringLiteral("0"));
    EXPECT_EQ(prio->currentRow(), 4);
    EXPECT_EQ(prompter.beeps, 1);
    prio->setCurrentRow(2);

    Control<QAbstractButton>(entry, "chkKan1")->click();
    Control<QAbstractButton>(entry, "cmdPzOk")->click();
    Control<QAbstractButton>(entry, "cmdPzEnd")->click();
    QApplication::processEvents();

    EXPECT_EQ(model.ListView, ListPriority);
    ASSERT_EQ(grid()->rowCount(), 1);
    EXPECT_TRUE(cell(0, 1).startsWith(QStringLiteral("december, 24.")));
    EXPECT_EQ(model.program().PzCount, 1);

    ASSERT_TRUE(SaveProgram(model, prompter, clock));
    Model reopened;
    reopened.device.Kanalzahl = 4;
    ASSERT_EQ(LoadProgram(reopened, prompter, model.program().FileName, false, SetProgram),
              LoadResult::Loaded);
    ASSERT_EQ(reopened.program().UsedCount, 1);
    EXPECT_EQ(reopened.program().Records[0], (ProgramRecord{121, 131, 0, 6, 1, 16}));
}

// Change of marked priority rows walks them in the priority dialog and writes each in place.
TEST_F(MainWindowTest, ChangeOfMarkedPriorityRows)
{
    wireCommands(*w, ctx);
    PriorityEntryValues e;
    e.fromDay = 1, e.fromMonth = 5, e.toDay = 1, e.toMonth = 5, e.channelMask = 1, e.priority = 2;
    add(EncodePriorityTime(e, 0));
    e.fromMonth = e.toMonth = 6;
    add(EncodePriorityTime(e, 0));
    model.ListView = ListPriority;
    w->redrawList();
    clickRow(0);
    clickRow(1, Qt::ControlModifier);
    w->updateActions();
    act("mnuAendern")->trigger();
    QDialog *entry = ShownWindow<QDialog>("frmEingPZ");
    ASSERT_NE(entry, nullptr);
    for (int i = 0; i < 2; ++i) {
        Control<QListWidget>(entry, "LstPrio")->setCurrentRow(4);
        Control<QAbstractButton>(entry, "cmdPzOk")->click();
        QApplication::processEvents();
    }
    EXPECT_EQ(ShownWindow<QDialog>("frmEingPZ"), nullptr);
    EXPECT_EQ(model.program().UsedCount, 2);
    for (int i = 0; i < 2; ++i)
        EXPECT_EQ(DecodePriorityTime(model.program().Records[i], 0).priority, 5);
}
