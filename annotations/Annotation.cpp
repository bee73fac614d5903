#include "annotations/Annotation.h"

#include "annotations/TextMeasure.h"

#include <QStringLiteral>
#include <algorithm>
#include <cmath>
#include <numbers>

namespace markvane {
namespace {

constexpr double kMinTextExtent = 8;

QRectF pointsBounds(const QList<QPointF>& points, const std::optional<QPointF>& curveControl) {
    if (points.isEmpty())
        return {};
    double minX = points.first().x(), maxX = minX;
    double minY = points.first().y(), maxY = minY;
    const auto include = [&](QPointF p) {
        minX = std::min(minX, p.x());
        maxX = std::max(maxX, p.x());
        minY = std::min(minY, p.y());
        maxY = std::max(maxY, p.y());
    };
    for (const QPointF& p : points)
        include(p);
    if (curveControl)
        include(*curveControl);
    return QRectF(QPointF(minX, minY), QPointF(maxX, maxY));
}

} // namespace

QRectF Annotation::bounds() const {
    const QPointF anchor = points.isEmpty() ? QPointF() : points.first();
    switch (tool) {
    case Tool::stamp: {
        const QSizeF size =
            measureAnnotationText(text.value_or(QStringLiteral("\U0001F642")), fontSize);
        // Centred on the measured size, then raised, so tiny glyphs stay centred.
        const QPointF origin = anchor - QPointF(size.width() / 2, size.height() / 2);
        return {origin, QSizeF(std::max(size.width(), kMinTextExtent),
                               std::max(size.height(), kMinTextExtent))};
    }
    case Tool::text: {
        const QSizeF size = measureAnnotationText(text.value_or(QStringLiteral(" ")), fontSize);
        return {anchor, QSizeF(std::max(size.width(), kMinTextExtent),
                               std::max(size.height(), kMinTextExtent))};
    }
    default:
        return pointsBounds(points, curveControl);
    }
}

void Annotation::translate(double dx, double dy) {
    const QPointF offset(dx, dy);
    for (QPointF& p : points)
        p += offset;
    if (curveControl)
        *curveControl += offset;
}

void Annotation::scale(double factor) {
    if (!(factor > 0))
        return;
    if (tool == Tool::text || tool == Tool::stamp) {
        fontSize = std::clamp(fontSize * factor, kMinFontSize, kMaxFontSize);
        return;
    }
    const QPointF centre = bounds().center();
    for (QPointF& p : points)
        p = centre + (p - centre) * factor;
    if (curveControl)
        *curveControl = centre + (*curveControl - centre) * factor;
}

QPointF constrainedPoint(Tool tool, QPointF anchor, QPointF pointer) {
    const double dx = pointer.x() - anchor.x();
    const double dy = pointer.y() - anchor.y();
    if (tool == Tool::rectangle || tool == Tool::ellipse || tool == Tool::redact) {
        const double m = std::max(std::abs(dx), std::abs(dy));
        return anchor + QPointF(dx >= 0 ? m : -m, dy >= 0 ? m : -m);
    }
    constexpr double step = std::numbers::pi / 4;
    // std::round takes ties away from zero.
    const double angle = std::round(std::atan2(dy, dx) / step) * step;
    const double length = std::hypot(dx, dy);
    return anchor + QPointF(length * std::cos(angle), length * std::sin(angle));
}

} // namespace markvane

namespace markvane {
// Undo snapshots copy this record once per annotation; keep it compact.
static_assert(sizeof(Annotation) <= 200);
} // namespace markvane
