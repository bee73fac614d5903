#include "overlay/ToolCursors.h"

#include "annotations/Palette.h"
#include "annotations/StickerImage.h"

#include <QHash>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace markvane::ToolCursors {
namespace {

constexpr double kStampCursorSize = 44;

QHash<QString, QCursor>& cache() {
    static QHash<QString, QCursor> cursors;
    return cursors;
}

QString alphaSuffix(const QColor& color) {
    return QString::asprintf("-%.2f", color.alphaF());
}

QImage blankImage(int width, int height) {
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

template <typename Make> QCursor cached(const QString& key, Make make) {
    auto it = cache().constFind(key);
    if (it != cache().constEnd())
        return *it;
    return *cache().insert(key, make());
}

} // namespace

QString dotKey(const QColor& color) {
    return QStringLiteral("dot-") + hexString(color) + alphaSuffix(color);
}

QString beamKey(const QColor& color) {
    return QStringLiteral("beam-") + hexString(color) + alphaSuffix(color);
}

QString stampKey(const QString& stamp) {
    return QStringLiteral("stamp-") + stamp;
}

QImage dotImage(const QColor& color) {
    QImage image = blankImage(20, 20);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF circle(4, 4, 12, 12);
    painter.setBrush(color);
    painter.setPen(QPen(Qt::white, 2));
    painter.drawEllipse(circle);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(QColor(0, 0, 0, qRound(0.35 * 255)), 1));
    painter.drawEllipse(circle);
    return image;
}

QImage beamImage(const QColor& color) {
    QImage image = blankImage(14, 22);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath beam;
    beam.moveTo(7, 2);
    beam.lineTo(7, 20);
    beam.moveTo(3, 2);
    beam.lineTo(11, 2);
    beam.moveTo(3, 20);
    beam.lineTo(11, 20);
    painter.strokePath(beam, QPen(Qt::white, 4.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.strokePath(beam, QPen(color, 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    return image;
}

QImage eraserImage() {
    QImage image = blankImage(22, 22);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const QPointF arrow[] = {{2, 2},       {2, 16}, {6, 13},   {8.5, 18.5},
                             {10.5, 17.5}, {8, 12}, {12, 11.5}};
    painter.setBrush(Qt::white);
    painter.setPen(QPen(Qt::black, 1.6));
    painter.drawPolygon(arrow, int(std::size(arrow)));
    QPainterPath cross;
    cross.moveTo(11, 1);
    cross.lineTo(19, 9);
    cross.moveTo(11, 9);
    cross.lineTo(19, 1);
    painter.strokePath(cross, QPen(Qt::white, 3, Qt::SolidLine, Qt::RoundCap));
    painter.strokePath(cross, QPen(systemRed(), 1.8, Qt::SolidLine, Qt::RoundCap));
    return image;
}

QCursor dot(const QColor& color) {
    return cached(dotKey(color),
                  [&] { return QCursor(QPixmap::fromImage(dotImage(color)), 10, 10); });
}

QCursor beam(const QColor& color) {
    return cached(beamKey(color),
                  [&] { return QCursor(QPixmap::fromImage(beamImage(color)), 7, 11); });
}

QCursor eraser() {
    // The tip of the arrow is where erasing happens.
    return cached(QStringLiteral("eraser"),
                  [] { return QCursor(QPixmap::fromImage(eraserImage()), 2, 2); });
}

QCursor stamp(const QString& stamp) {
    return cached(stampKey(stamp), [&] {
        const auto sticker = stickerImage(stamp, kStampCursorSize);
        if (!sticker)
            return QCursor(Qt::ArrowCursor);
        // Cursors are shown pixel for pixel: bring the sticker to one pixel per point.
        const QSize points = (QSizeF(sticker->size()) / sticker->devicePixelRatio()).toSize();
        QImage image = sticker->scaled(points, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        image.setDevicePixelRatio(1);
        return QCursor(QPixmap::fromImage(image), points.width() / 2, points.height() / 2);
    });
}

int cachedCount() {
    return int(cache().size());
}

} // namespace markvane::ToolCursors
