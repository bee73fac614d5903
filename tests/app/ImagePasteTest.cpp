#include "app/ImagePaste.h"

#include <gtest/gtest.h>

namespace markvane {
namespace {

TEST(PastedImageRect, LargeImage_ShrinksToLongerSide480_CentredOnPointer) {
    const auto rect = pastedImageRect(QSizeF(1920, 1080), QPointF(1000, 500));
    ASSERT_TRUE(rect);
    EXPECT_DOUBLE_EQ(rect->width(), 480);
    EXPECT_DOUBLE_EQ(rect->height(), 270);
    EXPECT_EQ(rect->center(), QPointF(1000, 500));

    const auto tall = pastedImageRect(QSizeF(300, 1200), QPointF(0, 0));
    ASSERT_TRUE(tall);
    EXPECT_DOUBLE_EQ(tall->height(), 480);
    EXPECT_DOUBLE_EQ(tall->width(), 120);
}

TEST(PastedImageRect, SmallImage_KeepsItsSize) {
    const auto rect = pastedImageRect(QSizeF(200, 100), QPointF(50, 60));
    ASSERT_TRUE(rect);
    EXPECT_EQ(rect->size(), QSizeF(200, 100));
    EXPECT_EQ(rect->topLeft(), QPointF(-50, 10));
}

TEST(PastedImageRect, EmptyOrInvalidSide_IsIgnored) {
    EXPECT_FALSE(pastedImageRect(QSizeF(0, 100), QPointF()));
    EXPECT_FALSE(pastedImageRect(QSizeF(100, 0), QPointF()));
    EXPECT_FALSE(pastedImageRect(QSizeF(-5, 100), QPointF()));
    EXPECT_FALSE(pastedImageRect(QSizeF(qQNaN(), 100), QPointF()));
}

} // namespace
} // namespace markvane
