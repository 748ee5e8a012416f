#include "platform/DeferredPicture.h"

#include "support/TempDir.h"

#include <QBuffer>
#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

using namespace zx;

namespace {

QByteArray encoded(const QImage &image, const char *format)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes;
}

QImage flag()
{
    QImage image(48, 32, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.fillRect(0, 0, 48, 11, Qt::black);
    p.fillRect(0, 11, 48, 10, Qt::red);
    p.fillRect(4, 21, 40, 11, Qt::yellow);
    return image;
}

} // namespace

// The size comes from the PNG header, or from Qt's reader for other formats; a damaged header
// is no size, never a made-up one.
TEST(DeferredPicture, SizeFromTheHeaderOrTheReader)
{
    test::TempDir dir;
    const QByteArray png = encoded(flag(), "PNG");
    QByteArray hugeWidth = png;
    hugeWidth[16] = char(0x80);
    const struct {
        const char *name;
        QByteArray content;
        QSize size;
    } cases[] = {{"flag.png", png, QSize(48, 32)},
                 {"flag.bmp", encoded(flag(), "BMP"), QSize(48, 32)},
                 {"cut.png", png.left(20), QSize()},
                 {"huge.png", hugeWidth, QSize()}};
    for (const auto &c : cases) {
        dir.write(c.name, c.content);
        EXPECT_EQ(PictureSize(dir.file(c.name)), c.size) << c.name;
    }
    EXPECT_FALSE(PictureSize(dir.file("missing.png")).isValid());
}

// Undecoded, the icon already answers the layout's questions; painted, it is QIcon(path).
TEST(DeferredPicture, IconLooksLikeTheFileIcon)
{
    test::TempDir dir;
    dir.write("flag.png", encoded(flag(), "PNG"));
    const QIcon deferred = DeferredFileIcon(dir.file("flag.png"));
    const QIcon direct(dir.file("flag.png"));
    EXPECT_FALSE(deferred.isNull());
    EXPECT_EQ(deferred.actualSize(QSize(36, 24)), direct.actualSize(QSize(36, 24)));
    EXPECT_EQ(deferred.actualSize(QSize(100, 100)), QSize(48, 32));
    for (const qreal ratio : {1.0, 2.0}) {
        const QPixmap a = deferred.pixmap(QSize(36, 24), ratio);
        const QPixmap b = direct.pixmap(QSize(36, 24), ratio);
        EXPECT_EQ(a.devicePixelRatio(), b.devicePixelRatio()) << ratio;
        EXPECT_EQ(a.toImage(), b.toImage()) << ratio;
    }
    EXPECT_TRUE(DeferredFileIcon(dir.file("missing.png")).isNull());
}
