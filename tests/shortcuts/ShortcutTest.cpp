#include "shortcuts/Shortcut.h"

#include <gtest/gtest.h>

namespace markvane {
namespace {

constexpr quint64 kControlOption = ModifierFlag::control | ModifierFlag::option;
constexpr quint64 kAll =
    ModifierFlag::shift | ModifierFlag::control | ModifierFlag::option | ModifierFlag::command;

QString text(quint16 keyCode, quint64 modifiers, KeyVocabulary vocabulary) {
    return Shortcut(keyCode, modifiers).displayString(vocabulary);
}

TEST(ShortcutDisplay, MacVocabulary_ShowsGlyphsThenUpperCasedKeyName) {
    const auto mac = KeyVocabulary::mac;
    EXPECT_EQ(text(2, kControlOption, mac), QString::fromUtf8("⌃⌥D"));
    EXPECT_EQ(text(51, kControlOption, mac), QString::fromUtf8("⌃⌥DELETE"));
    EXPECT_EQ(text(49, ModifierFlag::command, mac), QString::fromUtf8("⌘SPACE"));
    EXPECT_EQ(text(33, 0, mac), QStringLiteral("["));
    EXPECT_EQ(text(30, 0, mac), QStringLiteral("]"));
    EXPECT_EQ(text(20, ModifierFlag::shift | ModifierFlag::command, mac), QString::fromUtf8("⇧⌘3"));
    EXPECT_EQ(text(117, 0, mac), QStringLiteral("FWD DELETE"));
    EXPECT_EQ(text(10, 0, mac), QStringLiteral("KEY 10"));
    EXPECT_EQ(text(123, 0, mac), QString::fromUtf8("←"));
}

TEST(ShortcutDisplay, GlyphOrder_IsControlOptionShiftCommandWhateverTheBits) {
    EXPECT_EQ(text(0, kAll, KeyVocabulary::mac), QString::fromUtf8("⌃⌥⇧⌘A"));
    EXPECT_EQ(text(0, kAll, KeyVocabulary::pc), QStringLiteral("Ctrl+Alt+Shift+Super+A"));
    // Bits outside the four modifiers add nothing to the text.
    EXPECT_EQ(
        modifierGlyphs(ModifierFlag::capsLock | ModifierFlag::function | 0xFF, KeyVocabulary::mac),
        QString());
}

TEST(ShortcutDisplay, PcVocabulary_UsesPcKeyWords) {
    const auto pc = KeyVocabulary::pc;
    EXPECT_EQ(text(2, kControlOption, pc), QStringLiteral("Ctrl+Alt+D"));
    EXPECT_EQ(text(51, kControlOption, pc), QStringLiteral("Ctrl+Alt+Backspace"));
    EXPECT_EQ(text(117, 0, pc), QStringLiteral("Delete"));
    EXPECT_EQ(text(114, ModifierFlag::shift, pc), QStringLiteral("Shift+Insert"));
    EXPECT_EQ(text(116, ModifierFlag::command, pc), QStringLiteral("Super+Page Up"));
    EXPECT_EQ(text(105, 0, pc), QStringLiteral("Print"));
    EXPECT_EQ(keyName(51, pc), QStringLiteral("backspace"));
    EXPECT_EQ(keyName(51, KeyVocabulary::mac), QStringLiteral("delete"));
}

TEST(ShortcutJson, RoundTripsAndWritesBothMembers) {
    const Shortcut shortcut(2, 786432);
    EXPECT_EQ(shortcut.toJson(), QByteArray(R"({"keyCode":2,"modifiers":786432})"));
    for (const Shortcut& s :
         {Shortcut(0, 0), Shortcut(65535, kAll), Shortcut(36, 0x7FFFFFFFFFFFFFFF)})
        EXPECT_EQ(Shortcut::fromJson(s.toJson()), s);
}

TEST(ShortcutJson, AcceptsExtraMembersOrderAndWhiteSpace) {
    EXPECT_EQ(Shortcut::fromJson(R"({"keyCode":35,"modifiers":0,"extra":1})"), Shortcut(35, 0));
    EXPECT_EQ(Shortcut::fromJson(" {\n \"modifiers\" : 262144 , \"keyCode\" : 7 } \n"),
              Shortcut(7, 262144));
    EXPECT_EQ(Shortcut::fromJson(R"({"keyCode":2.0,"modifiers":0})"), Shortcut(2, 0));
}

TEST(ShortcutJson, RefusesEveryMalformedInput) {
    const char* bad[] = {
        R"({"modifiers":0})",
        R"({"keyCode":35})",
        R"({})",
        R"({"keyCode":65536,"modifiers":0})",
        R"({"keyCode":-1,"modifiers":0})",
        R"({"keyCode":1.5,"modifiers":0})",
        R"({"keyCode":"35","modifiers":0})",
        R"({"keyCode":true,"modifiers":0})",
        R"({"keyCode":null,"modifiers":0})",
        R"({"keyCode":[35],"modifiers":0})",
        R"({"keyCode":{"v":35},"modifiers":0})",
        R"({"keyCode":35,"modifiers":-131072})",
        R"({"keyCode":35,"modifiers":0.5})",
        R"({"keyCode":35,"modifiers":1e300})",
        R"({"keyCode":1e400,"modifiers":0})",
        R"({"keyCode":35,"modifiers":18446744073709551616})",
        R"({"keyCode":35,"modifiers":99999999999999999999999999999})",
        R"({"keyCode":35,"modifiers":0} trailing)",
        R"({"keyCode":35,"modifiers":0}{})",
        R"({"keyCode":35,"modifiers":0)",
        R"([35,0])",
        R"(35)",
        R"("keyCode")",
        R"(null)",
        "",
        "\xff\xfe\x00garbage",
    };
    for (const char* json : bad)
        EXPECT_FALSE(Shortcut::fromJson(QByteArray(json)).has_value()) << json;
}

} // namespace
} // namespace markvane
