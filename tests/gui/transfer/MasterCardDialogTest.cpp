#include "transfer/MasterCardDialog.h"
#include "GuiTest.h"
#include "transfer/SerialProgressWindow.h"

#include "model/Model.h"
#include "platform/Clock.h"
#include "support/ScriptedPrompter.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <gtest/gtest.h>

namespace zx::test {
namespace {

class MasterCardDialogTest : public ::testing::Test {
  protected:
    MasterCardDialogTest()
    {
        model.device.Uhrentyp = TypeAnnual;
        model.device.DeviceCode = 72;
        model.device.MasterCardOptions = 0x05;
        model.options.RadioSync = 1;
        model.options.GermanDisplay = 0;
    }
    template <typename T> T *find(MasterCardDialog &d, const char *name) { return Control<T>(&d, name); }

    Model model;
    ScriptedPrompter prompter;
    FixedClock clock{QDateTime(QDate(2024, 5, 6), QTime(7, 8))};
    int refreshes = 0;
};

TEST_F(MasterCardDialogTest, OpensShowingTheModel)
{
    MasterCardDialog d(model, prompter, clock, [&] { ++refreshes; });
    EXPECT_EQ(d.objectName(), QStringLiteral("FrmMaster"));
    EXPECT_EQ(d.windowTitle(), QStringLiteral("Codierung"));
    EXPECT_FALSE(d.isModal());
    EXPECT_TRUE(find<QRadioButton>(d, "optfunk")->isChecked());
    EXPECT_TRUE(find<QRadioButton>(d, "optfranz")->isChecked());
    EXPECT_EQ(find<QRadioButton>(d, "optfranz")->text(), QStringLiteral("Französisch"));
    EXPECT_TRUE(find<QRadioButton>(d, "optprogcard")->isChecked());
    EXPECT_TRUE(find<QCheckBox>(d, "Check1")->isChecked());
    EXPECT_FALSE(find<QCheckBox>(d, "Check2")->isChecked());
    EXPECT_TRUE(find<QCheckBox>(d, "Check3")->isChecked());
    EXPECT_EQ(find<QCheckBox>(d, "Check8")->text(), QStringLiteral("bistabil"));
    EXPECT_EQ(find<QPushButton>(d, "cmdmachmstr")->text(), QStringLiteral("Eishockey"));
    EXPECT_EQ(refreshes, 0);
}

TEST_F(MasterCardDialogTest, EveryClickTakesEffectAtOnce)
{
    MasterCardDialog d(model, prompter, clock, [&] { ++refreshes; });
    d.show();
    QTest::mouseClick(find<QRadioButton>(d, "optquart"), Qt::LeftButton);
    EXPECT_EQ(model.options.RadioSync, 0);
    EXPECT_EQ(model.Modified, 1);
    EXPECT_EQ(refreshes, 1);

    QTest::mouseClick(find<QRadioButton>(d, "optmastercard"), Qt::LeftButton);
    EXPECT_EQ(model.device.DeviceCode, 72 | 0x80);
    EXPECT_EQ(model.program().HeaderBytes[3] & 0x80, 0x80); // the option bits are not all clear

    QTest::mouseClick(find<QCheckBox>(d, "Check1"), Qt::LeftButton);
    QTest::mouseClick(find<QCheckBox>(d, "Check3"), Qt::LeftButton);
    EXPECT_EQ(model.device.MasterCardOptions, 0);
    EXPECT_EQ(model.program().HeaderBytes[3] & 0x80, 0);
    QTest::mouseClick(find<QCheckBox>(d, "Check8"), Qt::LeftButton);
    EXPECT_EQ(model.device.MasterCardOptions, 0x80);
    EXPECT_EQ(refreshes, 5);

    QTest::mouseClick(find<QRadioButton>(d, "optprogcard"), Qt::LeftButton);
    EXPECT_EQ(model.device.DeviceCode, 72);
    QTest::mouseClick(find<QPushButton>(d, "cmdmachmstr"), Qt::LeftButton);
    EXPECT_FALSE(d.isVisible());
    EXPECT_TRUE(prompter.shown.empty());
}

TEST(SerialProgressWindowTest, ShowsCaptionLabelAndGauge)
{
    SerialProgressWindow w;
    TransferProgress &progress = w;
    progress.begin(QStringLiteral("serial transmission"));
    EXPECT_TRUE(w.isVisible());
    EXPECT_TRUE(w.isLoaded());
    EXPECT_EQ(w.objectName(), QStringLiteral("FRM_SERIEL_IO"));
    EXPECT_EQ(w.windowTitle(), QStringLiteral("serial transmission"));
    progress.setLabel(QStringLiteral("read zentrix  using COM 2"));
    progress.setGauge(64);
    EXPECT_EQ(test::Control<QLabel>(&w, "lbl_seriell_io")->text(),
              QStringLiteral("read zentrix  using COM 2"));
    auto *gauge = test::Control<QProgressBar>(&w, "ggefortschritt");
    EXPECT_EQ(gauge->maximum(), 129);
    EXPECT_EQ(gauge->value(), 64);
    progress.end();
    EXPECT_FALSE(w.isVisible());
    EXPECT_FALSE(w.isLoaded());
}

} // namespace
} // namespace zx::test
