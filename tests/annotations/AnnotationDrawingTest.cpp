#include "DrawingProbe.h"

#include "annotations/AnnotationHandles.h"
#include "annotations/RulerLabel.h"
#include "annotations/SmoothedPath.h"

#include <gtest/gtest.h>
#include <numbers>

using namespace markvane;
using namespace markvane::testing;

namespace {

bool opaque(const QColor& c) {
    return c.alpha() > 128;
}

} // namespace

TEST(AnnotationFade, LastFourTenthsFadeLinearlyAndExpiredOnesAreNotDrawn) {
    Annotation line = makeAnnotation(Tool::line, {{20, 50}, {180, 50}}, 10);
    line.expiresAt = 1000.2;
    Scene scene;
    scene.annotations = {line};
    EXPECT_NEAR(pixelAt(render(scene), 100.5, 50.5).alpha(), 128, 3);

    scene.context.now = 999.5;
    EXPECT_EQ(pixelAt(render(scene), 100.5, 50.5).alpha(), 255);
    scene.context.now = 1000.2;
    EXPECT_EQ(pixelAt(render(scene), 100.5, 50.5).alpha(), 0);

    Annotation highlighter = makeAnnotation(Tool::highlighter, {{0, 0}});
    highlighter.expiresAt = 10.1; // a quarter of the way: its own alpha falls with it
    EXPECT_NEAR(annotationAlpha(highlighter, 10), 0.1, 1e-9);
}

TEST(FreehandDrawing, HighlighterIsThreeTimesWideAndMultipliesSoOverlapsDarkenMore) {
    const QColor yellow(255, 255, 0);
    Scene scene;
    scene.annotations = {makeAnnotation(Tool::highlighter, {{20, 50}, {180, 50}}, 4, yellow),
                         makeAnnotation(Tool::highlighter, {{100, 10}, {100, 190}}, 4, yellow)};
    const QImage image = render(scene, {200, 200}, Qt::white);
    // Multiply at 0.4: blue falls to 1 − 0.4 once, and to 0.6² where two cross.
    EXPECT_NEAR(pixelAt(image, 50.5, 50.5).blue(), 153, 3);
    EXPECT_NEAR(pixelAt(image, 100.5, 50.5).blue(), 92, 3);
    EXPECT_NEAR(pixelAt(image, 50.5, 55.5).blue(), 153, 3); // 3 × 4 wide
    EXPECT_EQ(pixelAt(image, 50.5, 57.5).blue(), 255);

    // White multiplies to nothing; a plain blend would lighten the grey.
    scene.annotations = {makeAnnotation(Tool::highlighter, {{20, 50}, {180, 50}}, 4, Qt::white)};
    EXPECT_NEAR(pixelAt(render(scene, {200, 200}, QColor(128, 128, 128)), 50.5, 50.5).red(), 128,
                2);
}

TEST(FreehandDrawing, SinglePointPenShowsARoundDotOfItsWidth) {
    Scene scene;
    scene.annotations = {makeAnnotation(Tool::pen, {{50.5, 50.5}}, 10)};
    const QImage image = render(scene);
    EXPECT_TRUE(opaque(pixelAt(image, 50.5, 50.5)));
    EXPECT_TRUE(opaque(pixelAt(image, 54, 50.5)));
    EXPECT_EQ(pixelAt(image, 55, 55).alpha(), 0); // a square cap would cover this corner
}

TEST(FreehandDrawing, SmoothedPathAveragesInnerPointsAndEndsOnTheLastPoint) {
    const QPainterPath path = smoothedPath({{0, 0}, {3, 3}, {6, 0}});
    // Both controls at the averaged point, then midway to the next one.
    const QList<QPointF> expected{{0, 0}, {3, 1}, {3, 1}, {4.5, 0.5}, {6, 0}};
    ASSERT_EQ(path.elementCount(), expected.size());
    for (int i = 0; i < expected.size(); ++i)
        EXPECT_EQ(QPointF(path.elementAt(i)), expected[i]) << i;
    EXPECT_TRUE(smoothedPath({}).isEmpty());

    // Restricted to a rectangle, the pieces far from it are left out.
    QList<QPointF> zigzag;
    for (int i = 0; i < 40; ++i)
        zigzag.append(QPointF(i * 10, i % 2 * 10));
    QPainterPath restricted;
    buildSmoothedPath(zigzag, ViewMapping{}, restricted, QRectF(100, 0, 50, 10));
    EXPECT_LT(restricted.elementCount(), 30);
    EXPECT_GT(restricted.elementCount(), 12);
    EXPECT_GE(restricted.boundingRect().left(), 80);
    EXPECT_LE(restricted.boundingRect().right(), 170);
    EXPECT_EQ(smoothedPath({{1, 1}}).elementCount(), 2);
}

