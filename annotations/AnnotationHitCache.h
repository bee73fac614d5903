#pragma once

#include "annotations/Annotation.h"

#include <QList>
#include <QPointF>
#include <QRectF>
#include <functional>
#include <optional>

namespace markvane {

// The hit extents of a list of annotations, so that a lookup culls most
// annotations, and most pieces of long freehand strokes, by rectangle before
// measuring distances. Computing extents of long strokes is the expensive
// part: the owner of the list reports every change, and a rebuild after the
// list was swapped (undo, redo) reuses the extents of every annotation whose
// geometry did not change.
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
    struct Entry {
        std::optional<QRectF> extent; // none: never hit
        // Long freehand strokes: the box of each run of segments, in order.
        QList<QRectF> pieces;
    };
    static Entry entryFor(const Annotation& annotation);
    bool hits(const Entry& entry, const Annotation& annotation, QPointF point,
              double tolerance) const;
    void rebuild(const QList<Annotation>& annotations) const;

    // m_entries[i] always describes m_source[i], a copy (cheap, shared) of
    // the annotation it was computed from.
    mutable QList<Annotation> m_source;
    mutable QList<Entry> m_entries;
    mutable bool m_valid = false;
};

} // namespace markvane
