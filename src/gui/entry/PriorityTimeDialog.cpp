#include "entry/PriorityTimeDialog.h"

#include "app/AppContext.h"
#include "entry/EntryAutomation.h"
#include "entry/EntryControls.h"
#include "entry/EntryDeviceRules.h"
#include "entry/EntryStore.h"
#include "entry/HolidayPriority.h"
#include "entry/TypedFieldControl.h"
#include "model/Model.h"
#include "model/RecordDecoder.h"
#include "platform/Clock.h"
#include "platform/Mnemonics.h"
#include "platform/Prompter.h"
#include "views/ListFormatter.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
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

QLineEdit *MakeField(QWidget *parent, const char *name)
{
    auto *field = new QLineEdit(parent);
    field->setObjectName(QString::fromLatin1(name));
    field->setReadOnly(true);
    return field;
}

int Row(const QListWidget *list)
{
    return list->currentRow();
}

// Item data of the year list: the year code (0 every year). Of the holiday list: the index in the
// library, or NoLibraryHoliday with the Easter day code beside it.
constexpr int YearCodeRole = Qt::UserRole;
constexpr int HolidayIndexRole = Qt::UserRole;
constexpr int EasterCodeRole = Qt::UserRole + 1;
constexpr int NoLibraryHoliday = -1;

} // namespace

PriorityTimeDialog::PriorityTimeDialog(AppContext &ctx, QWidget *parent)
    : EntryDialog(ctx, ListPriority,
                  {"cmdPzOk", "cmdPzEnd", "imgPzok", "imgoldPzup", "imgoldPzdown", "Tmalleok", -1, false,
                   Msg::CopyThePriorityProgram, Msg::ChangeThePriorityProgram, &IsPriorityTime},
                  parent)
{
    setObjectName(QStringLiteral("frmEingPZ"));
    setState(0);
    buildControls();
}

void PriorityTimeDialog::buildControls()
{
    auto *top = new QVBoxLayout(this);
    auto *grid = new QGridLayout;
    top->addLayout(grid);
    buildDateColumns(grid);
    buildPriorityColumns(grid);
    auto *channelRow = new QHBoxLayout;
    top->addLayout(channelRow);
    buildChannelRow(channelRow);
    buildBottomRows(top);
    buildTypedFields();
    // Tab reads the beginning, the end, the priority and the holidays column by column, then the
    // rows below.
    setKeyboardOrder({fromDayField_, fromMonthField_, fromDayList_, fromMonthList_, yearList_, holidayOption_,
                      once_, toDayField_, toMonthField_, toDayList_, toMonthList_, priorityField_,
                      priorityList_, holidaySets_, holidayList_},
                     {value_, valueField_});
    // Alt+letter of a heading goes to its field.
    endHeading_->setBuddy(toDayField_);
    priorityHeading_->setBuddy(priorityField_);
}

QWidget *PriorityTimeDialog::firstField() const
{
    return holidayMode() ? static_cast<QWidget *>(holidaySets_) : fromDayField_;
}

