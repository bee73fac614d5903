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

QAction* actionTitled(QMenu& menu, const QString& prefix) {
    for (QAction* action : menu.actions()) {
        if (action->text().startsWith(prefix))
            return action;
    }
    return nullptr;
}

bool waitFor(const std::function<bool()>& condition) {
    QElapsedTimer timer;
    timer.start();
    while (!condition() && timer.elapsed() < 2000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    return condition();
}

} // namespace

TEST(ShellMenu, StateFollowsTheShellAndAbsentFeaturesStayEmpty) {
    FakeShell shell;
    shell.drawMode = true;
    shell.hidden = true;
    TrayMenuState state = trayMenuState(shell);
    EXPECT_TRUE(state.drawMode);
    EXPECT_TRUE(state.annotationsHidden);
    EXPECT_FALSE(state.toolbarVisible.has_value());
    EXPECT_FALSE(state.keystrokesEnabled.has_value());
    EXPECT_FALSE(state.cursorEffectLabel.has_value());
    EXPECT_FALSE(state.settingsAvailable);

    shell.toolbar = shell.keystrokes = shell.cursorEffects = shell.settings = true;
    shell.keystrokesOn = true;
    shell.effectLabel = QStringLiteral("Halo");
    state = trayMenuState(shell);
    EXPECT_EQ(state.toolbarVisible, false);
    EXPECT_EQ(state.keystrokesEnabled, true);
    EXPECT_EQ(state.cursorEffectLabel, QStringLiteral("Halo"));
    EXPECT_TRUE(state.settingsAvailable);
}

TEST(ShellMenu, CommandsReachTheShellButNeverAFeatureItLacks) {
    FakeShell shell;
    for (TrayCommand command :
         {TrayCommand::none, TrayCommand::toggleToolbar, TrayCommand::toggleKeystrokes,
          TrayCommand::cycleCursorEffect, TrayCommand::openSettings, TrayCommand::toggleDraw,
          TrayCommand::undo, TrayCommand::redo, TrayCommand::clear, TrayCommand::hideAll,
          TrayCommand::quit})
        runTrayCommand(shell, command);
    const QStringList expected{QStringLiteral("toggleDrawMode"), QStringLiteral("undo"),
                               QStringLiteral("redo"),           QStringLiteral("clear"),
                               QStringLiteral("toggleHidden"),   QStringLiteral("quit")};
    EXPECT_EQ(shell.calls, expected);
}

TEST(TrayMenu, FilledMenuShowsHintsChecksAndRunsCommands) {
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

    QAction* settings = actionTitled(menu, QStringLiteral("Settings"));
    ASSERT_NE(settings, nullptr);
    EXPECT_FALSE(settings->isEnabled());

    ASSERT_NE(actionTitled(menu, QStringLiteral("Drawing shortcuts"))->menu(), nullptr);
    EXPECT_EQ(menu.actions().size(), 15);
}

TEST(TrayMenu, RefillingReplacesEntriesWithoutPilingUpSubmenus) {
    FakeShell shell;
    QMenu menu;
    for (int i = 0; i < 5; ++i) {
        shell.drawMode = i % 2;
        fillMenu(menu, buildTrayMenu(inputsFor(shell)), [](TrayCommand) {});
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    EXPECT_EQ(menu.actions().size(), 15);
    EXPECT_EQ(menu.findChildren<QMenu*>(QString(), Qt::FindDirectChildrenOnly).size(), 1);
    EXPECT_FALSE(actionTitled(menu, QStringLiteral("Draw mode"))->isChecked());
}

TEST(TrayIcon, WithoutATraySaysHowOnceAndShowsTheIconWhenOneAppears) {
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
    EXPECT_TRUE(waitFor([&] { return tray.isShown(); }));
    EXPECT_FALSE(tray.isWaitingForTray());
    EXPECT_NE(shownIcon, nullptr);
    EXPECT_EQ(notices, 1);
}

TEST(TrayIcon, MenuIsRebuiltWhenItOpens) {
    FakeShell shell;
    TrayIcon tray(
        {[&] { return inputsFor(shell); }, [](TrayCommand) {}, {}, [] { return false; }, {}, 1000});
    EXPECT_FALSE(actionTitled(*tray.menu(), QStringLiteral("Hide all"))->isChecked());
    shell.hidden = true;
    Q_EMIT tray.menu()->aboutToShow();
    EXPECT_TRUE(actionTitled(*tray.menu(), QStringLiteral("Hide all"))->isChecked());
}
