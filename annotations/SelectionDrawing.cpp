#include "annotations/SelectionDrawing.h"

#include "annotations/AnnotationHandles.h"

#include <QPainter>

namespace markvane {
namespace {

constexpr double kOutlineWidth = 1;
constexpr double kOutlineDash = 4;
constexpr double kOutlineGap = 3;
constexpr double kDotDiameter = 8;
constexpr double kDotLineWidth = 1.5;
constexpr double kReach = kDotDiameter / 2 + kDotLineWidth / 2 + 1.5;

} // namespace

void drawSelection(ViewPainter& view, const Annotation& annotation, const ViewMapping& mapping,
                   const QColor& accent) {
    QPainter& painter = view.painter();
    painter.save();
    painter.setOpacity(1);
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    painter.setBrush(Qt::NoBrush);
    if (hasBoxHandles(annotation.tool)) {
        QPen outline(accent, kOutlineWidth, Qt::CustomDashLine, Qt::FlatCap);
        outline.setDashPattern({kOutlineDash / kOutlineWidth, kOutlineGap / kOutlineWidth});
        painter.setPen(outline);
        painter.drawRect(mapping.map(annotation.bounds()));
    }
    painter.setPen(QPen(accent, kDotLineWidth));
    painter.setBrush(Qt::white);
    const double radius = kDotDiameter / 2;
    for (const Handle& handle : handles(annotation))
        painter.drawEllipse(mapping.map(handle.position), radius, radius);
    painter.restore();
}

QRectF selectionDrawnRect(const Annotation& annotation, const ViewMapping& mapping) {
    QRectF rect = mapping.map(annotation.bounds()).adjusted(-kReach, -kReach, kReach, kReach);
    for (const Handle& handle : handles(annotation)) {
        const QPointF p = mapping.map(handle.position);
        rect |= QRectF(p.x() - kReach, p.y() - kReach, 2 * kReach, 2 * kReach);
    }
    return rect;
}

} // namespace markvane
