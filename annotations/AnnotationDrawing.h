#pragma once

#include "annotations/Annotation.h"
#include "annotations/ViewPainter.h"
#include "platform/Screens.h"

#include <QColor>
#include <QImage>
#include <QList>
#include <QRectF>
#include <QUuid>
#include <optional>

namespace markvane {

class AnnotationRasterCache;

// The system accent colour: the palette's highlight colour.
QColor defaultAccentColor();

// What drawing needs from outside the annotations themselves.
struct AnnotationDrawContext {
    double now = 0; // the monotonic clock, read once per frame
    QList<platform::ScreenInfo> screens;
    QColor accent = defaultAccentColor();
};

// How opaque an annotation is at `now`: 0.4 for a highlighter, 1 for the
// rest, fading out linearly over the last 0.4 s before it expires.
double annotationAlpha(const Annotation& annotation, double now);

// How far beyond its bounds, mapped at `scale`, an annotation's ink can reach
// (the ruler's label aside).
double annotationInkReach(const Annotation& annotation, double scale);

// The view area an annotation's drawing can touch (its selection aside):
// what a view repaints when only that annotation changes.
QRectF annotationDrawnRect(const Annotation& annotation, QPointF origin, double scale,
                           const QList<platform::ScreenInfo>& screens);

// Paints the annotations bottom to top with the selection, the eraser
// rectangle and the snipe rectangle (global points), mapped through
// `origin` and `scale`. With a dirty rectangle (view coordinates) drawing is
// clipped to it and annotations that cannot reach it are skipped. With a
// cache (owned by the view, one per view) finished annotations are painted
// from pixels kept since an earlier frame; what is drawn stays the same.
void drawAnnotations(ViewPainter& view, const QList<Annotation>& annotations,
                     const std::optional<QUuid>& selectedId,
                     const std::optional<QRectF>& eraserRect,
                     const std::optional<QRectF>& snipeRect, QPointF origin, double scale,
                     const AnnotationDrawContext& context,
                     const std::optional<QRectF>& dirtyRect = std::nullopt,
                     AnnotationRasterCache* cache = nullptr);

// The annotation alone on a transparent image covering its bounds grown by
// its width plus 4 points; none when that area is empty.
std::optional<QImage> annotationImage(const Annotation& annotation,
                                      const AnnotationDrawContext& context,
                                      double devicePixelRatio = 1);

} // namespace markvane
