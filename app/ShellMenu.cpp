#include "app/ShellMenu.h"

namespace markvane {

TrayMenuState trayMenuState(const ShellActions& shell) {
    TrayMenuState state;
    if (shell.hasToolbar())
        state.toolbarVisible = shell.toolbarVisible();
    state.drawMode = shell.drawModeEnabled();
    state.annotationsHidden = shell.annotationsHidden();
    if (shell.hasKeystrokes())
        state.keystrokesEnabled = shell.keystrokesEnabled();
    if (shell.hasCursorEffects())
        state.cursorEffectLabel = shell.cursorEffectLabel();
    state.settingsAvailable = shell.hasSettings();
    return state;
}

void runTrayCommand(ShellActions& shell, TrayCommand command) {
    switch (command) {
    case TrayCommand::none:
        return;
    case TrayCommand::toggleToolbar:
        if (shell.hasToolbar())
            shell.toggleToolbar();
        return;
    case TrayCommand::toggleDraw:
        return shell.toggleDrawMode();
    case TrayCommand::undo:
        return shell.undo();
    case TrayCommand::redo:
        return shell.redo();
    case TrayCommand::clear:
        return shell.clear();
    case TrayCommand::hideAll:
        return shell.toggleHidden();
    case TrayCommand::toggleKeystrokes:
        if (shell.hasKeystrokes())
            shell.toggleKeystrokes();
        return;
    case TrayCommand::cycleCursorEffect:
        if (shell.hasCursorEffects())
            shell.cycleCursorEffect();
        return;
    case TrayCommand::openSettings:
        if (shell.hasSettings())
            shell.openSettings();
        return;
    case TrayCommand::quit:
        return shell.quit();
    }
}

} // namespace markvane
