#include "EntryDialogFixture.h"

#include "model/ProgramFile.h"
#include "support/TempDir.h"
#include "views/ListFormatter.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QTimer>

using namespace zx;
using namespace zx::test;

namespace {

class SwitchingEntry : public EntryDialogTest {};

} // namespace

TEST_F(SwitchingEntry, OpensInEnterModeWithItsDefaults)
{
    open();
    EXPECT_TRUE(dlg->isVisible());
    EXPECT_EQ(dlg->objectName(), "frmEingSz");
    EXPECT_EQ(dlg->windowTitle(), "Enter The Switching Program");
    EXPECT_EQ(row("liststd"), 0);
    EXPECT_EQ(row("listmin"), 0);
    EXPECT_EQ(text("txtAnzImp"), "--");
    EXPECT_EQ(text("txtAnzPrio"), "none");
    EXPECT_EQ(find<QPushButton>("cmdEinAus")->text(), "ON");
    EXPECT_FALSE(find<QPushButton>("Cmdalleok")->isEnabled());
    EXPECT_FALSE(shown("chk1x"));
    EXPECT_TRUE(shown("chktgl"));
    EXPECT_EQ(find<QListWidget>("liststd")->item(6)->text(), " 6");
    EXPECT_EQ(find<QListWidget>("listmin")->item(5)->text(), "05");
    EXPECT_EQ(find<QListWidget>("Listtag")->item(0)->text(), " 1.");
    EXPECT_EQ(find<QListWidget>("Listtag")->item(30)->text(), "31");
    EXPECT_EQ(find<QListWidget>("LstMonat")->item(1)->text(), "february");
    EXPECT_EQ(dlg->lastEntryIndex(), 0);
}

TEST_F(SwitchingEntry, MidnightMondayChannel1On)
{
    open();
    click("chkMontag");
    click("chkKan1");
    click("cmdSzOk");
    ASSERT_EQ(used(), 1);
    EXPECT_EQ(BytesOf(record(0)), (Bytes{128, 0, 0, 1, 1, 1}));
    EXPECT_EQ(model.program().SzCount, 1);
    EXPECT_EQ(model.Modified, 1);
    EXPECT_TRUE(prompter.shown.empty());
    EXPECT_TRUE(shown("imgSzok"));
    EXPECT_TRUE(find<QTimer>("Timer1")->isActive());
    EXPECT_GE(listSignals, 1);
    EXPECT_EQ(model.ListView, 0);
    EXPECT_EQ(model.CurrentSet, SetProgram);
    // The last-entry panel shows the entry as the list does.
    EXPECT_EQ(find<QLabel>("lbloldtime")->text(), views::TimeText(model, 0));
    EXPECT_EQ(find<QLabel>("lbloldday")->text(), views::WeekdaysText(model, 1));
    EXPECT_EQ(find<QLabel>("lbloldkan")->text(), views::ChannelsText(model, record(0)));
    EXPECT_EQ(find<QLabel>("lbloldprio")->text(), "");
    EXPECT_EQ(find<QLabel>("lbloldimp")->text(), "");
    EXPECT_EQ(find<QLabel>("lbloldstate")->text(), "ON");
    waitUntil([&] { return !shown("imgSzok"); });
    EXPECT_FALSE(shown("imgSzok"));
}

TEST_F(SwitchingEntry, LastMinuteOfTheDayWeekly)
{
    open();
    choose("liststd", 23);
    choose("listmin", 59);
    choose("LstPrio", 2);
    click("chkSonntag");
    click("chkKan3");
    click("cmdSzOk");
    ASSERT_EQ(used(), 1);
    EXPECT_EQ(record(0).b0, 217);
    EXPECT_EQ(record(0).b1, 242);
    EXPECT_EQ(record(0).b4, 4);
    EXPECT_EQ(find<QLabel>("lbloldprio")->text(), "prio. 2");
}

