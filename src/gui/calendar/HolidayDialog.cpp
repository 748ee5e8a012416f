#include "calendar/HolidayDialog.h"
#include "calendar/Holidays.h"

#include "app/AppContext.h"
#include "i18n/ExtraTexts.h"
#include "model/Model.h"
#include "platform/Prompter.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include <algorithm>

namespace zx {

namespace {

template <typename W> W *named(W *w, const char *name)
{
    w->setObjectName(QLatin1String(name));
    return w;
}

} // namespace

HolidayDialog::HolidayDialog(AppContext &ctx, QWidget *parent) : QDialog(parent), ctx_(ctx)
{
    setObjectName(QStringLiteral("frmfeiertage"));
    setWindowTitle(ctx_.model.catalogue(Msg::SettingsOfTheHolidays));
    atOpen_ = ctx_.model.holidays;

    // The controls are made in reading order, column by column, which is also their Tab order.
    auto *columns = new QHBoxLayout;
    columns->addLayout(buildHolidayFields());
    add_ = named(new QPushButton(QStringLiteral(">>"), this), "cmd_add_Feiertage");
    // Return adds the holiday being edited, from every field.
    add_->setDefault(true);
    columns->addLayout(buttonColumn({add_}));
    columns->addLayout(buildHolidayList());
    addToSet_ = named(new QPushButton(QStringLiteral(">>"), this), "cmd_add_to_set");
    removeFromSet_ = named(new QPushButton(QStringLiteral("<<"), this), "cmd_remove_from_set");
    columns->addLayout(buttonColumn({addToSet_, removeFromSet_}));
    columns->addLayout(buildSetColumn());
    auto *root = new QVBoxLayout(this);
    root->addLayout(columns);
    root->addLayout(buildBottomRow());
    connectControls();

    month_->setCurrentIndex(0);
    monthChosen();
    easter_->setChecked(true);
    kindChosen();
    const HolidayLibrary &lib = ctx_.model.holidays;
    freeYears_->setCurrentIndex(std::clamp(lib.freeYears / 2 - 1, 0, freeYears_->count() - 1));
    freeYearsFrame_->setVisible(ctx_.model.device.Bewft == 1);
    fillHolidays(0);
    fillSets(0);
    fillFiles();
}

// The holiday being edited: its name, its kind and its date or Easter offset.
QLayout *HolidayDialog::buildHolidayFields()
{
    const Catalogue &c = ctx_.model.catalogue;
    name_ = named(new QLineEdit(this), "txt_Feiertag");
    name_->setMaxLength(60);
    auto *kindBox = new QGroupBox(c(Msg::TypeOfHoliday), this);
    fixed_ = named(new QRadioButton(c(Msg::Fixed), this), "Opt_fest");
    free_ = named(new QRadioButton(c(Msg::Free), this), "Opt_frei");
    easter_ = named(new QRadioButton(c(Msg::RelToEastern), this), "Opt_Ostern");
    auto *kindRow = new QHBoxLayout(kindBox);
    for (QRadioButton *r : {fixed_, free_, easter_})
        kindRow->addWidget(r);

    weekday_ = named(new QComboBox(this), "Cbo_Wochentag");
    day_ = named(new QComboBox(this), "cbo_tagnummer");
    month_ = named(new QComboBox(this), "cbo_monat");
    easterCode_ = named(new QScrollBar(Qt::Horizontal, this), "HSb_oster_distanz");
    easterLabel_ = named(new QLabel(this), "lbl_oster_distanz");
    // Sunday down to Monday "before the", then Monday to Sunday "after the".
    for (int w = 7; w >= 1; --w)
        weekday_->addItem(c(Msg::Monday + w - 1) + QLatin1Char(' ') + c(Msg::BeforeThe));
    for (int w = 1; w <= 7; ++w)
        weekday_->addItem(c(Msg::Monday + w - 1) + QLatin1Char(' ') + c(Msg::AfterThe));
    for (int m = 0; m < 12; ++m)
        month_->addItem(c(Msg::January + m));
    easterCode_->setRange(EasterCodeMin, EasterCodeMax);
    easterCode_->setPageStep(7);
    // The offset text changes length with every step: room for the longest keeps the control
    // from shrinking and growing under the pointer.
    int widest = 0;
    for (int code = EasterCodeMin; code <= EasterCodeMax; ++code)
        widest = std::max(widest, easterLabel_->fontMetrics().horizontalAdvance(
                                      EasterOffsetText(ctx_.model, code - EasterCodeBase)));
    easterLabel_->setMinimumWidth(widest + 4);
    easterCode_->setMinimumWidth(160);
    auto *dateRow = new QHBoxLayout;
    dateRow->addWidget(weekday_);
    dateRow->addWidget(day_);
    dateRow->addWidget(month_);
    dateRow->addWidget(easterCode_, 1);
    dateRow->addWidget(easterLabel_);

    auto *left = new QVBoxLayout;
    left->addWidget(new QLabel(c(Msg::NameOfTheHoliday)));
    left->addWidget(name_);
    left->addWidget(kindBox);
    left->addLayout(dateRow);
    left->addStretch();
    return left;
}

// The holidays of the library, with the chosen one's description.
QLayout *HolidayDialog::buildHolidayList()
{
    const Catalogue &c = ctx_.model.catalogue;
    holidays_ = named(new QListWidget(this), "lst_Feiertage");
    description_ = named(new QLabel(this), "lbl_Feiertage");
    rename_ = named(new QPushButton(extraText(ExtraText::RenameHoliday, ctx_.model.device.Sprache), this),
                    "cmd_ren_Feiertage");
    delete_ = named(new QPushButton(c(Msg::DeleteButton), this), "cmd_del_Feiertage");
    auto *middle = new QVBoxLayout;
    middle->addWidget(new QLabel(c(Msg::Holidays)));
    middle->addWidget(holidays_, 1);
    middle->addWidget(description_);
    auto *holidayButtons = new QHBoxLayout;
    holidayButtons->addWidget(rename_);
    holidayButtons->addWidget(delete_);
    middle->addLayout(holidayButtons);
    return middle;
}

// The holiday sets: the chosen set's members and the commands on sets.
QLayout *HolidayDialog::buildSetColumn()
{
    const Catalogue &c = ctx_.model.catalogue;
    sets_ = named(new QComboBox(this), "cbo_sets");
    members_ = named(new QListWidget(this), "lst_set_Feiertage");
    addSet_ = named(new QPushButton(c(Msg::AddSet), this), "cmd_add_set");
    deleteSet_ = named(new QPushButton(c(Msg::DeleteSet), this), "cmd_del_set");
    renameSet_ = named(new QPushButton(extraText(ExtraText::RenameSet, ctx_.model.device.Sprache), this),
                       "cmd_ren_set");
    auto *right = new QVBoxLayout;
    right->addWidget(new QLabel(c(Msg::SetOfHolidays)));
    right->addWidget(sets_);
    right->addWidget(members_, 1);
    auto *setButtons = new QHBoxLayout;
    setButtons->addWidget(addSet_);
    setButtons->addWidget(deleteSet_);
    setButtons->addWidget(renameSet_);
    right->addLayout(setButtons);
    return right;
}

// Buttons between two columns, centred.
QLayout *HolidayDialog::buttonColumn(std::initializer_list<QPushButton *> buttons)
{
    auto *column = new QVBoxLayout;
    column->addStretch();
    for (QPushButton *b : buttons)
        column->addWidget(b);
    column->addStretch();
    return column;
}

// How many years free holidays are kept for (devices with that option), and Exit.
QLayout *HolidayDialog::buildBottomRow()
{
    const Catalogue &c = ctx_.model.catalogue;
    freeYearsFrame_ = named(new QGroupBox(c(Msg::YearsForFreeHolidays), this), "fra_wieviel_freie_Ft");
    freeYears_ = named(new QComboBox(freeYearsFrame_), "cbo_wieviel_freie_Ft");
    for (int y = MinFreeHolidayYears; y <= MaxFreeHolidayYears; y += 2)
        freeYears_->addItem(QString::number(y) + QLatin1Char(' ') + c(Msg::Years));
    auto *freeRow = new QHBoxLayout(freeYearsFrame_);
    freeRow->addWidget(freeYears_);
    // The library may be another country's file whatever the interface language.
    file_ = named(new QComboBox(this), "cbo_Ft_datei");
    auto *fileLabel = new QLabel(extraText(ExtraText::HolidayFile, ctx_.model.device.Sprache), this);
    fileLabel->setBuddy(file_);
    exit_ = named(new QPushButton(c(Msg::BtnExit), this), "cmd_ft_end");
    auto *bottom = new QHBoxLayout;
    bottom->addWidget(freeYearsFrame_);
    bottom->addWidget(fileLabel);
    bottom->addWidget(file_);
    bottom->addStretch();
    bottom->addWidget(exit_);
    return bottom;
}

void HolidayDialog::connectControls()
{
    connect(add_, &QPushButton::clicked, this, &HolidayDialog::addHoliday);
    connect(rename_, &QPushButton::clicked, this, &HolidayDialog::renameHoliday);
    connect(delete_, &QPushButton::clicked, this, &HolidayDialog::deleteHoliday);
    connect(file_, &QComboBox::activated, this, &HolidayDialog::chooseFile);
    connect(addSet_, &QPushButton::clicked, this, &HolidayDialog::addSet);
    connect(deleteSet_, &QPushButton::clicked, this, &HolidayDialog::deleteSet);
    connect(renameSet_, &QPushButton::clicked, this, &HolidayDialog::renameSet);
    connect(addToSet_, &QPushButton::clicked, this, &HolidayDialog::addToSet);
    connect(removeFromSet_, &QPushButton::clicked, this, &HolidayDialog::removeFromSet);
    connect(exit_, &QPushButton::clicked, this, &HolidayDialog::leave);
    connect(holidays_, &QListWidget::currentRowChanged, this, &HolidayDialog::showHoliday);
    connect(sets_, &QComboBox::currentIndexChanged, this, &HolidayDialog::fillMembers);
    for (QRadioButton *r : {fixed_, free_, easter_})
        connect(r, &QRadioButton::toggled, this, [this](bool on) {
            if (on)
                kindChosen();
        });
    connect(month_, &QComboBox::currentIndexChanged, this, &HolidayDialog::monthChosen);
    connect(easterCode_, &QScrollBar::valueChanged, this, &HolidayDialog::refreshEasterLabel);
    connect(freeYears_, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (index >= 0)
            ctx_.model.holidays.freeYears = (index + 1) * 2;
    });
}

