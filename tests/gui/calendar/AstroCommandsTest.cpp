#include "gui/app/MainWindowFixture.h"

#include "app/CommandWiring.h"
#include "calendar/AstroSettings.h"
#include "calendar/Sun.h"

#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>

using namespace zx;
using namespace zx::test;

namespace {

class AstroCommandsTest : public MainWindowTest {
  protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        model.device.Uhrentyp = TypeAstro;
        model.device.RecordCapacity = CapacityAstro;
        wireCommands(*w, ctx);
        w->redrawList();
    }
    template <class T> T *in(QWidget *dialog, const char *name)
    {
        T *obj = dialog->findChild<T *>(QString::fromUtf8(name));
        if (!obj)
            ADD_FAILURE() << "no control " << name;
        return obj;
    }
    QDialog *dialog(const char *name) { return w->findChild<QDialog *>(QString::fromUtf8(name)); }
    QDialog *openSettings()
    {
        EXPECT_TRUE(act("mnuAstroEin")->isEnabled());
        act("mnuAstroEin")->trigger();
        QDialog *d = dialog("frmastro");
        EXPECT_TRUE(d && d->isVisible());
        return d;
    }
    QStringList places(QDialog *d)
    {
        QStringList items;
        auto *combo = in<QComboBox>(d, "cboort");
        for (int i = 0; i < combo->count(); ++i)
            items << combo->itemText(i);
        return items;
    }
};

TEST_F(AstroCommandsTest, PlaceChosenAndConfirmedFillsTheAstroList)
{
    dir.write("english.ord", "2\r\nBerlin,333,35,44\r\nBremen,342,34,44\r\n");
    model.device.SwRegel = 1;
    QDialog *d = openSettings();
    ASSERT_TRUE(d);
    EXPECT_EQ(places(d), QStringList({"Berlin", "Bremen", "unknown"}));
    EXPECT_EQ(in<QComboBox>(d, "cboort")->currentText(), "unknown");

    auto *combo = in<QComboBox>(d, "cboort");
    combo->setCurrentIndex(1);
    Q_EMIT combo->activated(1);
    EXPECT_EQ(in<QScrollBar>(d, "vsb_Längengrad")->value(), 342);
    EXPECT_EQ(in<QLabel>(d, "lbl_Breitengrad")->text(), "53 degree north");
    // Moving a bar away from the place shows "unknown" again.
    in<QScrollBar>(d, "vsb_zeitzone")->setValue(40);
    EXPECT_EQ(combo->currentText(), "unknown");
    in<QScrollBar>(d, "vsb_zeitzone")->setValue(44);
    EXPECT_EQ(combo->currentText(), "Bremen");

    QTest::mouseClick(in<QPushButton>(d, "cmd_astro_ok"), Qt::LeftButton);
    QTRY_VERIFY(!dialog("frmastro"));
    EXPECT_EQ(model.astro.AstroPresent, -1);
    EXPECT_EQ(model.Modified, 1);
    EXPECT_EQ(model.astro.Latitude, 53.f);
    EXPECT_EQ(model.ListView, ListAstro);
    EXPECT_EQ(model.astro.AstroTable, BuildAstroTable(-9, 53, 60, 2026));
    // The clock's year (2026, 365 days); summer time from the last Sunday of March adds an hour.
    ASSERT_EQ(grid()->rowCount(), 365);
    EXPECT_EQ(cell(0, 4), views::TimeText(model, model.astro.AstroTable[0][1]));
    EXPECT_EQ(cell(180, 4), views::TimeText(model, model.astro.AstroTable[180][1] + 60));
}

