#include "platform/qt/DesktopServices.h"

#include "platform/Services.h"

#include <QCoreApplication>

namespace markvane::platform {

DesktopServices::DesktopServices() {
    Services& s = services();
    s.clock = &m_clock;
    s.preferences = &m_preferences;
    s.pasteboard = &m_pasteboard;
    s.screens = &m_screens;
    s.permissions = &m_permissions;
    s.alerts = &m_alerts;
    // Destruction flushes too; saving when the event loop ends also covers a
    // session logout, after which the process may be killed before main returns.
    QObject::connect(qApp, &QCoreApplication::aboutToQuit, &m_preferences,
                     &JsonPreferencesStore::flush);
}

DesktopServices::~DesktopServices() {
    Services& s = services();
    // Leave whatever someone else installed in the meantime.
    if (s.clock == &m_clock)
        s.clock = nullptr;
    if (s.preferences == &m_preferences)
        s.preferences = nullptr;
    if (s.pasteboard == &m_pasteboard)
        s.pasteboard = nullptr;
    if (s.screens == &m_screens)
        s.screens = nullptr;
    if (s.permissions == &m_permissions)
        s.permissions = nullptr;
    if (s.alerts == &m_alerts)
        s.alerts = nullptr;
}

} // namespace markvane::platform
