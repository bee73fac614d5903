#include "annotations/AnnotationDrawing.h"

#include "annotations/AnnotationInk.h"
#include "annotations/AnnotationRasterCache.h"

#include "annotations/ArrowGeometry.h"
#include "annotations/Palette.h"
#include "annotations/RulerLabel.h"
#include "annotations/SelectionDrawing.h"
#include "annotations/SmoothedPath.h"
#include "annotations/StampDrawing.h"
#include "annotations/TextMeasure.h"

#include <QGuiApplication>
#include <QPainterPath>
#include <QPalette>
#include <algorithm>
#include <cmath>
#include <numbers>

namespace markvane {
namespace {

constexpr double kFadeWindow = 0.4;
constexpr double kHighlighterAlpha = 0.4;
constexpr double kHighlighterWidthFactor = 3;
constexpr double kInvisibleAlpha = 0.001;
constexpr double kFillAlpha = 0.25;
constexpr double kHeadHalfAngle = std::numbers::pi / 7;
constexpr double kTickHalfLength = 6;
constexpr double kTickWidthFactor = 0.7;
constexpr float kRedactionGrey = 0.08f;
constexpr double kMarqueeFillAlpha = 0.1;
constexpr double kMarqueeLineWidth = 1.5;
constexpr double kMarqueeDash = 5;
constexpr double kMarqueeGap = 3;
constexpr double kTextSlack = 0.5;
// Anti-aliasing touches about one pixel beyond every exact edge.
constexpr double kSoftEdge = 1.5;

QColor withAlpha(QColor colour, double alpha) {
    colour.setAlphaF(float(std::clamp(alpha, 0.0, 1.0)));
    return colour;
}

qsizetype minimumPoints(Tool tool) {
    switch (tool) {
    case Tool::pen:
    case Tool::highlighter:
    case Tool::text:
    case Tool::stamp:
        return 1;
    default:
        return 2;
    }
}

QPen strokePen(const QColor& colour, double width, Qt::PenCapStyle cap,
               Qt::PenJoinStyle join = Qt::MiterJoin) {
    return QPen(colour, width, Qt::SolidLine, cap, join);
}

void drawArrow(QPainter& painter, const Annotation& arrow, const QColor& colour, double width,
               const ViewMapping& mapping, QPainterPath& path) {
    const QPointF tip = mapping.map(arrow.points[1]);
    std::optional<QPointF> control;
    if (arrow.curveControl)
        control = mapping.map(*arrow.curveControl);
    const ArrowShaft shaft = arrowShaft(mapping.map(arrow.points[0]), tip, control, width);
    painter.setPen(strokePen(colour, width, Qt::RoundCap));
    if (shaft.curved) {
        path.clear();
        path.moveTo(shaft.start);
        path.cubicTo(shaft.control1, shaft.control2, shaft.end);
        painter.drawPath(path);
    } else {
        painter.drawLine(QLineF(shaft.start, shaft.end));
    }
    const double head = shaft.headLength;
    const double a = shaft.headAngle;
    const QPointF corners[3] = {
        tip,
        tip - head * QPointF(std::cos(a - kHeadHalfAngle), std::sin(a - kHeadHalfAngle)),
        tip - head * QPointF(std::cos(a + kHeadHalfAngle), std::sin(a + kHeadHalfAngle)),
    };
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour);
    painter.drawConvexPolygon(corners, 3);
}

void drawRuler(ViewPainter& view, const Annotation& ruler, const QColor& colour, double width,
               double alpha, const ViewMapping& mapping,
               const QList<platform::ScreenInfo>& screens) {
    QPainter& painter = view.painter();
    const QPointF g0 = ruler.points[0];
    const QPointF g1 = ruler.points[1];
    const QPointF q0 = mapping.map(g0);
    const QPointF q1 = mapping.map(g1);
    painter.setPen(strokePen(colour, width, Qt::RoundCap));
    painter.drawLine(QLineF(q0, q1));
    const double a = std::atan2(q1.y() - q0.y(), q1.x() - q0.x()) + std::numbers::pi / 2;
    const QPointF tick = kTickHalfLength * QPointF(std::cos(a), std::sin(a));
    const QLineF ticks[2] = {QLineF(q0 - tick, q0 + tick), QLineF(q1 - tick, q1 + tick)};
    painter.setPen(strokePen(colour, std::max(kTickWidthFactor * width, 1.0), Qt::FlatCap));
    painter.drawLines(ticks, 2);
    drawRulerLabel(view, g0, g1, q0, q1, alpha, screens);
}

// What every annotation of one drawAnnotations() call shares.
struct Frame {
    const ViewMapping& mapping;
    const AnnotationDrawContext& context;
    const std::optional<QRectF>& dirty;
    QPainterPath& path; // one path's storage serves every stroke of the frame
};

void drawStroked(ViewPainter& view, const Annotation& annotation, double alpha,
                 const Frame& frame) {
    const ViewMapping& mapping = frame.mapping;
    QPainterPath& path = frame.path;
    QPainter& painter = view.painter();
    const bool highlighter = annotation.tool == Tool::highlighter;
    painter.setCompositionMode(highlighter ? QPainter::CompositionMode_Multiply
                                           : QPainter::CompositionMode_SourceOver);
    painter.setBrush(Qt::NoBrush);
    const QColor colour = withAlpha(annotation.color, alpha);
    const double width = annotation.width * mapping.scale;
    const QList<QPointF>& points = annotation.points;
    switch (annotation.tool) {
    case Tool::pen:
    case Tool::highlighter: {
        const double lineWidth = highlighter ? kHighlighterWidthFactor * width : width;
        std::optional<QRectF> within;
        if (frame.dirty) {
            const double reach = lineWidth / 2 + kSoftEdge;
            within = frame.dirty->adjusted(-reach, -reach, reach, reach);
        }
        buildSmoothedPath(points, mapping, path, within);
        painter.setPen(strokePen(colour, lineWidth, Qt::RoundCap, Qt::RoundJoin));
        painter.drawPath(path);
        break;
    }
    case Tool::line:
        painter.setPen(strokePen(colour, width, Qt::RoundCap));
        painter.drawLine(QLineF(mapping.map(points[0]), mapping.map(points[1])));
        break;
    case Tool::rectangle:
    case Tool::ellipse: {
        const QRectF box = QRectF(mapping.map(points[0]), mapping.map(points[1])).normalized();
        const bool ellipse = annotation.tool == Tool::ellipse;
        if (annotation.filled) {
            painter.setPen(Qt::NoPen);
            painter.setBrush(withAlpha(annotation.color, kFillAlpha * alpha));
            ellipse ? painter.drawEllipse(box) : painter.drawRect(box);
            painter.setBrush(Qt::NoBrush);
        }
        painter.setPen(strokePen(colour, width, Qt::FlatCap, Qt::RoundJoin));
        ellipse ? painter.drawEllipse(box) : painter.drawRect(box);
        break;
    }
    case Tool::arrow:
        drawArrow(painter, annotation, colour, width, mapping, path);
        break;
    case Tool::ruler:
        drawRuler(view, annotation, colour, width, alpha, mapping, frame.context.screens);
        break;
    default:
        break; // the eraser and the move tool leave nothing behind
    }
}

void drawText(ViewPainter& view, const Annotation& text, double alpha, const ViewMapping& mapping) {
    if (!text.text || text.text->isEmpty())
        return;
    QPainter& painter = view.painter();
    painter.setFont(annotationFont(text.fontSize * mapping.scale, view.logicalDpi()));
    painter.setPen(withAlpha(text.color, alpha));
    // Not clipped to the box: hinting may lay a zoomed line out a little wider
    // than its measure (the drawn rectangle allows for it), and a fractional
    // clip would round differently in each raster cache tile.
    view.drawTextUpright(mapping.map(text.bounds()),
                         Qt::AlignLeft | Qt::AlignTop | Qt::TextDontClip, *text.text);
}

void drawPicture(ViewPainter& view, const Annotation& annotation, double alpha,
                 const ViewMapping& mapping) {
    const QRectF target = mapping.map(annotation.bounds());
    const bool solid = annotation.tool == Tool::redact &&
                       (annotation.redactStyle == RedactStyle::solid || !annotation.image);
    if (solid) {
        view.painter().fillRect(
            target, QColor::fromRgbF(kRedactionGrey, kRedactionGrey, kRedactionGrey, float(alpha)));
        return;
    }
    if (!annotation.image)
        return;
    view.painter().setOpacity(alpha);
    view.drawImageUpright(target, *annotation.image);
}

void drawAnnotation(ViewPainter& view, const Annotation& annotation, double alpha,
                    const Frame& frame) {
    switch (annotation.tool) {
    case Tool::text:
        drawText(view, annotation, alpha, frame.mapping);
        break;
    case Tool::stamp:
        drawStamp(view, annotation, alpha, frame.mapping);
        break;
    case Tool::snipe:
    case Tool::redact:
        drawPicture(view, annotation, alpha, frame.mapping);
        break;
    default:
        drawStroked(view, annotation, alpha, frame);
        break;
    }
}

void drawMarquee(QPainter& painter, const QRectF& rect, const QColor& colour) {
    painter.setOpacity(1);
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    painter.fillRect(rect, withAlpha(colour, kMarqueeFillAlpha));
    QPen pen(colour, kMarqueeLineWidth, Qt::CustomDashLine, Qt::FlatCap);
    // Qt measures dashes in line widths.
    pen.setDashPattern({kMarqueeDash / kMarqueeLineWidth, kMarqueeGap / kMarqueeLineWidth});
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(rect);
}

} // namespace

