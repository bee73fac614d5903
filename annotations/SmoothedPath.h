#pragma once

#include "annotations/ViewPainter.h"

#include <QList>
#include <QPainterPath>
#include <QPointF>
#include <QRectF>
#include <optional>

namespace markvane {

// The free-hand path through sampled pointer positions: the positions are
// averaged with their neighbours and joined by curves through the midpoints,
// so that jitter of the pointer does not show. A single point becomes a tiny
// segment, so that round caps draw it as a dot.
QPainterPath smoothedPath(const QList<QPointF>& points);

// The same path for the points mapped into a view, built into `path` (cleared
// first) so that one path's storage serves a whole frame. With `within`, only
// the pieces whose control points reach into that view rectangle are kept,
// each run of them as its own subpath, so a small repaint strokes a short path.
void buildSmoothedPath(const QList<QPointF>& points, const ViewMapping& mapping, QPainterPath& path,
                       const std::optional<QRectF>& within = std::nullopt);

} // namespace markvane
