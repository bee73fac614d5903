#include "shortcuts/KeyNames.h"

#include <QHash>
#include <atomic>

namespace markvane {
namespace {

std::atomic<KeyVocabulary> g_vocabulary{KeyVocabulary::pc};

struct KeyEntry {
    quint16 code;
    const char* name;
};

// Keys named by their function, as Apple keyboards label them.
constexpr KeyEntry kNamedKeys[] = {
    {36, "return"},      {76, "enter"}, {48, "tab"},        {49, "space"}, {51, "delete"},
    {117, "fwd delete"}, {53, "esc"},   {71, "clear"},      {114, "help"}, {115, "home"},
    {116, "page up"},    {119, "end"},  {121, "page down"}, {123, "←"},    {124, "→"},
    {125, "↓"},          {126, "↑"},    {122, "F1"},        {120, "F2"},   {99, "F3"},
    {118, "F4"},         {96, "F5"},    {97, "F6"},         {98, "F7"},    {100, "F8"},
    {101, "F9"},         {109, "F10"},  {103, "F11"},       {111, "F12"},  {105, "F13"},
    {107, "F14"},        {113, "F15"},  {106, "F16"},       {64, "F17"},   {79, "F18"},
    {80, "F19"},         {90, "F20"},
};

// Where a PC keyboard prints another word on the same key position. The keys
// at F13-F15 are where Print, Scroll Lock and Pause arrive.
constexpr KeyEntry kPcNamedKeys[] = {
    {51, "backspace"}, {117, "delete"},      {114, "insert"}, {71, "num lock"},
    {105, "print"},    {107, "scroll lock"}, {113, "pause"},  {110, "menu"},
};

constexpr KeyEntry kCharacterKeys[] = {
    {0, "a"},   {11, "b"}, {8, "c"},  {2, "d"},  {14, "e"}, {3, "f"},  {5, "g"},  {4, "h"},
    {34, "i"},  {38, "j"}, {40, "k"}, {37, "l"}, {46, "m"}, {45, "n"}, {31, "o"}, {35, "p"},
    {12, "q"},  {15, "r"}, {1, "s"},  {17, "t"}, {32, "u"}, {9, "v"},  {13, "w"}, {7, "x"},
    {16, "y"},  {6, "z"},  {29, "0"}, {18, "1"}, {19, "2"}, {20, "3"}, {21, "4"}, {23, "5"},
    {22, "6"},  {26, "7"}, {28, "8"}, {25, "9"}, {27, "-"}, {24, "="}, {33, "["}, {30, "]"},
    {42, "\\"}, {41, ";"}, {39, "'"}, {43, ","}, {47, "."}, {44, "/"}, {50, "`"},
};

using KeyTable = QHash<quint16, QString>;

template <typename Entries> KeyTable buildTable(const Entries& entries) {
    KeyTable table;
    for (const KeyEntry& entry : entries)
        table.insert(entry.code, QString::fromUtf8(entry.name));
    return table;
}

const KeyTable& namedTable(KeyVocabulary vocabulary) {
    static const KeyTable mac = buildTable(kNamedKeys);
    static const KeyTable pc = [] {
        KeyTable table = buildTable(kNamedKeys);
        for (const KeyEntry& entry : kPcNamedKeys)
            table.insert(entry.code, QString::fromUtf8(entry.name));
        return table;
    }();
    return vocabulary == KeyVocabulary::mac ? mac : pc;
}

const KeyTable& characterTable() {
    static const KeyTable table = buildTable(kCharacterKeys);
    return table;
}

// "page up" → "Page Up": how PC desktops write key words.
QString titleCased(const QString& name) {
    QString result = name;
    bool wordStart = true;
    for (QChar& c : result) {
        if (wordStart)
            c = c.toUpper();
        wordStart = c == QLatin1Char(' ');
    }
    return result;
}

} // namespace

KeyVocabulary currentKeyVocabulary() {
    return g_vocabulary.load(std::memory_order_relaxed);
}

void setCurrentKeyVocabulary(KeyVocabulary vocabulary) {
    g_vocabulary.store(vocabulary, std::memory_order_relaxed);
}

std::optional<QString> namedKeyName(quint16 keyCode, KeyVocabulary vocabulary) {
    const KeyTable& table = namedTable(vocabulary);
    const auto it = table.constFind(keyCode);
    if (it == table.constEnd())
        return std::nullopt;
    return *it;
}

std::optional<QString> characterKeyName(quint16 keyCode) {
    const auto it = characterTable().constFind(keyCode);
    if (it == characterTable().constEnd())
        return std::nullopt;
    return *it;
}

QString keyName(quint16 keyCode, KeyVocabulary vocabulary) {
    if (auto named = namedKeyName(keyCode, vocabulary))
        return *named;
    if (auto character = characterKeyName(keyCode))
        return *character;
    return QStringLiteral("key %1").arg(keyCode);
}

QString keyDisplayName(quint16 keyCode, KeyVocabulary vocabulary) {
    const QString name = keyName(keyCode, vocabulary);
    if (vocabulary == KeyVocabulary::pc && name.size() > 1)
        return titleCased(name);
    return name.toUpper();
}

QString modifierGlyphs(quint64 modifiers, KeyVocabulary vocabulary) {
    struct Part {
        quint64 flag;
        const char* glyph;
        const char* word;
    };
    // Control, option, shift, command: the conventional reading order, not
    // the bit order.
    static constexpr Part kParts[] = {
        {ModifierFlag::control, "⌃", "Ctrl+"},
        {ModifierFlag::option, "⌥", "Alt+"},
        {ModifierFlag::shift, "⇧", "Shift+"},
        {ModifierFlag::command, "⌘", "Super+"},
    };
    QString prefix;
    for (const Part& part : kParts) {
        if (modifiers & part.flag)
            prefix += QString::fromUtf8(vocabulary == KeyVocabulary::mac ? part.glyph : part.word);
    }
    return prefix;
}

QString shortcutText(quint16 keyCode, quint64 modifiers, KeyVocabulary vocabulary) {
    return modifierGlyphs(modifiers, vocabulary) + keyDisplayName(keyCode, vocabulary);
}

} // namespace markvane
