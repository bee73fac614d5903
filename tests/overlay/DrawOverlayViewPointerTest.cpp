#include "DrawViewFixture.h"

namespace markvane::testing {
namespace {

using DrawViewPointer = DrawViewTest;

TEST_F(DrawViewPointer, EraserClickTakesTheTopmostAndADragEverythingItMeets) {
    const QUuid bottom = addRectangle({100, 100}, {300, 300});
    addRectangle({150, 150}, {250, 250});
    const QUuid away = addRectangle({600, 400}, {650, 450});
    store.setTool(Tool::eraser);
    drag({200, 200}, {202, 202}); // a wobble of 3 points is a click
    ASSERT_EQ(store.annotations().size(), 2);
    EXPECT_EQ(store.annotations().first().id, bottom);
    EXPECT_FALSE(store.eraserRect());
    press({90, 320});
    dragTo({320, 200});
    EXPECT_EQ(store.eraserRect(), QRectF(90, 200, 230, 120));
    release({320, 200});
    ASSERT_EQ(store.annotations().size(), 1);
    EXPECT_EQ(store.annotations().first().id, away);
}

TEST_F(DrawViewPointer, ToolKeyOrDrawModeOffMidDragStillFinishesIt) {
    addRectangle({100, 100}, {150, 150});
    store.setTool(Tool::eraser);
    press({90, 90});
    dragTo({160, 160});
    store.setTool(Tool::pen); // a drawing shortcut typed mid-drag
    release({160, 160});
    EXPECT_TRUE(store.annotations().isEmpty());
    EXPECT_FALSE(store.eraserRect()) << "no rectangle may stay behind";

    press({100, 100});
    dragTo({150, 120});
    view->setDrawModeEnabled(false);
    EXPECT_FALSE(view->isCursorPollActive());
    EXPECT_FALSE(store.activeAnnotation());
    EXPECT_EQ(store.annotations().size(), 1);
}

TEST_F(DrawViewPointer, SnipeDragCapturesOnThisScreenAndAClickDoesNot) {
    store.setTool(Tool::snipe);
    drag({100, 100}, {102, 101});
    EXPECT_TRUE(capture.requests.isEmpty());
    EXPECT_FALSE(store.snipeRect());
    drag({100, 300}, {220, 200});
    ASSERT_EQ(capture.requests.size(), 1);
    EXPECT_EQ(capture.requests[0].rect, QRectF(100, 200, 120, 100));
    EXPECT_EQ(capture.requests[0].screen.name, "test");
}

TEST_F(DrawViewPointer, ShiftMakesASquareAndAltFillsOnlyShapes) {
    store.setTool(Tool::rectangle);
    drag({100, 100}, {180, 140}, Qt::ShiftModifier);
    store.setTool(Tool::ellipse);
    drag({300, 100}, {380, 140}, Qt::AltModifier);
    store.setTool(Tool::ruler);
    drag({300, 300}, {380, 340}, Qt::AltModifier);
    ASSERT_EQ(store.annotations().size(), 3);
    EXPECT_EQ(store.annotations()[0].points, (QList<QPointF>{{100, 100}, {180, 180}}));
    EXPECT_FALSE(store.annotations()[0].filled);
    EXPECT_EQ(store.annotations()[1].points, (QList<QPointF>{{300, 100}, {380, 140}}));
    EXPECT_TRUE(store.annotations()[1].filled);
    EXPECT_FALSE(store.annotations()[2].filled);
}

TEST_F(DrawViewPointer, PointsOnADisplayAwayFromTheOriginAreGlobal) {
    screen.frame = screen.visibleFrame = QRectF(800, 600, 400, 300);
    view = std::make_unique<DrawOverlayView>(screen, store, host,
                                             DrawOverlayView::Services{&clock, nullptr, {}});
    store.setTool(Tool::pen);
    mouseAt(QEvent::MouseButtonPress, QPointF(10, 290), Qt::LeftButton);
    mouseAt(QEvent::MouseMove, QPointF(50, 250), Qt::LeftButton);
    EXPECT_EQ(store.activeAnnotation()->points, (QList<QPointF>{{810, 610}, {850, 650}}));
}

TEST_F(DrawViewPointer, TopStripAndOtherWindowsAreLeftToWhatIsBelow) {
    store.setTool(Tool::line);
    EXPECT_EQ(view->menuStripRect(), QRect(0, 0, 800, 24));
    drag({100, 590}, {200, 590});
    EXPECT_TRUE(store.annotations().isEmpty());
    host.otherWindow = QRectF(300, 0, 100, 600);
    drag({350, 50}, {360, 200});
    EXPECT_TRUE(store.annotations().isEmpty());
    press({100, 100});
    dragTo({200, 100});
    dragTo({350, 100}); // over the other window: the stroke stays as it was
    EXPECT_EQ(store.activeAnnotation()->points, (QList<QPointF>{{100, 100}, {200, 100}}));
}

TEST_F(DrawViewPointer, MovePressSelectsAndDragsInOneUndoStep) {
    const QUuid rect = addRectangle({100, 100}, {200, 200});
    press({150, 150});
    release({150, 150});
    EXPECT_EQ(store.selectedID(), rect);
    EXPECT_EQ(undoSteps(), 1) << "a press without a move records nothing";
    press({500, 500});
    release({500, 500});
    EXPECT_FALSE(store.selectedID());

    press({150, 100}); // on the unselected rectangle's lower edge
    EXPECT_EQ(store.selectedID(), rect);
    EXPECT_EQ(view->pointerShape(), PointerShape::closedHand);
    dragTo({160, 110});
    dragTo({170, 130});
    release({170, 130});
    EXPECT_EQ(store.annotations().first().points, (QList<QPointF>{{120, 130}, {220, 230}}));
    EXPECT_EQ(undoSteps(), 2);
}

TEST_F(DrawViewPointer, HandleDragResizesAndShiftKeepsTheAspect) {
    store.setSelectedID(addRectangle({100, 100}, {300, 200}));
    press({300, 150}); // the right side's middle
    EXPECT_EQ(view->pointerShape(), PointerShape::resizeLeftRight);
    dragTo({350, 170});
    release({400, 170});
    EXPECT_EQ(store.annotations().first().points, (QList<QPointF>{{100, 100}, {350, 200}}));
    press({350, 200}); // the top-right corner of a 250 × 100 box
    EXPECT_EQ(view->pointerShape(), PointerShape::crosshair);
    dragTo({450, 220}, Qt::ShiftModifier);
    release({450, 220});
    EXPECT_EQ(store.annotations().first().points, (QList<QPointF>{{100, 100}, {450, 240}}));
    EXPECT_EQ(undoSteps(), 3);
}

TEST_F(DrawViewPointer, DoubleClickOnATextWithMoveOpensIt) {
    addText(QStringLiteral("hello"), {100, 100}, 20);
    store.setTool(Tool::move);
    press({105, 105});
    release({105, 105});
    EXPECT_FALSE(view->textEditor());
    mouse(QEvent::MouseButtonDblClick, {105, 105}, Qt::LeftButton);
    ASSERT_TRUE(view->textEditor());
    EXPECT_EQ(view->textEditor()->toPlainText(), "hello");
    EXPECT_TRUE(store.annotations().isEmpty()) << "out of the store while edited";
}

TEST_F(DrawViewPointer, PointerShapeFollowsToolSelectionAndWhatLiesBelow) {
    const std::pair<Tool, PointerShape> expected[] = {
        {Tool::pen, PointerShape::dot},         {Tool::ruler, PointerShape::dot},
        {Tool::text, PointerShape::iBeam},      {Tool::stamp, PointerShape::stamp},
        {Tool::eraser, PointerShape::eraser},   {Tool::snipe, PointerShape::crosshair},
        {Tool::redact, PointerShape::crosshair}};
    for (const auto& [tool, shape] : expected) {
        store.setTool(tool);
        hover({400, 300});
        EXPECT_EQ(view->pointerShape(), shape) << toolRawValue(tool).toStdString();
    }
    store.setTool(Tool::pen);
    store.setPaletteIndex(3);
    hover({400, 300});
    EXPECT_EQ(view->cursor().pixmap().toImage().pixelColor(10, 10), store.currentColor());

    const QUuid rect = addRectangle({100, 100}, {200, 200});
    hover({400, 300});
    EXPECT_EQ(view->pointerShape(), PointerShape::arrow);
    hover({150, 150});
    EXPECT_EQ(view->pointerShape(), PointerShape::openHand);
    store.setSelectedID(rect);
    hover({150, 200}); // the top side's middle
    EXPECT_EQ(view->pointerShape(), PointerShape::resizeUpDown);
}

TEST_F(DrawViewPointer, FrozenViewConvertsThroughTheZoomAndItsBadge) {
    freeze(2, {300, 200});
    store.setTool(Tool::pen);
    press({400, 300}); // the view's centre
    EXPECT_EQ(store.activeAnnotation()->points.first(), QPointF(300, 200));
    release({400, 300});

    view->freezeZoom().zoomPercentFrame = QRectF(350, 540, 60, 30);
    press({360, 555});
    EXPECT_EQ(view->freezeZoom().zoomScale, 1);
    EXPECT_EQ(view->freezeZoom().zoomCenterGlobal, QPointF(400, 300));
    EXPECT_TRUE(view->freezeZoom().isFrozen());
    EXPECT_FALSE(store.activeAnnotation()) << "a press on the badge draws nothing";

    view->freezeZoom().zoomCapturePending = true;
    view->setDrawModeEnabled(false);
    EXPECT_FALSE(view->freezeZoom().isFrozen() || view->freezeZoom().zoomCapturePending);
}

} // namespace
} // namespace markvane::testing