TEST_F(SwitchingEntry, LeapDayOnceAfterChoosingDay31)
{
    open();
    choose("liststd", 12);
    choose("listmin", 34);
    choose("Listtag", 30);
    EXPECT_EQ(text("txtAnztag"), "31. ");
    choose("LstMonat", 1);
    EXPECT_EQ(row("Listtag"), 28); // the 29th
    EXPECT_EQ(prompter.beeps, 1);
    EXPECT_TRUE(shown("chk1x"));
    click("chk1x");
    click("chkKan2");
    click("cmdSzOk");
    ASSERT_EQ(used(), 1);
    const int m = 12 * 60 + 34;
    EXPECT_EQ(BytesOf(record(0)), (Bytes{m >> 4, (m & 15) * 16 + 2, 0, 93, 2, 1}));
}

TEST_F(SwitchingEntry, HalfPastSixWorkdaysTyped)
{
    open();
    type("txtAnzstd", "6");
    leave("txtAnzstd");
    type("txtAnzMin", "30");
    leave("txtAnzMin");
    EXPECT_EQ(row("liststd"), 6);
    EXPECT_EQ(row("listmin"), 30);
    for (const char *day : {"chkMontag", "chkDienstag", "chkMittwoch", "chkDonnerstag", "chkFreitag"})
        click(day);
    click("chkKan1");
    click("cmdSzOk");
    ASSERT_EQ(used(), 1);
    EXPECT_EQ(BytesOf(record(0)), (Bytes{152, 96, 0, 31, 1, 1}));
    EXPECT_EQ(prompter.beeps, 0);
}

TEST_F(SwitchingEntry, TypedFieldsTakeOnlyDigits)
{
    open();
    type("txtAnzstd", "1a2");
    EXPECT_EQ(text("txtAnzstd"), "12");
    EXPECT_EQ(prompter.beeps, 1);
    QTest::keyClick(find<QLineEdit>("txtAnzstd"), Qt::Key_Backspace);
    EXPECT_EQ(text("txtAnzstd"), "1");
    EXPECT_EQ(prompter.beeps, 1);
}

TEST_F(SwitchingEntry, OutOfRangeValueBeepsAndKeepsTheFocus)
{
    open();
    activate();
    type("txtAnzstd", "24");
    find<QListWidget>("listmin")->setFocus(Qt::TabFocusReason);
    EXPECT_TRUE(waitUntil([&] { return find<QLineEdit>("txtAnzstd")->hasFocus(); }));
    EXPECT_EQ(prompter.beeps, 1);
    EXPECT_EQ(row("liststd"), 0);
    type("txtAnzstd", "23");
    leave("txtAnzstd");
    EXPECT_EQ(row("liststd"), 23);
    EXPECT_EQ(prompter.beeps, 1);

    struct Case {
        const char *field;
        const char *value;
    };
    for (const Case c : {Case{"txtAnzMin", "60"}, Case{"txtAnzImp", "60"}, Case{"txtAnzPrio", "10"},
                         Case{"txtAnztag", "32"}, Case{"txtAnztag", "0"}, Case{"txtAnzMon", "13"}}) {
        const int before = prompter.beeps;
        type(c.field, c.value);
        leave(c.field);
        EXPECT_EQ(prompter.beeps, before + 1) << c.field << " " << c.value;
        // Put a valid value back so the field lets the focus go.
        type(c.field, "1");
        leave(c.field);
    }
}

// A value still in the field when OK is clicked is never replaced by what the list holds: an
// out-of-range one refuses the OK, in enter mode and in a change run alike.
TEST_F(SwitchingEntry, OkRefusesAnOutOfRangeTypedValue)
{
    const ProgramRecord stored = Rec(128 + (9 * 60 + 45) / 16, ((9 * 60 + 45) % 16) << 4, 1, 1, 1);
    ASSERT_TRUE(model.appendRecord(SetProgram, stored));
    model.Marked = {0};
    model.FirstMarked = model.LastMarked = 0;
    for (int mode : {EditEnter, EditChange}) {
        SCOPED_TRACE(mode);
        open(mode);
        choose("liststd", 9);
        choose("listmin", 45);
        if (mode == EditEnter) {
            click("chkDienstag");
            click("chkKan1");
        }
        prompter.beeps = 0;
        type("txtAnzMin", "75");
        QTest::mouseClick(find<QPushButton>("cmdSzOk"), Qt::LeftButton);
        EXPECT_EQ(prompter.beeps, 1); // one beep, though the field is left and OK refuses
        EXPECT_TRUE(waitUntil([&] { return find<QLineEdit>("txtAnzMin")->hasFocus(); }));
        EXPECT_EQ(text("txtAnzMin"), "75");
        EXPECT_EQ(row("listmin"), 45);
        EXPECT_EQ(used(), 1);
        EXPECT_EQ(record(0), stored);
        EXPECT_TRUE(dlg->isVisible());
        // The field takes no more digits than its range has.
        type("txtAnzMin", "123");
        EXPECT_EQ(text("txtAnzMin"), "12");
        leave("txtAnzMin");
        click("cmdSzEnd");
    }
}

