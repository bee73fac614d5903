#include "app/StatusIcon.h"

#include <gtest/gtest.h>

using namespace markvane;

TEST(StatusIcon, RingAndTicksInTheModesColour_DotOnlyInDrawMode_ScaledToTheImage) {
    const QColor accent(0x20, 0x60, 0xE0);
    const QColor mono(0x30, 0x30, 0x30);
    const struct {
        bool drawMode;
        int size, x, y;
        bool painted;
    } cases[] = {
        {true, 24, 11, 3, true},    // top of the ring
        {true, 24, 11, 2, true},    // top tick beyond the ring
        {true, 24, 11, 11, true},   // centre dot
        {true, 24, 11, 7, false},   // gap between dot and ring
        {true, 24, 3, 3, false},    // between two ticks, outside the ring
        {false, 24, 2, 11, true},   // left tick
        {false, 24, 11, 11, false}, // no dot
        {true, 48, 23, 23, true},   // dot, twice as large
        {true, 48, 23, 7, true},    // ring at 8 units above the centre
        {true, 48, 23, 15, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.size << " " << c.x << "," << c.y);
        const QColor pixel =
            statusIconImage({c.drawMode, accent, mono}, c.size).pixelColor(c.x, c.y);
        if (c.painted)
            EXPECT_EQ(pixel, c.drawMode ? accent : mono);
        else
            EXPECT_EQ(pixel.alpha(), 0);
    }
    EXPECT_FALSE(statusIcon({true, accent, mono}).availableSizes().isEmpty());
}
