#include "app/StatusIcon.h"

#include <QGuiApplication>
#include <QPainter>
#include <QPalette>

namespace markvane {

StatusIconStyle statusIconStyleFromPalette(bool drawMode) {
    const QPalette palette = QGuiApplication::palette();
    return {drawMode, palette.color(QPalette::Highlight), palette.color(QPalette::WindowText)};
}

void paintStatusIcon(QPainter& painter, const QRectF& rect, const StatusIconStyle& style) {
    const qreal u = rect.width() / 24.0;
    const QColor colour = style.drawMode ? style.accent : style.monochrome;
    const auto at = [&](qreal x, qreal y) { return rect.topLeft() + QPointF(x * u, y * u); };

    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    QPen pen(colour, 2 * u);
    pen.setCapStyle(Qt::RoundCap);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(QRectF(at(4, 4), QSizeF(16 * u, 16 * u)));
    painter.drawLine(at(12, 2), at(12, 6));
    painter.drawLine(at(12, 18), at(12, 22));
    painter.drawLine(at(2, 12), at(6, 12));
    painter.drawLine(at(18, 12), at(22, 12));
    if (style.drawMode) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(colour);
        painter.drawEllipse(QRectF(at(9, 9), QSizeF(6 * u, 6 * u)));
    }
    painter.restore();
}

QImage statusIconImage(const StatusIconStyle& style, int pixels) {
    QImage image(pixels, pixels, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    paintStatusIcon(painter, QRectF(0, 0, pixels, pixels), style);
    return image;
}

QIcon statusIcon(const StatusIconStyle& style) {
    QIcon icon;
    for (int pixels : {16, 18, 22, 24, 32, 48, 64})
        icon.addPixmap(QPixmap::fromImage(statusIconImage(style, pixels)));
    return icon;
}

} // namespace markvane
