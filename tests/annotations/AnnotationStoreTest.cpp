#include "StoreFixture.h"

#include "annotations/Palette.h"

#include <QRandomGenerator>

namespace markvane::testing {
namespace {

using Store = StoreTest;

QList<QUuid> ids(const QList<Annotation>& annotations) {
    QList<QUuid> result;
    for (const Annotation& a : annotations)
        result.append(a.id);
    return result;
}

TEST_F(Store, Commit_ClicksAndBlankTextAreDroppedWithoutAnUndoStep) {
    store().setTool(Tool::line);
    draw({10, 10}, {12, 12}); // 2.83 points apart
    store().setTool(Tool::pen);
    store().beginStroke({50, 50});
    store().commitStroke();
    store().addText(QStringLiteral(" \n\t "), {0, 0}, 24);
    EXPECT_TRUE(store().annotations().isEmpty());
    EXPECT_FALSE(store().canUndo());
    store().addText(QStringLiteral(" hi\n"), {5, 6}, 24);
    EXPECT_EQ(store().annotations().first().text, QStringLiteral(" hi\n")); // untrimmed
}

TEST_F(Store, Commit_RectangleSwitchesToMoveWithItSelectedButPenKeepsPen) {
    draw({0, 0}, {40, 40});
    EXPECT_EQ(store().tool(), Tool::pen);
    EXPECT_FALSE(store().selectedID().has_value());
    const QUuid rect = drawRectangle({10, 10}, {60, 40});
    EXPECT_EQ(store().tool(), Tool::move);
    EXPECT_EQ(store().selectedID(), rect);
    EXPECT_EQ(store().annotations().last().completedAt, clock.now());
    store().setTool(Tool::pen);
    EXPECT_FALSE(store().selectedID().has_value());
}

TEST_F(Store, PaletteIndex_RecoloursTheSelectionOnlyWithTheMoveTool) {
    drawRectangle({0, 0}, {50, 50});
    store().setPaletteIndex(2);
    EXPECT_EQ(store().annotations().first().color, systemGreen());
    store().setTool(Tool::pen);
    store().setSelectedID(store().annotations().first().id);
    store().setPaletteIndex(3);
    EXPECT_EQ(store().annotations().first().color, systemGreen());
}

TEST_F(Store, SelectionEdits_ClampWidthSkipTextAndIgnoreAStaleSelection) {
    drawRectangle({0, 0}, {100, 100});
    store().changeSelectionWidth(100);
    EXPECT_EQ(store().selectedAnnotation()->width, 48);
    store().changeSelectionWidth(-100);
    EXPECT_EQ(store().selectedAnnotation()->width, 1);
    store().setSelectedID(QUuid::createUuid());
    store().moveSelection(5, 5);
    store().duplicateSelection();
    store().deleteSelected();
    EXPECT_EQ(store().annotations().first().points.first(), QPointF(0, 0));
    EXPECT_EQ(store().annotations().size(), 1);
    store().addText(QStringLiteral("t"), {0, 0}, 20);
    store().changeSelectionWidth(5);
    EXPECT_EQ(store().selectedAnnotation()->width, 1);
}

TEST_F(Store, Duplicate_OffsetsRightAndDownWithAFreshIdAndSelectsTheCopy) {
    store().setTool(Tool::arrow);
    const QUuid original = draw({0, 0}, {100, 0});
    store().dragSelectionHandle(HandleKind::curve(), {50, 40}, false);
    const Annotation source = *store().selectedAnnotation();
    store().duplicateSelection();
    const Annotation& copy = store().annotations().last();
    EXPECT_NE(copy.id, original);
    EXPECT_EQ(store().selectedID(), copy.id);
    EXPECT_EQ(copy.points[0], source.points[0] + QPointF(14, -14));
    EXPECT_EQ(*copy.curveControl, *source.curveControl + QPointF(14, -14));
}

TEST_F(Store, Arrange_MovesTheSelectionWithUndoStepsButNotPastTheEnds) {
    const QUuid a = drawRectangle({0, 0}, {10, 10});
    const QUuid b = drawRectangle({20, 0}, {30, 10});
    const QUuid c = drawRectangle({40, 0}, {50, 10});
    store().setSelectedID(a);
    store().bringToFront();
    EXPECT_EQ(ids(store().annotations()), (QList<QUuid>{b, c, a}));
    store().sendBackward();
    store().sendToBack();
    EXPECT_EQ(ids(store().annotations()), (QList<QUuid>{a, b, c}));
    store().bringForward();
    store().setSelectedID(c);
    store().bringToFront();
    store().bringForward();
    store().setSelectedID(b);
    store().sendToBack();
    store().sendBackward();
    store().undo();
    EXPECT_EQ(ids(store().annotations()), (QList<QUuid>{a, b, c}));
}

TEST_F(Store, Erasing_RemovesTheTopmostHitOrEverythingTheRectangleTouches) {
    const QUuid flat = draw({0, 10}, {100, 10}); // zero-height bounds
    const QUuid rect = drawRectangle({50, 0}, {150, 50});
    store().eraseAt({75, 10});
    EXPECT_EQ(ids(store().annotations()), QList<QUuid>{flat});
    EXPECT_FALSE(store().selectedID().has_value());
    store().undo();
    store().setEraserRect(QRectF(40, 0, 15, 20));
    store().eraseInRect();
    EXPECT_TRUE(store().annotations().isEmpty());
    EXPECT_FALSE(store().eraserRect().has_value());
    store().undo();
    EXPECT_EQ(ids(store().annotations()), (QList<QUuid>{flat, rect}));
    store().setEraserRect(QRectF(1000, 1000, 5, 5));
    store().eraseInRect();
    EXPECT_TRUE(store().canRedo()); // nothing recorded
}

TEST_F(Store, HideAndClear_LeaveTheStrokeBeingDrawnAlone) {
    drawRectangle({0, 0}, {50, 50});
    store().setTool(Tool::pen);
    store().beginStroke({5, 5});
    store().toggleHidden();
    ASSERT_EQ(store().visibleAnnotations().size(), 1);
    EXPECT_EQ(store().visibleAnnotations().first().tool, Tool::pen);
    store().toggleHidden();
    store().clear();
    EXPECT_FALSE(store().activeAnnotation().has_value());
    store().beginStroke({1, 1});
    store().clear(); // nothing to clear: the stroke stays
    EXPECT_TRUE(store().activeAnnotation().has_value());
}

TEST_F(Store, UndoThenRedo_RestoresTheListAndClearsTheSelectionBothTimes) {
    drawRectangle({0, 0}, {50, 50});
    drawRectangle({60, 0}, {90, 50});
    const QList<QUuid> full = ids(store().annotations());
    store().undo();
    EXPECT_EQ(store().annotations().size(), 1);
    EXPECT_FALSE(store().selectedID().has_value());
    store().setSelectedID(store().annotations().first().id);
    store().redo();
    EXPECT_EQ(ids(store().annotations()), full);
    EXPECT_FALSE(store().selectedID().has_value());
    store().redo(); // empty redo stack: nothing
    EXPECT_EQ(ids(store().annotations()), full);
}

TEST_F(Store, Undo_After51Changes_OnlyGoesBack50) {
    for (int i = 0; i < 51; ++i)
        draw({0, double(i) * 10}, {40, double(i) * 10});
    EXPECT_EQ(undoDepth(), 50);
    EXPECT_EQ(store().annotations().size(), 1);
}

TEST_F(Store, Undo_AfterThreeQuickColourChanges_RestoresOriginalInOneStep) {
    drawRectangle({0, 0}, {50, 50});
    for (int index : {1, 2, 3}) {
        clock.advance(0.5);
        store().setPaletteIndex(index);
    }
    store().undo();
    EXPECT_EQ(store().annotations().first().color, systemRed());
    EXPECT_EQ(undoDepth(), 1); // only the drawing is left

    clock.advance(1);
    drawRectangle({0, 0}, {50, 50});
    store().changeSelectionWidth(1);
    clock.advance(0.61);
    store().changeSelectionWidth(1);
    store().undo();
    EXPECT_EQ(store().annotations().first().width, 7);
}

TEST_F(Store, Drag_IsOneUndoStepOnlyWhenCommitted) {
    drawRectangle({0, 0}, {50, 50});
    store().setInteractiveSnapshot(store().annotations());
    for (int x = 60; x <= 100; x += 10)
        store().dragSelectionHandle(HandleKind::box(Grip::max, std::nullopt), {double(x), 0},
                                    false);
    store().endInteractive(true);
    store().moveSelection(5, 0); // outside a drag: not recorded
    store().setInteractiveSnapshot(store().annotations());
    store().endInteractive(false);
    store().undo();
    EXPECT_EQ(store().annotations().first().points.last(), QPointF(50, 50));
    EXPECT_FALSE(store().interactiveSnapshot().has_value());
}

TEST_F(Store, The501stAnnotation_PushesTheOldestOutWithoutAnUndoStep) {
    store().setTool(Tool::stamp);
    for (int i = 0; i < 501; ++i)
        store().addStamp({double(i), 0});
    ASSERT_EQ(store().annotations().size(), 500);
    EXPECT_EQ(store().annotations().first().points.first(), QPointF(1, 0));
    store().undo(); // the list as it was before the 501st, oldest included
    EXPECT_EQ(store().annotations().first().points.first(), QPointF(0, 0));
    EXPECT_EQ(store().annotations().last().points.first(), QPointF(499, 0));
}

TEST_F(Store, AnnotationID_FollowsMovesResizesUndoRedoAndDeletes) {
    const QUuid rect = drawRectangle({0, 0}, {50, 50});
    EXPECT_EQ(store().annotationID({25, 25}), rect); // builds the extents
    store().setInteractiveSnapshot(store().annotations());
    store().moveSelection(200, 0);
    store().endInteractive(true);
    EXPECT_FALSE(store().annotationID({25, 25}).has_value());
    store().dragSelectionHandle(HandleKind::box(Grip::max, std::nullopt), {400, 0}, false);
    EXPECT_EQ(store().annotationID({390, 25}), rect);
    // Undo and redo swap in lists of the same length but other geometry.
    store().undo();
    EXPECT_EQ(store().annotationID({25, 25}), rect);
    store().redo();
    EXPECT_EQ(store().annotationID({390, 25}), rect);
    store().setTool(Tool::pen);
    const QUuid pen = draw({380, 0}, {380, 60});
    EXPECT_EQ(store().annotationID({385, 25}), pen);
    store().deleteAnnotation(pen);
    EXPECT_EQ(store().annotationID({385, 25}), rect);
    store().addText(QStringLiteral("Label"), {380, 0}, 20);
    store().setTool(Tool::rectangle);
    draw({370, -5}, {450, 40});
    EXPECT_EQ(store().textAnnotationAt({385, 5}).value_or(Annotation{}).tool, Tool::text);
}

TEST_F(Store, AnnotationID_OnLongStrokesAgreesWithTheExactHitTest) {
    QRandomGenerator random(11);
    for (int stroke = 0; stroke < 6; ++stroke) {
        QPointF p(random.bounded(300.0), random.bounded(300.0));
        store().beginStroke(p);
        for (int i = 0; i < 30 + stroke * 17; ++i)
            store().updateStroke(p += QPointF(random.bounded(20.0) - 10, random.bounded(20.0) - 10),
                                 false, false);
        store().commitStroke();
    }
    for (int probe = 0; probe < 3000; ++probe) {
        const QPointF q(random.bounded(340.0) - 20, random.bounded(340.0) - 20);
        std::optional<QUuid> expected;
        for (const Annotation& a : store().annotations())
            expected = hitTest(a, q, 8) ? std::optional(a.id) : expected;
        ASSERT_EQ(store().annotationID(q), expected) << q.x() << "," << q.y();
    }
}

} // namespace
} // namespace markvane::testing
