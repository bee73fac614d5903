#include "overlay/OverlayPanel.h"

#include "overlay/DrawOverlayView.h"

#include <QVBoxLayout>

namespace markvane {

OverlayPanel::OverlayPanel(const platform::ScreenInfo& screen, DrawOverlayView* view)
    : m_screen(screen), m_view(view) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(view);
    setFocusProxy(view);
}

} // namespace markvane