QColor defaultAccentColor() {
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        return QGuiApplication::palette().color(QPalette::Highlight);
    return systemBlue();
}

double annotationFullAlpha(const Annotation& annotation) {
    return annotation.tool == Tool::highlighter ? kHighlighterAlpha : 1.0;
}

double annotationAlpha(const Annotation& annotation, double now) {
    const double base = annotationFullAlpha(annotation);
    if (!annotation.expiresAt)
        return base;
    const double remaining = *annotation.expiresAt - now;
    if (remaining >= kFadeWindow)
        return base;
    if (remaining > 0)
        return base * remaining / kFadeWindow;
    return 0;
}

double annotationInkReach(const Annotation& annotation, double scale) {
    const double width = annotation.width * scale;
    switch (annotation.tool) {
    case Tool::pen:
    case Tool::line:
    case Tool::rectangle:
    case Tool::ellipse:
        return width / 2;
    case Tool::highlighter:
        return kHighlighterWidthFactor * width / 2;
    case Tool::arrow:
        return std::max(width / 2, arrowHeadLength(width));
    case Tool::ruler:
        return std::max(width / 2, kTickHalfLength + width);
    case Tool::stamp:
        return stampReach(annotation.fontSize * scale);
    case Tool::text:
        // Bounds are measured at the unzoomed size; hinting at another size
        // can lay the line out a little wider.
        return kTextSlack * annotation.fontSize * scale;
    default:
        return 0;
    }
}

