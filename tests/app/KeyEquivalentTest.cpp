#include "app/KeyEquivalent.h"

#include <gtest/gtest.h>

using namespace markvane;

TEST(KeyEquivalent, NamedKeysGiveTheirMenuCharacters) {
    EXPECT_EQ(keyEquivalent(36), QChar(0x000D));  // return
    EXPECT_EQ(keyEquivalent(48), QChar(0x0009));  // tab
    EXPECT_EQ(keyEquivalent(49), QChar(0x0020));  // space
    EXPECT_EQ(keyEquivalent(51), QChar(0x0008));  // delete
    EXPECT_EQ(keyEquivalent(53), QChar(0x001B));  // escape
    EXPECT_EQ(keyEquivalent(76), QChar(0x0003));  // enter
    EXPECT_EQ(keyEquivalent(117), QChar(0x007F)); // forward delete
    EXPECT_EQ(keyEquivalent(115), QChar(0xF729)); // home
    EXPECT_EQ(keyEquivalent(116), QChar(0xF72C)); // page up
    EXPECT_EQ(keyEquivalent(119), QChar(0xF72B)); // end
    EXPECT_EQ(keyEquivalent(121), QChar(0xF72D)); // page down
    EXPECT_EQ(keyEquivalent(123), QChar(0xF702));
    EXPECT_EQ(keyEquivalent(124), QChar(0xF703));
    EXPECT_EQ(keyEquivalent(125), QChar(0xF701));
    EXPECT_EQ(keyEquivalent(126), QChar(0xF700));
}

TEST(KeyEquivalent, FunctionKeysCountUpFromF1) {
    EXPECT_EQ(keyEquivalent(122), QChar(0xF704)); // F1
    EXPECT_EQ(keyEquivalent(96), QChar(0xF708));  // F5
    EXPECT_EQ(keyEquivalent(111), QChar(0xF70F)); // F12
    EXPECT_EQ(keyEquivalent(90), QChar(0xF717));  // F20
}

TEST(KeyEquivalent, PrintedKeysGiveTheirLowerCaseCharacterAndOthersNothing) {
    EXPECT_EQ(keyEquivalent(2), QChar(u'd'));
    EXPECT_EQ(keyEquivalent(31), QChar(u'o'));
    EXPECT_EQ(keyEquivalent(43), QChar(u','));
    EXPECT_EQ(keyEquivalent(29), QChar(u'0'));
    EXPECT_FALSE(keyEquivalent(10));  // no key there on ANSI keyboards
    EXPECT_FALSE(keyEquivalent(71));  // clear: named, but not in the table above
    EXPECT_FALSE(keyEquivalent(114)); // help
    EXPECT_FALSE(keyEquivalent(65535));
}
