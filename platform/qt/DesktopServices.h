#pragma once

#include "platform/qt/JsonPreferencesStore.h"
#include "platform/qt/QtPasteboard.h"
#include "platform/qt/QtPermissions.h"
#include "platform/qt/QtScreens.h"
#include "platform/qt/QtSystemAlerts.h"
#include "platform/qt/SystemClock.h"

namespace markvane::platform {

// The desktop services of the running program. Construct after the
// QApplication; while it lives, platform::services() hands them out. Screen
// capture is not one of them: it comes from the X11 layer.
class DesktopServices {
public:
    DesktopServices();
    ~DesktopServices();
    DesktopServices(const DesktopServices&) = delete;
    DesktopServices& operator=(const DesktopServices&) = delete;

    JsonPreferencesStore& preferences() { return m_preferences; }
    QtSystemAlerts& alerts() { return m_alerts; }

private:
    SystemClock m_clock;
    JsonPreferencesStore m_preferences;
    QtPasteboard m_pasteboard;
    QtScreens m_screens;
    QtPermissions m_permissions;
    QtSystemAlerts m_alerts;
};

} // namespace markvane::platform