void HolidayDialog::fillHolidays(int select)
{
    const HolidayLibrary &lib = ctx_.model.holidays;
    holidays_->clear();
    // Wide enough for the longest name, in any language; never narrower than a short name needs.
    int widest = holidays_->fontMetrics().averageCharWidth() * 18;
    for (const Holiday &h : lib.holidays) {
        holidays_->addItem(h.name);
        widest = std::max(widest, holidays_->fontMetrics().horizontalAdvance(h.name));
    }
    const int chrome = 2 * holidays_->frameWidth() + holidays_->verticalScrollBar()->sizeHint().width() + 12;
    holidays_->setMinimumWidth(widest + chrome);
    members_->setMinimumWidth(widest + chrome);
    if (!lib.holidays.empty())
        holidays_->setCurrentRow(std::clamp(select, 0, holidays_->count() - 1));
    else
        description_->clear();
    refreshButtons();
}

void HolidayDialog::fillSets(int select)
{
    const HolidayLibrary &lib = ctx_.model.holidays;
    const QSignalBlocker block(sets_);
    sets_->clear();
    for (const HolidaySet &s : lib.sets)
        sets_->addItem(s.name);
    if (!lib.sets.empty())
        sets_->setCurrentIndex(std::clamp(select, 0, sets_->count() - 1));
    fillMembers();
}

