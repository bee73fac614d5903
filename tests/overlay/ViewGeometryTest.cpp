#include "overlay/ViewGeometry.h"
#include "overlay/FreezeZoom.h"

#include <gtest/gtest.h>

namespace markvane {
namespace {

// A second display to the right of the main one, lower edge 100 points up.
ViewGeometry liveGeometry() {
    ViewGeometry g;
    g.screenFrame = QRectF(1920, 100, 1280, 1024);
    g.viewSize = QSizeF(1280, 1024);
    return g;
}

TEST(ViewGeometry, Live_AddsTheScreenOriginBothWays) {
    const ViewGeometry g = liveGeometry();
    EXPECT_EQ(g.viewToGlobal(QPointF(10, 20)), QPointF(1930, 120));
    EXPECT_EQ(g.globalToView(QPointF(1930, 120)), QPointF(10, 20));
    EXPECT_EQ(g.visibleGlobalRect(), g.screenFrame);
    EXPECT_EQ(g.drawingOrigin(), QPointF(1920, 100));
    EXPECT_EQ(g.drawingScale(), 1);
}

TEST(ViewGeometry, Frozen_ViewCentreIsZoomCentreAndConversionsInvert) {
    ViewGeometry g = liveGeometry();
    g.frozen = true;
    g.zoomScale = 2;
    g.zoomCenterGlobal = QPointF(2500, 600);
    EXPECT_EQ(g.viewToGlobal(QPointF(640, 512)), QPointF(2500, 600));
    // 100 view points right of the centre are 50 global points at 200 %.
    EXPECT_EQ(g.viewToGlobal(QPointF(740, 412)), QPointF(2550, 550));
    EXPECT_EQ(g.globalToView(QPointF(2550, 550)), QPointF(740, 412));
    EXPECT_EQ(g.visibleGlobalRect(), QRectF(2500 - 320, 600 - 256, 640, 512));
    EXPECT_EQ(g.globalToView(QRectF(2500, 600, 10, 20)), QRectF(640, 512, 20, 40));
}

TEST(ViewGeometry, FrozenAtScaleOne_StillUsesTheZoomCentre) {
    // Whether the view is frozen, not the scale, picks the formula.
    ViewGeometry g = liveGeometry();
    g.frozen = true;
    g.zoomCenterGlobal = QPointF(0, 0);
    EXPECT_EQ(g.viewToGlobal(QPointF(640, 512)), QPointF(0, 0));
}

TEST(ViewGeometry, WidgetFlip_IsItsOwnInverseForPointsAndRects) {
    EXPECT_EQ(widgetToView(QPointF(5, 0), 100), QPointF(5, 100));
    EXPECT_EQ(viewToWidget(QPointF(5, 100), 100), QPointF(5, 0));
    const QRectF widget(10, 0, 30, 20); // the top strip of a 100 high view
    EXPECT_EQ(widgetToView(widget, 100), QRectF(10, 80, 30, 20));
    EXPECT_EQ(viewToWidget(widgetToView(widget, 100), 100), widget);
}

TEST(FreezeZoom, Reset_ReturnsToLiveAndAdvancesTheGeneration) {
    FreezeZoom zoom;
    zoom.zoomScale = 3;
    zoom.zoomCenterGlobal = QPointF(4, 5);
    zoom.frozenSnapshot = QImage(2, 2, QImage::Format_ARGB32);
    zoom.zoomPercentFrame = QRectF(0, 0, 5, 5);
    zoom.zoomResetFrame = QRectF(5, 0, 5, 5);
    zoom.zoomCapturePending = true;
    const auto generation = zoom.zoomGeneration;
    zoom.reset();
    EXPECT_FALSE(zoom.isFrozen());
    EXPECT_EQ(zoom.zoomScale, 1);
    EXPECT_EQ(zoom.zoomCenterGlobal, QPointF());
    EXPECT_FALSE(zoom.zoomPercentFrame || zoom.zoomResetFrame || zoom.zoomCapturePending);
    EXPECT_EQ(zoom.zoomGeneration, generation + 1);
}

} // namespace
} // namespace markvane
