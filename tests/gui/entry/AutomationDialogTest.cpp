#include "EntryDialogFixture.h"

#include "entry/AutomationDialog.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>

using namespace zx;
using namespace zx::test;

namespace {

class Automation : public EntryDialogTest {
  protected:
    QListWidget *list(const char *name) { return find<QListWidget>(name); }
};

class AutomationSettingsDialog : public EntryDialogTest {
  protected:
    std::unique_ptr<AutomationDialog> settings;
    void openSettings()
    {
        settings = std::make_unique<AutomationDialog>(ctx);
        settings->show();
    }
    template <class T> T *get(const char *name) { return Control<T>(settings.get(), name); }
};

} // namespace

TEST_F(Automation, MinutesPastMidnightMoveTheWeekdayTicks)
{
    model.automation.IncMinutes = 15;
    open();
    choose("liststd", 23);
    choose("listmin", 50);
    click("chkMontag");
    click("chkFreitag");
    click("Cmd1xauto");
    EXPECT_EQ(row("liststd"), 0);
    EXPECT_EQ(row("listmin"), 5);
    EXPECT_EQ(text("txtAnzMin"), "05");
    EXPECT_FALSE(checked("chkMontag"));
    EXPECT_TRUE(checked("chkDienstag"));
    EXPECT_TRUE(checked("chkSamstag"));
}

TEST_F(Automation, DaysCarryIntoTheNextMonth)
{
    model.automation.IncDays = 5;
    open();
    choose("LstMonat", 3);
    choose("Listtag", 29); // 30 April
    click("Cmd1xauto");
    EXPECT_EQ(row("Listtag"), 4);
    EXPECT_EQ(row("LstMonat"), 4);
    EXPECT_EQ(text("txtAnztag"), "5. ");
    EXPECT_EQ(text("txtAnzMon"), "may");
    EXPECT_TRUE(shown("chk1x"));
}

TEST_F(Automation, BusValueWraps)
{
    model.device.BusDevice = 1;
    model.automation.IncState = 10;
    open();
    find<QScrollBar>("vsbwert")->setValue(250);
    click("Cmd1xauto");
    EXPECT_EQ(find<QScrollBar>("vsbwert")->value(), 4);
}

TEST_F(Automation, ProgramListStopsAtItsLastItem)
{
    model.automation.IncPriority = 1;
    open();
    click("chkMontag");
    choose("LstPrio", 8);
    click("Cmd1xauto");
    EXPECT_EQ(row("LstPrio"), 9);
    click("Cmd1xauto");
    EXPECT_EQ(row("LstPrio"), 9);
}

TEST_F(Automation, StateToggles)
{
    model.automation.IncState = 1;
    open();
    click("Cmd1xauto");
    EXPECT_EQ(find<QPushButton>("cmdEinAus")->text(), "OFF");
}

TEST_F(Automation, AppliedAfterEveryStoredEntry)
{
    model.automation.IncMinutes = 10;
    open();
    click("Chkautopil");
    EXPECT_EQ(model.automation.AutomationActive, 1);
    EXPECT_FALSE(find<QWidget>("Cmdalleok")->isEnabled());
    choose("liststd", 6);
    click("chkMontag");
    click("chkKan1");
    click("cmdSzOk");
    EXPECT_EQ(row("listmin"), 10);
    click("cmdSzOk");
    click("cmdSzOk");
    ASSERT_EQ(used(), 3);
    EXPECT_EQ(MinuteOfDay(record(2)), 6 * 60 + 20);
    EXPECT_TRUE(prompter.shown.empty());
}

TEST_F(Automation, ChangeRunShiftsAllMarkedEntries)
{
    model.automation.IncHours = 1;
    model.automation.AutomationActive = 1;
    for (int h : {6, 7, 8})
        model.appendRecord(SetProgram, Rec(128 + h * 60 / 16, ((h * 60) % 16) << 4, 1, 1, 1));
    model.Marked = {2, 1, 0}; // from the latest, so that no shifted entry meets an unshifted one
    model.FirstMarked = 0;
    model.LastMarked = 2;
    open(EditChange);
    EXPECT_FALSE(checked("Chkautopil"));
    EXPECT_FALSE(find<QWidget>("Cmdalleok")->isEnabled());
    click("Chkautopil");
    EXPECT_TRUE(find<QWidget>("Cmdalleok")->isEnabled());
    click("Cmd1xauto");
    click("Cmdalleok");
    waitUntil([&] { return !dlg->isVisible(); });
    EXPECT_FALSE(dlg->isVisible());
    EXPECT_TRUE(prompter.shown.empty());
    ASSERT_EQ(used(), 3);
    QList<int> hours;
    for (int i = 0; i < used(); ++i)
        hours << MinuteOfDay(record(i)) / 60;
    std::sort(hours.begin(), hours.end());
    EXPECT_EQ(hours, (QList<int>{7, 8, 9}));
}

