#include "entry/PriorityTimeDialog.h"

#include "app/AppContext.h"
#include "entry/AutomationDialog.h"
#include "entry/EntryAutomation.h"
#include "entry/EntryControls.h"
#include "entry/EntryDeviceRules.h"
#include "entry/EntrySession.h"
#include "entry/EntryStore.h"
#include "entry/HolidayPriority.h"
#include "entry/RunTitle.h"
#include "entry/TypedFieldControl.h"
#include "model/ListOrder.h"
#include "model/Model.h"
#include "model/RecordDecoder.h"
#include "platform/Clock.h"
#include "platform/Prompter.h"
#include "views/ListFormatter.h"

#include <QButtonGroup>
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
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

#include <exception>

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

namespace {

// "Change the priority program (2 of 5)" while a run walks marked records.
QString runTitle(const Model &model, int editMode, const EntrySession &session)
{
    return RunTitle(
        model.catalogue(editMode == EditCopy ? Msg::CopyThePriorityProgram : Msg::ChangeThePriorityProgram),
        session.run(), model.device.Sprache);
}

} // namespace

PriorityTimeDialog::PriorityTimeDialog(AppContext &ctx, QWidget *parent) : QDialog(parent), ctx_(ctx)
{
    setObjectName(QStringLiteral("frmEingPZ"));
    setWindowModality(Qt::ApplicationModal);
    buildControls();
}

