#include "app/StatusIcon.h"

#include <gtest/gtest.h>

using namespace markvane;

namespace {

const QColor kAccent(0x20, 0x60, 0xE0);
const QColor kMono(0x30, 0x30, 0x30);

QColor pixel(const QImage& image, int x, int y) {
    return image.pixelColor(x, y);
}

} // namespace

TEST(StatusIcon, DrawModeOn_RingTicksAndCentreDotInAccentColour) {
    const QImage image = statusIconImage({true, kAccent, kMono}, 24);
    ASSERT_EQ(image.size(), QSize(24, 24));
    EXPECT_EQ(pixel(image, 11, 3), kAccent);   // top of the ring
    EXPECT_EQ(pixel(image, 11, 2), kAccent);   // top tick beyond the ring
    EXPECT_EQ(pixel(image, 2, 11), kAccent);   // left tick
    EXPECT_EQ(pixel(image, 11, 11), kAccent);  // centre dot
    EXPECT_EQ(pixel(image, 11, 7).alpha(), 0); // gap between dot and ring
    EXPECT_EQ(pixel(image, 0, 0).alpha(), 0);  // corner
    EXPECT_EQ(pixel(image, 3, 3).alpha(), 0);  // between two ticks, outside the ring
}

TEST(StatusIcon, DrawModeOff_MonochromeRingWithoutDot) {
    const QImage image = statusIconImage({false, kAccent, kMono}, 24);
    EXPECT_EQ(pixel(image, 11, 3), kMono);
    EXPECT_EQ(pixel(image, 11, 11).alpha(), 0);
    for (int y = 0; y < 24; ++y) {
        for (int x = 0; x < 24; ++x) {
            const QColor c = pixel(image, x, y);
            if (c.alpha() == 255) {
                ASSERT_EQ(c, kMono) << x << "," << y;
            }
        }
    }
}

TEST(StatusIcon, ScalesWithTheImageSize) {
    const QImage image = statusIconImage({true, kAccent, kMono}, 48);
    EXPECT_EQ(pixel(image, 23, 23), kAccent); // dot, twice as large
    EXPECT_EQ(pixel(image, 23, 7), kAccent);  // ring at 8 units above the centre
    EXPECT_EQ(pixel(image, 23, 15).alpha(), 0);
    EXPECT_FALSE(statusIcon({true, kAccent, kMono}).availableSizes().isEmpty());
}
