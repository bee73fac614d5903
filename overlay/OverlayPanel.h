#pragma once

#include "platform/Screens.h"

#include <QWidget>

namespace markvane {

class DrawOverlayView;

// The borderless window that carries one display's drawing view. It can take
// the keyboard, so the view receives keys while draw mode is on.
class OverlayPanel : public QWidget {
    Q_OBJECT
public:
    // Takes ownership of the view.
    OverlayPanel(const platform::ScreenInfo& screen, DrawOverlayView* view);

    const platform::ScreenInfo& screen() const { return m_screen; }
    DrawOverlayView* view() const { return m_view; }

private:
    platform::ScreenInfo m_screen;
    DrawOverlayView* m_view;
};

} // namespace markvane