void PriorityTimeDialog::buildControls()
{
    auto *top = new QVBoxLayout(this);
    auto *grid = new QGridLayout;
    top->addLayout(grid);

    lblBegin_ = MakeEntryLabel(this, QStringLiteral("lblvon"));
    lblEnd_ = MakeEntryLabel(this, QStringLiteral("lblbis"));
    listvontag_ = MakeEntryList(this, QStringLiteral("listvontag"), 8);
    lstvonmon_ = MakeEntryList(this, QStringLiteral("Lstvonmon"), 8);
    listbistag_ = MakeEntryList(this, QStringLiteral("listbistag"), 8);
    lstbismon_ = MakeEntryList(this, QStringLiteral("LstbisMon"), 8);
    txtvonTag_ = MakeField(this, "txtvonTag");
    txtvonMon_ = MakeField(this, "txtvonMon");
    txtbistag_ = MakeField(this, "txtbistag");
    txtbisMon_ = MakeField(this, "txtbisMon");
    lblvonUz_ = MakeEntryLabel(this, QStringLiteral("LblvonUz"));
    lblbisUz_ = MakeEntryLabel(this, QStringLiteral("LblbisUz"));
    lstvonJahr_ = MakeEntryList(this, QStringLiteral("lstvonJahr"), 8);
    chk1x_ = new QCheckBox(QStringLiteral("1x"), this);
    chk1x_->setObjectName(QStringLiteral("chk1x"));

    grid->addWidget(lblBegin_, 0, 0, 1, 2);
    grid->addWidget(txtvonTag_, 1, 0);
    grid->addWidget(txtvonMon_, 1, 1);
    grid->addWidget(lblvonUz_, 1, 2);
    grid->addWidget(listvontag_, 2, 0);
    grid->addWidget(lstvonmon_, 2, 1);
    grid->addWidget(lstvonJahr_, 2, 2);
    grid->addWidget(chk1x_, 3, 2);
    grid->addWidget(lblEnd_, 0, 3, 1, 2);
    grid->addWidget(txtbistag_, 1, 3);
    grid->addWidget(txtbisMon_, 1, 4);
    grid->addWidget(lblbisUz_, 1, 5);
    grid->addWidget(listbistag_, 2, 3);
    grid->addWidget(lstbismon_, 2, 4);

    chkBewFeiertage_ = new QCheckBox(this);
    chkBewFeiertage_->setObjectName(QStringLiteral("chk_bew_Feiertage"));
    cboFtSets_ = new QComboBox(this);
    cboFtSets_->setObjectName(QStringLiteral("cbo_Ft_sets"));
    lstBewFeiertage_ = MakeEntryList(this, QStringLiteral("lst_bew_Feiertage"), 8);
    grid->addWidget(chkBewFeiertage_, 3, 0, 1, 2);
    grid->addWidget(cboFtSets_, 1, 7);
    grid->addWidget(lstBewFeiertage_, 2, 7);

    lblPrio_ = MakeEntryLabel(this, QStringLiteral("lblPrio"));
    lstPrio_ = MakeEntryList(this, QStringLiteral("LstPrio"), 8);
    txtAnzPrio_ = MakeField(this, "txtAnzPrio");
    grid->addWidget(lblPrio_, 0, 6);
    grid->addWidget(txtAnzPrio_, 1, 6);
    grid->addWidget(lstPrio_, 2, 6);

    auto *channelRow = new QHBoxLayout;
    lblChannels_ = MakeEntryLabel(this, QStringLiteral("lblKanal"));
    channelRow->addWidget(lblChannels_);
    for (int i = 0; i < 4; ++i) {
        channels_[i] = new QCheckBox(this);
        channels_[i]->setObjectName(QStringLiteral("chkKan%1").arg(i + 1));
        channelRow->addWidget(channels_[i]);
        connect(channels_[i], &QCheckBox::clicked, this, [this, i](bool checked) {
            // a device of type 236 switches channel 1 or channel 2, never both at once
            if (checked && ctx_.model.device.Uhrentyp == TypeAstro && i < 2)
                channels_[1 - i]->setChecked(false);
        });
    }
    fraEIB_ = new QGroupBox(this);
    fraEIB_->setObjectName(QStringLiteral("fraEIB"));
    auto *busRow = new QHBoxLayout(fraEIB_);
    busGroup_ = new QButtonGroup(this);
    for (int i = 0; i < 8; ++i) {
        busChannels_[i] = new QRadioButton(fraEIB_);
        busChannels_[i]->setObjectName(QStringLiteral("optkan%1").arg(i + 1));
        busGroup_->addButton(busChannels_[i], i + 1);
        busRow->addWidget(busChannels_[i]);
    }
    channelRow->addWidget(fraEIB_);
    cmdEinAus_ = new QPushButton(this);
    cmdEinAus_->setObjectName(QStringLiteral("cmdEinAus"));
    picBackColor_ = MakeEntryLabel(this, QStringLiteral("PicBackColor"));
    picBackColor_->setFixedSize(16, 16);
    {
        QSizePolicy keep = picBackColor_->sizePolicy();
        keep.setRetainSizeWhenHidden(true);
        picBackColor_->setSizePolicy(keep);
    }
    vsbwert_ = new QScrollBar(Qt::Horizontal, this);
    vsbwert_->setObjectName(QStringLiteral("vsbwert"));
    vsbwert_->setRange(0, 255);
    vsbwert_->setPageStep(10);
    vsbwert_->setMinimumWidth(120);
    txtwert_ = MakeField(this, "txtwert");
    channelRow->addWidget(cmdEinAus_);
    channelRow->addWidget(picBackColor_);
    channelRow->addWidget(vsbwert_);
    channelRow->addWidget(txtwert_);
    top->addLayout(channelRow);

    auto *okRow = new QHBoxLayout;
    cmdPzOk_ = new QPushButton(this);
    cmdPzOk_->setObjectName(QStringLiteral("cmdPzOk"));
    cmdPzOk_->setDefault(true);
    cmdalleok_ = new QPushButton(this);
    cmdalleok_->setObjectName(QStringLiteral("Cmdalleok"));
    cmdPzEnd_ = new QPushButton(this);
    cmdPzEnd_->setObjectName(QStringLiteral("cmdPzEnd"));
    imgPzok_ = new QLabel(QStringLiteral("\u2714"), this);
    imgPzok_->setObjectName(QStringLiteral("imgPzok"));
    // The confirmation mark comes and goes after every OK: its place stays, so the dialog
    // keeps its size and its buttons stay where they are.
    {
        QSizePolicy keep = imgPzok_->sizePolicy();
        keep.setRetainSizeWhenHidden(true);
        imgPzok_->setSizePolicy(keep);
    }
    imgPzok_->setStyleSheet(QStringLiteral("color: rgb(0, 160, 0); font-size: 20pt;"));
    imgPzok_->hide();
    chkautopil_ = new QCheckBox(this);
    chkautopil_->setObjectName(QStringLiteral("Chkautopil"));
    cmdneuassi_ = new QPushButton(this);
    cmdneuassi_->setObjectName(QStringLiteral("cmdneuassi"));
    cmd1xauto_ = new QPushButton(this);
    cmd1xauto_->setObjectName(QStringLiteral("Cmd1xauto"));
    for (QWidget *w : std::initializer_list<QWidget *>{cmdPzOk_, imgPzok_, cmdalleok_, cmdPzEnd_, chkautopil_,
                                                       cmdneuassi_, cmd1xauto_})
        okRow->addWidget(w);
    top->addLayout(okRow);

    fraold_ = new QGroupBox(this);
    fraold_->setObjectName(QStringLiteral("fraold"));
    auto *panel = new QHBoxLayout(fraold_);
    imgoldPzup_ = new QToolButton(fraold_);
    imgoldPzup_->setObjectName(QStringLiteral("imgoldPzup"));
    imgoldPzup_->setArrowType(Qt::UpArrow);
    imgoldPzdown_ = new QToolButton(fraold_);
    imgoldPzdown_->setObjectName(QStringLiteral("imgoldPzdown"));
    imgoldPzdown_->setArrowType(Qt::DownArrow);
    lbloldvon_ = MakeEntryLabel(fraold_, QStringLiteral("lbloldvon"));
    lbloldbis_ = MakeEntryLabel(fraold_, QStringLiteral("lbloldbis"));
    lbloldkan_ = MakeEntryLabel(fraold_, QStringLiteral("lbloldkan"));
    lbloldprio_ = MakeEntryLabel(fraold_, QStringLiteral("lbloldprio"));
    for (QWidget *w : std::initializer_list<QWidget *>{imgoldPzup_, imgoldPzdown_, lbloldvon_, lbloldbis_,
                                                       lbloldkan_, lbloldprio_})
        panel->addWidget(w);
    top->addWidget(fraold_);

    timer1_ = new QTimer(this);
    timer1_->setObjectName(QStringLiteral("Timer1"));
    timer1_->setInterval(500);
    timer1_->setSingleShot(true);
    connect(timer1_, &QTimer::timeout, imgPzok_, &QLabel::hide);
    tmalleok_ = new QTimer(this);
    tmalleok_->setObjectName(QStringLiteral("Tmalleok"));
    tmalleok_->setInterval(20);
    connect(tmalleok_, &QTimer::timeout, this, &PriorityTimeDialog::onOkForAllTick);

    // The day lists follow their month: a day the month lacks becomes its last day.
    for (QListWidget *list : {listvontag_, lstvonmon_})
        connect(list, &QListWidget::currentRowChanged, this, [this] {
            limitDay(listvontag_, lstvonmon_);
            refreshFields();
        });
    for (QListWidget *list : {listbistag_, lstbismon_})
        connect(list, &QListWidget::currentRowChanged, this, [this] {
            limitDay(listbistag_, lstbismon_);
            refreshFields();
        });
    connect(lstvonJahr_, &QListWidget::currentRowChanged, this, [this] { refreshFields(); });
    connect(lstPrio_, &QListWidget::currentRowChanged, this, [this] { refreshPermanent(); });
    connect(chkBewFeiertage_, &QCheckBox::toggled, this, &PriorityTimeDialog::onHolidayOption);
    connect(cboFtSets_, &QComboBox::currentIndexChanged, this, [this] { fillHolidayList(); });
    // The date fields take typed digits as the switching time entry's fields do.
    const std::array<QLineEdit *, FieldCount> typedEdits{txtvonTag_, txtvonMon_, txtbistag_, txtbisMon_};
    const std::array<FieldRange, FieldCount> ranges{FieldRange{1, 31}, FieldRanges::Month, FieldRange{1, 31},
                                                    FieldRanges::Month};
    for (int i = 0; i < FieldCount; ++i) {
        typedEdits[i]->setReadOnly(false);
        typed_[i] = new TypedFieldControl(typedEdits[i], ranges[i], ctx_.prompter,
                                          [this, i](const TypedValue &v) { return applyTyped(i, v); });
    }
    // A typed priority selects 1..9 (bus 1..7); "permanent" is chosen in the list only.
    txtAnzPrio_->setReadOnly(false);
    connect(txtAnzPrio_, &QLineEdit::textEdited, this, [this](const QString &text) {
        bool ok = false;
        const int typed = text.right(1).toInt(&ok);
        if (!ok || typed < 1 || typed > MaxPriority(ctx_.model.device.BusDevice)) {
            ctx_.prompter.beep();
            refreshFields();
            return;
        }
        lstPrio_->setCurrentRow(typed - 1);
        txtAnzPrio_->selectAll();
    });
    // Return presses OK, as in every dialog; in a typed field it only confirms that field (the
    // field takes the key). No other button takes Return when it has the focus.
    for (QPushButton *b : findChildren<QPushButton *>()) {
        b->setAutoDefault(false);
        b->setDefault(false);
    }
    cmdPzOk_->setDefault(true);
    // Tab reads the beginning, the end, the priority and the holidays column by column, then the
    // rows below.
    SetTabChain({txtvonTag_,       txtvonMon_,      listvontag_,     lstvonmon_,      lstvonJahr_,
                 chkBewFeiertage_, chk1x_,          txtbistag_,      txtbisMon_,      listbistag_,
                 lstbismon_,       txtAnzPrio_,     lstPrio_,        cboFtSets_,      lstBewFeiertage_,
                 channels_[0],     channels_[1],    channels_[2],    channels_[3],    busChannels_[0],
                 busChannels_[1],  busChannels_[2], busChannels_[3], busChannels_[4], busChannels_[5],
                 busChannels_[6],  busChannels_[7], cmdEinAus_,      vsbwert_,        txtwert_,
                 cmdPzOk_,         cmdalleok_,      cmdPzEnd_,       chkautopil_,     cmdneuassi_,
                 cmd1xauto_,       imgoldPzup_,     imgoldPzdown_});
    connect(cmdEinAus_, &QPushButton::clicked, this, [this] { setState(state_ ? 0 : 1); });
    connect(vsbwert_, &QScrollBar::valueChanged, this,
            [this](int v) { txtwert_->setText(QString::number(v)); });
    connect(cmdPzOk_, &QPushButton::clicked, this, &PriorityTimeDialog::onConfirm);
    connect(cmdalleok_, &QPushButton::clicked, this, &PriorityTimeDialog::onOkForAll);
    connect(cmdPzEnd_, &QPushButton::clicked, this, [this] { done(QDialog::Accepted); });
    connect(chkautopil_, &QCheckBox::toggled, this, [this](bool checked) {
        ctx_.model.automation.AutomationActive = checked ? 1 : 0;
        refreshAllButton();
    });
    connect(cmdneuassi_, &QPushButton::clicked, this, &PriorityTimeDialog::onNewAutomation);
    connect(cmd1xauto_, &QPushButton::clicked, this, &PriorityTimeDialog::applyIncrements);
    connect(imgoldPzup_, &QToolButton::clicked, this, [this] { onStepPanel(-1); });
    connect(imgoldPzdown_, &QToolButton::clicked, this, [this] { onStepPanel(1); });
}

