#include "entry/EntrySession.h"

#include "model/Model.h"
#include "support/DeviceRuleCases.h"
#include "support/ScriptedPrompter.h"

#include <gtest/gtest.h>

using namespace zx;

namespace {

class Session : public ::testing::Test {
  protected:
    Model model;
    EntrySession session;

    void SetUp() override
    {
        for (int i = 0; i < 4; ++i)
            model.appendRecord(SetProgram, ProgramRecord{std::uint8_t(128 + i), 0, 0, 1, 1, 1});
        model.Marked = {1, 3};
        model.FirstMarked = 0;
        model.LastMarked = 1;
    }
    static StoreResult stored(int index, bool full = false) { return {StoreOutcome::Stored, index, full}; }
};

} // namespace

TEST_F(Session, ChangeWalksTheMarkedRecordsAndClosesAfterTheLast)
{
    model.EditMode = EditChange;
    session.open(model);
    EXPECT_EQ(session.mode(), EditChange);
    EXPECT_EQ(session.editedIndex(), 1);
    EXPECT_EQ(session.recordToLoad(), 1);
    model.automation.AutomationActive = 1;
    const EntrySession::Next first = session.afterStore(model, stored(1));
    EXPECT_TRUE(first.stored && first.loadNext && first.applyAutomation && !first.close);
    EXPECT_EQ(session.editedIndex(), 3);
    // a refusal stays on the record and stops "ok for all"
    const EntrySession::Next refused = session.afterStore(model, {StoreOutcome::Exists});
    EXPECT_TRUE(refused.stopRuns && !refused.close && !refused.loadNext);
    EXPECT_EQ(session.editedIndex(), 3);
    EXPECT_TRUE(session.afterStore(model, stored(3)).close);
    session.close(model);
    EXPECT_EQ(model.EditMode, EditEnter);
}

// A holiday with no date the device can hold stores nothing: a beep, and the run stays where it
// was; one with dates stores them and steps on like any entry.
TEST_F(Session, AHolidayWithoutDatesBeepsAndStaysWhereItWas)
{
    test::ScriptedPrompter prompter;
    model.device.Bewft = 1;
    session.open(model);
    const EntrySession::Confirmation none = session.storeHoliday(model, prompter, {});
    EXPECT_EQ(none.result.outcome, StoreOutcome::NothingToStore);
    EXPECT_EQ(prompter.beeps, 1);
    EXPECT_FALSE(none.next.stored || none.next.close || none.next.stopRuns);
    PriorityEntryValues christmas;
    christmas.fromDay = christmas.toDay = 25;
    christmas.fromMonth = christmas.toMonth = 12;
    christmas.channelMask = 1;
    const EntrySession::Confirmation stored = session.storeHoliday(model, prompter, {christmas});
    EXPECT_TRUE(stored.result.stored());
    EXPECT_TRUE(stored.next.stored);
    EXPECT_EQ(prompter.beeps, 1);
    EXPECT_EQ(model.program().UsedCount, 5);
}

// The last-entry panel steps through the records it shows and stays put at either end.
TEST_F(Session, ThePanelStepsThroughTheRecordsItShowsAndStaysAtTheEnds)
{
    session.open(model);
    EXPECT_EQ(session.panelIndex(), model.program().UsedCount);
    const auto even = [](const ProgramRecord &r, int) { return r.b0 % 2 == 0; };
    EXPECT_TRUE(session.stepPanel(model, -1, even));
    EXPECT_EQ(session.panelIndex(), 2);
    EXPECT_TRUE(session.stepPanel(model, -1, even));
    EXPECT_EQ(session.panelIndex(), 0);
    EXPECT_FALSE(session.stepPanel(model, -1, even));
    EXPECT_EQ(session.panelIndex(), 0);
    EXPECT_TRUE(session.stepPanel(model, +1, even));
    EXPECT_FALSE(session.stepPanel(model, +1, even));
    EXPECT_EQ(session.panelIndex(), 2);
}

