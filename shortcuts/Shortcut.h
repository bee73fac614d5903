#pragma once

#include "shortcuts/KeyNames.h"

#include <QByteArray>
#include <QString>
#include <optional>

namespace markvane {

// One key combination: a key code in the program's numbering (0 = the A key
// position, 36 = Return, 49 = Space) and modifier flag bits (ModifierFlag).
// Producers mask the flags with ModifierFlag::shortcutMask before building
// one; a shortcut read from preferences is kept exactly as stored.
struct Shortcut {
    quint16 keyCode = 0;
    quint64 modifiers = 0;

    constexpr Shortcut() = default;
    constexpr Shortcut(quint16 keyCode, quint64 modifiers)
        : keyCode(keyCode), modifiers(modifiers) {}

    // Equal when key code and the whole modifiers value are equal.
    friend constexpr bool operator==(const Shortcut&, const Shortcut&) = default;

    // "⌃⌥D" / "Ctrl+Alt+D" in the given or the process's vocabulary.
    QString displayString() const { return displayString(currentKeyVocabulary()); }
    QString displayString(KeyVocabulary vocabulary) const;

    // {"keyCode":2,"modifiers":786432}
    QByteArray toJson() const;
    // Needs both members as non-negative integers, the key code at most
    // 65535; other members are ignored. Anything else gives nothing.
    static std::optional<Shortcut> fromJson(const QByteArray& json);
};

} // namespace markvane