TEST_F(AstroCommandsTest, AddAndDeletePlacesInTheLocationsFile)
{
    dir.write("english.ord", "2\r\nBerlin,333,35,44\r\nBremen,342,34,44\r\n");
    QDialog *d = openSettings();
    ASSERT_TRUE(d);
    in<QScrollBar>(d, "vsb_Längengrad")->setValue(346);
    in<QScrollBar>(d, "vsb_Breitengrad")->setValue(39);
    prompter.texts = {QStringLiteral("Bonn, Rhein")};
    QTest::mouseClick(in<QPushButton>(d, "cmdspeichern"), Qt::LeftButton);
    EXPECT_EQ(dir.read("english.ord"),
              "3\r\nBerlin,333,35,44\r\nBonn Rhein,346,39,44\r\nBremen,342,34,44\r\n");
    EXPECT_EQ(places(d), QStringList({"Berlin", "Bonn Rhein", "Bremen", "unknown"}));
    EXPECT_EQ(in<QComboBox>(d, "cboort")->currentText(), "Bonn Rhein");

    in<QComboBox>(d, "cboort")->setCurrentIndex(0);
    QTest::mouseClick(in<QPushButton>(d, "cmd_delete_ort"), Qt::LeftButton);
    EXPECT_EQ(dir.read("english.ord"), "2\r\nBonn Rhein,346,39,44\r\nBremen,342,34,44\r\n");

    // A damaged file is reported and neither read into the list nor overwritten.
    dir.write("english.ord", "3\r\nBerlin,333,35,44\r\n");
    prompter.texts = {QStringLiteral("Kiel")};
    QTest::mouseClick(in<QPushButton>(d, "cmdspeichern"), Qt::LeftButton);
    EXPECT_TRUE(prompter.last().contains(model.catalogue.text(Msg::IllegalFile)));
    EXPECT_EQ(dir.read("english.ord"), "3\r\nBerlin,333,35,44\r\n");
    EXPECT_EQ(prompter.texts.size(), 1u); // no name was asked for
    QTest::mouseClick(in<QPushButton>(d, "cmd_astro_end"), Qt::LeftButton);
    EXPECT_EQ(model.astro.AstroPresent, 0);
}

TEST_F(AstroCommandsTest, WithoutPlacesTheListIsHiddenAndTheFirstAddCreatesTheFile)
{
    QDialog *d = openSettings();
    ASSERT_TRUE(d);
    EXPECT_FALSE(in<QComboBox>(d, "cboort")->isVisible());
    EXPECT_FALSE(in<QPushButton>(d, "cmd_delete_ort")->isVisible());
    prompter.texts = {QStringLiteral("Home")};
    QTest::mouseClick(in<QPushButton>(d, "cmdspeichern"), Qt::LeftButton);
    EXPECT_EQ(dir.read("english.ord"), "1\r\nHome,360,140,44\r\n");
    EXPECT_TRUE(in<QComboBox>(d, "cboort")->isVisible());
    d->close();
}

TEST_F(AstroCommandsTest, ChangeToOverARangeAndShiftOfADoubleClickedCell)
{
    for (auto &day : model.astro.AstroTable)
        day = {1000, 400};
    model.astro.AstroTable[20][1] = 1380;
    model.astro.AstroPresent = -1;
    model.device.SwRegel = 0;
    w->showList(ListAstro, SetProgram);

    // Ten days of the "switch off at:" column.
    grid()->setCurrentCell(0, 3);
    grid()->setRangeSelected(QTableWidgetSelectionRange(0, 3, 9, 3), true);
    act("mnuAendern")->trigger();
    QDialog *d = dialog("frm_change_grid_data");
    ASSERT_TRUE(d);
    in<QRadioButton>(d, "opt_Ändern")->click();
    EXPECT_EQ(in<QLineEdit>(d, "txtAnzstd")->text(), "16");
    auto *hours = in<QLineEdit>(d, "txtAnzstd");
    hours->clear();
    QTest::keyClicks(hours, "6x");
    EXPECT_EQ(prompter.beeps, 1);
    auto *minutes = in<QLineEdit>(d, "txtAnzMin");
    minutes->clear();
    QTest::keyClicks(minutes, "75");
    QTest::mouseClick(in<QPushButton>(d, "cmdSzOk"), Qt::LeftButton);
    EXPECT_EQ(prompter.beeps, 2); // minute 75 refused, the dialog stays
    ASSERT_TRUE(d->isVisible());
    minutes->clear();
    QTest::keyClicks(minutes, "15");
    QTest::mouseClick(in<QPushButton>(d, "cmdSzOk"), Qt::LeftButton);
    QTRY_VERIFY(!dialog("frm_change_grid_data"));
    for (int day = 0; day < 10; ++day)
        EXPECT_EQ(model.astro.AstroTable[day][0], 375) << day;
    EXPECT_EQ(model.astro.AstroTable[10][0], 1000);
    EXPECT_EQ(model.Modified, 1);

    // A double click on 23:00 in "switch on at:"; the option chosen last comes back.
    model.Modified = 0;
    const QRect r = grid()->visualRect(grid()->model()->index(20, 4));
    QTest::mouseClick(grid()->viewport(), Qt::LeftButton, Qt::NoModifier, r.center());
    QTest::mouseDClick(grid()->viewport(), Qt::LeftButton, Qt::NoModifier, r.center());
    d = dialog("frm_change_grid_data");
    ASSERT_TRUE(d);
    EXPECT_TRUE(in<QRadioButton>(d, "opt_Ändern")->isChecked());
    EXPECT_EQ(in<QLineEdit>(d, "txtAnzstd")->text(), "23");
    in<QRadioButton>(d, "opt_verschieben")->click();
    EXPECT_FALSE(in<QLineEdit>(d, "txtAnzstd")->isVisible());
    in<QListWidget>(d, "liststd")->setCurrentRow(1);
    in<QListWidget>(d, "listmin")->setCurrentRow(30);
    QTest::mouseClick(in<QPushButton>(d, "cmdSzOk"), Qt::LeftButton);
    QTRY_VERIFY(!dialog("frm_change_grid_data"));
    EXPECT_EQ(model.astro.AstroTable[20][1], 30);
    EXPECT_EQ(model.astro.AstroTable[21][1], 400);
    EXPECT_EQ(cell(20, 4), views::TimeText(model, 30));
}