// Beginning and end: typed day and month above their lists, the year list with "once".
void PriorityTimeDialog::buildDateColumns(QGridLayout *grid)
{
    beginHeading_ = MakeEntryLabel(this, QStringLiteral("lblvon"));
    endHeading_ = MakeEntryLabel(this, QStringLiteral("lblbis"));
    fromDayList_ = MakeEntryList(this, QStringLiteral("listvontag"), 8);
    fromMonthList_ = MakeEntryList(this, QStringLiteral("Lstvonmon"), 8);
    toDayList_ = MakeEntryList(this, QStringLiteral("listbistag"), 8);
    toMonthList_ = MakeEntryList(this, QStringLiteral("LstbisMon"), 8);
    fromDayField_ = MakeField(this, "txtvonTag");
    fromMonthField_ = MakeField(this, "txtvonMon");
    toDayField_ = MakeField(this, "txtbistag");
    toMonthField_ = MakeField(this, "txtbisMon");
    beginTime_ = MakeEntryLabel(this, QStringLiteral("LblvonUz"));
    endTime_ = MakeEntryLabel(this, QStringLiteral("LblbisUz"));
    yearList_ = MakeEntryList(this, QStringLiteral("lstvonJahr"), 8);
    once_ = new QCheckBox(QStringLiteral("1x"), this);
    once_->setObjectName(QStringLiteral("chk1x"));

    grid->addWidget(beginHeading_, 0, 0, 1, 2);
    grid->addWidget(fromDayField_, 1, 0);
    grid->addWidget(fromMonthField_, 1, 1);
    grid->addWidget(beginTime_, 1, 2);
    grid->addWidget(fromDayList_, 2, 0);
    grid->addWidget(fromMonthList_, 2, 1);
    grid->addWidget(yearList_, 2, 2);
    grid->addWidget(once_, 3, 2);
    grid->addWidget(endHeading_, 0, 3, 1, 2);
    grid->addWidget(toDayField_, 1, 3);
    grid->addWidget(toMonthField_, 1, 4);
    grid->addWidget(endTime_, 1, 5);
    grid->addWidget(toDayList_, 2, 3);
    grid->addWidget(toMonthList_, 2, 4);

    // The day lists follow their month: a day the month lacks becomes its last day.
    for (QListWidget *list : {fromDayList_, fromMonthList_})
        connect(list, &QListWidget::currentRowChanged, this, [this] {
            limitDay(fromDayList_, fromMonthList_);
            refreshFields();
        });
    for (QListWidget *list : {toDayList_, toMonthList_})
        connect(list, &QListWidget::currentRowChanged, this, [this] {
            limitDay(toDayList_, toMonthList_);
            refreshFields();
        });
    connect(yearList_, &QListWidget::currentRowChanged, this, [this] { refreshFields(); });
}

// The priority with its typed field, and the holiday option with its sets and holidays.
void PriorityTimeDialog::buildPriorityColumns(QGridLayout *grid)
{
    holidayOption_ = new QCheckBox(this);
    holidayOption_->setObjectName(QStringLiteral("chk_bew_Feiertage"));
    holidaySets_ = new QComboBox(this);
    holidaySets_->setObjectName(QStringLiteral("cbo_Ft_sets"));
    holidayList_ = MakeEntryList(this, QStringLiteral("lst_bew_Feiertage"), 8);
    grid->addWidget(holidayOption_, 3, 0, 1, 2);
    grid->addWidget(holidaySets_, 1, 7);
    grid->addWidget(holidayList_, 2, 7);
    connect(holidayOption_, &QCheckBox::toggled, this, &PriorityTimeDialog::onHolidayOption);
    connect(holidaySets_, &QComboBox::currentIndexChanged, this, [this] { fillHolidayList(); });

    priorityHeading_ = MakeEntryLabel(this, QStringLiteral("lblPrio"));
    priorityList_ = MakeEntryList(this, QStringLiteral("LstPrio"), 8);
    priorityField_ = MakeField(this, "txtAnzPrio");
    grid->addWidget(priorityHeading_, 0, 6);
    grid->addWidget(priorityField_, 1, 6);
    grid->addWidget(priorityList_, 2, 6);
    connect(priorityList_, &QListWidget::currentRowChanged, this, [this] { refreshPermanent(); });
    // A typed priority selects 1..9 (bus 1..7); "permanent" is chosen in the list only.
    priorityField_->setReadOnly(false);
    connect(priorityField_, &QLineEdit::textEdited, this, [this](const QString &text) {
        bool ok = false;
        const int typed = text.right(1).toInt(&ok);
        if (!ok || typed < 1 || typed > MaxPriority(ctx_.model.device.BusDevice)) {
            ctx_.prompter.beep();
            refreshFields();
            return;
        }
        priorityList_->setCurrentRow(typed - 1);
        priorityField_->selectAll();
    });
}