QRectF annotationDrawnRect(const Annotation& annotation, QPointF origin, double scale,
                           const QList<platform::ScreenInfo>& screens) {
    const ViewMapping mapping{origin, scale};
    const double reach = annotationInkReach(annotation, scale) + kSoftEdge;
    QRectF rect = mapping.map(annotation.bounds()).adjusted(-reach, -reach, reach, reach);
    if (annotation.tool == Tool::ruler && annotation.points.size() >= 2) {
        const QPointF g0 = annotation.points[0];
        const QPointF g1 = annotation.points[1];
        rect |= rulerLabelBound(g0, g1, mapping.map(g0), mapping.map(g1), screens)
                    .adjusted(-kSoftEdge, -kSoftEdge, kSoftEdge, kSoftEdge);
    }
    return rect;
}

bool annotationShows(const Annotation& annotation, double alpha) {
    return alpha > kInvisibleAlpha && annotation.points.size() >= minimumPoints(annotation.tool);
}

void drawAnnotationInk(ViewPainter& view, const Annotation& annotation, double alpha,
                       const ViewMapping& mapping, const AnnotationDrawContext& context,
                       const std::optional<QRectF>& dirtyRect, QPainterPath& path) {
    QPainter& painter = view.painter();
    const Frame frame{mapping, context, dirtyRect, path};
    painter.save();
    drawAnnotation(view, annotation, alpha, frame);
    painter.restore();
}