TEST(ArrowDrawing, HeadIsTwelveLongAtWidthThreeAndThreePointTwoWidthsBeyond) {
    for (const auto& [width, head] : {std::pair{3.0, 12.0}, std::pair{6.0, 19.2}}) {
        Scene scene;
        scene.annotations = {makeAnnotation(Tool::arrow, {{20, 50}, {180, 50}}, width)};
        const QImage image = render(scene);
        // Above the shaft only the head is inked; its back corners are head × cos(π/7) from the
        // tip.
        const double row = 50.5 + width / 2 + 2;
        int back = 200;
        for (int x = 199; x > 120; --x) {
            if (opaque(pixelAt(image, x + 0.5, row)))
                back = x;
        }
        EXPECT_NEAR(back, 180 - head * std::cos(std::numbers::pi / 7), 1.2) << width;
    }
}

TEST(ArrowDrawing, CurvedShaftPassesThroughTheBendHandleUsedForHitTesting) {
    Annotation arrow = makeAnnotation(Tool::arrow, {{20, 20}, {180, 40}}, 4);
    arrow.curveControl = QPointF(90, 170);
    Scene scene;
    scene.annotations = {arrow};
    scene.origin = {10, 0};
    scene.scale = 1.5;
    const QImage image = render(scene, {300, 300});
    const QPointF handle = (curveHandlePosition(arrow) - scene.origin) * scene.scale;
    EXPECT_TRUE(opaque(pixelAt(image, handle.x(), handle.y())));
    EXPECT_FALSE(opaque(pixelAt(image, handle.x(), handle.y() + 8)));
}

TEST(ShapeDrawing, FilledShapesFillAtAQuarterAlphaUnderAFullBorder) {
    Annotation rectangle = makeAnnotation(Tool::rectangle, {{80, 80}, {20, 20}}, 4, Qt::red);
    rectangle.filled = true;
    Annotation ellipse = makeAnnotation(Tool::ellipse, {{120, 20}, {180, 80}}, 4, Qt::red);
    ellipse.filled = true;
    Annotation outlined = makeAnnotation(Tool::rectangle, {{20, 120}, {80, 180}}, 4, Qt::red);
    Scene scene;
    scene.annotations = {rectangle, ellipse, outlined};
    const QImage image = render(scene);
    EXPECT_NEAR(pixelAt(image, 50.5, 50.5).alpha(), 64, 2);
    EXPECT_EQ(pixelAt(image, 50.5, 50.5).red(), 255);
    EXPECT_EQ(pixelAt(image, 20.5, 50.5).alpha(), 255);
    EXPECT_NEAR(pixelAt(image, 150.5, 50.5).alpha(), 64, 2);
    EXPECT_EQ(pixelAt(image, 124.5, 24.5).alpha(), 0); // inside the box, outside the ellipse
    EXPECT_EQ(pixelAt(image, 50.5, 150.5).alpha(), 0);
}

TEST(PictureDrawing, RedactionWithoutImageIsDarkGreyAndPicturesStayUpright) {
    Annotation redaction = makeAnnotation(Tool::redact, {{10, 10}, {90, 90}}, 1);
    QImage picture(20, 20, QImage::Format_ARGB32_Premultiplied);
    picture.fill(Qt::blue);
    for (int y = 0; y < 10; ++y) // the top half, as the picture is seen
        for (int x = 0; x < 20; ++x)
            picture.setPixelColor(x, y, Qt::red);
    Annotation snipe = makeAnnotation(Tool::snipe, {{110, 10}, {190, 90}}, 1);
    snipe.image = picture;
    Annotation solid = makeAnnotation(Tool::redact, {{10, 110}, {90, 190}}, 1);
    solid.redactStyle = RedactStyle::solid;
    solid.image = picture;
    Annotation pixelated = makeAnnotation(Tool::redact, {{110, 110}, {190, 190}}, 1);
    pixelated.redactStyle = RedactStyle::pixelate;
    pixelated.image = picture;
    Scene scene;
    scene.annotations = {redaction, snipe, solid, pixelated};
    const QImage image = render(scene);
    EXPECT_EQ(pixelAt(image, 50.5, 50.5), QColor(20, 20, 20));
    EXPECT_EQ(pixelAt(image, 150.5, 80.5), QColor(Qt::red));
    EXPECT_EQ(pixelAt(image, 150.5, 20.5), QColor(Qt::blue));
    EXPECT_EQ(pixelAt(image, 50.5, 150.5), QColor(20, 20, 20));
    EXPECT_EQ(pixelAt(image, 150.5, 180.5), QColor(Qt::red));
}