TEST_F(SwitchingEntry, ValidTypedValuesSelectTheListItems)
{
    open();
    type("txtAnzImp", "7");
    leave("txtAnzImp");
    EXPECT_EQ(row("listimp"), 7);
    EXPECT_EQ(text("txtAnzImp"), " 7  sec");
    type("txtAnzPrio", "9");
    leave("txtAnzPrio");
    EXPECT_EQ(row("LstPrio"), 9);
    type("txtAnztag", "1");
    leave("txtAnztag");
    EXPECT_EQ(row("Listtag"), 0);
    EXPECT_EQ(text("txtAnztag"), "1st");
    type("txtAnzMon", "4");
    leave("txtAnzMon");
    EXPECT_EQ(row("LstMonat"), 3);
    EXPECT_EQ(text("txtAnzMon"), "april");
    // Leaving an untouched month name is fine.
    const int beeps = prompter.beeps;
    leave("txtAnzMon");
    EXPECT_EQ(prompter.beeps, beeps);
    type("txtAnztag", "31");
    leave("txtAnztag");
    EXPECT_EQ(row("Listtag"), 29); // April has 30 days
    EXPECT_EQ(prompter.beeps, beeps + 1);
}

TEST_F(SwitchingEntry, ProgramEightCannotBeTypedOnABusDevice)
{
    model.device.BusDevice = 1;
    open();
    EXPECT_EQ(find<QListWidget>("LstPrio")->count(), 8);
    type("txtAnzPrio", "8");
    leave("txtAnzPrio");
    EXPECT_EQ(prompter.beeps, 1);
    EXPECT_EQ(row("LstPrio"), 0);
    type("txtAnzPrio", "7");
    leave("txtAnzPrio");
    EXPECT_EQ(row("LstPrio"), 7);
}

TEST_F(SwitchingEntry, WeekdaysAndDatesExcludeEachOther)
{
    open();
    EXPECT_EQ(find<QListWidget>("LstPrio")->count(), 10);
    click("chktgl");
    for (const char *day : {"chkMontag", "chkDienstag", "chkMittwoch", "chkDonnerstag", "chkFreitag",
                            "chkSamstag", "chkSonntag"})
        EXPECT_TRUE(checked(day));
    click("chkMontag");
    EXPECT_FALSE(checked("chktgl"));

    choose("LstMonat", 5); // a month without a day gives the 1st
    EXPECT_EQ(row("Listtag"), 0);
    EXPECT_EQ(text("txtAnztag"), "1st");
    EXPECT_EQ(text("txtAnzMon"), "june");
    EXPECT_FALSE(checked("chkDienstag"));
    EXPECT_TRUE(shown("chk1x"));
    EXPECT_FALSE(find<QListWidget>("LstPrio")->isEnabled());
    EXPECT_FALSE(shown("LblÜsPrio"));
    click("chk1x");

    click("chkMittwoch");
    EXPECT_EQ(text("txtAnztag"), "");
    EXPECT_EQ(text("txtAnzMon"), "");
    EXPECT_FALSE(shown("chk1x"));
    EXPECT_FALSE(checked("chk1x"));
    EXPECT_TRUE(find<QListWidget>("LstPrio")->isEnabled());
    EXPECT_TRUE(shown("LblÜsPrio"));
    EXPECT_EQ(dlg->currentValues().kind, EntryKind::Weekly);
    EXPECT_EQ(dlg->currentValues().weekdayMask, 4);
}

