#include "shortcuts/DrawShortcuts.h"

#include "annotations/AnnotationStore.h"
#include "platform/Permissions.h"
#include "platform/Services.h"

#include <algorithm>

namespace markvane {

namespace {
constexpr int kThinnestWidth = 0;
constexpr int kThickestWidth = 2;
} // namespace

DrawShortcuts& DrawShortcuts::shared() {
    static DrawShortcuts* instance = [] {
        const auto& s = platform::services();
        return new DrawShortcuts({s.preferences, s.alerts, s.permissions},
                                 AnnotationStore::shared());
    }();
    return *instance;
}

void DrawShortcuts::perform(DrawAction action) {
    platform::Permissions& permissions = *m_services.permissions;
    if (const auto tool = drawActionTool(action)) {
        if (*tool == Tool::snipe && !permissions.screenCaptureAllowed()) {
            permissions.requestScreenRecording(QStringLiteral("Snipe grabs real screen pixels"));
            return;
        }
        // A solid redaction covers the area without reading the screen.
        if (*tool == Tool::redact && m_store.redactStyle() != RedactStyle::solid &&
            !permissions.screenCaptureAllowed()) {
            permissions.requestScreenRecording(
                QStringLiteral("Blur and pixelate redact from real screen pixels"));
            return;
        }
        m_store.setTool(*tool);
        return;
    }
    if (const auto index = drawActionPaletteIndex(action)) {
        m_store.setPaletteIndex(*index);
        return;
    }
    if (action == DrawAction::thinner)
        m_store.setWidthIndex(std::max(m_store.widthIndex() - 1, kThinnestWidth));
    else if (action == DrawAction::thicker)
        m_store.setWidthIndex(std::min(m_store.widthIndex() + 1, kThickestWidth));
}

} // namespace markvane
