#include "DialogContext.h"
#include "app/AppContext.h"
#include "calendar/ChangeoverDialog.h"
#include "calendar/HolidayDialog.h"
#include "model/Model.h"
#include "model/ProgramFile.h"
#include "platform/Clock.h"
#include "platform/EventPump.h"
#include "platform/ProcessToolLauncher.h"
#include "support/ScriptedPrompter.h"
#include "support/TempDir.h"
#include "views/ListFormatter.h"

#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>

#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>

using namespace zx;
using namespace zx::test;

namespace {

class CalendarDialogs : public ::testing::Test, protected DialogContext {
  protected:
    template <class T> T *find(QWidget *dlg, const char *name)
    {
        T *w = dlg->findChild<T *>(QString::fromUtf8(name));
        if (!w)
            ADD_FAILURE() << "no control " << name;
        return w;
    }
};

// Three entries through the dialog, the third refused once as identical; saved and read back.
TEST_F(CalendarDialogs, ChangeoverTableOfThreeEntriesIsSaved)
{
    model.device.SwRegel = RuleEurope;
    ChangeoverDialog dlg(ctx);
    dlg.openInMode();
    EXPECT_EQ(dlg.windowTitle(), "Enter The Changeover Table ");
    EXPECT_EQ(find<QLabel>(&dlg, "LblJahr")->text(), "2026");
    find<QPushButton>(&dlg, "cmdswok")->click();
    find<QComboBox>(&dlg, "listvontag")->setCurrentIndex(27); // 28 March
    find<QPushButton>(&dlg, "cmdswok")->click();
    EXPECT_FALSE(find<QComboBox>(&dlg, "cboprojahr")->isEnabled());
    // Advance and set-back at the same day and hour: refused.
    find<QComboBox>(&dlg, "LstbisMon")->setCurrentIndex(2);
    find<QComboBox>(&dlg, "listbistag")->setCurrentIndex(27);
    find<QComboBox>(&dlg, "ListbisStd")->setCurrentIndex(2);
    find<QPushButton>(&dlg, "cmdswok")->click();
    EXPECT_EQ(prompter.last(), "Start and end are identical");
    EXPECT_EQ(model.program().DstCount, 2);
    find<QComboBox>(&dlg, "LstbisMon")->setCurrentIndex(9);
    find<QComboBox>(&dlg, "Lstvonmon")->setCurrentIndex(1); // February: day 28 becomes 28 in 2028
    find<QPushButton>(&dlg, "cmdswok")->click();
    ASSERT_EQ(model.program().DstCount, 3);
    EXPECT_EQ(model.ListView, ListChangeover);
    EXPECT_EQ(YearOfEntry(2, model.program()), 2028);

    model.program().FileName = dir.file(QStringLiteral("dst.zxp"));
    prompter.answers.push_back(Answer::Yes); // activate the table rule
    ASSERT_TRUE(SaveProgram(model, prompter, clock));
    EXPECT_EQ(model.device.SwRegel, RuleTable);
    Model back;
    ASSERT_EQ(LoadProgram(back, prompter, model.program().FileName, false, SetProgram), LoadResult::Loaded);
    EXPECT_EQ(back.program().DstCount, 3);
    EXPECT_EQ(DecodeChangeoverEntry(back.program().DstTable[1]).advance, (Changeover{28, 3, 2, 1}));
    EXPECT_EQ(DecodeChangeoverEntry(back.program().DstTable[2]).advance.month, 2);
}

TEST_F(CalendarDialogs, HolidayDialogEditsAndWritesTheFile)
{
    HolidayDialog dlg(ctx);
    dlg.show();
    find<QLineEdit>(&dlg, "txt_Feiertag")->setText(QStringLiteral("Ascension, day"));
    find<QScrollBar>(&dlg, "HSb_oster_distanz")->setValue(121);
    EXPECT_EQ(find<QLabel>(&dlg, "lbl_oster_distanz")->text(), "39 day(s) after eastern");
    find<QPushButton>(&dlg, "cmd_add_Feiertage")->click();
    find<QLineEdit>(&dlg, "txt_Feiertag")->clear();
    find<QPushButton>(&dlg, "cmd_add_Feiertage")->click();
    EXPECT_EQ(prompter.beeps, 1);
    find<QRadioButton>(&dlg, "Opt_fest")->setChecked(true);
    find<QComboBox>(&dlg, "cbo_tagnummer")->setCurrentIndex(30);
    find<QComboBox>(&dlg, "cbo_monat")->setCurrentIndex(1);
    EXPECT_EQ(find<QComboBox>(&dlg, "cbo_tagnummer")->currentIndex(), 27);
    prompter.texts.push_back(QStringLiteral("Region"));
    find<QPushButton>(&dlg, "cmd_add_set")->click();
    find<QPushButton>(&dlg, "cmd_add_to_set")->click();
    prompter.texts.push_back(QStringLiteral("North"));
    find<QPushButton>(&dlg, "cmd_ren_set")->click();
    EXPECT_EQ(model.holidays.sets[0].name, "North");
    ASSERT_EQ(model.holidays.holidays.size(), 1u);
    EXPECT_EQ(model.holidays.holidays[0].name, "Ascension  day");
    EXPECT_EQ(model.holidays.sets[0].members, std::vector<int>{1});
    find<QPushButton>(&dlg, "cmd_ft_end")->click();
    HolidayLibrary back;
    ASSERT_TRUE(LoadHolidays(dir.file(QStringLiteral("english.hdy")), back).ok());
    EXPECT_EQ(back, model.holidays);
}

// Changes that cannot be written are not dropped in silence: the dialog says so and asks again
// until they are written or the user gives them up.
TEST_F(CalendarDialogs, HolidayChangesThatCannotBeWrittenAreToldUntilDiscarded)
{
    QDir(dir.path()).mkdir(QStringLiteral("english.hdy")); // a folder: no file can go there
    model.holidays.holidays.push_back(Holiday{QStringLiteral("New Year"), HolidayFixed, 0, 1, 1});
    HolidayDialog dlg(ctx);
    dlg.show();
    prompter.texts.push_back(QStringLiteral("Region"));
    find<QPushButton>(&dlg, "cmd_add_set")->click();
    ASSERT_EQ(model.holidays.sets.size(), 1u);
    prompter.answers = {Answer::Cancel};
    find<QPushButton>(&dlg, "cmd_ft_end")->click();
    EXPECT_TRUE(dlg.isVisible()); // Cancel stays in the dialog
    EXPECT_TRUE(prompter.last().startsWith(QStringLiteral("The holiday changes could not be saved: ")));
    EXPECT_TRUE(prompter.last().contains(QStringLiteral("english.hdy")));
    prompter.answers = {Answer::Yes, Answer::No}; // try again (fails again), then give up
    QTest::keyClick(&dlg, Qt::Key_Escape);
    EXPECT_FALSE(dlg.isVisible());
    const auto asked = std::count_if(prompter.shown.begin(), prompter.shown.end(), [](const auto &m) {
        return m.message.startsWith(QStringLiteral("The holiday changes"));
    });
    EXPECT_EQ(asked, 3);
    EXPECT_TRUE(model.holidays.sets.empty());
    EXPECT_EQ(model.holidays.holidays.size(), 1u);
}

// ">>" with a holiday selected adds a new one; renaming is its own button, asked and confirmed;
// the delete question names the holiday.
TEST_F(CalendarDialogs, AddingNeverRenamesAndRenameAsksFirst)
{
    model.holidays.holidays = {Holiday{QStringLiteral("New Year's Day"), HolidayFixed, 0, 1, 1}};
    model.holidays.sets = {HolidaySet{QStringLiteral("Region"), {1}}};
    HolidayDialog dlg(ctx);
    dlg.show();
    find<QLineEdit>(&dlg, "txt_Feiertag")->setText(QStringLiteral("Company day"));
    find<QPushButton>(&dlg, "cmd_add_Feiertage")->click();
    ASSERT_EQ(model.holidays.holidays.size(), 2u);
    EXPECT_EQ(model.holidays.holidays[0].name, "New Year's Day");
    EXPECT_EQ(model.holidays.holidays[1], (Holiday{QStringLiteral("Company day"), HolidayFixed, 0, 1, 1}));
    EXPECT_TRUE(prompter.shown.empty());

    auto *list = find<QListWidget>(&dlg, "lst_Feiertage");
    list->setCurrentRow(0);
    prompter.texts = {QStringLiteral("Company day"), QStringLiteral("Neujahr"), QStringLiteral("Neujahr")};
    prompter.answers = {Answer::Cancel, Answer::Ok};
    auto *rename = find<QPushButton>(&dlg, "cmd_ren_Feiertage");
    rename->click(); // another holiday's name: refused with a beep, nothing asked
    EXPECT_EQ(prompter.beeps, 1);
    rename->click(); // cancelled at the question
    EXPECT_TRUE(prompter.last().contains(QStringLiteral("\"New Year's Day\" to \"Neujahr\"")));
    EXPECT_EQ(model.holidays.holidays[0].name, "New Year's Day");
    rename->click();
    EXPECT_EQ(model.holidays.holidays[0].name, "Neujahr");
    EXPECT_EQ(find<QListWidget>(&dlg, "lst_set_Feiertage")->item(0)->text(), "Neujahr");

    list->setCurrentRow(1);
    prompter.answers = {Answer::Cancel};
    find<QPushButton>(&dlg, "cmd_del_Feiertage")->click();
    EXPECT_EQ(prompter.last(), model.catalogue(Msg::ReallyDelete) + QStringLiteral("\n\nCompany day"));
    EXPECT_EQ(model.holidays.holidays.size(), 2u);
}

// The list is as wide as its longest name; another country's file can be the library, is written
// on Exit and stays chosen for the next opening.
TEST_F(CalendarDialogs, HolidayListFitsItsNamesAndAnotherCountrysFileCanBeChosen)
{
    HolidayLibrary french;
    french.holidays = {Holiday{QStringLiteral("F\u00eate nationale en Alsace-Moselle et Outre-mer"),
                               HolidayFixed, 0, 14, 7}};
    QString error;
    ASSERT_TRUE(SaveHolidays(dir.file(QStringLiteral("france.hdy")), french, &error)) << qPrintable(error);
    model.holidays.holidays = {Holiday{QStringLiteral("New Year"), HolidayFixed, 0, 1, 1}};
    {
        HolidayDialog dlg(ctx);
        dlg.show();
        auto *files = find<QComboBox>(&dlg, "cbo_Ft_datei");
        EXPECT_EQ(files->currentText(), "english.hdy");
        const int france = files->findText(QStringLiteral("france.hdy"));
        ASSERT_GE(france, 0);
        files->setCurrentIndex(france);
        Q_EMIT files->activated(france);
        ASSERT_EQ(model.holidays.holidays.size(), 1u) << qPrintable(prompter.last());
        auto *list = find<QListWidget>(&dlg, "lst_Feiertage");
        EXPECT_EQ(list->item(0)->text(), french.holidays[0].name);
        EXPECT_GE(list->width(), list->fontMetrics().horizontalAdvance(french.holidays[0].name));
        find<QLineEdit>(&dlg, "txt_Feiertag")->setText(QStringLiteral("No\u00ebl"));
        find<QPushButton>(&dlg, "cmd_add_Feiertage")->click();
        find<QPushButton>(&dlg, "cmd_ft_end")->click();
    }
    HolidayLibrary back;
    ASSERT_TRUE(LoadHolidays(dir.file(QStringLiteral("france.hdy")), back).ok());
    EXPECT_EQ(back.holidays.size(), 2u);
    EXPECT_FALSE(dir.exists(QStringLiteral("english.hdy"))); // the language's file untouched
    EXPECT_EQ(HolidayFilePath(model, dir.path()), dir.file(QStringLiteral("france.hdy")));
    HolidayDialog again(ctx);
    EXPECT_EQ(find<QComboBox>(&again, "cbo_Ft_datei")->currentText(), "france.hdy");
}

} // namespace

// Up on the year bar is the later year: its upper arrow and the Up key raise the year, its lower
// arrow and the Down key lower it.
TEST_F(CalendarDialogs, YearBarUpIsLater)
{
    ChangeoverDialog dlg(ctx);
    dlg.openInMode();
    auto *bar = find<QScrollBar>(&dlg, "vsbSWJahr");
    auto *year = find<QLabel>(&dlg, "LblJahr");
    bar->setFixedHeight(120);
    QApplication::processEvents();
    const int start = year->text().toInt();
    ASSERT_EQ(start, 2026);
    QTest::mouseClick(bar, Qt::LeftButton, Qt::NoModifier, QPoint(bar->width() / 2, 3));
    EXPECT_EQ(year->text().toInt(), start + 1);
    QTest::keyClick(bar, Qt::Key_Up);
    EXPECT_EQ(year->text().toInt(), start + 2);
    QTest::mouseClick(bar, Qt::LeftButton, Qt::NoModifier, QPoint(bar->width() / 2, bar->height() - 4));
    QTest::keyClick(bar, Qt::Key_Down);
    EXPECT_EQ(year->text().toInt(), start);
    dlg.close();
}
