#include "app/TrayMenuModel.h"
#include "shortcuts/GlobalShortcuts.h"

#include <gtest/gtest.h>

using namespace markvane;

namespace {

using Kind = TrayMenuItem::Kind;

TrayMenuInputs defaults(KeyVocabulary vocabulary = KeyVocabulary::pc) {
    TrayMenuInputs inputs;
    inputs.globalShortcut = [](GlobalAction action) {
        return GlobalShortcuts::defaultShortcut(action);
    };
    inputs.drawShortcut = [](DrawAction action) {
        return Shortcut(drawActionDefaultKeyCode(action), 0);
    };
    inputs.vocabulary = vocabulary;
    return inputs;
}

QStringList titles(const QList<TrayMenuItem>& items) {
    QStringList list;
    for (const TrayMenuItem& item : items)
        list << (item.kind == Kind::separator ? QStringLiteral("-") : item.title);
    return list;
}

} // namespace

TEST(TrayMenuModel, FifteenEntriesInOrderWithTheirCommands) {
    const QList<TrayMenuItem> items = buildTrayMenu(defaults());
    EXPECT_EQ(titles(items).join(u'|'),
              "Show Toolbar|-|Draw mode|-|Undo|Redo|Clear annotations|Hide all annotations|"
              "Show keystrokes|Cycle cursor effect|-|Drawing shortcuts|Settings…|-|Quit Markvane");
    EXPECT_EQ(items[0].command, TrayCommand::toggleToolbar);
    EXPECT_EQ(items[2].command, TrayCommand::toggleDraw);
    EXPECT_EQ(items[6].command, TrayCommand::clear);
    EXPECT_EQ(items[7].command, TrayCommand::hideAll);
    EXPECT_EQ(items[11].kind, Kind::submenu);
    EXPECT_EQ(items[11].command, TrayCommand::none);
    EXPECT_EQ(items[12].command, TrayCommand::openSettings);
    EXPECT_EQ(items[14].command, TrayCommand::quit);
}

TEST(TrayMenuModel, DefaultGlobalShortcutsShowAsPcHintsOnTheTenActionItems) {
    const QList<TrayMenuItem> items = buildTrayMenu(defaults());
    QStringList hints;
    for (const TrayMenuItem& item : items)
        hints << item.shortcutHint;
    EXPECT_EQ(hints.join(u'|'), "Ctrl+Alt+O||Ctrl+Alt+D||Ctrl+Alt+Z|Ctrl+Alt+Y|Ctrl+Alt+Backspace|"
                                "Ctrl+Alt+H|Ctrl+Alt+K|Ctrl+Alt+C|||Ctrl+,||Ctrl+Q");
}

TEST(TrayMenuModel, ReboundShortcutsShowMaskedKeysWithoutEquivalentShowNothingAndMacUsesGlyphs) {
    TrayMenuInputs inputs = defaults();
    inputs.globalShortcut = [](GlobalAction action) {
        if (action == GlobalAction::undo) // F5 with command, stored with caps lock
            return Shortcut(96, ModifierFlag::command | ModifierFlag::capsLock);
        if (action == GlobalAction::redo) // a key code with no menu character
            return Shortcut(10, ModifierFlag::control | ModifierFlag::option);
        return GlobalShortcuts::defaultShortcut(action);
    };
    QList<TrayMenuItem> items = buildTrayMenu(inputs);
    EXPECT_EQ(items[4].shortcutHint, QStringLiteral("Super+F5"));
    EXPECT_EQ(items[5].shortcutHint, QString());
    EXPECT_EQ(items[2].shortcutHint, QStringLiteral("Ctrl+Alt+D"));

    inputs.vocabulary = KeyVocabulary::mac; // glyph hints
    items = buildTrayMenu(inputs);
    EXPECT_EQ(items[4].shortcutHint, QStringLiteral("⌘F5"));
    EXPECT_EQ(items[2].shortcutHint, QStringLiteral("⌃⌥D"));
    EXPECT_EQ(items[6].shortcutHint, QStringLiteral("⌃⌥DELETE"));
    EXPECT_EQ(items[14].shortcutHint, QStringLiteral("⌘Q"));
    EXPECT_EQ(items[11].submenu.last().title, QStringLiteral("Step back   \u238B"));
}

