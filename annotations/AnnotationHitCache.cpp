#include "annotations/AnnotationHitCache.h"

#include "annotations/AnnotationHandles.h"

#include <QHash>
#include <algorithm>

namespace markvane {
namespace {

// Segments per piece of a long freehand stroke.
constexpr qsizetype kPieceSegments = 32;

bool within(const QRectF& box, QPointF point, double reach) {
    return point.x() >= box.left() - reach && point.x() <= box.right() + reach &&
           point.y() >= box.top() - reach && point.y() <= box.bottom() + reach;
}

QRectF boxOf(const QList<QPointF>& points, qsizetype first, qsizetype last) {
    double minX = points[first].x(), maxX = minX, minY = points[first].y(), maxY = minY;
    for (qsizetype i = first + 1; i <= last; ++i) {
        minX = std::min(minX, points[i].x());
        maxX = std::max(maxX, points[i].x());
        minY = std::min(minY, points[i].y());
        maxY = std::max(maxY, points[i].y());
    }
    return QRectF(QPointF(minX, minY), QPointF(maxX, maxY));
}

// Everything bounds and hit areas depend on. Points usually share their data
// with the copy they are compared to, which QList compares in O(1).
bool sameGeometry(const Annotation& a, const Annotation& b) {
    return a.tool == b.tool && a.width == b.width && a.fontSize == b.fontSize &&
           a.curveControl == b.curveControl && a.points == b.points && a.text == b.text;
}

} // namespace

AnnotationHitCache::Entry AnnotationHitCache::entryFor(const Annotation& annotation) {
    const QList<QPointF>& points = annotation.points;
    if (!isFreehand(annotation.tool) || points.size() <= kPieceSegments + 1)
        return {hitExtent(annotation), {}};
    Entry entry;
    for (qsizetype first = 0; first < points.size() - 1; first += kPieceSegments) {
        entry.pieces.append(
            boxOf(points, first, std::min(first + kPieceSegments, points.size() - 1)));
    }
    // Spelled out: QRectF::united() skips zero-size boxes, a pause in a stroke.
    QRectF extent = entry.pieces.first();
    for (const QRectF& box : entry.pieces) {
        extent =
            QRectF(QPointF(std::min(extent.left(), box.left()), std::min(extent.top(), box.top())),
                   QPointF(std::max(extent.right(), box.right()),
                           std::max(extent.bottom(), box.bottom())));
    }
    entry.extent = extent;
    return entry;
}

void AnnotationHitCache::update(qsizetype index, const Annotation& annotation) {
    if (!m_valid || index < 0 || index >= m_entries.size()) {
        m_valid = false;
        return;
    }
    m_source[index] = annotation;
    m_entries[index] = entryFor(annotation);
}

void AnnotationHitCache::append(const Annotation& annotation) {
    if (!m_valid)
        return;
    m_source.append(annotation);
    m_entries.append(entryFor(annotation));
}

void AnnotationHitCache::removeFront(qsizetype count) {
    if (!m_valid)
        return;
    count = std::min(count, m_entries.size());
    m_source.remove(0, count);
    m_entries.remove(0, count);
}

void AnnotationHitCache::rebuild(const QList<Annotation>& annotations) const {
    QHash<QUuid, qsizetype> previous;
    previous.reserve(m_source.size());
    for (qsizetype i = 0; i < m_source.size(); ++i)
        previous.insert(m_source[i].id, i);
    QList<Entry> entries;
    entries.reserve(annotations.size());
    for (const Annotation& annotation : annotations) {
        const auto found = previous.constFind(annotation.id);
        if (found != previous.cend() && sameGeometry(m_source[*found], annotation))
            entries.append(m_entries[*found]);
        else
            entries.append(entryFor(annotation));
    }
    m_entries = std::move(entries);
    m_source = annotations;
    m_valid = true;
}

bool AnnotationHitCache::hits(const Entry& entry, const Annotation& annotation, QPointF point,
                              double tolerance) const {
    if (entry.pieces.isEmpty())
        return hitTest(annotation, point, tolerance);
    // The same distances hitTest() measures, only for pieces near the point.
    const double reach = std::max(tolerance, annotation.width);
    const qsizetype last = annotation.points.size() - 1;
    for (qsizetype piece = 0; piece < entry.pieces.size(); ++piece) {
        if (!within(entry.pieces[piece], point, reach))
            continue;
        const qsizetype first = piece * kPieceSegments;
        if (polylineWithin(annotation.points, first, std::min(first + kPieceSegments, last), point,
                           reach))
            return true;
    }
    return false;
}

std::optional<qsizetype>
AnnotationHitCache::topmostHit(const QList<Annotation>& annotations, QPointF point,
                               double tolerance,
                               const std::function<bool(const Annotation&)>& accept) const {
    // A list that no longer matches the cache (a missed report) is rebuilt
    // rather than trusted.
    if (!m_valid || m_entries.size() != annotations.size())
        rebuild(annotations);
    for (qsizetype i = annotations.size() - 1; i >= 0; --i) {
        const Entry& entry = m_entries[i];
        const Annotation& annotation = annotations[i];
        if (!entry.extent || !within(*entry.extent, point, std::max(tolerance, annotation.width)))
            continue;
        if (accept && !accept(annotation))
            continue;
        if (hits(entry, annotation, point, tolerance))
            return i;
    }
    return std::nullopt;
}

} // namespace markvane
