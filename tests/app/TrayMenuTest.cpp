#include "app/TrayMenu.h"
#include "FakeShell.h"
#include "app/ShellMenu.h"
#include "app/TrayIcon.h"
#include "shortcuts/GlobalShortcuts.h"

#include <QAction>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QMenu>
#include <gtest/gtest.h>

using namespace markvane;
using markvane::testing::FakeShell;

namespace {

using Kind = TrayMenuItem::Kind;

TrayMenuInputs inputsFor(const ShellActions& shell) {
    TrayMenuInputs inputs;
    inputs.state = trayMenuState(shell);
    inputs.globalShortcut = [](GlobalAction action) {
        return GlobalShortcuts::defaultShortcut(action);
    };
    inputs.drawShortcut = [](DrawAction action) {
        return Shortcut(drawActionDefaultKeyCode(action), 0);
    };
    inputs.vocabulary = KeyVocabulary::pc;
    return inputs;
}

QStringList titles(const QList<TrayMenuItem>& items) {
    QStringList list;
    for (const TrayMenuItem& item : items)
        list << (item.kind == Kind::separator ? QStringLiteral("-") : item.title);
    return list;
}

QAction* actionTitled(QMenu& menu, const QString& prefix) {
    for (QAction* action : menu.actions()) {
        if (action->text().startsWith(prefix))
            return action;
    }
    return nullptr;
}

} // namespace

TEST(TrayMenuModel, FifteenEntriesInOrderWithTheirCommandsAndDefaultPcHints) {
    const QList<TrayMenuItem> items = buildTrayMenu(inputsFor(FakeShell()));
    EXPECT_EQ(titles(items).join(u'|'),
              "Show Toolbar|-|Draw mode|-|Undo|Redo|Clear annotations|Hide all annotations|"
              "Show keystrokes|Cycle cursor effect|-|Drawing shortcuts|Settings…|-|Quit Markvane");
    using C = TrayCommand;
    const QList<C> commands{C::toggleToolbar,
                            C::none,
                            C::toggleDraw,
                            C::none,
                            C::undo,
                            C::redo,
                            C::clear,
                            C::hideAll,
                            C::toggleKeystrokes,
                            C::cycleCursorEffect,
                            C::none,
                            C::none,
                            C::openSettings,
                            C::none,
                            C::quit};
    QStringList hints;
    for (qsizetype i = 0; i < items.size(); ++i) {
        EXPECT_EQ(items[i].command, commands.value(i)) << i;
        hints << items[i].shortcutHint;
    }
    EXPECT_EQ(hints.join(u'|'), "Ctrl+Alt+O||Ctrl+Alt+D||Ctrl+Alt+Z|Ctrl+Alt+Y|Ctrl+Alt+Backspace|"
                                "Ctrl+Alt+H|Ctrl+Alt+K|Ctrl+Alt+C|||Ctrl+,||Ctrl+Q");
}

TEST(TrayMenuModel, ReboundShortcutsShowMaskedKeysWithoutEquivalentShowNothingAndMacUsesGlyphs) {
    TrayMenuInputs inputs = inputsFor(FakeShell());
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

    inputs.vocabulary = KeyVocabulary::mac; // glyph hints
    items = buildTrayMenu(inputs);
    EXPECT_EQ(items[14].shortcutHint, QStringLiteral("⌘Q"));
    EXPECT_EQ(items[11].submenu.last().title, QStringLiteral("Step back   \u238B"));
}

TEST(TrayMenuModel, ShellStateGivesTitlesChecksAndEnabledItems) {
    FakeShell shell;
    QList<TrayMenuItem> items = buildTrayMenu(inputsFor(shell));
    // Features this program does not have yet are listed but cannot be chosen.
    EXPECT_FALSE(items[0].enabled || items[8].enabled || items[9].enabled || items[12].enabled);
    EXPECT_TRUE(items[2].enabled && items[4].enabled && items[14].enabled);
    EXPECT_FALSE(items[2].checked || items[7].checked || items[8].checked || items[9].checked);
    EXPECT_FALSE(items[4].checkable);

    shell.toolbar = shell.toolbarShown = shell.drawMode = shell.hidden = true;
    shell.keystrokes = shell.keystrokesOn = shell.cursorEffects = shell.settings = true;
    shell.effectLabel = QStringLiteral("Magnifier");
    items = buildTrayMenu(inputsFor(shell));
    EXPECT_EQ(titles(items).mid(8, 2).join(u'|'), "Hide keystrokes|Cursor effect: Magnifier");
    EXPECT_EQ(items[0].title, QStringLiteral("Hide Toolbar"));
    EXPECT_TRUE(items[0].enabled && items[8].enabled && items[12].enabled);
    EXPECT_TRUE(items[2].checkable && items[2].checked);
    EXPECT_TRUE(items[7].checked && items[8].checked && items[9].checked);

    shell.toolbarShown = shell.keystrokesOn = false;
    shell.effectLabel.clear();
    items = buildTrayMenu(inputsFor(shell));
    EXPECT_EQ(titles(items).mid(8, 2).join(u'|'), "Show keystrokes|Cycle cursor effect");
    EXPECT_EQ(items[0].title, QStringLiteral("Show Toolbar"));
    EXPECT_TRUE(items[0].enabled && items[9].enabled);
    EXPECT_FALSE(items[8].checked || items[9].checked);
}

