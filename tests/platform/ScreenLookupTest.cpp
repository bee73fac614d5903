#include "fakes/FakePlatform.h"

#include <gtest/gtest.h>

using namespace markvane;

TEST(ScreenLookup, TopPixelRowBelongsToItsDisplayAndSharedEdgesToExactlyOne) {
    markvane::testing::FakeScreens screens;
    platform::ScreenInfo main{QStringLiteral("main"),   1, QRectF(0, 0, 1920, 1080),
                              QRectF(0, 0, 1920, 1050), 1, true};
    platform::ScreenInfo above{QStringLiteral("above"),     2, QRectF(0, 1080, 1920, 1080),
                               QRectF(0, 1080, 1920, 1080), 2, false};
    platform::ScreenInfo right{QStringLiteral("right"),     3, QRectF(1920, 0, 1280, 1024),
                               QRectF(1920, 0, 1280, 1024), 1, false};
    screens.list = {main, above, right};

    // Qt's pixel row 0 of the lower display maps to its upper edge, y = 1080.
    EXPECT_EQ(screens.screenContaining(QPointF(10, 1080))->name, QStringLiteral("main"));
    EXPECT_EQ(screens.screenContaining(QPointF(10, 1080.5))->name, QStringLiteral("above"));
    EXPECT_EQ(screens.screenContaining(QPointF(1920, 500))->name, QStringLiteral("right"));
    EXPECT_FALSE(screens.screenContaining(QPointF(-1, 500)).has_value());
    EXPECT_EQ(screens.mainScreen()->name, QStringLiteral("main"));
}