void PriorityTimeDialog::setCaptions()
{
    const Catalogue &c = ctx_.model.catalogue;
    lblBegin_->setText(c(holidayMode() ? Msg::Holidays : Msg::BeginAt));
    chkBewFeiertage_->setText(c(Msg::Holidays));
    lblEnd_->setText(c(Msg::EndAt));
    lblvonUz_->setText(QStringLiteral("00:00 ") + c(Msg::HoursWord));
    lblbisUz_->setText(QStringLiteral("24:00 ") + c(Msg::HoursWord));
    lblPrio_->setText(c(Msg::Priority));
    lblChannels_->setText(c(Msg::ChannelsHeading));
    for (int i = 0; i < 4; ++i)
        channels_[i]->setText(c(Msg::Channel1 + i));
    for (int i = 0; i < 8; ++i)
        busChannels_[i]->setText(c(Msg::Channel1 + i));
    cmdPzOk_->setText(c(Msg::Ok));
    cmdalleok_->setText(c(Msg::AllButton));
    cmdPzEnd_->setText(c(Msg::BtnExit));
    chkautopil_->setText(c(Msg::ActiveAfterInput));
    cmdneuassi_->setText(c(Msg::NewButton));
    cmd1xauto_->setText(c(Msg::DoIt));
    fraold_->setTitle(c(Msg::AlreadyEntered));
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
    fill(listvontag_, days);
    fill(listbistag_, days);
    fill(lstvonmon_, months);
    fill(lstbismon_, months);
    fill(lstvonJahr_, years);
    for (int row = 0; row < lstvonJahr_->count(); ++row)
        lstvonJahr_->item(row)->setData(YearCodeRole, row == 0 ? 0 : YearCodeOf(FirstListedYear + row - 1));
    fill(lstPrio_, priorities);
}

