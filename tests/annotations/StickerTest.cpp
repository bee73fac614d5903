#include "DrawingProbe.h"

#include "annotations/MaskFilters.h"
#include "annotations/StickerImage.h"

#include <QRandomGenerator>
#include <gtest/gtest.h>

using namespace markvane;
using namespace markvane::testing;

namespace {

// The run of white border pixels left of the glyph's first dark pixel, along
// the middle row of the ink.
int borderRun(const QImage& sticker) {
    const QRect ink =
        inkRect(sticker, [](const QColor& c) { return c.alpha() > 250 && c.red() < 60; });
    const int row = sticker.height() - 1 - ink.center().y();
    int run = 0;
    for (int x = ink.left() - 1; x >= 0; --x) {
        const QColor c = sticker.pixelColor(x, row);
        if (c.alpha() >= 128 && c.red() > 200)
            ++run;
        else if (run > 0)
            break;
    }
    return run;
}

} // namespace

TEST(StickerImage, BorderIsTheOutlineInPointsAtEveryDensityUpTo48Pixels) {
    const QString block = QStringLiteral("\u2588");
    for (const auto& [size, density] :
         {std::pair{40.0, 4}, std::pair{100.0, 3}, std::pair{200.0, 2}}) {
        const std::optional<QImage> sticker = stickerImage(block, size, 5);
        ASSERT_TRUE(sticker.has_value()) << size;
        EXPECT_EQ(sticker->devicePixelRatio(), density);
        EXPECT_NEAR(borderRun(*sticker), 5 * density, 2) << size;
        EXPECT_EQ(sticker->pixelColor(0, 0).alpha(), 0); // the 2-point margin stays clear
    }
    EXPECT_NEAR(borderRun(*stickerImage(block, 200, 30)), 48, 2);
}

TEST(StickerImage, CachedPerTextWholeSizeAndOutline) {
    const QString glyph = QStringLiteral("\U0001F44D");
    EXPECT_DOUBLE_EQ(automaticStickerOutline(10), 2); // never thinner than two points

    const std::optional<QImage> first = stickerImage(glyph, 44);
    ASSERT_TRUE(first.has_value());
    EXPECT_EQ(stickerImage(glyph, 44.3)->cacheKey(), first->cacheKey()); // same key
    EXPECT_NE(stickerImage(glyph, 44, 6)->cacheKey(), first->cacheKey());
    EXPECT_NE(stickerImage(QStringLiteral("\u2B50"), 44)->cacheKey(), first->cacheKey());
    clearStickerCache();
    EXPECT_NE(stickerImage(glyph, 44)->cacheKey(), first->cacheKey());

    EXPECT_FALSE(stickerImage(QString(), 44).has_value());
    EXPECT_FALSE(stickerImage(glyph, 0).has_value());
}

TEST(StampDrawing, StickerIsCentredOnThePointWithItsShadowBelowAndFades) {
    Annotation stamp = makeAnnotation(Tool::stamp, {{100, 100}}, 1);
    stamp.text = QStringLiteral("\u2588");
    stamp.fontSize = 40;
    Scene scene;
    scene.annotations = {stamp};
    const QImage image = render(scene);
    const QRect sticker =
        inkRect(image, [](const QColor& c) { return c.alpha() > 250 && c.red() > 200; });
    ASSERT_FALSE(sticker.isEmpty());
    EXPECT_NEAR(sticker.center().x(), 100, 1.5);
    EXPECT_NEAR(sticker.center().y(), 100, 1.5);
    const int below = pixelAt(image, 100.5, sticker.top() - 3.5).alpha();
    const int above = pixelAt(image, 100.5, sticker.bottom() + 4.5).alpha();
    EXPECT_GT(below, above + 10);

    stamp.expiresAt = 1000.2;
    scene.annotations = {stamp};
    EXPECT_NEAR(pixelAt(render(scene), sticker.left() + 2.5, 100.5).alpha(), 128, 4);
}

TEST(MaskFilters, DilationMatchesABruteForceDiscWithASoftRim) {
    CoveragePlane mask(40, 30);
    QRandomGenerator random(7);
    for (auto& value : mask.values)
        value = random.bounded(100) < 3 ? 255 : std::uint8_t(random.bounded(100));
    for (const double radius : {0.0, 2.5, 4.5}) {
        const CoveragePlane grown = dilateCoverage(mask, 128, radius);
        for (int y = 0; y < mask.height; ++y) {
            for (int x = 0; x < mask.width; ++x) {
                double nearest = 1e9;
                for (int v = 0; v < mask.height; ++v)
                    for (int u = 0; u < mask.width; ++u)
                        if (mask.at(u, v) >= 128)
                            nearest = std::min(nearest, std::hypot(u - x, v - y));
                const double expected =
                    nearest <= radius ? 255 : std::max(0.0, (radius + 1 - nearest) * 255);
                ASSERT_NEAR(grown.at(x, y), expected, 1) << x << "," << y << " r=" << radius;
            }
        }
    }
}

TEST(MaskFilters, BlurSpreadsAboutThreeSigmasAndKeepsTheTotal) {
    CoveragePlane plane(61, 61);
    for (int y = 25; y < 36; ++y)
        for (int x = 25; x < 36; ++x)
            plane.at(x, y) = 255;
    blurCoverage(plane, 3);
    long total = 0;
    for (const auto value : plane.values)
        total += value;
    EXPECT_NEAR(double(total), 121.0 * 255, 0.03 * 121 * 255);
    EXPECT_GT(plane.at(30, 30), 200);
    EXPECT_GT(plane.at(30, 39), 0);                // 4 from the block's edge
    EXPECT_EQ(plane.at(30, 47), 0);                // 12 from it
    EXPECT_EQ(plane.at(30, 20), plane.at(30, 40)); // symmetric
}