TEST_F(SwitchingEntry, TickedBoxesAreLightBlue)
{
    open();
    click("chkMontag");
    click("chkKan2");
    const QColor blue(128, 128, 255), grey(192, 192, 192);
    EXPECT_EQ(find<QWidget>("chkMontag")->palette().color(QPalette::Window), blue);
    EXPECT_EQ(find<QWidget>("chkDienstag")->palette().color(QPalette::Window), grey);
    EXPECT_EQ(find<QWidget>("chkKan2")->palette().color(QPalette::Window), blue);
    click("chkMontag");
    EXPECT_EQ(find<QWidget>("chkMontag")->palette().color(QPalette::Window), grey);
}

TEST_F(SwitchingEntry, OnOffButtonToggles)
{
    open();
    click("cmdEinAus");
    EXPECT_EQ(find<QPushButton>("cmdEinAus")->text(), "OFF");
    click("chkMontag");
    click("chkKan1");
    click("cmdSzOk");
    EXPECT_EQ(record(0).b5, 0);
    click("cmdEinAus");
    EXPECT_EQ(find<QPushButton>("cmdEinAus")->text(), "ON");
}

TEST_F(SwitchingEntry, RefusesEntriesWithoutDaysOrChannels)
{
    open();
    click("chkKan1");
    click("cmdSzOk");
    EXPECT_EQ(prompter.last(), "Date or days of the week not complete !");
    EXPECT_EQ(prompter.shown.back().icon, Icon::Critical);
    click("chkKan1");
    click("chkMontag");
    click("cmdSzOk");
    EXPECT_EQ(prompter.last(), "No channels selected !");
    EXPECT_EQ(used(), 0);
    EXPECT_EQ(model.Modified, 0);
    EXPECT_TRUE(dlg->isVisible());
}

// ---- Channels per device ----

TEST_F(SwitchingEntry, ConventionalChannelBoxesFollowTheChannelCount)
{
    model.device.Kanalzahl = 2;
    open();
    EXPECT_FALSE(shown("fraEIB"));
    EXPECT_TRUE(shown("chkKan1"));
    EXPECT_TRUE(shown("chkKan2"));
    EXPECT_FALSE(shown("chkKan3"));
    EXPECT_FALSE(shown("chkKan4"));
    EXPECT_TRUE(shown("cmdEinAus"));
    EXPECT_FALSE(shown("vsbwert"));
}

TEST_F(SwitchingEntry, OneChannelIsTickedAndFixedWithTheUtilityOption)
{
    model.device.Kanalzahl = 1;
    model.device.Evu = 1;
    open();
    EXPECT_TRUE(checked("chkKan1"));
    EXPECT_FALSE(find<QWidget>("chkKan1")->isEnabled());
    click("chkMontag");
    click("cmdSzOk");
    EXPECT_EQ(record(0).b4, 1);
}

TEST_F(SwitchingEntry, OneChannelStaysEnabledWithoutTheUtilityOption)
{
    model.device.Kanalzahl = 1;
    model.device.Evu = 0;
    open();
    EXPECT_TRUE(checked("chkKan1"));
    EXPECT_TRUE(find<QWidget>("chkKan1")->isEnabled());
}

TEST_F(SwitchingEntry, MeterPulseChannelCannotBeChosen)
{
    model.device.Kanalzahl = 3;
    model.device.Evu = 1;
    model.device.MessKanal = 2;
    open();
    EXPECT_TRUE(find<QWidget>("chkKan1")->isEnabled());
    EXPECT_FALSE(find<QWidget>("chkKan2")->isEnabled());
    EXPECT_TRUE(find<QWidget>("chkKan3")->isEnabled());
}

TEST_F(SwitchingEntry, MoreThanFourConventionalChannelsShowFour)
{
    model.device.Kanalzahl = 6;
    open();
    EXPECT_TRUE(shown("chkKan4"));
    EXPECT_EQ(model.device.Kanalzahl, 4);
}

TEST_F(SwitchingEntry, BusDeviceChoosesOneChannelAndAValue)
{
    model.device.BusDevice = 1;
    model.device.Kanalzahl = 8;
    open();
    EXPECT_TRUE(shown("fraEIB"));
    EXPECT_FALSE(shown("chkKan1"));
    EXPECT_TRUE(shown("optkan8"));
    EXPECT_FALSE(shown("cmdEinAus"));
    click("chkMontag");
    click("optkan8");
    EXPECT_EQ(find<QWidget>("optkan8")->palette().color(QPalette::Window), QColor(128, 128, 255));
    find<QScrollBar>("vsbwert")->setValue(200);
    click("cmdSzOk");
    ASSERT_EQ(used(), 1);
    EXPECT_EQ(BytesOf(record(0)), (Bytes{128, 8, 0, 1, 200, 3}));
}