void PriorityTimeDialog::setupChannels()
{
    DeviceProperties &d = ctx_.model.device;
    const bool bus = d.BusDevice != 0;
    fraEIB_->setVisible(bus);
    busGroup_->setExclusive(false);
    for (QRadioButton *b : busChannels_)
        b->setChecked(false);
    busGroup_->setExclusive(true);
    for (int i = 0; i < 8; ++i)
        busChannels_[i]->setVisible(i < (d.Kanalzahl == 4 ? 4 : 8));
    int shown = 0;
    if (!bus) {
        shown = d.Kanalzahl >= 1 && d.Kanalzahl <= 3 ? d.Kanalzahl : 4;
        d.Kanalzahl = shown;
    }
    for (int i = 0; i < 4; ++i) {
        channels_[i]->setVisible(i < shown);
        channels_[i]->setChecked(false);
        channels_[i]->setEnabled(true);
    }
    if (shown == 1) {
        channels_[0]->setChecked(true);
        channels_[0]->setEnabled(false);
    }
    if (!bus && d.Evu != 0 && d.MessKanal >= 1 && d.MessKanal <= shown) {
        // the meter pulse channel is never switched by a program
        channels_[d.MessKanal - 1]->setEnabled(false);
        channels_[d.MessKanal - 1]->setChecked(false);
    }
    cmdEinAus_->setVisible(!bus);
    vsbwert_->setVisible(bus);
    txtwert_->setVisible(bus);
}

