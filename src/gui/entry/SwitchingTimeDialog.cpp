#include "entry/SwitchingTimeDialog.h"

#include "app/AppContext.h"
#include "entry/EntryAutomation.h"
#include "entry/EntryControls.h"
#include "entry/EntryDeviceRules.h"
#include "entry/EntryStore.h"
#include "entry/TypedFieldControl.h"
#include "model/ListKinds.h"
#include "model/Model.h"
#include "platform/Clock.h"
#include "platform/Prompter.h"
#include "views/ListFormatter.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
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
#include <QToolButton>
#include <QVBoxLayout>

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

SwitchingTimeDialog::SwitchingTimeDialog(AppContext &ctx, QWidget *parent)
    : EntryDialog(ctx, ListSwitching,
                  {"cmdSzOk", "cmdSzEnd", "imgSzok", "imgoldSzup", "imgoldSzdown", "tmalleok", +1, true,
                   Msg::CopyTheSwitchingProgram, Msg::ChangeTheSwitchingProgram, &IsSwitchingTime},
                  parent)
{
    setObjectName(QStringLiteral("frmEingSz"));
    buildControls();
}

void SwitchingTimeDialog::buildControls()
{
    auto *root = new QVBoxLayout(this);
    auto *columns = new QHBoxLayout;
    root->addLayout(columns);
    buildTimeColumns(columns);
    buildDayColumns(columns);
    buildChannelColumn(columns);
    auto *bottom = new QHBoxLayout;
    root->addLayout(bottom);
    buildBottomRow(bottom);
    // Tab reads the columns from left to right, each from top to bottom, then the bottom row.
    std::vector<QWidget *> entry{hourList_,  fields_[FieldHour], minuteList_, fields_[FieldMinute],
                                 pulseList_, fields_[FieldPulse]};
    entry.insert(entry.end(), weekdays_.begin(), weekdays_.end());
    entry.insert(entry.end(), {daily_, dayList_, fields_[FieldDay], monthList_, fields_[FieldMonth], once_,
                               programList_, fields_[FieldProgram]});
    setKeyboardOrder(entry, {value_, valueFormat_});
    // Alt+letter of a heading goes to its field (the channels' heading follows the device).
    const std::array<QWidget *, 9> buddies{fields_[FieldHour],    fields_[FieldMinute], fields_[FieldPulse],
                                           weekdays_[0],          fields_[FieldDay],    fields_[FieldMonth],
                                           fields_[FieldProgram], channels_[0],         value_};
    for (std::size_t i = 0; i < headings_.size(); ++i)
        headings_[i]->setBuddy(buddies[i]);
}

QWidget *SwitchingTimeDialog::firstField() const
{
    return fields_[FieldHour];
}

// A heading, a list and its typed field, one above the other. Widths in characters of the
// dialog's font, so that larger fonts and scaling keep the texts whole.
QVBoxLayout *SwitchingTimeDialog::addColumn(QHBoxLayout *columns, QLabel *heading, QListWidget *list,
                                            QLineEdit *field)
{
    const int chars = list->objectName().startsWith(QLatin1String("Lst")) ? 15 : 6;
    const int width = chars * list->fontMetrics().averageCharWidth() +
                      list->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, list) + 8;
    list->setFixedWidth(width);
    field->setFixedWidth(width);
    auto *box = new QVBoxLayout;
    box->addWidget(heading);
    box->addWidget(list);
    box->addWidget(field);
    box->addStretch();
    columns->addLayout(box);
    return box;
}