TEST_F(SwitchingEntry, FourChannelBusDeviceHidesChannels5To8)
{
    model.device.BusDevice = 1;
    model.device.Kanalzahl = 4;
    open();
    EXPECT_TRUE(shown("optkan4"));
    for (const char *name : {"optkan5", "optkan6", "optkan7", "optkan8"})
        EXPECT_FALSE(shown(name)) << name;
}

TEST_F(SwitchingEntry, AstroDeviceKeepsChannels1And2ApartAndHasNoPulses)
{
    model.device.Uhrentyp = TypeAstro;
    model.device.RecordCapacity = CapacityAstro;
    model.device.Kanalzahl = 2;
    open();
    click("chkKan1");
    click("chkKan2");
    EXPECT_FALSE(checked("chkKan1"));
    click("chkKan1");
    EXPECT_FALSE(checked("chkKan2"));
    EXPECT_FALSE(find<QWidget>("listimp")->isEnabled());
    EXPECT_FALSE(find<QWidget>("txtAnzImp")->isEnabled());
    EXPECT_FALSE(shown("LblÜsImp"));
}

TEST_F(SwitchingEntry, ValueLabelFollowsTheFormat)
{
    model.device.BusDevice = 1;
    open();
    auto *bar = find<QScrollBar>("vsbwert");
    auto *format = find<QComboBox>("cboformat");
    auto *label = find<QLabel>("lblwert");
    EXPECT_EQ(bar->maximum(), 255);
    EXPECT_EQ(bar->pageStep(), 10);
    bar->setValue(255);
    EXPECT_EQ(label->text(), "255");
    format->setCurrentIndex(1);
    EXPECT_EQ(label->text(), "$FF");
    format->setCurrentIndex(2);
    EXPECT_EQ(label->text(), "100%");
    bar->setValue(128);
    EXPECT_EQ(label->text(), "50.1%");
    bar->setValue(0);
    EXPECT_EQ(label->text(), "0%");
}

TEST_F(SwitchingEntry, DigitKeysReplaceTheLastDigitOfTheValue)
{
    model.device.BusDevice = 1;
    open();
    auto *bar = find<QScrollBar>("vsbwert");
    bar->setValue(25);
    QTest::keyClick(bar, Qt::Key_3);
    EXPECT_EQ(bar->value(), 23);
    bar->setValue(250);
    QTest::keyClick(bar, Qt::Key_9);
    EXPECT_EQ(bar->value(), 250); // 259 is beyond the scroll bar
}

// ---- Comparison with stored entries ----

// One wiring case per outcome of the store (the entry store's own test has the comparisons): the
// dialog hands its entry over, says or asks what the store says and shows the result.
struct ConflictCase {
    const char *name;
    int bus;                     // conventional: channel 1 (and 2), else bus channel 1 with `value`
    ProgramRecord existing;      // 06:30 Monday..Friday
    bool off, secondChannel;     // what the entry changes: the state, a second channel
    int pulse, value;            // pulse seconds, bus value
    std::vector<Answer> answers; // to the question asked
    const char *message;         // the text said or asked, "" for none
    int used;                    // records afterwards
    bool (*firstRecord)(const ProgramRecord &); // what became of the stored one
};

