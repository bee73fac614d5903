#include "DrawingProbe.h"

#include "annotations/AnnotationSignature.h"
#include "annotations/MultiplyBlend.h"

#include <QRandomGenerator>
#include <gtest/gtest.h>

using namespace markvane;
using namespace markvane::testing;

namespace {

// Ink rounded into a premultiplied tile and then composited is rounded twice
// where drawing in place rounds once: a level or two, never more.
constexpr int kTolerance = 2;

QImage background(QSize size) {
    // Colours under the ink, so that multiply and source-over show mistakes.
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.fillRect(QRect(0, 0, size.width() / 2, size.height()), QColor(250, 240, 200));
    painter.fillRect(QRect(size.width() / 3, size.height() / 3, size.width() / 2, 50),
                     QColor(40, 90, 200, 160));
    return image;
}

using Backdrop = AnnotationRasterCache::Backdrop;
constexpr Backdrop kBackdrops[] = {Backdrop::any, Backdrop::cleared};

QImage backdropImage(QSize size, Backdrop backdrop) {
    if (backdrop == Backdrop::any)
        return background(size);
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

QImage renderOver(const Scene& scene, QSize size, Backdrop backdrop = Backdrop::any) {
    QImage image = backdropImage(size, backdrop);
    drawScene(image, scene);
    return image;
}

Annotation finished(Tool tool, QList<QPointF> points, double width, QColor colour = Qt::black) {
    Annotation annotation = makeAnnotation(tool, std::move(points), width, colour);
    annotation.completedAt = 0;
    return annotation;
}

Annotation scribble(Tool tool, QPointF centre, double width, QColor colour) {
    Annotation stroke = finished(tool, {}, width, colour);
    for (int i = 0; i < 80; ++i) // crosses itself and several cells
        stroke.points.append(centre + QPointF(70 * std::sin(i * 0.2), 60 * std::sin(i * 0.13)));
    return stroke;
}

// Every kind, across cell boundaries, highlighters over each other and over
// the rest, one fading, one unfinished and one selected.
Scene busyScene() {
    Scene scene;
    Annotation curved = finished(Tool::arrow, {{20, 180}, {230, 150}}, 3, Qt::red);
    curved.curveControl = QPointF(100, 100);
    Annotation stamp = finished(Tool::stamp, {{160, 40}}, 1);
    stamp.text = QStringLiteral("\u2588");
    stamp.fontSize = 30;
    Annotation text = finished(Tool::text, {{40, 120}}, 1, Qt::darkGreen);
    text.text = QStringLiteral("Wj across");
    Annotation box = finished(Tool::rectangle, {{50, 30}, {140, 110}}, 6, Qt::red);
    box.filled = true;
    Annotation ellipse = finished(Tool::ellipse, {{120, 140}, {250, 230}}, 3, Qt::darkMagenta);
    ellipse.filled = true;
    Annotation redaction = finished(Tool::redact, {{180, 10}, {240, 60}}, 1);
    redaction.redactStyle = RedactStyle::solid;
    Annotation snipe = finished(Tool::snipe, {{10, 200}, {50, 230}}, 1);
    snipe.image = QImage(20, 10, QImage::Format_ARGB32_Premultiplied);
    snipe.image->fill(QColor(10, 200, 30));
    Annotation fadingBox = finished(Tool::rectangle, {{60, 150}, {200, 200}}, 8, Qt::darkCyan);
    fadingBox.filled = true;
    fadingBox.expiresAt = 1000.2; // half way through its fade
    Annotation live = makeAnnotation(Tool::pen, {{10, 10}, {120, 60}, {250, 250}}, 4, Qt::gray);
    scene.annotations = {
        finished(Tool::pen, {{10, 10}, {60, 90}, {190, 20}}, 11),
        scribble(Tool::highlighter, {128, 128}, 5, Qt::yellow),
        finished(Tool::arrow, {{30, 52}, {250, 70}}, 6, Qt::blue),
        box,
        scribble(Tool::highlighter, {100, 120}, 4, Qt::cyan),
        curved,
        finished(Tool::ruler, {{60, 60}, {170, 70}}, 3, Qt::magenta),
        stamp,
        text,
        ellipse,
        fadingBox,
        live,
        redaction,
        snipe,
        finished(Tool::line, {{0, 64}, {256, 64}}, 2),
        scribble(Tool::pen, {150, 150}, 3, QColor(200, 0, 0, 120)),
        scribble(Tool::highlighter, {140, 110}, 6, Qt::green),
    };
    scene.selected = curved.id;
    scene.eraser = QRectF(5, 140, 30, 30);
    scene.origin = {-5, -3};
    scene.scale = 1.2;
    return scene;
}

// The cached drawing, cold (tiles made) and warm (tiles reused), against the
// direct one.
void expectSameAsDirect(Scene scene, AnnotationRasterCache& cache, Backdrop backdrop,
                        QSize size = {300, 300}) {
    scene.cache = nullptr;
    const QImage direct = renderOver(scene, size, backdrop);
    scene.cache = &cache;
    EXPECT_LE(worstChannelDifference(renderOver(scene, size, backdrop), direct), kTolerance);
    const qsizetype rendered = cache.tilesRendered();
    EXPECT_LE(worstChannelDifference(renderOver(scene, size, backdrop), direct), kTolerance);
    EXPECT_EQ(cache.tilesRendered(), rendered) << "an unchanged scene draws every tile again";
}

} // namespace

TEST(RasterCache, EveryKindFadingSelectionHighlightersZoomAndDensity_MatchDirectDrawing) {
    for (const Backdrop backdrop : kBackdrops) {
        SCOPED_TRACE(int(backdrop));
        AnnotationRasterCache cache(backdrop);
        Scene scene = busyScene();
        expectSameAsDirect(scene, cache, backdrop);
        EXPECT_GT(cache.tileCount(), 0);

        // Fading further and finishing the live stroke are drawn as they are now.
        scene.context.now = 1000.1;
        scene.annotations[11].completedAt = 1000;
        scene.selected.reset();
        expectSameAsDirect(scene, cache, backdrop);

        scene.scale = 0.7;
        scene.origin = {13, -21};
        expectSameAsDirect(scene, cache, backdrop);
        QImage direct = backdropImage(QSize(400, 400), backdrop);
        direct.setDevicePixelRatio(2);
        QImage cached = direct;
        cached.detach();
        drawScene(direct, scene);
        scene.cache = &cache;
        drawScene(cached, scene);
        EXPECT_LE(worstChannelDifference(cached, direct), kTolerance);
    }
}

// Without a cache a culled annotation would leave pixels missing; with one, a
// tile composited at the wrong offset would.
TEST(RasterCache, DirtyRectanglesAcrossCellBoundaries_PatchTheFullDrawingWithOrWithoutCache) {
    AnnotationRasterCache overAnything(Backdrop::any);
    AnnotationRasterCache overCleared(Backdrop::cleared);
    const std::pair<AnnotationRasterCache*, Backdrop> setups[] = {{&overAnything, Backdrop::any},
                                                                  {&overCleared, Backdrop::cleared},
                                                                  {nullptr, Backdrop::any}};
    for (const auto& [used, backdrop] : setups) {
        SCOPED_TRACE(used ? int(backdrop) : -1);
        Scene scene = busyScene();
        scene.cache = used;
        const QSize size(300, 300);
        const QImage full = renderOver(scene, size, backdrop);
        QImage patched = full;
        const QImage under = backdropImage(size, backdrop);
        // Rectangles straddling the 64-pixel cells, at odd offsets and sizes.
        const QRect dirties[] = {QRect(60, 60, 9, 9),     QRect(0, 0, 64, 64),
                                 QRect(63, 127, 2, 70),   QRect(100, 5, 90, 130),
                                 QRect(250, 250, 50, 50), QRect(1, 190, 299, 3)};
        for (const QRect& dirty : dirties) {
            const QRect rows(dirty.x(), size.height() - dirty.bottom() - 1, dirty.width(),
                             dirty.height());
            {
                QPainter painter(&patched);
                painter.setCompositionMode(QPainter::CompositionMode_Source);
                painter.drawImage(rows.topLeft(), under, rows);
            }
            Scene partial = scene;
            partial.dirty = QRectF(dirty);
            drawScene(patched, partial);
            EXPECT_LE(worstChannelDifference(patched, full), used ? kTolerance : 8)
                << dirty.x() << ',' << dirty.y();
        }
    }
}

TEST(RasterCache, MovedRecolouredResizedAndUndoneAnnotations_AreNeverServedStale) {
    for (const Backdrop backdrop : kBackdrops) {
        SCOPED_TRACE(int(backdrop));
        AnnotationRasterCache cache(backdrop);
        Scene scene = busyScene();
        const QList<Annotation> original = scene.annotations;
        expectSameAsDirect(scene, cache, backdrop);

        // Moved: other point contents under the same id.
        scene.annotations.detach();
        scene.annotations[0].translate(7, -4);
        expectSameAsDirect(scene, cache, backdrop);
        // Other details; those this misses are checked on the signature itself.
        scene.annotations[1].color = Qt::red;
        scene.annotations[3].width = 2;
        scene.annotations[13].image->fill(Qt::blue);
        expectSameAsDirect(scene, cache, backdrop);
        scene.annotations.removeAt(4);
        expectSameAsDirect(scene, cache, backdrop);

        // Undo: the older list comes back and its tiles may serve again.
        scene.annotations = original;
        expectSameAsDirect(scene, cache, backdrop);
    }
}

TEST(RasterCache, TinyBudget_StaysWithinItAndStillDrawsEverything) {
    AnnotationRasterCache cache(AnnotationRasterCache::Backdrop::any, 40'000); // two or three tiles
    Scene scene = busyScene();
    const QImage direct = renderOver(scene, {300, 300});
    scene.cache = &cache;
    for (int pass = 0; pass < 2; ++pass) {
        EXPECT_LE(worstChannelDifference(renderOver(scene, {300, 300}), direct), kTolerance);
        EXPECT_LE(cache.byteCount(), 40'000);
    }
    cache.clear();
    EXPECT_EQ(cache.tileCount(), 0);
    EXPECT_EQ(cache.byteCount(), 0);
}

TEST(RasterCache, PainterNotOnWholeImagePixels_FallsBackToDirectDrawing) {
    AnnotationRasterCache cache;
    Scene scene = busyScene();
    QImage direct = background({300, 300});
    QImage cached = direct;
    cached.detach();
    drawScene(direct, scene, {0.5, 0.25});
    scene.cache = &cache;
    drawScene(cached, scene, {0.5, 0.25});
    EXPECT_EQ(worstChannelDifference(cached, direct), 0);
    EXPECT_EQ(cache.tileCount(), 0);
}

TEST(MultiplyBlend, MatchesThePaintersMultiplyWithinClipOnAnyPixels) {
    QRandomGenerator random(7);
    const auto premultiplied = [&random](QSize size) {
        QImage image(size, QImage::Format_ARGB32_Premultiplied);
        for (int y = 0; y < size.height(); ++y) {
            for (int x = 0; x < size.width(); ++x) {
                const int alpha = random.bounded(4) == 0 ? 0 : int(random.bounded(256));
                image.setPixel(
                    x, y,
                    qPremultiply(qRgba(int(random.bounded(256)), int(random.bounded(256)),
                                       int(random.bounded(256)), alpha)));
            }
        }
        return image;
    };
    const QImage source = premultiplied({37, 23});
    const QImage base = premultiplied({50, 40});
    const QRect part(3, 2, 30, 19);
    const QRect clip(9, 4, 30, 30);
    QImage expected = base;
    {
        QPainter painter(&expected);
        painter.setClipRect(clip);
        painter.setCompositionMode(QPainter::CompositionMode_Multiply);
        painter.drawImage(QPoint(5, 7), source, part);
    }
    QImage blended = base;
    multiplyOnto(blended, QPoint(5, 7), source, part, clip);
    EXPECT_LE(worstChannelDifference(blended, expected), 1);
    EXPECT_GT(worstChannelDifference(blended, base), 50);
}

TEST(AnnotationSignature, ChangesWithEveryVisibleDetailButNotWithCopying) {
    Annotation text = finished(Tool::text, {{10, 10}}, 1);
    text.text = QStringLiteral("Hi");
    const quint64 signature = annotationSignature(text);
    Annotation copy = text;
    EXPECT_EQ(annotationSignature(copy), signature);
    copy.completedAt = 5; // not drawn differently
    EXPECT_EQ(annotationSignature(copy), signature);

    const auto changed = [&text, signature](auto change) {
        Annotation other = text;
        change(other);
        return annotationSignature(other) != signature;
    };
    EXPECT_TRUE(changed([](Annotation& a) { a.text = QStringLiteral("Ho"); }));
    EXPECT_TRUE(changed([](Annotation& a) { a.fontSize += 1; }));
    EXPECT_TRUE(changed([](Annotation& a) { a.id = QUuid::createUuid(); }));
    EXPECT_TRUE(changed([](Annotation& a) { a.filled = true; }));
    EXPECT_TRUE(changed([](Annotation& a) { a.curveControl = QPointF(); }));
    EXPECT_TRUE(changed([](Annotation& a) { a.tool = Tool::stamp; }));
    EXPECT_TRUE(changed([](Annotation& a) { a.redactStyle = RedactStyle::solid; }));
}