// Channels (or the bus channel), on/off with the permanent mark, a bus device's value.
void PriorityTimeDialog::buildChannelRow(QHBoxLayout *channelRow)
{
    channelsHeading_ = MakeEntryLabel(this, QStringLiteral("lblKanal"));
    channelRow->addWidget(channelsHeading_);
    for (QCheckBox *box : channels_)
        channelRow->addWidget(box);
    channelRow->addWidget(busFrame_);
    permanentMark_ = MakeEntryLabel(this, QStringLiteral("PicBackColor"));
    permanentMark_->setFixedSize(16, 16);
    QSizePolicy keep = permanentMark_->sizePolicy();
    keep.setRetainSizeWhenHidden(true);
    permanentMark_->setSizePolicy(keep);
    value_ = new QScrollBar(Qt::Horizontal, this);
    value_->setObjectName(QStringLiteral("vsbwert"));
    value_->setRange(0, 255);
    value_->setPageStep(10);
    value_->setMinimumWidth(120);
    valueField_ = MakeField(this, "txtwert");
    channelRow->addWidget(onOffButton_);
    channelRow->addWidget(permanentMark_);
    channelRow->addWidget(value_);
    channelRow->addWidget(valueField_);
    connect(value_, &QScrollBar::valueChanged, this,
            [this](int v) { valueField_->setText(QString::number(v)); });
}

// OK, all, exit and the automation in one row; the last-entry panel below.
void PriorityTimeDialog::buildBottomRows(QVBoxLayout *top)
{
    auto *okRow = new QHBoxLayout;
    for (QWidget *w :
         std::initializer_list<QWidget *>{okButton_, okMark_, allButton_, exitButton_, automationActive_,
                                          newAutomationButton_, applyOnceButton_})
        okRow->addWidget(w);
    top->addLayout(okRow);
    connect(exitButton_, &QPushButton::clicked, this, [this] { done(QDialog::Accepted); });

    auto *panel = new QHBoxLayout(lastEntryFrame_);
    lastBegin_ = MakeEntryLabel(lastEntryFrame_, QStringLiteral("lbloldvon"));
    lastEnd_ = MakeEntryLabel(lastEntryFrame_, QStringLiteral("lbloldbis"));
    lastChannels_ = MakeEntryLabel(lastEntryFrame_, QStringLiteral("lbloldkan"));
    lastPriority_ = MakeEntryLabel(lastEntryFrame_, QStringLiteral("lbloldprio"));
    lastState_ = MakeEntryLabel(lastEntryFrame_, QStringLiteral("lbloldstate"));
    for (QWidget *w : std::initializer_list<QWidget *>{lastEntryUp_, lastEntryDown_, lastBegin_, lastEnd_,
                                                       lastChannels_, lastPriority_, lastState_})
        panel->addWidget(w);
    top->addWidget(lastEntryFrame_);
}

// The date fields take typed digits as the switching time entry's fields do.
void PriorityTimeDialog::buildTypedFields()
{
    const std::array<QLineEdit *, FieldCount> edits{fromDayField_, fromMonthField_, toDayField_,
                                                    toMonthField_};
    const std::array<FieldRange, FieldCount> ranges{FieldRange{1, 31}, FieldRanges::Month, FieldRange{1, 31},
                                                    FieldRanges::Month};
    for (int i = 0; i < FieldCount; ++i) {
        edits[i]->setReadOnly(false);
        addTypedField(new TypedFieldControl(edits[i], ranges[i], ctx_.prompter,
                                            [this, i](const TypedValue &v) { return applyTyped(i, v); }));
    }
}

void PriorityTimeDialog::setCaptions()
{
    const Catalogue &c = ctx_.model.catalogue;
    beginHeading_->setText(c(holidayMode() ? Msg::Holidays : Msg::BeginAt));
    holidayOption_->setText(c(Msg::Holidays));
    endHeading_->setText(c(Msg::EndAt));
    beginTime_->setText(QStringLiteral("00:00 ") + c(Msg::HoursWord));
    endTime_->setText(QStringLiteral("24:00 ") + c(Msg::HoursWord));
    priorityHeading_->setText(c(Msg::Priority));
    channelsHeading_->setText(c(Msg::ChannelsHeading));
    setSharedCaptions();
}

