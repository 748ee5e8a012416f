#include "app/DevicePropertiesDialog.h"
#include "GuiTest.h"
#include "app/AppContext.h"
#include "model/Model.h"
#include "platform/Clock.h"
#include "platform/EventPump.h"
#include "support/RecordingLauncher.h"
#include "support/ScriptedPrompter.h"
#include "support/TempDir.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTimer>

#include <gtest/gtest.h>

#include <memory>
#include <tuple>

using namespace zx;
using namespace zx::test;

namespace {

class DevicePropertiesTest : public ::testing::Test {
  protected:
    Model model;
    ScriptedPrompter prompter;
    FixedClock clock{QDateTime(QDate(2026, 3, 5), QTime(14, 7))};
    SleepingEventPump pump;
    RecordingLauncher launcher;
    TempDir dir;
    AppContext ctx{model, prompter, clock, pump, launcher, dir.path(), dir.path()};
    std::unique_ptr<DevicePropertiesDialog> dlg;

    void open() { dlg = std::make_unique<DevicePropertiesDialog>(ctx); }
    template <class T> T *find(const char *name) { return Control<T>(dlg.get(), name); }
    bool has(const char *name) { return dlg->findChild<QWidget *>(QString::fromUtf8(name)) != nullptr; }
};

} // namespace

TEST_F(DevicePropertiesTest, MeterPulseControlsOnUtilityDevices)
{
    model.device.Evu = 1;
    model.device.Kanalzahl = 2;
    open();
    EXPECT_EQ(dlg->objectName(), QStringLiteral("frmGer\u00e4tEinst"));
    EXPECT_TRUE(has("fraMessImp"));
    EXPECT_FALSE(has("fraSprache"));
    EXPECT_FALSE(has("fraAstro"));
    QComboBox *channel = find<QComboBox>("cboMessKanal");
    ASSERT_EQ(channel->count(), 3) << "none, channel 1, channel 2";
    EXPECT_EQ(channel->itemText(0), QStringLiteral("no meter puls"));
    EXPECT_EQ(channel->itemText(2), QStringLiteral("on  channel 2"));
    EXPECT_EQ(find<QComboBox>("cboMessPeriode")->count(), 12);
    // "none" disables the other meter lists.
    EXPECT_FALSE(find<QComboBox>("cboMessPeriode")->isEnabled());
    EXPECT_FALSE(find<QComboBox>("cboMessImpDauer")->isEnabled());
    channel->setCurrentIndex(1);
    EXPECT_TRUE(find<QComboBox>("cboMessPeriode")->isEnabled());
    EXPECT_TRUE(find<QComboBox>("cboMessZeitpunkt")->isEnabled());
    EXPECT_EQ(model.Modified, 1) << "every change marks the program changed";
}

TEST_F(DevicePropertiesTest, PulseLengthListFollowsThePeriod)
{
    model.device.Evu = 1;
    model.device.Kanalzahl = 4;
    model.device.MessKanal = 1;
    model.device.MessPeriode = 5;
    model.device.MessImpDauer = 60;
    open();
    QComboBox *period = find<QComboBox>("cboMessPeriode");
    QComboBox *pulse = find<QComboBox>("cboMessImpDauer");
    EXPECT_EQ(period->currentIndex(), 4);
    EXPECT_EQ(pulse->count(), 60);
    EXPECT_EQ(pulse->currentIndex(), 59);
    period->setCurrentIndex(0); // 1 minute
    EXPECT_EQ(pulse->count(), 59);
    EXPECT_EQ(pulse->currentIndex(), 58);
    period->setCurrentIndex(8); // 15 minutes
    EXPECT_EQ(pulse->count(), 60);
    pulse->setCurrentIndex(9);
    find<QPushButton>("cmdOk")->click();
    EXPECT_EQ(model.device.MessPeriode, 15);
    EXPECT_EQ(model.device.MessImpDauer, 10);
    EXPECT_EQ(model.device.MessKanal, 1);
    EXPECT_EQ(model.transfer.LongDelayFactor, 20);
    EXPECT_EQ(dlg->result(), QDialog::Accepted);
}

TEST_F(DevicePropertiesTest, LanguageOfTheTimeSwitchWithoutUtilityOption)
{
    model.device.Evu = 0;
    model.options.GermanDisplay = 1;
    open();
    EXPECT_TRUE(has("fraSprache"));
    EXPECT_FALSE(has("fraMessImp"));
    EXPECT_TRUE(find<QRadioButton>("optDeutsch")->isChecked());
    find<QRadioButton>("optFranz")->setChecked(true);
    find<QComboBox>("cboSwRegel")->setCurrentIndex(2);
    find<QSpinBox>("txtDelay")->setValue(3);
    find<QComboBox>("cboLPT")->setCurrentIndex(4);
    find<QPushButton>("cmdOk")->click();
    EXPECT_EQ(model.options.GermanDisplay, 0);
    EXPECT_EQ(model.device.SwRegel, 2);
    EXPECT_EQ(model.transfer.Delay, 12);
    EXPECT_EQ(model.transfer.PortSetting, 5);
}

TEST_F(DevicePropertiesTest, AstroChannelOptionOnTheAstroDevice)
{
    model.device.Uhrentyp = TypeAstro;
    model.device.Kanalzahl = 2;
    open();
    EXPECT_TRUE(has("fraAstro"));
    EXPECT_FALSE(has("fraMessImp"));
    EXPECT_FALSE(has("fraSprache"));
    find<QRadioButton>("optAstroC1C2")->setChecked(true);
    find<QPushButton>("cmdOk")->click();
    EXPECT_EQ(model.astro.AstroC1C2, 1);
}

