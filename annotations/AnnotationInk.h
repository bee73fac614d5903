#pragma once

#include "annotations/AnnotationDrawing.h"

#include <QPainterPath>

// The pieces drawAnnotations() is made of, for painters that replay them
// differently (the raster cache draws runs of annotations into tiles).
namespace markvane {

// The alpha of an annotation that is not fading.
double annotationFullAlpha(const Annotation& annotation);

// Whether an annotation at this alpha leaves any ink.
bool annotationShows(const Annotation& annotation, double alpha);

// One annotation without its selection; the painter's state is kept. With a
// dirty rectangle long strokes skip the pieces that cannot reach it.
void drawAnnotationInk(ViewPainter& view, const Annotation& annotation, double alpha,
                       const ViewMapping& mapping, const AnnotationDrawContext& context,
                       const std::optional<QRectF>& dirtyRect, QPainterPath& path);

// The render hints every frame uses, and the clip to the dirty rectangle.
void beginAnnotationFrame(QPainter& painter, const std::optional<QRectF>& dirtyRect);

} // namespace markvane