TEST(TrayMenuModel, StatesGiveTitlesChecksAndEnabledItems) {
    TrayMenuInputs inputs = defaults();
    QList<TrayMenuItem> items = buildTrayMenu(inputs);
    // Features this program does not have yet are listed but cannot be chosen.
    EXPECT_FALSE(items[0].enabled || items[8].enabled || items[9].enabled || items[12].enabled);
    EXPECT_TRUE(items[2].enabled && items[4].enabled && items[14].enabled);
    EXPECT_FALSE(items[2].checked || items[7].checked || items[8].checked || items[9].checked);
    EXPECT_FALSE(items[4].checkable);

    inputs.state.toolbarVisible = true;
    inputs.state.drawMode = true;
    inputs.state.annotationsHidden = true;
    inputs.state.keystrokesEnabled = true;
    inputs.state.cursorEffectLabel = QStringLiteral("Magnifier");
    inputs.state.settingsAvailable = true;
    items = buildTrayMenu(inputs);
    EXPECT_EQ(items[0].title, QStringLiteral("Hide Toolbar"));
    EXPECT_TRUE(items[0].enabled);
    EXPECT_TRUE(items[2].checkable && items[2].checked);
    EXPECT_TRUE(items[7].checked);
    EXPECT_EQ(items[8].title, QStringLiteral("Hide keystrokes"));
    EXPECT_TRUE(items[8].checked && items[8].enabled);
    EXPECT_EQ(items[9].title, QStringLiteral("Cursor effect: Magnifier"));
    EXPECT_TRUE(items[9].checked);
    EXPECT_TRUE(items[12].enabled);

    inputs.state.toolbarVisible = false;
    inputs.state.keystrokesEnabled = false;
    inputs.state.cursorEffectLabel = QString();
    items = buildTrayMenu(inputs);
    EXPECT_EQ(items[0].title, QStringLiteral("Show Toolbar"));
    EXPECT_EQ(titles(items).mid(8, 2), (QStringList{QStringLiteral("Show keystrokes"),
                                                    QStringLiteral("Cycle cursor effect")}));
    EXPECT_TRUE(items[0].enabled && items[9].enabled);
    EXPECT_FALSE(items[8].checked || items[9].checked);
}

TEST(TrayMenuModel, DrawingShortcutsSubmenuListsOfferedActionsInOrderAndInformsOnly) {
    TrayMenuInputs inputs = defaults();
    inputs.drawShortcut = [](DrawAction action) {
        if (action == DrawAction::thicker) // stored flags are shown as they are
            return Shortcut(30, ModifierFlag::shift);
        return Shortcut(drawActionDefaultKeyCode(action), 0);
    };
    const QList<TrayMenuItem> submenu = buildTrayMenu(inputs)[11].submenu;
    EXPECT_EQ(titles(submenu).join(u'|'),
              "Pen   P|Highlighter   H|Line   L|Arrow   A|Rectangle   R|Ellipse   E|Text   T|"
              "Ruler   K|Eraser   X|Select / Move   M|Colour 1   1|Colour 2   2|Colour 3   3|"
              "Colour 4   4|Colour 5   5|Thinner stroke   [|Thicker stroke   Shift+]|-|"
              "Step back   Esc");
    for (const TrayMenuItem& item : submenu) {
        EXPECT_EQ(item.command, TrayCommand::none);
        if (item.kind == Kind::action) {
            EXPECT_FALSE(item.enabled) << item.title.toStdString();
        }
    }
}
