#include "app/DevicePropertiesDialog.h"

#include "app/AppContext.h"
#include "app/ConfigFile.h"
#include "app/MenuCaption.h"
#include "model/Model.h"
#include "output/PrintLayout.h"
#include "platform/Prompter.h"
#include "transfer/MasterCard.h"
#include "transfer/SerialPortsDialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QToolButton>
#include <QVBoxLayout>

namespace zx {

using namespace devicesettings;

DevicePropertiesDialog::DevicePropertiesDialog(AppContext &context, QWidget *parent)
    : QDialog(parent), ctx_(context), layout_(LayoutFor(context.model.device))
{
    setObjectName(QStringLiteral("frmGer\u00e4tEinst"));
    const Choices initial = FromModel(ctx_.model);
    setWindowTitle(plainCaption(ctx_.model.catalogue(Msg::MenuDeviceProperties)));
    setMinimumWidth(380);

    auto *outer = new QVBoxLayout(this);
    outer->setSpacing(10);
    outer->addWidget(buildRuleBox(initial));
    outer->addWidget(buildAccessBox(initial));
    outer->addWidget(buildPrintBox(initial));
    switch (layout_) {
    case Layout::Astro:
        outer->addWidget(buildAstroBox(initial));
        break;
    case Layout::Language:
        outer->addWidget(buildLanguageBox(initial));
        break;
    case Layout::Meter:
        outer->addWidget(buildMeterBox(initial));
        break;
    }

    // The port, the delays and the print header belong to this PC (the configuration file), not
    // to the program: choosing them leaves the program unchanged.
    connect(rule_, &QComboBox::currentIndexChanged, this, &DevicePropertiesDialog::changed);
    outer->addLayout(buildButtons());

    loading_ = false;
}

// The changeover rule.
QWidget *DevicePropertiesDialog::buildRuleBox(const Choices &initial)
{
    const Catalogue &c = ctx_.model.catalogue;
    auto *ruleBox = new QGroupBox(c(Msg::ChangeoverRule), this);
    ruleBox->setObjectName(QStringLiteral("fraSwRegel"));
    auto *ruleLayout = new QVBoxLayout(ruleBox);
    rule_ = new QComboBox(ruleBox);
    rule_->setObjectName(QStringLiteral("cboSwRegel"));
    for (int pos : {Msg::NoChangeover, Msg::LikeEurope, Msg::LikeTheUK, Msg::LikeUSA, Msg::LikeTheTable})
        rule_->addItem(c(pos));
    rule_->setCurrentIndex(initial.swRegel);
    ruleLayout->addWidget(rule_);
    return ruleBox;
}

// The transfer port and its delays.
QWidget *DevicePropertiesDialog::buildAccessBox(const Choices &initial)
{
    const Catalogue &c = ctx_.model.catalogue;
    auto *accessBox = new QGroupBox(c(Msg::AccessToZentrix), this);
    accessBox->setObjectName(QStringLiteral("fraZugriff"));
    auto *access = new QFormLayout(accessBox);
    port_ = new QComboBox(accessBox);
    port_->setObjectName(QStringLiteral("cboLPT"));
    for (const char *lpt : {"1 (378H)", "2 (278H)", "3 (3BCH)"})
        port_->addItem(c(Msg::ViaLPT) + QLatin1String(lpt));
    for (int com = 1; com <= 4; ++com)
        port_->addItem(c(Msg::UsingCOM).trimmed() + QLatin1Char(' ') + QString::number(com));
    port_->setCurrentIndex(initial.portSetting - 1);
    // Which device file each COM number means (on-board port or USB adapter) is chosen here.
    auto *portRow = new QHBoxLayout;
    portRow->addWidget(port_, 1);
    auto *comPorts = new QToolButton(accessBox);
    comPorts->setObjectName(QStringLiteral("cmdComPorts"));
    comPorts->setText(QStringLiteral("\u2026"));
    comPorts->setToolTip(c(Msg::SerielPort));
    connect(comPorts, &QToolButton::clicked, this, [this] {
        SerialPortsDialog dialog(ctx_.workDir, this);
        dialog.exec();
    });
    portRow->addWidget(comPorts);
    access->addRow(portRow);
    delay_ = new QSpinBox(accessBox);
    delay_->setObjectName(QStringLiteral("txtDelay"));
    delay_->setRange(0, 99);
    delay_->setValue(initial.delay);
    access->addRow(c(Msg::Delay), delay_);
    maxDelay_ = new QSpinBox(accessBox);
    maxDelay_->setObjectName(QStringLiteral("txtMaxDelay"));
    maxDelay_->setRange(0, 999);
    maxDelay_->setValue(initial.maxDelay);
    access->addRow(QStringLiteral("max. ") + c(Msg::Delay), maxDelay_);
    return accessBox;
}

// The header lines of printed lists.
QWidget *DevicePropertiesDialog::buildPrintBox(const Choices &initial)
{
    const Catalogue &c = ctx_.model.catalogue;
    auto *printBox = new QGroupBox(c(Msg::PrintSettings), this);
    printBox->setObjectName(QStringLiteral("fraDruck"));
    auto *printLayout = new QHBoxLayout(printBox);
    printHeaderInterval_ = new QSpinBox(printBox);
    printHeaderInterval_->setObjectName(QStringLiteral("txtZeilen"));
    // The count that applies is shown, as the print dialog shows it, never the 0 that stands for
    // the default.
    printHeaderInterval_->setRange(1, 999);
    printHeaderInterval_->setPrefix(c(Msg::HeaderAll));
    printHeaderInterval_->setSuffix(c(Msg::Lines));
    printHeaderInterval_->setValue(output::EffectiveHeaderInterval(initial.printHeaderInterval));
    printLayout->addWidget(printHeaderInterval_);
    return printBox;
}

// Astro devices: whether astro times switch channel 1 or channels 1 and 2.
QWidget *DevicePropertiesDialog::buildAstroBox(const Choices &initial)
{
    const Catalogue &c = ctx_.model.catalogue;
    auto *box = new QGroupBox(c(Msg::AstrotimesAreSwitching).trimmed(), this);
    box->setObjectName(QStringLiteral("fraAstro"));
    auto *l = new QHBoxLayout(box);
    const QString prefix = c(Msg::ChannelPrefix).trimmed();
    astroC1_ = new QRadioButton(prefix + QStringLiteral("1"), box);
    astroC1_->setObjectName(QStringLiteral("optAstroC1"));
    astroC1C2_ = new QRadioButton(prefix + QStringLiteral("1 + ") + prefix + QStringLiteral("2"), box);
    astroC1C2_->setObjectName(QStringLiteral("optAstroC1C2"));
    (initial.astroC1C2 ? astroC1C2_ : astroC1_)->setChecked(true);
    l->addWidget(astroC1_);
    l->addWidget(astroC1C2_);
    connect(astroC1C2_, &QRadioButton::toggled, this, &DevicePropertiesDialog::changed);
    return box;
}

// Devices without the utility option: the language of the time switch's display.
QWidget *DevicePropertiesDialog::buildLanguageBox(const Choices &initial)
{
    const Catalogue &c = ctx_.model.catalogue;
    auto *box = new QGroupBox(c(Msg::LanguageOfTheTimeSwitch), this);
    box->setObjectName(QStringLiteral("fraSprache"));
    auto *l = new QHBoxLayout(box);
    german_ = new QRadioButton(c(Msg::EnglishGerman), box);
    german_->setObjectName(QStringLiteral("optDeutsch"));
    french_ = new QRadioButton(c(Msg::French), box);
    french_->setObjectName(QStringLiteral("optFranz"));
    (initial.germanDisplay ? german_ : french_)->setChecked(true);
    l->addWidget(german_);
    l->addWidget(french_);
    connect(german_, &QRadioButton::toggled, this, &DevicePropertiesDialog::changed);
    return box;
}

// Devices with the utility option: the meter pulse.
QWidget *DevicePropertiesDialog::buildMeterBox(const Choices &initial)
{
    const Model &m = ctx_.model;
    const Catalogue &c = ctx_.model.catalogue;
    auto *box = new QGroupBox(c(Msg::MeterPuls), this);
    box->setObjectName(QStringLiteral("fraMessImp"));
    auto *form = new QFormLayout(box);
    meterChannel_ = new QComboBox(box);
    meterChannel_->setObjectName(QStringLiteral("cboMessKanal"));
    meterChannel_->addItem(c(Msg::NoMeterPuls));
    for (int ch = 1; ch <= MeterChannelCount(m.device.Kanalzahl); ++ch)
        meterChannel_->addItem(c(Msg::OnChannel1 + ch - 1));
    meterChannel_->setCurrentIndex(initial.meterChannel);
    form->addRow(meterChannel_);
    period_ = new QComboBox(box);
    period_->setObjectName(QStringLiteral("cboMessPeriode"));
    for (int minutes : PeriodMinutes)
        period_->addItem(QString::number(minutes) + QLatin1Char(' ') + c(Msg::Min));
    period_->setCurrentIndex(initial.periodIndex);
    form->addRow(c(Msg::Period), period_);
    pulse_ = new QComboBox(box);
    pulse_->setObjectName(QStringLiteral("cboMessImpDauer"));
    fillPulseLengths(initial.pulseIndex);
    form->addRow(c(Msg::LenthOfThePuls), pulse_);
    meterState_ = new QComboBox(box);
    meterState_->setObjectName(QStringLiteral("cboMessZustand"));
    meterState_->addItems({c(Msg::MeteringWithRelayON), c(Msg::MeteringWithRelayOFF)});
    meterState_->setCurrentIndex(initial.meterState);
    form->addRow(meterState_);
    meterTiming_ = new QComboBox(box);
    meterTiming_->setObjectName(QStringLiteral("cboMessZeitpunkt"));
    meterTiming_->addItems({c(Msg::AtTheBeginOfThe), c(Msg::AtTheEndOfThe)});
    meterTiming_->setCurrentIndex(initial.meterTiming);
    form->addRow(meterTiming_);
    connect(meterChannel_, &QComboBox::currentIndexChanged, this, [this] {
        updateMeterEnabling();
        changed();
    });
    connect(period_, &QComboBox::currentIndexChanged, this, [this] {
        fillPulseLengths(pulse_->currentIndex());
        changed();
    });
    for (QComboBox *cb : {pulse_, meterState_, meterTiming_})
        connect(cb, &QComboBox::currentIndexChanged, this, &DevicePropertiesDialog::changed);
    updateMeterEnabling();
    return box;
}

QHBoxLayout *DevicePropertiesDialog::buildButtons()
{
    const Catalogue &c = ctx_.model.catalogue;
    auto *buttons = new QHBoxLayout;
    auto *ok = new QPushButton(c(Msg::Ok), this);
    ok->setObjectName(QStringLiteral("cmdOk"));
    ok->setDefault(true);
    auto *save = new QPushButton(c(Msg::BtnSave), this);
    save->setObjectName(QStringLiteral("cmdSpeichern"));
    save->setToolTip(QStringLiteral("zentrix.ini"));
    auto *cancel = new QPushButton(c(Msg::Cancel), this);
    cancel->setObjectName(QStringLiteral("cmdAbbrechen"));
    buttons->addStretch(1);
    buttons->addWidget(ok);
    buttons->addWidget(save);
    buttons->addWidget(cancel);
    connect(ok, &QPushButton::clicked, this, &DevicePropertiesDialog::confirm);
    connect(save, &QPushButton::clicked, this, &DevicePropertiesDialog::saveConfiguration);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    return buttons;
}

void DevicePropertiesDialog::fillPulseLengths(int keepIndex)
{
    const int count = PulseLengthCount(period_->currentIndex());
    const QSignalBlocker block(pulse_);
    pulse_->clear();
    for (int n = 1; n <= count; ++n)
        pulse_->addItem(QString::number(n) + ctx_.model.catalogue.text(Msg::Sec));
    pulse_->setCurrentIndex(qBound(0, keepIndex, count - 1));
}

void DevicePropertiesDialog::updateMeterEnabling()
{
    // Without a meter channel there is no period, length, state or timing to choose.
    const bool on = meterChannel_->currentIndex() > 0;
    for (QComboBox *cb : {period_, pulse_, meterState_, meterTiming_})
        cb->setEnabled(on);
}

void DevicePropertiesDialog::changed()
{
    if (!loading_)
        ctx_.model.Modified = 1;
}

Choices DevicePropertiesDialog::choices() const
{
    Choices c = FromModel(ctx_.model);
    c.swRegel = rule_->currentIndex();
    c.portSetting = port_->currentIndex() + 1;
    c.delay = delay_->value();
    c.maxDelay = maxDelay_->value();
    c.printHeaderInterval =
        output::HeaderIntervalToStore(printHeaderInterval_->value(), c.printHeaderInterval);
    if (astroC1C2_)
        c.astroC1C2 = astroC1C2_->isChecked() ? 1 : 0;
    if (german_)
        c.germanDisplay = german_->isChecked() ? 1 : 0;
    if (meterChannel_) {
        c.meterChannel = meterChannel_->currentIndex();
        c.periodIndex = period_->currentIndex();
        c.pulseIndex = pulse_->currentIndex();
        c.meterState = meterState_->currentIndex();
        c.meterTiming = meterTiming_->currentIndex();
    }
    return c;
}

void DevicePropertiesDialog::confirm()
{
    Model &m = ctx_.model;
    const Choices chosen = choices();
    const bool programChanged = ChangesProgram(m, chosen);
    Apply(m, chosen);
    // The header is stamped only when the program changed: a new stamp alone would count as a
    // change of a program that has none.
    if (programChanged) {
        UpdateOptionsImage(m, ctx_.prompter, ctx_.clock);
        m.Modified = 1;
    }
    accept();
}

bool DevicePropertiesDialog::saveConfiguration()
{
    // The file takes the dialog's choices without touching the model.
    Model copy = ctx_.model;
    Apply(copy, choices());
    const QString dir = ctx_.workDir.isEmpty() ? QDir::currentPath() : ctx_.workDir;
    QString error;
    if (!WriteConfigFile(copy, QDir(dir).filePath(ConfigFileName()), &error)) {
        ctx_.prompter.tell(error, Icon::Critical);
        return false;
    }
    return true;
}

} // namespace zx
