#include "shortcuts/SystemShortcuts.h"

#include <algorithm>
#include <initializer_list>

namespace markvane {
namespace {

using namespace ModifierFlag;

bool oneOf(quint16 keyCode, std::initializer_list<quint16> codes) {
    return std::find(codes.begin(), codes.end(), keyCode) != codes.end();
}

bool isArrow(quint16 keyCode) {
    return keyCode >= 123 && keyCode <= 126;
}

// The letters (and ` ,) that applications bind to their primary modifier:
// A S Z X C V D F G O P N K R T H W Q M L I ` ,
constexpr std::initializer_list<quint16> kAppLetterKeys = {
    0, 1, 6, 7, 8, 9, 2, 3, 5, 31, 35, 45, 40, 15, 17, 4, 13, 12, 46, 37, 34, 50, 43};

std::optional<QString> macName(quint16 key, quint64 m) {
    if (m == (shift | command) && oneOf(key, {20, 21, 23}))
        return QStringLiteral("macOS screenshots");
    if (m == command && key == 48)
        return QStringLiteral("the app switcher");
    if (m == (option | command) && key == 53)
        return QStringLiteral("Force Quit");
    if (m == command && key == 49)
        return QStringLiteral("Spotlight");
    if (m == (control | command) && key == 49)
        return QStringLiteral("the emoji picker");
    if (isArrow(key) && (m & control) && !(m & option) && !(m & command))
        return QStringLiteral("Mission Control");
    if (m == command && oneOf(key, kAppLetterKeys))
        return QStringLiteral("a standard app shortcut");
    return std::nullopt;
}

// Print (105), Delete (117), Page Up/Down (116, 121), Tab (48), ` (50).
std::optional<QString> pcName(quint16 key, quint64 m) {
    if (key == 105 || (m == (shift | command) && key == 1))
        return QStringLiteral("desktop screenshots");
    if (m == (control | option) && key == 117)
        return QStringLiteral("the log-out dialog");
    if ((m == command || m == (control | option)) && key == 37)
        return QStringLiteral("the lock screen");
    if (m == (control | option) && key == 17)
        return QStringLiteral("the terminal");
    if (isArrow(key) && (m & control) && (m & option) && !(m & command))
        return QStringLiteral("workspace switching");
    if (oneOf(key, {116, 121}) && (m & command) && !(m & (control | option)))
        return QStringLiteral("workspace switching");
    const quint64 withoutShift = m & ~shift;
    if (key == 48 && (withoutShift == option || withoutShift == command))
        return QStringLiteral("the window switcher");
    if (m == option && key == 50)
        return QStringLiteral("the window switcher");
    if (m == control && (oneOf(key, kAppLetterKeys) || key == 16))
        return QStringLiteral("a standard app shortcut");
    return std::nullopt;
}

} // namespace

std::optional<QString> systemShortcutName(quint16 keyCode, quint64 modifiers,
                                          KeyVocabulary vocabulary) {
    const quint64 masked = modifiers & shortcutMask;
    return vocabulary == KeyVocabulary::mac ? macName(keyCode, masked) : pcName(keyCode, masked);
}

std::optional<QString> riskyModifiersAdvice(quint64 modifiers, KeyVocabulary vocabulary) {
    const quint64 m = modifiers & shortcutMask;
    if (vocabulary == KeyVocabulary::mac) {
        if (m == (shift | command) || m == (option | command))
            return QString::fromUtf8(
                "⇧⌘ / ⌥⌘ combos are often taken by apps. A ⌃⌥ combo is safest.");
        return std::nullopt;
    }
    if (m == (control | shift) || m == command || m == (shift | command))
        return QStringLiteral("Ctrl+Shift combos are often taken by apps, Super combos by the "
                              "desktop. A Ctrl+Alt combo is safest.");
    return std::nullopt;
}

} // namespace markvane
