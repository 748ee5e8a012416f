#include "calendar/ChangeoverDialog.h"

#include "app/AppContext.h"
#include "entry/EntryControls.h"
#include "model/Model.h"
#include "platform/Clock.h"
#include "platform/Prompter.h"
#include "views/ListFormatter.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFontMetrics>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLayout>
#include <QPushButton>
#include <QScrollBar>
#include <QStyle>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>

namespace zx {

namespace {

constexpr int EditEnter = 0;
constexpr int EditChange = 1;
constexpr int EditCopy = 2;
// The start year the table header can hold (six bits above 1996); later entries belong to later
// years, up to the calendar's last.
constexpr int FirstDialogYear = DstYearBase;
constexpr int LastDialogYear = DstLastStartYear;

QComboBox *makeList(QWidget *parent, const char *name)
{
    auto *box = new QComboBox(parent);
    box->setObjectName(QLatin1String(name));
    return box;
}

} // namespace

ChangeoverDialog::ChangeoverDialog(AppContext &ctx, QWidget *parent) : QDialog(parent), ctx_(ctx)
{
    setObjectName(QStringLiteral("frmEinSW"));
    const Catalogue &c = ctx_.model.catalogue;

    fromHour_ = makeList(this, "Listvonstd");
    fromShift_ = makeList(this, "LstvonUmStd");
    fromDay_ = makeList(this, "listvontag");
    fromMonth_ = makeList(this, "Lstvonmon");
    toHour_ = makeList(this, "ListbisStd");
    toShift_ = makeList(this, "LstbisUmStd");
    toDay_ = makeList(this, "listbistag");
    toMonth_ = makeList(this, "LstbisMon");
    perYear_ = makeList(this, "cboprojahr");
    for (int h = 0; h <= DstMaxHour; ++h)
        for (QComboBox *b : {fromHour_, toHour_})
            b->addItem(QStringLiteral("%1").arg(h, 2));
    for (int s = 0; s <= DstMaxShift; ++s)
        for (QComboBox *b : {fromShift_, toShift_})
            b->addItem(s == 1 ? c(Msg::N1Hour) : QString::number(s) + QLatin1Char(' ') + c(Msg::HoursLabel));
    for (int d = 1; d <= 31; ++d)
        for (QComboBox *b : {fromDay_, toDay_})
            b->addItem(QStringLiteral("%1.").arg(d, 2));
    for (int m = 0; m < 12; ++m)
        for (QComboBox *b : {fromMonth_, toMonth_})
            b->addItem(c(Msg::January + m));
    perYear_->addItems({c(Msg::OnceTheYear), c(Msg::TwiceTheYear)});

    year_ = new QScrollBar(Qt::Vertical, this);
    year_->setObjectName(QStringLiteral("vsbSWJahr"));
    // Up on the bar is the later year, as on the device's year field. A scroll bar's up arrow,
    // Up key and the room above the handle all lower its value, and inverting only its
    // appearance leaves them lowering it: the bar holds the year negated instead.
    setLastYear(CalendarLastYear);
    yearLabel_ = new QLabel(this);
    yearLabel_->setObjectName(QStringLiteral("LblJahr"));
    okImage_ = new QLabel(this);
    okImage_->setObjectName(QStringLiteral("imgswok"));
    okImage_->setPixmap(style()->standardIcon(QStyle::SP_DialogApplyButton).pixmap(24, 24));
    okImage_->hide();
    timer1_ = new QTimer(this);
    timer1_->setObjectName(QStringLiteral("Timer1"));
    timer1_->setInterval(400);
    connect(timer1_, &QTimer::timeout, this, [this] {
        okImage_->hide();
        timer1_->stop();
    });

    auto *grid = new QGridLayout;
    grid->addWidget(new QLabel(c(Msg::Day)), 0, 1);
    grid->addWidget(new QLabel(c(Msg::Month)), 0, 2);
    grid->addWidget(new QLabel(c(Msg::Time)), 0, 3);
    grid->addWidget(new QLabel(c(Msg::PresetAt)), 1, 0);
    grid->addWidget(fromDay_, 1, 1);
    grid->addWidget(fromMonth_, 1, 2);
    grid->addWidget(fromHour_, 1, 3);
    grid->addWidget(fromShift_, 1, 4);
    grid->addWidget(new QLabel(c(Msg::ResetAt)), 2, 0);
    grid->addWidget(toDay_, 2, 1);
    grid->addWidget(toMonth_, 2, 2);
    grid->addWidget(toHour_, 2, 3);
    grid->addWidget(toShift_, 2, 4);
    auto *yearBox = new QHBoxLayout;
    yearBox->addWidget(new QLabel(c(Msg::Year)));
    yearBox->addWidget(yearLabel_);
    yearBox->addWidget(year_);
    yearBox->addWidget(perYear_);
    yearBox->addWidget(okImage_);
    yearBox->addStretch();

    assistant_ = new QGroupBox(c(Msg::EditAssistantTitle), this);
    assistant_->setObjectName(QStringLiteral("frmautopil"));
    assistantActive_ = new QCheckBox(c(Msg::ActiveAfterInput), assistant_);
    assistantActive_->setObjectName(QStringLiteral("chkautopil"));
    assistantNew_ = new QPushButton(c(Msg::NewButton), assistant_);
    assistantNew_->setObjectName(QStringLiteral("cmdautoneu"));
    auto *assistantRow = new QHBoxLayout(assistant_);
    assistantRow->addWidget(assistantActive_);
    assistantRow->addWidget(assistantNew_);

    ok_ = new QPushButton(c(Msg::Ok), this);
    ok_->setObjectName(QStringLiteral("cmdswok"));
    exit_ = new QPushButton(c(Msg::BtnExit), this);
    exit_->setObjectName(QStringLiteral("cmdSwEnd"));
    all_ = new QPushButton(c(Msg::AllButton), this);
    all_->setObjectName(QStringLiteral("cmdSwAlle"));
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(assistant_);
    buttons->addStretch();
    buttons->addWidget(all_);
    buttons->addWidget(ok_);
    buttons->addWidget(exit_);
    ok_->setDefault(true);

    auto *root = new QVBoxLayout(this);
    root->addLayout(grid);
    root->addLayout(yearBox);
    root->addLayout(buttons);

    // Tab reads the rows as they stand: set forward, set back, the year, then the buttons.
    SetTabChain({fromDay_, fromMonth_, fromHour_, fromShift_, toDay_, toMonth_, toHour_, toShift_, year_,
                 perYear_, assistantActive_, assistantNew_, all_, ok_, exit_});

    connect(ok_, &QPushButton::clicked, this, &ChangeoverDialog::storeEntry);
    connect(all_, &QPushButton::clicked, this, &ChangeoverDialog::storeAll);
    connect(exit_, &QPushButton::clicked, this, &ChangeoverDialog::finish);
    connect(assistantNew_, &QPushButton::clicked, this, &ChangeoverDialog::automationRequested);
    connect(assistantActive_, &QCheckBox::toggled, this, [this](bool on) {
        ctx_.model.automation.DstAutomationActive = on ? 1 : 0;
        all_->setVisible(on && mode_ == EditEnter);
        applyAutomation();
    });
    connect(year_, &QScrollBar::valueChanged, this, [this] {
        refreshYear();
        applyAutomation();
        limitDays();
    });
    for (QComboBox *month : {fromMonth_, toMonth_})
        connect(month, &QComboBox::currentIndexChanged, this, [this] {
            applyAutomation();
            limitDays();
        });
    connect(perYear_, &QComboBox::currentIndexChanged, this, [this](int index) {
        // Two pairs a year have no common weekday rule: the assistant steps aside.
        if (index == TwiceAYear) {
            assistantActive_->setChecked(false);
            assistant_->hide();
        } else {
            assistant_->setVisible(mode_ == EditEnter);
        }
    });
}

void ChangeoverDialog::openInMode()
{
    Model &model = ctx_.model;
    const Catalogue &c = model.catalogue;
    mode_ = model.EditMode;
    const int source = mode_ == EditCopy ? SetTemplate : SetProgram;
    // Every marked row must name an entry of the table the run reads, or the run never starts.
    run_ =
        MarkedRun::fromMarks(model.Marked, model.FirstMarked, model.LastMarked, model.set(source).DstCount);
    if ((mode_ != EditChange && mode_ != EditCopy) || run_.empty())
        mode_ = EditEnter;
    model.EditMode = mode_;
    setWindowTitle(c(mode_ == EditChange ? Msg::ChangeTheChangeoverTable
                     : mode_ == EditCopy ? Msg::CopyTheChangeoverTable
                                         : Msg::EnterTheChangeoverTable));
    // The title bar shows the whole title ("Saisir le tableau des changements d'heure"): room for
    // it in the title font, and for the icon and the window buttons beside it.
    QFont titleFont = QApplication::font("QMdiSubWindowTitleBar");
    titleFont.setBold(true);
    setMinimumWidth(std::max(layout() ? layout()->minimumSize().width() : 0,
                             QFontMetrics(titleFont).horizontalAdvance(windowTitle()) + 160));

    showEntry({{31, 3, 2, 1}, {31, 10, 3, 1}});
    const ProgramSet &p = model.program();
    setLastYear(p.DstCount == 0 ? LastDialogYear : CalendarLastYear);
    if (p.DstCount == 0) {
        const int thisYear = ctx_.clock.today().year();
        setYear(thisYear >= FirstDialogYear && thisYear <= LastDialogYear ? thisYear : FirstDialogYear);
        year_->show();
        perYear_->setEnabled(true);
        perYear_->setCurrentIndex(OnceAYear);
    } else {
        setYear(YearOfEntry(p.DstCount, p));
        year_->hide();
        perYear_->setCurrentIndex(DstPerYearCode(p));
        perYear_->setEnabled(false);
    }
    refreshYear();
    assistant_->setVisible(mode_ == EditEnter && perYear_->currentIndex() == OnceAYear);
    assistantActive_->setChecked(mode_ == EditEnter && model.automation.DstAutomationActive != 0 &&
                                 perYear_->currentIndex() == OnceAYear);
    all_->setVisible(mode_ == EditEnter && assistantActive_->isChecked());
    if (mode_ != EditEnter)
        loadMarked();
    else
        applyAutomation();

    show();
    raise();
    activateWindow();
    if (mode_ != EditChange && p.DstCount >= DstEntries) {
        ctx_.prompter.tell(c(Msg::NoMoreMemorySpace), Icon::Critical);
        finish();
    }
}

ChangeoverEntry ChangeoverDialog::entryFromLists() const
{
    return {{fromDay_->currentIndex() + 1, fromMonth_->currentIndex() + 1, fromHour_->currentIndex(),
             fromShift_->currentIndex()},
            {toDay_->currentIndex() + 1, toMonth_->currentIndex() + 1, toHour_->currentIndex(),
             toShift_->currentIndex()}};
}

void ChangeoverDialog::showEntry(const ChangeoverEntry &e)
{
    auto set = [](QComboBox *box, int index) {
        box->setCurrentIndex(std::clamp(index, 0, box->count() - 1));
    };
    set(fromMonth_, e.advance.month - 1);
    set(fromDay_, e.advance.day - 1);
    set(fromHour_, e.advance.hour);
    set(fromShift_, e.advance.shift);
    set(toMonth_, e.setBack.month - 1);
    set(toDay_, e.setBack.day - 1);
    set(toHour_, e.setBack.hour);
    set(toShift_, e.setBack.shift);
}

int ChangeoverDialog::year() const
{
    return -year_->value();
}

void ChangeoverDialog::setYear(int year)
{
    year_->setValue(-year);
}

void ChangeoverDialog::setLastYear(int last)
{
    year_->setRange(-last, -FirstDialogYear);
}

void ChangeoverDialog::limitDays()
{
    const int year = this->year();
    for (auto [day, month] : {std::pair{fromDay_, fromMonth_}, std::pair{toDay_, toMonth_}}) {
        const int limited = LimitChangeoverDay(day->currentIndex() + 1, month->currentIndex() + 1, year);
        day->setCurrentIndex(limited - 1);
    }
}

void ChangeoverDialog::refreshYear()
{
    yearLabel_->setText(QString::number(year()));
}

void ChangeoverDialog::applyAutomation()
{
    if (!assistantActive_->isChecked())
        return;
    const AutomationSettings &a = ctx_.model.automation;
    const int year = this->year();
    fromDay_->setCurrentIndex(
        NthWeekdayOfMonth(a.DstFromRule, a.DstFromWeekday, fromMonth_->currentIndex(), year) - 1);
    toDay_->setCurrentIndex(NthWeekdayOfMonth(a.DstToRule, a.DstToWeekday, toMonth_->currentIndex(), year) -
                            1);
}

void ChangeoverDialog::loadMarked()
{
    const Model &model = ctx_.model;
    const ProgramSet &source = model.set(mode_ == EditCopy ? SetTemplate : SetProgram);
    const int index = run_.current();
    showEntry(DecodeChangeoverEntry(source.DstTable[index]));
    if (mode_ == EditChange)
        setYear(YearOfEntry(index, source));
}

bool ChangeoverDialog::storeEntry()
{
    Model &model = ctx_.model;
    const Catalogue &c = model.catalogue;
    ProgramSet &p = model.program();
    const ChangeoverEntry entry = entryFromLists();
    const int perYearCode = p.DstCount > 0 ? DstPerYearCode(p) : perYear_->currentIndex();
    const int index = mode_ == EditChange ? run_.current() : p.DstCount;
    const DstCheckResult check = CheckChangeoverEntry(p, index, entry, perYearCode);
    if (check.check == DstCheck::Identical) {
        ctx_.prompter.tell(c(Msg::StartAndEndAreIdentical), Icon::Critical);
        return false;
    }
    if (check.check == DstCheck::SameDate) {
        ctx_.prompter.tell(c(Msg::SameDateAlradyExistIn) + QString::number(check.otherNumber),
                           Icon::Critical);
        return false;
    }

    bool close = false;
    if (mode_ == EditChange) {
        p.DstTable[index] = EncodeChangeoverEntry(entry);
        model.Modified = 1;
        if (run_.advance())
            loadMarked();
        else
            close = true;
    } else {
        if (!AppendChangeoverEntry(p, entry, year(), perYearCode)) {
            ctx_.prompter.tell(c(Msg::NoMoreMemorySpace), Icon::Critical);
            finish();
            return false;
        }
        okImage_->show();
        timer1_->start();
        model.Modified = 1;
        setLastYear(CalendarLastYear);
        if (p.DstCount % DstEntriesPerYear(p) == 0)
            setYear(year() + 1);
        year_->hide();
        perYear_->setEnabled(false);
        if (mode_ == EditCopy) {
            if (run_.advance())
                loadMarked();
            else
                close = true;
        }
        if (p.DstCount >= DstEntries) {
            if (!inAllRun_)
                ctx_.prompter.tell(c(Msg::NoMoreMemorySpace), Icon::Critical);
            close = true;
        }
    }
    model.ListView = ListChangeover;
    model.CurrentSet = SetProgram;
    Q_EMIT listChanged();
    if (close)
        finish();
    return true;
}

void ChangeoverDialog::storeAll()
{
    inAllRun_ = true;
    while (isVisible() && ctx_.model.program().DstCount < DstEntries) {
        applyAutomation();
        if (!storeEntry())
            break;
    }
    inAllRun_ = false;
}

void ChangeoverDialog::finish()
{
    ctx_.model.EditMode = EditEnter;
    timer1_->stop();
    done(QDialog::Accepted);
}

void ChangeoverDialog::closeEvent(QCloseEvent *event)
{
    ctx_.model.EditMode = EditEnter;
    QDialog::closeEvent(event);
}

} // namespace zx
