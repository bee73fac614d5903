#include "DrawingProbe.h"

#include "annotations/AnnotationHandles.h"
#include "annotations/ArrowGeometry.h"

#include <QRandomGenerator>
#include <cmath>
#include <gtest/gtest.h>

namespace markvane {
namespace {

Annotation make(Tool tool, QList<QPointF> points, double width = 2) {
    return testing::makeAnnotation(tool, std::move(points), width);
}

using Points = QList<QPointF>;
const std::nullopt_t none = std::nullopt;

TEST(Handles, BoxToolsOfferCornersThenSideMiddlesAndArrowsEndsThenBend) {
    const QList<Handle> box = handles(make(Tool::rectangle, {{10, 20}, {110, 70}}));
    const QList<HandleKind> kinds{
        HandleKind::box(Grip::min, Grip::min), HandleKind::box(Grip::max, Grip::min),
        HandleKind::box(Grip::min, Grip::max), HandleKind::box(Grip::max, Grip::max),
        HandleKind::box(Grip::min, none),      HandleKind::box(Grip::max, none),
        HandleKind::box(none, Grip::min),      HandleKind::box(none, Grip::max)};
    const Points positions{{10, 20}, {110, 20}, {10, 70}, {110, 70},
                           {10, 45}, {110, 45}, {60, 20}, {60, 70}};
    ASSERT_EQ(box.size(), 8);
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(box[i].kind, kinds[i]) << i;
        EXPECT_EQ(box[i].position, positions[i]) << i;
    }

