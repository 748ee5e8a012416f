// The entry dialogs worked with the keyboard alone.
#include "EntryDialogFixture.h"
#include "TabOrder.h"

#include "calendar/ChangeoverDialog.h"
#include "entry/PriorityTimeDialog.h"
#include "platform/FocusKeeper.h"

#include <QPushButton>

using namespace zx;
using namespace zx::test;

namespace {

class KeyboardEntry : public EntryDialogTest {
  protected:
    void SetUp() override
    {
        EntryDialogTest::SetUp();
        FocusKeeper::install();
    }
};

TEST_F(KeyboardEntry, ReturnPressesOkAndEscapeCloses)
{
    open();
    click("chkMontag");
    click("chkKan1");
    activate();
    auto *ok = find<QPushButton>("cmdSzOk");
    ok->setFocus(Qt::TabFocusReason);
    QTest::keyClick(ok, Qt::Key_Return);
    EXPECT_EQ(used(), 1);
    // Return on a check box presses OK as well.
    find<QWidget>("chkKan2")->setFocus(Qt::TabFocusReason);
    click("chkKan2");
    QTest::keyClick(find<QWidget>("chkKan2"), Qt::Key_Return);
    EXPECT_EQ(used(), 2);
    QTest::keyClick(dlg.get(), Qt::Key_Escape);
    EXPECT_FALSE(dlg->isVisible());
}

TEST_F(KeyboardEntry, PassingThroughTheDayListKeepsTheWeekdays)
{
    open();
    click("chkMontag");
    activate();
    auto *days = find<QListWidget>("Listtag");
    ASSERT_EQ(days->currentRow(), -1);
    days->setFocus(Qt::TabFocusReason);
    QApplication::processEvents();
    ASSERT_TRUE(days->hasFocus());
    EXPECT_EQ(days->currentRow(), -1);
    EXPECT_TRUE(checked("chkMontag"));
    EXPECT_TRUE(text("txtAnztag").isEmpty());
    // a deliberate choice still counts
    QTest::keyClick(days, Qt::Key_Down);
    EXPECT_EQ(days->currentRow(), 0);
    EXPECT_FALSE(checked("chkMontag"));
}

// Tab walks the visible controls in reading order, in every layout the dialogs take: a plain
// device, a bus device (other channel controls) and the priority dialog's holiday option.
TEST_F(KeyboardEntry, TabVisitsTheVisibleControlsInReadingOrder)
{
    open();
    ExpectTabInReadingOrder(dlg.get());
    dlg->hide();
    model.device.BusDevice = 1;
    open();
    ExpectTabInReadingOrder(dlg.get());
    dlg->done(QDialog::Accepted);
    model.device.BusDevice = 0;

    PriorityTimeDialog priority(ctx);
    model.EditMode = EditEnter;
    priority.openInMode();
    ExpectTabInReadingOrder(&priority);
    Control<QAbstractButton>(&priority, "chk_bew_Feiertage")->click();
    ExpectTabInReadingOrder(&priority);
    priority.done(QDialog::Accepted);

    ChangeoverDialog changeover(ctx);
    model.EditMode = EditEnter;
    changeover.openInMode();
    ExpectTabInReadingOrder(&changeover);
    changeover.close();
}

// Return presses OK in the priority and changeover dialogs too; Escape closes them.
TEST_F(KeyboardEntry, ReturnPressesOkInThePriorityAndChangeoverDialogs)
{
    PriorityTimeDialog priority(ctx);
    model.EditMode = EditEnter;
    priority.openInMode();
    Control<QListWidget>(&priority, "listvontag")->setCurrentRow(0);
    Control<QListWidget>(&priority, "Lstvonmon")->setCurrentRow(4);
    Control<QListWidget>(&priority, "listbistag")->setCurrentRow(0);
    Control<QListWidget>(&priority, "LstbisMon")->setCurrentRow(4);
    Control<QListWidget>(&priority, "LstPrio")->setCurrentRow(0);
    Control<QAbstractButton>(&priority, "chkKan1")->setChecked(true);
    auto *channel = Control<QWidget>(&priority, "chkKan1");
    channel->setFocus(Qt::TabFocusReason);
    QTest::keyClick(channel, Qt::Key_Return);
    EXPECT_EQ(used(), 1);
    QTest::keyClick(&priority, Qt::Key_Escape);
    EXPECT_FALSE(priority.isVisible());

    ChangeoverDialog changeover(ctx);
    model.EditMode = EditEnter;
    changeover.openInMode();
    const int before = model.program().DstCount;
    auto *okButton = Control<QWidget>(&changeover, "cmdswok");
    okButton->setFocus(Qt::TabFocusReason);
    QTest::keyClick(okButton, Qt::Key_Return);
    EXPECT_EQ(model.program().DstCount, before + 1);
    QTest::keyClick(&changeover, Qt::Key_Escape);
    EXPECT_FALSE(changeover.isVisible());
}

} // namespace
