#include "entry/FilterDialog.h"

#include "app/AppContext.h"
#include "views/RowFilter.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace zx {

namespace {

const char *const WeekdayNames[] = {"chkMo", "chkDi", "chkMi", "chkDo", "chkFr", "chkSa", "chkSo"};

// The boxes' "all" ticks or clears every box of its group.
void connectAll(QCheckBox *all, const auto &boxes)
{
    QObject::connect(all, &QCheckBox::clicked, all, [boxes](bool on) {
        for (QCheckBox *b : boxes)
            b->setChecked(on);
    });
}

} // namespace

FilterDialog::FilterDialog(AppContext &ctx, QWidget *parent) : QDialog(parent), ctx_(ctx)
{
    setObjectName(QStringLiteral("frmfilter"));
    bus_ = ctx_.model.device.BusDevice != 0 ? 1 : 0;
    build();
    showFilter(ctx_.model.filter);
}

void FilterDialog::build()
{
    const Catalogue &c = ctx_.model.catalogue;
    setWindowTitle(c(Msg::FilterForSwitchingProgram));
    auto *root = new QVBoxLayout(this);

    // Channels: the same eight boxes on both kinds of device; a conventional device offers
    // its own channels only.
    auto *channelBox = new QGroupBox(c(Msg::ChannelsHeading), this);
    auto *cl = new QGridLayout(channelBox);
    const int shown = bus_ ? 8 : qBound(1, ctx_.model.device.Kanalzahl, 8);
    for (int i = 0; i < 8; ++i) {
        auto *box = new QCheckBox(c(Msg::Channel1 + i), channelBox);
        box->setObjectName(i < 4 ? QStringLiteral("chkKan%1").arg(i + 1)
                                 : QStringLiteral("chkkan%1").arg(i + 1));
        box->setVisible(i < shown);
        cl->addWidget(box, i % 4, i / 4);
        channels_[i] = box;
    }
    allChannels_ = new QCheckBox(c(Msg::AllFilter147), channelBox);
    allChannels_->setObjectName(QStringLiteral("chkallKan"));
    cl->addWidget(allChannels_, 4, 0);
    connectAll(allChannels_, channels_);

    auto *dayBox = new QGroupBox(c(Msg::DaysOfTheWeek), this);
    auto *dl = new QGridLayout(dayBox);
    for (int i = 0; i < 7; ++i) {
        auto *box = new QCheckBox(c(Msg::Monday + i), dayBox);
        box->setObjectName(QLatin1String(WeekdayNames[i]));
        dl->addWidget(box, i % 4, i / 4);
        weekdays_[i] = box;
    }
    allWeekdays_ = new QCheckBox(c(Msg::AllFilter147), dayBox);
    allWeekdays_->setObjectName(QStringLiteral("chkallwtag"));
    dl->addWidget(allWeekdays_, 3, 1);
    connectAll(allWeekdays_, weekdays_);

    auto *top = new QHBoxLayout;
    top->addWidget(channelBox);
    top->addWidget(dayBox);
    root->addLayout(top);

    auto *conditions = new QGridLayout;
    auto combo = [this](const char *name) {
        auto *box = new QComboBox(this);
        box->setObjectName(QLatin1String(name));
        return box;
    };
    auto label = [this](const QString &text, QWidget *buddy) {
        auto *l = new QLabel(text, this);
        l->setBuddy(buddy);
        return l;
    };

    fromMonth_ = combo("cbovonmon");
    toMonth_ = combo("cbobismon");
    fromMonth_->addItem(c(Msg::OnlyWeeklyProgram));
    for (int m = 0; m < 12; ++m)
        fromMonth_->addItem(c(Msg::January + m));
    connect(fromMonth_, &QComboBox::currentIndexChanged, this, &FilterDialog::fillToMonths);
    conditions->addWidget(label(c(Msg::Months), fromMonth_), 0, 0);
    conditions->addWidget(label(c(Msg::From), fromMonth_), 0, 1);
    conditions->addWidget(fromMonth_, 0, 2);
    conditions->addWidget(label(c(Msg::To), toMonth_), 0, 3);
    conditions->addWidget(toMonth_, 0, 4);

    fromProgram_ = combo("cbovonp");
    toProgram_ = combo("cbobisp");
    const int programs = views::FilterProgramCount(bus_);
    fromProgram_->addItem(c(Msg::None));
    for (int p = 1; p < programs - 1; ++p)
        fromProgram_->addItem(c(Msg::Priority1 + p - 1));
    fromProgram_->addItem(c(Msg::Permanent));
    connect(fromProgram_, &QComboBox::currentIndexChanged, this, &FilterDialog::fillToPrograms);
    conditions->addWidget(label(c(Msg::Priority), fromProgram_), 1, 0);
    conditions->addWidget(label(c(Msg::From), fromProgram_), 1, 1);
    conditions->addWidget(fromProgram_, 1, 2);
    conditions->addWidget(label(c(Msg::To), toProgram_), 1, 3);
    conditions->addWidget(toProgram_, 1, 4);

    pulses_ = combo("cboimp");
    pulses_->addItems({c(Msg::NoPulses), c(Msg::OnlyPulses), c(Msg::AllFilter148)});
    conditions->addWidget(label(c(Msg::Pulses), pulses_), 2, 0);
    conditions->addWidget(pulses_, 2, 2);

    state_ = combo("cboonoff");
    if (bus_)
        state_->addItems({c(Msg::Equal), c(Msg::UpTo), c(Msg::FromValue)});
    else
        state_->addItems({c(Msg::Off), c(Msg::On), c(Msg::ONOrOFF)});
    conditions->addWidget(label(c(Msg::SwitchingState), state_), 3, 0);
    conditions->addWidget(state_, 3, 2);

    value_ = new QScrollBar(Qt::Horizontal, this);
    value_->setObjectName(QStringLiteral("hsbwert"));
    value_->setRange(0, 255);
    value_->setMinimumWidth(160);
    valueLabel_ = new QLabel(this);
    valueLabel_->setObjectName(QStringLiteral("lblwert"));
    valueLabel_->setMinimumWidth(valueLabel_->fontMetrics().horizontalAdvance(QStringLiteral("0000")));
    connect(value_, &QScrollBar::valueChanged, valueLabel_,
            [this](int v) { valueLabel_->setText(QString::number(v)); });
    conditions->addWidget(value_, 3, 3);
    conditions->addWidget(valueLabel_, 3, 4);
    value_->setVisible(bus_ != 0);
    valueLabel_->setVisible(bus_ != 0);
    root->addLayout(conditions);

    auto *buttons = new QDialogButtonBox(this);
    auto *ok = buttons->addButton(c(Msg::Ok), QDialogButtonBox::AcceptRole);
    ok->setObjectName(QStringLiteral("cmdFilterok"));
    ok->setDefault(true);
    auto *cancel = buttons->addButton(c(Msg::Cancel), QDialogButtonBox::RejectRole);
    cancel->setObjectName(QStringLiteral("cmdFilterend"));
    connect(ok, &QPushButton::clicked, this, &FilterDialog::confirm);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    root->addWidget(buttons);
}

