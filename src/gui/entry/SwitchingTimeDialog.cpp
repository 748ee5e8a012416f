#include "entry/SwitchingTimeDialog.h"

#include "app/AppContext.h"
#include "entry/AutomationDialog.h"
#include "entry/EntryAutomation.h"
#include "entry/EntryControls.h"
#include "entry/EntryDeviceRules.h"
#include "entry/EntrySession.h"
#include "entry/EntryStore.h"
#include "entry/RunTitle.h"
#include "entry/TypedFieldControl.h"
#include "model/ListKinds.h"
#include "model/ListOrder.h"
#include "model/Model.h"
#include "platform/Clock.h"
#include "platform/Prompter.h"
#include "views/ListFormatter.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QFocusEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QStyle>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

#include <exception>

namespace zx {

namespace {

const QColor TickedColour(128, 128, 255);
const QColor UntickedColour(192, 192, 192);

// " 0".." 9", "10".. as the hour and pulse lists show numbers.
QString TwoColumns(int n)
{
    return n < 10 ? QStringLiteral(" ") + QString::number(n) : QString::number(n);
}

void Paint(QAbstractButton *button, bool on)
{
    QPalette p = button->palette();
    p.setColor(QPalette::Window, on ? TickedColour : UntickedColour);
    p.setColor(QPalette::Button, on ? TickedColour : UntickedColour);
    button->setPalette(p);
    button->setAutoFillBackground(true);
}

} // namespace

namespace {

// "Change the switching program (2 of 5)" while a run walks marked records.
QString runTitle(const Model &model, int editMode, const EntrySession &session)
{
    return RunTitle(
        model.catalogue(editMode == EditCopy ? Msg::CopyTheSwitchingProgram : Msg::ChangeTheSwitchingProgram),
        session.run(), model.device.Sprache);
}

} // namespace

SwitchingTimeDialog::SwitchingTimeDialog(AppContext &ctx, QWidget *parent) : QDialog(parent), ctx_(ctx)
{
    setObjectName(QStringLiteral("frmEingSz"));
    setWindowModality(Qt::ApplicationModal);
    buildControls();
}

void SwitchingTimeDialog::buildControls()
{
    auto *root = new QVBoxLayout(this);
    auto *columns = new QHBoxLayout;
    root->addLayout(columns);

    const char *headingNames[] = {"LblÜsStd", "LblÜsMin",  "LblÜsImp", "LblÜsTage", "LblÜsTag",
                                  "LblÜsMon", "LblÜsPrio", "LblÜsKan", "LblÜsWert"};
    for (std::size_t i = 0; i < headings_.size(); ++i)
        headings_[i] = MakeEntryLabel(this, QString::fromUtf8(headingNames[i]));
    lblPulseHeading_ = headings_[2];
    lblPrioHeading_ = headings_[6];
    lblValueHeading_ = headings_[8];

    const char *fieldNames[FieldCount] = {"txtAnzstd", "txtAnzMin", "txtAnzImp",
                                          "txtAnztag", "txtAnzMon", "txtAnzPrio"};
    for (int i = 0; i < FieldCount; ++i) {
        auto *field = new QLineEdit(this);
        field->setObjectName(QString::fromLatin1(fieldNames[i]));
        fields_[i] = field;
        typed_[i] = new TypedFieldControl(field, rangeOf(i), ctx_.prompter,
                                          [this, i](const TypedValue &v) { return applyTyped(i, v); });
    }

    auto column = [&](QLabel *heading, QWidget *list, QLineEdit *field) {
        // Widths in characters of the dialog's font, so that larger fonts and scaling keep the
        // texts whole.
        const int chars = list->objectName().startsWith(QLatin1String("Lst")) ? 15 : 6;
        const int width = chars * list->fontMetrics().averageCharWidth() +
                          list->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, list) + 8;
        list->setFixedWidth(width);
        if (field)
            field->setFixedWidth(width);
        auto *box = new QVBoxLayout;
        box->addWidget(heading);
        box->addWidget(list);
        if (field)
            box->addWidget(field);
        box->addStretch();
        columns->addLayout(box);
        return box;
    };

    liststd_ = MakeEntryList(this, QStringLiteral("liststd"), 8);
    listmin_ = MakeEntryList(this, QStringLiteral("listmin"), 8);
    listimp_ = MakeEntryList(this, QStringLiteral("listimp"), 8);
    column(headings_[0], liststd_, fields_[FieldHour]);
    column(headings_[1], listmin_, fields_[FieldMinute]);
    column(headings_[2], listimp_, fields_[FieldPulse]);