void PriorityTimeDialog::openInMode()
{
    Model &model = ctx_.model;
    finished_ = false;
    for (TypedFieldControl *field : typed_)
        field->setChecking(true);
    session_.open(model);
    editMode_ = session_.mode();

    setCaptions();
    fillLists();
    setupChannels();
    cboFtSets_->hide();
    lstBewFeiertage_->hide();
    {
        const QSignalBlocker block(chkBewFeiertage_);
        chkBewFeiertage_->setChecked(false);
    }
    onHolidayOption(false);
    chkautopil_->setChecked(model.automation.AutomationActive != 0);
    okForAll_ = false;
    holidaysForAll_ = false;
    tmalleok_->stop();
    timer1_->stop();
    imgPzok_->hide();
    panelIndex_ = model.program().UsedCount;
    for (QLabel *l : {lbloldvon_, lbloldbis_, lbloldkan_, lbloldprio_})
        l->clear();

    PriorityEntryValues fresh;
    showValues(fresh, false);
    setState(0);
    vsbwert_->setValue(0);
    if (editMode_ == EditEnter) {
        setWindowTitle(model.catalogue(Msg::EnterThePriorityProgram));
    } else {
        loadRecord(session_.recordToLoad(), session_.sourceSet());
        setWindowTitle(runTitle(model, editMode_, session_));
    }
    refreshAllButton();
    show();
    raise();
    activateWindow();
    checkMemoryOnActivation();
}

bool PriorityTimeDialog::checkMemoryOnActivation()
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

void PriorityTimeDialog::changeEvent(QEvent *event)
{
    QDialog::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow() && isVisible())
        checkMemoryOnActivation();
}

void PriorityTimeDialog::loadRecord(int index, int setIndex)
{
    const ProgramSet &set = ctx_.model.set(setIndex);
    if (index < 0 || index >= set.UsedCount)
        return;
    const PriorityEntryValues e = DecodePriorityTime(set.Records[index], ctx_.model.device.BusDevice);
    chkBewFeiertage_->setChecked(e.easter);
    if (e.easter)
        selectEasterCode(e.easterCode);
    showValues(e, editMode_ == EditChange);
}

// The holiday of the library that carries this day code. A code no holiday carries (a holiday of
// another language's library, or an entry made elsewhere) is shown by its own name and kept.
void PriorityTimeDialog::selectEasterCode(int easterCode)
{
    cboFtSets_->setCurrentIndex(cboFtSets_->count() - 1);
    const auto &all = ctx_.model.holidays.holidays;
    for (int i = 0; i < static_cast<int>(all.size()); ++i) {
        if (all[i].kind == HolidayEaster && all[i].easterCode() == easterCode) {
            lstBewFeiertage_->setCurrentRow(i);
            return;
        }
    }
    auto *item = new QListWidgetItem(views::EasterCodeFallbackName(ctx_.model, easterCode), lstBewFeiertage_);
    item->setData(HolidayIndexRole, NoLibraryHoliday);
    item->setData(EasterCodeRole, easterCode);
    lstBewFeiertage_->setCurrentItem(item);
}

