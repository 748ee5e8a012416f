#include "platform/DeferredPicture.h"

#include <QFile>
#include <QIconEngine>
#include <QImageReader>
#include <QPainter>
#include <QtEndian>

#include <memory>
#include <optional>

namespace zx {
namespace {

// A PNG file starts with its 8-byte signature and the IHDR chunk: length (4 bytes), "IHDR",
// then width and height as 32-bit big-endian numbers.
QSize pngHeaderSize(const QByteArray &head)
{
    static const char signature[] = "\x89PNG\r\n\x1a\n";
    if (head.size() < 24 || !head.startsWith(QByteArray::fromRawData(signature, 8)) ||
        head.mid(12, 4) != "IHDR")
        return {};
    const quint32 width = qFromBigEndian<quint32>(head.constData() + 16);
    const quint32 height = qFromBigEndian<quint32>(head.constData() + 20);
    // The format allows up to 2^31 - 1; anything beyond is a damaged header.
    if (width == 0 || height == 0 || width > 0x7fffffffu || height > 0x7fffffffu)
        return {};
    return QSize(int(width), int(height));
}

// Stands in for QIcon(path) until the picture is needed, then hands every request to it.
class DeferredIconEngine : public QIconEngine {
  public:
    explicit DeferredIconEngine(const QString &path) : path_(path) {}

    void paint(QPainter *painter, const QRect &rect, QIcon::Mode mode, QIcon::State state) override
    {
        loaded().paint(painter, rect, Qt::AlignCenter, mode, state);
    }
    QPixmap pixmap(const QSize &size, QIcon::Mode mode, QIcon::State state) override
    {
        return loaded().pixmap(size, 1.0, mode, state);
    }
    QPixmap scaledPixmap(const QSize &size, QIcon::Mode mode, QIcon::State state, qreal scale) override
    {
        // Asked in device pixels; the icon takes the size in its own units.
        return loaded().pixmap(size / scale, scale, mode, state);
    }
    QSize actualSize(const QSize &size, QIcon::Mode mode, QIcon::State state) override
    {
        if (icon_)
            return icon_->actualSize(size, mode, state);
        // As the decoded icon answers: its one picture, shrunk to fit where it is larger.
        QSize actual = naturalSize();
        if (actual.isValid() && (actual.width() > size.width() || actual.height() > size.height()))
            actual.scale(size, Qt::KeepAspectRatio);
        return actual;
    }
    QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override
    {
        return loaded().availableSizes(mode, state);
    }
    bool isNull() override { return icon_ ? icon_->isNull() : !naturalSize().isValid(); }
    QString key() const override { return QStringLiteral("DeferredIconEngine"); }
    QIconEngine *clone() const override
    {
        auto *copy = new DeferredIconEngine(path_);
        copy->natural_ = natural_;
        if (icon_)
            copy->icon_ = std::make_unique<QIcon>(*icon_);
        return copy;
    }

  private:
    QSize naturalSize()
    {
        if (!natural_)
            natural_ = PictureSize(path_);
        return *natural_;
    }
    const QIcon &loaded()
    {
        if (!icon_)
            icon_ = std::make_unique<QIcon>(path_);
        return *icon_;
    }

    QString path_;
    std::optional<QSize> natural_;
    std::unique_ptr<QIcon> icon_;
};

} // namespace

QSize PictureSize(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QSize size = pngHeaderSize(file.read(24));
    if (size.isValid())
        return size;
    file.close();
    return QImageReader(path).size();
}

QIcon DeferredFileIcon(const QString &path)
{
    return QIcon(new DeferredIconEngine(path));
}

} // namespace zx
