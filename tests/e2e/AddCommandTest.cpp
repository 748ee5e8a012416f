// zentrix-cli new and add: scripted entry by the entry dialogs' rules.
#include "entry/EntryDeviceRules.h"
#include "entry/PriorityEntry.h"
#include "model/Model.h"
#include "model/ProgramFile.h"
#include "model/RecordDecoder.h"
#include "platform/Clock.h"
#include "support/CliRunner.h"
#include "support/DeviceRuleCases.h"
#include "support/SamplePrograms.h"
#include "support/ScriptedPrompter.h"
#include "support/TempDir.h"

#include <QFile>
#include <QRandomGenerator>

#include <gtest/gtest.h>

using namespace zx;
using zx::test::CliTextRun;
using zx::test::RunCliText;

namespace {

QByteArray contents(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// The working directory's configuration says whether the device has variable holidays.
void writeConfig(const test::TempDir &dir, int bewft)
{
    dir.write(QStringLiteral("zentrix.ini"),
              QStringLiteral("KANALZAHL=4\r\nBEWFT=%1\r\nLPT=1\r\nUHRENTYP=517\r\nDELAY=002\r\nZEILEN=050\r\n"
                             "MAXDELAY=00100\r\nSWREGEL=1\r\nSPRACHE(Uhr)=1\r\nSPRACHE=2\r\nASTROC1C2=000\r\n"
                             "BUSPROG=0\r\nMESSKANAL=0\r\nMESSPERIODE=01\r\nMESSIMPDAUER=01\r\n"
                             "MESSZUSTAND=0\r\nMESSZEITPUNKT=0\r\nEVU=0\r\n")
                  .arg(bewft)
                  .toLatin1());
}

class AddCommandTest : public ::testing::Test {
  protected:
    test::TempDir dir;
    QString file;
    void SetUp() override
    {
        file = dir.file(QStringLiteral("plan.zxp"));
        ASSERT_EQ(RunCliText({"new", file, "--type", "517", "--channels", "4"}).exitCode, 0);
        writeConfig(dir, 1);
    }
    CliTextRun add(const QStringList &options)
    {
        return RunCliText(QStringList{"add", file} + options + QStringList{"--workdir", dir.path()});
    }
    Model load()
    {
        Model m;
        test::ScriptedPrompter prompter;
        EXPECT_EQ(LoadProgram(m, prompter, file, false, SetProgram), LoadResult::Loaded);
        return m;
    }
};

struct AddCase {
    const char *name;
    QStringList options;
    ProgramRecord record;
};

class AddPriority : public AddCommandTest, public ::testing::WithParamInterface<AddCase> {};

const AddCase addCases[] = {
    {"Christmas",
     {"--from", "24.12", "--to", "6.1", "--priority", "3", "--channels", "1"},
     test::priorityTime(24, 12, 6, 1, 3, 1)},
    {"Year2000",
     {"--from", "24.12", "--to", "6.1", "--year", "2000", "--priority", "3", "--channels", "1"},
     test::priorityTime(24, 12, 6, 1, 3, 1, 0, 1, 64)},
    {"PermanentOn",
     {"--from", "1.5", "--to", "1.5", "--priority", "permanent", "--state", "on", "--channels", "1,2"},
     test::priorityTime(1, 5, 1, 5, 10, 3, 1)},
    {"EasterMonday", {"--easter", "1", "--priority", "1", "--channels", "1"}, test::easterPriority(1, 1, 1)},
};

} // namespace

TEST_P(AddPriority, StoresSavesAndPrintsTheRecord)
{
    const AddCase &c = GetParam();
    const CliTextRun r = add(QStringList{"priority"} + c.options);
    ASSERT_EQ(r.exitCode, 0) << qPrintable(r.err);
    const ProgramRecord &e = c.record;
    EXPECT_TRUE(r.out.startsWith(
        QStringLiteral("%1 %2 %3 %4 %5 %6\n").arg(e.b0).arg(e.b1).arg(e.b2).arg(e.b3).arg(e.b4).arg(e.b5)))
        << qPrintable(r.out);
    const Model m = load();
    ASSERT_EQ(m.program().UsedCount, 1);
    EXPECT_EQ(m.program().Records[0], c.record);
    // the printed row is the list's row
    const CliTextRun list = RunCliText({"list", file, "--view", "priority"});
    EXPECT_TRUE(list.out.contains(r.out.section(QLatin1Char('\n'), 1, 1))) << qPrintable(list.out);
}

INSTANTIATE_TEST_SUITE_P(Cli, AddPriority, ::testing::ValuesIn(addCases),
                         [](const auto &info) { return std::string(info.param.name); });

TEST_F(AddCommandTest, RefusalsLeaveTheFileUntouched)
{
    ASSERT_EQ(add({"priority", "--from", "1.5", "--to", "1.5", "--priority", "permanent", "--state", "on",
                   "--channels", "1"})
                  .exitCode,
              0);
    const QByteArray before = contents(file);
    const struct {
        QStringList options;
        const char *message;
    } refusals[] = {
        {{"priority", "--from", "1.5", "--to", "1.5", "--priority", "permanent", "--state", "on",
          "--channels", "1"},
         "This program exist already !"},
        {{"priority", "--from", "1.5", "--to", "1.5", "--priority", "permanent", "--state", "off",
          "--channels", "1"},
         "Overwrite ? -> No"},
        {{"priority", "--from", "1.5", "--to", "1.5", "--priority", "2"}, "No channels selected !"},
        {{"priority", "--from", "30.2", "--to", "1.3", "--priority", "2", "--channels", "1"},
         "Date or days of the week not complete !"},
        {{"switching", "--time", "06:30", "--date", "31.4", "--channels", "1"},
         "Date or days of the week not complete !"},
    };
    for (const auto &refusal : refusals) {
        const CliTextRun r = add(refusal.options);
        EXPECT_EQ(r.exitCode, 1) << qPrintable(refusal.options.join(' '));
        EXPECT_TRUE(r.err.contains(QLatin1String(refusal.message))) << qPrintable(r.err);
        EXPECT_EQ(contents(file), before);
    }
    EXPECT_EQ(add({"priority", "--from", "1.5", "--priority", "2", "--channels", "1"}).exitCode, 2);
    // A state belongs to a permanent priority alone; the refusal names the option and why.
    const CliTextRun stateless = add(
        {"priority", "--from", "2.5", "--to", "2.5", "--priority", "2", "--state", "on", "--channels", "1"});
    EXPECT_EQ(stateless.exitCode, 2);
    EXPECT_TRUE(stateless.err.startsWith(QLatin1String("zentrix-cli: --state: only a permanent priority")))
        << qPrintable(stateless.err);
    EXPECT_EQ(contents(file), before);

    // --replace answers the overwrite question with Yes
    const CliTextRun replaced = add({"priority", "--from", "1.5", "--to", "1.5", "--priority", "permanent",
                                     "--state", "off", "--channels", "1", "--replace"});
    EXPECT_EQ(replaced.exitCode, 0) << qPrintable(replaced.err);
    EXPECT_EQ(load().program().Records[0], test::priorityTime(1, 5, 1, 5, 10, 1, 0));
}

// Options the command cannot take are named with the reason, above the usage text.
TEST_F(AddCommandTest, RefusedOptionsAreNamedWithTheReason)
{
    const QString bus = dir.file(QStringLiteral("bus.zxp"));
    ASSERT_EQ(RunCliText({"new", bus, "--type", "517", "--channels", "8", "--bus"}).exitCode, 0);
    const QByteArray before = contents(file);
    const QByteArray busBefore = contents(bus);
    const struct {
        bool onBus;
        QStringList options;
        const char *message;
    } refusals[] = {
        {false,
         {"switching", "--time", "24:00", "--days", "mo", "--channels", "1"},
         "--time 24:00: not a time"},
        {false,
         {"switching", "--time", "6.30", "--days", "mo", "--channels", "1"},
         "--time 6.30: not a time"},
        {false, {"switching", "--days", "mo", "--channels", "1"}, "--time is missing"},
        {false, {"switching", "--time", "6:30", "--channels", "1"}, "--days / --date is missing"},
        {false,
         {"switching", "--time", "6:30", "--days", "mo,xx", "--channels", "1"},
         "--days mo,xx: one of"},
        {false,
         {"switching", "--time", "6:30", "--days", "mo", "--date", "1.1", "--channels", "1"},
         "--days and --date exclude each other"},
        {false,
         {"switching", "--time", "6:30", "--date", "1.1", "--program", "2", "--channels", "1"},
         "--date and --program exclude each other"},
        {false,
         {"switching", "--time", "6:30", "--days", "mo", "--channels", "1,9"},
         "--channels 1,9: outside 1..8"},
        {false,
         {"switching", "--time", "6:30", "--days", "mo", "--channels", "1", "--state", "maybe"},
         "--state maybe: one of on, off"},
        {false,
         {"switching", "--time", "6:30", "--days", "mo", "--channels", "1", "--easter", "2"},
         "--easter: not an option of add switching"},
        {false,
         {"priority", "--from", "1.1", "--to", "2.1", "--easter", "2", "--priority", "2", "--channels", "1"},
         "--from and --easter exclude each other"},
        {false, {"priority", "--from", "1.1", "--priority", "2", "--channels", "1"}, "--to is missing"},
        {false,
         {"priority", "--from", "1.1", "--to", "2.1", "--priority", "10", "--channels", "1"},
         "--priority 10: one of 1..9, permanent"},
        {false,
         {"priority", "--from", "1.1", "--to", "2.1", "--priority", "2", "--channel", "1"},
         "--channel: a conventional device takes --channels"},
        {false, {"holiday", "--priority", "2", "--channels", "1"}, "--name / --set is missing"},
        {false,
         {"holiday", "--name", "X", "--set", "Y", "--priority", "2", "--channels", "1"},
         "--name and --set exclude each other"},
        {true,
         {"switching", "--time", "6:30", "--days", "mo", "--channels", "1", "--value", "3"},
         "--channels: a bus device takes --channel N"},
        {true, {"switching", "--time", "6:30", "--days", "mo", "--channel", "1"}, "--value is missing"},
        {true,
         {"priority", "--easter", "1", "--priority", "permanent", "--channel", "1", "--state", "on"},
         "--state: a bus device takes --value V"},
    };
    for (const auto &refusal : refusals) {
        const QString target = refusal.onBus ? bus : file;
        const CliTextRun r =
            RunCliText(QStringList{"add", target} + refusal.options + QStringList{"--workdir", dir.path()});
        EXPECT_EQ(r.exitCode, 2) << qPrintable(refusal.options.join(' '));
        EXPECT_TRUE(r.err.startsWith(QStringLiteral("zentrix-cli: ") + QLatin1String(refusal.message)))
            << qPrintable(r.err);
        EXPECT_TRUE(r.err.contains(QLatin1String("usage: zentrix-cli add"))) << qPrintable(r.err);
    }
    EXPECT_EQ(contents(file), before);
    EXPECT_EQ(contents(bus), busBefore);
    // In the chosen language.
    const CliTextRun german = add(
        {"switching", "--time", "6:30", "--days", "mo", "--date", "1.1", "--channels", "1", "--lang", "de"});
    EXPECT_TRUE(
        german.err.startsWith(QStringLiteral("zentrix-cli: --days und --date schließen einander aus")))
        << qPrintable(german.err);
}

TEST_F(AddCommandTest, BusDeviceTakesPermanentAsCode8AndRefusesAnEasterValueAbove15)
{
    const QString bus = dir.file(QStringLiteral("bus.zxp"));
    ASSERT_EQ(RunCliText({"new", bus, "--type", "517", "--channels", "8", "--bus"}).exitCode, 0);
    const CliTextRun r = RunCliText({"add", bus, "priority", "--from", "1.5", "--to", "2.5", "--priority",
                                     "permanent", "--value", "200", "--channel", "8"});
    ASSERT_EQ(r.exitCode, 0) << qPrintable(r.err);
    EXPECT_TRUE(r.out.startsWith(QStringLiteral("106 24 0 2 200 87\n"))) << qPrintable(r.out);
    const QByteArray before = contents(bus);
    const CliTextRun refused = RunCliText({"add", bus, "priority", "--easter", "1", "--priority", "permanent",
                                           "--value", "16", "--channel", "2"});
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_TRUE(refused.err.contains(QLatin1String("value: 0 up to 15"))) << qPrintable(refused.err);
    EXPECT_EQ(contents(bus), before);
    const CliTextRun numbered = RunCliText(
        {"add", bus, "priority", "--easter", "1", "--priority", "3", "--value", "5", "--channel", "2"});
    EXPECT_EQ(numbered.exitCode, 2);
    EXPECT_TRUE(numbered.err.contains(QLatin1String("--value: only a permanent priority")))
        << qPrintable(numbered.err);
    EXPECT_EQ(contents(bus), before);
}

// Random dated priority times through the CLI agree with the core encoder.
TEST_F(AddCommandTest, RandomPriorityTimesAgreeWithTheEncoder)
{
    QRandomGenerator rng(11);
    std::vector<ProgramRecord> expected;
    for (int i = 0; i < 12; ++i) {
        PriorityEntryValues e;
        e.fromMonth = rng.bounded(1, 13);
        e.fromDay = rng.bounded(1, 29);
        e.toMonth = rng.bounded(1, 13);
        e.toDay = rng.bounded(1, 29);
        e.priority = rng.bounded(1, 11);
        e.channelMask = rng.bounded(1, 16);
        e.state = e.priority == 10 ? static_cast<int>(rng.bounded(2)) : 0;
        e.yearCode = rng.bounded(2) ? YearCodeOf(rng.bounded(1999, 2031)) : 0;
        QStringList channels;
        for (int c = 0; c < 4; ++c)
            if (e.channelMask & (1 << c))
                channels << QString::number(c + 1);
        QStringList options{"priority",
                            "--from",
                            QStringLiteral("%1.%2").arg(e.fromDay).arg(e.fromMonth),
                            "--to",
                            QStringLiteral("%1.%2").arg(e.toDay).arg(e.toMonth),
                            "--priority",
                            e.priority == 10 ? QStringLiteral("permanent") : QString::number(e.priority),
                            "--channels",
                            channels.join(',')};
        if (e.priority == 10)
            options << "--state" << (e.state ? "on" : "off");
        if (e.yearCode)
            options << "--year" << QString::number(e.yearCode + 1936);
        const CliTextRun r = add(options);
        if (r.exitCode == 1)
            continue; // a duplicate drawn twice
        ASSERT_EQ(r.exitCode, 0) << qPrintable(r.err);
        expected.push_back(EncodePriorityTime(e, 0));
    }
    const Model m = load();
    ASSERT_EQ(m.program().UsedCount, static_cast<int>(expected.size()));
    for (const ProgramRecord &r : expected) {
        bool found = false;
        for (int i = 0; i < m.program().UsedCount; ++i)
            found = found || m.program().Records[i] == r;
        EXPECT_TRUE(found);
    }
}

// The entries the device cannot hold, from the table the entry store's test uses too: refused with
// the same text, the file untouched.
class AddRefusesWhatTheDeviceCannotHold : public ::testing::TestWithParam<test::DeviceRuleCase> {};

TEST_P(AddRefusesWhatTheDeviceCannotHold, WithTheEntryRulesText)
{
    const test::DeviceRuleCase &c = GetParam();
    test::TempDir dir;
    const QString file = dir.file(QStringLiteral("device.zxp"));
    QStringList created{
        "new", file, "--type", QString::number(c.type), "--channels", QString::number(c.channels)};
    if (c.bus)
        created << "--bus";
    ASSERT_EQ(RunCliText(created).exitCode, 0);
    writeConfig(dir, c.bewft);
    const QByteArray before = contents(file);
    const CliTextRun r =
        RunCliText(QStringList{"add", file} + c.options + QStringList{"--workdir", dir.path()});
    Model model;
    c.setUp(model.device);
    EXPECT_EQ(r.exitCode, 1) << qPrintable(r.out);
    EXPECT_TRUE(r.err.contains(DeviceRuleMessage(model, c.rule))) << qPrintable(r.err);
    EXPECT_EQ(contents(file), before);
}

INSTANTIATE_TEST_SUITE_P(Cases, AddRefusesWhatTheDeviceCannotHold,
                         ::testing::ValuesIn(test::DeviceRuleCases()),
                         [](const auto &info) { return std::string(info.param.name); });

// What the program already holds: `add` refuses as the entry dialogs do, from the table the entry
// session's test uses too, and leaves the file alone.
class AddRefusesWhatTheProgramHolds : public AddCommandTest,
                                      public ::testing::WithParamInterface<test::RefusalCase> {};

TEST_P(AddRefusesWhatTheProgramHolds, WithTheDialogsText)
{
    const test::RefusalCase &c = GetParam();
    if (c.full) {
        Model m = load();
        test::FillMemory(m);
        test::ScriptedPrompter prompter;
        FixedClock clock{QDateTime(QDate(2026, 3, 10), QTime(9, 0))};
        ASSERT_TRUE(SaveProgram(m, prompter, clock));
    } else {
        ASSERT_EQ(add({"switching", "--time", "06:00", "--days", "mo", "--channels", "1"}).exitCode, 0);
    }
    const QByteArray before = contents(file);
    const CliTextRun r = add(c.options);
    EXPECT_EQ(r.exitCode, 1) << qPrintable(r.out);
    const QString text = Model().catalogue(c.message).trimmed().section(QLatin1Char('\n'), 0, 0);
    EXPECT_TRUE(r.err.contains(text)) << qPrintable(r.err);
    EXPECT_EQ(contents(file), before);
}

INSTANTIATE_TEST_SUITE_P(Cases, AddRefusesWhatTheProgramHolds, ::testing::ValuesIn(test::RefusalCases()),
                         [](const auto &info) { return std::string(info.param.name); });

// Holidays: each way a run can store nothing says why, exits 1 and leaves the file alone.
TEST_F(AddCommandTest, HolidayRunsThatStoreNothingSayWhy)
{
    dir.write(QStringLiteral("english.hdy"), QByteArray(" 2  1 \r\nEaster Monday, 2  0  1  0 \r\n"
                                                        "Prayer day, 1 -3  23  11 \r\nEmpty\r\n 0 \r\n"));
    const QByteArray before = contents(file);
    const QStringList base{"holiday", "--priority", "1", "--channels", "1"};
    const struct {
        QStringList options;
        QString message;
    } runs[] = {
        {{"--name", "Boxing day"}, QStringLiteral("There is no holiday named \"Boxing day\"")},
        {{"--set", "Saxony"}, QStringLiteral("There is no holiday set named \"Saxony\"")},
        {{"--set", "Empty"}, QStringLiteral("The holiday set \"Empty\" holds no holidays.")},
        {{"--name", "Prayer day", "--years", "3"}, QStringLiteral("Years for free holidays: an even number")},
        {{"--name", "Prayer day", "--today", "2099-12-01"}, QStringLiteral("Nothing was stored")},
    };
    for (const auto &run : runs) {
        const CliTextRun r = add(base + run.options);
        EXPECT_EQ(r.exitCode, 1) << qPrintable(run.options.join(' '));
        EXPECT_TRUE(r.err.contains(run.message)) << qPrintable(r.err);
        EXPECT_EQ(contents(file), before);
    }

    // a bus record has no year: a free holiday over several years is refused
    const QString bus = dir.file(QStringLiteral("bus.zxp"));
    ASSERT_EQ(RunCliText({"new", bus, "--type", "517", "--channels", "8", "--bus"}).exitCode, 0);
    const QByteArray busBefore = contents(bus);
    const CliTextRun r =
        RunCliText({"add", bus, "holiday", "--name", "Prayer day", "--priority", "1", "--channel", "1",
                    "--years", "4", "--today", "2026-01-01", "--workdir", dir.path()});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.contains(QLatin1String("A bus device has no year"))) << qPrintable(r.err);
    EXPECT_EQ(contents(bus), busBefore);
}