    auto *weekBox = new QVBoxLayout;
    weekBox->addWidget(headings_[3]);
    const char *weekdayNames[] = {"chkMontag",  "chkDienstag", "chkMittwoch", "chkDonnerstag",
                                  "chkFreitag", "chkSamstag",  "chkSonntag"};
    for (int i = 0; i < 7; ++i) {
        weekdays_[i] = new QCheckBox(this);
        weekdays_[i]->setObjectName(QString::fromLatin1(weekdayNames[i]));
        weekBox->addWidget(weekdays_[i]);
        connect(weekdays_[i], &QCheckBox::clicked, this, [this, i](bool on) { onWeekdayClicked(i, on); });
    }
    chktgl_ = new QCheckBox(this);
    chktgl_->setObjectName(QStringLiteral("chktgl"));
    weekBox->addWidget(chktgl_);
    weekBox->addStretch();
    columns->addLayout(weekBox);
    connect(chktgl_, &QCheckBox::clicked, this, &SwitchingTimeDialog::onDailyClicked);

    listtag_ = MakeEntryList(this, QStringLiteral("Listtag"), 8);
    lstMonat_ = MakeEntryList(this, QStringLiteral("LstMonat"), 8);
    column(headings_[4], listtag_, fields_[FieldDay]);
    QVBoxLayout *monthBox = column(headings_[5], lstMonat_, fields_[FieldMonth]);
    chk1x_ = new QCheckBox(QStringLiteral("1x"), this);
    chk1x_->setObjectName(QStringLiteral("chk1x"));
    monthBox->insertWidget(3, chk1x_);
    connect(chk1x_, &QCheckBox::clicked, this, [this] { refreshColours(); });

    lstPrio_ = MakeEntryList(this, QStringLiteral("LstPrio"), 8);
    column(headings_[6], lstPrio_, fields_[FieldProgram]);

    auto *channelBox = new QVBoxLayout;
    channelBox->addWidget(headings_[7]);
    for (int i = 0; i < 4; ++i) {
        channels_[i] = new QCheckBox(this);
        channels_[i]->setObjectName(QStringLiteral("chkKan%1").arg(i + 1));
        channelBox->addWidget(channels_[i]);
        connect(channels_[i], &QCheckBox::clicked, this, [this, i](bool on) { onChannelClicked(i, on); });
    }
    fraEIB_ = new QGroupBox(this);
    fraEIB_->setObjectName(QStringLiteral("fraEIB"));
    auto *eibLayout = new QGridLayout(fraEIB_);
    busGroup_ = new QButtonGroup(this);
    for (int i = 0; i < 8; ++i) {
        busChannels_[i] = new QRadioButton(fraEIB_);
        busChannels_[i]->setObjectName(QStringLiteral("optkan%1").arg(i + 1));
        busGroup_->addButton(busChannels_[i], i + 1);
        eibLayout->addWidget(busChannels_[i], i % 4, i / 4);
    }
    connect(busGroup_, &QButtonGroup::idClicked, this, [this] { refreshColours(); });
    channelBox->addWidget(fraEIB_);

    cmdEinAus_ = new QPushButton(this);
    cmdEinAus_->setObjectName(QStringLiteral("cmdEinAus"));
    channelBox->addWidget(cmdEinAus_);
    connect(cmdEinAus_, &QPushButton::clicked, this, [this] { setState(state_ ? 0 : 1); });

    auto *valueRow = new QHBoxLayout;
    vsbwert_ = new QScrollBar(Qt::Vertical, this);
    vsbwert_->setObjectName(QStringLiteral("vsbwert"));
    vsbwert_->setRange(0, 255);
    vsbwert_->setSingleStep(1);
    vsbwert_->setPageStep(10);
    vsbwert_->setFocusPolicy(Qt::StrongFocus);
    vsbwert_->setMinimumHeight(110);
    vsbwert_->installEventFilter(this);
    auto *valueColumn = new QVBoxLayout;
    cboformat_ = new QComboBox(this);
    cboformat_->setObjectName(QStringLiteral("cboformat"));
    lblwert_ = MakeEntryLabel(this, QStringLiteral("lblwert"));
    valueColumn->addWidget(lblValueHeading_);
    valueColumn->addWidget(lblwert_);
    valueColumn->addWidget(cboformat_);
    valueColumn->addStretch();
    valueRow->addWidget(vsbwert_);
    valueRow->addLayout(valueColumn);
    channelBox->addLayout(valueRow);
    channelBox->addStretch();
    columns->addLayout(channelBox);
    connect(vsbwert_, &QScrollBar::valueChanged, this, [this] { refreshValueLabel(); });
    connect(cboformat_, &QComboBox::currentIndexChanged, this, [this] { refreshValueLabel(); });