// Selects a year of the list. A year the list does not offer (the holiday option writes years
// far ahead, another tool any year the record holds) gets a row of its own, so that it is kept.
void PriorityTimeDialog::selectYear(int yearCode)
{
    int insertAt = lstvonJahr_->count();
    for (int row = 0; row < lstvonJahr_->count(); ++row) {
        const int code = lstvonJahr_->item(row)->data(YearCodeRole).toInt();
        if (code == yearCode) {
            SelectListRow(lstvonJahr_, row);
            return;
        }
        if (row > 0 && code > yearCode && insertAt == lstvonJahr_->count())
            insertAt = row;
    }
    auto *item = new QListWidgetItem(QString::number(yearCode + YearCodeBase));
    item->setData(YearCodeRole, yearCode);
    {
        const QSignalBlocker block(lstvonJahr_);
        lstvonJahr_->insertItem(insertAt, item);
    }
    SelectListRow(lstvonJahr_, insertAt);
}

int PriorityTimeDialog::chosenYearCode() const
{
    const QListWidgetItem *item = lstvonJahr_->currentItem();
    return item && lstvonJahr_->currentRow() >= 0 ? item->data(YearCodeRole).toInt() : 0;
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
    return chkBewFeiertage_ && chkBewFeiertage_->isChecked();
}

void PriorityTimeDialog::showYearRule()
{
    const Model &model = ctx_.model;
    // The year list belongs to devices with variable holidays; the astro device has none.
    const bool years =
        model.device.Bewft == 1 && model.device.Uhrentyp != TypeAstro && !model.device.BusDevice;
    lstvonJahr_->setEnabled(years);
    chk1x_->setVisible(!years);
}

void PriorityTimeDialog::onHolidayOption(bool ticked)
{
    const Catalogue &c = ctx_.model.catalogue;
    lblBegin_->setText(c(ticked ? Msg::Holidays : Msg::BeginAt));
    for (QWidget *w :
         std::initializer_list<QWidget *>{listvontag_, lstvonmon_, listbistag_, lstbismon_, txtvonTag_,
                                          txtvonMon_, txtbistag_, txtbisMon_, lblEnd_, lblvonUz_, lblbisUz_})
        w->setVisible(!ticked);
    cboFtSets_->setVisible(ticked);
    lstBewFeiertage_->setVisible(ticked);
    if (ticked) {
        const QSignalBlocker block(cboFtSets_);
        cboFtSets_->clear();
        for (const HolidaySet &set : ctx_.model.holidays.sets)
            cboFtSets_->addItem(set.name);
        cboFtSets_->addItem(c(Msg::AllButton));
        cboFtSets_->setCurrentIndex(cboFtSets_->count() - 1);
        fillHolidayList();
    } else {
        showYearRule();
    }
    refreshAllButton();
}

void PriorityTimeDialog::fillHolidayList()
{
    const HolidayLibrary &library = ctx_.model.holidays;
    const int set = cboFtSets_->currentIndex();
    std::vector<int> indexes;
    if (set >= 0 && set < static_cast<int>(library.sets.size())) {
        for (int member : library.sets[set].members)
            if (member >= 1 && member <= static_cast<int>(library.holidays.size()))
                indexes.push_back(member - 1);
    } else {
        for (int i = 0; i < static_cast<int>(library.holidays.size()); ++i)
            indexes.push_back(i);
    }
    lstBewFeiertage_->clear();
    for (int index : indexes) {
        auto *item = new QListWidgetItem(library.holidays[index].name, lstBewFeiertage_);
        item->setData(HolidayIndexRole, index);
    }
    lstBewFeiertage_->setCurrentRow(indexes.empty() ? -1 : 0);
}

