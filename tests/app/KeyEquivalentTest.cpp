#include "app/KeyEquivalent.h"

#include <gtest/gtest.h>

using namespace markvane;

TEST(KeyEquivalent, ControlAndFunctionCharactersPrintedKeysInLowerCaseOthersNothing) {
    EXPECT_EQ(keyEquivalent(51), QChar(0x0008));  // delete
    EXPECT_EQ(keyEquivalent(125), QChar(0xF701)); // down arrow
    EXPECT_EQ(keyEquivalent(122), QChar(0xF704)); // F1
    EXPECT_EQ(keyEquivalent(90), QChar(0xF717));  // F20
    EXPECT_EQ(keyEquivalent(2), QChar(u'd'));
    EXPECT_FALSE(keyEquivalent(10)); // no key there on ANSI keyboards
    EXPECT_FALSE(keyEquivalent(71)); // clear: named, but has no menu character
    EXPECT_FALSE(keyEquivalent(65535));
}