    // Bottom: confirmation, automation and the last-entry panel.
    auto *bottom = new QHBoxLayout;
    root->addLayout(bottom);
    auto *buttons = new QVBoxLayout;
    cmdSzOk_ = new QPushButton(this);
    cmdSzOk_->setObjectName(QStringLiteral("cmdSzOk"));
    cmdalleok_ = new QPushButton(this);
    cmdalleok_->setObjectName(QStringLiteral("Cmdalleok"));
    cmdSzEnd_ = new QPushButton(this);
    cmdSzEnd_->setObjectName(QStringLiteral("cmdSzEnd"));
    imgSzok_ = new QLabel(QStringLiteral("\u2714"), this);
    imgSzok_->setObjectName(QStringLiteral("imgSzok"));
    // The confirmation mark comes and goes after every OK: its place stays, so the dialog
    // keeps its size and its buttons stay where they are.
    {
        QSizePolicy keep = imgSzok_->sizePolicy();
        keep.setRetainSizeWhenHidden(true);
        imgSzok_->setSizePolicy(keep);
    }
    imgSzok_->setStyleSheet(QStringLiteral("color: rgb(0, 160, 0); font-size: 20pt;"));
    imgSzok_->hide();
    auto *okRow = new QHBoxLayout;
    okRow->addWidget(cmdSzOk_);
    okRow->addWidget(imgSzok_);
    buttons->addLayout(okRow);
    buttons->addWidget(cmdalleok_);
    buttons->addWidget(cmdSzEnd_);
    bottom->addLayout(buttons);
    connect(cmdSzOk_, &QPushButton::clicked, this, &SwitchingTimeDialog::onConfirm);
    connect(cmdalleok_, &QPushButton::clicked, this, &SwitchingTimeDialog::onOkForAll);
    connect(cmdSzEnd_, &QPushButton::clicked, this, [this] { close(); });

    auto *automation = new QVBoxLayout;
    chkautopil_ = new QCheckBox(this);
    chkautopil_->setObjectName(QStringLiteral("Chkautopil"));
    cmdneuassi_ = new QPushButton(this);
    cmdneuassi_->setObjectName(QStringLiteral("cmdneuassi"));
    cmd1xauto_ = new QPushButton(this);
    cmd1xauto_->setObjectName(QStringLiteral("Cmd1xauto"));
    automation->addWidget(chkautopil_);
    automation->addWidget(cmdneuassi_);
    automation->addWidget(cmd1xauto_);
    bottom->addLayout(automation);
    connect(chkautopil_, &QCheckBox::clicked, this, &SwitchingTimeDialog::onAutomationToggled);
    connect(cmdneuassi_, &QPushButton::clicked, this, &SwitchingTimeDialog::onNewAutomation);
    connect(cmd1xauto_, &QPushButton::clicked, this, &SwitchingTimeDialog::applyIncrements);

    fraold_ = new QGroupBox(this);
    fraold_->setObjectName(QStringLiteral("fraold"));
    auto *panel = new QGridLayout(fraold_);
    lbloldtime_ = MakeEntryLabel(fraold_, QStringLiteral("lbloldtime"));
    lbloldday_ = MakeEntryLabel(fraold_, QStringLiteral("lbloldday"));
    lbloldkan_ = MakeEntryLabel(fraold_, QStringLiteral("lbloldkan"));
    lbloldprio_ = MakeEntryLabel(fraold_, QStringLiteral("lbloldprio"));
    lbloldimp_ = MakeEntryLabel(fraold_, QStringLiteral("lbloldimp"));
    imgoldSzup_ = new QToolButton(fraold_);
    imgoldSzup_->setObjectName(QStringLiteral("imgoldSzup"));
    imgoldSzup_->setArrowType(Qt::UpArrow);
    imgoldSzdown_ = new QToolButton(fraold_);
    imgoldSzdown_->setObjectName(QStringLiteral("imgoldSzdown"));
    imgoldSzdown_->setArrowType(Qt::DownArrow);
    panel->addWidget(lbloldtime_, 0, 0);
    panel->addWidget(lbloldday_, 0, 1);
    panel->addWidget(lbloldkan_, 0, 2);
    panel->addWidget(lbloldprio_, 0, 3);
    panel->addWidget(lbloldimp_, 0, 4);
    panel->addWidget(imgoldSzup_, 0, 5);
    panel->addWidget(imgoldSzdown_, 0, 6);
    panel->setColumnStretch(1, 1);
    bottom->addWidget(fraold_, 1);
    connect(imgoldSzup_, &QToolButton::clicked, this, [this] { onStepPanel(+1); });
    connect(imgoldSzdown_, &QToolButton::clicked, this, [this] { onStepPanel(-1); });

    // Return presses OK, as in every dialog; in a typed field it only confirms that field (the
    // field takes the key). No other button takes Return when it has the focus.
    for (QPushButton *b : findChildren<QPushButton *>()) {
        b->setAutoDefault(false);
        b->setDefault(false);
    }
    cmdSzOk_->setDefault(true);

    timer1_ = new QTimer(this);
    timer1_->setObjectName(QStringLiteral("Timer1"));
    timer1_->setInterval(500);
    timer1_->setSingleShot(true);
    connect(timer1_, &QTimer::timeout, imgSzok_, &QLabel::hide);
    tmalleok_ = new QTimer(this);
    tmalleok_->setObjectName(QStringLiteral("tmalleok"));
    tmalleok_->setInterval(20);
    connect(tmalleok_, &QTimer::timeout, this, &SwitchingTimeDialog::onOkForAllTick);

