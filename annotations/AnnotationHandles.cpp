#include "annotations/AnnotationHandles.h"

#include "annotations/ArrowGeometry.h"

#include <algorithm>
#include <cmath>

namespace markvane {
namespace {

// QRectF names its edges for y-down screens; in global points (y up) its
// "top" is the bottom edge. These say what is meant.
double minX(const QRectF& r) {
    return r.left();
}
double maxX(const QRectF& r) {
    return r.right();
}
double minY(const QRectF& r) {
    return r.top();
}
double maxY(const QRectF& r) {
    return r.bottom();
}

QRectF spanning(double x1, double y1, double x2, double y2) {
    return QRectF(QPointF(std::min(x1, x2), std::min(y1, y2)),
                  QPointF(std::max(x1, x2), std::max(y1, y2)));
}

bool resizable(const QRectF& r) {
    return r.width() > kMinResizeExtent && r.height() > kMinResizeExtent;
}

double distanceToSegment(QPointF q, QPointF a, QPointF b) {
    const QPointF ab = b - a;
    const double lengthSquared = QPointF::dotProduct(ab, ab);
    if (lengthSquared == 0)
        return std::hypot(q.x() - a.x(), q.y() - a.y());
    const double t = std::clamp(QPointF::dotProduct(q - a, ab) / lengthSquared, 0.0, 1.0);
    const QPointF nearest = a + ab * t;
    return std::hypot(q.x() - nearest.x(), q.y() - nearest.y());
}

bool withinCurvedShaft(const ArrowShaft& shaft, QPointF q, double reach) {
    QPointF previous = shaft.start;
    for (int i = 1; i <= kCurveHitSegments; ++i) {
        const QPointF next = shaft.pointAt(double(i) / kCurveHitSegments);
        if (distanceToSegment(q, previous, next) <= reach)
            return true;
        previous = next;
    }
    return false;
}

ArrowShaft shaftOf(const Annotation& arrow) {
    return arrowShaft(arrow.points[0], arrow.points[1], arrow.curveControl, arrow.width);
}

double along(const QRectF& r, std::optional<Grip> grip, bool xAxis) {
    const double low = xAxis ? minX(r) : minY(r);
    const double high = xAxis ? maxX(r) : maxY(r);
    if (!grip)
        return (low + high) / 2;
    return *grip == Grip::min ? low : high;
}

void dragEndpoint(Annotation& annotation, int index, QPointF point, bool constrain) {
    if (index < 0 || index >= annotation.points.size())
        return;
    QPointF position = point;
    if (constrain && annotation.points.size() == 2)
        position = constrainedPoint(annotation.tool, annotation.points[1 - index], point);
    annotation.points[index] = position;
}

QRectF draggedBox(const QRectF& r, std::optional<Grip> gx, std::optional<Grip> gy, QPointF point,
                  bool constrain) {
    double left = minX(r), right = maxX(r), bottom = minY(r), top = maxY(r);
    if (gx)
        (*gx == Grip::max ? right : left) = point.x();
    if (gy)
        (*gy == Grip::max ? top : bottom) = point.y();
    const QRectF dragged = spanning(left, bottom, right, top);
    if (!constrain)
        return dragged;

    const double aspect = r.width() / r.height();
    const double w = std::max(dragged.width(), aspect * dragged.height());
    const double h = w / aspect;
    double x = minX(r), width = r.width();
    if (gx) {
        const double anchor = *gx == Grip::max ? minX(r) : maxX(r);
        x = *gx == Grip::max ? anchor : anchor - w;
        width = w;
    }
    double y = minY(r), height = r.height();
    if (gy) {
        const double anchor = *gy == Grip::max ? minY(r) : maxY(r);
        y = *gy == Grip::max ? anchor : anchor - h;
        height = h;
    }
    return QRectF(x, y, width, height);
}

// The new centre of a resized stamp on one axis: the side that did not move
// stays put.
double stampCentre(double oldLow, double oldHigh, double newLow, double newHigh, double factor) {
    const double extent = factor * (oldHigh - oldLow);
    if (std::abs(newLow - oldLow) <= kMinResizeExtent)
        return oldLow + extent / 2;
    if (std::abs(newHigh - oldHigh) <= kMinResizeExtent)
        return oldHigh - extent / 2;
    return (newLow + newHigh) / 2;
}

} // namespace

bool polylineWithin(const QList<QPointF>& points, qsizetype first, qsizetype last, QPointF q,
                    double reach) {
    if (first == last)
        return std::hypot(q.x() - points[first].x(), q.y() - points[first].y()) <= reach;
    for (qsizetype i = first + 1; i <= last; ++i) {
        if (distanceToSegment(q, points[i - 1], points[i]) <= reach)
            return true;
    }
    return false;
}

QList<Handle> handles(const Annotation& annotation) {
    QList<Handle> result;
    if (hasBoxHandles(annotation.tool)) {
        const QRectF r = annotation.bounds();
        using G = std::optional<Grip>;
        const std::pair<G, G> grips[] = {
            {Grip::min, Grip::min},    {Grip::max, Grip::min},    {Grip::min, Grip::max},
            {Grip::max, Grip::max},    {Grip::min, std::nullopt}, {Grip::max, std::nullopt},
            {std::nullopt, Grip::min}, {std::nullopt, Grip::max},
        };
        for (const auto& [gx, gy] : grips)
            result.append(
                {HandleKind::box(gx, gy), QPointF(along(r, gx, true), along(r, gy, false))});
        return result;
    }
    switch (annotation.tool) {
    case Tool::line:
    case Tool::ruler:
        for (qsizetype i = 0; i < annotation.points.size(); ++i)
            result.append({HandleKind::endpoint(int(i)), annotation.points[i]});
        break;
    case Tool::arrow:
        if (annotation.points.size() == 2) {
            result.append({HandleKind::endpoint(0), annotation.points[0]});
            result.append({HandleKind::endpoint(1), annotation.points[1]});
            result.append({HandleKind::curve(), curveHandlePosition(annotation)});
        }
        break;
    default:
        break;
    }
    return result;
}

std::optional<HandleKind> handleAt(const Annotation& annotation, QPointF point) {
    for (const Handle& handle : handles(annotation)) {
        const QPointF d = handle.position - point;
        if (std::hypot(d.x(), d.y()) <= kHandleGrabRadius)
            return handle.kind;
    }
    return std::nullopt;
}

bool hitTest(const Annotation& annotation, QPointF point, double tolerance) {
    const double reach = std::max(tolerance, annotation.width);
    const QList<QPointF>& points = annotation.points;
    switch (annotation.tool) {
    case Tool::pen:
    case Tool::highlighter:
        return !points.isEmpty() && polylineWithin(points, 0, points.size() - 1, point, reach);
    case Tool::line:
    case Tool::ruler:
        return points.size() == 2 && distanceToSegment(point, points[0], points[1]) <= reach;
    case Tool::arrow:
        if (points.size() != 2)
            return false;
        if (!annotation.curveControl)
            return distanceToSegment(point, points[0], points[1]) <= reach;
        return withinCurvedShaft(shaftOf(annotation), point, reach);
    case Tool::rectangle:
    case Tool::ellipse:
    case Tool::text:
    case Tool::stamp:
    case Tool::snipe:
    case Tool::redact: {
        const QRectF r = annotation.bounds();
        return point.x() >= minX(r) - reach && point.x() <= maxX(r) + reach &&
               point.y() >= minY(r) - reach && point.y() <= maxY(r) + reach;
    }
    case Tool::eraser:
    case Tool::move:
        return false;
    }
    return false;
}

std::optional<QRectF> hitExtent(const Annotation& annotation) {
    const QList<QPointF>& points = annotation.points;
    switch (annotation.tool) {
    case Tool::eraser:
    case Tool::move:
        return std::nullopt;
    case Tool::pen:
    case Tool::highlighter:
        if (points.isEmpty())
            return std::nullopt;
        return annotation.bounds();
    case Tool::line:
    case Tool::ruler:
        if (points.size() != 2)
            return std::nullopt;
        return spanning(points[0].x(), points[0].y(), points[1].x(), points[1].y());
    case Tool::arrow: {
        if (points.size() != 2)
            return std::nullopt;
        QRectF extent = spanning(points[0].x(), points[0].y(), points[1].x(), points[1].y());
        if (annotation.curveControl) {
            // The curve stays inside the hull of its cubic control points,
            // which may reach past the tip when the bend sits close to it.
            const ArrowShaft shaft = shaftOf(annotation);
            for (QPointF p : {shaft.control1, shaft.control2, shaft.end}) {
                extent = spanning(std::min(minX(extent), p.x()), std::min(minY(extent), p.y()),
                                  std::max(maxX(extent), p.x()), std::max(maxY(extent), p.y()));
            }
        }
        return extent;
    }
    default:
        return annotation.bounds();
    }
}

void applyHandleDrag(Annotation& annotation, const HandleKind& kind, QPointF point,
                     bool constrain) {
    switch (kind.kind()) {
    case HandleKind::Case::endpoint:
        dragEndpoint(annotation, kind.index(), point, constrain);
        break;
    case HandleKind::Case::box: {
        const QRectF r = annotation.bounds();
        if (!resizable(r))
            return;
        resizeBox(annotation, r, draggedBox(r, kind.x(), kind.y(), point, constrain));
        break;
    }
    case HandleKind::Case::curve:
        if (annotation.points.size() != 2)
            return;
        annotation.curveControl = curveControlThrough(annotation.points[0], annotation.points[1],
                                                      point, annotation.width);
        break;
    }
}

void resizeBox(Annotation& annotation, const QRectF& from, const QRectF& to) {
    if (!resizable(from))
        return;
    switch (annotation.tool) {
    case Tool::rectangle:
    case Tool::ellipse:
    case Tool::snipe:
    case Tool::redact:
        annotation.points = {QPointF(minX(to), minY(to)), QPointF(maxX(to), maxY(to))};
        break;
    case Tool::text:
        annotation.fontSize = std::clamp(annotation.fontSize * to.height() / from.height(),
                                         kMinFontSize, kMaxFontSize);
        annotation.points = {QPointF(minX(to), minY(to))};
        break;
    case Tool::stamp: {
        const double factor = to.height() / from.height();
        annotation.fontSize = std::clamp(annotation.fontSize * factor, kMinFontSize, kMaxFontSize);
        annotation.points = {
            QPointF(stampCentre(minX(from), maxX(from), minX(to), maxX(to), factor),
                    stampCentre(minY(from), maxY(from), minY(to), maxY(to), factor))};
        break;
    }
    case Tool::pen:
    case Tool::highlighter:
        for (QPointF& p : annotation.points) {
            p = QPointF(minX(to) + (p.x() - minX(from)) / from.width() * to.width(),
                        minY(to) + (p.y() - minY(from)) / from.height() * to.height());
        }
        break;
    default:
        break;
    }
}

QPointF curveHandlePosition(const Annotation& arrow) {
    if (arrow.points.size() != 2)
        return {};
    if (!arrow.curveControl)
        return (arrow.points[0] + arrow.points[1]) / 2;
    return shaftOf(arrow).midpoint();
}

QPointF curveControlThrough(QPointF start, QPointF tip, QPointF wanted, double width) {
    // The quadratic through `wanted` at its middle, then corrected for the
    // shaft being pulled back from the tip.
    QPointF control = wanted * 2 - (start + tip) / 2;
    for (int i = 0; i < kCurveSolveSteps; ++i) {
        const QPointF middle = arrowShaft(start, tip, control, width).midpoint();
        control += (wanted - middle) * 2;
    }
    return control;
}

bool hasBoxHandles(Tool tool) {
    switch (tool) {
    case Tool::pen:
    case Tool::highlighter:
    case Tool::rectangle:
    case Tool::ellipse:
    case Tool::text:
    case Tool::stamp:
    case Tool::snipe:
    case Tool::redact:
        return true;
    default:
        return false;
    }
}

} // namespace markvane
