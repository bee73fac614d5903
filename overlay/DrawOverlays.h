#pragma once

#include <QPointF>

namespace markvane {

// The drawing panels as the app controller drives them: one per display,
// switched together between passing the pointer through (draw mode off) and
// taking pointer and keys (draw mode on).
class DrawOverlays {
public:
    virtual ~DrawOverlays() = default;
    // Replaces every panel with a fresh one per display.
    virtual void rebuild() = 0;
    virtual bool drawModeEnabled() const = 0;
    virtual void setDrawModeEnabled(bool on) = 0;
    // Brings every panel in line with the draw-mode flag.
    virtual void applyDrawMode() = 0;
    // With draw mode on, gives the keyboard to the panel under the pointer.
    virtual void focusPanelUnderMouse() = 0;
    // True when another window of the program that takes the pointer (a
    // toolbar, a settings window) covers the global point.
    virtual bool isOverOtherProgramWindow(QPointF globalPoint) const = 0;
};

} // namespace markvane
