#pragma once

#include <QString>

namespace markvane::platform {

// Access the desktop may withhold. On X11 both are always granted; other
// platforms ask the user.
class Permissions {
public:
    virtual ~Permissions() = default;
    virtual bool screenCaptureAllowed() const = 0;
    virtual bool keyboardMonitoringAllowed() const = 0;
    // Shows the one-at-a-time alert that asks for screen-recording access,
    // starting with the reason ("Snipe grabs real screen pixels").
    virtual void requestScreenRecording(const QString& reason) = 0;
};

} // namespace markvane::platform