// Hour, minute and pulse, each a list with its typed field.
void SwitchingTimeDialog::buildTimeColumns(QHBoxLayout *columns)
{
    const char *headingNames[] = {"LblÜsStd", "LblÜsMin",  "LblÜsImp", "LblÜsTage", "LblÜsTag",
                                  "LblÜsMon", "LblÜsPrio", "LblÜsKan", "LblÜsWert"};
    for (std::size_t i = 0; i < headings_.size(); ++i)
        headings_[i] = MakeEntryLabel(this, QString::fromUtf8(headingNames[i]));
    pulseHeading_ = headings_[2];
    programHeading_ = headings_[6];
    valueHeading_ = headings_[8];

    const char *fieldNames[FieldCount] = {"txtAnzstd", "txtAnzMin", "txtAnzImp",
                                          "txtAnztag", "txtAnzMon", "txtAnzPrio"};
    for (int i = 0; i < FieldCount; ++i) {
        auto *field = new QLineEdit(this);
        field->setObjectName(QString::fromLatin1(fieldNames[i]));
        fields_[i] = field;
        addTypedField(new TypedFieldControl(field, rangeOf(i), ctx_.prompter,
                                            [this, i](const TypedValue &v) { return applyTyped(i, v); }));
    }
    hourList_ = MakeEntryList(this, QStringLiteral("liststd"), 8);
    minuteList_ = MakeEntryList(this, QStringLiteral("listmin"), 8);
    pulseList_ = MakeEntryList(this, QStringLiteral("listimp"), 8);
    addColumn(columns, headings_[0], hourList_, fields_[FieldHour]);
    addColumn(columns, headings_[1], minuteList_, fields_[FieldMinute]);
    addColumn(columns, headings_[2], pulseList_, fields_[FieldPulse]);
    for (QListWidget *list : {hourList_, minuteList_, pulseList_})
        connect(list, &QListWidget::currentRowChanged, this, [this] { refreshFields(); });
}

// The weekdays, or a day and month (with "once"), and the priority program.
void SwitchingTimeDialog::buildDayColumns(QHBoxLayout *columns)
{
    auto *weekBox = new QVBoxLayout;
    weekBox->addWidget(headings_[3]);
    const char *weekdayNames[] = {"chkMontag",  "chkDienstag", "chkMittwoch", "chkDonnerstag",
                                  "chkFreitag", "chkSamstag",  "chkSonntag"};
    for (int i = 0; i < 7; ++i) {
        weekdays_[i] = new QCheckBox(this);
        weekdays_[i]->setObjectName(QString::fromLatin1(weekdayNames[i]));
        weekBox->addWidget(weekdays_[i]);
        connect(weekdays_[i], &QCheckBox::clicked, this, &SwitchingTimeDialog::onWeekdayClicked);
    }
    daily_ = new QCheckBox(this);
    daily_->setObjectName(QStringLiteral("chktgl"));
    weekBox->addWidget(daily_);
    weekBox->addStretch();
    columns->addLayout(weekBox);
    connect(daily_, &QCheckBox::clicked, this, &SwitchingTimeDialog::onDailyClicked);

    dayList_ = MakeEntryList(this, QStringLiteral("Listtag"), 8);
    monthList_ = MakeEntryList(this, QStringLiteral("LstMonat"), 8);
    addColumn(columns, headings_[4], dayList_, fields_[FieldDay]);
    QVBoxLayout *monthBox = addColumn(columns, headings_[5], monthList_, fields_[FieldMonth]);
    once_ = new QCheckBox(QStringLiteral("1x"), this);
    once_->setObjectName(QStringLiteral("chk1x"));
    monthBox->insertWidget(3, once_);
    connect(once_, &QCheckBox::clicked, this, [this] { refreshColours(); });
    connect(dayList_, &QListWidget::currentRowChanged, this, &SwitchingTimeDialog::onDayChosen);
    connect(monthList_, &QListWidget::currentRowChanged, this, &SwitchingTimeDialog::onMonthChosen);

    programList_ = MakeEntryList(this, QStringLiteral("LstPrio"), 8);
    addColumn(columns, headings_[6], programList_, fields_[FieldProgram]);
    connect(programList_, &QListWidget::currentRowChanged, this, [this] { refreshFields(); });
}

// Channels (or the bus channel), on/off, and a bus device's value with its format.
void SwitchingTimeDialog::buildChannelColumn(QHBoxLayout *columns)
{
    auto *channelBox = new QVBoxLayout;
    channelBox->addWidget(headings_[7]);
    for (QCheckBox *box : channels_)
        channelBox->addWidget(box);
    channelBox->addWidget(busFrame_);
    channelBox->addWidget(onOffButton_);

    auto *valueRow = new QHBoxLayout;
    value_ = new QScrollBar(Qt::Vertical, this);
    value_->setObjectName(QStringLiteral("vsbwert"));
    value_->setRange(0, 255);
    value_->setSingleStep(1);
    value_->setPageStep(10);
    value_->setFocusPolicy(Qt::StrongFocus);
    value_->setMinimumHeight(110);
    value_->installEventFilter(this);
    auto *valueColumn = new QVBoxLayout;
    valueFormat_ = new QComboBox(this);
    valueFormat_->setObjectName(QStringLiteral("cboformat"));
    valueLabel_ = MakeEntryLabel(this, QStringLiteral("lblwert"));
    valueColumn->addWidget(valueHeading_);
    valueColumn->addWidget(valueLabel_);
    valueColumn->addWidget(valueFormat_);
    valueColumn->addStretch();
    valueRow->addWidget(value_);
    valueRow->addLayout(valueColumn);
    channelBox->addLayout(valueRow);
    channelBox->addStretch();
    columns->addLayout(channelBox);
    connect(value_, &QScrollBar::valueChanged, this, [this] { refreshValueLabel(); });
    connect(valueFormat_, &QComboBox::currentIndexChanged, this, [this] { refreshValueLabel(); });
}

