#include "platform/x11/KeyCodeMap.h"

#include <gtest/gtest.h>

namespace markvane::platform::x11 {
namespace {

constexpr int kEvdev = 8; // X key code = evdev code + 8

TEST(KeyCodeMap, MapsPhysicalPositionsBothWays) {
    struct Case {
        int evdev;
        quint16 keyCode;
    } cases[] = {{30, 0}, {21, 16}, {14, 51}, {111, 117}, {105, 123}, {125, 55}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.evdev);
        EXPECT_EQ(keyCodeFromX(quint8(c.evdev + kEvdev)), c.keyCode);
        EXPECT_EQ(xKeyCodeFromKeyCode(c.keyCode), quint8(c.evdev + kEvdev));
    }
}

TEST(KeyCodeMap, EveryProgramCodeGoesBackToAKeyThatMapsToIt_AndPcOnlyKeysShareCodes) {
    int mapped = 0;
    for (int code = 0; code < 300; ++code) {
        if (auto x = xKeyCodeFromKeyCode(quint16(code))) {
            EXPECT_EQ(keyCodeFromX(*x), code);
            ++mapped;
        }
    }
    EXPECT_GT(mapped, 100);
    // Keys the X server has no key for, and codes out of every table.
    EXPECT_FALSE(keyCodeFromX(0));
    EXPECT_FALSE(keyCodeFromX(255));
    EXPECT_FALSE(xKeyCodeFromKeyCode(63)); // fn has no PC key
    EXPECT_FALSE(xKeyCodeFromKeyCode(65535));
    // PC-only keys share the codes of the keys in their places.
    EXPECT_EQ(keyCodeFromX(183 + kEvdev), 105); // F13 and Print
    EXPECT_EQ(xKeyCodeFromKeyCode(105), 99 + kEvdev);
    EXPECT_EQ(keyCodeFromX(119 + kEvdev), 113); // Pause is F15
    EXPECT_EQ(keyCodeFromX(69 + kEvdev), 71);   // Num Lock is keypad clear
}

} // namespace
} // namespace markvane::platform::x11