    const QList<Handle> arrow = handles(make(Tool::arrow, {{0, 0}, {100, 0}}));
    ASSERT_EQ(arrow.size(), 3);
    EXPECT_EQ(arrow[1].kind, HandleKind::endpoint(1));
    EXPECT_EQ(arrow[2].kind, HandleKind::curve());
    EXPECT_EQ(arrow[2].position, QPointF(50, 0));
    EXPECT_TRUE(handles(make(Tool::arrow, {{0, 0}, {50, 0}, {100, 0}})).isEmpty());
    EXPECT_TRUE(handles(make(Tool::move, {{0, 0}, {50, 0}})).isEmpty());
}

TEST(HandleAt, GrabsWithinElevenPointsAndEarlierHandlesWin) {
    const Annotation line = make(Tool::line, {{0, 0}, {100, 0}});
    EXPECT_EQ(handleAt(line, {11, 0}), HandleKind::endpoint(0));
    EXPECT_FALSE(handleAt(line, {11.01, 0}).has_value());
    EXPECT_EQ(handleAt(make(Tool::rectangle, {{0, 0}, {4, 4}}), {2, 2}),
              HandleKind::box(Grip::min, Grip::min));
    EXPECT_EQ(handleAt(make(Tool::arrow, {{0, 0}, {10, 0}}), {5, 0}), HandleKind::endpoint(0));
}

TEST(HitTest, WidthRaisesTheToleranceAndSegmentsEndAtTheirPoints) {
    const Annotation thin = make(Tool::pen, {{0, 0}, {100, 0}}, 2);
    EXPECT_TRUE(hitTest(thin, {50, 8}, 8));
    EXPECT_FALSE(hitTest(thin, {50, 8.5}, 8));
    EXPECT_FALSE(hitTest(thin, {106, 6}, 8)); // 8.5 from the end point
    const Annotation thick = make(Tool::pen, {{0, 0}, {100, 0}}, 20);
    EXPECT_TRUE(hitTest(thick, {50, 20}, 8));
    EXPECT_FALSE(hitTest(thick, {50, 20.5}, 8));

    EXPECT_TRUE(hitTest(make(Tool::pen, {{10, 10}}), {15, 16}, 8));
    EXPECT_TRUE(hitTest(make(Tool::line, {{5, 5}, {5, 5}}), {5, 12}, 8));
    EXPECT_FALSE(hitTest(make(Tool::arrow, {{0, 0}, {50, 0}, {100, 0}}), {50, 0}, 8));
    EXPECT_FALSE(hitTest(make(Tool::eraser, {{0, 0}, {10, 0}}), {5, 0}, 8));
    // An ellipse is hit anywhere in its grown rectangle, corners included.
    const Annotation ellipse = make(Tool::ellipse, {{0, 0}, {100, 50}});
    EXPECT_TRUE(hitTest(ellipse, {-8, 58}, 8));
    EXPECT_FALSE(hitTest(ellipse, {-8.1, 25}, 8));
}

TEST(HitTest, CurvedArrowIgnoresTheTipBeyondItsShaft) {
    Annotation arrow = make(Tool::arrow, {{0, 0}, {200, 0}}, 10);
    arrow.curveControl = QPointF(100, 100);
    EXPECT_FALSE(hitTest(arrow, {200, 0}, 8)); // the shaft stops 19.2 short
    EXPECT_TRUE(hitTest(arrow, curveHandlePosition(arrow) + QPointF(0, 9), 8));
    arrow.curveControl.reset();
    EXPECT_TRUE(hitTest(arrow, {200, 0}, 8));
}

TEST(HitExtent, ContainsTheWholeDrawnShaftEvenWhereItLeavesTheArrowsBounds) {
    QRandomGenerator random(7);
    const auto coordinate = [&] { return random.bounded(400.0) - 200; };
    int outsideBounds = 0;
    for (int round = 0; round < 300; ++round) {
        Annotation arrow = make(Tool::arrow, {{coordinate(), coordinate()}, {coordinate(), 0}},
                                1 + random.bounded(20.0));
        // Bends close to the tip make the pulled-back shaft overshoot.
        arrow.curveControl = arrow.points[1] + QPointF(random.bounded(20.0) - 10, 5);
        const QRectF extent = hitExtent(arrow)->adjusted(-1e-9, -1e-9, 1e-9, 1e-9);
        const ArrowShaft shaft =
            arrowShaft(arrow.points[0], arrow.points[1], arrow.curveControl, arrow.width);
        for (int i = 0; i <= 64; ++i) {
            const QPointF p = shaft.pointAt(i / 64.0);
            ASSERT_TRUE(extent.contains(p)) << round;
            outsideBounds += arrow.bounds().contains(p) ? 0 : 1;
        }
    }
    EXPECT_GT(outsideBounds, 0); // the overshoot really occurred
    EXPECT_FALSE(hitExtent(make(Tool::line, {{0, 0}})).has_value());
}

TEST(HandleDrag, EndpointsMoveAloneAndConstrainSnapsFromTheOtherEnd) {
    Annotation arrow = make(Tool::arrow, {{0, 0}, {100, 0}});
    arrow.curveControl = QPointF(50, 40);
    applyHandleDrag(arrow, HandleKind::endpoint(1), {80, 10}, false);
    EXPECT_EQ(arrow.points, (Points{{0, 0}, {80, 10}}));
    EXPECT_EQ(arrow.curveControl, QPointF(50, 40));
    applyHandleDrag(arrow, HandleKind::endpoint(0), {70, 60}, true);
    EXPECT_NEAR(arrow.points[0].x(), 80, 1e-9);
    EXPECT_NEAR(arrow.points[0].y(), 10 + std::hypot(10.0, 50.0), 1e-9);
    applyHandleDrag(arrow, HandleKind::endpoint(2), {1, 1}, false); // out of range
    EXPECT_EQ(arrow.points.size(), 2);
}

TEST(HandleDrag, BoxFlipsPastTheOppositeSideAndConstrainKeepsTheAspect) {
    Annotation rect = make(Tool::rectangle, {{100, 100}, {200, 150}});
    applyHandleDrag(rect, HandleKind::box(Grip::max, none), {40, 500}, false);
    EXPECT_EQ(rect.points, (Points{{40, 100}, {100, 150}}));

    rect.points = {{0, 0}, {200, 100}};
    applyHandleDrag(rect, HandleKind::box(Grip::max, Grip::max), {300, 120}, true);
    EXPECT_EQ(rect.points, (Points{{0, 0}, {300, 150}}));
    rect.points = {{0, 0}, {200, 100}};
    applyHandleDrag(rect, HandleKind::box(Grip::min, Grip::min), {-100, -20}, true);
    EXPECT_EQ(rect.points, (Points{{-100, -50}, {200, 100}}));

    Annotation flat = make(Tool::pen, {{0, 10}, {50, 10}, {100, 10.5}});
    applyHandleDrag(flat, HandleKind::box(Grip::max, Grip::max), {300, 300}, false);
    EXPECT_EQ(flat.points, (Points{{0, 10}, {50, 10}, {100, 10.5}}));
    Annotation pen = make(Tool::pen, {{0, 0}, {50, 25}, {100, 50}}, 6);
    resizeBox(pen, QRectF(0, 0, 100, 50), QRectF(10, 10, 200, 100));
    EXPECT_EQ(pen.points, (Points{{10, 10}, {110, 60}, {210, 110}}));
}

TEST(HandleDrag, TextFontFollowsTheHeightAndStampKeepsTheUnmovedSide) {
    Annotation text = make(Tool::text, {{10, 10}});
    text.text = QStringLiteral("Hello");
    text.fontSize = 30;
    const QRectF r = text.bounds();
    applyHandleDrag(text, HandleKind::box(Grip::max, Grip::max),
                    QPointF(r.right(), r.top() + 2 * r.height()), false);
    EXPECT_DOUBLE_EQ(text.fontSize, 60);
    EXPECT_EQ(text.points, Points{QPointF(10, 10)});
    text.fontSize = 300;
    resizeBox(text, QRectF(0, 0, 10, 10), QRectF(0, 0, 10, 20));
    EXPECT_DOUBLE_EQ(text.fontSize, 400);

    Annotation stamp = make(Tool::stamp, {{100, 100}});
    stamp.text = QStringLiteral("\U0001F44D");
    stamp.fontSize = 44;
    const QRectF s = stamp.bounds();
    applyHandleDrag(stamp, HandleKind::box(Grip::min, Grip::min),
                    QPointF(s.left() - s.width() / 2, s.top() - s.height() / 2), false);
    EXPECT_NEAR(stamp.fontSize, 66, 1e-9);
    EXPECT_NEAR(stamp.points[0].x(), s.right() - 1.5 * s.width() / 2, 1e-9);
    EXPECT_NEAR(stamp.points[0].y(), s.bottom() - 1.5 * s.height() / 2, 1e-9);
}

TEST(HandleDrag, BendHandleLandsUnderThePointerAndMidpointKeepsItStraight) {
    Annotation arrow = make(Tool::arrow, {{0, 0}, {300, 0}}, 6);
    applyHandleDrag(arrow, HandleKind::curve(), {150, 80}, false);
    const QPointF handle = curveHandlePosition(arrow);
    EXPECT_LT(std::hypot(handle.x() - 150, handle.y() - 80), 0.5);
    EXPECT_EQ(handleAt(arrow, {150, 80}), HandleKind::curve());

    Annotation straight = make(Tool::arrow, {{10, 20}, {210, 120}}, 6);
    applyHandleDrag(straight, HandleKind::curve(), {110, 70}, false);
    const QPointF c = *straight.curveControl - QPointF(10, 20);
    EXPECT_NEAR(200 * c.y() - 100 * c.x(), 0, 1e-6); // on the line through both ends
}

} // namespace
} // namespace markvane