    // Tab reads the columns from left to right, each from top to bottom, then the bottom row.
    SetTabChain({liststd_,
                 fields_[FieldHour],
                 listmin_,
                 fields_[FieldMinute],
                 listimp_,
                 fields_[FieldPulse],
                 weekdays_[0],
                 weekdays_[1],
                 weekdays_[2],
                 weekdays_[3],
                 weekdays_[4],
                 weekdays_[5],
                 weekdays_[6],
                 chktgl_,
                 listtag_,
                 fields_[FieldDay],
                 lstMonat_,
                 fields_[FieldMonth],
                 chk1x_,
                 lstPrio_,
                 fields_[FieldProgram],
                 channels_[0],
                 channels_[1],
                 channels_[2],
                 channels_[3],
                 busChannels_[0],
                 busChannels_[1],
                 busChannels_[2],
                 busChannels_[3],
                 busChannels_[4],
                 busChannels_[5],
                 busChannels_[6],
                 busChannels_[7],
                 cmdEinAus_,
                 vsbwert_,
                 cboformat_,
                 cmdSzOk_,
                 cmdalleok_,
                 cmdSzEnd_,
                 chkautopil_,
                 cmdneuassi_,
                 cmd1xauto_,
                 imgoldSzup_,
                 imgoldSzdown_});

    connect(liststd_, &QListWidget::currentRowChanged, this, [this] { refreshFields(); });
    connect(listmin_, &QListWidget::currentRowChanged, this, [this] { refreshFields(); });
    connect(listimp_, &QListWidget::currentRowChanged, this, [this] { refreshFields(); });
    connect(lstPrio_, &QListWidget::currentRowChanged, this, [this] { refreshFields(); });
    connect(listtag_, &QListWidget::currentRowChanged, this, &SwitchingTimeDialog::onDayChosen);
    connect(lstMonat_, &QListWidget::currentRowChanged, this, &SwitchingTimeDialog::onMonthChosen);
}

void SwitchingTimeDialog::setCaptions()
{
    const Catalogue &c = ctx_.model.catalogue;
    const int titles[] = {Msg::HoursLabel, Msg::MinutesWord, Msg::Puls,     Msg::DaysOfTheWeek,
                          Msg::Day,        Msg::Month,       Msg::Priority, Msg::ChannelsHeading,
                          Msg::Value};
    for (std::size_t i = 0; i < headings_.size(); ++i)
        headings_[i]->setText(c(titles[i]));
    for (int i = 0; i < 7; ++i)
        weekdays_[i]->setText(c(Msg::Monday + i));
    chktgl_->setText(c(Msg::Daily));
    for (int i = 0; i < 4; ++i)
        channels_[i]->setText(c(Msg::Channel1 + i));
    for (int i = 0; i < 8; ++i)
        busChannels_[i]->setText(c(Msg::Channel1 + i));
    cmdSzOk_->setText(c(Msg::Ok));
    cmdalleok_->setText(c(Msg::AllButton));
    cmdSzEnd_->setText(c(Msg::BtnExit));
    chkautopil_->setText(c(Msg::ActiveAfterInput));
    cmdneuassi_->setText(c(Msg::NewButton));
    cmd1xauto_->setText(c(Msg::DoIt));
    fraold_->setTitle(c(Msg::AlreadyEntered));
    {
        const QSignalBlocker block(cboformat_);
        const int format = std::max(0, cboformat_->currentIndex());
        cboformat_->clear();
        cboformat_->addItems({c(Msg::Decim), c(Msg::HEX), QStringLiteral("%")});
        cboformat_->setCurrentIndex(format);
    }
    setState(state_);
}

void SwitchingTimeDialog::fillLists()
{
    const Catalogue &c = ctx_.model.catalogue;
    const auto fill = [](QListWidget *list, const QStringList &items) {
        const QSignalBlocker block(list);
        list->clear();
        list->addItems(items);
    };
    QStringList hours, minutes, pulses{QStringLiteral("--")}, days, months, programs{c(Msg::None)};
    for (int h = 0; h < 24; ++h)
        hours << TwoColumns(h);
    for (int m = 0; m < 60; ++m)
        minutes << QStringLiteral("%1").arg(m, 2, 10, QLatin1Char('0'));
    for (int s = 1; s < 60; ++s)
        pulses << TwoColumns(s);
    for (int d = 1; d <= 31; ++d)
        days << (d == 31 ? QStringLiteral("31") : TwoColumns(d) + QStringLiteral("."));
    for (int m = 0; m < 12; ++m)
        months << c(Msg::January + m);
    for (int p = 0; p < MaxProgram(ctx_.model.device.BusDevice); ++p)
        programs << c(Msg::Priority1 + p);
    fill(liststd_, hours);
    fill(listmin_, minutes);
    fill(listimp_, pulses);
    fill(listtag_, days);
    fill(lstMonat_, months);
    fill(lstPrio_, programs);
}