void HolidayDialog::fillMembers()
{
    const HolidayLibrary &lib = ctx_.model.holidays;
    members_->clear();
    const int s = sets_->currentIndex();
    if (s >= 0 && s < static_cast<int>(lib.sets.size()))
        for (int m : lib.sets[s].members)
            members_->addItem(lib.holidays[m - 1].name);
    refreshButtons();
}

void HolidayDialog::refreshButtons()
{
    const HolidayLibrary &lib = ctx_.model.holidays;
    const bool anyHoliday = !lib.holidays.empty();
    const bool anySet = !lib.sets.empty();
    delete_->setEnabled(anyHoliday);
    rename_->setEnabled(anyHoliday);
    addSet_->setEnabled(anyHoliday && static_cast<int>(lib.sets.size()) < MaxHolidaySets);
    deleteSet_->setEnabled(anyHoliday && anySet);
    renameSet_->setEnabled(anySet);
    sets_->setEnabled(anySet);
    members_->setEnabled(anySet);
    addToSet_->setEnabled(anyHoliday && anySet);
    removeFromSet_->setEnabled(anySet);
}

void HolidayDialog::showHoliday(int index)
{
    const HolidayLibrary &lib = ctx_.model.holidays;
    if (index < 0 || index >= static_cast<int>(lib.holidays.size()))
        return;
    const Holiday &h = lib.holidays[index];
    description_->setText(Describe(ctx_.model, h));
    name_->setText(h.name);
    if (h.kind == HolidayEaster) {
        easter_->setChecked(true);
        easterCode_->setValue(h.easterCode());
        return;
    }
    (h.kind == HolidayFree ? free_ : fixed_)->setChecked(true);
    if (h.kind == HolidayFree)
        weekday_->setCurrentIndex(h.relation < 0 ? h.relation + 7 : h.relation + 6);
    month_->setCurrentIndex(h.month - 1);
    day_->setCurrentIndex(h.dayOrOffset - 1);
}

