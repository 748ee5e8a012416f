// The priority time entry's date controls: day lists follow their month, typed digits reach the
// lists as in the switching time entry.
#include "entry/PriorityTimeDialog.h"
#include "GuiTest.h"
#include "app/AppContext.h"
#include "entry/EntryStore.h"
#include "model/Model.h"
#include "platform/Clock.h"
#include "platform/EventPump.h"
#include "support/RecordingLauncher.h"
#include "support/ScriptedPrompter.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTest>

#include <gtest/gtest.h>

#include <tuple>

using namespace zx;

namespace {

class PriorityDates : public ::testing::Test {
  protected:
    Model model;
    test::ScriptedPrompter prompter;
    FixedClock clock{QDateTime(QDate(2026, 3, 10), QTime(9, 0))};
    SleepingEventPump pump;
    test::RecordingLauncher launcher;
    AppContext ctx{model, prompter, clock, pump, launcher, QString(), QString()};
    PriorityTimeDialog dlg{ctx};

    void SetUp() override
    {
        model.device.Kanalzahl = 4;
        model.EditMode = EditEnter;
        dlg.openInMode();
    }
    void TearDown() override { dlg.done(QDialog::Accepted); }
    QListWidget *list(const char *name) { return test::Control<QListWidget>(&dlg, name); }
    void type(const char *field, const QString &keys)
    {
        auto *f = test::Control<QLineEdit>(&dlg, field);
        f->setFocus(Qt::TabFocusReason);
        f->selectAll();
        QTest::keyClicks(f, keys);
        QTest::keyClick(f, Qt::Key_Return);
    }
};

} // namespace

TEST_F(PriorityDates, DayFollowsTheMonthWithABeep)
{
    list("listvontag")->setCurrentRow(30); // 31st
    list("Lstvonmon")->setCurrentRow(1);   // february
    EXPECT_EQ(list("listvontag")->currentRow(), 28);
    EXPECT_EQ(prompter.beeps, 1);
    list("listbistag")->setCurrentRow(30);
    list("LstbisMon")->setCurrentRow(10); // november
    EXPECT_EQ(list("listbistag")->currentRow(), 29);
    EXPECT_EQ(prompter.beeps, 2);
}

TEST_F(PriorityDates, TypedDigitsReachTheListsAndOutOfRangeIsRefused)
{
    type("txtvonTag", QStringLiteral("24"));
    type("txtvonMon", QStringLiteral("12"));
    type("txtbistag", QStringLiteral("31"));
    type("txtbisMon", QStringLiteral("4")); // april: the 31st becomes the 30th
    EXPECT_EQ(list("listvontag")->currentRow(), 23);
    EXPECT_EQ(list("Lstvonmon")->currentRow(), 11);
    EXPECT_EQ(list("LstbisMon")->currentRow(), 3);
    EXPECT_EQ(list("listbistag")->currentRow(), 29);
    const int beeps = prompter.beeps;
    type("txtbisMon", QStringLiteral("13"));
    EXPECT_GT(prompter.beeps, beeps);
    EXPECT_EQ(list("LstbisMon")->currentRow(), 3);

    // OK takes nothing while a refused value stands in a field
    test::Control<QAbstractButton>(&dlg, "chkKan1")->click();
    test::Control<QAbstractButton>(&dlg, "cmdPzOk")->click();
    EXPECT_EQ(model.program().UsedCount, 0);
    type("txtbisMon", QStringLiteral("5"));
    test::Control<QAbstractButton>(&dlg, "cmdPzOk")->click();
    ASSERT_EQ(model.program().UsedCount, 1);
    const PriorityEntryValues stored = DecodePriorityTime(model.program().Records[0], 0);
    EXPECT_EQ(std::make_tuple(stored.fromDay, stored.fromMonth, stored.toDay, stored.toMonth),
              std::make_tuple(24, 12, 30, 5));
}

// The last-entry panel shows the state of a permanent priority time, none for a program.
TEST_F(PriorityDates, PanelShowsThePermanentState)
{
    list("LstPrio")->setCurrentRow(9); // permanent
    test::Control<QAbstractButton>(&dlg, "cmdEinAus")->click();
    test::Control<QAbstractButton>(&dlg, "chkKan1")->click();
    test::Control<QAbstractButton>(&dlg, "cmdPzOk")->click();
    ASSERT_EQ(model.program().UsedCount, 1);
    auto *state = test::Control<QLabel>(&dlg, "lbloldstate");
    EXPECT_EQ(state->text(), "ON");
    list("LstPrio")->setCurrentRow(0);
    test::Control<QAbstractButton>(&dlg, "cmdPzOk")->click();
    ASSERT_EQ(model.program().UsedCount, 2);
    EXPECT_EQ(state->text(), "");
}
