#include "overlay/AnnotationLayer.h"

#include <QPainter>
#include <cmath>
#include <gtest/gtest.h>

namespace markvane {
namespace {

Annotation rectangle(QPointF a, QPointF b, QColor color = Qt::blue) {
    Annotation r;
    r.tool = Tool::rectangle;
    r.color = color;
    r.width = 6;
    r.points = {a, b};
    return r;
}

Annotation pen(int points, QColor color = Qt::red) {
    Annotation p;
    p.tool = Tool::pen;
    p.color = color;
    p.width = 6;
    for (int i = 0; i < points; ++i)
        p.points.append(QPointF(50 + i * 7, 200 + 60 * std::sin(i / 5.0)));
    return p;
}

class AnnotationLayerTest : public ::testing::Test {
protected:
    AnnotationLayerTest() {
        base.finished = {rectangle({20, 20}, {200, 150}), rectangle({150, 100}, {380, 280})};
        base.viewSize = QSize(400, 300);
        context.now = 100;
    }

    QImage fullPaint(const LayerState& state) {
        AnnotationLayer fresh;
        fresh.setState(state, context.now);
        QImage image(state.viewSize, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        fresh.paint(painter, QRect(QPoint(0, 0), state.viewSize), context);
        return image;
    }

    LayerState base;
    AnnotationDrawContext context;
};

TEST_F(AnnotationLayerTest, GrowingPenStroke_RepaintsOnlyItsTailAndNeverRebuilds) {
    AnnotationLayer layer;
    QImage target(base.viewSize, QImage::Format_ARGB32_Premultiplied);
    target.fill(Qt::transparent);
    QPainter painter(&target);
    layer.paint(painter, layer.setState(base, context.now), context);
    EXPECT_EQ(layer.fullRebuilds(), 1);

    Annotation stroke = pen(1);
    LayerState state = base;
    for (int n = 1; n <= 45; ++n) {
        stroke.points = pen(n).points;
        state.active = stroke;
        const QRegion region = layer.setState(state, context.now);
        ASSERT_FALSE(region.isEmpty());
        if (n > 5) {
            EXPECT_LT(region.boundingRect().width(), 80) << "at point " << n;
            EXPECT_LT(region.boundingRect().height(), 80) << "at point " << n;
        }
        layer.paint(painter, region, context);
    }
    painter.end();
    EXPECT_EQ(layer.fullRebuilds(), 1);
    // Painting only the dirty areas gives exactly the picture of a full paint.
    EXPECT_EQ(target, fullPaint(state));
}

TEST_F(AnnotationLayerTest, ShapeBeingDrawn_RepaintsWhereItWasAndWhereItIs) {
    AnnotationLayer layer;
    layer.setState(base, context.now);
    LayerState state = base;
    Annotation line;
    line.tool = Tool::line;
    line.color = Qt::green;
    line.width = 3;
    line.points = {{10, 10}, {60, 10}};
    state.active = line;
    layer.setState(state, context.now);
    state.active->points = {{10, 10}, {60, 250}};
    const QRegion region = layer.setState(state, context.now);
    // Both the old horizontal line (widget y near 290) and the new end (y near 50).
    EXPECT_TRUE(region.contains(QPoint(60, 290)));
    EXPECT_TRUE(region.contains(QPoint(60, 50)));
    state.active.reset();
    EXPECT_TRUE(layer.setState(state, context.now).contains(QPoint(60, 50)));
}

TEST_F(AnnotationLayerTest, EditsAndSelection_RepaintOnlyWhatTheyTouch) {
    AnnotationLayer layer;
    QImage target(base.viewSize, QImage::Format_ARGB32_Premultiplied);
    target.fill(Qt::transparent);
    QPainter painter(&target);
    layer.paint(painter, layer.setState(base, context.now), context);
    EXPECT_TRUE(layer.setState(base, context.now).isEmpty()) << "nothing changed";

    LayerState state = base;
    const auto step = [&](const char* what) {
        const QRegion region = layer.setState(state, context.now);
        EXPECT_FALSE(region.isEmpty()) << what;
        EXPECT_NE(region, QRegion(0, 0, 400, 300)) << what;
        layer.paint(painter, region, context);
    };
    state.selectedId = state.finished.first().id;
    step("select");
    state.finished[0].translate(30, 10); // detaches from the list the layer holds
    step("move");
    state.finished[1].color = Qt::darkGreen;
    step("recolour");
    state.finished.append(rectangle({300, 20}, {390, 60}, Qt::magenta));
    step("add");
    state.finished.removeAt(1);
    step("remove");
    state.selectedId.reset();
    step("deselect");
    Annotation marker = pen(30, Qt::yellow);
    marker.tool = Tool::highlighter;
    state.finished.append(marker); // multiplies over what is below it
    step("add on top");
    state.finished.removeFirst(); // the oldest goes as a new one arrives
    state.finished.append(pen(20, Qt::cyan));
    step("trim and add");
    painter.end();
    EXPECT_EQ(layer.fullRebuilds(), 1);
    EXPECT_EQ(target, fullPaint(state));
}

TEST_F(AnnotationLayerTest, StackingOrderOrMappingChange_RepaintsEverything) {
    AnnotationLayer layer;
    layer.setState(base, context.now);
    const QRegion whole(0, 0, 400, 300);
    LayerState reordered = base;
    reordered.finished.move(0, 1);
    EXPECT_EQ(layer.setState(reordered, context.now), whole);
    LayerState zoomed = reordered;
    zoomed.scale = 2;
    EXPECT_EQ(layer.setState(zoomed, context.now), whole);
}

TEST_F(AnnotationLayerTest, EraserRectangle_RepaintsOldAndNewArea) {
    AnnotationLayer layer;
    layer.setState(base, context.now);
    LayerState state = base;
    state.eraserRect = QRectF(10, 10, 20, 20);
    layer.setState(state, context.now);
    state.eraserRect = QRectF(300, 200, 20, 20);
    const QRegion region = layer.setState(state, context.now);
    EXPECT_TRUE(region.contains(QPoint(20, 280)));   // old, y flipped
    EXPECT_TRUE(region.contains(QPoint(310, 90)));   // new
    EXPECT_FALSE(region.contains(QPoint(150, 150))); // between them
}

TEST_F(AnnotationLayerTest, FadingAnnotation_RepaintsItsOwnAreaAtItsNewAlpha) {
    LayerState state = base;
    state.finished = {rectangle({20, 20}, {120, 120}), rectangle({250, 150}, {350, 250})};
    state.finished[0].expiresAt = 101;
    AnnotationLayer layer;
    QImage target(state.viewSize, QImage::Format_ARGB32_Premultiplied);
    target.fill(Qt::transparent);
    QPainter painter(&target);
    layer.paint(painter, layer.setState(state, 100), context);
    EXPECT_TRUE(layer.setState(state, 100.5).isEmpty()) << "not fading yet";

    context.now = 100.8; // 0.2 s before expiry: half alpha
    const QRegion fading = layer.setState(state, context.now);
    EXPECT_TRUE(fading.contains(QPoint(70, 180 + 100)));
    EXPECT_FALSE(fading.contains(QPoint(300, 100)));
    layer.paint(painter, fading, context);
    painter.end();
    EXPECT_EQ(layer.fullRebuilds(), 1);
    EXPECT_EQ(target, fullPaint(state));
    EXPECT_NEAR(qAlpha(target.pixel(20, 280)), 128, 3);
}

} // namespace
} // namespace markvane
