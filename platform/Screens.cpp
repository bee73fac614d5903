#include "platform/Screens.h"

namespace markvane::platform {

std::optional<ScreenInfo> Screens::mainScreen() const {
    const auto all = screens();
    for (const auto& screen : all) {
        if (screen.isMain)
            return screen;
    }
    if (!all.isEmpty())
        return all.first();
    return std::nullopt;
}

std::optional<ScreenInfo> Screens::screenContaining(QPointF globalPoint) const {
    for (const auto& screen : screens()) {
        const QRectF& f = screen.frame;
        // Half-open so that two adjacent displays never both claim a point. Pointer
        // positions come from top-down pixel rows: the top row of a display lands on
        // its upper edge (y up), so that edge belongs to it and the lower one does not.
        if (globalPoint.x() >= f.left() && globalPoint.x() < f.right() &&
            globalPoint.y() > f.top() && globalPoint.y() <= f.bottom())
            return screen;
    }
    return std::nullopt;
}

} // namespace markvane::platform