void PriorityTimeDialog::fillLists()
{
    const Catalogue &c = ctx_.model.catalogue;
    const auto fill = [](QListWidget *list, const QStringList &items) {
        const QSignalBlocker block(list);
        list->clear();
        list->addItems(items);
        // As wide as its longest text ("september", "septembre") in the font and language shown.
        list->setMinimumWidth(list->sizeHintForColumn(0) + 2 * list->frameWidth() +
                              list->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, list) + 8);
    };
    QStringList days, months, years{c(Msg::EveryYear)}, priorities;
    for (int d = 1; d <= 31; ++d)
        days << (d == 31 ? QStringLiteral("31") : QStringLiteral("%1.").arg(d, 2));
    for (int m = 0; m < 12; ++m)
        months << c(Msg::January + m);
    for (int y = FirstListedYear; y <= LastListedYear; ++y)
        years << QString::number(y);
    const int bus = ctx_.model.device.BusDevice;
    for (int p = 0; p < MaxPriority(bus); ++p)
        priorities << c(Msg::Priority1 + p);
    priorities << c(Msg::Permanent);
    fill(fromDayList_, days);
    fill(toDayList_, days);
    fill(fromMonthList_, months);
    fill(toMonthList_, months);
    fill(yearList_, years);
    for (int row = 0; row < yearList_->count(); ++row)
        yearList_->item(row)->setData(YearCodeRole, row == 0 ? 0 : YearCodeOf(FirstListedYear + row - 1));
    fill(priorityList_, priorities);
}

void PriorityTimeDialog::setupChannels()
{
    ChannelLayout layout = PrepareChannelLayout(ctx_.model.device);
    // a priority time of a one-channel device always names that channel
    layout.firstLocked = layout.firstTicked;
    EntryDialog::setupChannels(layout);
    channelsHeading_->setBuddy(firstChannelControl());
    value_->setVisible(layout.bus);
    valueField_->setVisible(layout.bus);
}

void PriorityTimeDialog::loadControls()
{
    Model &model = ctx_.model;

    setCaptions();
    fillLists();
    setupChannels();
    holidaySets_->hide();
    holidayList_->hide();
    {
        const QSignalBlocker block(holidayOption_);
        holidayOption_->setChecked(false);
    }
    onHolidayOption(false);
    automationActive_->setChecked(model.automation.AutomationActive != 0);
    holidayRun_ = false;

    PriorityEntryValues fresh;
    showValues(fresh, false);
    setState(0);
    value_->setValue(0);
    if (editMode() == EditEnter) {
        setWindowTitle(model.catalogue(Msg::EnterThePriorityProgram));
    } else {
        loadRecord(session_.recordToLoad(), session_.sourceSet());
        setRunTitle();
    }
}

void PriorityTimeDialog::loadRecord(int index, int setIndex)
{
    const ProgramSet &set = ctx_.model.set(setIndex);
    if (index < 0 || index >= set.UsedCount)
        return;
    const PriorityEntryValues e = DecodePriorityTime(set.Records[index], ctx_.model.device.BusDevice);
    holidayOption_->setChecked(e.easter);
    if (e.easter)
        selectEasterCode(e.easterCode);
    showValues(e, editMode() == EditChange);
}

// The holiday of the library that carries this day code. A code no holiday carries (a holiday of
// another language's library, or an entry made elsewhere) is shown by its own name and kept.
void PriorityTimeDialog::selectEasterCode(int easterCode)
{
    holidaySets_->setCurrentIndex(holidaySets_->count() - 1);
    const auto &all = ctx_.model.holidays.holidays;
    for (int i = 0; i < static_cast<int>(all.size()); ++i) {
        if (all[i].kind == HolidayEaster && all[i].easterCode() == easterCode) {
            holidayList_->setCurrentRow(i);
            return;
        }
    }
    auto *item = new QListWidgetItem(views::EasterCodeFallbackName(ctx_.model, easterCode), holidayList_);
    item->setData(HolidayIndexRole, NoLibraryHoliday);
    item->setData(EasterCodeRole, easterCode);
    holidayList_->setCurrentItem(item);
}

