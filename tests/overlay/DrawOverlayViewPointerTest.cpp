#include "DrawViewFixture.h"

namespace markvane::testing {
namespace {

using DrawViewPointer = DrawViewTest;

// ---- Eraser ----

TEST_F(DrawViewPointer, EraserClick_ErasesOnlyTheTopmostUnderThePress) {
    const QUuid bottom = addRectangle({100, 100}, {300, 300});
    addRectangle({150, 150}, {250, 250});
    store.setTool(Tool::eraser);
    // A wobble of 3 points is still a click.
    press({200, 200});
    dragTo({202, 202});
    EXPECT_EQ(store.eraserRect(), QRectF(200, 200, 2, 2));
    release({202, 202});
    ASSERT_EQ(store.annotations().size(), 1);
    EXPECT_EQ(store.annotations().first().id, bottom);
    EXPECT_FALSE(store.eraserRect());
}

TEST_F(DrawViewPointer, EraserDrag_ErasesEverythingTheRectangleMeets) {
    addRectangle({100, 100}, {150, 150});
    addRectangle({300, 100}, {350, 150});
    const QUuid away = addRectangle({600, 400}, {650, 450});
    store.setTool(Tool::eraser);
    drag({120, 80}, {320, 120}); // dragged right and up
    ASSERT_EQ(store.annotations().size(), 1);
    EXPECT_EQ(store.annotations().first().id, away);
    EXPECT_FALSE(store.eraserRect());
    EXPECT_EQ(undoDepth(), 4) << "three rectangles and one erase";
}

TEST_F(DrawViewPointer, ToolKeyDuringAnEraserDrag_StillFinishesTheErase) {
    addRectangle({100, 100}, {150, 150});
    store.setTool(Tool::eraser);
    press({90, 90});
    dragTo({160, 160});
    store.setTool(Tool::pen); // a drawing shortcut typed mid-drag
    release({160, 160});
    EXPECT_TRUE(store.annotations().isEmpty());
    EXPECT_FALSE(store.eraserRect()) << "no rectangle may stay behind";
}

TEST_F(DrawViewPointer, DrawModeOffMidStroke_FinishesTheStroke) {
    store.setTool(Tool::pen);
    press({100, 100});
    dragTo({150, 120});
    view->setDrawModeEnabled(false);
    EXPECT_FALSE(store.activeAnnotation());
    EXPECT_EQ(store.annotations().size(), 1);
}

// ---- Snipe ----

TEST_F(DrawViewPointer, SnipeDrag_CapturesTheRectangleOnThisScreen) {
    store.setTool(Tool::snipe);
    drag({100, 300}, {220, 200});
    ASSERT_EQ(capture.requests.size(), 1);
    EXPECT_EQ(capture.requests[0].rect, QRectF(100, 200, 120, 100));
    EXPECT_EQ(capture.requests[0].screen.name, "test");
    EXPECT_FALSE(store.snipeRect());
    QImage pixels(120, 100, QImage::Format_ARGB32);
    pixels.fill(Qt::green);
    capture.finish(0, pixels);
    ASSERT_EQ(store.annotations().size(), 1);
    EXPECT_EQ(store.annotations().first().tool, Tool::snipe);
}

TEST_F(DrawViewPointer, SnipeClick_ClearsTheRectangleWithoutCapture) {
    store.setTool(Tool::snipe);
    press({100, 100});
    EXPECT_EQ(store.snipeRect(), QRectF(100, 100, 0, 0));
    dragTo({102, 101});
    release({102, 101});
    EXPECT_TRUE(capture.requests.isEmpty());
    EXPECT_FALSE(store.snipeRect());
}

// ---- Strokes and shapes ----

TEST_F(DrawViewPointer, ShiftDragWithRectangle_MakesASquare) {
    store.setTool(Tool::rectangle);
    drag({100, 100}, {180, 140}, Qt::ShiftModifier);
    ASSERT_EQ(store.annotations().size(), 1);
    const Annotation& square = store.annotations().first();
    EXPECT_EQ(square.points, (QList<QPointF>{{100, 100}, {180, 180}}));
    EXPECT_FALSE(square.filled);
}

TEST_F(DrawViewPointer, AltDragWithEllipse_FillsIt) {
    store.setTool(Tool::ellipse);
    drag({100, 100}, {180, 140}, Qt::AltModifier);
    ASSERT_EQ(store.annotations().size(), 1);
    EXPECT_TRUE(store.annotations().first().filled);
    EXPECT_EQ(store.annotations().first().points, (QList<QPointF>{{100, 100}, {180, 140}}));
}

TEST_F(DrawViewPointer, PenDrag_RecordsEveryPointInGlobalCoordinates) {
    // A second display above-right of the main one: its view origin is not global (0, 0).
    screen.frame = QRectF(800, 600, 400, 300);
    screen.visibleFrame = screen.frame;
    view = std::make_unique<DrawOverlayView>(screen, store, host,
                                             DrawOverlayView::Services{&clock, nullptr, {}});
    QMouseEvent pressEvent(QEvent::MouseButtonPress, QPointF(10, 290), QPointF(), Qt::LeftButton,
                           Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(view.get(), &pressEvent);
    QMouseEvent moveEvent(QEvent::MouseMove, QPointF(50, 250), QPointF(), Qt::NoButton,
                          Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(view.get(), &moveEvent);
    ASSERT_TRUE(store.activeAnnotation());
    EXPECT_EQ(store.activeAnnotation()->points, (QList<QPointF>{{810, 610}, {850, 650}}));
    QMouseEvent releaseEvent(QEvent::MouseButtonRelease, QPointF(50, 250), QPointF(),
                             Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(view.get(), &releaseEvent);
    EXPECT_EQ(store.annotations().size(), 1);
    EXPECT_EQ(store.tool(), Tool::pen);
}

TEST_F(DrawViewPointer, StampClick_PlacesOneStampPerClickAndKeepsTheTool) {
    store.setTool(Tool::stamp);
    press({100, 100});
    release({100, 100});
    press({200, 100});
    dragTo({250, 100});
    release({250, 100});
    ASSERT_EQ(store.annotations().size(), 2);
    EXPECT_EQ(store.annotations()[1].points, (QList<QPointF>{{200, 100}}));
    EXPECT_EQ(store.tool(), Tool::stamp);
}

TEST_F(DrawViewPointer, DragOverAnotherProgramWindow_LeavesTheStrokeUnchanged) {
    host.otherWindow = QRectF(300, 0, 100, 600);
    store.setTool(Tool::line);
    press({100, 100});
    dragTo({200, 100});
    dragTo({350, 100});
    ASSERT_TRUE(store.activeAnnotation());
    EXPECT_EQ(store.activeAnnotation()->points, (QList<QPointF>{{100, 100}, {200, 100}}));
    release({350, 100});
}

TEST_F(DrawViewPointer, PressesInTheTopStripOrOnAnotherWindow_PassThrough) {
    store.setTool(Tool::pen);
    EXPECT_EQ(view->menuStripRect(), QRect(0, 0, 800, 24));
    EXPECT_TRUE(view->passesPointerThrough(QPointF(100, 10)));
    drag({100, 590}, {200, 590});
    host.otherWindow = QRectF(0, 0, 100, 100);
    drag({50, 50}, {60, 60});
    EXPECT_TRUE(store.annotations().isEmpty());
    EXPECT_FALSE(store.activeAnnotation());
    drag({100, 500}, {200, 500});
    EXPECT_EQ(store.annotations().size(), 1);
}

// ---- Move tool ----

TEST_F(DrawViewPointer, MovePressOnUnselected_SelectsAndMovesInOneUndoStep) {
    const QUuid rect = addRectangle({100, 100}, {200, 200});
    const int before = undoDepth();
    ASSERT_EQ(before, 1);
    store.redo();
    store.setTool(Tool::move);
    press({150, 100}); // on its lower edge
    EXPECT_EQ(store.selectedID(), rect);
    EXPECT_EQ(view->pointerShape(), PointerShape::closedHand);
    dragTo({160, 110});
    dragTo({170, 130});
    release({170, 130});
    EXPECT_EQ(store.annotations().first().points, (QList<QPointF>{{120, 130}, {220, 230}}));
    store.undo();
    EXPECT_EQ(store.annotations().first().points, (QList<QPointF>{{100, 100}, {200, 200}}));
    EXPECT_EQ(undoDepth(), 1) << "the whole drag is one step";
}

TEST_F(DrawViewPointer, MovePressWithoutDrag_RecordsNoStepAndEmptySpaceDeselects) {
    const QUuid rect = addRectangle({100, 100}, {200, 200});
    store.setTool(Tool::move);
    press({150, 150});
    release({150, 150});
    EXPECT_EQ(store.selectedID(), rect);
    EXPECT_EQ(undoDepth(), 1);
    store.redo();
    press({500, 500});
    release({500, 500});
    EXPECT_FALSE(store.selectedID());
}

TEST_F(DrawViewPointer, HandleDrag_ResizesWithTheEdgePointerAsOneStep) {
    const QUuid rect = addRectangle({100, 100}, {200, 200});
    store.setTool(Tool::move);
    store.setSelectedID(rect);
    press({200, 150}); // the right side's middle handle
    EXPECT_EQ(view->pointerShape(), PointerShape::resizeLeftRight);
    dragTo({250, 170});
    dragTo({300, 170});
    release({300, 170});
    EXPECT_EQ(store.annotations().first().points, (QList<QPointF>{{100, 100}, {300, 200}}));
    EXPECT_EQ(undoDepth(), 2);
}

TEST_F(DrawViewPointer, HandleDragWithShift_KeepsTheAspect) {
    const QUuid rect = addRectangle({100, 100}, {300, 200});
    store.setTool(Tool::move);
    store.setSelectedID(rect);
    press({300, 200}); // top-right corner
    EXPECT_EQ(view->pointerShape(), PointerShape::crosshair);
    dragTo({400, 220}, Qt::ShiftModifier);
    release({400, 220});
    EXPECT_EQ(store.annotations().first().points, (QList<QPointF>{{100, 100}, {400, 250}}));
}

TEST_F(DrawViewPointer, DoubleClickOnTextWithMove_OpensItForEditing) {
    addText(QStringLiteral("hello"), {100, 100}, 20);
    store.setTool(Tool::move);
    doubleClick({105, 105});
    ASSERT_TRUE(view->textEditor());
    EXPECT_EQ(view->textEditor()->toPlainText(), "hello");
    EXPECT_TRUE(store.annotations().isEmpty()) << "the text is out of the store while edited";
    EXPECT_EQ(view->textAnchorGlobal(), QPointF(100, 100));
}

// ---- Pointer shapes ----

TEST_F(DrawViewPointer, PointerShape_FollowsToolSelectionAndWhatLiesBelow) {
    const struct {
        Tool tool;
        PointerShape shape;
    } expected[] = {
        {Tool::pen, PointerShape::dot},         {Tool::highlighter, PointerShape::dot},
        {Tool::ruler, PointerShape::dot},       {Tool::text, PointerShape::iBeam},
        {Tool::stamp, PointerShape::stamp},     {Tool::eraser, PointerShape::eraser},
        {Tool::snipe, PointerShape::crosshair}, {Tool::redact, PointerShape::crosshair},
    };
    for (const auto& [tool, shape] : expected) {
        store.setTool(tool);
        hover({400, 300});
        EXPECT_EQ(view->pointerShape(), shape) << toolRawValue(tool).toStdString();
    }
    const QUuid rect = addRectangle({100, 100}, {200, 200});
    store.setTool(Tool::move);
    hover({400, 300});
    EXPECT_EQ(view->pointerShape(), PointerShape::arrow);
    hover({150, 150});
    EXPECT_EQ(view->pointerShape(), PointerShape::openHand);
    store.setSelectedID(rect);
    hover({150, 200}); // top side's middle handle
    EXPECT_EQ(view->pointerShape(), PointerShape::resizeUpDown);
    hover({100, 100});
    EXPECT_EQ(view->pointerShape(), PointerShape::crosshair);
}

TEST_F(DrawViewPointer, DotCursor_UsesTheCurrentColour) {
    store.setTool(Tool::pen);
    store.setPaletteIndex(3);
    hover({400, 300});
    EXPECT_EQ(view->cursor().pixmap().toImage().pixelColor(10, 10), store.currentColor());
}

TEST_F(DrawViewPointer, CursorPoll_RunsOnlyInDrawMode) {
    EXPECT_TRUE(view->isCursorPollActive());
    view->setDrawModeEnabled(false);
    EXPECT_FALSE(view->isCursorPollActive());
    view->setDrawModeEnabled(true);
    EXPECT_TRUE(view->isCursorPollActive());
}

// ---- Coordinates through freeze-zoom ----

TEST_F(DrawViewPointer, FrozenAt200_PressAtTheViewCentreIsTheZoomCentre) {
    view->freezeZoom().frozenSnapshot = QImage(8, 8, QImage::Format_ARGB32);
    view->freezeZoom().zoomScale = 2;
    view->freezeZoom().zoomCenterGlobal = QPointF(300, 200);
    EXPECT_EQ(view->widgetToGlobal(QPointF(400, 300)), QPointF(300, 200));
    EXPECT_EQ(view->visibleGlobalRect(), QRectF(100, 50, 400, 300));
    store.setTool(Tool::pen);
    QMouseEvent pressEvent(QEvent::MouseButtonPress, QPointF(400, 300), QPointF(), Qt::LeftButton,
                           Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(view.get(), &pressEvent);
    ASSERT_TRUE(store.activeAnnotation());
    EXPECT_EQ(store.activeAnnotation()->points.first(), QPointF(300, 200));
}

TEST_F(DrawViewPointer, PressOnZoomPercentWhileFrozen_Sets100AndDrawsNothing) {
    auto& zoom = view->freezeZoom();
    zoom.frozenSnapshot = QImage(8, 8, QImage::Format_ARGB32);
    zoom.zoomScale = 3;
    zoom.zoomPercentFrame = QRectF(350, 540, 60, 30); // view coordinates, y up
    store.setTool(Tool::pen);
    QMouseEvent pressEvent(QEvent::MouseButtonPress, QPointF(360, 45), QPointF(), Qt::LeftButton,
                           Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(view.get(), &pressEvent);
    EXPECT_EQ(zoom.zoomScale, 1);
    EXPECT_EQ(zoom.zoomCenterGlobal, QPointF(400, 300));
    EXPECT_TRUE(zoom.isFrozen());
    EXPECT_FALSE(store.activeAnnotation());
}

TEST_F(DrawViewPointer, DrawModeOff_UnfreezesAndDropsAPendingCapture) {
    auto& zoom = view->freezeZoom();
    zoom.zoomCapturePending = true;
    const auto generation = zoom.zoomGeneration;
    view->setDrawModeEnabled(false);
    EXPECT_FALSE(zoom.zoomCapturePending);
    EXPECT_EQ(zoom.zoomGeneration, generation + 1);
}

} // namespace
} // namespace markvane::testing