TEST_F(Session, CopyReadsTheTemplateAndAppends)
{
    model.appendRecord(SetTemplate, ProgramRecord{130, 0, 0, 1, 1, 1});
    model.EditMode = EditCopy;
    model.Marked = {0};
    model.LastMarked = 0;
    session.open(model);
    EXPECT_EQ(session.sourceSet(), SetTemplate);
    EXPECT_EQ(session.recordToLoad(), 0);
    EXPECT_EQ(session.editedIndex(), -1);
}

TEST_F(Session, MarksOutsideTheSetFallBackToEnter)
{
    model.EditMode = EditCopy; // the template is empty
    session.open(model);
    EXPECT_EQ(session.mode(), EditEnter);
    EXPECT_EQ(model.EditMode, EditEnter);
    EXPECT_EQ(session.recordToLoad(), -1);
}

TEST_F(Session, FullMemoryClosesAndSwitchesTheAutomationOff)
{
    model.EditMode = EditEnter;
    session.open(model);
    model.automation.AutomationActive = 1;
    const EntrySession::Next full = session.afterStore(model, stored(4, true));
    EXPECT_TRUE(full.stored && full.close && !full.applyAutomation);
    EXPECT_EQ(model.automation.AutomationActive, 0);
    model.automation.AutomationActive = 1;
    const EntrySession::Next refused = session.afterStore(model, {StoreOutcome::MemoryFull, -1, true});
    EXPECT_TRUE(refused.close && refused.stopRuns && !refused.stored);
    EXPECT_EQ(model.automation.AutomationActive, 0);
}

// A full memory refuses a new entry only: a change takes no new slot.
TEST_F(Session, AFullMemoryStillTakesChanges)
{
    test::ScriptedPrompter prompter;
    test::FillMemory(model);
    model.EditMode = EditChange; // the marks of the set-up
    session.open(model);
    ASSERT_EQ(session.mode(), EditChange);
    EXPECT_FALSE(session.refusesFullMemory(model, prompter));
    EXPECT_TRUE(prompter.shown.empty());
    model.EditMode = EditEnter;
    session.open(model);
    EXPECT_TRUE(session.refusesFullMemory(model, prompter));
}

// What the program already holds refuses an entry through the session, with the text `add`
// shows too (the same table drives the end-to-end test).
class SessionRefusals : public ::testing::TestWithParam<test::RefusalCase> {};

TEST_P(SessionRefusals, SaysWhyAndStoresNothing)
{
    const test::RefusalCase &c = GetParam();
    Model model;
    model.device.Kanalzahl = 4;
    model.device.RecordCapacity = CapacityAnnual;
    test::ScriptedPrompter prompter;
    prompter.answers = {Answer::No};
    EntrySession session;
    if (c.full) {
        test::FillMemory(model);
    } else {
        session.open(model);
        ASSERT_TRUE(session.storeSwitching(model, prompter, test::MondayAtSix(1)).result.stored());
    }
    const std::vector<ProgramRecord> before(model.program().Records.begin(),
                                            model.program().Records.begin() + model.program().UsedCount);
    prompter.shown.clear();
    session.open(model);
    StoreOutcome outcome = StoreOutcome::MemoryFull;
    if (!session.refusesFullMemory(model, prompter)) {
        const EntrySession::Confirmation done = session.storeSwitching(model, prompter, c.entry);
        outcome = done.result.outcome;
        EXPECT_TRUE(done.next.stopRuns);
    }
    EXPECT_EQ(outcome, c.outcome);
    if (c.full) { // the next try meets the same refusal
        EXPECT_TRUE(session.refusesFullMemory(model, prompter));
    }
    EXPECT_TRUE(prompter.messages().join(QLatin1Char('\n')).contains(model.catalogue(c.message)))
        << qPrintable(prompter.messages().join(QLatin1Char('\n')));
    ASSERT_EQ(model.program().UsedCount, static_cast<int>(before.size()));
    EXPECT_TRUE(std::equal(before.begin(), before.end(), model.program().Records.begin()));
}

INSTANTIATE_TEST_SUITE_P(Cases, SessionRefusals, ::testing::ValuesIn(test::RefusalCases()),
                         [](const auto &info) { return std::string(info.param.name); });