const ConflictCase conflictCases[] = {
    {"SameEntryExists",
     0,
     Rec(152, 96, 31, 1, 1),
     false,
     false,
     0,
     0,
     {},
     "This program already exists !",
     1,
     [](const ProgramRecord &r) { return r.b5 == 1; }},
    {"InvertedStateReplacedOnYes",
     0,
     Rec(152, 96, 31, 1, 1),
     true,
     false,
     0,
     0,
     {Answer::Yes},
     "This program exist already with the inverted switching state ! Overwrite ",
     1,
     [](const ProgramRecord &r) { return r.b5 == 0; }},
    {"InvertedStateKeptOnNo",
     0,
     Rec(152, 96, 31, 1, 1),
     true,
     false,
     0,
     0,
     {Answer::No},
     "This program exist already with the inverted switching state ! Overwrite ",
     1,
     [](const ProgramRecord &r) { return r.b5 == 1; }},
    {"SecondPulseReplacedOnYes",
     0,
     Rec(152, 96, 31, 1, 5 * 4 + 1),
     false,
     false,
     9,
     0,
     {Answer::Yes},
     "There is already a puls! Overwrite?",
     1,
     [](const ProgramRecord &r) { return PulseLength(r) == 9; }},
    {"OtherChannelsAreANewEntry",
     0,
     Rec(152, 96, 31, 1, 1),
     false,
     true,
     0,
     0,
     {},
     "",
     2,
     [](const ProgramRecord &r) { return r.b4 == 1; }},
    {"BusOtherValueIsTheInvertedQuestion",
     1,
     Rec(152, 96, 31, 200, 0),
     false,
     false,
     0,
     10,
     {Answer::Yes},
     "This program exist already with the inverted switching state ! Overwrite ",
     1,
     [](const ProgramRecord &r) { return r.b4 == 10; }},
};

class SwitchingConflicts : public EntryDialogTest, public ::testing::WithParamInterface<ConflictCase> {};

TEST_P(SwitchingConflicts, TheDialogShowsWhatTheStoreDecides)
{
    const ConflictCase &c = GetParam();
    model.device.BusDevice = c.bus;
    model.device.Kanalzahl = c.bus ? 8 : 4;
    model.appendRecord(SetProgram, c.existing);
    model.Modified = 0;
    open();
    prompter.answers.assign(c.answers.begin(), c.answers.end());
    choose("liststd", 6);
    choose("listmin", 30);
    for (const char *day : {"chkMontag", "chkDienstag", "chkMittwoch", "chkDonnerstag", "chkFreitag"})
        click(day);
    choose("listimp", c.pulse);
    if (c.bus) {
        click("optkan1");
        find<QScrollBar>("vsbwert")->setValue(c.value);
    } else {
        if (!checked("chkKan1"))
            click("chkKan1");
        if (c.secondChannel)
            click("chkKan2");
        if (c.off)
            click("cmdEinAus");
    }
    click("cmdSzOk");
    if (*c.message)
        EXPECT_EQ(prompter.last(), c.message);
    else
        EXPECT_TRUE(prompter.shown.empty()) << qPrintable(prompter.last());
    EXPECT_EQ(used(), c.used);
    EXPECT_TRUE(c.firstRecord(record(0)));
    // a refusal leaves the program untouched
    const bool changed = c.used > 1 || !c.firstRecord(c.existing);
    EXPECT_EQ(model.Modified, changed ? 1 : 0);
}

INSTANTIATE_TEST_SUITE_P(Outcomes, SwitchingConflicts, ::testing::ValuesIn(conflictCases),
                         [](const auto &info) { return std::string(info.param.name); });

// ---- Memory full ----

class MemoryFullEntry : public EntryDialogTest, public ::testing::WithParamInterface<std::pair<int, int>> {};

TEST_P(MemoryFullEntry, LastSlotClosesAndReopeningSaysSoAtOnce)
{
    const auto [type, capacity] = GetParam();
    model.device.Uhrentyp = type;
    model.device.RecordCapacity = capacity;
    model.device.Kanalzahl = 2;
    fillProgram(capacity - 1);
    model.automation.AutomationActive = 1;
    open();
    click("chkMontag");
    click("chkKan1");
    click("cmdSzOk");
    EXPECT_EQ(used(), capacity);
    EXPECT_EQ(prompter.last(), "No more memory space!");
    EXPECT_FALSE(dlg->isVisible());
    EXPECT_EQ(model.automation.AutomationActive, 0);
    EXPECT_EQ(model.EditMode, 0);

    prompter.shown.clear();
    open();
    EXPECT_EQ(prompter.messages(), QStringList{"No more memory space!"});
    EXPECT_FALSE(dlg->isVisible());
    EXPECT_EQ(used(), capacity);
}

INSTANTIATE_TEST_SUITE_P(Devices, MemoryFullEntry,
                         ::testing::Values(std::pair{TypeAnnual, CapacityAnnual},
                                           std::pair{TypeAstro, CapacityAstro}));

// ---- Change and copy runs ----

