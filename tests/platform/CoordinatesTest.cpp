#include "platform/Coordinates.h"

#include <gtest/gtest.h>

using namespace markvane::platform;

// A main display that does not sit at Qt's origin, as when a second display
// is to its left.
static const QRectF kPrimary(1280, 100, 1920, 1080);

TEST(Coordinates, MainDisplayIsFlippedToTheOrigin_AndConversionsRoundTrip) {
    EXPECT_EQ(fromQtGlobal(QPointF(1280, 1180), kPrimary), QPointF(0, 0));
    EXPECT_EQ(fromQtGlobal(QPointF(3200, 100), kPrimary), QPointF(1920, 1080));
    EXPECT_EQ(fromQtGlobal(kPrimary, kPrimary), QRectF(0, 0, 1920, 1080));
    // A display above and to the left of the main one.
    EXPECT_EQ(fromQtGlobal(QRectF(0, -700, 1280, 800), kPrimary), QRectF(-1280, 1080, 1280, 800));

    const QPointF point(-512.25, 2077.5);
    EXPECT_EQ(fromQtGlobal(toQtGlobal(point, kPrimary), kPrimary), point);
    const QRectF rect(-10.5, 30, 200.25, 75);
    EXPECT_EQ(fromQtGlobal(toQtGlobal(rect, kPrimary), kPrimary), rect);
    EXPECT_EQ(toQtGlobal(fromQtGlobal(rect, kPrimary), kPrimary), rect);
}
