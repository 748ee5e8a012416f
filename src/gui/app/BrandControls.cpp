#include "app/BrandControls.h"

#include "platform/FocusKeeper.h"

#include <QLabel>
#include <QPainter>
#include <QStyledItemDelegate>

namespace zx {

namespace {

// Inside the language choices: frame, padding around picture and text, gap between them.
constexpr int ChoiceFrame = 2;
constexpr int ChoicePadX = 6;
constexpr int ChoicePadY = 4;
constexpr int ChoiceGap = 3;
constexpr qreal ChoiceRadius = 6;
constexpr qreal PushRadius = 5;

// The frame of a rounded box drawn with a pen of the given width, inside the rectangle.
QRectF inside(const QRect &rect, qreal penWidth)
{
    const qreal half = penWidth / 2;
    return QRectF(rect).adjusted(half, half, -half, -half);
}

// Rows a few pixels taller and wider than the style's own, kept off the list's frame.
class RoomyRows : public QStyledItemDelegate {
  public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        return QStyledItemDelegate::sizeHint(option, index) + QSize(8, 6);
    }
    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        QStyleOptionViewItem inset(option);
        inset.rect.adjust(2, 0, -2, 0);
        QStyledItemDelegate::paint(painter, inset, index);
    }
};

} // namespace

BrandColours BrandColoursFor(const QColor &primary, const QColor &secondary)
{
    return {primary, primary.lighter(135), primary.lighter(190), secondary.darker(106)};
}

QLabel *BrandCaption(const QString &text, const BrandColours &colours)
{
    auto *label = new QLabel(text);
    QFont bold = label->font();
    bold.setBold(true);
    label->setFont(bold);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, colours.primary);
    label->setPalette(palette);
    return label;
}

BrandChoiceButton::BrandChoiceButton(const BrandColours &colours, QWidget *parent)
    : QToolButton(parent), colours_(colours)
{
    setAttribute(Qt::WA_Hover);
    setFocusPolicy(Qt::StrongFocus);
}

QSize BrandChoiceButton::sizeHint() const
{
    // Measured in bold, so that a choice does not change its size when it is chosen.
    QFont bold = font();
    bold.setBold(true);
    const QFontMetrics metrics(bold);
    const int width = qMax(iconSize().width(), metrics.horizontalAdvance(text()));
    const int height = iconSize().height() + ChoiceGap + metrics.height();
    return QSize(width + 2 * (ChoicePadX + ChoiceFrame), height + 2 * (ChoicePadY + ChoiceFrame));
}

void BrandChoiceButton::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const bool chosen = isChecked();
    const bool focused = hasFocus();
    const bool strong = chosen || focused;
    const qreal penWidth = strong ? ChoiceFrame : 1;
    QPen pen(strong || underMouse() ? colours_.primary : colours_.line, penWidth);
    // The keyboard's place must show, also on the chosen language.
    if (focused)
        pen.setStyle(Qt::DashLine);
    painter.setPen(pen);
    painter.setBrush(chosen ? colours_.chosen : QColor(Qt::white));
    painter.drawRoundedRect(inside(rect(), penWidth), ChoiceRadius, ChoiceRadius);

    const QRect picture(QPoint((width() - iconSize().width()) / 2, ChoiceFrame + ChoicePadY), iconSize());
    icon().paint(&painter, picture, Qt::AlignCenter, isEnabled() ? QIcon::Normal : QIcon::Disabled);

    QFont textFont = font();
    textFont.setBold(chosen);
    painter.setFont(textFont);
    painter.setPen(palette().color(QPalette::ButtonText));
    const QRect textPlace(0, picture.bottom() + 1 + ChoiceGap, width(), height());
    painter.drawText(textPlace, Qt::AlignHCenter | Qt::AlignTop, text());
}

BrandPushButton::BrandPushButton(const QString &text, Look look, const BrandColours &colours, QWidget *parent)
    : QPushButton(text, parent), look_(look), colours_(colours)
{
    setAttribute(Qt::WA_Hover);
    if (look_ == Look::Filled) {
        QFont bold = font();
        bold.setBold(true);
        setFont(bold);
    }
}

QSize BrandPushButton::padding() const
{
    return look_ == Look::Filled ? QSize(28, 7) : QSize(15, 7);
}

QSize BrandPushButton::sizeHint() const
{
    const QFontMetrics metrics(font());
    return QSize(metrics.horizontalAdvance(text()), metrics.height()) + 2 * padding();
}

void BrandPushButton::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const bool focused = hasFocus();
    QColor text;
    if (look_ == Look::Filled) {
        QColor fill = underMouse() ? colours_.hover : colours_.primary;
        if (isDown())
            fill = colours_.primary.darker(115);
        painter.setPen(Qt::NoPen);
        painter.setBrush(fill);
        painter.drawRoundedRect(rect(), PushRadius, PushRadius);
        if (focused) {
            painter.setPen(QPen(Qt::white, 2, Qt::DashLine));
            painter.setBrush(Qt::NoBrush);
            painter.drawRoundedRect(inside(rect(), 2), PushRadius, PushRadius);
        }
        text = Qt::white;
    } else {
        const qreal penWidth = focused ? 2 : 1;
        painter.setPen(QPen(colours_.primary, penWidth, focused ? Qt::DashLine : Qt::SolidLine));
        painter.setBrush(isDown() ? colours_.chosen : QColor(Qt::white));
        painter.drawRoundedRect(inside(rect(), penWidth), PushRadius, PushRadius);
        text = colours_.primary;
    }
    painter.setPen(text);
    painter.drawText(rect(), Qt::AlignCenter, this->text());
}

BrandList::BrandList(const BrandColours &colours, QWidget *parent) : QListWidget(parent), colours_(colours)
{
    // The frame is drawn in the foreground colour; the focus frame is this list's own.
    setProperty(OwnFocusFrameProperty, true);
    setFrameStyle(QFrame::Box | QFrame::Plain);
    setLineWidth(2);
    setForegroundRole(QPalette::WindowText);
    QPalette palette = this->palette();
    for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
        palette.setColor(group, QPalette::Base, Qt::white);
        palette.setColor(group, QPalette::Text, Qt::black);
        palette.setColor(group, QPalette::Highlight, colours_.primary);
        palette.setColor(group, QPalette::HighlightedText, Qt::white);
    }
    setPalette(palette);
    setItemDelegate(new RoomyRows(this));
    showFocus(false);
}

void BrandList::focusInEvent(QFocusEvent *event)
{
    showFocus(true);
    QListWidget::focusInEvent(event);
}

void BrandList::focusOutEvent(QFocusEvent *event)
{
    showFocus(false);
    QListWidget::focusOutEvent(event);
}

void BrandList::showFocus(bool focused)
{
    QPalette palette = this->palette();
    palette.setColor(QPalette::WindowText, focused ? colours_.primary : colours_.line);
    setPalette(palette);
    update();
}

} // namespace zx