void SwitchingTimeDialog::setupChannels()
{
    const ChannelLayout layout = PrepareChannelLayout(ctx_.model.device);
    const bool bus = layout.bus;
    fraEIB_->setVisible(bus);
    setBusChannel(0);
    for (int i = 0; i < 8; ++i)
        busChannels_[i]->setVisible(bus && i < layout.channels);

    const int shown = bus ? 0 : layout.channels;
    for (int i = 0; i < 4; ++i) {
        channels_[i]->setVisible(i < shown);
        channels_[i]->setChecked(false);
        channels_[i]->setEnabled(true);
    }
    if (!bus) {
        channels_[0]->setChecked(layout.firstTicked);
        channels_[0]->setEnabled(!layout.firstLocked);
        if (layout.meterChannel > 0) {
            channels_[layout.meterChannel - 1]->setEnabled(false);
            channels_[layout.meterChannel - 1]->setChecked(false);
        }
    }

    cmdEinAus_->setVisible(!bus);
    vsbwert_->setVisible(bus);
    cboformat_->setVisible(bus);
    lblwert_->setVisible(bus);
    lblValueHeading_->setVisible(bus);
}

void SwitchingTimeDialog::openInMode()
{
    Model &model = ctx_.model;
    finished_ = false;
    for (TypedFieldControl *field : typed_)
        field->setChecking(true);
    session_.open(model);
    editMode_ = session_.mode();

    setCaptions();
    fillLists();
    typed_[FieldProgram]->setRange(rangeOf(FieldProgram));
    setupChannels();
    resetEntry();

    const bool pulses = OffersPulses(model.device);
    lblPulseHeading_->setVisible(pulses);
    listimp_->setEnabled(pulses);
    fields_[FieldPulse]->setEnabled(pulses);

    okForAll_ = false;
    tmalleok_->stop();
    timer1_->stop();
    imgSzok_->hide();
    panelIndex_ = model.program().UsedCount;
    clearPanel();

    switch (editMode_) {
    case EditChange:
    case EditCopy:
        model.automation.AutomationActive = 0;
        chkautopil_->setChecked(false);
        loadRecord(session_.recordToLoad(), session_.sourceSet());
        setWindowTitle(runTitle(model, editMode_, session_));
        break;
    default:
        setWindowTitle(model.catalogue(Msg::EnterTheSwitchingProgram));
        setState(1);
        chkautopil_->setChecked(model.automation.AutomationActive != 0);
        break;
    }
    refreshAllButton();
    refreshValueLabel();

    show();
    raise();
    activateWindow();
    checkMemoryOnActivation();
}

bool SwitchingTimeDialog::checkMemoryOnActivation()
{
    if (finished_ || tellingFull_ || editMode_ != EditEnter || !MemoryFull(ctx_.model))
        return false;
    tellingFull_ = true;
    ctx_.prompter.tell(ctx_.model.catalogue(Msg::NoMoreMemorySpace), Icon::Critical);
    tellingFull_ = false;
    ctx_.model.automation.AutomationActive = 0;
    done(QDialog::Rejected);
    return true;
}

void SwitchingTimeDialog::changeEvent(QEvent *event)
{
    QDialog::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow() && isVisible())
        checkMemoryOnActivation();
}

void SwitchingTimeDialog::resetEntry()
{
    SwitchingEntryValues fresh;
    fresh.state = 1;
    kind_ = EntryKind::Undecided;
    for (QCheckBox *b : weekdays_)
        b->setChecked(false);
    chktgl_->setChecked(false);
    chktgl_->show();
    showValues(fresh, false);
    vsbwert_->setValue(0);
}

void SwitchingTimeDialog::loadRecord(int index, int setIndex)
{
    const Model &model = ctx_.model;
    const ProgramSet &set = model.set(setIndex);
    if (index < 0 || index >= set.UsedCount)
        return;
    SwitchingEntryValues e = DecodeSwitchingTime(set.Records[index], model.device.BusDevice);
    showValues(e, editMode_ == EditChange);
}

