#pragma once

#include "overlay/DrawKey.h"

#include <QPointF>

namespace markvane {

// What a drawing view asks of the application around it. The app controller
// implements it; tests use a fake.
class DrawViewHost {
public:
    virtual ~DrawViewHost() = default;
    // Offers a key to the drawing key routing; true when it was consumed.
    virtual bool handleDrawKey(const DrawKey& key) = 0;
    // The last step of the Escape chain.
    virtual void setDrawMode(bool on) = 0;
    virtual bool drawModeEnabled() const = 0;
    // The pointer entered a drawing view: give the panel under it the keyboard.
    virtual void focusOverlayUnderMouse() = 0;
    // True when another visible, pointer-accepting window of this program
    // (toolbar, settings) covers the global point: drawing leaves it alone.
    virtual bool isOverOtherProgramWindow(QPointF globalPoint) const = 0;
};

} // namespace markvane
