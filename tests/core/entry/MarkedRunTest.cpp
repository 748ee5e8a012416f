#include "entry/MarkedRun.h"

#include <gtest/gtest.h>

using namespace zx;

namespace {

std::vector<int> Walk(MarkedRun run)
{
    std::vector<int> seen;
    if (run.empty())
        return seen;
    do
        seen.push_back(run.current());
    while (run.advance());
    EXPECT_TRUE(run.finished());
    EXPECT_EQ(run.current(), -1);
    EXPECT_FALSE(run.advance());
    return seen;
}

} // namespace

TEST(MarkedRun, WalksFromTheFirstToTheLastMarkInMarkingOrder)
{
    const std::vector<int> five{7, 2, 9, 0, 4};
    EXPECT_EQ(Walk(MarkedRun::fromMarks(five, 0, 4, 10)), five);
    EXPECT_EQ(Walk(MarkedRun::fromMarks({3, 4, 5}, 0, 2, 6)), (std::vector<int>{3, 4, 5}));
    EXPECT_EQ(Walk(MarkedRun::fromMarks(five, 1, 3, 10)), (std::vector<int>{2, 9, 0}));
    EXPECT_EQ(Walk(MarkedRun::fromMarks({5, 5, 6}, 0, 2, 10)), (std::vector<int>{5, 6}));

    MarkedRun run = MarkedRun::fromMarks({3, 4, 5}, 0, 2, 6);
    EXPECT_EQ(run.size(), 3);
    EXPECT_FALSE(run.atLast());
    run.advance();
    run.advance();
    EXPECT_TRUE(run.atLast());
    EXPECT_EQ(run.position(), 2);
}

// A run that would have to leave a marked row out does not start.
TEST(MarkedRun, RefusesMarksOutsideTheListOrTheMarking)
{
    EXPECT_TRUE(MarkedRun::fromMarks({}, 0, -1, 10).empty());
    EXPECT_TRUE(MarkedRun::fromMarks({1, 2, 10}, 0, 2, 10).empty());
    EXPECT_TRUE(MarkedRun::fromMarks({1, -1}, 0, 1, 10).empty());
    EXPECT_TRUE(MarkedRun::fromMarks({1, 2}, 0, 2, 10).empty());
    EXPECT_TRUE(MarkedRun::fromMarks({1, 2}, 1, 0, 10).empty());
    EXPECT_TRUE(MarkedRun().finished());
}

// The edges: one marked row, and the last record of the list.
TEST(MarkedRun, ARunOfOneReachesTheLastRecord)
{
    EXPECT_EQ(Walk(MarkedRun::fromMarks({9}, 0, 0, 10)), (std::vector<int>{9}));
    EXPECT_EQ(Walk(MarkedRun::fromMarks({0, 9}, 1, 1, 10)), (std::vector<int>{9}));
    EXPECT_TRUE(MarkedRun::fromMarks({0, 9}, 2, 2, 10).empty());
}
