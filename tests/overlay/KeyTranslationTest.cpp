#include "overlay/KeyTranslation.h"

#include <QKeyEvent>
#include <gtest/gtest.h>

namespace markvane {
namespace {

QKeyEvent keyEvent(int key, Qt::KeyboardModifiers modifiers, const QString& text = {},
                   quint32 nativeScanCode = 0) {
    return QKeyEvent(QEvent::KeyPress, key, modifiers, nativeScanCode, 0, 0, text);
}

TEST(KeyTranslation, QtKeys_MapToKeyPositionsOfTheProgramsNumbering) {
    EXPECT_EQ(keyCodeForQtKey(Qt::Key_A, false), 0);
    EXPECT_EQ(keyCodeForQtKey(Qt::Key_Z, false), 6);
    EXPECT_EQ(keyCodeForQtKey(Qt::Key_D, false), 2);
    EXPECT_EQ(keyCodeForQtKey(Qt::Key_Return, false), 36);
    EXPECT_EQ(keyCodeForQtKey(Qt::Key_Space, false), 49);
    EXPECT_EQ(keyCodeForQtKey(Qt::Key_Backspace, false), 51);
    EXPECT_EQ(keyCodeForQtKey(Qt::Key_Delete, false), 117);
    EXPECT_EQ(keyCodeForQtKey(Qt::Key_Escape, false), 53);
    EXPECT_EQ(keyCodeForQtKey(Qt::Key_BracketRight, false), 30);
    EXPECT_EQ(keyCodeForQtKey(Qt::Key_5, false), 23);
    EXPECT_EQ(keyCodeForQtKey(Qt::Key_F1, false), 122);
    EXPECT_FALSE(keyCodeForQtKey(Qt::Key_VolumeUp, false));
}

TEST(KeyTranslation, ShiftedAndKeypadSymbols_KeepTheirKeysPosition) {
    // Shift+= types "+": still the = key; the keypad's + is a key of its own.
    EXPECT_EQ(keyCodeForQtKey(Qt::Key_Plus, false), 24);
    EXPECT_EQ(keyCodeForQtKey(Qt::Key_Plus, true), 69);
    EXPECT_EQ(keyCodeForQtKey(Qt::Key_Minus, true), 78);
    EXPECT_EQ(keyCodeForQtKey(Qt::Key_Underscore, false), 27);
    EXPECT_EQ(keyCodeForQtKey(Qt::Key_5, true), 87);
}

TEST(KeyTranslation, Modifiers_MapCtrlAltShiftSuper) {
    EXPECT_EQ(modifierFlags(Qt::ControlModifier), 0x40000u);
    EXPECT_EQ(modifierFlags(Qt::AltModifier), 0x80000u);
    EXPECT_EQ(modifierFlags(Qt::ShiftModifier), 0x20000u);
    EXPECT_EQ(modifierFlags(Qt::MetaModifier), 0x100000u);
    EXPECT_EQ(modifierFlags(Qt::KeypadModifier), 0u);
}

TEST(KeyTranslation, Event_UsesNativeCodeWhenTheMapKnowsIt) {
    const NativeKeyMap map = [](quint32 native) -> std::optional<quint16> {
        if (native == 40) // the D position on a PC keyboard
            return 2;
        return std::nullopt;
    };
    // A French layout reports another letter for the same key: the position wins.
    const auto key = drawKeyFromEvent(keyEvent(Qt::Key_Q, Qt::NoModifier, "q", 40), map);
    ASSERT_TRUE(key);
    EXPECT_EQ(key->keyCode, 2);
    // An unknown native code falls back to the Qt key.
    const auto other = drawKeyFromEvent(keyEvent(Qt::Key_Q, Qt::NoModifier, "q", 99), map);
    ASSERT_TRUE(other);
    EXPECT_EQ(other->keyCode, 12);
}

TEST(KeyTranslation, Event_ControlLetterKeepsReadableCharacters) {
    // Ctrl+Z arrives with a control character as its text.
    const auto key = drawKeyFromEvent(keyEvent(Qt::Key_Z, Qt::ControlModifier, "\x1a"), {});
    ASSERT_TRUE(key);
    EXPECT_EQ(key->keyCode, 6);
    EXPECT_EQ(key->modifierFlags, 0x40000u);
    EXPECT_EQ(key->characters, "z");
    EXPECT_FALSE(drawKeyFromEvent(keyEvent(Qt::Key_VolumeUp, Qt::NoModifier), {}));
}

} // namespace
} // namespace markvane
