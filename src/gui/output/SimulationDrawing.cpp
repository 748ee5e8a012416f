#include "output/SimulationDrawing.h"

#include "model/Calendar.h"

#include <QFontMetricsF>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace zx {

namespace {
// The least scale the overview and the day graph shrink to on a small or scaled screen.
constexpr double MinimumScale = 0.5;
} // namespace

namespace {

constexpr int OverviewRightMargin = 6;
constexpr int DaysPerBlock = 31;
constexpr int BlocksPerRow = 3;
constexpr int MonthRows = 4;

QFont unitFont(double pixels, bool bold = false)
{
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setPixelSize(std::max(1, int(std::lround(pixels))));
    f.setBold(bold);
    return f;
}

} // namespace

// ----- overview geometry ------------------------------------------------------------------------

int OverviewGeometry::blockRows() const
{
    return std::max(4, channels) + 2;
}

QSizeF OverviewGeometry::size() const
{
    return {double(Left + CellWidth * BlockColumns * BlocksPerRow + OverviewRightMargin),
            double(Top + RowPitch * blockRows() * MonthRows)};
}

QRectF OverviewGeometry::cell(int channel, int day, int month) const
{
    const int column = ((month - 1) % BlocksPerRow) * BlockColumns + day - 1;
    const int row = ((month - 1) / BlocksPerRow) * blockRows() + channel - 1;
    return {double(Left + CellWidth * column), double(Top + RowPitch * row), double(CellWidth),
            double(CellHeight)};
}

bool OverviewGeometry::cellAt(QPointF p, int *channel, int *day, int *month) const
{
    const int column = int(std::floor((p.x() - Left) / CellWidth));
    const int row = int(std::floor((p.y() - Top) / RowPitch));
    if (column < 0 || row < 0 || column >= BlockColumns * BlocksPerRow || row >= blockRows() * MonthRows)
        return false;
    const int monthRow = row / blockRows();
    const int c = row % blockRows() + 1;
    const int d = column % BlockColumns + 1;
    if (c > channels || d > DaysPerBlock)
        return false;
    *channel = c;
    *day = d;
    *month = monthRow * BlocksPerRow + column / BlockColumns + 1;
    return true;
}

QTransform FitTransform(const QSizeF &size, const QRectF &target)
{
    const double scale = std::min(target.width() / size.width(), target.height() / size.height());
    const double dx = target.left() + (target.width() - size.width() * scale) / 2;
    const double dy = target.top() + (target.height() - size.height() * scale) / 2;
    return QTransform(scale, 0, 0, scale, dx, dy);
}

void PaintOverview(QPainter &p, const QRectF &target, const OverviewContent &content)
{
    if (!content.plan || !content.colours)
        return;
    const DayPlan &plan = *content.plan;
    OverviewGeometry g;
    g.channels = plan.channels;
    p.save();
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setTransform(FitTransform(g.size(), target), true);

    p.setPen(Qt::black);
    p.setFont(unitFont(12, true));
    p.drawText(QRectF(0, 0, g.size().width(), 22), Qt::AlignCenter, QString::number(plan.year));

    p.setFont(unitFont(6));
    for (int m = 1; m <= 12; ++m) {
        const QRectF first = g.cell(1, 1, m);
        p.setPen(Qt::black);
        // the month's name over its block, the day numbers over the first row of blocks
        p.setFont(unitFont(7, true));
        p.drawText(QRectF(first.left(), first.top() - 11, 31 * 6, 10), Qt::AlignLeft | Qt::AlignBottom,
                   content.monthNames.value(m - 1));
        if (m <= 3) {
            p.setFont(unitFont(5));
            for (int d : {10, 20, 31}) {
                const QRectF c = g.cell(1, d, m);
                p.drawText(QRectF(c.center().x() - 8, c.top() - 11, 16, 10),
                           Qt::AlignHCenter | Qt::AlignBottom, QString::number(d));
            }
        }
        if ((m - 1) % 3 == 0) {
            p.setFont(unitFont(6));
            for (int c = 1; c <= plan.channels; ++c) {
                const QRectF r = g.cell(c, 1, m);
                p.drawText(QRectF(2, r.top() - 1, OverviewGeometry::Left - 4, r.height() + 2),
                           Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("C%1").arg(c));
            }
        }
        const int days = DaysInMonth(m, plan.year);
        for (int d = 1; d <= days; ++d) {
            const int doy = DayOfYear(d, m, plan.year);
            for (int c = 1; c <= plan.channels; ++c) {
                const QRectF r = g.cell(c, d, m);
                p.fillRect(r, (*content.colours)[plan.code(doy, c)]);
                p.setPen(QPen(QColor(168, 168, 168), 0));
                p.drawRect(r);
            }
            if (Weekday(d, m, plan.year) == Sunday) {
                // Sundays get a mark under the block, so the weeks can be read
                const QRectF last = g.cell(plan.channels, d, m);
                p.fillRect(QRectF(last.left() + 1, last.bottom() + 1, last.width() - 2, 1),
                           QColor(96, 96, 96));
            }
        }
    }
    if (content.selectedDay >= 1 && content.selectedChannel >= 1 &&
        content.selectedChannel <= plan.channels) {
        const DayMonth dm = DateOfDay(content.selectedDay, plan.year);
        p.setPen(QPen(Qt::black, 1.5));
        p.setBrush(Qt::NoBrush);
        p.drawRect(g.cell(content.selectedChannel, dm.day, dm.month).adjusted(-1, -1, 1, 1));
    }
    p.restore();
}

