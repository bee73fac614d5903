#include "overlay/ToolCursors.h"

#include <gtest/gtest.h>

namespace markvane {
namespace {

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
