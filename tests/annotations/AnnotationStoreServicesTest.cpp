#include "StoreFixture.h"

namespace markvane::testing {
namespace {

using Renderers = StoreTest;
using CopyAndSnipe = StoreTest;

TEST_F(Renderers, AreToldOnceEachBeforeObserversAndDestroyedOnesAreSkipped) {
    CountingRenderer lasting;
    auto shortLived = std::make_unique<CountingRenderer>();
    store().addRenderer(&lasting);
    store().addRenderer(&lasting);
    store().addRenderer(shortLived.get());
    QList<int> seenByObservers;
    QObject::connect(&store(), &AnnotationStore::changed,
                     [&] { seenByObservers.append(lasting.calls); });
    store().beginStroke({0, 0});
    shortLived.reset(); // ASan reports any later call into it
    store().updateStroke({10, 10}, false, false);
    EXPECT_EQ(seenByObservers, (QList<int>{1, 2}));

    // One destroyed by another while they are being told is skipped.
    auto victim = std::make_unique<CountingRenderer>();
    lasting.onChange = [&] { victim.reset(); };
    store().addRenderer(victim.get());
    store().notifyRenderers();
    EXPECT_EQ(lasting.calls, 3);
}

TEST_F(CopyAndSnipe, CopySelection_WritesTheImagersPictureOnlyWhenThereIsOne) {
    drawRectangle({0, 0}, {50, 50});
    store().copySelection(); // no imager yet
    std::optional<QImage> picture;
    store().setAnnotationImager([&](const Annotation& a) {
        EXPECT_EQ(a.id, store().selectedID());
        return picture;
    });
    store().copySelection(); // the imager has nothing
    EXPECT_EQ(pasteboard.writeCount, 0);
    picture = QImage(4, 3, QImage::Format_ARGB32);
    store().copySelection();
    EXPECT_EQ(pasteboard.writeCount, 1);
    EXPECT_EQ(pasteboard.written.size(), QSize(4, 3));

    AnnotationStore bare({&clock, &preferences}); // no pasteboard: quietly nothing
    bare.setAnnotationImager([](const Annotation&) { return QImage(2, 2, QImage::Format_RGB32); });
    bare.addSnipe(QImage(), QRectF(0, 0, 20, 20));
    bare.copySelection();
    EXPECT_EQ(pasteboard.writeCount, 1);
}

TEST_F(CopyAndSnipe, CommitSnipe_AddsTheCapturedImageWhenItArrives) {
    platform::ScreenInfo screen;
    screen.name = QStringLiteral("DP-1");
    store().setSnipeRect(QRectF(10, 20, 100, 50));
    store().commitSnipe(screen);
    EXPECT_FALSE(store().snipeRect().has_value());
    ASSERT_EQ(capture.requests.size(), 1);
    EXPECT_EQ(capture.requests[0].screen.name, QStringLiteral("DP-1"));
    EXPECT_TRUE(store().annotations().isEmpty());

    capture.finish(0, QImage(100, 50, QImage::Format_RGB32));
    ASSERT_EQ(store().annotations().size(), 1);
    const Annotation& snipe = store().annotations().first();
    EXPECT_EQ(snipe.points, (QList<QPointF>{{10, 20}, {110, 70}}));
    EXPECT_EQ(snipe.image->size(), QSize(100, 50));
    EXPECT_EQ(store().selectedID(), snipe.id);
}

TEST_F(CopyAndSnipe, CommitSnipe_SmallRectFailedCaptureGoneStoreOrNoServiceAddNothing) {
    CountingRenderer renderer;
    store().addRenderer(&renderer);
    store().setSnipeRect(QRectF(0, 0, 8, 100));
    store().commitSnipe({});
    EXPECT_EQ(renderer.calls, 1);
    EXPECT_TRUE(capture.requests.isEmpty());
    store().setSnipeRect(QRectF(0, 0, 50, 50));
    store().commitSnipe({});
    capture.finish(0, std::nullopt);
    EXPECT_FALSE(store().canUndo());
    store().setSnipeRect(QRectF(0, 0, 50, 50));
    store().commitSnipe({});
    dropStore();
    capture.finish(1, QImage(50, 50, QImage::Format_RGB32)); // must not touch the old store

    AnnotationStore bare({&clock, &preferences});
    bare.setSnipeRect(QRectF(0, 0, 50, 50));
    bare.commitSnipe({});
    EXPECT_FALSE(bare.snipeRect().has_value());
    EXPECT_TRUE(bare.annotations().isEmpty());
}

TEST_F(CopyAndSnipe, SetImage_ReplacesPixelsWithoutAnUndoStep) {
    store().addSnipe(QImage(10, 10, QImage::Format_RGB32), QRectF(0, 0, 10, 10));
    store().setImage(store().annotations().first().id, QImage(20, 20, QImage::Format_RGB32));
    EXPECT_EQ(store().annotations().first().image->size(), QSize(20, 20));
    store().undo();
    EXPECT_TRUE(store().annotations().isEmpty());
}

} // namespace
} // namespace markvane::testing
