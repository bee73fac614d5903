#include "app/TrayMenuModel.h"

#include "app/KeyEquivalent.h"

namespace markvane {
namespace {

// Settings… and Quit use the platform's primary modifier: Command on a Mac,
// Ctrl on a PC keyboard.
quint64 primaryModifier(KeyVocabulary vocabulary) {
    return vocabulary == KeyVocabulary::mac ? ModifierFlag::command : ModifierFlag::control;
}

constexpr quint16 kCommaKey = 43;
constexpr quint16 kQKey = 12;
constexpr quint16 kEscapeKey = 53;

TrayMenuItem separator() {
    TrayMenuItem item;
    item.kind = TrayMenuItem::Kind::separator;
    return item;
}

TrayMenuItem actionItem(const QString& title, TrayCommand command) {
    TrayMenuItem item;
    item.title = title;
    item.command = command;
    return item;
}

QList<TrayMenuItem> drawShortcutsSubmenu(const TrayMenuInputs& inputs) {
    const QString gap = QStringLiteral("   ");
    QList<TrayMenuItem> items;
    for (DrawAction action : allDrawActions()) {
        if (isWithheldDrawAction(action))
            continue;
        const Shortcut shortcut = inputs.drawShortcut(action);
        TrayMenuItem item =
            actionItem(drawActionLabel(action) + gap +
                           shortcutText(shortcut.keyCode, shortcut.modifiers, inputs.vocabulary),
                       TrayCommand::none);
        item.enabled = false;
        items << item;
    }
    items << separator();
    const QString escape = inputs.vocabulary == KeyVocabulary::mac
                               ? QStringLiteral("\u238B")
                               : shortcutText(kEscapeKey, 0, inputs.vocabulary);
    TrayMenuItem stepBack =
        actionItem(QStringLiteral("Step back") + gap + escape, TrayCommand::none);
    stepBack.enabled = false;
    items << stepBack;
    return items;
}

} // namespace

QString globalShortcutHint(const Shortcut& shortcut, KeyVocabulary vocabulary) {
    if (!keyEquivalent(shortcut.keyCode))
        return {};
    return shortcutText(shortcut.keyCode, shortcut.modifiers & ModifierFlag::shortcutMask,
                        vocabulary);
}

QList<TrayMenuItem> buildTrayMenu(const TrayMenuInputs& inputs) {
    const TrayMenuState& state = inputs.state;
    const auto hinted = [&](TrayMenuItem item, GlobalAction action) {
        item.shortcutHint = globalShortcutHint(inputs.globalShortcut(action), inputs.vocabulary);
        return item;
    };
    QList<TrayMenuItem> items;

    TrayMenuItem toolbar =
        actionItem(state.toolbarVisible.value_or(false) ? QStringLiteral("Hide Toolbar")
                                                        : QStringLiteral("Show Toolbar"),
                   TrayCommand::toggleToolbar);
    toolbar.enabled = state.toolbarVisible.has_value();
    items << hinted(toolbar, GlobalAction::toolbar) << separator();

    TrayMenuItem draw = actionItem(QStringLiteral("Draw mode"), TrayCommand::toggleDraw);
    draw.checkable = true;
    draw.checked = state.drawMode;
    items << hinted(draw, GlobalAction::drawMode) << separator();

    items << hinted(actionItem(QStringLiteral("Undo"), TrayCommand::undo), GlobalAction::undo)
          << hinted(actionItem(QStringLiteral("Redo"), TrayCommand::redo), GlobalAction::redo)
          << hinted(actionItem(QStringLiteral("Clear annotations"), TrayCommand::clear),
                    GlobalAction::clear);
    TrayMenuItem hide = actionItem(QStringLiteral("Hide all annotations"), TrayCommand::hideAll);
    hide.checkable = true;
    hide.checked = state.annotationsHidden;
    items << hinted(hide, GlobalAction::hideAll);

    const bool keystrokesOn = state.keystrokesEnabled.value_or(false);
    TrayMenuItem keystrokes = actionItem(keystrokesOn ? QStringLiteral("Hide keystrokes")
                                                      : QStringLiteral("Show keystrokes"),
                                         TrayCommand::toggleKeystrokes);
    keystrokes.enabled = state.keystrokesEnabled.has_value();
    keystrokes.checkable = true;
    keystrokes.checked = keystrokesOn;
    items << hinted(keystrokes, GlobalAction::keystrokes);

    const QString effect = state.cursorEffectLabel.value_or(QString());
    TrayMenuItem cursor = actionItem(effect.isEmpty() ? QStringLiteral("Cycle cursor effect")
                                                      : QStringLiteral("Cursor effect: ") + effect,
                                     TrayCommand::cycleCursorEffect);
    cursor.enabled = state.cursorEffectLabel.has_value();
    cursor.checkable = true;
    cursor.checked = !effect.isEmpty();
    items << hinted(cursor, GlobalAction::cursorEffect) << separator();

    TrayMenuItem shortcuts = actionItem(QStringLiteral("Drawing shortcuts"), TrayCommand::none);
    shortcuts.kind = TrayMenuItem::Kind::submenu;
    shortcuts.submenu = drawShortcutsSubmenu(inputs);
    items << shortcuts;

    TrayMenuItem settings = actionItem(QStringLiteral("Settings…"), TrayCommand::openSettings);
    settings.enabled = state.settingsAvailable;
    settings.shortcutHint =
        shortcutText(kCommaKey, primaryModifier(inputs.vocabulary), inputs.vocabulary);
    items << settings << separator();

    TrayMenuItem quit = actionItem(QStringLiteral("Quit Markvane"), TrayCommand::quit);
    quit.shortcutHint = shortcutText(kQKey, primaryModifier(inputs.vocabulary), inputs.vocabulary);
    items << quit;
    return items;
}

} // namespace markvane
