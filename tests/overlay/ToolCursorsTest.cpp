#include "overlay/ToolCursors.h"
#include "annotations/Palette.h"

#include <gtest/gtest.h>

namespace markvane {
namespace {

TEST(ToolCursors, Keys_NameColourAndAlpha) {
    EXPECT_EQ(ToolCursors::dotKey(QColor(255, 0, 0)), "dot-#FF0000-1.00");
    QColor translucent(0, 128, 255);
    translucent.setAlphaF(0.5);
    EXPECT_EQ(ToolCursors::beamKey(translucent), "beam-#0080FF-0.50");
    EXPECT_EQ(ToolCursors::stampKey("X"), "stamp-X");
}

TEST(ToolCursors, DotImage_ColouredCentreWhiteRingTransparentCorners) {
    const QImage image = ToolCursors::dotImage(QColor(0, 0, 255));
    ASSERT_EQ(image.size(), QSize(20, 20));
    EXPECT_EQ(image.pixelColor(10, 10), QColor(0, 0, 255));
    EXPECT_EQ(image.pixelColor(0, 0).alpha(), 0);
    // On the ring (radius 6), the white stroke dominates under the thin dark line.
    const QColor ring = image.pixelColor(10, 3);
    EXPECT_GT(ring.alpha(), 0);
    EXPECT_GT(ring.red(), 100);
}

TEST(ToolCursors, BeamImage_StemInColourWithWhiteEdge) {
    const QImage image = ToolCursors::beamImage(QColor(255, 0, 0));
    ASSERT_EQ(image.size(), QSize(14, 22));
    const QColor stem = image.pixelColor(7, 11);
    EXPECT_GT(stem.red(), 200);
    EXPECT_LT(stem.green(), 60);
    EXPECT_GT(image.pixelColor(8, 11).green(), 200); // the white edge beside it
    EXPECT_EQ(image.pixelColor(1, 11).alpha(), 0);
    EXPECT_GT(image.pixelColor(10, 2).alpha(), 0); // a serif
}

TEST(ToolCursors, EraserImage_WhiteArrowAndRedCross) {
    const QImage image = ToolCursors::eraserImage();
    ASSERT_EQ(image.size(), QSize(22, 22));
    EXPECT_EQ(image.pixelColor(4, 10), QColor(Qt::white));
    const QColor cross = image.pixelColor(15, 5);
    EXPECT_GT(cross.red(), 180);
    EXPECT_LT(cross.green(), 120);
    EXPECT_EQ(image.pixelColor(20, 20).alpha(), 0);
}

TEST(ToolCursors, Cursors_AreMadeOncePerKeyWithTheirHotSpots) {
    const int before = ToolCursors::cachedCount();
    const QCursor first = ToolCursors::dot(QColor(1, 2, 3));
    const QCursor again = ToolCursors::dot(QColor(1, 2, 3));
    EXPECT_EQ(ToolCursors::cachedCount(), before + 1);
    EXPECT_EQ(first.pixmap().cacheKey(), again.pixmap().cacheKey());
    EXPECT_EQ(first.hotSpot(), QPoint(10, 10));
    EXPECT_EQ(ToolCursors::beam(QColor(1, 2, 3)).hotSpot(), QPoint(7, 11));
    EXPECT_EQ(ToolCursors::cachedCount(), before + 2);
    EXPECT_EQ(ToolCursors::eraser().hotSpot(), QPoint(2, 2));
}

} // namespace
} // namespace markvane
