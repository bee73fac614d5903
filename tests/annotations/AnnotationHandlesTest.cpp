#include "annotations/AnnotationHandles.h"
#include "annotations/ArrowGeometry.h"

#include <QRandomGenerator>
#include <cmath>
#include <gtest/gtest.h>

namespace markvane {

void PrintTo(const HandleKind& kind, std::ostream* os) {
    const auto grip = [](std::optional<Grip> g) {
        return !g ? "none" : g == Grip::min ? "min" : "max";
    };
    switch (kind.kind()) {
    case HandleKind::Case::endpoint:
        *os << "endpoint(" << kind.index() << ")";
        break;
    case HandleKind::Case::box:
        *os << "box(" << grip(kind.x()) << ", " << grip(kind.y()) << ")";
        break;
    case HandleKind::Case::curve:
        *os << "curve";
        break;
    }
}

namespace {

Annotation make(Tool tool, QList<QPointF> points, double width = 2) {
    Annotation a;
    a.tool = tool;
    a.points = std::move(points);
    a.width = width;
    return a;
}

double distance(QPointF a, QPointF b) {
    return std::hypot(a.x() - b.x(), a.y() - b.y());
}

TEST(HandleKindEquality, ComparesCaseAndPayload) {
    EXPECT_EQ(HandleKind::endpoint(1), HandleKind::endpoint(1));
    EXPECT_NE(HandleKind::endpoint(0), HandleKind::endpoint(1));
    EXPECT_EQ(HandleKind::box(Grip::min, std::nullopt), HandleKind::box(Grip::min, std::nullopt));
    EXPECT_NE(HandleKind::box(Grip::min, std::nullopt), HandleKind::box(std::nullopt, Grip::min));
    EXPECT_NE(HandleKind::endpoint(0), HandleKind::curve());
    EXPECT_NE(HandleKind::box(std::nullopt, std::nullopt), HandleKind::curve());
}

TEST(Handles, BoxToolsOfferCornersThenSideMiddlesOnTheirBounds) {
    const Annotation rect = make(Tool::rectangle, {{10, 20}, {110, 70}});
    const QList<Handle> list = handles(rect);
    ASSERT_EQ(list.size(), 8);
    const std::pair<HandleKind, QPointF> expected[] = {
        {HandleKind::box(Grip::min, Grip::min), {10, 20}},
        {HandleKind::box(Grip::max, Grip::min), {110, 20}},
        {HandleKind::box(Grip::min, Grip::max), {10, 70}},
        {HandleKind::box(Grip::max, Grip::max), {110, 70}},
        {HandleKind::box(Grip::min, std::nullopt), {10, 45}},
        {HandleKind::box(Grip::max, std::nullopt), {110, 45}},
        {HandleKind::box(std::nullopt, Grip::min), {60, 20}},
        {HandleKind::box(std::nullopt, Grip::max), {60, 70}},
    };
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(list[i].kind, expected[i].first) << i;
        EXPECT_EQ(list[i].position, expected[i].second) << i;
    }
}

TEST(Handles, LinesHaveEndpointsArrowsAddABendHandleAndOthersHaveNone) {
    const QList<Handle> line = handles(make(Tool::ruler, {{0, 0}, {40, 0}}));
    ASSERT_EQ(line.size(), 2);
    EXPECT_EQ(line[1].kind, HandleKind::endpoint(1));
    EXPECT_EQ(line[1].position, QPointF(40, 0));

    const QList<Handle> arrow = handles(make(Tool::arrow, {{0, 0}, {100, 0}}));
    ASSERT_EQ(arrow.size(), 3);
    EXPECT_EQ(arrow[2].kind, HandleKind::curve());
    EXPECT_EQ(arrow[2].position, QPointF(50, 0));

    EXPECT_TRUE(handles(make(Tool::arrow, {{0, 0}, {50, 0}, {100, 0}})).isEmpty());
    EXPECT_TRUE(handles(make(Tool::eraser, {{0, 0}, {50, 0}})).isEmpty());
    EXPECT_TRUE(handles(make(Tool::move, {{0, 0}, {50, 0}})).isEmpty());
}

TEST(Handles, CurvedArrowBendHandleSitsOnTheDrawnShaftMiddle) {
    Annotation arrow = make(Tool::arrow, {{0, 0}, {200, 0}}, 5);
    arrow.curveControl = QPointF(100, 120);
    const QPointF expected = arrowShaft({0, 0}, {200, 0}, QPointF(100, 120), 5).pointAt(0.5);
    EXPECT_EQ(handles(arrow)[2].position, expected);
    // Pulled back from the tip, the middle is left of the symmetric one.
    EXPECT_LT(expected.x(), 100);
}

TEST(HandleAt, GrabsWithinElevenPointsAndEarlierHandlesWin) {
    const Annotation line = make(Tool::line, {{0, 0}, {100, 0}});
    EXPECT_EQ(handleAt(line, {11, 0}), HandleKind::endpoint(0));
    EXPECT_FALSE(handleAt(line, {11.01, 0}).has_value());

    // A tiny rectangle: every handle overlaps; the first corner wins.
    const Annotation small = make(Tool::rectangle, {{0, 0}, {4, 4}});
    EXPECT_EQ(handleAt(small, {2, 2}), HandleKind::box(Grip::min, Grip::min));

    // A short straight arrow: the bend handle overlaps the ends, which win.
    const Annotation arrow = make(Tool::arrow, {{0, 0}, {10, 0}});
    EXPECT_EQ(handleAt(arrow, {5, 0}), HandleKind::endpoint(0));
    const Annotation longer = make(Tool::arrow, {{0, 0}, {60, 0}});
    EXPECT_EQ(handleAt(longer, {30, 5}), HandleKind::curve());
}

TEST(HitTest, StrokeWidthRaisesTheTolerance) {
    const Annotation thin = make(Tool::pen, {{0, 0}, {100, 0}}, 2);
    EXPECT_TRUE(hitTest(thin, {50, 8}, kAnnotationHitTolerance));
    EXPECT_FALSE(hitTest(thin, {50, 8.5}, kAnnotationHitTolerance));
    const Annotation thick = make(Tool::pen, {{0, 0}, {100, 0}}, 20);
    EXPECT_TRUE(hitTest(thick, {50, 20}, kAnnotationHitTolerance));
    EXPECT_FALSE(hitTest(thick, {50, 20.5}, kAnnotationHitTolerance));
    // Beyond the end the distance is to the end point, not the line.
    EXPECT_FALSE(hitTest(thin, {106, 6}, kAnnotationHitTolerance));
    EXPECT_TRUE(hitTest(thin, {105, 6}, kAnnotationHitTolerance));
}

TEST(HitTest, DotsMalformedShapesAndNonDrawingToolsFollowTheirOwnRules) {
    EXPECT_TRUE(hitTest(make(Tool::pen, {{10, 10}}), {15, 16}, 8));
    EXPECT_FALSE(hitTest(make(Tool::pen, {{10, 10}}), {16, 16}, 8));
    EXPECT_FALSE(hitTest(make(Tool::pen, {}), {0, 0}, 8));
    EXPECT_FALSE(hitTest(make(Tool::arrow, {{0, 0}, {50, 0}, {100, 0}}), {50, 0}, 8));
    EXPECT_FALSE(hitTest(make(Tool::line, {{0, 0}}), {0, 0}, 8));
    EXPECT_FALSE(hitTest(make(Tool::eraser, {{0, 0}, {10, 0}}), {5, 0}, 8));
    EXPECT_FALSE(hitTest(make(Tool::move, {{0, 0}, {10, 0}}), {5, 0}, 8));
    // A zero-length segment measures to its point.
    EXPECT_TRUE(hitTest(make(Tool::line, {{5, 5}, {5, 5}}), {5, 12}, 8));
}

TEST(HitTest, EllipseIsHitAnywhereInItsGrownRectangle) {
    const Annotation ellipse = make(Tool::ellipse, {{0, 0}, {100, 50}});
    EXPECT_TRUE(hitTest(ellipse, {1, 1}, 8)); // inside the corner, outside the curve
    EXPECT_TRUE(hitTest(ellipse, {-8, 58}, 8));
    EXPECT_FALSE(hitTest(ellipse, {-8.1, 25}, 8));
}

TEST(HitTest, CurvedArrowIgnoresTheTipBeyondItsShaft) {
    Annotation arrow = make(Tool::arrow, {{0, 0}, {200, 0}}, 10);
    arrow.curveControl = QPointF(100, 100);
    // Head 32: the shaft ends about 19 points before the tip; reach is 10.
    EXPECT_FALSE(hitTest(arrow, {200, 0}, 8));
    EXPECT_TRUE(hitTest(arrow, curveHandlePosition(arrow) + QPointF(0, 9), 8));
    // A straight arrow is tested all the way to its tip.
    arrow.curveControl.reset();
    EXPECT_TRUE(hitTest(arrow, {200, 0}, 8));
}

TEST(HitExtent, ContainsTheWholeDrawnShaftEvenWhereItLeavesTheArrowsBounds) {
    // Bends close to the tip make the pulled-back shaft overshoot the bounds.
    QRandomGenerator random(7);
    const auto coordinate = [&] { return random.bounded(400.0) - 200; };
    int outsideBounds = 0;
    for (int round = 0; round < 300; ++round) {
        Annotation arrow =
            make(Tool::arrow, {{coordinate(), coordinate()}, {coordinate(), coordinate()}},
                 1 + random.bounded(20.0));
        arrow.curveControl =
            arrow.points[1] + QPointF(random.bounded(20.0) - 10, random.bounded(20.0) - 10);
        const QRectF extent = hitExtent(arrow)->adjusted(-1e-9, -1e-9, 1e-9, 1e-9);
        const QRectF bounds = arrow.bounds();
        const ArrowShaft shaft =
            arrowShaft(arrow.points[0], arrow.points[1], arrow.curveControl, arrow.width);
        for (int i = 0; i <= 64; ++i) {
            const QPointF p = shaft.pointAt(i / 64.0);
            ASSERT_TRUE(extent.contains(p)) << round << " t=" << i / 64.0;
            if (!bounds.contains(p))
                ++outsideBounds;
        }
    }
    EXPECT_GT(outsideBounds, 0); // the case above really occurred
    EXPECT_FALSE(hitExtent(make(Tool::eraser, {{0, 0}, {1, 1}})).has_value());
    EXPECT_FALSE(hitExtent(make(Tool::line, {{0, 0}})).has_value());
    EXPECT_EQ(hitExtent(make(Tool::pen, {{3, 4}})), QRectF(3, 4, 0, 0));
}

TEST(EndpointDrag, MovesOnePointAndConstrainSnapsFromTheOtherEnd) {
    Annotation arrow = make(Tool::arrow, {{0, 0}, {100, 0}});
    arrow.curveControl = QPointF(50, 40);
    applyHandleDrag(arrow, HandleKind::endpoint(1), {80, 10}, false);
    EXPECT_EQ(arrow.points[1], QPointF(80, 10));
    EXPECT_EQ(arrow.curveControl, QPointF(50, 40));

    applyHandleDrag(arrow, HandleKind::endpoint(0), {70, 60}, true);
    // From (80,10) towards (70,60): nearly straight up, snapped to 90°.
    EXPECT_NEAR(arrow.points[0].x(), 80, 1e-9);
    EXPECT_NEAR(arrow.points[0].y(), 10 + std::hypot(10.0, 50.0), 1e-9);

    const QList<QPointF> before = arrow.points;
    applyHandleDrag(arrow, HandleKind::endpoint(2), {1, 1}, false);
    applyHandleDrag(arrow, HandleKind::endpoint(-1), {1, 1}, false);
    EXPECT_EQ(arrow.points, before);
}

TEST(BoxDrag, DraggingPastTheOppositeSideFlipsAndStaysNormalised) {
    Annotation rect = make(Tool::rectangle, {{100, 100}, {200, 150}});
    applyHandleDrag(rect, HandleKind::box(Grip::max, std::nullopt), {40, 500}, false);
    EXPECT_EQ(rect.points, (QList<QPointF>{{40, 100}, {100, 150}}));

    applyHandleDrag(rect, HandleKind::box(std::nullopt, Grip::min), {0, 170}, false);
    EXPECT_EQ(rect.points, (QList<QPointF>{{40, 150}, {100, 170}}));
}

TEST(BoxDrag, ConstrainKeepsTheAspectAnchoredAtTheOppositeCorner) {
    Annotation rect = make(Tool::rectangle, {{0, 0}, {200, 100}});
    applyHandleDrag(rect, HandleKind::box(Grip::max, Grip::max), {300, 120}, true);
    EXPECT_EQ(rect.points, (QList<QPointF>{{0, 0}, {300, 150}}));

    Annotation other = make(Tool::rectangle, {{0, 0}, {200, 100}});
    applyHandleDrag(other, HandleKind::box(Grip::min, Grip::min), {-100, -20}, true);
    EXPECT_EQ(other.points, (QList<QPointF>{{-100, -50}, {200, 100}}));

    // A side handle keeps the other axis as it was.
    Annotation side = make(Tool::rectangle, {{0, 0}, {200, 100}});
    applyHandleDrag(side, HandleKind::box(Grip::max, std::nullopt), {260, 999}, true);
    EXPECT_EQ(side.points, (QList<QPointF>{{0, 0}, {260, 100}}));
}

TEST(BoxDrag, ThinBoundsCannotBeResized) {
    Annotation flat = make(Tool::pen, {{0, 10}, {50, 10}, {100, 10.5}});
    const QList<QPointF> before = flat.points;
    applyHandleDrag(flat, HandleKind::box(Grip::max, Grip::max), {300, 300}, false);
    EXPECT_EQ(flat.points, before);
}

TEST(BoxResize, PenPointsMapProportionallyAndWidthStays) {
    Annotation pen = make(Tool::pen, {{0, 0}, {50, 25}, {100, 50}}, 6);
    resizeBox(pen, QRectF(0, 0, 100, 50), QRectF(10, 10, 200, 100));
    EXPECT_EQ(pen.points, (QList<QPointF>{{10, 10}, {110, 60}, {210, 110}}));
    EXPECT_EQ(pen.width, 6);
}

TEST(BoxResize, TextFontFollowsTheHeightWithinLimits) {
    Annotation text = make(Tool::text, {{10, 10}});
    text.text = QStringLiteral("Hello");
    text.fontSize = 30;
    const QRectF r = text.bounds();
    applyHandleDrag(text, HandleKind::box(Grip::max, Grip::max),
                    QPointF(r.right(), r.top() + 2 * r.height()), false);
    EXPECT_DOUBLE_EQ(text.fontSize, 60);
    EXPECT_EQ(text.points, QList<QPointF>{QPointF(10, 10)});

    text.fontSize = 300;
    resizeBox(text, QRectF(0, 0, 10, 10), QRectF(0, 0, 10, 20));
    EXPECT_DOUBLE_EQ(text.fontSize, 400);
    resizeBox(text, QRectF(0, 0, 10, 10), QRectF(0, 0, 10, 0.01));
    EXPECT_DOUBLE_EQ(text.fontSize, 6);
}

TEST(BoxResize, StampKeepsTheSideThatDidNotMove) {
    Annotation stamp = make(Tool::stamp, {{100, 100}});
    stamp.text = QStringLiteral("\U0001F44D");
    stamp.fontSize = 44;
    const QRectF r = stamp.bounds();
    // Bottom-left corner dragged outwards: the top-right stays.
    applyHandleDrag(stamp, HandleKind::box(Grip::min, Grip::min),
                    QPointF(r.left() - r.width() / 2, r.top() - r.height() / 2), false);
    const double factor = 1.5;
    EXPECT_NEAR(stamp.fontSize, 44 * factor, 1e-9);
    EXPECT_NEAR(stamp.points[0].x(), r.right() - factor * r.width() / 2, 1e-9);
    EXPECT_NEAR(stamp.points[0].y(), r.bottom() - factor * r.height() / 2, 1e-9);
}

TEST(CurveDrag, BendHandleEndsUpUnderThePointer) {
    Annotation arrow = make(Tool::arrow, {{0, 0}, {300, 0}}, 6);
    applyHandleDrag(arrow, HandleKind::curve(), {150, 80}, false);
    ASSERT_TRUE(arrow.curveControl.has_value());
    EXPECT_LT(distance(curveHandlePosition(arrow), {150, 80}), 0.5);
    EXPECT_EQ(handleAt(arrow, {150, 80}), HandleKind::curve());
}

TEST(CurveDrag, ReleasingAtTheMidpointKeepsAStraightArrowStraight) {
    Annotation arrow = make(Tool::arrow, {{10, 20}, {210, 120}}, 6);
    applyHandleDrag(arrow, HandleKind::curve(), {110, 70}, false);
    ASSERT_TRUE(arrow.curveControl.has_value());
    // The control lies on the line through both ends.
    const QPointF d = arrow.points[1] - arrow.points[0];
    const QPointF c = *arrow.curveControl - arrow.points[0];
    EXPECT_NEAR(d.x() * c.y() - d.y() * c.x(), 0, 1e-6);

    Annotation threePoints = make(Tool::arrow, {{0, 0}, {1, 1}, {2, 2}});
    applyHandleDrag(threePoints, HandleKind::curve(), {5, 5}, false);
    EXPECT_FALSE(threePoints.curveControl.has_value());
}

} // namespace
} // namespace markvane