TEST(RulerDrawing, LabelCountsDisplayPixelsAndPointsWhateverTheZoom) {
    platform::ScreenInfo retina;
    retina.frame = QRectF(0, 0, 1000, 800);
    retina.backingScale = 2;
    platform::ScreenInfo plain;
    plain.frame = QRectF(1000, 0, 1000, 800);
    plain.isMain = true;
    const QString expected = QStringLiteral("240 px  \u00B7  120 pt");
    EXPECT_EQ(rulerLabelText({10, 10}, {130, 10}, {plain, retina}), expected);
    EXPECT_EQ(rulerLabelText({-500, 10}, {-380, 10}, {plain, retina}),
              QStringLiteral("120 px  \u00B7  120 pt")); // off every display: the main one
    EXPECT_EQ(rulerLabelText({-500, 10}, {-380, 10}, {}), expected);

    // Zoomed to 200 % the label keeps its text, size and distance from the line.
    Annotation ruler = makeAnnotation(Tool::ruler, {{10, 10}, {130, 10}}, 2, Qt::red);
    QRect plates[2];
    for (int zoom = 1; zoom <= 2; ++zoom) {
        Scene scene;
        scene.annotations = {ruler};
        scene.context.screens = {retina};
        scene.scale = zoom;
        const QImage image = render(scene, {300, 100});
        plates[zoom - 1] = inkRect(image, [](const QColor& c) {
            return c.alpha() > 150 && c.red() < 40 && c.green() < 40;
        });
        const RulerLabelLayout layout =
            rulerLabelLayout(ruler.points[0], ruler.points[1], ruler.points[0] * zoom,
                             ruler.points[1] * zoom, scene.context.screens);
        // What repaints test before drawing must hold the whole plate.
        EXPECT_TRUE(rulerLabelBound(ruler.points[0], ruler.points[1], ruler.points[0] * zoom,
                                    ruler.points[1] * zoom, scene.context.screens)
                        .contains(layout.background));
        EXPECT_TRUE(opaque(pixelAt(image, 10 * zoom + 0.2, 10 * zoom + 4.5))); // end tick
    }
    EXPECT_EQ(plates[0].size(), plates[1].size());
    EXPECT_NEAR(plates[0].center().y(), 10 + 15, 1.5); // left of the drawing direction
    EXPECT_NEAR(plates[1].center().y(), 20 + 15, 1.5);
    EXPECT_NEAR(plates[1].center().x(), 140, 1.5);
}

