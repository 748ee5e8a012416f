#include "app/CommandAvailability.h"
#include "model/ListKinds.h"
#include "model/Model.h"

#include <gtest/gtest.h>

using namespace zx;

namespace {

// Astro: an astro device with computed times; AstroNoTimes: one without. BusProgramming: an
// annual device set up for programming over the bus (written as -1).
enum class Kind { Annual, Astro, AstroNoTimes, Bus, BusProgramming };

// A device and program state, and what the main window may offer in it.
struct Case {
    const char *name;
    Kind kind;
    int listView;
    int set;
    bool marked;
    bool sampleLoaded;
    bool named;
    int records; // switching records of set 0
    CommandAvailability expected;
};

CommandAvailability expect(std::initializer_list<bool CommandAvailability::*> on,
                           ViewCommand ticked = ViewCommand::Switching)
{
    CommandAvailability c;
    for (bool CommandAvailability::*flag : on)
        c.*flag = true;
    c.ticked = ticked;
    return c;
}

using C = CommandAvailability;

const Case cases[] = {
    {"EmptyUnnamedAnnual", Kind::Annual, ListSwitching, SetProgram, false, false, false, 0, expect({})},
    {"NamedWithRecordsMarked", Kind::Annual, ListSwitching, SetProgram, true, false, true, 3,
     expect({&C::save, &C::deleteMarked, &C::changeMarked, &C::simulation})},
    {"BusDeviceReachesTheCoupler", Kind::Bus, ListPriority, SetProgram, false, false, false, 1,
     expect({&C::busAccess, &C::simulation}, ViewCommand::Priority)},
    {"SampleMarkedCopiesOnly", Kind::Annual, ListChangeover, SetTemplate, true, true, true, 0,
     expect({&C::save, &C::closeSample, &C::copyMarked, &C::viewSample}, ViewCommand::SampleChangeover)},
    {"AstroDaysChangeNotDelete", Kind::Astro, ListAstro, SetProgram, true, false, false, 0,
     expect({&C::astroCommands, &C::changeMarked, &C::viewAstro, &C::simulation}, ViewCommand::Astro)},
    {"AstroWithoutTimes", Kind::AstroNoTimes, ListSwitching, SetProgram, false, true, false, 0,
     expect({&C::astroCommands, &C::closeSample, &C::viewSample})},
    {"BusProgrammingReachesTheCoupler", Kind::BusProgramming, ListSwitching, SetProgram, false, false, false,
     0, expect({&C::busAccess})},
    {"SampleAstroDaysCopyNothing", Kind::Astro, ListAstro, SetTemplate, true, true, false, 0,
     expect({&C::astroCommands, &C::closeSample, &C::viewSample, &C::viewAstro, &C::simulation},
            ViewCommand::Astro)},
    {"SampleSwitchingMarked", Kind::Annual, ListSwitching, SetTemplate, true, true, false, 0,
     expect({&C::closeSample, &C::copyMarked, &C::viewSample}, ViewCommand::SampleSwitching)},
    {"SamplePriorityTicked", Kind::Annual, ListPriority, SetTemplate, false, true, false, 0,
     expect({&C::closeSample, &C::viewSample}, ViewCommand::SamplePriority)},
};

class CommandAvailabilityTable : public ::testing::TestWithParam<Case> {};

TEST_P(CommandAvailabilityTable, FollowsTheModel)
{
    const Case &c = GetParam();
    Model m;
    m.device.Uhrentyp = c.kind == Kind::Astro || c.kind == Kind::AstroNoTimes ? TypeAstro : 0;
    m.device.BusDevice = c.kind == Kind::Bus ? 1 : 0;
    m.device.Busprog = c.kind == Kind::BusProgramming ? -1 : 0;
    m.astro.AstroPresent = c.kind == Kind::Astro ? -1 : 0;
    for (int i = 0; i < c.records; ++i)
        m.appendRecord(SetProgram, ProgramRecord{128, 0, 0, 1, 1, 1});
    m.ListView = c.listView;
    m.CurrentSet = c.set;
    m.FileNamed = c.named ? 1 : 0;
    if (c.marked)
        m.Marked = {0};

    const CommandAvailability got = AvailableCommands(m, c.sampleLoaded);
    const CommandAvailability &want = c.expected;
    EXPECT_EQ(got.save, want.save);
    EXPECT_EQ(got.closeSample, want.closeSample);
    EXPECT_EQ(got.busAccess, want.busAccess);
    EXPECT_EQ(got.astroCommands, want.astroCommands);
    EXPECT_EQ(got.deleteMarked, want.deleteMarked);
    EXPECT_EQ(got.changeMarked, want.changeMarked);
    EXPECT_EQ(got.copyMarked, want.copyMarked);
    EXPECT_EQ(got.viewPriority, want.viewPriority);
    EXPECT_EQ(got.viewChangeover, want.viewChangeover);
    EXPECT_EQ(got.viewSample, want.viewSample);
    EXPECT_EQ(got.viewAstro, want.viewAstro);
    EXPECT_EQ(got.simulation, want.simulation);
    EXPECT_EQ(got.ticked, want.ticked);
}

INSTANTIATE_TEST_SUITE_P(States, CommandAvailabilityTable, ::testing::ValuesIn(cases),
                         [](const auto &info) { return std::string(info.param.name); });

// Priority and changeover lists are offered once the program has entries of their kind.
TEST(CommandAvailability, ListsWithEntriesOnly)
{
    Model m;
    m.program().PzCount = 1;
    EXPECT_TRUE(AvailableCommands(m, false).viewPriority);
    EXPECT_FALSE(AvailableCommands(m, false).viewChangeover);
    m.program().DstCount = 2;
    EXPECT_TRUE(AvailableCommands(m, false).viewChangeover);
}

} // namespace
