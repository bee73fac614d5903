#include "overlay/ViewGeometry.h"

namespace markvane {

QPointF ViewGeometry::viewToGlobal(QPointF view) const {
    if (!frozen)
        return view + screenFrame.topLeft();
    return {zoomCenterGlobal.x() + (view.x() - viewSize.width() * 0.5) / zoomScale,
            zoomCenterGlobal.y() + (view.y() - viewSize.height() * 0.5) / zoomScale};
}

QPointF ViewGeometry::globalToView(QPointF global) const {
    if (!frozen)
        return global - screenFrame.topLeft();
    return {viewSize.width() * 0.5 + (global.x() - zoomCenterGlobal.x()) * zoomScale,
            viewSize.height() * 0.5 + (global.y() - zoomCenterGlobal.y()) * zoomScale};
}

QRectF ViewGeometry::globalToView(const QRectF& global) const {
    const QPointF origin = globalToView(global.topLeft());
    const double s = drawingScale();
    return {origin.x(), origin.y(), global.width() * s, global.height() * s};
}

QRectF ViewGeometry::visibleGlobalRect() const {
    if (!frozen)
        return screenFrame;
    const QSizeF size(viewSize.width() / zoomScale, viewSize.height() / zoomScale);
    return {zoomCenterGlobal.x() - size.width() / 2, zoomCenterGlobal.y() - size.height() / 2,
            size.width(), size.height()};
}

} // namespace markvane
