// Draws the start screen's pictures: for each brand a front view of its time switch and a
// small round logo, and the four language flags.
#include "model/BrandTable.h"

#include <QDir>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <cmath>
#include <cstdio>
#include <cstring>

using namespace zx;

namespace {

QFont font(int pixelSize, int weight = QFont::Normal, const QString &family = QStringLiteral("DejaVu Sans"))
{
    QFont f(family);
    f.setPixelSize(pixelSize);
    f.setWeight(QFont::Weight(weight));
    return f;
}

void terminalStrip(QPainter &p, const QRectF &r)
{
    QLinearGradient g(r.topLeft(), r.bottomLeft());
    g.setColorAt(0, QColor("#8d9095"));
    g.setColorAt(1, QColor("#6c6f74"));
    p.setPen(QPen(QColor("#4b4d51"), 1));
    p.setBrush(g);
    p.drawRoundedRect(r, 4, 4);
    const int screws = 4;
    const qreal step = r.width() / screws;
    for (int i = 0; i < screws; ++i) {
        const QPointF c(r.left() + step * (i + 0.5), r.center().y());
        QRadialGradient s(c - QPointF(2, 2), 8);
        s.setColorAt(0, QColor("#f0f0f0"));
        s.setColorAt(1, QColor("#9a9ca0"));
        p.setBrush(s);
        p.setPen(QPen(QColor("#505256"), 1));
        p.drawEllipse(c, 7, 7);
        p.drawLine(c + QPointF(-4.5, 0), c + QPointF(4.5, 0));
    }
}

// Front view of the DIN-rail time switch in the brand's colours.
QImage startPicture(const Brand &brand)
{
    QImage img(260, 320, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    const QColor primary(brand.primaryColour);

    // Soft shadow, then the housing.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 40));
    p.drawRoundedRect(QRectF(26, 18, 222, 296), 18, 18);
    QRectF body(18, 10, 222, 296);
    QLinearGradient housing(body.topLeft(), body.topRight());
    housing.setColorAt(0, QColor("#fbfbf9"));
    housing.setColorAt(0.55, QColor("#ecece8"));
    housing.setColorAt(1, QColor("#d3d3cf"));
    p.setBrush(housing);
    p.setPen(QPen(QColor("#9c9c98"), 1.5));
    p.drawRoundedRect(body, 18, 18);

    terminalStrip(p, QRectF(34, 20, 190, 30));
    terminalStrip(p, QRectF(34, 266, 190, 30));

    // Front plate with the brand stripe.
    QRectF plate(34, 60, 190, 196);
    p.setBrush(QColor("#f7f7f5"));
    p.setPen(QPen(QColor("#b5b5b1"), 1));
    p.drawRoundedRect(plate, 10, 10);
    QPainterPath stripe;
    stripe.setFillRule(Qt::WindingFill);
    stripe.addRoundedRect(QRectF(34, 60, 190, 30), 10, 10);
    stripe.addRect(QRectF(34, 75, 190, 15));
    p.fillPath(stripe.simplified(), primary);
    p.setPen(Qt::white);
    p.setFont(font(15, QFont::Bold));
    p.drawText(QRectF(46, 60, 120, 30), Qt::AlignVCenter | Qt::AlignLeft, brand.key);
    p.setFont(font(12, QFont::DemiBold));
    p.drawText(QRectF(100, 60, 114, 30), Qt::AlignVCenter | Qt::AlignRight, brand.shortDeviceName);

    // The display.
    QRectF lcdFrame(48, 100, 162, 80);
    p.setBrush(QColor("#3d4046"));
    p.setPen(Qt::NoPen);
    p.drawRoundedRect(lcdFrame, 6, 6);
    QRectF lcd = lcdFrame.adjusted(6, 6, -6, -6);
    QLinearGradient glass(lcd.topLeft(), lcd.bottomLeft());
    glass.setColorAt(0, QColor("#cfdcb4"));
    glass.setColorAt(1, QColor("#aebf8f"));
    p.setBrush(glass);
    p.drawRoundedRect(lcd, 3, 3);
    const QColor segment("#26301c");
    p.setPen(segment);
    p.setFont(font(34, QFont::Bold, QStringLiteral("DejaVu Sans Mono")));
    p.drawText(QRectF(lcd.left(), lcd.top() + 2, lcd.width() - 26, 44), Qt::AlignCenter,
               QStringLiteral("06:30"));
    p.setFont(font(9, QFont::Bold));
    p.drawText(QRectF(lcd.right() - 28, lcd.top() + 6, 24, 12), Qt::AlignRight, QStringLiteral("ON"));
    p.drawText(QRectF(lcd.right() - 28, lcd.top() + 20, 24, 12), Qt::AlignRight, QStringLiteral("P1"));
    const char *days = "1234567";
    for (int i = 0; i < 7; ++i) {
        QRectF cell(lcd.left() + 6 + i * 17, lcd.bottom() - 18, 14, 13);
        if (i < 5) {
            p.setBrush(segment);
            p.setPen(Qt::NoPen);
            p.drawRect(cell);
            p.setPen(QColor("#cfdcb4"));
        } else {
            p.setBrush(Qt::NoBrush);
            p.setPen(segment);
        }
        p.drawText(cell, Qt::AlignCenter, QString(QChar(days[i])));
    }

    // Channel lamps and keys.
    for (int i = 0; i < 4; ++i) {
        const QPointF c(64 + i * 40, 198);
        QRadialGradient lamp(c - QPointF(1.5, 1.5), 6);
        lamp.setColorAt(0, i == 0 ? QColor("#ffe08a") : QColor("#e6e6e2"));
        lamp.setColorAt(1, i == 0 ? QColor("#e0a000") : QColor("#a8a8a4"));
        p.setBrush(lamp);
        p.setPen(QPen(QColor("#7d7d79"), 0.8));
        p.drawEllipse(c, 5, 5);
        p.setPen(QColor("#55575b"));
        p.setFont(font(9));
        p.drawText(QRectF(c.x() + 7, c.y() - 7, 20, 14), Qt::AlignVCenter | Qt::AlignLeft,
                   QStringLiteral("C%1").arg(i + 1));
    }
    const QStringList keys = {QStringLiteral("MENU"), QStringLiteral("\u2013"), QStringLiteral("+"),
                              QStringLiteral("OK")};
    for (int i = 0; i < keys.size(); ++i) {
        QRectF key(50 + i * 40, 216, 34, 26);
        QLinearGradient k(key.topLeft(), key.bottomLeft());
        k.setColorAt(0, i == 3 ? primary.lighter(140) : QColor("#fdfdfb"));
        k.setColorAt(1, i == 3 ? primary : QColor("#cfcfcb"));
        p.setBrush(k);
        p.setPen(QPen(QColor("#8a8a86"), 1));
        p.drawRoundedRect(key, 6, 6);
        p.setPen(i == 3 ? Qt::white : QColor("#3d4046"));
        p.setFont(font(i == 0 ? 8 : 12, QFont::Bold));
        p.drawText(key, Qt::AlignCenter, keys[i]);
    }
    return img;
}

// Round logo: a clock face in the brand colour with the brand code.
QImage infoPicture(const Brand &brand)
{
    QImage img(96, 96, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor primary(brand.primaryColour);
    QRadialGradient g(QPointF(38, 34), 60);
    g.setColorAt(0, primary.lighter(135));
    g.setColorAt(1, primary);
    p.setBrush(g);
    p.setPen(QPen(primary.darker(130), 2));
    p.drawEllipse(QRectF(3, 3, 90, 90));
    p.setPen(QPen(QColor(255, 255, 255, 200), 2.5, Qt::SolidLine, Qt::RoundCap));
    for (int i = 0; i < 12; ++i) {
        const double a = i * M_PI / 6;
        const double inner = (i % 3 == 0) ? 34 : 38;
        p.drawLine(QPointF(48 + inner * std::sin(a), 48 - inner * std::cos(a)),
                   QPointF(48 + 41 * std::sin(a), 48 - 41 * std::cos(a)));
    }
    p.setPen(Qt::white);
    p.setFont(font(22, QFont::Black));
    p.drawText(QRectF(0, 30, 96, 36), Qt::AlignCenter, brand.key);
    return img;
}

QImage flag(const QString &code)
{
    QImage img(48, 32, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath clip;
    clip.addRoundedRect(QRectF(0.5, 0.5, 47, 31), 3, 3);
    p.setClipPath(clip);
    if (code == QLatin1String("de")) {
        p.fillRect(QRectF(0, 0, 48, 11), QColor("#000000"));
        p.fillRect(QRectF(0, 10.67, 48, 11), QColor("#dd0000"));
        p.fillRect(QRectF(0, 21.33, 48, 11), QColor("#ffce00"));
    } else if (code == QLatin1String("fr")) {
        p.fillRect(QRectF(0, 0, 16, 32), QColor("#002395"));
        p.fillRect(QRectF(16, 0, 16, 32), QColor("#ffffff"));
        p.fillRect(QRectF(32, 0, 16, 32), QColor("#ed2939"));
    } else if (code == QLatin1String("en")) {
        p.fillRect(QRectF(0, 0, 48, 32), QColor("#012169"));
        p.setPen(QPen(Qt::white, 6.5));
        p.drawLine(QPointF(0, 0), QPointF(48, 32));
        p.drawLine(QPointF(48, 0), QPointF(0, 32));
        p.setPen(QPen(QColor("#c8102e"), 2.2));
        p.drawLine(QPointF(0, 0), QPointF(48, 32));
        p.drawLine(QPointF(48, 0), QPointF(0, 32));
        p.fillRect(QRectF(19, 0, 10, 32), Qt::white);
        p.fillRect(QRectF(0, 11, 48, 10), Qt::white);
        p.fillRect(QRectF(21, 0, 6, 32), QColor("#c8102e"));
        p.fillRect(QRectF(0, 13, 48, 6), QColor("#c8102e"));
    } else {
        // Any other language: a globe.
        QLinearGradient sea(0, 0, 0, 32);
        sea.setColorAt(0, QColor("#e3eef9"));
        sea.setColorAt(1, QColor("#c4d8ee"));
        p.fillRect(QRectF(0, 0, 48, 32), sea);
        const QPointF c(24, 16);
        QRadialGradient globe(c - QPointF(4, 4), 16);
        globe.setColorAt(0, QColor("#4fa3e0"));
        globe.setColorAt(1, QColor("#1c5d99"));
        p.setBrush(globe);
        p.setPen(QPen(QColor("#164a7a"), 1));
        p.drawEllipse(c, 13.5, 13.5);
        p.setPen(QPen(QColor(255, 255, 255, 170), 1));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(c, 6, 13.5);
        p.drawLine(QPointF(c.x(), c.y() - 13.5), QPointF(c.x(), c.y() + 13.5));
        p.drawLine(QPointF(c.x() - 13.5, c.y()), QPointF(c.x() + 13.5, c.y()));
        p.drawLine(QPointF(c.x() - 11.5, c.y() - 7), QPointF(c.x() + 11.5, c.y() - 7));
        p.drawLine(QPointF(c.x() - 11.5, c.y() + 7), QPointF(c.x() + 11.5, c.y() + 7));
    }
    p.setClipping(false);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(0, 0, 0, 70), 1));
    p.drawRoundedRect(QRectF(0.5, 0.5, 47, 31), 3, 3);
    return img;
}

// The program's own icon for the desktop: a clock face with "ZX", drawn for one pixel size.
QImage appIcon(int size)
{
    QImage img(size, size, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 96.0, size / 96.0);
    const QColor primary(QStringLiteral("#1f5fa8"));
    QRadialGradient g(QPointF(38, 34), 60);
    g.setColorAt(0, primary.lighter(135));
    g.setColorAt(1, primary);
    p.setBrush(g);
    p.setPen(QPen(primary.darker(140), 3));
    p.drawEllipse(QRectF(3, 3, 90, 90));
    p.setPen(QPen(QColor(255, 255, 255, 210), size < 32 ? 5 : 3, Qt::SolidLine, Qt::RoundCap));
    for (int i = 0; i < 12; i += size < 32 ? 3 : 1) {
        const double a = i * M_PI / 6;
        const double inner = (i % 3 == 0) ? 33 : 37;
        p.drawLine(QPointF(48 + inner * std::sin(a), 48 - inner * std::cos(a)),
                   QPointF(48 + 41 * std::sin(a), 48 - 41 * std::cos(a)));
    }
    p.setPen(Qt::white);
    p.setFont(font(size < 32 ? 34 : 28, QFont::Black));
    p.drawText(QRectF(0, 26, 96, 44), Qt::AlignCenter, QStringLiteral("ZX"));
    return img;
}

bool save(const QImage &img, const QString &path)
{
    if (!img.save(path, "PNG", 9)) {
        std::fprintf(stderr, "zentrix-brandart: cannot write %s\n", qPrintable(path));
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc == 3 && std::strcmp(argv[1], "--icons") == 0) {
        // The hicolor theme's layout: OUTDIR/NxN/apps/zentrix.png.
        const QDir out(QString::fromLocal8Bit(argv[2]));
        bool ok = true;
        for (int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
            const QString sub = QStringLiteral("%1x%1/apps").arg(size);
            ok &= out.mkpath(sub) && save(appIcon(size), out.filePath(sub + QStringLiteral("/zentrix.png")));
        }
        return ok ? 0 : 1;
    }
    if (argc != 2) {
        std::fprintf(stderr, "usage: zentrix-brandart OUTDIR | --icons OUTDIR\n");
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    bool ok = true;
    for (int n = 1; n <= BrandCount; ++n) {
        const Brand &brand = BrandTable(n);
        ok &= save(startPicture(brand), out.filePath(brand.startPicture.section(u'/', -1)));
        ok &= save(infoPicture(brand), out.filePath(brand.infoPicture.section(u'/', -1)));
    }
    for (const char *code : {"de", "en", "fr", "world"})
        ok &= save(flag(QString::fromLatin1(code)),
                   out.filePath(QStringLiteral("flag-%1.png").arg(QLatin1String(code))));
    return ok ? 0 : 1;
}