TEST_F(Automation, NewOpensTheSettingsModeless)
{
    open();
    click("cmdneuassi");
    auto *settings = dlg->findChild<AutomationDialog *>("frmAutoEinst");
    ASSERT_NE(settings, nullptr);
    EXPECT_TRUE(settings->isVisible());
    EXPECT_FALSE(settings->isModal());
    EXPECT_TRUE(dlg->isVisible());
    click("cmdneuassi");
    EXPECT_EQ(dlg->findChildren<AutomationDialog *>().size(), 1);
}

TEST_F(AutomationSettingsDialog, LabelsNameTheAmounts)
{
    openSettings();
    EXPECT_EQ(settings->windowTitle(), "Edit Assistant");
    auto *minutes = get<QScrollBar>("hsbincmin");
    auto *hours = get<QScrollBar>("HsbIncStd");
    auto *days = get<QScrollBar>("HsbincTag");
    EXPECT_EQ(minutes->maximum(), 59);
    EXPECT_EQ(minutes->pageStep(), 10);
    EXPECT_EQ(hours->maximum(), 23);
    EXPECT_EQ(hours->pageStep(), 6);
    EXPECT_EQ(days->maximum(), 364);
    EXPECT_EQ(get<QLabel>("lblincmin")->text(), "0 minutes");
    minutes->setValue(1);
    EXPECT_EQ(get<QLabel>("lblincmin")->text(), "1 minute");
    minutes->setValue(15);
    EXPECT_EQ(get<QLabel>("lblincmin")->text(), "15 minutes");
    hours->setValue(1);
    EXPECT_EQ(get<QLabel>("lblIncStd")->text(), "1 hour");
    hours->setValue(6);
    EXPECT_EQ(get<QLabel>("lblIncStd")->text(), "6 hours");
    days->setValue(1);
    EXPECT_EQ(get<QLabel>("lblincTag")->text(), "1 day (only date)");
    days->setValue(10);
    EXPECT_EQ(get<QLabel>("lblincTag")->text(), "10 days (only date) ");
    EXPECT_TRUE(!get<QWidget>("chkincZust")->isHidden());
    EXPECT_TRUE(get<QWidget>("hsbwert")->isHidden());
}

TEST_F(AutomationSettingsDialog, OkStoresAndCancelDoesNot)
{
    openSettings();
    get<QScrollBar>("hsbincmin")->setValue(15);
    get<QScrollBar>("HsbIncStd")->setValue(2);
    get<QScrollBar>("HsbincTag")->setValue(7);
    get<QCheckBox>("chkincWtag")->setChecked(true);
    get<QCheckBox>("chkincPrio")->setChecked(true);
    get<QCheckBox>("chkincZust")->setChecked(true);
    get<QPushButton>("cmdEinstend")->click();
    EXPECT_FALSE(settings->isVisible());
    EXPECT_EQ(model.automation.IncMinutes, 0);

    openSettings();
    EXPECT_EQ(get<QScrollBar>("hsbincmin")->value(), 0);
    get<QScrollBar>("hsbincmin")->setValue(15);
    get<QScrollBar>("HsbIncStd")->setValue(2);
    get<QScrollBar>("HsbincTag")->setValue(7);
    get<QCheckBox>("chkincWtag")->setChecked(true);
    get<QCheckBox>("chkincMon")->setChecked(true);
    get<QCheckBox>("chkincZust")->setChecked(true);
    get<QPushButton>("ChkEinstOk")->click();
    EXPECT_FALSE(settings->isVisible());
    const AutomationSettings &s = model.automation;
    EXPECT_EQ(s.IncMinutes, 15);
    EXPECT_EQ(s.IncHours, 2);
    EXPECT_EQ(s.IncDays, 7);
    EXPECT_EQ(s.IncWeekdays, 1);
    EXPECT_EQ(s.IncMonth, 1);
    EXPECT_EQ(s.IncPriority, 0);
    EXPECT_EQ(s.IncState, 1);

    openSettings(); // shows what was stored
    EXPECT_EQ(get<QScrollBar>("HsbincTag")->value(), 7);
    EXPECT_TRUE(get<QCheckBox>("chkincMon")->isChecked());
}

TEST_F(AutomationSettingsDialog, BusDeviceAddsAValueInsteadOfToggling)
{
    model.device.BusDevice = 1;
    model.automation.IncState = 10;
    openSettings();
    EXPECT_TRUE(get<QWidget>("chkincZust")->isHidden());
    EXPECT_FALSE(get<QWidget>("hsbwert")->isHidden());
    auto *value = get<QScrollBar>("hsbwert");
    EXPECT_EQ(value->value(), 10);
    EXPECT_EQ(value->maximum(), 255);
    EXPECT_EQ(value->pageStep(), 10);
    EXPECT_EQ(get<QLabel>("lblincwert")->text(), "10");
    value->setValue(30);
    get<QPushButton>("ChkEinstOk")->click();
    EXPECT_EQ(model.automation.IncState, 30);
}
