#include "StoreFixture.h"

#include <QCoreApplication>
#include <QElapsedTimer>

namespace markvane::testing {
namespace {

using Fading = StoreTest;

TEST_F(Fading, StrokeGoesAtTheFirstTickAtOrAfterExpiryEvenWithFadeTurnedOffAndUndoSkipsIt) {
    const QUuid kept = draw({0, 100}, {40, 100});
    store().setFade(FadeInterval::twoSec);
    draw({0, 0}, {40, 40});
    store().setFade(FadeInterval::off); // what already expires still goes
    EXPECT_TRUE(store().isFadeTimerActive());
    clock.advance(1.999);
    store().fadeTick();
    EXPECT_EQ(store().annotations().size(), 2);
    clock.advance(0.001);
    store().fadeTick();
    EXPECT_EQ(store().annotations().size(), 1);
    EXPECT_FALSE(store().isFadeTimerActive());

    store().undo(); // the list before the faded stroke, not the stroke
    EXPECT_EQ(store().annotations().size(), 1);
    EXPECT_EQ(store().annotations().first().id, kept);
}

TEST_F(Fading, Timer_RunsOnlyWhileSomethingCanFade) {
    draw({0, 0}, {40, 40});
    EXPECT_FALSE(store().isFadeTimerActive());
    store().setFade(FadeInterval::tenSec);
    const QUuid fading = draw({0, 100}, {40, 100});
    store().deleteAnnotation(fading);
    EXPECT_TRUE(store().isFadeTimerActive()); // stops at its next tick
    store().fadeTick();
    EXPECT_FALSE(store().isFadeTimerActive());
    store().undo();
    EXPECT_TRUE(store().isFadeTimerActive());
    store().clear();
    EXPECT_FALSE(store().isFadeTimerActive());
}

TEST_F(Fading, Tick_DropsAFadedSelectionAndItsHitArea) {
    const QUuid below = drawRectangle({0, 0}, {40, 40});
    store().setFade(FadeInterval::twoSec);
    const QUuid above = drawRectangle({0, 0}, {40, 40});
    EXPECT_EQ(store().annotationID({20, 20}), above);
    clock.advance(3);
    store().fadeTick();
    EXPECT_FALSE(store().selectedID().has_value());
    EXPECT_EQ(store().annotationID({20, 20}), below);
    EXPECT_FALSE(store().canRedo());
}

TEST_F(Fading, RealTimer_DrivesTheTick) {
    store().setFade(FadeInterval::twoSec);
    draw({0, 0}, {40, 40});
    clock.advance(2);
    QElapsedTimer waited;
    waited.start();
    while (!store().annotations().isEmpty() && waited.elapsed() < 2000)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    EXPECT_TRUE(store().annotations().isEmpty());
}

} // namespace
} // namespace markvane::testing
