#pragma once

#include <QString>

namespace markvane::platform {

// Feedback that is not part of any window: the system beep and short
// non-blocking notices.
class SystemAlerts {
public:
    virtual ~SystemAlerts() = default;
    virtual void beep() = 0;
    virtual void notify(const QString& title, const QString& message) = 0;
};

} // namespace markvane::platform
