#include "shortcuts/GlobalShortcuts.h"

#include "platform/HotKeys.h"
#include "platform/PreferencesStore.h"
#include "platform/Services.h"
#include "shortcuts/GlobalHotKey.h"
#include "shortcuts/ShortcutMap.h"
#include "shortcuts/SystemShortcuts.h"

#include <QTimer>

namespace markvane {

namespace {
constexpr quint64 kDefaultModifiers = ModifierFlag::control | ModifierFlag::option;
} // namespace

GlobalShortcuts::GlobalShortcuts(const Services& services, QObject* parent)
    : QObject(parent), m_preferences(services.preferences),
      m_refusalDuration(services.refusalWarningDuration) {
    Q_ASSERT(m_preferences);
    for (GlobalAction action : allGlobalActions()) {
        const quint32 id = quint32(static_cast<int>(action) + 1);
        auto* hotKey = new GlobalHotKey(id, services.hotKeys, this);
        hotKey->setOnFire([this, action] {
            const auto it = m_handlers.find(action);
            if (it != m_handlers.end() && it->second)
                it->second();
        });
        m_hotKeys[action] = hotKey;
    }
    load();
}

GlobalShortcuts::~GlobalShortcuts() = default;

GlobalShortcuts& GlobalShortcuts::shared() {
    static GlobalShortcuts* instance = [] {
        const auto& s = platform::services();
        return new GlobalShortcuts({s.preferences, s.hotKeys});
    }();
    return *instance;
}

Shortcut GlobalShortcuts::defaultShortcut(GlobalAction action) {
    return {globalActionDefaultKeyCode(action), kDefaultModifiers};
}

Shortcut GlobalShortcuts::shortcut(GlobalAction action) const {
    const auto it = m_bindings.find(action);
    return it != m_bindings.end() ? it->second : defaultShortcut(action);
}

QString GlobalShortcuts::warning(GlobalAction action) const {
    const auto it = m_warnings.find(action);
    return it != m_warnings.end() ? it->second : QString();
}

bool GlobalShortcuts::isRegistered(GlobalAction action) const {
    return m_hotKeys.at(action)->isRegistered();
}

void GlobalShortcuts::setHandler(GlobalAction action, std::function<void()> handler) {
    m_handlers[action] = std::move(handler);
}

void GlobalShortcuts::apply(GlobalAction action) {
    // A new registration ends any refusal warning that was showing.
    if (auto it = m_refusalTimers.find(action); it != m_refusalTimers.end())
        it->second->stop();
    const Shortcut s = shortcut(action);
    const platform::HotKeyRegistration registration =
        m_hotKeys.at(action)->registerShortcut(s.keyCode, s.modifiers);
    const bool claimed =
        (s.modifiers & ModifierFlag::shortcutMask) == 0 ||
        registration.result == platform::HotKeyRegistration::Result::claimedByAnotherApplication;
    setWarning(action, computeWarning(action, registration.ok(), claimed));
}

void GlobalShortcuts::applyAll() {
    for (GlobalAction action : allGlobalActions())
        apply(action);
}

QString GlobalShortcuts::computeWarning(GlobalAction action, bool registered, bool claimed) const {
    const Shortcut s = shortcut(action);
    const QString display = s.displayString();
    if (auto name = systemShortcutName(s.keyCode, s.modifiers))
        return display + QStringLiteral(" is used by ") + *name + QLatin1Char('.');
    if (!registered && claimed)
        return display + QStringLiteral(" is already claimed by another app.");
    if (!registered)
        return display + QStringLiteral(" cannot be used as a hot key on this desktop.");
    for (GlobalAction other : allGlobalActions()) {
        if (other != action && shortcut(other) == s)
            return display + QStringLiteral(" is also bound to “") + globalActionLabel(other) +
                   QStringLiteral("”.");
    }
    return riskyModifiersAdvice(s.modifiers).value_or(QString());
}

bool GlobalShortcuts::assign(quint16 keyCode, quint64 modifiers, GlobalAction action) {
    if (auto name = systemShortcutName(keyCode, modifiers)) {
        setWarning(action, shortcutText(keyCode, modifiers) + QStringLiteral(" is used by ") +
                               *name + QStringLiteral(" — not available."));
        refusalTimer(action)->start(m_refusalDuration);
        return false;
    }
    m_bindings[action] = Shortcut(keyCode, modifiers);
    save();
    Q_EMIT bindingsChanged();
    apply(action);
    return true;
}

void GlobalShortcuts::reset(GlobalAction action) {
    m_bindings[action] = defaultShortcut(action);
    save();
    Q_EMIT bindingsChanged();
    apply(action);
}

void GlobalShortcuts::resetAll() {
    for (GlobalAction action : allGlobalActions())
        reset(action);
}

QTimer* GlobalShortcuts::refusalTimer(GlobalAction action) {
    // One timer per action, so a refusal on one action never leaves another
    // action's refusal text standing.
    QTimer*& timer = m_refusalTimers[action];
    if (!timer) {
        timer = new QTimer(this);
        timer->setSingleShot(true);
        connect(timer, &QTimer::timeout, this, [this, action] { apply(action); });
    }
    return timer;
}

void GlobalShortcuts::setWarning(GlobalAction action, const QString& warning) {
    const auto it = m_warnings.find(action);
    if (warning.isEmpty()) {
        if (it == m_warnings.end())
            return;
        m_warnings.erase(it);
    } else {
        if (it != m_warnings.end() && it->second == warning)
            return;
        m_warnings[action] = warning;
    }
    Q_EMIT warningsChanged();
}

void GlobalShortcuts::load() {
    m_bindings =
        readShortcutMap<GlobalAction>(*m_preferences, preferenceKey(), globalActionFromRawValue);
}

void GlobalShortcuts::save() {
    writeShortcutMap<GlobalAction>(*m_preferences, preferenceKey(), m_bindings,
                                   globalActionRawValue);
}

} // namespace markvane
