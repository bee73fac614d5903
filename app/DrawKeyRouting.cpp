#include "app/DrawKeyRouting.h"

namespace markvane {

namespace {

constexpr quint32 kShift = 0x20000;
constexpr quint32 kPrimary = 0x40000; // control

// Key positions in the program's numbering.
constexpr quint16 kKeyV = 9;
constexpr quint16 kKeyEqual = 24;
constexpr quint16 kKeyMinus = 27;
constexpr quint16 kKeyRightBracket = 30;
constexpr quint16 kKeyLeftBracket = 33;
constexpr quint16 kKeyDelete = 51;
constexpr quint16 kKeypadPlus = 69;
constexpr quint16 kKeypadMinus = 78;
constexpr quint16 kKeyForwardDelete = 117;

// The letter a key gives without modifiers. With Ctrl held some keyboard
// paths hand over a control character instead of the letter; the key's
// position then stands in, as on a US layout.
QString baseCharacters(const DrawKey& key) {
    const QString lowered = key.characters.toLower();
    if (!lowered.isEmpty() && lowered.at(0).unicode() >= 0x20)
        return lowered;
    switch (key.keyCode) {
    case 2:
        return QStringLiteral("d");
    case 4:
        return QStringLiteral("h");
    case 6:
        return QStringLiteral("z");
    case 7:
        return QStringLiteral("x");
    case 8:
        return QStringLiteral("c");
    default:
        return lowered;
    }
}

} // namespace

DrawKeyCommand routeDrawKey(const DrawKey& key, bool editingSelection) {
    const bool primary = key.modifierFlags & kPrimary;
    const bool shift = key.modifierFlags & kShift;
    const QString characters = baseCharacters(key);

    if (primary) {
        if (characters == QLatin1String("z"))
            return shift ? DrawKeyCommand::redo : DrawKeyCommand::undo;
        if (shift && characters == QLatin1String("h"))
            return DrawKeyCommand::toggleHidden;
        if (key.keyCode == kKeyDelete)
            return DrawKeyCommand::clear;
        if (key.keyCode == kKeyV)
            return DrawKeyCommand::pasteImage;
    }

    if (!editingSelection)
        return DrawKeyCommand::none;

    if (key.keyCode == kKeyDelete || key.keyCode == kKeyForwardDelete)
        return DrawKeyCommand::deleteSelected;
    if (!primary) {
        if (key.keyCode == kKeyRightBracket)
            return DrawKeyCommand::widthUp;
        if (key.keyCode == kKeyLeftBracket)
            return DrawKeyCommand::widthDown;
        return DrawKeyCommand::none;
    }
    if (key.keyCode == kKeyEqual || key.keyCode == kKeypadPlus)
        return DrawKeyCommand::scaleUp;
    if (key.keyCode == kKeyMinus || key.keyCode == kKeypadMinus)
        return DrawKeyCommand::scaleDown;
    if (characters == QLatin1String("c"))
        return DrawKeyCommand::copySelection;
    if (characters == QLatin1String("x"))
        return DrawKeyCommand::cutSelection;
    if (characters == QLatin1String("d"))
        return DrawKeyCommand::duplicateSelection;
    return DrawKeyCommand::none;
}

} // namespace markvane
