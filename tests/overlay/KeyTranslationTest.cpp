#include "overlay/KeyTranslation.h"

#include <QKeyEvent>
#include <gtest/gtest.h>

namespace markvane {
namespace {

TEST(KeyTranslation, QtKeysMapByPositionAndKeypadKeysAreTheirOwn) {
    EXPECT_EQ(keyCodeForQtKey(Qt::Key_Z, false), 6);
    EXPECT_EQ(keyCodeForQtKey(Qt::Key_Backspace, false), 51);
    EXPECT_EQ(keyCodeForQtKey(Qt::Key_Delete, false), 117);
    EXPECT_EQ(keyCodeForQtKey(Qt::Key_Plus, false), 24); // Shift+= is still the = key
    EXPECT_EQ(keyCodeForQtKey(Qt::Key_Plus, true), 69);
    EXPECT_EQ(keyCodeForQtKey(Qt::Key_Minus, true), 78);
    EXPECT_FALSE(keyCodeForQtKey(Qt::Key_VolumeUp, false));
    EXPECT_EQ(modifierFlags(Qt::ControlModifier | Qt::AltModifier | Qt::ShiftModifier |
                            Qt::MetaModifier | Qt::KeypadModifier),
              0x40000u | 0x80000u | 0x20000u | 0x100000u);
}

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
