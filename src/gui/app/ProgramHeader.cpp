#include "app/ProgramHeader.h"

#include "app/AppContext.h"
#include "app/MainWindowIcons.h"
#include "app/MenuCaption.h"
#include "model/Model.h"
#include "model/ProgramNumber.h"
#include "platform/Prompter.h"
#include "views/ListFormatter.h"

#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QResizeEvent>
#include <QToolButton>

#include <algorithm>
#include <initializer_list>

namespace zx {

ProgramHeader::ProgramHeader(AppContext &context, QWidget *parent) : QFrame(parent), ctx_(context)
{
    setObjectName(QStringLiteral("fraKopf"));
    setFrameShape(QFrame::StyledPanel);
    const Catalogue &c = ctx_.model.catalogue;
    auto *grid = new QGridLayout(this);
    grid->setContentsMargins(8, 6, 8, 6);
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(4);

    usageLabel_ = new QLabel(c(Msg::Use), this);
    usageLabel_->setObjectName(QStringLiteral("lblverwendung"));
    usage_ = new QLineEdit(this);
    usage_->setObjectName(QStringLiteral("txtverwendung"));
    usageLabel_->setBuddy(usage_);
    connect(usage_, &QLineEdit::textEdited, this, [this](const QString &text) {
        if (!text.contains(QLatin1Char(','))) // the file keeps texts up to the next comma
            return;
        ctx_.prompter.beep();
        const int pos = usage_->cursorPosition();
        usage_->setText(QString(text).remove(QLatin1Char(',')));
        usage_->setCursorPosition(std::max(0, pos - 1));
    });
    connect(usage_, &QLineEdit::editingFinished, this, &ProgramHeader::commitUsageText);

    programNumberLabel_ = new QLabel(plainCaption(c(Msg::NoOfTheProgram)), this);
    programNumberLabel_->setObjectName(QStringLiteral("lblProgrammnummer"));
    programNumber_ = new QLineEdit(this);
    programNumber_->setObjectName(QStringLiteral("txtProgrammnummer"));
    programNumber_->setMaxLength(6);
    programNumber_->setFixedWidth(programNumber_->fontMetrics().horizontalAdvance(QStringLiteral("0000000")) +
                                  16);
    programNumberLabel_->setBuddy(programNumber_);
    connect(programNumber_, &QLineEdit::textEdited, this, [this](const QString &text) {
        QString kept;
        for (QChar ch : text) {
            if (ch.isDigit() || ch == QLatin1Char(' '))
                kept += ch;
        }
        if (kept == text)
            return;
        ctx_.prompter.beep();
        const int pos = programNumber_->cursorPosition() - static_cast<int>(text.size() - kept.size());
        programNumber_->setText(kept);
        programNumber_->setCursorPosition(std::max(0, pos));
    });
    connect(programNumber_, &QLineEdit::editingFinished, this, &ProgramHeader::commitProgramNumber);

    writeProtect_ = new QToolButton(this);
    writeProtect_->setObjectName(QStringLiteral("AniSchreibschutz"));
    writeProtect_->setCheckable(true);
    writeProtect_->setAutoRaise(true);
    writeProtect_->setIconSize(QSize(22, 22));
    connect(writeProtect_, &QToolButton::clicked, this, [this](bool checked) {
        DeviceProperties &d = ctx_.model.device;
        if (ctx_.model.CurrentSet != SetProgram || (checked ? 1 : 0) == d.WriteProtect) {
            refresh();
            return;
        }
        d.WriteProtect = checked ? 1 : 0;
        ctx_.model.Modified = 1;
        refresh();
        Q_EMIT edited();
    });

    gauge_ = new QProgressBar(this);
    gauge_->setObjectName(QStringLiteral("ggeanzSz"));
    gauge_->setTextVisible(true);
    gauge_->setFormat(QStringLiteral("%v / %m"));
    gauge_->setAlignment(Qt::AlignCenter);
    gauge_->setMinimumWidth(150);
    gauge_->setCursor(Qt::PointingHandCursor);
    gauge_->setToolTip(plainCaption(c(Msg::UsedMemory)).remove(QLatin1Char(':')));
    gauge_->installEventFilter(this);

    filterFrame_ = new QFrame(this);
    filterFrame_->setObjectName(QStringLiteral("picfilter"));
    filterFrame_->setFrameShape(QFrame::Panel);
    filterFrame_->setFrameShadow(QFrame::Sunken);
    filterFrame_->setAutoFillBackground(true);
    filterFrame_->setCursor(Qt::PointingHandCursor);
    auto *filterLayout = new QHBoxLayout(filterFrame_);
    filterLayout->setContentsMargins(3, 2, 3, 2);
    filterOnImage_ = new QLabel(filterFrame_);
    filterOnImage_->setObjectName(QStringLiteral("imgfilt"));
    filterOnImage_->setPixmap(filterPixmap(false));
    filterOnImage_->setToolTip(c(Msg::WithFilter));
    filterOffImage_ = new QLabel(filterFrame_);
    filterOffImage_->setObjectName(QStringLiteral("imgnofilt"));
    filterOffImage_->setPixmap(filterPixmap(true));
    filterOffImage_->setToolTip(c(Msg::WithoutFilter));
    filterLayout->addWidget(filterOnImage_);
    filterLayout->addWidget(filterOffImage_);
    filterOnImage_->installEventFilter(this);
    filterOffImage_->installEventFilter(this);

    grid->addWidget(programNumberLabel_, 0, 0);
    grid->addWidget(programNumber_, 0, 1);
    grid->addWidget(usageLabel_, 0, 2);
    grid->addWidget(usage_, 0, 3);
    auto *right = new QHBoxLayout;
    right->setSpacing(8);
    right->addWidget(writeProtect_);
    right->addWidget(gauge_);
    right->addWidget(filterFrame_);
    grid->addLayout(right, 0, 4);
    grid->setColumnStretch(3, 1);

    // Channel names: one field per channel; index 8 exists but is never used.
    names_ = new QGridLayout;
    names_->setHorizontalSpacing(6);
    names_->setVerticalSpacing(4);
    for (int i = 0; i < 9; ++i) {
        auto *label = new QLabel(c(Msg::ChannelPrefix).trimmed() + QString::number(i + 1), this);
        label->setObjectName(QStringLiteral("lblkannam%1").arg(i));
        auto *edit = new QLineEdit(this);
        edit->setObjectName(QStringLiteral("txtkannam%1").arg(i));
        edit->setProperty("index", i);
        edit->setPlaceholderText(c(Msg::Channel1 + std::min(i, 7)));
        edit->setMinimumWidth(70);
        label->setBuddy(edit);
        connect(edit, &QLineEdit::editingFinished, this, [this, i] { commitChannelName(i); });
        channelLabels_.push_back(label);
        channelNames_.push_back(edit);
    }
    arrangeChannelNames(static_cast<int>(channelNames_.size()));
    grid->addLayout(names_, 1, 0, 1, 5);
}

void ProgramHeader::arrangeChannelNames(int perRow)
{
    if (perRow == namesPerRow_)
        return;
    namesPerRow_ = perRow;
    for (QLineEdit *edit : channelNames_)
        names_->removeWidget(edit);
    for (QLabel *label : channelLabels_)
        names_->removeWidget(label);
    for (int c = 0; c < names_->columnCount(); ++c)
        names_->setColumnStretch(c, 0);
    for (int i = 0; i < static_cast<int>(channelNames_.size()); ++i) {
        const int row = i / perRow;
        const int column = 2 * (i % perRow);
        names_->addWidget(channelLabels_[i], row, column);
        names_->addWidget(channelNames_[i], row, column + 1);
        names_->setColumnStretch(column + 1, 1);
    }
    // The rows changed the header's height: its own layout and the window's are laid out anew.
    layout()->invalidate();
    updateGeometry();
}

int ProgramHeader::channelNamesWidth(int perRow) const
{
    int widest = 0;
    int row = 0;
    int inRow = 0;
    for (int i = 0; i < static_cast<int>(channelNames_.size()); ++i) {
        if (channelNames_[i]->isHidden())
            continue;
        if (inRow == perRow) {
            widest = std::max(widest, row);
            row = 0;
            inRow = 0;
        }
        row += (inRow > 0 ? names_->horizontalSpacing() : 0) + channelLabels_[i]->minimumSizeHint().width() +
               names_->horizontalSpacing() + channelNames_[i]->minimumWidth();
        ++inRow;
    }
    return std::max(widest, row);
}

int ProgramHeader::firstRowWidth() const
{
    int width = 0;
    for (const QWidget *w : std::initializer_list<const QWidget *>{
             programNumberLabel_, programNumber_, usageLabel_, usage_, writeProtect_, gauge_, filterFrame_}) {
        if (!w->isHidden())
            width += w->minimumSizeHint().expandedTo(w->minimumSize()).width() + 8;
    }
    return width;
}

QSize ProgramHeader::minimumSizeHint() const
{
    const QSize current = QFrame::minimumSizeHint();
    const QMargins m = layout()->contentsMargins();
    const int frames = 2 * frameWidth() + m.left() + m.right();
    const int wrapped = std::max(firstRowWidth(), channelNamesWidth(ChannelsPerWrappedRow)) + frames;
    return {std::min(current.width(), wrapped), current.height()};
}

void ProgramHeader::resizeEvent(QResizeEvent *event)
{
    QFrame::resizeEvent(event);
    fitChannelNames();
}

void ProgramHeader::fitChannelNames()
{
    // All names in one row when they fit beside each other, else in rows of four: a device with
    // eight channels does not fit one row on a laptop screen at 150 % or 200 % scaling.
    const QMargins m = layout()->contentsMargins();
    const int room = width() - 2 * frameWidth() - m.left() - m.right();
    const int all = static_cast<int>(channelNames_.size());
    arrangeChannelNames(channelNamesWidth(all) <= room ? all : ChannelsPerWrappedRow);
}

void ProgramHeader::refresh()
{
    const Model &m = ctx_.model;
    const ProgramSet &s = m.set(m.CurrentSet);
    const bool editable = m.CurrentSet == SetProgram;
    const bool evu = m.device.Evu == 1;

    programNumberLabel_->setVisible(evu);
    programNumber_->setVisible(evu);
    programNumber_->setText(views::ProgramNumberText(m, m.CurrentSet));
    programNumber_->setReadOnly(!editable);

    usage_->setText(s.UsageText);
    usage_->setReadOnly(!editable);

    const int channels = qBound(1, m.device.Kanalzahl, 8);
    for (int i = 0; i < static_cast<int>(channelNames_.size()); ++i) {
        const bool shown = i < channels;
        channelLabels_[i]->setVisible(shown);
        channelNames_[i]->setVisible(shown);
        channelNames_[i]->setText(s.ChannelNames[i]);
        channelNames_[i]->setReadOnly(!editable);
    }
    fitChannelNames();

    writeProtect_->setVisible(m.device.Bewft == 1 || m.device.Uhrentyp == TypeAstro);
    writeProtect_->setChecked(m.device.WriteProtect != 0);
    writeProtect_->setIcon(lockIcon(m.device.WriteProtect != 0));
    writeProtect_->setEnabled(editable);

    const int capacity = std::max(1, m.device.RecordCapacity);
    gauge_->setRange(0, capacity);
    gauge_->setValue(qBound(0, s.UsedCount, capacity));
}

void ProgramHeader::refreshFilterSwitch()
{
    const bool on = ctx_.model.FilterOn != 0;
    filterOnImage_->setVisible(on);
    filterOffImage_->setVisible(!on);
    QPalette pal = filterFrame_->palette();
    pal.setColor(QPalette::Window, on ? QColor(255, 255, 16) : QColor(192, 192, 192));
    filterFrame_->setPalette(pal);
}

void ProgramHeader::commit()
{
    commitProgramNumber();
    commitUsageText();
    for (int i = 0; i < static_cast<int>(channelNames_.size()); ++i)
        commitChannelName(i);
}

void ProgramHeader::commitProgramNumber()
{
    Model &m = ctx_.model;
    if (m.CurrentSet != SetProgram || m.device.Evu != 1)
        return;
    const int wasModified = m.Modified;
    SetProgramNumberFromText(m, programNumber_->text());
    programNumber_->setText(views::ProgramNumberText(m, SetProgram));
    if (m.Modified != wasModified)
        Q_EMIT edited();
}

void ProgramHeader::commitUsageText()
{
    Model &m = ctx_.model;
    if (m.CurrentSet != SetProgram)
        return;
    const QString text = usage_->text();
    if (text != m.program().UsageText) {
        m.program().UsageText = text;
        m.Modified = 1;
        Q_EMIT edited();
    }
}

void ProgramHeader::commitChannelName(int index)
{
    Model &m = ctx_.model;
    if (m.CurrentSet != SetProgram || index < 0 || index >= static_cast<int>(channelNames_.size()))
        return;
    const QString text = channelNames_[index]->text();
    if (text != m.program().ChannelNames[index]) {
        m.program().ChannelNames[index] = text;
        m.Modified = 1;
        Q_EMIT edited();
    }
}

bool ProgramHeader::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == gauge_ && event->type() == QEvent::MouseButtonRelease) {
        Q_EMIT usedMemoryRequested();
        return true;
    }
    if (watched == filterOnImage_ || watched == filterOffImage_) {
        if (event->type() == QEvent::MouseButtonDblClick) {
            filterDoubleClicked_ = true;
            Q_EMIT filterCommandRequested();
            return true;
        }
        if (event->type() == QEvent::MouseButtonRelease) {
            // The release that ends a double click is not a second click.
            if (filterDoubleClicked_)
                filterDoubleClicked_ = false;
            else
                Q_EMIT filterToggleRequested();
            return true;
        }
    }
    return QFrame::eventFilter(watched, event);
}

} // namespace zx