// Confirmation, automation and the last-entry panel.
void SwitchingTimeDialog::buildBottomRow(QHBoxLayout *bottom)
{
    auto *buttons = new QVBoxLayout;
    auto *okRow = new QHBoxLayout;
    okRow->addWidget(okButton_);
    okRow->addWidget(okMark_);
    buttons->addLayout(okRow);
    buttons->addWidget(allButton_);
    buttons->addWidget(exitButton_);
    bottom->addLayout(buttons);
    connect(exitButton_, &QPushButton::clicked, this, [this] { close(); });

    auto *automation = new QVBoxLayout;
    automation->addWidget(automationActive_);
    automation->addWidget(newAutomationButton_);
    automation->addWidget(applyOnceButton_);
    bottom->addLayout(automation);

    auto *panel = new QGridLayout(lastEntryFrame_);
    lastTime_ = MakeEntryLabel(lastEntryFrame_, QStringLiteral("lbloldtime"));
    lastDays_ = MakeEntryLabel(lastEntryFrame_, QStringLiteral("lbloldday"));
    lastChannels_ = MakeEntryLabel(lastEntryFrame_, QStringLiteral("lbloldkan"));
    lastProgram_ = MakeEntryLabel(lastEntryFrame_, QStringLiteral("lbloldprio"));
    lastPulse_ = MakeEntryLabel(lastEntryFrame_, QStringLiteral("lbloldimp"));
    lastState_ = MakeEntryLabel(lastEntryFrame_, QStringLiteral("lbloldstate"));
    int column = 0;
    for (QWidget *w :
         std::initializer_list<QWidget *>{lastTime_, lastDays_, lastChannels_, lastState_, lastProgram_,
                                          lastPulse_, lastEntryUp_, lastEntryDown_})
        panel->addWidget(w, 0, column++);
    panel->setColumnStretch(1, 1);
    bottom->addWidget(lastEntryFrame_, 1);
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
    daily_->setText(c(Msg::Daily));
    setSharedCaptions();
    {
        const QSignalBlocker block(valueFormat_);
        const int format = std::max(0, valueFormat_->currentIndex());
        valueFormat_->clear();
        valueFormat_->addItems({c(Msg::Decim), c(Msg::HEX), QStringLiteral("%")});
        valueFormat_->setCurrentIndex(format);
    }
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
    fill(hourList_, hours);
    fill(minuteList_, minutes);
    fill(pulseList_, pulses);
    fill(dayList_, days);
    fill(monthList_, months);
    fill(programList_, programs);
}

void SwitchingTimeDialog::setupChannels()
{
    const ChannelLayout layout = PrepareChannelLayout(ctx_.model.device);
    EntryDialog::setupChannels(layout);
    headings_[7]->setBuddy(firstChannelControl());
    const bool bus = layout.bus;
    value_->setVisible(bus);
    valueFormat_->setVisible(bus);
    valueLabel_->setVisible(bus);
    valueHeading_->setVisible(bus);
}

void SwitchingTimeDialog::loadControls()
{
    Model &model = ctx_.model;

    setCaptions();
    fillLists();
    typed(FieldProgram)->setRange(rangeOf(FieldProgram));
    setupChannels();
    resetEntry();

    const bool pulses = OffersPulses(model.device);
    pulseHeading_->setVisible(pulses);
    pulseList_->setEnabled(pulses);
    fields_[FieldPulse]->setEnabled(pulses);

    switch (editMode()) {
    case EditChange:
    case EditCopy:
        model.automation.AutomationActive = 0;
        automationActive_->setChecked(false);
        loadRecord(session_.recordToLoad(), session_.sourceSet());
        setRunTitle();
        break;
    default:
        setWindowTitle(model.catalogue(Msg::EnterTheSwitchingProgram));
        setState(1);
        automationActive_->setChecked(model.automation.AutomationActive != 0);
        break;
    }
    refreshValueLabel();
}

