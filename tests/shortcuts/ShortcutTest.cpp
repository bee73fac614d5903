#include "shortcuts/Shortcut.h"

#include <gtest/gtest.h>

namespace markvane {
namespace {

using namespace ModifierFlag;
constexpr quint64 kControlOption = control | option;
constexpr quint64 kAll = shift | control | option | command;

TEST(ShortcutDisplay, ModifiersComeInFixedOrderThenTheKeyInEachVocabulary) {
    const struct {
        quint16 keyCode;
        quint64 modifiers;
        const char* mac;
        const char* pc;
    } cases[] = {
        {2, kControlOption, "⌃⌥D", "Ctrl+Alt+D"},
        {51, kControlOption, "⌃⌥DELETE", "Ctrl+Alt+Backspace"},
        {117, 0, "FWD DELETE", "Delete"},
        {116, command, "⌘PAGE UP", "Super+Page Up"},
        {33, 0, "[", "["},
        {123, 0, "←", "←"},
        {10, 0, "KEY 10", "Key 10"},
        // Bits outside the four modifiers add nothing.
        {0, kAll | capsLock | function | 0xFF, "⌃⌥⇧⌘A", "Ctrl+Alt+Shift+Super+A"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pc);
        const Shortcut shortcut(c.keyCode, c.modifiers);
        EXPECT_EQ(shortcut.displayString(KeyVocabulary::mac), QString::fromUtf8(c.mac));
        EXPECT_EQ(shortcut.displayString(KeyVocabulary::pc), QString::fromUtf8(c.pc));
    }
}

TEST(ShortcutJson, RoundTripsAndAcceptsExtraMembersOrderAndWhiteSpace) {
    EXPECT_EQ(Shortcut(2, 786432).toJson(), QByteArray(R"({"keyCode":2,"modifiers":786432})"));
    for (const Shortcut& s :
         {Shortcut(0, 0), Shortcut(65535, kAll), Shortcut(36, 0x7FFFFFFFFFFFFFFF)})
        EXPECT_EQ(Shortcut::fromJson(s.toJson()), s);
    EXPECT_EQ(Shortcut::fromJson(R"({"keyCode":35,"modifiers":0,"extra":1})"), Shortcut(35, 0));
    EXPECT_EQ(Shortcut::fromJson(" {\n \"modifiers\" : 262144 , \"keyCode\" : 7 } \n"),
              Shortcut(7, 262144));
    EXPECT_EQ(Shortcut::fromJson(R"({"keyCode":2.0,"modifiers":0})"), Shortcut(2, 0));
}

TEST(ShortcutJson, RefusesMissingMembersWrongTypesOutOfRangeNumbersAndBadText) {
    const char* bad[] = {
        R"({"keyCode":35})",
        R"({"keyCode":65536,"modifiers":0})",
        R"({"keyCode":1.5,"modifiers":0})",
        R"({"keyCode":"35","modifiers":0})",
        R"({"keyCode":35,"modifiers":1e300})",
        R"({"keyCode":35,"modifiers":18446744073709551616})",
        R"({"keyCode":35,"modifiers":0} trailing)",
        R"({"keyCode":35,"modifiers":0)",
        R"([35,0])",
        "",
        "\xff\xfe\x00garbage",
    };
    for (const char* json : bad)
        EXPECT_FALSE(Shortcut::fromJson(QByteArray(json)).has_value()) << json;
}

} // namespace
} // namespace markvane