void FilterDialog::fillToMonths(int fromIndex)
{
    toMonth_->clear();
    for (int i = qMax(0, fromIndex); i < fromMonth_->count(); ++i)
        toMonth_->addItem(fromMonth_->itemText(i));
    toMonth_->setCurrentIndex(0);
}

void FilterDialog::fillToPrograms(int fromIndex)
{
    toProgram_->clear();
    for (int i = qMax(0, fromIndex); i < fromProgram_->count(); ++i)
        toProgram_->addItem(fromProgram_->itemText(i));
    toProgram_->setCurrentIndex(0);
}

void FilterDialog::showFilter(const ListFilter &f)
{
    for (int i = 0; i < 8; ++i)
        channels_[i]->setChecked(f.FilterChannels & (1 << i));
    for (int i = 0; i < 7; ++i)
        weekdays_[i]->setChecked(f.FilterWeekdays & (1 << i));
    allWeekdays_->setChecked((f.FilterWeekdays & 127) == 127);
    allChannels_->setChecked((f.FilterChannels & 255) == 255);

    fromMonth_->setCurrentIndex(qBound(0, f.FilterFromMonth, 12));
    fillToMonths(fromMonth_->currentIndex());
    toMonth_->setCurrentIndex(qBound(0, f.FilterToMonth - fromMonth_->currentIndex(), toMonth_->count() - 1));

    // Program codes to box positions: a bus device's permanent codes (8, 10) sit after 7.
    const int last = views::FilterProgramCount(bus_) - 1;
    auto position = [last](int code) { return qBound(0, code, last); };
    fromProgram_->setCurrentIndex(position(f.FilterFromProgram));
    fillToPrograms(fromProgram_->currentIndex());
    toProgram_->setCurrentIndex(
        qBound(0, position(f.FilterToProgram) - fromProgram_->currentIndex(), toProgram_->count() - 1));

    pulses_->setCurrentIndex(qBound(0, f.FilterPulses, 2));
    state_->setCurrentIndex(qBound(0, f.FilterState, 2));
    value_->setValue(qBound(0, f.FilterValue, 255));
    valueLabel_->setText(QString::number(value_->value()));
}

ListFilter FilterDialog::shownFilter() const
{
    ListFilter f;
    f.FilterChannels = 0;
    for (int i = 0; i < 8; ++i) {
        if (channels_[i]->isChecked())
            f.FilterChannels |= 1 << i;
    }
    f.FilterWeekdays = 0;
    for (int i = 0; i < 7; ++i) {
        if (weekdays_[i]->isChecked())
            f.FilterWeekdays |= 1 << i;
    }
    f.FilterFromMonth = fromMonth_->currentIndex();
    f.FilterToMonth = f.FilterFromMonth + qMax(0, toMonth_->currentIndex());
    f.FilterFromProgram = fromProgram_->currentIndex();
    f.FilterToProgram =
        views::FilterToProgram(f.FilterFromProgram, qMax(0, toProgram_->currentIndex()), bus_);
    f.FilterPulses = pulses_->currentIndex();
    f.FilterState = state_->currentIndex();
    f.FilterValue = value_->value();
    return f;
}

void FilterDialog::confirm()
{
    ctx_.model.filter = shownFilter();
    ctx_.model.FilterOn = -1;
    accept();
    Q_EMIT filterChanged();
}

} // namespace zx