TEST_F(SwitchingEntry, ChangeWritesBackInPlaceAndWalksTheMarkedRows)
{
    model.appendRecord(SetProgram, Rec(152, 96, 31, 1, 1));     // 06:30 Mo-Fr C1 ON
    model.appendRecord(SetProgram, Rec(128 + 30, 0, 96, 2, 0)); // 08:00 Sa Su C2 OFF
    model.Modified = 0;
    model.Marked = {1, 0};
    model.FirstMarked = 0;
    model.LastMarked = 1;
    model.automation.AutomationActive = 1;
    open(EditChange);
    EXPECT_EQ(dlg->windowTitle(), "Change The Switching Program  (1 of 2)");
    EXPECT_EQ(model.automation.AutomationActive, 0);
    EXPECT_FALSE(checked("Chkautopil"));
    EXPECT_EQ(row("liststd"), 8);
    EXPECT_TRUE(checked("chkSamstag"));
    EXPECT_TRUE(checked("chkKan2"));
    EXPECT_FALSE(checked("chkKan1"));
    EXPECT_EQ(find<QPushButton>("cmdEinAus")->text(), "OFF");

    click("cmdSzOk"); // unchanged: no conflict with itself
    EXPECT_TRUE(prompter.shown.empty());
    EXPECT_EQ(used(), 2);
    EXPECT_EQ(model.Modified, 1);
    EXPECT_TRUE(dlg->isVisible());
    EXPECT_EQ(row("liststd"), 6); // the second marked row is loaded

    choose("listmin", 45);
    click("cmdSzOk");
    EXPECT_FALSE(dlg->isVisible());
    EXPECT_EQ(model.EditMode, 0);
    EXPECT_EQ(used(), 2);
    int found = 0;
    for (int i = 0; i < used(); ++i) {
        if (BytesOf(record(i)) == Bytes{153, 5 * 16, 0, 31, 1, 1})
            ++found;
        if (BytesOf(record(i)) == Bytes{158, 0, 0, 96, 2, 0})
            ++found;
    }
    EXPECT_EQ(found, 2);
}

TEST_F(SwitchingEntry, CopyAppendsTheMarkedTemplateRowsWithTheChosenChannels)
{
    model.set(SetTemplate).Records[0] = Rec(152, 96, 31, 1, 1);
    model.set(SetTemplate).Records[1] = Rec(5, 3, 64 + 10, 4, 0); // 01:20 on 10 March, once
    model.set(SetTemplate).UsedCount = 2;
    model.set(SetTemplate).SzCount = 2;
    model.Marked = {0, 1};
    model.FirstMarked = 0;
    model.LastMarked = 1;
    model.SortColumnSz = 2;
    open(EditCopy);
    EXPECT_EQ(dlg->windowTitle(), "Copy The Switching Program  (1 of 2)");
    EXPECT_TRUE(find<QWidget>("Cmdalleok")->isEnabled());
    EXPECT_FALSE(checked("chkKan1")); // copy does not load channels
    click("chkKan2");
    click("Cmdalleok");
    waitUntil([&] { return !dlg->isVisible(); });
    EXPECT_FALSE(dlg->isVisible());
    EXPECT_TRUE(prompter.shown.empty());
    ASSERT_EQ(used(), 2);
    EXPECT_EQ(model.program().SzCount, 2);
    EXPECT_EQ(model.EditMode, 0);
    // Re-ordered by time on closing: the dated 01:20 comes first.
    EXPECT_EQ(BytesOf(record(0)), (Bytes{5, 3, 0, 74, 2, 0}));
    EXPECT_EQ(BytesOf(record(1)), (Bytes{152, 96, 0, 31, 2, 1}));
}

TEST_F(SwitchingEntry, OkForAllStopsAtTheFirstRefusal)
{
    model.set(SetTemplate).Records[0] = Rec(152, 96, 31, 1, 1);
    model.set(SetTemplate).Records[1] = Rec(153, 96, 31, 1, 1);
    model.set(SetTemplate).UsedCount = 2;
    model.Marked = {0, 1};
    model.FirstMarked = 0;
    model.LastMarked = 1;
    open(EditCopy);
    click("Cmdalleok"); // no channel ticked
    ASSERT_TRUE(waitUntil([&] { return !prompter.messages().isEmpty(); }));
    EXPECT_EQ(prompter.messages(), QStringList{"No channels selected !"});
    EXPECT_FALSE(find<QTimer>("tmalleok")->isActive());
    EXPECT_TRUE(dlg->isVisible());
    EXPECT_EQ(used(), 0);
}

