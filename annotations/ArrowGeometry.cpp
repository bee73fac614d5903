#include "annotations/ArrowGeometry.h"

#include <algorithm>
#include <cmath>

namespace markvane {

double arrowHeadLength(double width) {
    return std::max(kArrowHeadFactor * width, kArrowMinimumHead);
}

ArrowShaft arrowShaft(QPointF start, QPointF tip, std::optional<QPointF> control, double width) {
    ArrowShaft shaft;
    shaft.start = start;
    shaft.headLength = arrowHeadLength(width);
    const QPointF from = control.value_or(start);
    shaft.headAngle = std::atan2(tip.y() - from.y(), tip.x() - from.x());
    const double pullBack = kArrowPullBack * shaft.headLength;
    shaft.end =
        tip - QPointF(pullBack * std::cos(shaft.headAngle), pullBack * std::sin(shaft.headAngle));
    if (control) {
        // The quadratic start–control–end raised to a cubic.
        shaft.curved = true;
        shaft.control1 = start + (*control - start) * (2.0 / 3.0);
        shaft.control2 = shaft.end + (*control - shaft.end) * (2.0 / 3.0);
    }
    return shaft;
}

QPointF ArrowShaft::pointAt(double t) const {
    if (!curved)
        return start + (end - start) * t;
    const double u = 1 - t;
    return start * (u * u * u) + control1 * (3 * u * u * t) + control2 * (3 * u * t * t) +
           end * (t * t * t);
}

} // namespace markvane
