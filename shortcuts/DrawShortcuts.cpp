#include "shortcuts/DrawShortcuts.h"

#include "platform/SystemAlerts.h"
#include "shortcuts/ShortcutMap.h"

namespace markvane {

DrawShortcuts::DrawShortcuts(const Services& services, AnnotationStore& store, QObject* parent)
    : QObject(parent), m_services(services), m_store(store) {
    Q_ASSERT(services.preferences && services.alerts && services.permissions);
    m_bindings =
        readShortcutMap<DrawAction>(*services.preferences, preferenceKey(), drawActionFromRawValue);
}

Shortcut DrawShortcuts::defaultShortcut(DrawAction action) {
    return {drawActionDefaultKeyCode(action), 0};
}

Shortcut DrawShortcuts::shortcut(DrawAction action) const {
    const auto it = m_bindings.find(action);
    return it != m_bindings.end() ? it->second : defaultShortcut(action);
}

std::optional<DrawAction> DrawShortcuts::actionMatching(quint16 keyCode,
                                                        quint64 modifierFlags) const {
    const quint64 pressed = modifierFlags & ModifierFlag::shortcutMask;
    for (DrawAction action : allDrawActions()) {
        if (isWithheldDrawAction(action))
            continue;
        const Shortcut s = shortcut(action);
        if (s.keyCode == keyCode && (s.modifiers & ModifierFlag::shortcutMask) == pressed)
            return action;
    }
    return std::nullopt;
}

std::optional<DrawAction> DrawShortcuts::conflict(quint16 keyCode, quint64 modifiers,
                                                  DrawAction excluding) const {
    // Whole modifiers values are compared here: what the recorder passes is
    // already masked, and a stored entry is taken as it was stored.
    const Shortcut candidate(keyCode, modifiers);
    for (DrawAction action : allDrawActions()) {
        if (action == excluding || isWithheldDrawAction(action))
            continue;
        if (shortcut(action) == candidate)
            return action;
    }
    return std::nullopt;
}

bool DrawShortcuts::assign(quint16 keyCode, quint64 modifiers, DrawAction action) {
    if (conflict(keyCode, modifiers, action)) {
        m_services.alerts->beep();
        return false;
    }
    m_bindings[action] = Shortcut(keyCode, modifiers);
    save();
    Q_EMIT bindingsChanged();
    return true;
}

void DrawShortcuts::reset(DrawAction action) {
    m_bindings.erase(action);
    save();
    Q_EMIT bindingsChanged();
}

void DrawShortcuts::resetAll() {
    m_bindings.clear();
    save();
    Q_EMIT bindingsChanged();
}

void DrawShortcuts::save() {
    writeShortcutMap<DrawAction>(*m_services.preferences, preferenceKey(), m_bindings,
                                 drawActionRawValue);
}

} // namespace markvane
