#pragma once

#include <QChar>
#include <QtGlobal>
#include <optional>

namespace markvane {

// The menu key-equivalent character of a key code in the mac vocabulary:
// control characters for Return, Tab, Delete..., the private-use characters
// of the arrow, navigation and function keys, the lower-case character of a
// printed key; none for anything else. A menu shows a shortcut hint only for
// keys that have one.
std::optional<QChar> keyEquivalent(quint16 keyCode);

} // namespace markvane
