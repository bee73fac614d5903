#include "app/DrawKeyRouting.h"

#include <gtest/gtest.h>

namespace markvane {
namespace {

DrawKey key(quint16 code, quint32 flags, const char* characters) {
    return DrawKey{code, flags, QString::fromUtf8(characters)};
}

constexpr quint32 kCtrl = 0x40000;
constexpr quint32 kCtrlShift = 0x40000 | 0x20000;
constexpr quint32 kSuper = 0x100000;

TEST(DrawKeyRouting, PrimaryZ_UndoesAndWithShiftRedoes_WhateverTheTool) {
    for (bool editing : {false, true}) {
        EXPECT_EQ(routeDrawKey(key(6, kCtrl, "z"), editing), DrawKeyCommand::undo);
        EXPECT_EQ(routeDrawKey(key(6, kCtrlShift, "Z"), editing), DrawKeyCommand::redo);
    }
}

TEST(DrawKeyRouting, Linux_UsesCtrlAsPrimary_SuperAloneDoesNothing) {
    EXPECT_EQ(routeDrawKey(key(6, kSuper, "z"), true), DrawKeyCommand::none);
    EXPECT_EQ(routeDrawKey(key(51, kSuper, ""), false), DrawKeyCommand::none);
}

TEST(DrawKeyRouting, ControlCharacterInsteadOfLetter_FallsBackToKeyPosition) {
    // Ctrl+Z as some keyboard paths report it: SUB (0x1A) rather than "z".
    EXPECT_EQ(routeDrawKey(key(6, kCtrl, "\x1a"), false), DrawKeyCommand::undo);
    EXPECT_EQ(routeDrawKey(key(4, kCtrlShift, ""), false), DrawKeyCommand::toggleHidden);
    EXPECT_EQ(routeDrawKey(key(8, kCtrl, "\x03"), true), DrawKeyCommand::copySelection);
}

TEST(DrawKeyRouting, LetterFollowsCharactersNotPosition_OnOtherLayouts) {
    // On a German layout the key at the Y position types "z".
    EXPECT_EQ(routeDrawKey(key(16, kCtrl, "z"), false), DrawKeyCommand::undo);
    EXPECT_EQ(routeDrawKey(key(6, kCtrl, "y"), false), DrawKeyCommand::none);
}

TEST(DrawKeyRouting, HideNeedsShift_ClearAndPasteGoByKeyPosition) {
    EXPECT_EQ(routeDrawKey(key(4, kCtrlShift, "H"), false), DrawKeyCommand::toggleHidden);
    EXPECT_EQ(routeDrawKey(key(4, kCtrl, "h"), false), DrawKeyCommand::none);
    EXPECT_EQ(routeDrawKey(key(51, kCtrl, ""), false), DrawKeyCommand::clear);
    EXPECT_EQ(routeDrawKey(key(51, kCtrl, ""), true), DrawKeyCommand::clear);
    EXPECT_EQ(routeDrawKey(key(9, kCtrl, "v"), false), DrawKeyCommand::pasteImage);
    EXPECT_EQ(routeDrawKey(key(9, 0, "v"), false), DrawKeyCommand::none);
}

TEST(DrawKeyRouting, SelectionKeys_OnlyWhileEditingASelection) {
    const DrawKey keys[] = {key(51, 0, ""),     key(117, 0, ""),     key(30, 0, "]"),
                            key(33, 0, "["),    key(24, kCtrl, "="), key(27, kCtrl, "-"),
                            key(8, kCtrl, "c"), key(7, kCtrl, "x"),  key(2, kCtrl, "d")};
    for (const DrawKey& k : keys)
        EXPECT_EQ(routeDrawKey(k, false), DrawKeyCommand::none) << k.keyCode;

    EXPECT_EQ(routeDrawKey(key(51, 0, ""), true), DrawKeyCommand::deleteSelected);
    EXPECT_EQ(routeDrawKey(key(117, 0, ""), true), DrawKeyCommand::deleteSelected);
    EXPECT_EQ(routeDrawKey(key(30, 0, "]"), true), DrawKeyCommand::widthUp);
    EXPECT_EQ(routeDrawKey(key(33, 0, "["), true), DrawKeyCommand::widthDown);
    EXPECT_EQ(routeDrawKey(key(24, kCtrl, "="), true), DrawKeyCommand::scaleUp);
    EXPECT_EQ(routeDrawKey(key(69, kCtrl, "+"), true), DrawKeyCommand::scaleUp);
    EXPECT_EQ(routeDrawKey(key(27, kCtrl, "-"), true), DrawKeyCommand::scaleDown);
    EXPECT_EQ(routeDrawKey(key(78, kCtrl, "-"), true), DrawKeyCommand::scaleDown);
    EXPECT_EQ(routeDrawKey(key(8, kCtrl, "c"), true), DrawKeyCommand::copySelection);
    EXPECT_EQ(routeDrawKey(key(7, kCtrl, "x"), true), DrawKeyCommand::cutSelection);
    EXPECT_EQ(routeDrawKey(key(2, kCtrl, "d"), true), DrawKeyCommand::duplicateSelection);
}

TEST(DrawKeyRouting, BracketsWithPrimary_AndScaleWithoutIt_AreLeftToShortcuts) {
    EXPECT_EQ(routeDrawKey(key(30, kCtrl, "]"), true), DrawKeyCommand::none);
    EXPECT_EQ(routeDrawKey(key(24, 0, "="), true), DrawKeyCommand::none);
    EXPECT_EQ(routeDrawKey(key(8, 0, "c"), true), DrawKeyCommand::none);
    // Plain letters are drawing shortcuts, never editing keys.
    EXPECT_EQ(routeDrawKey(key(35, 0, "p"), true), DrawKeyCommand::none);
}

} // namespace
} // namespace markvane
