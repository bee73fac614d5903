#include "app/DrawKeyRouting.h"

#include <gtest/gtest.h>

namespace markvane {
namespace {

constexpr quint32 kCtrl = 0x40000;
constexpr quint32 kCtrlShift = 0x40000 | 0x20000;
constexpr quint32 kSuper = 0x100000;

using C = DrawKeyCommand;

struct Case {
    quint16 code;
    quint32 flags;
    const char* characters;
    C whileEditing; // with a selection made by the move tool
    C otherwise;
};

TEST(DrawKeyRouting, KeysMapToCommandsWithAndWithoutASelection) {
    const Case cases[] = {
        // Undo/redo, hide, clear and paste whatever the tool; Ctrl is primary, Super is not.
        {6, kCtrl, "z", C::undo, C::undo},
        {6, kCtrlShift, "Z", C::redo, C::redo},
        {6, kSuper, "z", C::none, C::none},
        {51, kSuper, "", C::deleteSelected, C::none}, // Super is no primary: plain Delete
        // Control characters instead of letters fall back to the key position.
        {6, kCtrl, "\x1a", C::undo, C::undo},
        {4, kCtrlShift, "", C::toggleHidden, C::toggleHidden},
        {8, kCtrl, "\x03", C::copySelection, C::none},
        // Letters follow the characters, not the position, on other layouts.
        {16, kCtrl, "z", C::undo, C::undo},
        {6, kCtrl, "y", C::none, C::none},
        {4, kCtrlShift, "H", C::toggleHidden, C::toggleHidden},
        {4, kCtrl, "h", C::none, C::none},
        {51, kCtrl, "", C::clear, C::clear},
        {9, kCtrl, "v", C::pasteImage, C::pasteImage},
        {9, 0, "v", C::none, C::none},
        // Selection keys act only while editing a selection.
        {51, 0, "", C::deleteSelected, C::none},
        {117, 0, "", C::deleteSelected, C::none},
        {30, 0, "]", C::widthUp, C::none},
        {33, 0, "[", C::widthDown, C::none},
        {24, kCtrl, "=", C::scaleUp, C::none},
        {69, kCtrl, "+", C::scaleUp, C::none},
        {27, kCtrl, "-", C::scaleDown, C::none},
        {78, kCtrl, "-", C::scaleDown, C::none},
        {8, kCtrl, "c", C::copySelection, C::none},
        {7, kCtrl, "x", C::cutSelection, C::none},
        {2, kCtrl, "d", C::duplicateSelection, C::none},
        // Brackets with primary, scale without it and plain letters are left to shortcuts.
        {30, kCtrl, "]", C::none, C::none},
        {24, 0, "=", C::none, C::none},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.code << " flags " << c.flags);
        const DrawKey key{c.code, c.flags, QString::fromUtf8(c.characters)};
        EXPECT_EQ(routeDrawKey(key, true), c.whileEditing);
        EXPECT_EQ(routeDrawKey(key, false), c.otherwise);
    }
}

} // namespace
} // namespace markvane
