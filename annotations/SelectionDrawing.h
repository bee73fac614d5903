#pragma once

#include "annotations/Annotation.h"
#include "annotations/ViewPainter.h"

#include <QColor>
#include <QRectF>

namespace markvane {

// The dashed outline (for annotations resized by their box) and a dot on every
// handle, in the accent colour, at a fixed size whatever the zoom.
void drawSelection(ViewPainter& view, const Annotation& annotation, const ViewMapping& mapping,
                   const QColor& accent);

// The view area that drawSelection() may touch.
QRectF selectionDrawnRect(const Annotation& annotation, const ViewMapping& mapping);

} // namespace markvane