TEST_F(DevicePropertiesTest, CancelKeepsTheModel)
{
    model.device.SwRegel = 1;
    open();
    find<QComboBox>("cboSwRegel")->setCurrentIndex(3);
    find<QPushButton>("cmdAbbrechen")->click();
    EXPECT_EQ(model.device.SwRegel, 1);
    EXPECT_EQ(model.transfer.LongDelayFactor, 50);
    EXPECT_EQ(dlg->result(), QDialog::Rejected);
}

TEST_F(DevicePropertiesTest, SaveWritesTheChoicesToTheConfigurationFile)
{
    model.device.Evu = 1;
    model.device.Kanalzahl = 4;
    open();
    find<QComboBox>("cboSwRegel")->setCurrentIndex(4);
    find<QComboBox>("cboMessKanal")->setCurrentIndex(3);
    find<QComboBox>("cboMessPeriode")->setCurrentIndex(8);
    find<QPushButton>("cmdSpeichern")->click();
    ASSERT_TRUE(dir.exists(QStringLiteral("zentrix.ini")));
    const QList<QByteArray> lines = dir.read(QStringLiteral("zentrix.ini")).split('\n');
    ASSERT_GE(lines.size(), 18);
    EXPECT_EQ(lines[7].trimmed(), QByteArray("SWREGEL=4"));
    EXPECT_EQ(lines[12].trimmed(), QByteArray("MESSKANAL=3"));
    EXPECT_EQ(lines[13].trimmed(), QByteArray("MESSPERIODE=015"));
    EXPECT_EQ(model.device.SwRegel, 0) << "saving does not store in the model";
}

TEST_F(DevicePropertiesTest, OkBringsTheOptionsImageUpToDate)
{
    model.device.SwRegel = 0;
    open();
    find<QComboBox>("cboSwRegel")->setCurrentIndex(2);
    find<QPushButton>("cmdOk")->click();
    const auto &h = model.program().HeaderBytes;
    EXPECT_EQ(h[1], model.device.DeviceCode);
    EXPECT_EQ(h[2], (model.device.Kanalzahl - 1) + 16 * 2);
    EXPECT_EQ(h[6], 5);
    EXPECT_EQ(h[7], 2026 - 1872);
}

TEST_F(DevicePropertiesTest, PortButtonOpensTheComPortChoice)
{
    open();
    auto *button = find<QAbstractButton>("cmdComPorts");
    ASSERT_NE(button, nullptr);
    QString seen;
    QTimer::singleShot(0, [&seen] {
        if (QWidget *modal = QApplication::activeModalWidget()) {
            seen = modal->objectName();
            if (auto *d = qobject_cast<QDialog *>(modal))
                d->reject();
        }
    });
    button->click();
    EXPECT_EQ(seen, QStringLiteral("frmSerialPorts"));
}

// The header interval shows the count that applies, as the print dialog does; the default left
// alone stays 0 in the configuration, another count is taken.
TEST_F(DevicePropertiesTest, HeaderIntervalShowsTheCountThatApplies)
{
    for (const auto &[configured, typed, stored] :
         {std::tuple{0, 0, 0}, {0, 30, 30}, {30, 50, 50}, {30, 0, 30}}) {
        model.transfer.PrintHeaderInterval = configured;
        open();
        QSpinBox *lines = find<QSpinBox>("txtZeilen");
        EXPECT_EQ(lines->value(), configured ? configured : 50);
        EXPECT_TRUE(lines->text().contains(QString::number(lines->value())));
        if (typed)
            lines->setValue(typed);
        find<QPushButton>("cmdOk")->click();
        EXPECT_EQ(model.transfer.PrintHeaderInterval, stored) << configured << " " << typed;
    }
}

namespace {

// The port, the delays and the print header are settings of this PC: they change neither the
// program nor its header (no step to undo); the changeover rule changes the program.
struct SettingCase {
    const char *control;
    int value;
    bool changesProgram;
};

class DeviceSettingOwner : public DevicePropertiesTest, public ::testing::WithParamInterface<SettingCase> {};

TEST_P(DeviceSettingOwner, OnlyProgramSettingsMarkTheProgram)
{
    const SettingCase &c = GetParam();
    open();
    const auto header = model.program().HeaderBytes;
    if (auto *box = dlg->findChild<QComboBox *>(QString::fromLatin1(c.control)))
        box->setCurrentIndex(c.value);
    else
        find<QSpinBox>(c.control)->setValue(c.value);
    if (!c.changesProgram) {
        EXPECT_EQ(model.Modified, 0) << "choosing it marks nothing";
    }
    find<QPushButton>("cmdOk")->click();
    EXPECT_EQ(model.Modified, c.changesProgram ? 1 : 0);
    EXPECT_EQ(model.program().HeaderBytes != header, c.changesProgram);
}

INSTANTIATE_TEST_SUITE_P(Controls, DeviceSettingOwner,
                         ::testing::Values(SettingCase{"cboLPT", 4, false}, SettingCase{"txtDelay", 3, false},
                                           SettingCase{"txtMaxDelay", 9, false},
                                           SettingCase{"txtZeilen", 40, false},
                                           SettingCase{"cboSwRegel", 2, true}),
                         [](const auto &info) { return std::string(info.param.control); });

} // namespace