SwitchingEntryValues SwitchingTimeDialog::currentValues() const
{
    const Model &model = ctx_.model;
    SwitchingEntryValues e;
    e.hour = std::max(0, liststd_->currentRow());
    e.minute = std::max(0, listmin_->currentRow());
    e.pulse = OffersPulses(model.device) ? std::max(0, listimp_->currentRow()) : 0;
    e.once = chk1x_->isChecked() ? 1 : 0;
    e.program = std::max(0, lstPrio_->currentRow());
    e.kind = kind_;
    for (int i = 0; i < 7; ++i)
        if (weekdays_[i]->isChecked())
            e.weekdayMask |= 1 << i;
    e.day =
        !fields_[FieldDay]->text().isEmpty() && listtag_->currentRow() >= 0 ? listtag_->currentRow() + 1 : 0;
    e.month = !fields_[FieldMonth]->text().isEmpty() && lstMonat_->currentRow() >= 0
                  ? lstMonat_->currentRow() + 1
                  : 0;
    for (int i = 0; i < 4; ++i)
        if (channels_[i]->isChecked() && !channels_[i]->isHidden())
            e.channelMask |= 1 << i;
    e.state = state_;
    e.busChannel = std::max(0, busGroup_->checkedId());
    e.value = vsbwert_->value();
    return e;
}

void SwitchingTimeDialog::showValues(const SwitchingEntryValues &e, bool loadChannels)
{
    SelectListRow(liststd_, std::clamp(e.hour, 0, 23));
    SelectListRow(listmin_, std::clamp(e.minute, 0, 59));
    SelectListRow(listimp_, std::clamp(e.pulse, 0, 59));
    SelectListRow(lstPrio_, std::clamp(e.program, 0, lstPrio_->count() - 1));
    kind_ = e.kind;
    if (kind_ == EntryKind::Dated) {
        setWeekdayMask(0);
        chktgl_->setChecked(false);
        SelectListRow(listtag_, e.day - 1);
        SelectListRow(lstMonat_, e.month - 1);
        chk1x_->setChecked(e.once != 0);
    } else {
        setWeekdayMask(e.weekdayMask);
        chktgl_->setChecked((e.weekdayMask & AllWeekdays) == AllWeekdays);
        ClearListChoice(listtag_);
        ClearListChoice(lstMonat_);
        chk1x_->setChecked(false);
    }
    showKind();
    setState(e.state);
    vsbwert_->setValue(std::clamp(e.value, 0, 255));
    if (loadChannels) {
        if (ctx_.model.device.BusDevice)
            setBusChannel(e.busChannel);
        else
            for (int i = 0; i < 4; ++i)
                channels_[i]->setChecked((e.channelMask >> i) & 1);
    }
    refreshFields();
    refreshColours();
}

// The controls that depend on whether a weekly or a dated entry is being made.
void SwitchingTimeDialog::showKind()
{
    const bool dated = kind_ == EntryKind::Dated;
    chk1x_->setVisible(dated);
    if (!dated)
        chk1x_->setChecked(false);
    lstPrio_->setEnabled(!dated);
    fields_[FieldProgram]->setEnabled(!dated);
    lblPrioHeading_->setVisible(!dated);
}

void SwitchingTimeDialog::setWeekdayMask(int mask)
{
    for (int i = 0; i < 7; ++i)
        weekdays_[i]->setChecked((mask >> i) & 1);
}

void SwitchingTimeDialog::setState(int state)
{
    state_ = state ? 1 : 0;
    cmdEinAus_->setText(ctx_.model.catalogue(state_ ? Msg::On : Msg::Off));
}

void SwitchingTimeDialog::setBusChannel(int channel)
{
    busGroup_->setExclusive(false);
    for (int i = 0; i < 8; ++i)
        busChannels_[i]->setChecked(i + 1 == channel);
    busGroup_->setExclusive(true);
}

QString SwitchingTimeDialog::fieldText(int field) const
{
    const Catalogue &c = ctx_.model.catalogue;
    auto text = [](const QListWidget *list) {
        return list->currentRow() >= 0 && list->currentItem() ? list->currentItem()->text() : QString();
    };
    switch (field) {
    case FieldHour:
        return liststd_->currentRow() >= 0 ? QString::number(liststd_->currentRow()) : QString();
    case FieldMinute:
        return text(listmin_);
    case FieldPulse:
        return listimp_->currentRow() <= 0 ? QStringLiteral("--")
                                           : text(listimp_) + QStringLiteral(" ") + c(Msg::Sec);
    case FieldDay: {
        const int row = listtag_->currentRow();
        if (row < 0)
            return {};
        return row == 0 ? c(Msg::FirstOfMonth) : QString::number(row + 1) + c(Msg::DaySuffix);
    }
    case FieldMonth:
        return text(lstMonat_);
    case FieldProgram:
        return text(lstPrio_);
    default:
        return {};
    }
}

void SwitchingTimeDialog::refreshFields()
{
    for (int i = 0; i < FieldCount; ++i)
        typed_[i]->show(fieldText(i));
}

FieldRange SwitchingTimeDialog::rangeOf(int field) const
{
    switch (field) {
    case FieldHour:
        return FieldRanges::Hour;
    case FieldMinute:
        return FieldRanges::Minute;
    case FieldPulse:
        return FieldRanges::PulseSeconds;
    case FieldDay:
        return FieldRanges::DayOfMonth;
    case FieldMonth:
        return FieldRanges::Month;
    default:
        return ProgramRange(ctx_.model.device.BusDevice);
    }
}

