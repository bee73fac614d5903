#include "overlay/ToolCursors.h"

#include <gtest/gtest.h>

namespace markvane {
namespace {

TEST(ToolCursors, DotIsColouredInsideAWhiteRing) {
    const QImage image = ToolCursors::dotImage(QColor(0, 0, 255));
    ASSERT_EQ(image.size(), QSize(20, 20));
    EXPECT_EQ(image.pixelColor(10, 10), QColor(0, 0, 255));
    EXPECT_GT(image.pixelColor(10, 3).red(), 100); // the ring
    EXPECT_EQ(image.pixelColor(0, 0).alpha(), 0);
    EXPECT_GT(ToolCursors::eraserImage().pixelColor(15, 5).red(), 180); // its red cross
}

TEST(ToolCursors, MadeOncePerColourAndAlphaWithTheirHotSpots) {
    const int before = ToolCursors::cachedCount();
    const QCursor first = ToolCursors::dot(QColor(1, 2, 3));
    EXPECT_EQ(ToolCursors::dot(QColor(1, 2, 3)).pixmap().cacheKey(), first.pixmap().cacheKey());
    EXPECT_EQ(ToolCursors::cachedCount(), before + 1);
    EXPECT_NE(ToolCursors::dot(QColor(1, 2, 3, 128)).pixmap().cacheKey(),
              first.pixmap().cacheKey());
    EXPECT_EQ(first.hotSpot(), QPoint(10, 10));
    EXPECT_EQ(ToolCursors::beam(QColor(1, 2, 3)).hotSpot(), QPoint(7, 11));
    EXPECT_EQ(ToolCursors::eraser().hotSpot(), QPoint(2, 2)); // the arrow's tip
}

} // namespace
} // namespace markvane
