#pragma once

#include <QtGlobal>
#include <optional>

namespace markvane::platform::x11 {

// Key positions between X and the program's numbering. X key codes are the
// kernel's evdev codes + 8 on every current X server; the program's codes
// name the same physical keys (0 = A, 36 = Return, 49 = Space, 55 = the left
// Super key). A PC key with no own code takes the code of the key found at
// its place (Insert → 114, Print → 105, Num Lock → 71).

// The program's key code of an X key code, if the key has one.
std::optional<quint16> keyCodeFromX(quint8 xKeyCode);
// The X key code of a program key code, if this keyboard layout has the key.
std::optional<quint8> xKeyCodeFromKeyCode(quint16 keyCode);

} // namespace markvane::platform::x11
