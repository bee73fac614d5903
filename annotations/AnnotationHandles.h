#pragma once

#include "annotations/Annotation.h"

#include <QList>
#include <QPointF>
#include <QRectF>
#include <optional>

namespace markvane {

// The side of the bounding rectangle a box handle holds on one axis: `min` is
// the smaller coordinate (left for x, bottom for y), `max` the larger.
enum class Grip { min, max };

// What a handle grabs. Equality compares the case and its payload.
class HandleKind {
public:
    enum class Case { endpoint, box, curve };

    // Moves points[index] of a line, ruler or arrow.
    static constexpr HandleKind endpoint(int index) { return {Case::endpoint, index, {}, {}}; }
    // Moves the chosen edges of the bounding rectangle; an absent grip leaves
    // that axis alone (the handle sits at its middle).
    static constexpr HandleKind box(std::optional<Grip> x, std::optional<Grip> y) {
        return {Case::box, 0, x, y};
    }
    // Bends an arrow.
    static constexpr HandleKind curve() { return {Case::curve, 0, {}, {}}; }

    constexpr Case kind() const { return m_case; }
    constexpr int index() const { return m_index; } // endpoint only
    constexpr std::optional<Grip> x() const { return m_x; }
    constexpr std::optional<Grip> y() const { return m_y; }

    bool operator==(const HandleKind&) const = default;

private:
    constexpr HandleKind(Case c, int index, std::optional<Grip> x, std::optional<Grip> y)
        : m_case(c), m_index(index), m_x(x), m_y(y) {}

    Case m_case;
    int m_index;
    std::optional<Grip> m_x;
    std::optional<Grip> m_y;
};

struct Handle {
    HandleKind kind;
    QPointF position; // global coordinates
};

inline constexpr double kAnnotationHitTolerance = 8;
inline constexpr double kHandleGrabRadius = 11;
// Rectangles this thin on a side cannot be resized: the ratio would explode.
inline constexpr double kMinResizeExtent = 0.5;
inline constexpr int kCurveHitSegments = 16;
inline constexpr int kCurveSolveSteps = 3;

// The grab points of an annotation, in lookup order: box tools give four
// corners then the side middles; lines and rulers one handle per point; an
// arrow with two points its ends then the bend handle.
// Tools whose selection is a box with eight handles (and a drawn outline).
bool hasBoxHandles(Tool tool);

QList<Handle> handles(const Annotation& annotation);

// The first handle (in the order above) within the grab radius of the point.
std::optional<HandleKind> handleAt(const Annotation& annotation, QPointF point);

// Whether the point touches the annotation; the tolerance is raised to the
// annotation's width when that is larger.
bool hitTest(const Annotation& annotation, QPointF point, double tolerance);

// A rectangle such that hitTest() is false for every point farther than
// max(tolerance, width) outside it: a cheap cull before the exact test. None
// for annotations that are never hit.
std::optional<QRectF> hitExtent(const Annotation& annotation);

// Whether the point lies within `reach` of the polyline through
// points[first..last] (of the point itself when first == last).
bool polylineWithin(const QList<QPointF>& points, qsizetype first, qsizetype last, QPointF point,
                    double reach);

// Reshapes the annotation for a handle dragged to `point`. With `constrain`,
// endpoints snap like a constrained stroke and box handles keep the aspect.
void applyHandleDrag(Annotation& annotation, const HandleKind& kind, QPointF point, bool constrain);

// Fits the annotation's geometry from the rectangle `from` to `to`.
void resizeBox(Annotation& annotation, const QRectF& from, const QRectF& to);

// Where the bend handle of a two-point arrow sits: on the drawn shaft's middle
// when curved, halfway between the points when straight.
QPointF curveHandlePosition(const Annotation& arrow);

// The control point that puts the middle of the drawn shaft (which stops short
// of the tip) at `wanted`.
QPointF curveControlThrough(QPointF start, QPointF tip, QPointF wanted, double width);

} // namespace markvane
