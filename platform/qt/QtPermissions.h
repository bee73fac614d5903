#pragma once

#include "platform/Permissions.h"

#include <functional>

namespace markvane::platform {

// X11 lets every client read the screen and the keyboard, so both accesses
// are granted. The screen-recording alert still exists for callers that ask.
class QtPermissions final : public Permissions {
public:
    // Shows the alert and returns when it is closed.
    using AlertPresenter = std::function<void(const QString& message, const QString& details)>;

    // By default the alert is a modal warning box.
    explicit QtPermissions(AlertPresenter presenter = showWarningBox);

    bool screenCaptureAllowed() const override { return true; }
    bool keyboardMonitoringAllowed() const override { return true; }
    // While an alert is open, further requests do nothing.
    void requestScreenRecording(const QString& reason) override;

    static QString alertMessage();
    static QString alertDetails(const QString& reason);
    static void showWarningBox(const QString& message, const QString& details);

private:
    AlertPresenter m_presenter;
    bool m_alertOpen = false;
};

} // namespace markvane::platform