bool SwitchingTimeDialog::commitTypedFields()
{
    for (TypedFieldControl *field : typed_)
        if (!field->commit())
            return false;
    return true;
}

void SwitchingTimeDialog::refreshColours()
{
    for (QCheckBox *b : weekdays_)
        Paint(b, b->isChecked());
    for (QCheckBox *b : channels_)
        Paint(b, b->isChecked());
    Paint(chk1x_, chk1x_->isChecked());
    for (QRadioButton *b : busChannels_)
        Paint(b, b->isChecked());
}

void SwitchingTimeDialog::refreshValueLabel()
{
    const int value = vsbwert_->value();
    QString text;
    switch (cboformat_->currentIndex()) {
    case 1:
        text = QStringLiteral("$") + QString::number(value, 16).toUpper();
        break;
    case 2: {
        // One decimal, cut rather than rounded: 255 shows 100.
        const int tenths = static_cast<int>(value * 10 / 2.55);
        text = QString::number(tenths / 10.0) + QStringLiteral("%");
        break;
    }
    default:
        text = QString::number(value);
        break;
    }
    lblwert_->setText(text);
}

void SwitchingTimeDialog::refreshAllButton()
{
    // Copy runs always offer "all"; a change run offers it while the automation is ticked,
    // so that a marked group is shifted in one go.
    cmdalleok_->setEnabled(editMode_ == EditCopy || (editMode_ == EditChange && chkautopil_->isChecked()));
}

void SwitchingTimeDialog::onWeekdayClicked(int, bool checked)
{
    if (checked) {
        ClearListChoice(listtag_);
        ClearListChoice(lstMonat_);
        kind_ = EntryKind::Weekly;
        showKind();
        refreshFields();
    } else {
        chktgl_->setChecked(false);
    }
    refreshColours();
}

void SwitchingTimeDialog::onDailyClicked(bool checked)
{
    if (checked) {
        setWeekdayMask(AllWeekdays);
        ClearListChoice(listtag_);
        ClearListChoice(lstMonat_);
        kind_ = EntryKind::Weekly;
        showKind();
        refreshFields();
    }
    refreshColours();
}

// Choosing a day or a month makes the entry a dated one.
void SwitchingTimeDialog::onDayChosen(int row)
{
    if (row < 0)
        return;
    setDay(row + 1, true);
}

void SwitchingTimeDialog::onMonthChosen(int row)
{
    if (row < 0)
        return;
    setMonth(row + 1);
}

void SwitchingTimeDialog::setDay(int day, bool runLimit)
{
    kind_ = EntryKind::Dated;
    setWeekdayMask(0);
    chktgl_->setChecked(false);
    showKind();
    if (runLimit && LimitDayToMonth(day, lstMonat_->currentRow() + 1))
        beep();
    SelectListRow(listtag_, day - 1);
    refreshFields();
    refreshColours();
}

void SwitchingTimeDialog::setMonth(int month)
{
    SelectListRow(lstMonat_, month - 1);
    const int day = listtag_->currentRow() < 0 ? 1 : listtag_->currentRow() + 1;
    setDay(day, true);
}

void SwitchingTimeDialog::onChannelClicked(int index, bool checked)
{
    if (checked) {
        const int excluded = ChannelsExcludedBy(ctx_.model.device, index + 1);
        for (int i = 0; i < 4; ++i)
            if ((excluded >> i) & 1)
                channels_[i]->setChecked(false);
    }
    refreshColours();
}

void SwitchingTimeDialog::onConfirm()
{
    if (finished_)
        return;
    // A value still being typed is taken first; one out of range stores nothing.
    if (!commitTypedFields()) {
        okForAll_ = false;
        return;
    }
    Model &model = ctx_.model;
    bool closeAfter = false;
    try {
        const SwitchingEntryValues entry = currentValues();
        const int editedIndex = session_.editedIndex();
        const StoreResult result = StoreSwitchingTime(model, ctx_.prompter, entry, editMode_, editedIndex);
        const EntrySession::Next next = session_.afterStore(model, result);
        if (next.stopRuns)
            okForAll_ = false;
        if (next.stored) {
            showPanel(result.index);
            panelIndex_ = result.index;
            imgSzok_->show();
            timer1_->start();
            if (result.memoryFull)
                chkautopil_->setChecked(false);
        }
        closeAfter = next.close;
        if (next.loadNext) {
            loadRecord(session_.recordToLoad(), session_.sourceSet());
            setWindowTitle(runTitle(model, editMode_, session_));
        }
        if (next.applyAutomation)
            applyIncrements();
    } catch (const std::exception &error) {
        okForAll_ = false;
        ctx_.prompter.tell(QStringLiteral("Error : ") + QString::fromLocal8Bit(error.what()));
    }

    model.ListView = ListSwitching;
    model.CurrentSet = SetProgram;
    Q_EMIT listChanged();

    if (closeAfter)
        done(QDialog::Accepted);
    else if (okForAll_)
        tmalleok_->start();
}

