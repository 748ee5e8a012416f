#include "../ModalHelper.h"
#include "../app/MainWindowFixture.h"

#include "app/CommandWiring.h"
#include "entry/FilterDialog.h"
#include "entry/SwitchingTimeDialog.h"
#include "support/SamplePrograms.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QPushButton>
#include <QScrollBar>

using namespace zx;
using namespace zx::test;

namespace {

class FilterFlowTest : public MainWindowTest {
  protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        for (int i = 0; i < 4; ++i)
            model.appendRecord(SetProgram, weeklyTime(6 + i, 0, 1, 1 + i % 2));
        wireCommands(*w, ctx);
        w->redrawList();
    }
    void filterChannelTwo(const char *button)
    {
        whenModal(QStringLiteral("frmfilter"), [button](QWidget *d) {
            Control<QCheckBox>(d, "chkallKan")->click(); // all off
            Control<QCheckBox>(d, "chkKan2")->click();
            Control<QComboBox>(d, "cbovonmon")->setCurrentIndex(0);
            Control<QPushButton>(d, button)->click();
        });
        act("mnuFilter")->trigger();
    }
};

TEST_F(FilterFlowTest, OkFiltersTheListAndChangeReachesTheShownRecord)
{
    filterChannelTwo("cmdFilterok");
    EXPECT_EQ(model.FilterOn, -1);
    EXPECT_EQ(model.filter.FilterChannels, 2);
    EXPECT_EQ(model.filter.FilterFromMonth, 0);
    ASSERT_EQ(grid()->rowCount(), 2);
    EXPECT_EQ(find<QFrame>("picfilter")->palette().color(QPalette::Window), QColor(255, 255, 16));

    // The second shown row is record 3 (09:00).
    grid()->selectRow(1);
    ASSERT_EQ(model.Marked, std::vector<int>{3});
    act("mnuAendern")->trigger();
    auto *entry = qobject_cast<SwitchingTimeDialog *>(QApplication::activeModalWidget());
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(entry->currentValues().hour, 9);
    entry->reject();

    // The filter switch shows everything again, and the filter stays for the next click.
    w->toggleFilter();
    EXPECT_EQ(grid()->rowCount(), 4);
    w->toggleFilter();
    EXPECT_EQ(grid()->rowCount(), 2);
}

TEST_F(FilterFlowTest, CancelKeepsThePreviousFilter)
{
    const ListFilter before = model.filter;
    filterChannelTwo("cmdFilterend");
    EXPECT_EQ(model.filter, before);
    EXPECT_EQ(model.FilterOn, 0);
    EXPECT_EQ(grid()->rowCount(), 4);
}

// A bus device compares values: hsbwert shows, the states read "equal", "up to", "from", and a
// to-program beyond priority 7 is kept as the permanent code.
TEST_F(MainWindowTest, BusFilterDialogOffersValuesAndPermanentUpTo)
{
    model.device.BusDevice = 1;
    FilterDialog dialog(ctx, w.get());
    dialog.show();
    EXPECT_TRUE(Control<QScrollBar>(&dialog, "hsbwert")->isVisible());
    EXPECT_EQ(Control<QComboBox>(&dialog, "cboonoff")->itemText(0), model.catalogue(Msg::Equal));
    auto *from = Control<QComboBox>(&dialog, "cbovonp");
    auto *to = Control<QComboBox>(&dialog, "cbobisp");
    ASSERT_EQ(from->count(), 9);
    from->setCurrentIndex(5);
    ASSERT_EQ(to->count(), 4); // 5, 6, 7, permanent
    to->setCurrentIndex(3);
    Control<QScrollBar>(&dialog, "hsbwert")->setValue(120);
    const ListFilter f = dialog.shownFilter();
    EXPECT_EQ(f.FilterFromProgram, 5);
    EXPECT_EQ(f.FilterToProgram, 10);
    EXPECT_EQ(f.FilterValue, 120);
    EXPECT_TRUE(Control<QCheckBox>(&dialog, "chkkan8")->isVisible());
}

} // namespace
