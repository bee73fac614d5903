#include "platform/x11/ShapeRegion.h"

#include <QPainter>
#include <QRegion>
#include <gtest/gtest.h>

using markvane::platform::drawnRegion;

namespace {

QImage transparentImage(int width, int height) {
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

QRegion asRegion(const QList<QRect>& rects) {
    QRegion region;
    for (const QRect& rect : rects)
        region += rect;
    return region;
}

// What X requires of YX-banded rectangles: bands in y order, one y and height
// per band, no overlap between bands, and x order without touching inside a band.
void expectYXBanded(const QList<QRect>& rects) {
    for (qsizetype i = 1; i < rects.size(); ++i) {
        const QRect& previous = rects[i - 1];
        const QRect& current = rects[i];
        if (current.y() == previous.y()) {
            EXPECT_EQ(current.height(), previous.height()) << "rectangle " << i;
            EXPECT_GT(current.x(), previous.x() + previous.width()) << "rectangle " << i;
        } else {
            EXPECT_GE(current.y(), previous.y() + previous.height()) << "rectangle " << i;
        }
    }
}

TEST(ShapeRegion, EmptyTransparentAndNonPremultipliedImages_AreReadByTheirAlpha) {
    EXPECT_TRUE(drawnRegion(QImage(), 1).isEmpty());
    EXPECT_TRUE(drawnRegion(transparentImage(64, 32), 1).isEmpty());
    QImage image(8, 2, QImage::Format_RGBA8888);
    image.fill(Qt::transparent);
    image.setPixelColor(3, 1, QColor(10, 20, 30, 200));
    EXPECT_EQ(drawnRegion(image, 1), QList<QRect>({QRect(3, 1, 1, 1)}));
}

TEST(ShapeRegion, FilledRectangle_IsOneRectangleNotOnePerRow) {
    QImage image = transparentImage(400, 300);
    QPainter(&image).fillRect(QRect(100, 100, 200, 100), Qt::red);
    EXPECT_EQ(drawnRegion(image, 1), QList<QRect>({QRect(100, 100, 200, 100)}));
}

TEST(ShapeRegion, FreeDrawing_CoversExactlyThePixelsAtTheThresholdUpToTheEdgesInBandedOrder) {
    QImage image = transparentImage(300, 200);
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(QPen(Qt::blue, 7));
        painter.drawEllipse(QRect(20, 20, 150, 120));
        painter.drawLine(0, 199, 299, 0);
        painter.fillRect(QRect(200, 150, 40, 30), QColor(0, 255, 0, 90));
    }
    // Just below and at the threshold.
    image.setPixel(280, 190, qPremultiply(qRgba(255, 0, 0, 23)));
    image.setPixel(282, 190, qPremultiply(qRgba(255, 0, 0, 24)));
    const QList<QRect> rects = drawnRegion(image, 24);
    expectYXBanded(rects);

    const QRegion region = asRegion(rects);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            ASSERT_EQ(region.contains(QPoint(x, y)), qAlpha(image.pixel(x, y)) >= 24)
                << "pixel " << x << "," << y;
}

} // namespace
