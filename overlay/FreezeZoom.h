#pragma once

#include <QImage>
#include <QPointF>
#include <QRectF>
#include <optional>

namespace markvane {

// Per-view freeze-zoom state. A view is frozen while it holds a snapshot of
// its display; until a gesture captures one, it stays live at scale 1.
struct FreezeZoom {
    double zoomScale = 1;
    QPointF zoomCenterGlobal;
    std::optional<QImage> frozenSnapshot;
    std::optional<QRectF> zoomPercentFrame; // view coordinates, y up
    std::optional<QRectF> zoomResetFrame;   // view coordinates, y up
    quint64 zoomGeneration = 0;
    bool zoomCapturePending = false;

    bool isFrozen() const { return frozenSnapshot.has_value(); }

    // Back to live. The generation step drops any capture still on its way.
    void reset() {
        zoomScale = 1;
        zoomCenterGlobal = {};
        frozenSnapshot.reset();
        zoomPercentFrame.reset();
        zoomResetFrame.reset();
        zoomCapturePending = false;
        ++zoomGeneration;
    }
};

} // namespace markvane
