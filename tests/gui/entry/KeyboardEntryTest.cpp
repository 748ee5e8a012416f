// The entry dialogs worked with the keyboard alone.
#include "EntryDialogFixture.h"
#include "TabOrder.h"

#include "calendar/ChangeoverDialog.h"
#include "entry/PriorityTimeDialog.h"
#include "entry/SwitchingEntry.h"
#include "i18n/Catalogue.h"
#include "platform/FocusKeeper.h"
#include "platform/Mnemonics.h"

#include <QLabel>
#include <QPushButton>

#include <set>

using namespace zx;
using namespace zx::test;

namespace {

class KeyboardEntry : public EntryDialogTest {
  protected:
    void SetUp() override
    {
        EntryDialogTest::SetUp();
        FocusKeeper::install();
    }
};

TEST_F(KeyboardEntry, ReturnPressesOkAndEscapeCloses)
{
    open();
    click("chkMontag");
    click("chkKan1");
    activate();
    auto *ok = find<QPushButton>("cmdSzOk");
    ok->setFocus(Qt::TabFocusReason);
    QTest::keyClick(ok, Qt::Key_Return);
    EXPECT_EQ(used(), 1);
    // Return on a check box presses OK as well.
    find<QWidget>("chkKan2")->setFocus(Qt::TabFocusReason);
    click("chkKan2");
    QTest::keyClick(find<QWidget>("chkKan2"), Qt::Key_Return);
    EXPECT_EQ(used(), 2);
    QTest::keyClick(dlg.get(), Qt::Key_Escape);
    EXPECT_FALSE(dlg->isVisible());
}

TEST_F(KeyboardEntry, PassingThroughTheDayListKeepsTheWeekdays)
{
    open();
    click("chkMontag");
    activate();
    auto *days = find<QListWidget>("Listtag");
    ASSERT_EQ(days->currentRow(), -1);
    days->setFocus(Qt::TabFocusReason);
    QApplication::processEvents();
    ASSERT_TRUE(days->hasFocus());
    EXPECT_EQ(days->currentRow(), -1);
    EXPECT_TRUE(checked("chkMontag"));
    EXPECT_TRUE(text("txtAnztag").isEmpty());
    // a deliberate choice still counts
    QTest::keyClick(days, Qt::Key_Down);
    EXPECT_EQ(days->currentRow(), 0);
    EXPECT_FALSE(checked("chkMontag"));
}

// Tab walks the visible controls in reading order, in every layout the dialogs take: a plain
// device, a bus device (other channel controls) and the priority dialog's holiday option.
TEST_F(KeyboardEntry, TabVisitsTheVisibleControlsInReadingOrder)
{
    open();
    ExpectTabInReadingOrder(dlg.get());
    dlg->hide();
    model.device.BusDevice = 1;
    open();
    ExpectTabInReadingOrder(dlg.get());
    dlg->done(QDialog::Accepted);
    model.device.BusDevice = 0;

    PriorityTimeDialog priority(ctx);
    model.EditMode = EditEnter;
    priority.openInMode();
    ExpectTabInReadingOrder(&priority);
    Control<QAbstractButton>(&priority, "chk_bew_Feiertage")->click();
    ExpectTabInReadingOrder(&priority);
    priority.done(QDialog::Accepted);

    ChangeoverDialog changeover(ctx);
    model.EditMode = EditEnter;
    changeover.openInMode();
    ExpectTabInReadingOrder(&changeover);
    changeover.close();
}

// Return presses OK in the priority and changeover dialogs too; Escape closes them.
TEST_F(KeyboardEntry, ReturnPressesOkInThePriorityAndChangeoverDialogs)
{
    PriorityTimeDialog priority(ctx);
    model.EditMode = EditEnter;
    priority.openInMode();
    Control<QListWidget>(&priority, "listvontag")->setCurrentRow(0);
    Control<QListWidget>(&priority, "Lstvonmon")->setCurrentRow(4);
    Control<QListWidget>(&priority, "listbistag")->setCurrentRow(0);
    Control<QListWidget>(&priority, "LstbisMon")->setCurrentRow(4);
    Control<QListWidget>(&priority, "LstPrio")->setCurrentRow(0);
    Control<QAbstractButton>(&priority, "chkKan1")->setChecked(true);
    auto *channel = Control<QWidget>(&priority, "chkKan1");
    channel->setFocus(Qt::TabFocusReason);
    QTest::keyClick(channel, Qt::Key_Return);
    EXPECT_EQ(used(), 1);
    QTest::keyClick(&priority, Qt::Key_Escape);
    EXPECT_FALSE(priority.isVisible());

    ChangeoverDialog changeover(ctx);
    model.EditMode = EditEnter;
    changeover.openInMode();
    const int before = model.program().DstCount;
    auto *okButton = Control<QWidget>(&changeover, "cmdswok");
    okButton->setFocus(Qt::TabFocusReason);
    QTest::keyClick(okButton, Qt::Key_Return);
    EXPECT_EQ(model.program().DstCount, before + 1);
    QTest::keyClick(&changeover, Qt::Key_Escape);
    EXPECT_FALSE(changeover.isVisible());
}

// The dialogs open on their first field; Return there takes the typed value and stores the
// entry as OK does, while a value out of range keeps Return in the field.
TEST_F(KeyboardEntry, OpensOnTheFirstFieldAndReturnThereStores)
{
    open();
    activate();
    auto *hour = find<QLineEdit>("txtAnzstd");
    EXPECT_EQ(dlg->focusWidget(), hour);
    click("chkMontag");
    click("chkKan1");
    type("txtAnzstd", QStringLiteral("7"));
    QTest::keyClick(hour, Qt::Key_Return);
    ASSERT_EQ(used(), 1);
    EXPECT_EQ(DecodeSwitchingTime(record(0), 0).hour, 7);
    const int beeps = prompter.beeps;
    type("txtAnzstd", QStringLiteral("25"));
    QTest::keyClick(hour, Qt::Key_Return);
    EXPECT_EQ(used(), 1);
    EXPECT_GT(prompter.beeps, beeps);
    dlg->done(QDialog::Accepted);

    PriorityTimeDialog priority(ctx);
    model.EditMode = EditEnter;
    priority.openInMode();
    EXPECT_EQ(priority.focusWidget(), Control<QWidget>(&priority, "txtvonTag"));
    priority.done(QDialog::Accepted);
}

// In every language, each heading of a field carries a letter of its own in its dialog (and in
// the priority dialog's holiday layout), and Alt with that letter goes to the field.
class EntryMnemonics : public KeyboardEntry, public ::testing::WithParamInterface<int> {
  protected:
    void expectOwnLetters(QWidget *dialog, const std::vector<const char *> &fields)
    {
        std::set<QChar> seen;
        std::set<QString> named;
        for (QLabel *label : dialog->findChildren<QLabel *>()) {
            if (!label->buddy() || label->isHidden())
                continue;
            const QChar letter = MnemonicOf(label->text());
            EXPECT_FALSE(letter.isNull()) << NameOf(label) << " \"" << label->text().toStdString() << "\"";
            EXPECT_TRUE(seen.insert(letter).second)
                << NameOf(label) << " repeats '" << QString(letter).toStdString() << "'";
            named.insert(label->buddy()->objectName());
        }
        for (const char *field : fields)
            EXPECT_TRUE(named.count(QString::fromLatin1(field))) << field << " has no heading to reach it";
    }
};

TEST_P(EntryMnemonics, EveryFieldHeadingHasALetterOfItsOwn)
{
    model.device.Sprache = GetParam();
    model.catalogue.fillBuiltin(GetParam(), 1);
    open();
    expectOwnLetters(dlg.get(), {"txtAnzstd", "txtAnzMin", "txtAnzImp", "chkMontag", "txtAnztag", "txtAnzMon",
                                 "txtAnzPrio", "chkKan1"});
    // The wiring: Alt with the minutes' letter goes to the minute field.
    activate();
    QLabel *minutes = find<QLabel>("LblÜsMin");
    QTest::keyClick(dlg.get(), MnemonicOf(minutes->text()).toLatin1(), Qt::AltModifier);
    EXPECT_EQ(QApplication::focusWidget(), find<QWidget>("txtAnzMin"));
    dlg->done(QDialog::Accepted);
    model.device.BusDevice = 1;
    open();
    expectOwnLetters(dlg.get(), {"txtAnzstd", "optkan1", "vsbwert"});
    dlg->done(QDialog::Accepted);
    model.device.BusDevice = 0;

    PriorityTimeDialog priority(ctx);
    model.EditMode = EditEnter;
    priority.openInMode();
    expectOwnLetters(&priority, {"txtvonTag", "txtbistag", "txtAnzPrio", "chkKan1"});
    Control<QAbstractButton>(&priority, "chk_bew_Feiertage")->click();
    expectOwnLetters(&priority, {"cbo_Ft_sets", "txtAnzPrio", "chkKan1"});
    priority.done(QDialog::Accepted);
}

INSTANTIATE_TEST_SUITE_P(Languages, EntryMnemonics, ::testing::Values(German, English, French),
                         [](const auto &info) { return std::to_string(info.param); });

} // namespace
