#include "annotations/SmoothedPath.h"

#include <algorithm>
#include <initializer_list>

namespace markvane {

namespace {

// Whether the box around the given points meets the rectangle (edges count:
// a straight piece has a box without area).
bool reaches(const QRectF& rect, std::initializer_list<QPointF> points) {
    double minX = points.begin()->x(), maxX = minX;
    double minY = points.begin()->y(), maxY = minY;
    for (const QPointF& p : points) {
        minX = std::min(minX, p.x());
        maxX = std::max(maxX, p.x());
        minY = std::min(minY, p.y());
        maxY = std::max(maxY, p.y());
    }
    return minX <= rect.right() && maxX >= rect.left() && minY <= rect.bottom() &&
           maxY >= rect.top();
}

} // namespace

void buildSmoothedPath(const QList<QPointF>& points, const ViewMapping& mapping, QPainterPath& path,
                       const std::optional<QRectF>& within) {
    path.clear();
    const qsizetype n = points.size();
    if (n == 0)
        return;
    if (n == 1) {
        const QPointF p = mapping.map(points[0]);
        path.moveTo(p);
        path.lineTo(p + QPointF(0.01, 0));
        return;
    }
    if (n == 2) {
        path.moveTo(mapping.map(points[0]));
        path.lineTo(mapping.map(points[1]));
        return;
    }
    path.reserve(int(3 * n));
    // Mapping is affine, so averaging before or after it gives the same points.
    const auto smoothed = [&points, &mapping, n](qsizetype i) {
        if (i == 0 || i == n - 1)
            return mapping.map(points[i]);
        return mapping.map((points[i - 1] + points[i] + points[i + 1]) / 3.0);
    };
    bool open = false;
    const auto keep = [&](QPointF from, std::initializer_list<QPointF> piece) {
        if (within && !reaches(*within, piece)) {
            open = false;
            return false;
        }
        if (!open)
            path.moveTo(from);
        open = true;
        return true;
    };
    QPointF from = smoothed(0);
    QPointF previous = smoothed(1);
    for (qsizetype i = 2; i < n; ++i) {
        const QPointF current = smoothed(i);
        const QPointF to = (previous + current) / 2.0;
        if (keep(from, {from, previous, to}))
            path.cubicTo(previous, previous, to);
        from = to;
        previous = current;
    }
    const QPointF last = smoothed(n - 1);
    if (keep(from, {from, last}))
        path.lineTo(last);
}

QPainterPath smoothedPath(const QList<QPointF>& points) {
    QPainterPath path;
    buildSmoothedPath(points, ViewMapping{}, path);
    return path;
}

} // namespace markvane