void HolidayDialog::kindChosen()
{
    const bool dated = !easter_->isChecked();
    day_->setVisible(dated);
    month_->setVisible(dated);
    weekday_->setVisible(free_->isChecked());
    easterCode_->setVisible(!dated);
    easterLabel_->setVisible(!dated);
    if (!dated) {
        easterCode_->setValue(EasterCodeBase);
        refreshEasterLabel();
    }
}

void HolidayDialog::monthChosen()
{
    // A common year's month lengths: February offers 1..28.
    const int previous = day_->currentIndex();
    const int days = DaysInMonth(month_->currentIndex() + 1, 2001);
    const QSignalBlocker block(day_);
    day_->clear();
    for (int d = 1; d <= days; ++d)
        day_->addItem(QString::number(d) + QLatin1Char('.'));
    day_->setCurrentIndex(previous < 0 ? 0 : std::min(previous, days - 1));
}

void HolidayDialog::refreshEasterLabel()
{
    easterLabel_->setText(EasterOffsetText(ctx_.model, easterCode_->value() - EasterCodeBase));
}

void HolidayDialog::addHoliday()
{
    Holiday h;
    h.name = CleanHolidayName(name_->text());
    if (h.name.isEmpty()) {
        ctx_.prompter.beep();
        return;
    }
    if (easter_->isChecked()) {
        h.kind = HolidayEaster;
        h.dayOrOffset = easterCode_->value() - EasterCodeBase;
        h.month = 0;
    } else {
        h.kind = free_->isChecked() ? HolidayFree : HolidayFixed;
        const int pos = weekday_->currentIndex();
        h.relation = h.kind == HolidayFree ? (pos < 7 ? pos - 7 : pos - 6) : 0;
        h.dayOrOffset = day_->currentIndex() + 1;
        h.month = month_->currentIndex() + 1;
    }
    if (AddOrChangeHoliday(ctx_.model.holidays, h) == HolidayChange::Refused) {
        ctx_.prompter.beep();
        return;
    }
    // The holiday added, or the one of that name whose date changed, is the chosen one.
    const auto &all = ctx_.model.holidays.holidays;
    const auto it = std::find_if(all.begin(), all.end(), [&h](const Holiday &x) { return x.name == h.name; });
    const int set = sets_->currentIndex();
    fillHolidays(static_cast<int>(it - all.begin()));
    fillSets(set);
}

void HolidayDialog::renameHoliday()
{
    const int index = holidays_->currentRow();
    HolidayLibrary &lib = ctx_.model.holidays;
    if (index < 0 || index >= static_cast<int>(lib.holidays.size()))
        return;
    const QString old = lib.holidays[index].name;
    const std::optional<QString> typed =
        ctx_.prompter.askText(ctx_.model.catalogue(Msg::NameOfTheHoliday), old);
    if (!typed || CleanHolidayName(*typed) == old)
        return;
    const QString name = CleanHolidayName(*typed);
    HolidayLibrary renamed = lib;
    if (!RenameHoliday(renamed, index, name)) { // empty, or another holiday's name
        ctx_.prompter.beep();
        return;
    }
    const QString question =
        extraText(ExtraText::RenameHolidayQuestion, ctx_.model.device.Sprache).arg(old, name);
    if (ctx_.prompter.ask(question, Buttons::OkCancel) != Answer::Ok)
        return;
    lib = std::move(renamed);
    const int set = sets_->currentIndex();
    fillHolidays(index);
    fillSets(set);
}