TEST(SelectionDrawing, LineGetsTwoDotsAndNoOutlineRectangleGetsOutlineAndEightDots) {
    const auto isAccent = [](const QColor& c) { return c.green() > 150 && c.red() < 100; };
    const auto isDotCentre = [](const QColor& c) { return c == QColor(Qt::white); };

    Annotation line = makeAnnotation(Tool::line, {{40, 40}, {160, 120}});
    Scene scene;
    scene.annotations = {line};
    scene.selected = line.id;
    QImage image = render(scene);
    EXPECT_TRUE(isDotCentre(pixelAt(image, 40.5, 40.5)));
    EXPECT_TRUE(isDotCentre(pixelAt(image, 160.5, 120.5)));
    EXPECT_TRUE(isAccent(pixelAt(image, 44.5, 40.5))); // the ring, 4 from the centre
    for (int y = 0; y < 200; ++y) { // nothing in the accent colour but the two dots
        for (int x = 0; x < 200; ++x) {
            const QPointF p(x + 0.5, y + 0.5);
            const double near =
                std::min(QLineF(p, {40, 40}).length(), QLineF(p, {160, 120}).length());
            ASSERT_TRUE(near <= 6 || !isAccent(pixelAt(image, p.x(), p.y()))) << x << "," << y;
        }
    }

    // Edges at x.5 in the view, so that the one-point outline fills whole pixels.
    Annotation rectangle = makeAnnotation(Tool::rectangle, {{40.4, 40.4}, {160.4, 120.4}});
    scene.annotations = {rectangle};
    scene.selected = rectangle.id;
    scene.scale = 1.25; // dots and dashes keep their size when zoomed
    image = render(scene, {250, 250});
    int dots = 0;
    for (const Handle& handle : handles(rectangle)) {
        const QPointF p = handle.position * 1.25;
        dots +=
            isDotCentre(pixelAt(image, p.x(), p.y())) && isAccent(pixelAt(image, p.x() + 4, p.y()));
    }
    EXPECT_EQ(dots, 8);
    int dashed = 0, gaps = 0;
    for (int x = 70; x < 120; ++x) // the bottom edge between two dots
        (isAccent(pixelAt(image, x + 0.5, 50.5)) ? dashed : gaps) += 1;
    EXPECT_GT(dashed, 15);
    EXPECT_GT(gaps, 8);
}

TEST(TextDrawing, InkLiesWithinTheMeasuredBoundsUprightAtAnyZoom) {
    Annotation text = makeAnnotation(Tool::text, {{30, 40}}, 1, Qt::black);
    text.text = QStringLiteral("TT");
    text.fontSize = 40;
    Scene scene;
    scene.annotations = {text};
    scene.origin = {10, 10};
    scene.scale = 1.5;
    const QImage image = render(scene, {300, 300});
    const QRectF bounds = ViewMapping{scene.origin, scene.scale}.map(text.bounds());
    const QRect ink = inkRect(image, opaque);
    ASSERT_FALSE(ink.isEmpty());
    EXPECT_TRUE(bounds.adjusted(-1, -1, 1, 1).contains(QRectF(ink)));
    EXPECT_GT(ink.height(), 0.5 * bounds.height());
    EXPECT_LT(ink.left() - bounds.left(), 0.15 * bounds.width());
    EXPECT_GT(ink.bottom() + 1, bounds.bottom() - 0.35 * bounds.height()); // cap line near the top
    // Upright: the bars of the Ts are at the top of the ink.
    const int barRow = ink.bottom() - 2;
    int inkedInBar = 0;
    for (int x = ink.left(); x <= ink.right(); ++x)
        inkedInBar += opaque(pixelAt(image, x + 0.5, barRow + 0.5));
    EXPECT_GT(inkedInBar, ink.width() / 2);

    text.text = QString();
    scene.annotations = {text};
    EXPECT_TRUE(inkRect(render(scene), [](const QColor& c) { return c.alpha() > 0; }).isEmpty());
}

TEST(AnnotationImage, CoversBoundsGrownByWidthPlusFourAndNothingForAnEmptyArea) {
    Annotation text = makeAnnotation(Tool::text, {{30, 40}}, 1, Qt::red);
    text.text = QStringLiteral("Hello");
    const AnnotationDrawContext context{1000, {}, Qt::green};
    const std::optional<QImage> image = annotationImage(text, context);
    ASSERT_TRUE(image.has_value());
    const QSizeF expected = text.bounds().size() + QSizeF(10, 10);
    EXPECT_EQ(image->size(),
              QSize(int(std::ceil(expected.width())), int(std::ceil(expected.height()))));
    EXPECT_EQ(annotationImage(text, context, 2)->size(),
              QSize(int(std::ceil(expected.width() * 2)), int(std::ceil(expected.height() * 2))));

    const Annotation line = makeAnnotation(Tool::line, {{0, 0}, {40, 0}}, 2, Qt::red);
    const std::optional<QImage> lineImage = annotationImage(line, context);
    ASSERT_TRUE(lineImage.has_value());
    EXPECT_EQ(lineImage->pixelColor(20, lineImage->height() / 2), QColor(Qt::red));
    EXPECT_FALSE(annotationImage(makeAnnotation(Tool::pen, {{5, 5}}, -4), context).has_value());
}
