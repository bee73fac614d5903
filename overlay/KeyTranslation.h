#pragma once

#include "overlay/DrawKey.h"

#include <QtGlobal>
#include <functional>
#include <optional>

class QKeyEvent;

namespace markvane {

// Modifier bits of the program's key numbering.
inline constexpr quint32 kShiftFlag = 0x20000;
inline constexpr quint32 kControlFlag = 0x40000;
inline constexpr quint32 kOptionFlag = 0x80000;
inline constexpr quint32 kCommandFlag = 0x100000;
// In-app editing keys use Ctrl on this platform.
inline constexpr quint32 kPrimaryFlag = kControlFlag;

// Key codes the drawing code names.
namespace KeyCode {
inline constexpr quint16 z = 6;
inline constexpr quint16 equal = 24;
inline constexpr quint16 minus = 27;
inline constexpr quint16 keypadPlus = 69;
inline constexpr quint16 keypadMinus = 78;
inline constexpr quint16 escape = 53;
} // namespace KeyCode

// Maps the windowing system's key code of a physical key to the program's
// key code; empty for keys it does not know.
using NativeKeyMap = std::function<std::optional<quint16>(quint32 nativeScanCode)>;

quint32 modifierFlags(Qt::KeyboardModifiers modifiers);

// The program's key code for a Qt key, by its place on a US keyboard. Used
// when the platform reports no native key code (as under the offscreen
// platform).
std::optional<quint16> keyCodeForQtKey(int qtKey, bool keypad);

// The key as the drawing code sees it. The native key code wins when the map
// knows it; keys neither source knows are returned empty.
std::optional<DrawKey> drawKeyFromEvent(const QKeyEvent& event, const NativeKeyMap& nativeMap);

} // namespace markvane
