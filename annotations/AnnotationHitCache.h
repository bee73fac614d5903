#pragma once

#include "annotations/Annotation.h"

#include <QList>
#include <QPointF>
#include <QRectF>
#include <functional>
#include <optional>

namespace markvane {

// The hit extents of a list of annotations, kept so that a lookup culls most
// annotations by rectangle before running the exact hit test. Long freehand
// strokes make computing extents the expensive part, so the owner of the list
// tells the cache about every change and the cache rebuilds lazily.
class AnnotationHitCache {
public:
    // The whole list changed (replaced, reordered, entries removed).
    void invalidate() { m_valid = false; }
    // The annotation at `index` changed in place.
    void update(qsizetype index, const Annotation& annotation);
    // `annotation` was appended to the list.
    void append(const Annotation& annotation);
    // The first `count` annotations were removed.
    void removeFront(qsizetype count);

    // The index of the topmost annotation (searching from the end) that the
    // point hits within the tolerance and that `accept` approves.
    std::optional<qsizetype>
    topmostHit(const QList<Annotation>& annotations, QPointF point, double tolerance,
               const std::function<bool(const Annotation&)>& accept = {}) const;

private:
    void rebuild(const QList<Annotation>& annotations) const;

    mutable QList<std::optional<QRectF>> m_extents;
    mutable bool m_valid = false;
};

} // namespace markvane