// Selects a year of the list. A year the list does not offer (the holiday option writes years
// far ahead, another tool any year the record holds) gets a row of its own, so that it is kept.
void PriorityTimeDialog::selectYear(int yearCode)
{
    int insertAt = yearList_->count();
    for (int row = 0; row < yearList_->count(); ++row) {
        const int code = yearList_->item(row)->data(YearCodeRole).toInt();
        if (code == yearCode) {
            SelectListRow(yearList_, row);
            return;
        }
        if (row > 0 && code > yearCode && insertAt == yearList_->count())
            insertAt = row;
    }
    auto *item = new QListWidgetItem(QString::number(yearCode + YearCodeBase));
    item->setData(YearCodeRole, yearCode);
    {
        const QSignalBlocker block(yearList_);
        yearList_->insertItem(insertAt, item);
    }
    SelectListRow(yearList_, insertAt);
}

int PriorityTimeDialog::chosenYearCode() const
{
    const QListWidgetItem *item = yearList_->currentItem();
    return item && yearList_->currentRow() >= 0 ? item->data(YearCodeRole).toInt() : 0;
}

void PriorityTimeDialog::limitDay(QListWidget *dayList, const QListWidget *monthList)
{
    int day = Row(dayList) + 1;
    if (day < 1 || Row(monthList) < 0)
        return;
    if (LimitDayToMonth(day, Row(monthList) + 1)) {
        SelectListRow(dayList, day - 1);
        ctx_.prompter.beep();
    }
}

bool PriorityTimeDialog::holidayMode() const
{
    return holidayOption_ && holidayOption_->isChecked();
}

void PriorityTimeDialog::showYearRule()
{
    const Model &model = ctx_.model;
    // The year list belongs to devices with variable holidays; the astro device has none.
    const bool years =
        model.device.Bewft == 1 && model.device.Uhrentyp != TypeAstro && !model.device.BusDevice;
    yearList_->setEnabled(years);
    once_->setVisible(!years);
}

void PriorityTimeDialog::onHolidayOption(bool ticked)
{
    const Catalogue &c = ctx_.model.catalogue;
    beginHeading_->setText(c(ticked ? Msg::Holidays : Msg::BeginAt));
    beginHeading_->setBuddy(ticked ? static_cast<QWidget *>(holidaySets_) : fromDayField_);
    for (QWidget *w : std::initializer_list<QWidget *>{fromDayList_, fromMonthList_, toDayList_, toMonthList_,
                                                       fromDayField_, fromMonthField_, toDayField_,
                                                       toMonthField_, endHeading_, beginTime_, endTime_})
        w->setVisible(!ticked);
    holidaySets_->setVisible(ticked);
    holidayList_->setVisible(ticked);
    if (ticked) {
        const QSignalBlocker block(holidaySets_);
        holidaySets_->clear();
        for (const HolidaySet &set : ctx_.model.holidays.sets)
            holidaySets_->addItem(set.name);
        holidaySets_->addItem(c(Msg::AllButton));
        holidaySets_->setCurrentIndex(holidaySets_->count() - 1);
        fillHolidayList();
    } else {
        showYearRule();
    }
    refreshAllButton();
    AssignLabelMnemonics(this);
}

void PriorityTimeDialog::fillHolidayList()
{
    const HolidayLibrary &library = ctx_.model.holidays;
    const int set = holidaySets_->currentIndex();
    std::vector<int> indexes;
    if (set >= 0 && set < static_cast<int>(library.sets.size())) {
        for (int member : library.sets[set].members)
            if (member >= 1 && member <= static_cast<int>(library.holidays.size()))
                indexes.push_back(member - 1);
    } else {
        for (int i = 0; i < static_cast<int>(library.holidays.size()); ++i)
            indexes.push_back(i);
    }
    holidayList_->clear();
    for (int index : indexes) {
        auto *item = new QListWidgetItem(library.holidays[index].name, holidayList_);
        item->setData(HolidayIndexRole, index);
    }
    holidayList_->setCurrentRow(indexes.empty() ? -1 : 0);
}

