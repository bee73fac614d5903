#pragma once

#include "platform/SystemAlerts.h"

#include <QPointer>
#include <QSystemTrayIcon>

namespace markvane::platform {

// The beep of the desktop, and notices shown as a tray balloon or, without a
// tray icon, as a small window that does not block.
class QtSystemAlerts final : public SystemAlerts {
public:
    void beep() override;
    void notify(const QString& title, const QString& message) override;

    // The program's tray icon, once it has one; notices then use its balloon.
    void setTrayIcon(QSystemTrayIcon* icon) { m_tray = icon; }

private:
    QPointer<QSystemTrayIcon> m_tray;
};

} // namespace markvane::platform