void HolidayDialog::deleteHoliday()
{
    const int index = holidays_->currentRow();
    if (index < 0 || index >= static_cast<int>(ctx_.model.holidays.holidays.size()))
        return;
    // The question names the holiday: the list's choice is easily not the one meant.
    const QString question = ctx_.model.catalogue(Msg::ReallyDelete) + QStringLiteral("\n\n") +
                             ctx_.model.holidays.holidays[index].name;
    if (ctx_.prompter.ask(question, Buttons::OkCancel) != Answer::Ok)
        return;
    DeleteHoliday(ctx_.model.holidays, index);
    const int set = sets_->currentIndex();
    fillHolidays(index);
    fillSets(set);
}

void HolidayDialog::fillFiles()
{
    const QSignalBlocker block(file_);
    file_->clear();
    file_->addItems(HolidayFileNames(ctx_.model, ctx_.workDir));
    file_->setCurrentText(QFileInfo(HolidayFilePath(ctx_.model, ctx_.workDir)).fileName());
}

void HolidayDialog::chooseFile(int index)
{
    const QString name = file_->itemText(index);
    const QString current = QFileInfo(HolidayFilePath(ctx_.model, ctx_.workDir)).fileName();
    if (name == current)
        return;
    // The present library's changes go into its own file first.
    if (!saveOrDiscard()) {
        fillFiles();
        return;
    }
    const HolidayFileResult read = SwitchHolidayFile(ctx_.model, ctx_.workDir, name);
    if (!read.ok()) {
        ctx_.prompter.tell(read.error, Icon::Critical);
        fillFiles();
        return;
    }
    atOpen_ = ctx_.model.holidays;
    fillHolidays(0);
    fillSets(0);
    fillFiles();
}

void HolidayDialog::addSet()
{
    const std::optional<QString> name = ctx_.prompter.askText(ctx_.model.catalogue(Msg::NameOfTheSet));
    if (!name || !AddHolidaySet(ctx_.model.holidays, *name))
        return;
    fillSets(static_cast<int>(ctx_.model.holidays.sets.size()) - 1);
}

void HolidayDialog::renameSet()
{
    const int set = sets_->currentIndex();
    if (set < 0)
        return;
    const std::optional<QString> name =
        ctx_.prompter.askText(ctx_.model.catalogue(Msg::NameOfTheSet), ctx_.model.holidays.sets[set].name);
    if (!name)
        return;
    if (!RenameHolidaySet(ctx_.model.holidays, set, *name)) {
        ctx_.prompter.beep();
        return;
    }
    fillSets(set);
}

void HolidayDialog::deleteSet()
{
    const int set = sets_->currentIndex();
    if (set < 0)
        return;
    DeleteHolidaySet(ctx_.model.holidays, set);
    fillSets(set);
}

void HolidayDialog::addToSet()
{
    if (AddToHolidaySet(ctx_.model.holidays, sets_->currentIndex(), holidays_->currentRow()))
        fillMembers();
    else
        ctx_.prompter.beep();
}

void HolidayDialog::removeFromSet()
{
    RemoveFromHolidaySet(ctx_.model.holidays, sets_->currentIndex(), members_->currentRow());
    fillMembers();
}

bool HolidayDialog::save(QString *error)
{
    // Unchanged, nothing is written: a file that could not be read is never replaced by the empty
    // library that stood in for it.
    if (ctx_.model.holidays == atOpen_)
        return true;
    switch (SaveHolidaysOverDamaged(ctx_.model, ctx_.prompter, HolidayFilePath(ctx_.model, ctx_.workDir),
                                    ctx_.model.holidays, error)) {
    case HolidaySave::Failed:
    case HolidaySave::Declined: // asked again at the next write
        return false;
    case HolidaySave::Saved:
        break;
    }
    atOpen_ = ctx_.model.holidays;
    return true;
}

bool HolidayDialog::saveOrDiscard()
{
    const QString path = QDir::toNativeSeparators(HolidayFilePath(ctx_.model, ctx_.workDir));
    for (;;) {
        QString error;
        if (save(&error))
            return true;
        const QString question =
            extraText(ExtraText::HolidaysNotSaved, ctx_.model.device.Sprache).arg(path, error);
        switch (ctx_.prompter.ask(question, Buttons::YesNoCancel, Icon::Warning)) {
        case Answer::Yes:
            continue;
        case Answer::No:
            // The user chose to give the changes up: the library is the file's again.
            ctx_.model.holidays = atOpen_;
            return true;
        default:
            return false;
        }
    }
}

void HolidayDialog::leave()
{
    if (saveOrDiscard())
        accept();
}

void HolidayDialog::reject()
{
    if (saveOrDiscard())
        QDialog::reject();
}

} // namespace zx