std::optional<Holiday> PriorityTimeDialog::chosenHoliday() const
{
    const HolidayLibrary &library = ctx_.model.holidays;
    const QListWidgetItem *item = holidayList_->currentItem();
    if (!item || holidayList_->currentRow() < 0)
        return std::nullopt;
    const int index = item->data(HolidayIndexRole).toInt();
    if (index == NoLibraryHoliday) {
        Holiday easter;
        easter.name = item->text();
        easter.kind = HolidayEaster;
        easter.dayOrOffset = item->data(EasterCodeRole).toInt() - EasterCodeBase;
        easter.month = 0;
        return easter;
    }
    if (index < 0 || index >= static_cast<int>(library.holidays.size()))
        return std::nullopt;
    return library.holidays[index];
}

PriorityEntryValues PriorityTimeDialog::currentValues() const
{
    const int bus = ctx_.model.device.BusDevice;
    PriorityEntryValues e;
    e.fromDay = Row(fromDayList_) + 1;
    e.fromMonth = Row(fromMonthList_) + 1;
    e.toDay = Row(toDayList_) + 1;
    e.toMonth = Row(toMonthList_) + 1;
    e.once = once_->isChecked() ? 1 : 0;
    // A year the list holds is kept even where the device offers none; the device rules refuse it.
    e.yearCode = chosenYearCode();
    e.priority = Row(priorityList_) + 1;
    if (bus) {
        e.busChannel = busChannel();
        e.value = value_->value();
    } else {
        e.channelMask = channelMask();
        e.state = state();
    }
    return e;
}

void PriorityTimeDialog::showValues(const PriorityEntryValues &e, bool loadChannels)
{
    SelectListRow(fromDayList_, e.fromDay - 1);
    SelectListRow(fromMonthList_, e.fromMonth - 1);
    SelectListRow(toDayList_, e.toDay - 1);
    SelectListRow(toMonthList_, e.toMonth - 1);
    selectYear(e.yearCode);
    once_->setChecked(e.once != 0);
    {
        const QSignalBlocker block(priorityList_);
        SelectListRow(priorityList_, e.priority - 1);
    }
    const int bus = ctx_.model.device.BusDevice;
    if (bus) {
        value_->setValue(IsPermanent(e, bus) ? e.value : 0);
        if (loadChannels && e.busChannel >= 1 && e.busChannel <= 8)
            busChannels_[e.busChannel - 1]->setChecked(true);
    } else {
        if (loadChannels) {
            for (int i = 0; i < 4; ++i) {
                if (channels_[i]->isEnabled())
                    channels_[i]->setChecked((e.channelMask >> i) & 1);
            }
        }
        setState(e.state);
    }
    refreshPermanent();
    refreshFields();
}

void PriorityTimeDialog::refreshFields()
{
    const Catalogue &c = ctx_.model.catalogue;
    const auto dayText = [&c](int row) {
        return row < 0    ? QString()
               : row == 0 ? c(Msg::FirstOfMonth)
                          : QString::number(row + 1) + c(Msg::DaySuffix);
    };
    const auto itemText = [](const QListWidget *l) {
        return l->currentItem() && l->currentRow() >= 0 ? l->currentItem()->text() : QString();
    };
    typed(FieldFromDay)->show(dayText(Row(fromDayList_)));
    typed(FieldToDay)->show(dayText(Row(toDayList_)));
    QString from = itemText(fromMonthList_);
    if (chosenYearCode() > 0)
        from += QStringLiteral(" ") + itemText(yearList_);
    typed(FieldFromMonth)->show(from);
    typed(FieldToMonth)->show(itemText(toMonthList_));
    priorityField_->setText(itemText(priorityList_));
}