TEST_F(SwitchingEntry, ClosingReordersAndResetsTheMode)
{
    model.SortColumnSz = 2;
    open();
    click("chkMontag");
    click("chkKan1");
    choose("liststd", 7);
    click("cmdSzOk");
    choose("liststd", 6);
    click("cmdSzOk");
    EXPECT_EQ(MinuteOfDay(record(0)), 7 * 60); // entries stand in entry order while open
    const int signalsBefore = listSignals;
    click("cmdSzEnd");
    EXPECT_FALSE(dlg->isVisible());
    EXPECT_EQ(MinuteOfDay(record(0)), 6 * 60);
    EXPECT_GT(listSignals, signalsBefore);
    EXPECT_EQ(model.EditMode, 0);
}

// ---- Last-entry panel ----

TEST_F(SwitchingEntry, PanelStepsOverPriorityTimes)
{
    model.appendRecord(SetProgram, Rec(152, 96, 31, 1, 1));
    model.appendRecord(SetProgram, Rec(100, 1, 1, 1, 3));         // a priority time
    model.appendRecord(SetProgram, Rec(160, 3, 1, 2, 5 * 4 + 1)); // 08:32 prio 3, 5 s pulse
    open();
    EXPECT_EQ(dlg->lastEntryIndex(), 3);
    click("imgoldSzdown");
    EXPECT_EQ(dlg->lastEntryIndex(), 2);
    EXPECT_EQ(find<QLabel>("lbloldtime")->text(), views::TimeText(model, 8 * 60 + 32));
    EXPECT_EQ(find<QLabel>("lbloldprio")->text(), "prio. 3");
    EXPECT_EQ(find<QLabel>("lbloldimp")->text(), views::PulseText(model, 5));
    click("imgoldSzdown");
    EXPECT_EQ(dlg->lastEntryIndex(), 0);
    EXPECT_EQ(prompter.beeps, 0);
    click("imgoldSzdown");
    EXPECT_EQ(prompter.beeps, 1);
    EXPECT_EQ(dlg->lastEntryIndex(), 0);
    click("imgoldSzup");
    EXPECT_EQ(dlg->lastEntryIndex(), 2);
    click("imgoldSzup");
    EXPECT_EQ(prompter.beeps, 2);
}

TEST_F(SwitchingEntry, PanelStepsBackFromTheStoredEntry)
{
    model.appendRecord(SetProgram, Rec(152, 96, 31, 1, 1));
    model.appendRecord(SetProgram, Rec(153, 96, 31, 1, 1));
    open();
    click("chkSonntag");
    click("chkKan4");
    click("cmdSzOk");
    EXPECT_EQ(dlg->lastEntryIndex(), 2);
    click("imgoldSzdown");
    EXPECT_EQ(dlg->lastEntryIndex(), 1);
}

// ---- The entry survives saving and opening ----

TEST_F(SwitchingEntry, HalfPastSixWorkdaysSurvivesSaveAndOpen)
{
    TempDir dir;
    model.program().FileName = dir.file("entry.zxp");
    open();
    choose("liststd", 6);
    choose("listmin", 30);
    for (const char *day : {"chkMontag", "chkDienstag", "chkMittwoch", "chkDonnerstag", "chkFreitag"})
        click(day);
    click("chkKan1");
    click("cmdSzOk");
    click("cmdSzEnd");
    ASSERT_TRUE(SaveProgram(model, prompter, clock));
    EXPECT_EQ(model.Modified, 0);

    Model reopened;
    ScriptedPrompter quiet;
    ASSERT_EQ(LoadProgram(reopened, quiet, dir.file("entry.zxp"), false, SetProgram), LoadResult::Loaded);
    const ProgramSet &p = reopened.program();
    ASSERT_EQ(p.UsedCount, 1);
    EXPECT_EQ(p.SzCount, 1);
    EXPECT_EQ(BytesOf(p.Records[0]), (Bytes{152, 96, 0, 31, 1, 1}));
}
