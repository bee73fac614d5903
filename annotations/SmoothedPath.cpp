#include "annotations/SmoothedPath.h"

namespace markvane {

void buildSmoothedPath(const QList<QPointF>& points, const ViewMapping& mapping,
                       QPainterPath& path) {
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
    QPointF previous = smoothed(1);
    path.moveTo(smoothed(0));
    for (qsizetype i = 2; i < n; ++i) {
        const QPointF current = smoothed(i);
        path.cubicTo(previous, previous, (previous + current) / 2.0);
        previous = current;
    }
    path.lineTo(smoothed(n - 1));
}

QPainterPath smoothedPath(const QList<QPointF>& points) {
    QPainterPath path;
    buildSmoothedPath(points, ViewMapping{}, path);
    return path;
}

} // namespace markvane