TEST_F(AstroCommandsTest, DeleteAsksBeforeTheTimesOfTheMarkedDaysGo)
{
    for (auto &day : model.astro.AstroTable)
        day = {1000, 400};
    model.astro.AstroPresent = -1;
    w->showList(ListAstro, SetProgram);
    for (const Answer answer : {Answer::No, Answer::Yes}) {
        grid()->setCurrentCell(0, 3);
        grid()->setRangeSelected(QTableWidgetSelectionRange(0, 3, 2, 3), true);
        act("mnuAendern")->trigger();
        QDialog *d = dialog("frm_change_grid_data");
        ASSERT_TRUE(d);
        EXPECT_TRUE(in<QRadioButton>(d, "Opt_del")->isChecked()); // still offered first
        prompter.answers = {answer};
        QTest::mouseClick(in<QPushButton>(d, "cmdSzOk"), Qt::LeftButton);
        QTRY_VERIFY(!dialog("frm_change_grid_data"));
        EXPECT_EQ(prompter.last(), QStringLiteral("Delete the times of 3 days?"));
        EXPECT_EQ(model.astro.AstroTable[1][0], answer == Answer::Yes ? NoAstroTime : 1000);
        EXPECT_EQ(model.astro.AstroTable[3][0], 1000);
    }
}

TEST_F(AstroCommandsTest, ShiftGoesBackWithTheMinusDirection)
{
    for (auto &day : model.astro.AstroTable)
        day = {1000, 400};
    model.astro.AstroPresent = -1;
    model.device.SwRegel = 0;
    w->showList(ListAstro, SetProgram);
    grid()->setCurrentCell(5, 3);
    grid()->setRangeSelected(QTableWidgetSelectionRange(5, 3, 6, 3), true);
    act("mnuAendern")->trigger();
    QDialog *d = dialog("frm_change_grid_data");
    ASSERT_TRUE(d);
    auto *direction = in<QComboBox>(d, "cboRichtung");
    EXPECT_FALSE(direction->isVisible());
    in<QRadioButton>(d, "opt_verschieben")->click();
    ASSERT_TRUE(direction->isVisible());
    direction->setCurrentIndex(1);
    in<QListWidget>(d, "liststd")->setCurrentRow(1);
    in<QListWidget>(d, "listmin")->setCurrentRow(30);
    QTest::mouseClick(in<QPushButton>(d, "cmdSzOk"), Qt::LeftButton);
    QTRY_VERIFY(!dialog("frm_change_grid_data"));
    EXPECT_EQ(model.astro.AstroTable[5][0], 1000 - 90);
    EXPECT_EQ(model.astro.AstroTable[6][0], 1000 - 90);
    EXPECT_EQ(model.astro.AstroTable[7][0], 1000);
}

// Ok on the astro settings asks before a table changed by hand is computed again: Cancel stays
// in the dialog, No closes it and keeps the table.
TEST_F(AstroCommandsTest, ReconfirmingAsksBeforeLosingHandChanges)
{
    ConfirmAstroSettings(model, AstroPositions{345, 45, 44, 120, 120}, clock, prompter);
    model.astro.AstroTable[30][0] = 17 * 60;
    const auto changed = model.astro.AstroTable;
    QDialog *d = openSettings();
    ASSERT_TRUE(d);
    prompter.answers = {Answer::Cancel};
    QTest::mouseClick(in<QPushButton>(d, "cmd_astro_ok"), Qt::LeftButton);
    EXPECT_EQ(prompter.messages().size(), 1);
    EXPECT_TRUE(d->isVisible());
    prompter.answers = {Answer::No};
    QTest::mouseClick(in<QPushButton>(d, "cmd_astro_ok"), Qt::LeftButton);
    QTRY_VERIFY(!dialog("frmastro"));
    EXPECT_EQ(prompter.messages().size(), 2);
    EXPECT_TRUE(prompter.last().startsWith(QStringLiteral("The astro table holds times changed by hand.")));
    EXPECT_EQ(model.astro.AstroTable, changed);
}

} // namespace
