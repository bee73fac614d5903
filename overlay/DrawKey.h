#pragma once

#include <QString>
#include <QtGlobal>

namespace markvane {

// A key press as the drawing code sees it: the key's position in the
// program's key-code numbering (0 = A, 36 = Return, 49 = Space, 51 = the
// backspace key...), the raw modifier flags in the program's bits (shift
// 0x20000, control 0x40000, option 0x80000, command 0x100000, caps lock
// 0x10000) and the characters the key gives without modifiers.
struct DrawKey {
    quint16 keyCode = 0;
    quint32 modifierFlags = 0;
    QString characters;
    bool isEscape() const { return keyCode == 53; }
};

} // namespace markvane
