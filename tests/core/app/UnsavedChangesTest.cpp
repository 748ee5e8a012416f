#include "app/UnsavedChanges.h"

#include "model/Model.h"
#include "support/ScriptedPrompter.h"

#include <gtest/gtest.h>

namespace zx::test {
namespace {

// What the unsaved-changes question does with each answer and each outcome of the save.
struct DiscardCase {
    const char *what;
    int records;
    bool onlyWithRecords;
    bool asked;
    Answer answer;
    bool saveSucceeds;
    int saves;
    bool goesOn;
};

void PrintTo(const DiscardCase &c, std::ostream *os)
{
    *os << c.what;
}

class SaveChangesFirstTest : public ::testing::TestWithParam<DiscardCase> {};

TEST_P(SaveChangesFirstTest, GoesOnOnlyWhenTheChangesAreSavedOrGivenUp)
{
    const DiscardCase &c = GetParam();
    Model model;
    model.Modified = 1;
    model.program().UsedCount = c.records;
    model.program().FileName = QStringLiteral("hall.zxp");
    ScriptedPrompter prompter;
    prompter.answers = {c.answer};
    int saves = 0;
    const bool goesOn = SaveChangesFirst(
        model, prompter,
        [&] {
            ++saves;
            return c.saveSucceeds;
        },
        QuestionEnding::Wide, c.onlyWithRecords);
    EXPECT_EQ(goesOn, c.goesOn);
    EXPECT_EQ(saves, c.saves);
    ASSERT_EQ(prompter.shown.size(), c.asked ? 1u : 0u);
    if (c.asked) {
        EXPECT_EQ(prompter.last(), QStringLiteral("Save changes in hall.zxp  ?"));
        EXPECT_EQ(prompter.shown[0].buttons, Buttons::YesNoCancel);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Answers, SaveChangesFirstTest,
    ::testing::Values(DiscardCase{"yes, saved", 1, false, true, Answer::Yes, true, 1, true},
                      // a full disk, or a Save as whose file dialog was cancelled
                      DiscardCase{"yes, save failed", 1, false, true, Answer::Yes, false, 1, false},
                      DiscardCase{"no", 1, false, true, Answer::No, true, 0, true},
                      DiscardCase{"cancel", 1, false, true, Answer::Cancel, true, 0, false},
                      DiscardCase{"empty program, New", 0, true, false, Answer::Cancel, true, 0, true},
                      DiscardCase{"empty program, Open", 0, false, true, Answer::Cancel, true, 0, false}));

TEST(SaveChangesFirst, AnUnmodifiedProgramIsNotAskedAboutAndYesWithoutASaveStops)
{
    Model model;
    ScriptedPrompter prompter;
    EXPECT_TRUE(SaveChangesFirst(model, prompter, {}));
    EXPECT_TRUE(prompter.shown.empty());

    model.Modified = 1;
    model.program().FileName = QStringLiteral("a.zxp");
    prompter.answers = {Answer::Yes};
    EXPECT_FALSE(SaveChangesFirst(model, prompter, {}));
    EXPECT_EQ(prompter.last(), QStringLiteral("Save changes in a.zxp ?"));
}

} // namespace
} // namespace zx::test
