#include "app/ImagePaste.h"

#include <gtest/gtest.h>

namespace markvane {
namespace {

TEST(PastedImageRect, EmptyOrInvalidSide_IsIgnored) {
    EXPECT_FALSE(pastedImageRect(QSizeF(0, 100), QPointF()));
    EXPECT_FALSE(pastedImageRect(QSizeF(100, 0), QPointF()));
    EXPECT_FALSE(pastedImageRect(QSizeF(-5, 100), QPointF()));
    EXPECT_FALSE(pastedImageRect(QSizeF(qQNaN(), 100), QPointF()));
}

} // namespace
} // namespace markvane
