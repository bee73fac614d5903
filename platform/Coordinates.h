#pragma once

#include <QPointF>
#include <QRectF>

namespace markvane::platform {

// Conversions between Qt's global coordinates (top-left origin, y down) and
// the program's global coordinates (origin at the bottom left of the main
// display, y up). `primary` is the main display's geometry in Qt coordinates.
inline QPointF fromQtGlobal(QPointF qt, const QRectF& primary) {
    return {qt.x() - primary.left(), (primary.top() + primary.height()) - qt.y()};
}

inline QPointF toQtGlobal(QPointF global, const QRectF& primary) {
    return {global.x() + primary.left(), (primary.top() + primary.height()) - global.y()};
}

inline QRectF fromQtGlobal(const QRectF& qt, const QRectF& primary) {
    const QPointF bottomLeft = fromQtGlobal(qt.bottomLeft(), primary);
    return {bottomLeft.x(), bottomLeft.y(), qt.width(), qt.height()};
}

inline QRectF toQtGlobal(const QRectF& global, const QRectF& primary) {
    // In y-up coordinates the rectangle's top edge is at y + height.
    const QPointF topLeft = toQtGlobal(QPointF(global.x(), global.y() + global.height()), primary);
    return {topLeft.x(), topLeft.y(), global.width(), global.height()};
}

} // namespace markvane::platform