std::optional<Holiday> PriorityTimeDialog::chosenHoliday() const
{
    const HolidayLibrary &library = ctx_.model.holidays;
    const QListWidgetItem *item = lstBewFeiertage_->currentItem();
    if (!item || lstBewFeiertage_->currentRow() < 0)
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
    e.fromDay = Row(listvontag_) + 1;
    e.fromMonth = Row(lstvonmon_) + 1;
    e.toDay = Row(listbistag_) + 1;
    e.toMonth = Row(lstbismon_) + 1;
    e.once = chk1x_->isChecked() ? 1 : 0;
    // A year the list holds is kept even where the device offers none; the device rules refuse it.
    e.yearCode = chosenYearCode();
    e.priority = Row(lstPrio_) + 1;
    if (bus) {
        e.busChannel = busGroup_->checkedId() > 0 ? busGroup_->checkedId() : 0;
        e.value = vsbwert_->value();
    } else {
        for (int i = 0; i < 4; ++i) {
            if (channels_[i]->isChecked() && !channels_[i]->isHidden())
                e.channelMask |= 1 << i;
        }
        e.state = state_;
    }
    return e;
}

void PriorityTimeDialog::showValues(const PriorityEntryValues &e, bool loadChannels)
{
    SelectListRow(listvontag_, e.fromDay - 1);
    SelectListRow(lstvonmon_, e.fromMonth - 1);
    SelectListRow(listbistag_, e.toDay - 1);
    SelectListRow(lstbismon_, e.toMonth - 1);
    selectYear(e.yearCode);
    chk1x_->setChecked(e.once != 0);
    {
        const QSignalBlocker block(lstPrio_);
        SelectListRow(lstPrio_, e.priority - 1);
    }
    const int bus = ctx_.model.device.BusDevice;
    if (bus) {
        vsbwert_->setValue(IsPermanent(e, bus) ? e.value : 0);
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

void PriorityTimeDialog::setState(int state)
{
    state_ = state ? 1 : 0;
    cmdEinAus_->setText(ctx_.model.catalogue(state_ ? Msg::On : Msg::Off));
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
    typed_[FieldFromDay]->show(dayText(Row(listvontag_)));
    typed_[FieldToDay]->show(dayText(Row(listbistag_)));
    QString from = itemText(lstvonmon_);
    if (chosenYearCode() > 0)
        from += QStringLiteral(" ") + itemText(lstvonJahr_);
    typed_[FieldFromMonth]->show(from);
    typed_[FieldToMonth]->show(itemText(lstbismon_));
    txtAnzPrio_->setText(itemText(lstPrio_));
}

void PriorityTimeDialog::refreshPermanent()
{
    const int bus = ctx_.model.device.BusDevice;
    const bool permanent = Row(lstPrio_) + 1 == PermanentCode(bus);
    // only permanent priority times carry a state or a value
    if (bus) {
        vsbwert_->setEnabled(permanent);
        txtwert_->setVisible(permanent);
        if (!permanent)
            vsbwert_->setValue(0);
        picBackColor_->hide();
    } else {
        cmdEinAus_->setEnabled(permanent);
        if (!permanent)
            setState(0);
        picBackColor_->setVisible(permanent);
        picBackColor_->setStyleSheet(QStringLiteral("background: rgb(255, 200, 0);"));
    }
    refreshFields();
}

void PriorityTimeDialog::refreshAllButton()
{
    cmdalleok_->setEnabled(editMode_ == EditCopy || (editMode_ == EditChange && chkautopil_->isChecked()) ||
                           holidayMode());
}

void PriorityTimeDialog::onConfirm()
{
    if (finished_)
        return;
    // A value still being typed is taken first; one out of range stores nothing.
    if (!commitTypedFields()) {
        okForAll_ = false;
        holidaysForAll_ = false;
        return;
    }
    Model &model = ctx_.model;
    bool closeAfter = false;
    bool channelPassed = false;
    try {
        const PriorityEntryValues entry = currentValues();
        const int editedIndex = session_.editedIndex();
        StoreResult result;
        if (holidayMode()) {
            // A free holiday over several years gives several records: the first takes the
            // edited record's place in a change, the others are added.
            const std::optional<Holiday> holiday = chosenHoliday();
            const QDate today = ctx_.clock.today();
            const auto entries = holiday ? HolidayPriorityTimes(*holiday, entry, model.device.Bewft,
                                                                {today.day(), today.month(), today.year()},
                                                                model.holidays.freeYears)
                                         : std::vector<PriorityEntryValues>{};
            result = StoreHolidayPriorityTimes(model, ctx_.prompter, entries, editMode_, editedIndex);
        } else {
            result = StorePriorityTime(model, ctx_.prompter, entry, editMode_, editedIndex);
        }
        channelPassed = result.outcome != StoreOutcome::NoChannel;
        if (result.outcome == StoreOutcome::NothingToStore) {
            ctx_.prompter.beep();
        } else {
            const EntrySession::Next next = session_.afterStore(model, result);
            if (next.stopRuns) {
                okForAll_ = false;
                holidaysForAll_ = false;
            }
            if (next.stored) {
                showPanel(result.index);
                panelIndex_ = result.index;
                imgPzok_->show();
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
        }
    } catch (const std::exception &error) {
        okForAll_ = false;
        ctx_.prompter.tell(QStringLiteral("Error : ") + QString::fromLocal8Bit(error.what()));
    }

    model.ListView = ListPriority;
    model.CurrentSet = SetProgram;
    Q_EMIT listChanged();

    bool again = false;
    // A holiday run walks the list of holidays; a change or copy run walks the marked records,
    // and the holiday list then shows the next record's own holiday.
    if (holidayMode() && channelPassed && !closeAfter && editMode_ == EditEnter) {
        if (lstBewFeiertage_->currentRow() + 1 < lstBewFeiertage_->count()) {
            lstBewFeiertage_->setCurrentRow(lstBewFeiertage_->currentRow() + 1);
            again = holidaysForAll_;
        } else {
            holidaysForAll_ = false;
        }
    }
    if (closeAfter)
        done(QDialog::Accepted);
    else if (okForAll_ || again)
        tmalleok_->start();
}

void PriorityTimeDialog::onOkForAll()
{
    if (holidayMode()) {
        SelectListRow(lstvonJahr_, 0);
        lstBewFeiertage_->setCurrentRow(lstBewFeiertage_->count() > 0 ? 0 : -1);
        holidaysForAll_ = true;
    } else {
        okForAll_ = true;
    }
    tmalleok_->start();
}

void PriorityTimeDialog::onOkForAllTick()
{
    tmalleok_->stop();
    if (okForAll_ || holidaysForAll_)
        onConfirm();
}

void PriorityTimeDialog::applyIncrements()
{
    PriorityEntryValues e = currentValues();
    ApplyIncrements(e, ctx_.model.automation, ctx_.model.device.BusDevice, ctx_.clock.today().year(),
                    holidayMode());
    showValues(e, false);
}

void PriorityTimeDialog::onNewAutomation()
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

void PriorityTimeDialog::showPanel(int index)
{
    const Model &model = ctx_.model;
    const ProgramRecord &r = model.program().Records[index];
    lbloldvon_->setText(views::PriorityBeginText(model, r));
    lbloldbis_->setText(views::PriorityEndText(model, r));
    lbloldkan_->setText(views::ChannelsText(model, r));
    lbloldprio_->setText(views::PriorityProgramText(model, r));
}

void PriorityTimeDialog::onStepPanel(int direction)
{
    const Model &model = ctx_.model;
    const ProgramSet &p = model.program();
    for (int i = panelIndex_ + direction; i >= 0 && i < p.UsedCount; i += direction) {
        const int kind = RecordKind(p.Records[i], model.device.BusDevice);
        if (kind == Kind::PriorityConventional || kind == Kind::PriorityBus) {
            panelIndex_ = i;
            showPanel(i);
            return;
        }
    }
    ctx_.prompter.beep();
}

bool PriorityTimeDialog::commitTypedFields()
{
    for (TypedFieldControl *field : typed_)
        if (!field->commit())
            return false;
    return true;
}

// Takes a typed value into its list; the list's own rules (the day limited to the month) follow.
bool PriorityTimeDialog::applyTyped(int field, const TypedValue &typed)
{
    if (finished_)
        return true;
    switch (field) {
    case FieldFromDay:
        listvontag_->setCurrentRow(typed.value - 1);
        break;
    case FieldFromMonth:
        lstvonmon_->setCurrentRow(typed.value - 1);
        break;
    case FieldToDay:
        listbistag_->setCurrentRow(typed.value - 1);
        break;
    case FieldToMonth:
        lstbismon_->setCurrentRow(typed.value - 1);
        break;
    default:
        return false;
    }
    refreshFields();
    return true;
}

void PriorityTimeDialog::done(int result)
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
    holidaysForAll_ = false;
    tmalleok_->stop();
    if (automation_)
        automation_->close();
    SortRecords(model, DisplayOrder, SetProgram, &ctx_.prompter);
    model.ListView = ListPriority;
    model.CurrentSet = SetProgram;
    QDialog::done(result);
    Q_EMIT listChanged();
}

} // namespace zx
