#pragma once

#include <QString>
#include <QtGlobal>
#include <optional>

namespace markvane {

// Modifier flag bits, in the program's own numbering (shared by every
// platform layer; the X11 layer maps Ctrl, Alt, Shift and Super onto them).
namespace ModifierFlag {
constexpr quint64 capsLock = 0x10000;
constexpr quint64 shift = 0x20000;
constexpr quint64 control = 0x40000;
constexpr quint64 option = 0x80000;
constexpr quint64 command = 0x100000;
constexpr quint64 numericPad = 0x200000;
constexpr quint64 help = 0x400000;
constexpr quint64 function = 0x800000;
// The bits a shortcut carries: shift, control, option and command.
constexpr quint64 shortcutMask = 0x1E0000;
} // namespace ModifierFlag

// How keys and modifiers are named to people. `mac` uses the ⌃⌥⇧⌘ glyphs and
// Apple's key names; `pc` uses the words printed on PC keyboards
// ("Ctrl+Alt+D", "backspace").
enum class KeyVocabulary { mac, pc };

// The vocabulary of this process: pc unless changed (tests switch it).
KeyVocabulary currentKeyVocabulary();
void setCurrentKeyVocabulary(KeyVocabulary vocabulary);

// The name of a key that has a name rather than a printed character
// ("return", "F5", "←"), if it has one.
std::optional<QString> namedKeyName(quint16 keyCode,
                                    KeyVocabulary vocabulary = currentKeyVocabulary());
// The printed character of a key at its ANSI position ("a", "1", "["), if any.
std::optional<QString> characterKeyName(quint16 keyCode);

// The key's name before upper-casing; "key <code>" for a key in no table.
QString keyName(quint16 keyCode, KeyVocabulary vocabulary = currentKeyVocabulary());
// The key's name as shown in a shortcut: upper-cased ("D", "DELETE", "F5").
QString keyDisplayName(quint16 keyCode, KeyVocabulary vocabulary = currentKeyVocabulary());

// The modifier prefix of a shortcut's text. mac: glyphs in the order ⌃⌥⇧⌘.
// pc: "Ctrl+", "Alt+", "Shift+", "Super+" in the same order, so that prefix
// and key name join without a separator in both vocabularies.
QString modifierGlyphs(quint64 modifiers, KeyVocabulary vocabulary = currentKeyVocabulary());

// Prefix followed by the display name of the key: "⌃⌥D" or "Ctrl+Alt+D".
QString shortcutText(quint16 keyCode, quint64 modifiers,
                     KeyVocabulary vocabulary = currentKeyVocabulary());

} // namespace markvane
