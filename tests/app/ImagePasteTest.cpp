#include "app/ImagePaste.h"

#include <gtest/gtest.h>

namespace markvane {
namespace {

TEST(PastedImageRect, LongSideCappedAt480AndCentredOnThePointer_EmptyOrInvalidIgnored) {
    EXPECT_EQ(pastedImageRect(QSizeF(200, 100), QPointF(100, 100)), QRectF(0, 50, 200, 100));
    EXPECT_EQ(pastedImageRect(QSizeF(500, 1000), QPointF(0, 0)), QRectF(-120, -240, 240, 480));
    for (const QSizeF size :
         {QSizeF(0, 100), QSizeF(100, 0), QSizeF(-5, 100), QSizeF(qQNaN(), 100)})
        EXPECT_FALSE(pastedImageRect(size, QPointF())) << size.width();
}

} // namespace
} // namespace markvane
