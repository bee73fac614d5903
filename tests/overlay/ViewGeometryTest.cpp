#include "overlay/ViewGeometry.h"

#include <gtest/gtest.h>

namespace markvane {
namespace {

TEST(ViewGeometry, ConvertsThroughTheScreenOriginOrTheZoom) {
    // A second display to the right of the main one, its lower edge 100 points up.
    ViewGeometry g;
    g.screenFrame = QRectF(1920, 100, 1280, 1024);
    g.viewSize = QSizeF(1280, 1024);
    EXPECT_EQ(g.viewToGlobal(QPointF(10, 20)), QPointF(1930, 120));
    EXPECT_EQ(g.globalToView(QPointF(1930, 120)), QPointF(10, 20));
    EXPECT_EQ(g.visibleGlobalRect(), g.screenFrame);

    // Frozen at 200 %: the view's centre shows the zoom centre.
    g.frozen = true;
    g.zoomScale = 2;
    g.zoomCenterGlobal = QPointF(2500, 600);
    EXPECT_EQ(g.viewToGlobal(QPointF(640, 512)), QPointF(2500, 600));
    EXPECT_EQ(g.viewToGlobal(QPointF(740, 412)), QPointF(2550, 550));
    EXPECT_EQ(g.globalToView(QPointF(2550, 550)), QPointF(740, 412));
    EXPECT_EQ(g.visibleGlobalRect(), QRectF(2180, 344, 640, 512));

    // Being frozen, not the scale, picks the formula.
    g.zoomScale = 1;
    g.zoomCenterGlobal = QPointF(0, 0);
    EXPECT_EQ(g.viewToGlobal(QPointF(640, 512)), QPointF(0, 0));
}

} // namespace
} // namespace markvane
