#pragma once

namespace markvane {

// The pointer shapes a drawing view shows. The first four are drawn by the
// program (ToolCursors); the rest are the system's.
enum class PointerShape {
    dot,
    iBeam,
    stamp,
    eraser,
    crosshair,
    resizeUpDown,
    resizeLeftRight,
    closedHand,
    openHand,
    arrow,
    pointingHand,
};

} // namespace markvane
