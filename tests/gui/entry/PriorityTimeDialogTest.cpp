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

namespace {

// The holiday option on a device with variable holidays: two fixed holidays and Easter Monday.
class PriorityHolidayRun : public PriorityDates {
  protected:
    void SetUp() override
    {
        model.device.Bewft = 1;
        model.holidays.holidays = {Holiday{QStringLiteral("New Year"), HolidayFixed, 0, 1, 1},
                                   Holiday{QStringLiteral("Christmas"), HolidayFixed, 0, 25, 12},
                                   Holiday{QStringLiteral("Easter Monday"), HolidayEaster, 0, 1, 0}};
        PriorityDates::SetUp();
        test::Control<QAbstractButton>(&dlg, "chkKan1")->click();
        const auto years = list("lstvonJahr")->findItems(QStringLiteral("2027"), Qt::MatchExactly);
        ASSERT_EQ(years.size(), 1);
        list("lstvonJahr")->setCurrentItem(years[0]);
        test::Control<QAbstractButton>(&dlg, "chk_bew_Feiertage")->click();
    }
    std::vector<ProgramRecord> stored() const
    {
        const ProgramSet &p = model.program();
        return {p.Records.begin(), p.Records.begin() + p.UsedCount};
    }
};

} // namespace

// "all" stores holiday by holiday what OK stores for each, the chosen year included.
TEST_F(PriorityHolidayRun, AllStoresWhatOkStoresForEachHoliday)
{
    for (int row = 0; row < 3; ++row) {
        list("lst_bew_Feiertage")->setCurrentRow(row);
        test::Control<QAbstractButton>(&dlg, "cmdPzOk")->click();
    }
    const std::vector<ProgramRecord> byOk = stored();
    ASSERT_EQ(byOk.size(), 3u);
    EXPECT_EQ(DecodePriorityRecord(byOk[0], 0).year(), 2027);
    model.program().UsedCount = model.program().PzCount = 0;

    test::Control<QAbstractButton>(&dlg, "Cmdalleok")->click();
    ASSERT_TRUE(QTest::qWaitFor([&] { return model.program().UsedCount == 3; }, 3000));
    EXPECT_EQ(stored(), byOk);
    EXPECT_TRUE(prompter.shown.empty()) << qPrintable(prompter.last());
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
