#include "overlay/KeyTranslation.h"

#include <QHash>
#include <QKeyEvent>

namespace markvane {
namespace {

const QHash<int, quint16>& qtKeyTable() {
    static const QHash<int, quint16> table = [] {
        QHash<int, quint16> t;
        const quint16 letters[26] = {0,  11, 8,  2,  14, 3, 5,  4,  34, 38, 40, 37, 46,
                                     45, 31, 35, 12, 15, 1, 17, 32, 9,  13, 7,  16, 6};
        for (int i = 0; i < 26; ++i)
            t.insert(Qt::Key_A + i, letters[i]);
        const quint16 digits[10] = {29, 18, 19, 20, 21, 23, 22, 26, 28, 25};
        for (int i = 0; i < 10; ++i)
            t.insert(Qt::Key_0 + i, digits[i]);
        // US shifted digits and punctuation share their key's code.
        const std::pair<int, quint16> others[] = {
            {Qt::Key_ParenRight, 29},  {Qt::Key_Exclam, 18},      {Qt::Key_At, 19},
            {Qt::Key_NumberSign, 20},  {Qt::Key_Dollar, 21},      {Qt::Key_Percent, 23},
            {Qt::Key_AsciiCircum, 22}, {Qt::Key_Ampersand, 26},   {Qt::Key_Asterisk, 28},
            {Qt::Key_ParenLeft, 25},   {Qt::Key_Equal, 24},       {Qt::Key_Plus, 24},
            {Qt::Key_Minus, 27},       {Qt::Key_Underscore, 27},  {Qt::Key_BracketRight, 30},
            {Qt::Key_BraceRight, 30},  {Qt::Key_BracketLeft, 33}, {Qt::Key_BraceLeft, 33},
            {Qt::Key_Apostrophe, 39},  {Qt::Key_QuoteDbl, 39},    {Qt::Key_Semicolon, 41},
            {Qt::Key_Colon, 41},       {Qt::Key_Backslash, 42},   {Qt::Key_Bar, 42},
            {Qt::Key_Comma, 43},       {Qt::Key_Less, 43},        {Qt::Key_Slash, 44},
            {Qt::Key_Question, 44},    {Qt::Key_Period, 47},      {Qt::Key_Greater, 47},
            {Qt::Key_QuoteLeft, 50},   {Qt::Key_AsciiTilde, 50},  {Qt::Key_Return, 36},
            {Qt::Key_Tab, 48},         {Qt::Key_Backtab, 48},     {Qt::Key_Space, 49},
            {Qt::Key_Backspace, 51},   {Qt::Key_Escape, 53},      {Qt::Key_Delete, 117},
            {Qt::Key_Home, 115},       {Qt::Key_End, 119},        {Qt::Key_PageUp, 116},
            {Qt::Key_PageDown, 121},   {Qt::Key_Left, 123},       {Qt::Key_Right, 124},
            {Qt::Key_Down, 125},       {Qt::Key_Up, 126},         {Qt::Key_Insert, 114},
            {Qt::Key_F1, 122},         {Qt::Key_F2, 120},         {Qt::Key_F3, 99},
            {Qt::Key_F4, 118},         {Qt::Key_F5, 96},          {Qt::Key_F6, 97},
            {Qt::Key_F7, 98},          {Qt::Key_F8, 100},         {Qt::Key_F9, 101},
            {Qt::Key_F10, 109},        {Qt::Key_F11, 103},        {Qt::Key_F12, 111},
        };
        for (const auto& [key, code] : others)
            t.insert(key, code);
        return t;
    }();
    return table;
}

const QHash<int, quint16>& keypadTable() {
    static const QHash<int, quint16> table = [] {
        QHash<int, quint16> t;
        const quint16 digits[10] = {82, 83, 84, 85, 86, 87, 88, 89, 91, 92};
        for (int i = 0; i < 10; ++i)
            t.insert(Qt::Key_0 + i, digits[i]);
        t.insert(Qt::Key_Plus, 69);
        t.insert(Qt::Key_Minus, 78);
        t.insert(Qt::Key_Asterisk, 67);
        t.insert(Qt::Key_Slash, 75);
        t.insert(Qt::Key_Period, 65);
        t.insert(Qt::Key_Comma, 65);
        t.insert(Qt::Key_Enter, 76);
        t.insert(Qt::Key_Equal, 81);
        return t;
    }();
    return table;
}

} // namespace

quint32 modifierFlags(Qt::KeyboardModifiers modifiers) {
    quint32 flags = 0;
    if (modifiers & Qt::ShiftModifier)
        flags |= kShiftFlag;
    if (modifiers & Qt::ControlModifier)
        flags |= kControlFlag;
    if (modifiers & Qt::AltModifier)
        flags |= kOptionFlag;
    if (modifiers & Qt::MetaModifier)
        flags |= kCommandFlag;
    return flags;
}

std::optional<quint16> keyCodeForQtKey(int qtKey, bool keypad) {
    if (keypad) {
        const auto it = keypadTable().constFind(qtKey);
        if (it != keypadTable().constEnd())
            return *it;
    }
    const auto it = qtKeyTable().constFind(qtKey);
    if (it != qtKeyTable().constEnd())
        return *it;
    if (qtKey == Qt::Key_Enter)
        return 76;
    return std::nullopt;
}

std::optional<DrawKey> drawKeyFromEvent(const QKeyEvent& event, const NativeKeyMap& nativeMap) {
    std::optional<quint16> code;
    if (event.nativeScanCode() != 0 && nativeMap)
        code = nativeMap(event.nativeScanCode());
    if (!code)
        code = keyCodeForQtKey(event.key(), event.modifiers() & Qt::KeypadModifier);
    if (!code)
        return std::nullopt;
    DrawKey key;
    key.keyCode = *code;
    key.modifierFlags = modifierFlags(event.modifiers());
    // Control turns letters into control characters; keep only what can be
    // read as the key's own characters.
    const QString text = event.text();
    if (!text.isEmpty() && text.at(0).isPrint())
        key.characters = text.toLower();
    else if (event.key() >= Qt::Key_A && event.key() <= Qt::Key_Z)
        key.characters = QChar(u'a' + (event.key() - Qt::Key_A));
    return key;
}

} // namespace markvane
