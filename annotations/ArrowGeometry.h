#pragma once

#include <QPointF>
#include <optional>

namespace markvane {

// The drawn shaft of an arrow: it stops short of the tip so the head's point
// stays sharp. Hit-testing, the curve handle and drawing all use this one
// geometry (in whatever coordinates and width the caller works in).
struct ArrowShaft {
    QPointF start;
    QPointF end; // where the shaft stops, 0.6 × head before the tip
    bool curved = false;
    QPointF control1; // cubic control points, set when curved
    QPointF control2;
    double headAngle = 0; // direction in which the shaft arrives at the tip
    double headLength = 0;

    QPointF pointAt(double t) const;
    QPointF midpoint() const { return pointAt(0.5); }
};

inline constexpr double kArrowMinimumHead = 12;
inline constexpr double kArrowHeadFactor = 3.2;
inline constexpr double kArrowPullBack = 0.6;

double arrowHeadLength(double width);

ArrowShaft arrowShaft(QPointF start, QPointF tip, std::optional<QPointF> control, double width);

} // namespace markvane