void SwitchingTimeDialog::resetEntry()
{
    SwitchingEntryValues fresh;
    fresh.state = 1;
    kind_ = EntryKind::Undecided;
    for (QCheckBox *b : weekdays_)
        b->setChecked(false);
    daily_->setChecked(false);
    daily_->show();
    showValues(fresh, false);
    value_->setValue(0);
}

void SwitchingTimeDialog::loadRecord(int index, int setIndex)
{
    const Model &model = ctx_.model;
    const ProgramSet &set = model.set(setIndex);
    if (index < 0 || index >= set.UsedCount)
        return;
    SwitchingEntryValues e = DecodeSwitchingTime(set.Records[index], model.device.BusDevice);
    showValues(e, editMode() == EditChange);
}

SwitchingEntryValues SwitchingTimeDialog::currentValues() const
{
    const Model &model = ctx_.model;
    SwitchingEntryValues e;
    e.hour = std::max(0, hourList_->currentRow());
    e.minute = std::max(0, minuteList_->currentRow());
    e.pulse = OffersPulses(model.device) ? std::max(0, pulseList_->currentRow()) : 0;
    e.once = once_->isChecked() ? 1 : 0;
    e.program = std::max(0, programList_->currentRow());
    e.kind = kind_;
    for (int i = 0; i < 7; ++i)
        if (weekdays_[i]->isChecked())
            e.weekdayMask |= 1 << i;
    e.day =
        !fields_[FieldDay]->text().isEmpty() && dayList_->currentRow() >= 0 ? dayList_->currentRow() + 1 : 0;
    e.month = !fields_[FieldMonth]->text().isEmpty() && monthList_->currentRow() >= 0
                  ? monthList_->currentRow() + 1
                  : 0;
    e.channelMask = channelMask();
    e.state = state();
    e.busChannel = busChannel();
    e.value = value_->value();
    return e;
}

void SwitchingTimeDialog::showValues(const SwitchingEntryValues &e, bool loadChannels)
{
    SelectListRow(hourList_, std::clamp(e.hour, 0, 23));
    SelectListRow(minuteList_, std::clamp(e.minute, 0, 59));
    SelectListRow(pulseList_, std::clamp(e.pulse, 0, 59));
    SelectListRow(programList_, std::clamp(e.program, 0, programList_->count() - 1));
    kind_ = e.kind;
    if (kind_ == EntryKind::Dated) {
        setWeekdayMask(0);
        daily_->setChecked(false);
        SelectListRow(dayList_, e.day - 1);
        SelectListRow(monthList_, e.month - 1);
        once_->setChecked(e.once != 0);
    } else {
        setWeekdayMask(e.weekdayMask);
        daily_->setChecked((e.weekdayMask & AllWeekdays) == AllWeekdays);
        ClearListChoice(dayList_);
        ClearListChoice(monthList_);
        once_->setChecked(false);
    }
    showKind();
    setState(e.state);
    value_->setValue(std::clamp(e.value, 0, 255));
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
    once_->setVisible(dated);
    if (!dated)
        once_->setChecked(false);
    programList_->setEnabled(!dated);
    fields_[FieldProgram]->setEnabled(!dated);
    programHeading_->setVisible(!dated);
}

void SwitchingTimeDialog::setWeekdayMask(int mask)
{
    for (int i = 0; i < 7; ++i)
        weekdays_[i]->setChecked((mask >> i) & 1);
}

QString SwitchingTimeDialog::fieldText(int field) const
{
    const Catalogue &c = ctx_.model.catalogue;
    auto text = [](const QListWidget *list) {
        return list->currentRow() >= 0 && list->currentItem() ? list->currentItem()->text() : QString();
    };
    switch (field) {
    case FieldHour:
        return hourList_->currentRow() >= 0 ? QString::number(hourList_->currentRow()) : QString();
    case FieldMinute:
        return text(minuteList_);
    case FieldPulse:
        return pulseList_->currentRow() <= 0 ? QStringLiteral("--")
                                             : text(pulseList_) + QStringLiteral(" ") + c(Msg::Sec);
    case FieldDay: {
        const int row = dayList_->currentRow();
        if (row < 0)
            return {};
        return row == 0 ? c(Msg::FirstOfMonth) : QString::number(row + 1) + c(Msg::DaySuffix);
    }
    case FieldMonth:
        return text(monthList_);
    case FieldProgram:
        return text(programList_);
    default:
        return {};
    }
}

