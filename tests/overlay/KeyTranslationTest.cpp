#include "overlay/KeyTranslation.h"

#include <QKeyEvent>
#include <gtest/gtest.h>

namespace markvane {
namespace {

TEST(KeyTranslation, NativeCodeWinsAndControlLettersStayReadable) {
    const NativeKeyMap map = [](quint32 native) -> std::optional<quint16> {
        return native == 40 ? std::optional<quint16>(2) : std::nullopt; // the D position
    };
    // Another layout names the key differently: its position wins.
    const QKeyEvent other(QEvent::KeyPress, Qt::Key_Q, Qt::NoModifier, 40, 0, 0, "q");
    EXPECT_EQ(drawKeyFromEvent(other, map)->keyCode, 2);
    const QKeyEvent control(QEvent::KeyPress, Qt::Key_Z, Qt::ControlModifier, 99, 0, 0, "\x1a");
    const auto key = drawKeyFromEvent(control, map);
    ASSERT_TRUE(key);
    EXPECT_EQ(key->keyCode, 6);
    EXPECT_EQ(key->characters, "z");
}

} // namespace
} // namespace markvane
