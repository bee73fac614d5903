#pragma once

#include "shortcuts/DrawAction.h"
#include "shortcuts/Shortcut.h"

#include <QObject>
#include <map>
#include <optional>

namespace markvane {

namespace platform {
class Permissions;
class PreferencesStore;
class SystemAlerts;
} // namespace platform

class AnnotationStore;

// The single keys that choose tools, colours and widths while drawing: a
// default per action plus the user's changes, which are persisted.
class DrawShortcuts : public QObject {
    Q_OBJECT
public:
    struct Services {
        platform::PreferencesStore* preferences = nullptr;
        platform::SystemAlerts* alerts = nullptr;
        platform::Permissions* permissions = nullptr;
    };

    // Reads the stored bindings. All services are required.
    DrawShortcuts(const Services& services, AnnotationStore& store, QObject* parent = nullptr);

    // The process's instance, built from platform::services() and the shared
    // annotation store on first use.
    static DrawShortcuts& shared();

    static Shortcut defaultShortcut(DrawAction action);
    Shortcut shortcut(DrawAction action) const;
    // Only the actions the user changed.
    const std::map<DrawAction, Shortcut>& bindings() const { return m_bindings; }

    // The action a key press means: shift, control, option and command must
    // match exactly, other flags (caps lock, fn, keypad) are ignored.
    std::optional<DrawAction> actionMatching(quint16 keyCode, quint64 modifierFlags) const;
    // The first other action that already uses the combination.
    std::optional<DrawAction> conflict(quint16 keyCode, quint64 modifiers,
                                       DrawAction excluding) const;

    // Binds a recorded combination unless another action uses it; a refusal
    // beeps and changes nothing.
    bool assign(quint16 keyCode, quint64 modifiers, DrawAction action);
    void reset(DrawAction action);
    void resetAll();

    // Applies the action to the annotation store.
    void perform(DrawAction action);

    static QString preferenceKey() { return QStringLiteral("drawShortcuts"); }

Q_SIGNALS:
    void bindingsChanged();

private:
    void save();

    Services m_services;
    AnnotationStore& m_store;
    std::map<DrawAction, Shortcut> m_bindings;
};

} // namespace markvane