// change takes only the fields given; the others come from the entry of the row. One entry at a
// time, so row 1 is always it.
TEST_F(AddCommandTest, ChangeWritesOnlyTheFieldsGiven)
{
    struct Case {
        const char *name;
        QStringList add;    // the entry first entered
        QStringList change; // the options of change
        ProgramRecord after;
    };
    const Case cases[] = {
        {"TimeOnly",
         {"switching", "--time", "06:30", "--days", "mo,fr", "--channels", "1,3", "--state", "off",
          "--program", "2"},
         {"switching", "--time", "07:15"},
         test::weeklyTime(7, 15, 1 + 16, 1 + 4, 0, 2)},
        {"WeeklyBecomesDated",
         {"switching", "--time", "06:30", "--days", "mo", "--channels", "2", "--program", "2"},
         {"switching", "--date", "24.12", "--once"},
         test::datedTime(6, 30, 24, 12, 2, 1, 1)},
        {"DatedKeepsDateGetsPulse",
         {"switching", "--time", "22:00", "--date", "1.5", "--channels", "1"},
         {"switching", "--pulse", "5", "--channels", "4"},
         test::datedTime(22, 0, 1, 5, 8, 1, 0, 5)},
        {"RangeMovesOneEnd",
         {"priority", "--from", "24.12", "--to", "6.1", "--priority", "3", "--channels", "1"},
         {"priority", "--to", "8.1"},
         test::priorityTime(24, 12, 8, 1, 3, 1)},
        {"EasterKeepsOffset",
         {"priority", "--easter", "1", "--priority", "1", "--channels", "1"},
         {"priority", "--priority", "permanent", "--state", "on"},
         test::easterPriority(1, 10, 1, 1)},
        {"RangeBecomesEaster",
         {"priority", "--from", "1.5", "--to", "1.5", "--year", "2027", "--priority", "3", "--channels", "2"},
         {"priority", "--easter", "-2"},
         test::easterPriority(-2, 3, 2)},
    };
    for (const Case &c : cases) {
        ASSERT_EQ(RunCliText({"new", file, "--type", "517", "--channels", "4", "--force"}).exitCode, 0);
        const CliTextRun added = add(c.add);
        ASSERT_EQ(added.exitCode, 0) << c.name << qPrintable(added.err);
        const CliTextRun changed = RunCliText(QStringList{"change", file} + c.change +
                                              QStringList{"--row", "1", "--workdir", dir.path()});
        EXPECT_EQ(changed.exitCode, 0) << c.name << qPrintable(changed.err);
        const Model m = load();
        ASSERT_EQ(m.program().UsedCount, 1) << c.name;
        EXPECT_EQ(m.program().Records[0], c.after) << c.name;
    }
    // a field of the other kind or form is refused as add refuses it, and the file stays
    const QByteArray before = contents(file);
    const CliTextRun refused =
        RunCliText({"change", file, "priority", "--row", "1", "--once", "--workdir", dir.path()});
    EXPECT_EQ(refused.exitCode, 2);
    EXPECT_TRUE(refused.err.contains(QStringLiteral("--easter and --once exclude each other")))
        << qPrintable(refused.err);
    EXPECT_EQ(contents(file), before);
}

// A year given to a holiday run stays with every fixed holiday, as OK in the dialog keeps it; the
// Easter-relative one goes in the device's own form, which has no year.
TEST_F(AddCommandTest, HolidayRunKeepsTheChosenYear)
{
    dir.write(QStringLiteral("english.hdy"),
              QByteArray(" 3  0 \r\nNew Year, 0  0  1  1 \r\n"
                         "Christmas, 0  0  25  12 \r\nEaster Monday, 2  0  1  0 \r\n"));
    const CliTextRun r = add({"holiday", "--set", "all", "--year", "2027", "--priority", "1", "--channels",
                              "1", "--today", "2026-03-10"});
    ASSERT_EQ(r.exitCode, 0) << qPrintable(r.err);
    const Model m = load();
    ASSERT_EQ(m.program().UsedCount, 3);
    for (int i = 0; i < 3; ++i) {
        const PriorityTime p = DecodePriorityRecord(m.program().Records[i], 0);
        EXPECT_EQ(p.year(), p.easter ? 0 : 2027) << i;
        EXPECT_EQ(p.once, !p.easter) << i;
    }
}