void SwitchingTimeDialog::onOkForAll()
{
    okForAll_ = true;
    tmalleok_->start();
}

void SwitchingTimeDialog::onOkForAllTick()
{
    tmalleok_->stop();
    if (okForAll_)
        onConfirm();
}

void SwitchingTimeDialog::applyIncrements()
{
    SwitchingEntryValues e = currentValues();
    ApplyIncrements(e, ctx_.model.automation, ctx_.model.device.BusDevice, ctx_.clock.today().year());
    showValues(e, false);
}

void SwitchingTimeDialog::onAutomationToggled(bool checked)
{
    ctx_.model.automation.AutomationActive = checked ? 1 : 0;
    refreshAllButton();
}

void SwitchingTimeDialog::onNewAutomation()
{
    if (!automation_) {
        automation_ = new AutomationDialog(ctx_, this);
        automation_->setAttribute(Qt::WA_DeleteOnClose);
    }
    automation_->loadSettings();
    automation_->show();
    automation_->raise();
    automation_->activateWindow();
}

void SwitchingTimeDialog::showPanel(int index)
{
    const Model &model = ctx_.model;
    const ProgramRecord &r = model.program().Records[index];
    const SwitchingEntryValues e = DecodeSwitchingTime(r, model.device.BusDevice);
    lbloldtime_->setText(views::TimeText(model, e.minuteOfDay()));
    lbloldday_->setText(e.kind == EntryKind::Weekly ? views::WeekdaysText(model, e.weekdayMask)
                                                    : views::DayMonthText(model, e.day, e.month));
    lbloldkan_->setText(views::ChannelsText(model, r));
    lbloldprio_->setText(e.program > 0
                             ? model.catalogue(Msg::Prio) + QStringLiteral(" ") + QString::number(e.program)
                             : QString());
    lbloldimp_->setText(e.pulse > 0 ? views::PulseText(model, e.pulse) : QString());
}

void SwitchingTimeDialog::clearPanel()
{
    for (QLabel *l : {lbloldtime_, lbloldday_, lbloldkan_, lbloldprio_, lbloldimp_})
        l->clear();
}

void SwitchingTimeDialog::onStepPanel(int direction)
{
    const Model &model = ctx_.model;
    const ProgramSet &p = model.program();
    for (int i = panelIndex_ + direction; i >= 0 && i < p.UsedCount; i += direction) {
        if (IsSwitchingTime(p.Records[i], model.device.BusDevice)) {
            panelIndex_ = i;
            showPanel(i);
            return;
        }
    }
    beep();
}

void SwitchingTimeDialog::beep()
{
    ctx_.prompter.beep();
}

// Takes a typed value that lies in its field's range into the matching list.
bool SwitchingTimeDialog::applyTyped(int field, const TypedValue &typed)
{
    if (finished_)
        return true;
    const int value = typed.value;
    switch (field) {
    case FieldHour:
        SelectListRow(liststd_, value);
        break;
    case FieldMinute:
        SelectListRow(listmin_, value);
        break;
    case FieldPulse:
        SelectListRow(listimp_, value);
        break;
    case FieldProgram:
        SelectListRow(lstPrio_, value);
        break;
    case FieldDay:
        if (typed.check == FieldCheck::Empty) {
            ClearListChoice(listtag_);
            break;
        }
        setDay(value, true);
        return true;
    case FieldMonth:
        setMonth(value);
        return true;
    default:
        break;
    }
    refreshFields();
    return true;
}

bool SwitchingTimeDialog::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == vsbwert_ && event->type() == QEvent::KeyPress) {
        auto *key = static_cast<QKeyEvent *>(event);
        const QString text = key->text();
        if (text.size() == 1 && text.at(0) >= QLatin1Char('0') && text.at(0) <= QLatin1Char('9')) {
            const int next = vsbwert_->value() / 10 * 10 + text.at(0).digitValue();
            if (next < vsbwert_->maximum())
                vsbwert_->setValue(next);
            return true;
        }
        return false;
    }
    return QDialog::eventFilter(watched, event);
}

void SwitchingTimeDialog::done(int result)
{
    if (finished_) {
        QDialog::done(result);
        return;
    }
    finished_ = true;
    for (TypedFieldControl *field : typed_)
        field->setChecking(false);
    Model &model = ctx_.model;
    session_.close(model);
    editMode_ = EditEnter;
    okForAll_ = false;
    tmalleok_->stop();
    if (automation_)
        automation_->close();
    SortRecords(model, DisplayOrder, SetProgram, &ctx_.prompter);
    model.ListView = ListSwitching;
    model.CurrentSet = SetProgram;
    QDialog::done(result);
    Q_EMIT listChanged();
}

} // namespace zx