void PriorityTimeDialog::refreshPermanent()
{
    const int bus = ctx_.model.device.BusDevice;
    const bool permanent = Row(priorityList_) + 1 == PermanentCode(bus);
    // only permanent priority times carry a state or a value
    if (bus) {
        value_->setEnabled(permanent);
        valueField_->setVisible(permanent);
        if (!permanent)
            value_->setValue(0);
        permanentMark_->hide();
    } else {
        onOffButton_->setEnabled(permanent);
        if (!permanent)
            setState(0);
        permanentMark_->setVisible(permanent);
        permanentMark_->setStyleSheet(QStringLiteral("background: rgb(255, 200, 0);"));
    }
    refreshFields();
}

void PriorityTimeDialog::onOkForAll()
{
    if (holidayMode()) {
        // Each holiday is stored as OK would store it, the chosen year included.
        holidayList_->setCurrentRow(holidayList_->count() > 0 ? 0 : -1);
        holidayRun_ = true;
        continueAll();
    } else {
        EntryDialog::onOkForAll();
    }
}

bool PriorityTimeDialog::offersAll() const
{
    return EntryDialog::offersAll() || holidayMode();
}

EntrySession::Confirmation PriorityTimeDialog::store()
{
    Model &model = ctx_.model;
    const PriorityEntryValues entry = currentValues();
    if (!holidayMode())
        return session_.storePriority(model, ctx_.prompter, entry);
    // A free holiday over several years gives several records: the first takes the edited
    // record's place in a change, the others are added.
    const std::optional<Holiday> holiday = chosenHoliday();
    const QDate today = ctx_.clock.today();
    const auto entries =
        holiday ? HolidayPriorityTimes(*holiday, entry, model.device.Bewft,
                                       {today.day(), today.month(), today.year()}, model.holidays.freeYears)
                : std::vector<PriorityEntryValues>{};
    return session_.storeHoliday(model, ctx_.prompter, entries);
}

// A holiday run walks the list of holidays; a change or copy run walks the marked records, and
// the holiday list then shows the next record's own holiday.
bool PriorityTimeDialog::continueRun(const EntrySession::Confirmation &c)
{
    if (!holidayMode() || c.result.outcome == StoreOutcome::NoChannel || editMode() != EditEnter)
        return false;
    if (holidayList_->currentRow() + 1 < holidayList_->count()) {
        holidayList_->setCurrentRow(holidayList_->currentRow() + 1);
        return holidayRun_;
    }
    holidayRun_ = false;
    return false;
}

void PriorityTimeDialog::applyIncrements()
{
    PriorityEntryValues e = currentValues();
    ApplyIncrements(e, ctx_.model.automation, ctx_.model.device.BusDevice, ctx_.clock.today().year(),
                    holidayMode());
    showValues(e, false);
}

void PriorityTimeDialog::clearPanel()
{
    for (QLabel *l : {lastBegin_, lastEnd_, lastChannels_, lastPriority_, lastState_})
        l->clear();
}

void PriorityTimeDialog::showPanel(int index)
{
    const Model &model = ctx_.model;
    const ProgramRecord &r = model.program().Records[index];
    lastBegin_->setText(views::PriorityBeginText(model, r));
    lastEnd_->setText(views::PriorityEndText(model, r));
    lastChannels_->setText(views::ChannelsText(model, r));
    lastPriority_->setText(views::PriorityProgramText(model, r));
    lastState_->setText(views::PriorityStateText(model, r));
}

// Takes a typed value into its list; the list's own rules (the day limited to the month) follow.
bool PriorityTimeDialog::applyTyped(int field, const TypedValue &typed)
{
    if (finished_)
        return true;
    switch (field) {
    case FieldFromDay:
        fromDayList_->setCurrentRow(typed.value - 1);
        break;
    case FieldFromMonth:
        fromMonthList_->setCurrentRow(typed.value - 1);
        break;
    case FieldToDay:
        toDayList_->setCurrentRow(typed.value - 1);
        break;
    case FieldToMonth:
        toMonthList_->setCurrentRow(typed.value - 1);
        break;
    default:
        return false;
    }
    refreshFields();
    return true;
}

} // namespace zx
