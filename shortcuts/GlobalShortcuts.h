#pragma once

#include "shortcuts/GlobalAction.h"
#include "shortcuts/Shortcut.h"

#include <QObject>
#include <chrono>
#include <functional>
#include <map>

class QTimer;

namespace markvane {

namespace platform {
class HotKeys;
class PreferencesStore;
} // namespace platform

class GlobalHotKey;

// The system-wide hot keys of the global actions: one shortcut per action
// (user choice or default), its registration, and a warning per action that
// the settings window shows beside the shortcut.
class GlobalShortcuts : public QObject {
    Q_OBJECT
public:
    struct Services {
        platform::PreferencesStore* preferences = nullptr; // required
        platform::HotKeys* hotKeys = nullptr;              // null: nothing registers
        // How long a refusal warning stays before the normal one returns.
        std::chrono::milliseconds refusalWarningDuration{4000};
    };

    // Reads the stored bindings; registers nothing until apply().
    explicit GlobalShortcuts(const Services& services, QObject* parent = nullptr);
    ~GlobalShortcuts() override;

    // The process's instance, built from platform::services() on first use.
    static GlobalShortcuts& shared();

    static Shortcut defaultShortcut(GlobalAction action);
    Shortcut shortcut(GlobalAction action) const;

    // Only the user's choices; an action without an entry uses its default.
    const std::map<GlobalAction, Shortcut>& bindings() const { return m_bindings; }
    const std::map<GlobalAction, QString>& warnings() const { return m_warnings; }
    QString warning(GlobalAction action) const;
    bool isRegistered(GlobalAction action) const;

    // What the action's hot key runs; empty to run nothing.
    void setHandler(GlobalAction action, std::function<void()> handler);

    // Registers the action's current shortcut and recomputes its warning.
    void apply(GlobalAction action);
    void applyAll();

    // Binds a recorded combination, unless the desktop reserves it: then the
    // warning says so for a while and nothing else changes.
    bool assign(quint16 keyCode, quint64 modifiers, GlobalAction action);
    // Stores the default as an explicit choice.
    void reset(GlobalAction action);
    void resetAll();

    static QString preferenceKey() { return QStringLiteral("globalShortcuts"); }

Q_SIGNALS:
    void bindingsChanged();
    void warningsChanged();

private:
    void load();
    void save();
    void setWarning(GlobalAction action, const QString& warning);
    QString computeWarning(GlobalAction action, bool registered, bool claimed) const;
    QTimer* refusalTimer(GlobalAction action);

    platform::PreferencesStore* m_preferences;
    std::chrono::milliseconds m_refusalDuration;
    std::map<GlobalAction, Shortcut> m_bindings;
    std::map<GlobalAction, QString> m_warnings;
    std::map<GlobalAction, GlobalHotKey*> m_hotKeys;
    std::map<GlobalAction, std::function<void()>> m_handlers;
    std::map<GlobalAction, QTimer*> m_refusalTimers;
};

} // namespace markvane
