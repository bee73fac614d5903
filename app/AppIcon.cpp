#include "app/AppIcon.h"

#include "app/StatusIcon.h"

#include <QPainter>

namespace markvane {

QImage appIconImage(int pixels) {
    QImage image(pixels, pixels, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal u = pixels / 24.0;
    painter.setPen(QPen(QColor(0xC9, 0xCE, 0xD6), 0.5 * u));
    painter.setBrush(Qt::white);
    painter.drawEllipse(QPointF(12 * u, 12 * u), 11.75 * u, 11.75 * u);
    const QColor blue(0x2F, 0x6F, 0xDB);
    paintStatusIcon(painter, QRectF(0, 0, pixels, pixels), {true, blue, blue});
    return image;
}

QIcon appIcon() {
    QIcon icon;
    for (int pixels : {16, 22, 24, 32, 48, 64, 128, 256})
        icon.addPixmap(QPixmap::fromImage(appIconImage(pixels)));
    return icon;
}

} // namespace markvane
