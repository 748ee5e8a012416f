#include "entry/AutomationDialog.h"

#include "app/AppContext.h"
#include "model/Model.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QVBoxLayout>

namespace zx {

namespace {

QScrollBar *MakeScrollBar(QWidget *parent, const char *name, int maximum, int largeStep)
{
    auto *bar = new QScrollBar(Qt::Horizontal, parent);
    bar->setObjectName(QString::fromLatin1(name));
    bar->setRange(0, maximum);
    bar->setSingleStep(1);
    bar->setPageStep(largeStep);
    bar->setMinimumWidth(160);
    bar->setFocusPolicy(Qt::StrongFocus);
    return bar;
}

QLabel *MakeLabel(QWidget *parent, const char *name)
{
    auto *label = new QLabel(parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setMinimumWidth(130);
    return label;
}

QCheckBox *MakeCheckBox(QWidget *parent, const char *name)
{
    auto *box = new QCheckBox(parent);
    box->setObjectName(QString::fromLatin1(name));
    return box;
}

} // namespace

AutomationDialog::AutomationDialog(AppContext &ctx, QWidget *parent) : QDialog(parent), ctx_(ctx)
{
    setObjectName(QStringLiteral("frmAutoEinst"));

    auto *root = new QVBoxLayout(this);
    heading_ = new QLabel(this);
    heading_->setObjectName(QStringLiteral("lblAssistent"));
    root->addWidget(heading_);

    auto *grid = new QGridLayout;
    root->addLayout(grid);
    hsbincmin_ = MakeScrollBar(this, "hsbincmin", 59, 10);
    hsbIncStd_ = MakeScrollBar(this, "HsbIncStd", 23, 6);
    hsbincTag_ = MakeScrollBar(this, "HsbincTag", 364, 10);
    hsbwert_ = MakeScrollBar(this, "hsbwert", 255, 10);
    lblincmin_ = MakeLabel(this, "lblincmin");
    lblIncStd_ = MakeLabel(this, "lblIncStd");
    lblincTag_ = MakeLabel(this, "lblincTag");
    lblincwert_ = MakeLabel(this, "lblincwert");
    lblwertHeading_ = new QLabel(this);
    lblwertHeading_->setObjectName(QStringLiteral("lblwertHeading"));
    grid->addWidget(hsbincmin_, 0, 0);
    grid->addWidget(lblincmin_, 0, 1);
    grid->addWidget(hsbIncStd_, 1, 0);
    grid->addWidget(lblIncStd_, 1, 1);
    grid->addWidget(hsbincTag_, 2, 0);
    grid->addWidget(lblincTag_, 2, 1);

    chkincWtag_ = MakeCheckBox(this, "chkincWtag");
    chkincMon_ = MakeCheckBox(this, "chkincMon");
    chkincPrio_ = MakeCheckBox(this, "chkincPrio");
    chkincZust_ = MakeCheckBox(this, "chkincZust");
    grid->addWidget(chkincWtag_, 3, 0, 1, 2);
    grid->addWidget(chkincMon_, 4, 0, 1, 2);
    grid->addWidget(chkincPrio_, 5, 0, 1, 2);
    grid->addWidget(chkincZust_, 6, 0, 1, 2);
    auto *valueRow = new QHBoxLayout;
    valueRow->addWidget(lblwertHeading_);
    valueRow->addWidget(hsbwert_, 1);
    valueRow->addWidget(lblincwert_);
    grid->addLayout(valueRow, 7, 0, 1, 2);

    // The changeover rule of the changeover table's day lists.
    auto *rules = new QGridLayout;
    auto makeBox = [this](const char *name) {
        auto *box = new QComboBox(this);
        box->setObjectName(QLatin1String(name));
        return box;
    };
    cbovonregel_ = makeBox("cbovonregel");
    cbovonwtag_ = makeBox("cbovonwtag");
    cbobisregel_ = makeBox("cbobisregel");
    cbobiswtag_ = makeBox("cbobiswtag");
    ruleHeading_ = new QLabel(this);
    ruleHeading_->setObjectName(QStringLiteral("lblSwRegel"));
    rules->addWidget(ruleHeading_, 0, 0, 1, 2);
    rules->addWidget(cbovonregel_, 1, 0);
    rules->addWidget(cbovonwtag_, 1, 1);
    rules->addWidget(cbobisregel_, 2, 0);
    rules->addWidget(cbobiswtag_, 2, 1);
    root->addLayout(rules);

    auto *buttons = new QHBoxLayout;
    chkEinstOk_ = new QPushButton(this);
    chkEinstOk_->setObjectName(QStringLiteral("ChkEinstOk"));
    cmdEinstend_ = new QPushButton(this);
    cmdEinstend_->setObjectName(QStringLiteral("cmdEinstend"));
    buttons->addStretch();
    buttons->addWidget(chkEinstOk_);
    buttons->addWidget(cmdEinstend_);
    root->addLayout(buttons);
    for (QPushButton *b : {chkEinstOk_, cmdEinstend_}) {
        b->setAutoDefault(false);
        b->setDefault(false);
    }

    for (QScrollBar *bar : {hsbincmin_, hsbIncStd_, hsbincTag_, hsbwert_})
        connect(bar, &QScrollBar::valueChanged, this, &AutomationDialog::refreshLabels);
    connect(chkEinstOk_, &QPushButton::clicked, this, [this] {
        storeSettings();
        accept();
    });
    connect(cmdEinstend_, &QPushButton::clicked, this, &AutomationDialog::reject);

    loadSettings();
}

void AutomationDialog::loadSettings()
{
    const Model &model = ctx_.model;
    const Catalogue &c = model.catalogue;
    const AutomationSettings &s = model.automation;
    const bool bus = model.device.BusDevice != 0;

    setWindowTitle(c(Msg::EditAssistantTitle));
    heading_->setText(c(Msg::SwitchingProgramAssistant));
    chkincWtag_->setText(c(Msg::IncrementDaysOfTheWeek));
    chkincMon_->setText(c(Msg::IncrementMonth));
    chkincPrio_->setText(c(Msg::IncrementPrio));
    chkincZust_->setText(c(Msg::ChangeSwitchingState));
    lblwertHeading_->setText(c(Msg::Value));
    chkEinstOk_->setText(c(Msg::Ok));
    ruleHeading_->setText(c(Msg::ChangeoverRule));
    for (QComboBox *box : {cbovonregel_, cbobisregel_}) {
        box->clear();
        for (int r = 0; r < 5; ++r)
            box->addItem(c(Msg::First + r));
    }
    for (QComboBox *box : {cbovonwtag_, cbobiswtag_}) {
        box->clear();
        for (int d = 0; d < 7; ++d)
            box->addItem(c(Msg::Monday + d));
    }
    cbovonregel_->setCurrentIndex(std::clamp(s.DstFromRule, 0, 4));
    cbovonwtag_->setCurrentIndex(std::clamp(s.DstFromWeekday, 0, 6));
    cbobisregel_->setCurrentIndex(std::clamp(s.DstToRule, 0, 4));
    cbobiswtag_->setCurrentIndex(std::clamp(s.DstToWeekday, 0, 6));
    cmdEinstend_->setText(c(Msg::Cancel));

    hsbincmin_->setValue(std::clamp(s.IncMinutes, 0, 59));
    hsbIncStd_->setValue(std::clamp(s.IncHours, 0, 23));
    hsbincTag_->setValue(std::clamp(s.IncDays, 0, 364));
    chkincWtag_->setChecked(s.IncWeekdays == 1);
    chkincMon_->setChecked(s.IncMonth == 1);
    chkincPrio_->setChecked(s.IncPriority == 1);

    // A bus device adds an amount to the value where a conventional device toggles ON/OFF.
    chkincZust_->setVisible(!bus);
    for (QWidget *w : {static_cast<QWidget *>(hsbwert_), static_cast<QWidget *>(lblincwert_),
                       static_cast<QWidget *>(lblwertHeading_)})
        w->setVisible(bus);
    if (bus) {
        hsbwert_->setValue(std::clamp(s.IncState, 0, 255));
        chkincZust_->setChecked(false);
    } else {
        chkincZust_->setChecked(s.IncState == 1);
        hsbwert_->setValue(0);
    }
    refreshLabels();
}

void AutomationDialog::storeSettings()
{
    AutomationSettings &s = ctx_.model.automation;
    s.IncMinutes = hsbincmin_->value();
    s.IncHours = hsbIncStd_->value();
    s.IncDays = hsbincTag_->value();
    s.IncWeekdays = chkincWtag_->isChecked() ? 1 : 0;
    s.IncMonth = chkincMon_->isChecked() ? 1 : 0;
    s.IncPriority = chkincPrio_->isChecked() ? 1 : 0;
    s.DstFromRule = cbovonregel_->currentIndex();
    s.DstFromWeekday = cbovonwtag_->currentIndex();
    s.DstToRule = cbobisregel_->currentIndex();
    s.DstToWeekday = cbobiswtag_->currentIndex();
    s.IncState = ctx_.model.device.BusDevice ? hsbwert_->value() : (chkincZust_->isChecked() ? 1 : 0);
    Q_EMIT settingsStored();
}

QString AutomationDialog::amountText(int amount, int one, int many) const
{
    const Catalogue &c = ctx_.model.catalogue;
    return amount == 1 ? c(one) : QString::number(amount) + QStringLiteral(" ") + c(many);
}

void AutomationDialog::refreshLabels()
{
    lblincmin_->setText(amountText(hsbincmin_->value(), Msg::N1Minute, Msg::MinutesWord));
    lblIncStd_->setText(amountText(hsbIncStd_->value(), Msg::N1Hour, Msg::HoursLabel));
    lblincTag_->setText(amountText(hsbincTag_->value(), Msg::N1DayOnlyDate, Msg::DaysOnlyDate));
    lblincwert_->setText(QString::number(hsbwert_->value()));
}

} // namespace zx