// ----- day graph ------------------------------------------------------------------------------

void PaintDayGraph(QPainter &p, const QRectF &target, const std::vector<DaySegment> &segments,
                   int firstMinute, int span)
{
    using G = DayGraphGeometry;
    const QSizeF size(G::Margin + span + 4, G::Height);
    p.save();
    p.setRenderHint(QPainter::Antialiasing, true);
    // stretch the minutes over the width and the levels over the height
    p.setTransform(QTransform(target.width() / size.width(), 0, 0, target.height() / size.height(),
                              target.left(), target.top()),
                   true);
    p.fillRect(QRectF(QPointF(0, 0), size), Qt::white);
    p.setFont(unitFont(9, true));
    p.setPen(Qt::black);
    p.drawText(QRectF(0, G::OnLevel - 8, G::Margin - 2, 16), Qt::AlignCenter, QStringLiteral("I"));
    p.drawText(QRectF(0, G::OffLevel - 8, G::Margin - 2, 16), Qt::AlignCenter, QStringLiteral("0"));

    // an hour line every 60 minutes
    p.setPen(QPen(QColor(210, 210, 210), 0));
    for (int m = ((firstMinute + 59) / 60) * 60; m <= firstMinute + span; m += 60)
        p.drawLine(QPointF(G::Margin + m - firstMinute, 4),
                   QPointF(G::Margin + m - firstMinute, G::Height - 4));

    const QPen line(QColor(0, 0, 160), 2);
    const QPen pulse(QColor(200, 0, 0), 2);
    const int last = firstMinute + span;
    int start = 0;
    int previousLevel = -1;
    for (const DaySegment &s : segments) {
        const int end = start + s.minutes;
        const bool isPulse = (s.state & SegmentState::PulseBit) != 0;
        // A pulse is momentary: the line keeps the switched level through its minute.
        const int level = isPulse && previousLevel >= 0 ? previousLevel : s.state & 1;
        const double y = level ? G::OnLevel : G::OffLevel;
        const double x0 = G::Margin + std::clamp(start, firstMinute, last) - firstMinute;
        const double x1 = G::Margin + std::clamp(end, firstMinute, last) - firstMinute;
        const bool visibleStart = start >= firstMinute && start <= last;
        if (visibleStart && previousLevel >= 0 && previousLevel != level) {
            p.setPen(line);
            p.drawLine(QPointF(x0, G::OnLevel), QPointF(x0, G::OffLevel));
        }
        if (x1 > x0 || (visibleStart && s.minutes == 0)) {
            p.setPen(line);
            p.drawLine(QPointF(x0, y), QPointF(x1, y));
        }
        if (visibleStart && isPulse) {
            // a pulse: a spike from the level with an arrow head, up for ON and down for OFF
            p.setPen(pulse);
            const bool up = (s.state & 1) != 0;
            const double tip =
                up ? std::min(y, double(G::OnLevel)) - 12 : std::max(y, double(G::OffLevel)) + 12;
            const double head = up ? 4 : -4;
            p.drawLine(QPointF(x0, y), QPointF(x0, tip));
            p.drawLine(QPointF(x0 - 3, tip + head), QPointF(x0, tip));
            p.drawLine(QPointF(x0 + 3, tip + head), QPointF(x0, tip));
        }
        previousLevel = level;
        start = end;
    }
    p.restore();

    // The hour labels of a whole day are drawn unstretched, in a size that follows the height of
    // the graph, and kept inside it: "24:00" at the right edge stays whole.
    if (span > 540) {
        const double sx = target.width() / size.width();
        const double sy = target.height() / size.height();
        p.save();
        p.setPen(QColor(64, 64, 64));
        p.setFont(unitFont(std::clamp(9 * sy, 9.0, 40.0)));
        const QFontMetricsF fm(p.font());
        const double labelWidth = fm.horizontalAdvance(QStringLiteral("24:00")) + 4;
        const double top = target.top() + (G::Height - 2) * sy - fm.height();
        for (int h = 0; h <= 24; h += 3) {
            const double x = target.left() + (G::Margin + h * 60 - firstMinute) * sx;
            const double left = std::clamp(x - labelWidth / 2, target.left(), target.right() - labelWidth);
            p.drawText(QRectF(left, top, labelWidth, fm.height()), Qt::AlignCenter,
                       QStringLiteral("%1:00").arg(h));
        }
        p.restore();
    }
}