void SwitchingTimeDialog::refreshFields()
{
    for (int i = 0; i < FieldCount; ++i)
        typed(i)->show(fieldText(i));
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

void SwitchingTimeDialog::refreshColours()
{
    for (QCheckBox *b : weekdays_)
        Paint(b, b->isChecked());
    for (QCheckBox *b : channels_)
        Paint(b, b->isChecked());
    Paint(once_, once_->isChecked());
    for (QRadioButton *b : busChannels_)
        Paint(b, b->isChecked());
}

void SwitchingTimeDialog::refreshValueLabel()
{
    const int value = value_->value();
    QString text;
    switch (valueFormat_->currentIndex()) {
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
    valueLabel_->setText(text);
}

void SwitchingTimeDialog::onWeekdayClicked(bool checked)
{
    if (checked) {
        ClearListChoice(dayList_);
        ClearListChoice(monthList_);
        kind_ = EntryKind::Weekly;
        showKind();
        refreshFields();
    } else {
        daily_->setChecked(false);
    }
    refreshColours();
}

void SwitchingTimeDialog::onDailyClicked(bool checked)
{
    if (checked) {
        setWeekdayMask(AllWeekdays);
        ClearListChoice(dayList_);
        ClearListChoice(monthList_);
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
    daily_->setChecked(false);
    showKind();
    if (runLimit && LimitDayToMonth(day, monthList_->currentRow() + 1))
        ctx_.prompter.beep();
    SelectListRow(dayList_, day - 1);
    refreshFields();
    refreshColours();
}

void SwitchingTimeDialog::setMonth(int month)
{
    SelectListRow(monthList_, month - 1);
    const int day = dayList_->currentRow() < 0 ? 1 : dayList_->currentRow() + 1;
    setDay(day, true);
}

EntrySession::Confirmation SwitchingTimeDialog::store()
{
    return session_.storeSwitching(ctx_.model, ctx_.prompter, currentValues());
}

void SwitchingTimeDialog::applyIncrements()
{
    SwitchingEntryValues e = currentValues();
    ApplyIncrements(e, ctx_.model.automation, ctx_.model.device.BusDevice, ctx_.clock.today().year());
    showValues(e, false);
}

void SwitchingTimeDialog::showPanel(int index)
{
    const Model &model = ctx_.model;
    const ProgramRecord &r = model.program().Records[index];
    const SwitchingEntryValues e = DecodeSwitchingTime(r, model.device.BusDevice);
    lastTime_->setText(views::TimeText(model, e.minuteOfDay()));
    lastDays_->setText(e.kind == EntryKind::Weekly ? views::WeekdaysText(model, e.weekdayMask)
                                                   : views::DayMonthText(model, e.day, e.month));
    lastChannels_->setText(views::ChannelsText(model, r));
    lastState_->setText(views::SwitchingStateText(model, r));
    lastProgram_->setText(e.program > 0
                              ? model.catalogue(Msg::Prio) + QStringLiteral(" ") + QString::number(e.program)
                              : QString());
    lastPulse_->setText(e.pulse > 0 ? views::PulseText(model, e.pulse) : QString());
}

void SwitchingTimeDialog::clearPanel()
{
    for (QLabel *l : {lastTime_, lastDays_, lastChannels_, lastState_, lastProgram_, lastPulse_})
        l->clear();
}

// Takes a typed value that lies in its field's range into the matching list.
bool SwitchingTimeDialog::applyTyped(int field, const TypedValue &typed)
{
    if (finished_)
        return true;
    const int value = typed.value;
    switch (field) {
    case FieldHour:
        SelectListRow(hourList_, value);
        break;
    case FieldMinute:
        SelectListRow(minuteList_, value);
        break;
    case FieldPulse:
        SelectListRow(pulseList_, value);
        break;
    case FieldProgram:
        SelectListRow(programList_, value);
        break;
    case FieldDay:
        if (typed.check == FieldCheck::Empty) {
            ClearListChoice(dayList_);
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
    if (watched == value_ && event->type() == QEvent::KeyPress) {
        auto *key = static_cast<QKeyEvent *>(event);
        const QString text = key->text();
        if (text.size() == 1 && text.at(0) >= QLatin1Char('0') && text.at(0) <= QLatin1Char('9')) {
            const int next = value_->value() / 10 * 10 + text.at(0).digitValue();
            if (next < value_->maximum())
                value_->setValue(next);
            return true;
        }
        return false;
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace zx
