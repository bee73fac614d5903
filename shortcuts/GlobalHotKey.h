#pragma once

#include "platform/HotKeys.h"

#include <QObject>
#include <QPointer>
#include <functional>

namespace markvane {

// One system-wide hot key: at most one registered combination under a fixed
// id, and what to run when it is pressed.
class GlobalHotKey : public QObject {
    Q_OBJECT
public:
    // `service` may be null where the desktop offers no hot keys: every
    // registration then fails.
    GlobalHotKey(quint32 id, platform::HotKeys* service, QObject* parent = nullptr);
    ~GlobalHotKey() override;

    quint32 id() const { return m_id; }
    bool isRegistered() const { return m_registered; }

    // Drops the current registration, then registers the combination. A
    // combination without shift, control, option or command is not
    // registered (and not logged); a refusal is logged.
    platform::HotKeyRegistration registerShortcut(quint16 keyCode, quint64 modifiers);
    void unregister();

    // Runs on the GUI thread after the press has been handled, never inside
    // the platform's event dispatch.
    void setOnFire(std::function<void()> onFire) { m_onFire = std::move(onFire); }

private:
    void fired(quint32 id);

    quint32 m_id;
    QPointer<platform::HotKeys> m_service;
    bool m_registered = false;
    std::function<void()> m_onFire;
};

} // namespace markvane
