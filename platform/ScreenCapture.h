#pragma once

#include "platform/Screens.h"

#include <QImage>
#include <QRectF>
#include <functional>
#include <optional>

namespace markvane::platform {

// Screen pixels of a rectangle, leaving this program's own windows out.
class ScreenCapture {
public:
    virtual ~ScreenCapture() = default;
    using Completion = std::function<void(std::optional<QImage>)>;
    // Captures the global rectangle on the given display; the completion runs
    // later on the GUI thread with the image, or with nothing on failure.
    virtual void captureRect(const QRectF& globalRect, const ScreenInfo& screen,
                             Completion completion) = 0;
};

} // namespace markvane::platform
