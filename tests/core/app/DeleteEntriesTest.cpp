#include "app/DeleteEntries.h"
#include "model/Model.h"
#include "support/ScriptedPrompter.h"

#include <gtest/gtest.h>

using namespace zx;
using namespace zx::test;

class DeleteEntries : public ::testing::Test {
  protected:
    Model m;
    ScriptedPrompter prompter;

    void SetUp() override
    {
        ProgramSet &p = m.program();
        for (int i = 0; i < 4; ++i)
            p.DstTable[i] = {10 + i, 1, 2, 3};
        p.DstCount = 4;
        m.ListView = 2;
        m.Modified = 0;
    }
};

TEST_F(DeleteEntries, ChangeoverTailGoesAfterTheQuestion)
{
    m.Marked = {3, 2};
    prompter.answers = {Answer::Cancel};
    EXPECT_FALSE(DeleteMarkedEntries(m, prompter));
    EXPECT_EQ(m.program().DstCount, 4);
    EXPECT_EQ(m.Modified, 0);
    prompter.answers = {Answer::Ok};
    EXPECT_TRUE(DeleteMarkedEntries(m, prompter));
    // the question names what goes
    EXPECT_EQ(prompter.last(), "Really delete ?\n\nChangeover entries to delete: 3 to 4");
    EXPECT_EQ(m.program().DstCount, 2);
    EXPECT_EQ(m.program().DstTable[2], EmptyDstEntry);
    EXPECT_EQ(m.Modified, 1);
}

TEST_F(DeleteEntries, ChangeoverRunMustReachTheLastEntryWithoutGaps)
{
    for (const std::vector<int> &marks : {std::vector<int>{1, 2}, std::vector<int>{1, 3}}) {
        m.Marked = marks;
        EXPECT_FALSE(DeleteMarkedEntries(m, prompter));
        EXPECT_EQ(prompter.last(), "You can only delete if the last Changeovers are marked too !");
        EXPECT_EQ(m.program().DstCount, 4);
    }
    EXPECT_EQ(m.Modified, 0);
}

// Any run that ends at the last entry may go, down to the whole table.
TEST_F(DeleteEntries, EveryRunToTheLastEntryMayGo)
{
    for (int first = 0; first < 4; ++first) {
        SetUp();
        m.Marked.clear();
        for (int i = 3; i >= first; --i)
            m.Marked.push_back(i);
        prompter.answers = {Answer::Ok};
        EXPECT_TRUE(DeleteMarkedEntries(m, prompter)) << first;
        EXPECT_EQ(m.program().DstCount, first);
        EXPECT_EQ(m.program().DstTable[first], EmptyDstEntry);
    }
}

TEST_F(DeleteEntries, RecordsGoOnlyOnOkAndNeverFromTheTemplate)
{
    m.ListView = 0;
    m.appendRecord(SetProgram, ProgramRecord{128, 0, 0, 1, 1, 1});
    m.appendRecord(SetProgram, ProgramRecord{130, 0, 0, 1, 1, 1});
    m.Modified = 0;
    m.Marked = {0};
    prompter.answers = {Answer::Cancel};
    EXPECT_FALSE(DeleteMarkedEntries(m, prompter));
    EXPECT_EQ(prompter.last(), "Really delete ?\n\nSwitching times to delete: 1");
    EXPECT_EQ(m.program().UsedCount, 2);
    m.CurrentSet = SetTemplate;
    EXPECT_FALSE(DeleteMarkedEntries(m, prompter));
    m.CurrentSet = SetProgram;
    prompter.answers = {Answer::Ok};
    EXPECT_TRUE(DeleteMarkedEntries(m, prompter));
    EXPECT_EQ(m.program().UsedCount, 1);
    EXPECT_EQ(m.program().Records[0].b0, 130);
    EXPECT_EQ(m.Modified, 1);
}
