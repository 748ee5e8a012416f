#include "entry/AstroTimeChangeDialog.h"

#include "app/AppContext.h"
#include "i18n/Msg.h"
#include "model/Model.h"
#include "platform/Mnemonics.h"
#include "platform/Prompter.h"

#include <QComboBox>
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
#include <QTimer>
#include <QVBoxLayout>

namespace zx {

namespace {

// Shift by starts at one hour, the shift between standard and summer time.
constexpr int InitialShiftHours = 1;
constexpr int InitialShiftMinutes = 0;

QListWidget *makeList(QWidget *parent, const char *name, int count, bool padHours)
{
    auto *list = new QListWidget(parent);
    list->setObjectName(QString::fromUtf8(name));
    for (int i = 0; i < count; ++i)
        list->addItem(padHours ? QStringLiteral("%1").arg(i, 2)
                               : QStringLiteral("%1").arg(i, 2, 10, QLatin1Char('0')));
    list->setFixedWidth(64);
    list->setMinimumHeight(150);
    return list;
}

} // namespace

AstroTimeChangeDialog::AstroTimeChangeDialog(AppContext &ctx, int value, ChangeOption option, QWidget *parent)
    : QDialog(parent), ctx_(ctx), value_(value), option_(option)
{
    const Catalogue &c = ctx_.model.catalogue;
    setObjectName(QStringLiteral("frm_change_grid_data"));
    setWindowTitle(c.text(Msg::BtnChange).trimmed());

    auto *root = new QVBoxLayout(this);
    auto *frame = new QGroupBox(this);
    frame->setObjectName(QStringLiteral("Fra_zeit_ändern"));
    auto *options = new QHBoxLayout(frame);
    optDel_ = new QRadioButton(c.text(Msg::DeleteButton).trimmed(), frame);
    optDel_->setObjectName(QStringLiteral("Opt_del"));
    optAendern_ = new QRadioButton(c.text(Msg::ChangeTo).trimmed(), frame);
    optAendern_->setObjectName(QStringLiteral("opt_Ändern"));
    optVerschieben_ = new QRadioButton(c.text(Msg::AddPrefix).trimmed(), frame);
    optVerschieben_->setObjectName(QStringLiteral("opt_verschieben"));
    options->addWidget(optDel_);
    options->addWidget(optAendern_);
    options->addWidget(optVerschieben_);
    root->addWidget(frame);

    auto *grid = new QGridLayout;
    lblHours_ = new QLabel(c.text(Msg::ColHours).trimmed(), this);
    lblHours_->setObjectName(QStringLiteral("LblÜsstd"));
    lblMinutes_ = new QLabel(c.text(Msg::ColMinutes).trimmed(), this);
    lblMinutes_->setObjectName(QStringLiteral("LblÜsMin"));
    // A shift goes forward (later) or back (earlier).
    direction_ = new QComboBox(this);
    direction_->setObjectName(QStringLiteral("cboRichtung"));
    direction_->addItems({QStringLiteral("+"), QStringLiteral("\u2212")});
    liststd_ = makeList(this, "liststd", MaxChangeHour + 1, true);
    listmin_ = makeList(this, "listmin", MaxChangeMinute + 1, false);
    txtAnzstd_ = new QLineEdit(this);
    txtAnzstd_->setObjectName(QStringLiteral("txtAnzstd"));
    txtAnzMin_ = new QLineEdit(this);
    txtAnzMin_->setObjectName(QStringLiteral("txtAnzMin"));
    for (QLineEdit *field : {txtAnzstd_, txtAnzMin_}) {
        field->setFixedWidth(64);
        field->setMaxLength(2);
        field->setContextMenuPolicy(Qt::NoContextMenu);
        field->installEventFilter(this);
    }
    lbldpp_ = new QLabel(c.text(Msg::TimeSeparator), this);
    lbldpp_->setObjectName(QStringLiteral("lbldpp"));
    lblAnzUhr_ = new QLabel(c.text(Msg::HoursWord), this);
    lblAnzUhr_->setObjectName(QStringLiteral("LblAnzUhr"));
    grid->addWidget(lblHours_, 0, 1);
    grid->addWidget(lblMinutes_, 0, 3);
    grid->addWidget(direction_, 1, 0, Qt::AlignTop);
    grid->addWidget(liststd_, 1, 1);
    grid->addWidget(listmin_, 1, 3);
    grid->addWidget(txtAnzstd_, 2, 1);
    grid->addWidget(lbldpp_, 2, 2);
    grid->addWidget(txtAnzMin_, 2, 3);
    grid->addWidget(lblAnzUhr_, 2, 4);
    lblHours_->setBuddy(liststd_);
    lblMinutes_->setBuddy(listmin_);
    root->addLayout(grid);

    auto *buttons = new QHBoxLayout;
    auto *ok = new QPushButton(c.text(Msg::Ok).trimmed(), this);
    ok->setObjectName(QStringLiteral("cmdSzOk"));
    ok->setDefault(true);
    auto *cancel = new QPushButton(c.text(Msg::Cancel).trimmed(), this);
    cancel->setObjectName(QStringLiteral("cmdSzEnd"));
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    root->addLayout(buttons);

    connect(optDel_, &QRadioButton::clicked, this, [this] { chooseOption(ChangeOption::Delete); });
    connect(optAendern_, &QRadioButton::clicked, this, [this] { chooseOption(ChangeOption::ChangeTo); });
    connect(optVerschieben_, &QRadioButton::clicked, this, [this] { chooseOption(ChangeOption::ShiftBy); });
    connect(liststd_, &QListWidget::currentRowChanged, this,
            [this](int row) { txtAnzstd_->setText(row >= 0 ? QString::number(row) : QString()); });
    connect(listmin_, &QListWidget::currentRowChanged, this, [this](int row) {
        txtAnzMin_->setText(row >= 0 ? QStringLiteral("%1").arg(row, 2, 10, QLatin1Char('0')) : QString());
    });
    connect(ok, &QPushButton::clicked, this, &AstroTimeChangeDialog::confirm);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    chooseOption(option_);
    AssignLabelMnemonics(this);
}

void AstroTimeChangeDialog::chooseOption(ChangeOption option)
{
    option_ = option;
    optDel_->setChecked(option == ChangeOption::Delete);
    optAendern_->setChecked(option == ChangeOption::ChangeTo);
    optVerschieben_->setChecked(option == ChangeOption::ShiftBy);
    const bool lists = option != ChangeOption::Delete;
    const bool typed = option == ChangeOption::ChangeTo;
    liststd_->setVisible(lists);
    listmin_->setVisible(lists);
    txtAnzstd_->setVisible(typed);
    txtAnzMin_->setVisible(typed);
    lbldpp_->setVisible(typed);
    lblAnzUhr_->setVisible(typed);
    lblHours_->setVisible(option == ChangeOption::ShiftBy);
    lblMinutes_->setVisible(option == ChangeOption::ShiftBy);
    direction_->setVisible(option == ChangeOption::ShiftBy);
    if (option == ChangeOption::ChangeTo) {
        if (value_ >= 0 && value_ < 1440)
            selectTime(value_ / 60, value_ % 60);
        else
            selectTime(12, 0);
    } else if (option == ChangeOption::ShiftBy) {
        direction_->setCurrentIndex(0);
        selectTime(InitialShiftHours, InitialShiftMinutes);
    }
}

void AstroTimeChangeDialog::selectTime(int hours, int minutes)
{
    liststd_->setCurrentRow(hours);
    listmin_->setCurrentRow(minutes);
    liststd_->scrollToItem(liststd_->currentItem(), QAbstractItemView::PositionAtCenter);
    listmin_->scrollToItem(listmin_->currentItem(), QAbstractItemView::PositionAtCenter);
}

std::optional<int> AstroTimeChangeDialog::typedValue(QLineEdit *field) const
{
    bool ok = false;
    const int v = field->text().toInt(&ok);
    const int max = field == txtAnzstd_ ? MaxChangeHour : MaxChangeMinute;
    if (!ok || v < 0 || v > max)
        return std::nullopt;
    return v;
}

// Leaving a typed field selects its value in the list; a value out of range beeps and keeps
// the focus there.
void AstroTimeChangeDialog::typedFieldLeft(QLineEdit *field)
{
    const std::optional<int> v = typedValue(field);
    if (!v) {
        ctx_.prompter.beep();
        QTimer::singleShot(0, field, [field] {
            field->setFocus(Qt::OtherFocusReason);
            field->selectAll();
        });
        return;
    }
    QListWidget *list = field == txtAnzstd_ ? liststd_ : listmin_;
    const QSignalBlocker block(list);
    list->setCurrentRow(*v);
    list->scrollToItem(list->currentItem());
}

bool AstroTimeChangeDialog::eventFilter(QObject *watched, QEvent *event)
{
    auto *field = qobject_cast<QLineEdit *>(watched);
    if (!field || (field != txtAnzstd_ && field != txtAnzMin_))
        return QDialog::eventFilter(watched, event);
    if (event->type() == QEvent::KeyPress) {
        // Digits, backspace, and the keys that move or leave; anything else beeps.
        auto *key = static_cast<QKeyEvent *>(event);
        const QString text = key->text();
        const bool digit = text.size() == 1 && text.at(0).isDigit() && text.at(0).unicode() < 128;
        const bool passes = digit || key->key() == Qt::Key_Backspace || text.isEmpty() ||
                            key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab ||
                            key->key() == Qt::Key_Escape || key->key() == Qt::Key_Return ||
                            key->key() == Qt::Key_Enter || key->key() == Qt::Key_Delete;
        if (!passes) {
            ctx_.prompter.beep();
            return true;
        }
    } else if (event->type() == QEvent::FocusOut) {
        const Qt::FocusReason reason = static_cast<QFocusEvent *>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason && isVisible() &&
            field->isVisible())
            typedFieldLeft(field);
    }
    return QDialog::eventFilter(watched, event);
}

void AstroTimeChangeDialog::confirm()
{
    int hours = liststd_->currentRow();
    int minutes = listmin_->currentRow();
    if (option_ == ChangeOption::ChangeTo) {
        for (QLineEdit *field : {txtAnzstd_, txtAnzMin_}) {
            if (!typedValue(field)) {
                ctx_.prompter.beep();
                field->setFocus(Qt::OtherFocusReason);
                field->selectAll();
                return;
            }
        }
        hours = *typedValue(txtAnzstd_);
        minutes = *typedValue(txtAnzMin_);
    }
    change_ = MakeTimeChange(option_, hours, minutes, direction_->currentIndex() == 1);
    accept();
}

} // namespace zx
