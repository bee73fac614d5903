#include "overlay/AnnotationLayer.h"

#include <QPainter>
#include <cmath>
#include <gtest/gtest.h>

namespace markvane {
namespace {

Annotation shape(Tool tool, QPointF a, QPointF b, QColor color = Qt::blue) {
    Annotation s;
    s.tool = tool;
    s.color = color;
    s.width = 6;
    s.points = {a, b};
    return s;
}

Annotation pen(int points, QColor color = Qt::red) {
    Annotation p;
    p.color = color;
    p.width = 6;
    for (int i = 0; i < points; ++i)
        p.points.append(QPointF(50 + i * 7, 200 + 60 * std::sin(i / 5.0)));
    return p;
}

// Paints only what each change asks for into one image, and compares it with
// a fresh full paint: any area a change forgets shows up as a difference.
class AnnotationLayerTest : public ::testing::Test {
protected:
    AnnotationLayerTest() : target(400, 300, QImage::Format_ARGB32_Premultiplied) {
        state.finished = {shape(Tool::rectangle, {20, 20}, {200, 150}),
                          shape(Tool::rectangle, {150, 100}, {380, 280})};
        state.viewSize = QSize(400, 300);
        context.now = 100;
        target.fill(Qt::transparent);
        step();
    }
    QRegion step() {
        const QRegion region = layer.setState(state, context.now);
        QPainter painter(&target);
        layer.paint(painter, region, context);
        return region;
    }
    QImage fullPaint() {
        AnnotationLayer fresh;
        QImage image(state.viewSize, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        fresh.paint(painter, fresh.setState(state, context.now), context);
        return image;
    }

    LayerState state;
    AnnotationDrawContext context;
    AnnotationLayer layer;
    QImage target;
};

TEST_F(AnnotationLayerTest, StrokesBeingDrawnRepaintOnlyWhereTheyWereAndAre) {
    state.active = pen(1);
    for (int n = 2; n <= 45; ++n) {
        state.active->points = pen(n).points;
        const QRect area = step().boundingRect();
        // Only the tail of a growing pen stroke.
        EXPECT_TRUE(n <= 5 || (area.width() < 80 && area.height() < 80)) << "point " << n;
    }
    EXPECT_EQ(target, fullPaint());
    state.active = shape(Tool::line, {10, 10}, {60, 10});
    step();
    state.active->points[1] = QPointF(60, 250);
    state.eraserRect = QRectF(10, 10, 20, 20);
    step();
    state.eraserRect = QRectF(300, 200, 20, 20);
    EXPECT_FALSE(step().contains(QPoint(150, 150)));
    EXPECT_EQ(target, fullPaint());
    EXPECT_EQ(layer.fullRebuilds(), 1);
}

TEST_F(AnnotationLayerTest, EditsAndSelectionRepaintOnlyWhatTheyTouch) {
    EXPECT_TRUE(step().isEmpty()) << "nothing changed";
    const QRegion whole(0, 0, 400, 300);
    const auto change = [&](const char* what) {
        const QRegion region = step();
        EXPECT_FALSE(region.isEmpty()) << what;
        EXPECT_NE(region, whole) << what;
    };
    state.selectedId = state.finished.first().id;
    change("select");
    state.finished[0].translate(30, 10); // detaches from the list the layer holds
    change("move");
    state.finished[1].color = Qt::darkGreen;
    change("recolour");
    state.finished.append(shape(Tool::ellipse, {300, 20}, {390, 60}, Qt::magenta));
    change("add");
    state.finished.removeAt(1);
    change("remove");
    state.selectedId.reset();
    change("deselect");
    Annotation marker = pen(30, Qt::yellow);
    marker.tool = Tool::highlighter; // multiplies with what is below it
    state.finished.append(marker);
    change("add on top");
    state.finished.removeFirst(); // the oldest goes as a new one arrives
    state.finished.append(pen(20, Qt::cyan));
    change("trim and add");
    EXPECT_EQ(layer.fullRebuilds(), 1);
    EXPECT_EQ(target, fullPaint());

    state.finished.move(0, 1);
    EXPECT_EQ(step(), whole) << "a new stacking order repaints everything";
    state.scale = 2;
    EXPECT_EQ(step(), whole);
    EXPECT_EQ(target, fullPaint());
}

TEST_F(AnnotationLayerTest, FadingAnnotationRepaintsItsOwnAreaAtItsNewAlpha) {
    state.finished[0].expiresAt = 101;
    step();
    context.now = 100.5;
    EXPECT_TRUE(step().isEmpty()) << "not fading yet";
    context.now = 100.8; // 0.2 s before expiry: half alpha
    const QRegion fading = step();
    EXPECT_TRUE(fading.contains(QPoint(20, 280)));
    EXPECT_FALSE(fading.contains(QPoint(370, 30)));
    EXPECT_EQ(layer.fullRebuilds(), 1);
    EXPECT_EQ(target, fullPaint());
}

} // namespace
} // namespace markvane