TEST(TrayMenuModel, DrawingShortcutsSubmenuListsOfferedActionsInOrderAndInformsOnly) {
    TrayMenuInputs inputs = inputsFor(FakeShell());
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
        EXPECT_TRUE(item.kind != Kind::action || !item.enabled) << item.title.toStdString();
    }
}

TEST(ShellMenu, CommandsReachTheShellButNeverAFeatureItLacks) {
    FakeShell shell;
    for (TrayCommand command :
         {TrayCommand::none, TrayCommand::toggleToolbar, TrayCommand::toggleKeystrokes,
          TrayCommand::cycleCursorEffect, TrayCommand::openSettings, TrayCommand::toggleDraw,
          TrayCommand::undo, TrayCommand::redo, TrayCommand::clear, TrayCommand::hideAll,
          TrayCommand::quit})
        runTrayCommand(shell, command);
    EXPECT_EQ(shell.calls.join(u','), "toggleDrawMode,undo,redo,clear,toggleHidden,quit");
}

TEST(TrayMenu, FilledMenuShowsHintsChecksRunsCommands_AndRefillingPilesNothingUp) {
    FakeShell shell;
    shell.drawMode = true;
    QMenu menu;
    QList<TrayCommand> ran;
    fillMenu(menu, buildTrayMenu(inputsFor(shell)), [&](TrayCommand c) { ran << c; });

    QAction* draw = actionTitled(menu, QStringLiteral("Draw mode"));
    ASSERT_NE(draw, nullptr);
    EXPECT_EQ(draw->text(), QStringLiteral("Draw mode\tCtrl+Alt+D"));
    EXPECT_TRUE(draw->isChecked());
    EXPECT_TRUE(draw->shortcut().isEmpty()); // the hot key does the binding
    draw->trigger();
    EXPECT_EQ(ran, QList<TrayCommand>{TrayCommand::toggleDraw});
    EXPECT_FALSE(actionTitled(menu, QStringLiteral("Settings"))->isEnabled());

    for (int i = 0; i < 4; ++i) {
        shell.drawMode = i % 2 == 0;
        fillMenu(menu, buildTrayMenu(inputsFor(shell)), [](TrayCommand) {});
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    EXPECT_EQ(menu.actions().size(), 15);
    EXPECT_EQ(menu.findChildren<QMenu*>(QString(), Qt::FindDirectChildrenOnly).size(), 1);
    ASSERT_NE(actionTitled(menu, QStringLiteral("Drawing shortcuts"))->menu(), nullptr);
    EXPECT_FALSE(actionTitled(menu, QStringLiteral("Draw mode"))->isChecked());
}

TEST(TrayIcon, WithoutATraySaysHowOnce_ShowsTheIconWhenOneAppears_RebuildsTheMenuOnOpening) {
    FakeShell shell;
    bool trayThere = false;
    int notices = 0;
    QSystemTrayIcon* shownIcon = nullptr;
    TrayIcon tray({[&] { return inputsFor(shell); },
                   [&](TrayCommand c) { runTrayCommand(shell, c); },
                   [&] {
                       ++notices;
                       return QStringLiteral("use the hot keys");
                   },
                   [&] { return trayThere; }, [&](QSystemTrayIcon* icon) { shownIcon = icon; }, 5});
    tray.start();
    EXPECT_FALSE(tray.isShown());
    EXPECT_TRUE(tray.isWaitingForTray());
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < 50)
        QCoreApplication::processEvents();
    EXPECT_EQ(notices, 1);

    trayThere = true;
    timer.restart();
    while (!tray.isShown() && timer.elapsed() < 2000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    EXPECT_TRUE(tray.isShown());
    EXPECT_FALSE(tray.isWaitingForTray());
    EXPECT_NE(shownIcon, nullptr);
    EXPECT_EQ(notices, 1);

    // The menu is rebuilt each time it opens.
    EXPECT_FALSE(actionTitled(*tray.menu(), QStringLiteral("Hide all"))->isChecked());
    shell.hidden = true;
    Q_EMIT tray.menu()->aboutToShow();
    EXPECT_TRUE(actionTitled(*tray.menu(), QStringLiteral("Hide all"))->isChecked());
}