void beginAnnotationFrame(QPainter& painter, const std::optional<QRectF>& dirtyRect) {
    painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing |
                           QPainter::SmoothPixmapTransform);
    if (dirtyRect)
        painter.setClipRect(*dirtyRect, Qt::IntersectClip);
}

void drawAnnotations(ViewPainter& view, const QList<Annotation>& annotations,
                     const std::optional<QUuid>& selectedId,
                     const std::optional<QRectF>& eraserRect,
                     const std::optional<QRectF>& snipeRect, QPointF origin, double scale,
                     const AnnotationDrawContext& context, const std::optional<QRectF>& dirtyRect,
                     AnnotationRasterCache* cache) {
    QPainter& painter = view.painter();
    painter.save();
    beginAnnotationFrame(painter, dirtyRect);
    const ViewMapping mapping{origin, scale};
    const auto reachesDirtyArea = [&dirtyRect](const QRectF& drawn) {
        return !dirtyRect || drawn.intersects(*dirtyRect);
    };
    if (!cache || !cache->draw(view, annotations, selectedId, mapping, context, dirtyRect)) {
        QPainterPath path;
        for (const Annotation& annotation : annotations) {
            const double alpha = annotationAlpha(annotation, context.now);
            if (!annotationShows(annotation, alpha))
                continue;
            const bool selected = selectedId && annotation.id == *selectedId;
            if (dirtyRect) {
                QRectF drawn = annotationDrawnRect(annotation, origin, scale, context.screens);
                if (selected)
                    drawn = drawn.united(selectionDrawnRect(annotation, mapping));
                if (!reachesDirtyArea(drawn))
                    continue;
            }
            drawAnnotationInk(view, annotation, alpha, mapping, context, dirtyRect, path);
            if (selected)
                drawSelection(view, annotation, mapping, context.accent);
        }
    }
    if (eraserRect) {
        const QRectF rect = mapping.map(*eraserRect);
        if (reachesDirtyArea(rect.adjusted(-kSoftEdge, -kSoftEdge, kSoftEdge, kSoftEdge)))
            drawMarquee(painter, rect, systemRed());
    }
    if (snipeRect) {
        const QRectF rect = mapping.map(*snipeRect);
        if (reachesDirtyArea(rect.adjusted(-kSoftEdge, -kSoftEdge, kSoftEdge, kSoftEdge)))
            drawMarquee(painter, rect, context.accent);
    }
    painter.restore();
}

std::optional<QImage> annotationImage(const Annotation& annotation,
                                      const AnnotationDrawContext& context,
                                      double devicePixelRatio) {
    const double grow = annotation.width + 4;
    const QRectF area = annotation.bounds().adjusted(-grow, -grow, grow, grow);
    if (!(area.width() > 0 && area.height() > 0 && devicePixelRatio > 0))
        return std::nullopt;
    const double pixelWidth = std::ceil(area.width() * devicePixelRatio);
    const double pixelHeight = std::ceil(area.height() * devicePixelRatio);
    if (pixelWidth >= 32768 || pixelHeight >= 32768)
        return std::nullopt;
    QImage image(int(pixelWidth), int(pixelHeight), QImage::Format_ARGB32_Premultiplied);
    if (image.isNull())
        return std::nullopt;
    image.setDevicePixelRatio(devicePixelRatio);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    {
        ViewPainter view(painter, area.height());
        drawAnnotations(view, {annotation}, std::nullopt, std::nullopt, std::nullopt,
                        area.topLeft(), 1, context);
    }
    painter.end();
    return image;
}

} // namespace markvane
