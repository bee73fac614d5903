#include "annotations/AnnotationHitCache.h"

#include "annotations/AnnotationHandles.h"

#include <algorithm>

namespace markvane {

void AnnotationHitCache::update(qsizetype index, const Annotation& annotation) {
    if (m_valid && index >= 0 && index < m_extents.size())
        m_extents[index] = hitExtent(annotation);
    else
        m_valid = false;
}

void AnnotationHitCache::append(const Annotation& annotation) {
    if (m_valid)
        m_extents.append(hitExtent(annotation));
}

void AnnotationHitCache::removeFront(qsizetype count) {
    if (m_valid)
        m_extents.remove(0, std::min(count, m_extents.size()));
}

void AnnotationHitCache::rebuild(const QList<Annotation>& annotations) const {
    m_extents.clear();
    m_extents.reserve(annotations.size());
    for (const Annotation& annotation : annotations)
        m_extents.append(hitExtent(annotation));
    m_valid = true;
}

std::optional<qsizetype>
AnnotationHitCache::topmostHit(const QList<Annotation>& annotations, QPointF point,
                               double tolerance,
                               const std::function<bool(const Annotation&)>& accept) const {
    // A list that no longer matches the cache (a missed notification) is
    // rebuilt rather than trusted.
    if (!m_valid || m_extents.size() != annotations.size())
        rebuild(annotations);
    for (qsizetype i = annotations.size() - 1; i >= 0; --i) {
        const std::optional<QRectF>& extent = m_extents[i];
        if (!extent)
            continue;
        const Annotation& annotation = annotations[i];
        const double reach = std::max(tolerance, annotation.width);
        if (point.x() < extent->left() - reach || point.x() > extent->right() + reach ||
            point.y() < extent->top() - reach || point.y() > extent->bottom() + reach)
            continue;
        if (accept && !accept(annotation))
            continue;
        if (hitTest(annotation, point, tolerance))
            return i;
    }
    return std::nullopt;
}

} // namespace markvane
