// The switching dialog worked with the keyboard alone.
#include "EntryDialogFixture.h"

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

} // namespace
