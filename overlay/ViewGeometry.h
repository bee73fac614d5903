#pragma once

#include <QPointF>
#include <QRectF>
#include <QSizeF>

namespace markvane {

// Converts between a drawing view's coordinates (origin bottom left, y up)
// and global coordinates, directly or through the freeze-zoom magnification.
struct ViewGeometry {
    QRectF screenFrame; // global
    QSizeF viewSize;
    bool frozen = false;
    double zoomScale = 1;
    QPointF zoomCenterGlobal;

    QPointF viewToGlobal(QPointF view) const;
    QPointF globalToView(QPointF global) const;
    QRectF globalToView(const QRectF& global) const;
    // The part of the desktop the view shows.
    QRectF visibleGlobalRect() const;
    // Global point drawn at the view's (0, 0) and view points per global point.
    QPointF drawingOrigin() const { return visibleGlobalRect().topLeft(); }
    double drawingScale() const { return frozen ? zoomScale : 1; }
};

// Qt widgets count y downward from the top; the view counts it upward from
// the bottom. These are the only conversions between the two.
inline QPointF widgetToView(QPointF widget, double viewHeight) {
    return {widget.x(), viewHeight - widget.y()};
}

inline QPointF viewToWidget(QPointF view, double viewHeight) {
    return {view.x(), viewHeight - view.y()};
}

inline QRectF viewToWidget(const QRectF& view, double viewHeight) {
    return {view.x(), viewHeight - view.y() - view.height(), view.width(), view.height()};
}

inline QRectF widgetToView(const QRectF& widget, double viewHeight) {
    return viewToWidget(widget, viewHeight); // the flip is its own inverse
}

} // namespace markvane
