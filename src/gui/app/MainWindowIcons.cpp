#include "app/MainWindowIcons.h"

#include <QPainter>
#include <QPainterPath>

namespace zx {

namespace {

// A clear 22 x 22 picture to draw on.
QPixmap canvas()
{
    QPixmap pm(22, 22);
    pm.fill(Qt::transparent);
    return pm;
}

} // namespace

QPixmap filterPixmap(bool crossed)
{
    QPixmap pm = canvas();
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath funnel;
    funnel.moveTo(3, 4);
    funnel.lineTo(19, 4);
    funnel.lineTo(13, 11);
    funnel.lineTo(13, 18);
    funnel.lineTo(9, 16);
    funnel.lineTo(9, 11);
    funnel.closeSubpath();
    p.setPen(QPen(QColor(40, 40, 40), 1.3));
    p.setBrush(crossed ? QColor(235, 235, 235) : QColor(60, 60, 60));
    p.drawPath(funnel);
    if (crossed) {
        p.setPen(QPen(QColor(200, 30, 30), 2));
        p.drawLine(4, 19, 19, 3);
    }
    return pm;
}

QIcon lockIcon(bool locked)
{
    QPixmap pm = canvas();
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(60, 60, 60), 2));
    p.setBrush(Qt::NoBrush);
    if (locked)
        p.drawArc(6, 2, 10, 12, 0, 180 * 16);
    else
        p.drawArc(11, 1, 10, 12, 0, 180 * 16);
    p.drawLine(locked ? 6 : 11, 8, locked ? 6 : 11, 11);
    p.drawLine(16, 8, 16, 11);
    p.setPen(QPen(QColor(60, 60, 60), 1));
    p.setBrush(locked ? QColor(200, 150, 30) : QColor(170, 200, 170));
    p.drawRoundedRect(3, 10, 16, 11, 2, 2);
    return QIcon(pm);
}

QIcon printerIcon()
{
    QPixmap pm = canvas();
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(50, 50, 50), 1.2));
    p.setBrush(Qt::white);
    p.drawRect(6, 2, 10, 7);
    p.setBrush(QColor(120, 120, 130));
    p.drawRoundedRect(2, 8, 18, 8, 2, 2);
    p.setBrush(Qt::white);
    p.drawRect(6, 13, 10, 7);
    return QIcon(pm);
}

} // namespace zx
