#include "shortcuts/GlobalHotKey.h"

#include "shortcuts/KeyNames.h"

#include <QDebug>

namespace markvane {

GlobalHotKey::GlobalHotKey(quint32 id, platform::HotKeys* service, QObject* parent)
    : QObject(parent), m_id(id), m_service(service) {
    if (service)
        connect(service, &platform::HotKeys::activated, this, &GlobalHotKey::fired);
}

GlobalHotKey::~GlobalHotKey() {
    unregister();
}

platform::HotKeyRegistration GlobalHotKey::registerShortcut(quint16 keyCode, quint64 modifiers) {
    unregister();
    const quint64 masked = modifiers & ModifierFlag::shortcutMask;
    if (masked == 0)
        return {};
    platform::HotKeyRegistration registration;
    if (m_service)
        registration = m_service->registerHotKey(m_id, keyCode, masked);
    if (registration.ok()) {
        m_registered = true;
        return registration;
    }
    qWarning().noquote() << QStringLiteral("[Markvane] hotkey %1 not registered (%2)")
                                .arg(shortcutText(keyCode, masked))
                                .arg(registration.status);
    return registration;
}

void GlobalHotKey::unregister() {
    if (!m_registered)
        return;
    m_registered = false;
    if (m_service)
        m_service->unregisterHotKey(m_id);
}

void GlobalHotKey::fired(quint32 id) {
    if (id != m_id || !m_registered)
        return;
    // Queued on this object: the action may open windows or change models,
    // and it is dropped if the hot key is gone by then.
    QMetaObject::invokeMethod(
        this,
        [this] {
            if (m_onFire)
                m_onFire();
        },
        Qt::QueuedConnection);
}

} // namespace markvane
