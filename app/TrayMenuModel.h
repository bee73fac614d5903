#pragma once

#include "shortcuts/DrawAction.h"
#include "shortcuts/GlobalAction.h"
#include "shortcuts/Shortcut.h"

#include <QList>
#include <QString>
#include <functional>
#include <optional>

namespace markvane {

enum class TrayCommand {
    none,
    toggleToolbar,
    toggleDraw,
    undo,
    redo,
    clear,
    hideAll,
    toggleKeystrokes,
    cycleCursorEffect,
    openSettings,
    quit,
};

// One entry of the tray menu, as plain data: the QMenu is filled from a list
// of these each time it opens.
struct TrayMenuItem {
    enum class Kind { action, separator, submenu };
    Kind kind = Kind::action;
    QString title;
    TrayCommand command = TrayCommand::none;
    bool enabled = true;
    bool checkable = false;
    bool checked = false;
    QString shortcutHint; // shown beside the title; empty for none
    QList<TrayMenuItem> submenu;
};

// What the menu shows. A feature this program does not have yet is empty
// here: its item stays in the menu, disabled.
struct TrayMenuState {
    std::optional<bool> toolbarVisible;
    bool drawMode = false;
    bool annotationsHidden = false;
    std::optional<bool> keystrokesEnabled;
    std::optional<QString> cursorEffectLabel; // empty text: the plain pointer
    bool settingsAvailable = false;
};

struct TrayMenuInputs {
    TrayMenuState state;
    std::function<Shortcut(GlobalAction)> globalShortcut;
    std::function<Shortcut(DrawAction)> drawShortcut;
    KeyVocabulary vocabulary = currentKeyVocabulary();
};

QList<TrayMenuItem> buildTrayMenu(const TrayMenuInputs& inputs);

// The hint of a global action's shortcut: its modifiers masked to the four
// shortcut bits, and nothing for a key that has no key equivalent.
QString globalShortcutHint(const Shortcut& shortcut, KeyVocabulary vocabulary);

} // namespace markvane