// ----- controls ---------------------------------------------------------------------------------

YearOverview::YearOverview(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("picPzGrafik"));
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(false);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

QSize YearOverview::sizeHint() const
{
    OverviewGeometry g;
    g.channels = content.plan ? content.plan->channels : 4;
    return (g.size() * 1.6).toSize();
}

QSize YearOverview::minimumSizeHint() const
{
    OverviewGeometry g;
    g.channels = content.plan ? content.plan->channels : 4;
    // Half a unit per pixel: at 200 % scaling that is still the full drawing in device pixels.
    return (g.size() * MinimumScale).toSize();
}

QTransform YearOverview::transform() const
{
    OverviewGeometry g;
    g.channels = content.plan ? content.plan->channels : 4;
    return FitTransform(g.size(), QRectF(rect()));
}

QPoint YearOverview::cellCentre(int channel, int day, int month) const
{
    OverviewGeometry g;
    g.channels = content.plan ? content.plan->channels : 4;
    return transform().map(g.cell(channel, day, month).center()).toPoint();
}

bool YearOverview::cellUnder(QPointF pos, int *channel, int *day, int *month) const
{
    if (!content.plan)
        return false;
    OverviewGeometry g;
    g.channels = content.plan->channels;
    bool invertible = false;
    const QPointF units = transform().inverted(&invertible).map(pos);
    if (!invertible || !g.cellAt(units, channel, day, month))
        return false;
    return *day <= DaysInMonth(*month, content.plan->year);
}

void YearOverview::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.fillRect(rect(), palette().color(QPalette::Window));
    PaintOverview(p, QRectF(rect()), content);
    if (hasFocus()) {
        p.setPen(QPen(palette().color(QPalette::Highlight), 1, Qt::DotLine));
        p.drawRect(rect().adjusted(0, 0, -1, -1));
    }
}

void YearOverview::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    pressed_ = true;
    mouseMoveEvent(event);
}

void YearOverview::mouseMoveEvent(QMouseEvent *event)
{
    int c = 0, d = 0, m = 0;
    if (pressed_ && cellUnder(event->position(), &c, &d, &m))
        Q_EMIT hovered(c, d, m);
}

void YearOverview::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton || !pressed_)
        return;
    pressed_ = false;
    int c = 0, d = 0, m = 0;
    if (!cellUnder(event->position(), &c, &d, &m))
        c = d = m = 0;
    Q_EMIT released(c, d, m);
}

void YearOverview::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Left:
        Q_EMIT stepped(0, -1);
        break;
    case Qt::Key_Right:
        Q_EMIT stepped(0, 1);
        break;
    case Qt::Key_Up:
        Q_EMIT stepped(-1, 0);
        break;
    case Qt::Key_Down:
        Q_EMIT stepped(1, 0);
        break;
    case Qt::Key_PageUp:
        Q_EMIT stepped(0, -7);
        break;
    case Qt::Key_PageDown:
        Q_EMIT stepped(0, 7);
        break;
    default:
        QWidget::keyPressEvent(event);
    }
}

DayGraph::DayGraph(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("picSzGrafik"));
    setCursor(Qt::CrossCursor);
}

QSize DayGraph::sizeHint() const
{
    return QSize(int(DayGraphGeometry::Margin + Span + 4) * 2, int(DayGraphGeometry::Height * 1.5));
}

QSize DayGraph::minimumSizeHint() const
{
    return QSize(int((DayGraphGeometry::Margin + Span + 4) * MinimumScale), int(DayGraphGeometry::Height));
}

QTransform DayGraph::transform() const
{
    const double w = DayGraphGeometry::Margin + Span + 4;
    return QTransform(width() / w, 0, 0, height() / DayGraphGeometry::Height, 0, 0);
}

int DayGraph::xOfMinute(int minuteInWindow) const
{
    return int(std::lround(transform().map(QPointF(DayGraphGeometry::Margin + minuteInWindow + 0.5, 0)).x()));
}

void DayGraph::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    static const std::vector<DaySegment> none;
    PaintDayGraph(p, QRectF(rect()), segments ? *segments : none, firstMinute, Span);
}

void DayGraph::point(QPointF pos)
{
    const double x = transform().inverted().map(pos).x() - DayGraphGeometry::Margin;
    if (x < 0 || x > Span)
        return;
    Q_EMIT pointed(int(std::floor(x)));
}

void DayGraph::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        point(event->position());
}

void DayGraph::mouseMoveEvent(QMouseEvent *event)
{
    if (event->buttons() & Qt::LeftButton)
        point(event->position());
}

} // namespace zx
