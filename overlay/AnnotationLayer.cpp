#include "overlay/AnnotationLayer.h"

#include "annotations/ViewPainter.h"
#include "overlay/ViewGeometry.h"

#include <QHash>
#include <QPainter>
#include <algorithm>
#include <utility>

namespace markvane {
namespace {

constexpr double kFadeWindow = 0.4;
// Room for the selection's handle dots (diameter 8, stroke 1.5) and antialiasing.
constexpr double kHandleRoom = 6;
// The ruler's label sits beside the ruler; this covers its longest text.
constexpr double kRulerLabelRoom = 110;
// Freehand smoothing moves the last few segments when a point is added.
constexpr int kSmoothingReach = 4;
constexpr int kMaxRedrawAreas = 4;

QRectF mapRect(const QRectF& global, const LayerState& state) {
    return {(global.x() - state.origin.x()) * state.scale,
            (global.y() - state.origin.y()) * state.scale, global.width() * state.scale,
            global.height() * state.scale};
}

double strokeRoom(const Annotation& a, double scale) {
    return kHandleRoom + annotationInkReach(a, scale) +
           (a.tool == Tool::ruler ? kRulerLabelRoom : 0);
}

QRectF pointsRect(const QList<QPointF>& points, qsizetype from) {
    double minX = points[from].x(), maxX = minX, minY = points[from].y(), maxY = minY;
    for (qsizetype i = from + 1; i < points.size(); ++i) {
        minX = std::min(minX, points[i].x());
        maxX = std::max(maxX, points[i].x());
        minY = std::min(minY, points[i].y());
        maxY = std::max(maxY, points[i].y());
    }
    return QRectF(QPointF(minX, minY), QPointF(maxX, maxY));
}

// Whether two versions of an annotation draw alike. Points and images are
// compared by identity: an edit detaches them from the copy held here.
bool sameLook(const Annotation& a, const Annotation& b) {
    return a.tool == b.tool && a.color == b.color && a.width == b.width &&
           a.points.constData() == b.points.constData() && a.points.size() == b.points.size() &&
           a.filled == b.filled && a.text == b.text && a.fontSize == b.fontSize &&
           a.image.has_value() == b.image.has_value() &&
           (!a.image || a.image->cacheKey() == b.image->cacheKey()) &&
           a.redactStyle == b.redactStyle && a.expiresAt == b.expiresAt &&
           a.curveControl == b.curveControl;
}

double earliestFadeStart(const QList<Annotation>& annotations) {
    double earliest = std::numeric_limits<double>::infinity();
    for (const Annotation& a : annotations) {
        if (a.expiresAt)
            earliest = std::min(earliest, *a.expiresAt - kFadeWindow);
    }
    return earliest;
}

bool sameMapping(const LayerState& a, const LayerState& b) {
    return a.origin == b.origin && a.scale == b.scale && a.viewSize == b.viewSize &&
           a.devicePixelRatio == b.devicePixelRatio;
}

} // namespace

QRectF AnnotationLayer::paintedRect(const Annotation& annotation, const LayerState& state) {
    const QRectF view = mapRect(annotation.bounds(), state);
    const double room = strokeRoom(annotation, state.scale);
    return viewToWidget(view.adjusted(-room, -room, room, room), state.viewSize.height());
}

QRect AnnotationLayer::toWidget(const QRectF& widgetRect) const {
    return widgetRect.toAlignedRect().intersected(QRect(QPoint(0, 0), m_state.viewSize));
}

QRegion AnnotationLayer::setState(LayerState next, double now) {
    QRegion repaint;
    // Holding the previous list keeps it shared, so any edit of the store's
    // list detaches it: equal data pointers mean an unchanged list.
    const bool sameList = next.finished.constData() == m_state.finished.constData() &&
                          next.finished.size() == m_state.finished.size();
    std::optional<ListChange> changed;
    if (sameMapping(next, m_state))
        changed = sameList ? ListChange() : listChange(m_state.finished, next);
    if (changed && next.selectedId != m_state.selectedId) {
        const QRegion selection =
            selectionArea(m_state, m_state.selectedId) + selectionArea(next, next.selectedId);
        changed->redraw += selection;
        changed->repaint += selection;
    }
    if (!changed) {
        m_cacheValid = false;
        m_pendingOnTop.clear();
        repaint = QRect(QPoint(0, 0), next.viewSize);
    } else {
        m_pendingOnTop += changed->onTop;
        m_cacheDirty += changed->redraw;
        repaint += changed->repaint;
    }
    if (!sameList)
        m_fadeStartsAt = earliestFadeStart(next.finished);
    repaint += activeChange(next);
    repaint += rectangleChange(m_state.eraserRect, next.eraserRect);
    repaint += rectangleChange(m_state.snipeRect, next.snipeRect);
    m_state = std::move(next);
    if (m_cacheValid && now >= m_fadeStartsAt)
        repaint += fadingArea(now);
    return repaint;
}

std::optional<AnnotationLayer::ListChange>
AnnotationLayer::listChange(const QList<Annotation>& before, const LayerState& next) const {
    QHash<QUuid, qsizetype> indexBefore;
    indexBefore.reserve(before.size());
    for (qsizetype i = 0; i < before.size(); ++i)
        indexBefore.insert(before[i].id, i);
    // Annotations added on top of all others can be painted over the cache
    // as they are, without redrawing what lies below them.
    qsizetype onTopFrom = next.finished.size();
    while (onTopFrom > 0 && !indexBefore.contains(next.finished[onTopFrom - 1].id))
        --onTopFrom;
    ListChange change;
    QList<bool> kept(before.size(), false);
    qsizetype lastKept = -1;
    for (qsizetype j = 0; j < next.finished.size(); ++j) {
        const Annotation& after = next.finished[j];
        const QRect area = toWidget(paintedRect(after, next));
        if (j >= onTopFrom) {
            change.onTop.append(after);
            change.repaint += area;
            continue;
        }
        const auto it = indexBefore.constFind(after.id);
        if (it == indexBefore.constEnd()) {
            change.redraw += area;
            continue;
        }
        // A change of stacking order changes pixels wherever annotations overlap.
        if (*it < lastKept)
            return std::nullopt;
        lastKept = *it;
        kept[*it] = true;
        if (!sameLook(before[*it], after)) {
            change.redraw += toWidget(paintedRect(before[*it], m_state));
            change.redraw += area;
        }
    }
    for (qsizetype i = 0; i < before.size(); ++i) {
        if (!kept[i])
            change.redraw += toWidget(paintedRect(before[i], m_state));
    }
    change.repaint += change.redraw;
    return change;
}

QRegion AnnotationLayer::selectionArea(const LayerState& state,
                                       const std::optional<QUuid>& id) const {
    if (!id)
        return {};
    for (const Annotation& a : state.finished) {
        if (a.id == *id)
            return toWidget(paintedRect(a, state));
    }
    return {};
}

QRegion AnnotationLayer::activeChange(const LayerState& next) {
    const auto& before = m_state.active;
    const auto& after = next.active;
    if (!before && !after)
        return {};
    QRegion changed = m_activeCover;
    if (!after) {
        m_activeCover = {};
        return changed;
    }
    const bool sameStroke = before && before->id == after->id && sameMapping(m_state, next);
    if (sameStroke && isFreehand(after->tool) && !after->points.isEmpty() &&
        after->points.size() >= before->points.size()) {
        // Only the tail of a growing freehand stroke changes.
        const qsizetype from = std::max<qsizetype>(0, before->points.size() - kSmoothingReach);
        const double room = strokeRoom(*after, next.scale);
        const QRectF tail =
            mapRect(pointsRect(after->points, from), next).adjusted(-room, -room, room, room);
        const QRect area = viewToWidget(tail, next.viewSize.height())
                               .toAlignedRect()
                               .intersected(QRect(QPoint(0, 0), next.viewSize));
        m_activeCover |= area;
        return area;
    }
    const QRect area =
        paintedRect(*after, next).toAlignedRect().intersected(QRect(QPoint(0, 0), next.viewSize));
    m_activeCover = area;
    return changed + area;
}

QRegion AnnotationLayer::rectangleChange(const std::optional<QRectF>& before,
                                         const std::optional<QRectF>& after) const {
    if (before == after)
        return {};
    QRegion changed;
    constexpr double room = 3; // the dashed outline is 1.5 wide
    for (const auto& rect : {before, after}) {
        if (rect) {
            const QRectF view = mapRect(*rect, m_state).adjusted(-room, -room, room, room);
            changed += toWidget(viewToWidget(view, m_state.viewSize.height()));
        }
    }
    return changed;
}

QRegion AnnotationLayer::fadingArea(double now) {
    QRegion fading;
    for (const Annotation& a : std::as_const(m_state.finished)) {
        if (a.expiresAt && *a.expiresAt - kFadeWindow <= now)
            fading += toWidget(paintedRect(a, m_state));
    }
    m_cacheDirty += fading;
    return fading;
}

void AnnotationLayer::rebuildCache(const AnnotationDrawContext& context) {
    const QSize pixels = (QSizeF(m_state.viewSize) * m_state.devicePixelRatio).toSize();
    if (m_cache.size() != pixels || m_cache.devicePixelRatio() != m_state.devicePixelRatio) {
        m_cache = QImage(pixels, QImage::Format_ARGB32_Premultiplied);
        m_cache.setDevicePixelRatio(m_state.devicePixelRatio);
    }
    m_cache.fill(Qt::transparent);
    {
        QPainter painter(&m_cache);
        ViewPainter view(painter, m_state.viewSize.height());
        drawAnnotations(view, m_state.finished, m_state.selectedId, std::nullopt, std::nullopt,
                        m_state.origin, m_state.scale, context, std::nullopt, &m_tiles);
    }
    m_fadeStartsAt = earliestFadeStart(m_state.finished);
    m_cacheValid = true;
    m_cacheDirty = {};
    m_pendingOnTop.clear();
    ++m_fullRebuilds;
}

void AnnotationLayer::redrawCacheAreas(const AnnotationDrawContext& context) {
    // Each area walks the whole list; many small ones cost more than their hull.
    if (m_cacheDirty.rectCount() > kMaxRedrawAreas)
        m_cacheDirty = m_cacheDirty.boundingRect();
    QPainter painter(&m_cache);
    for (const QRect& rect : m_cacheDirty) {
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        painter.fillRect(rect, Qt::transparent);
        painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
        ViewPainter view(painter, m_state.viewSize.height());
        drawAnnotations(view, m_state.finished, m_state.selectedId, std::nullopt, std::nullopt,
                        m_state.origin, m_state.scale, context,
                        widgetToView(QRectF(rect), m_state.viewSize.height()), &m_tiles);
    }
    m_cacheDirty = {};
}

void AnnotationLayer::paint(QPainter& painter, const QRegion& region,
                            const AnnotationDrawContext& context) {
    if (!m_cacheValid) {
        rebuildCache(context);
    } else {
        // First what was added on top, then the areas that are redrawn from
        // scratch: those may have changed again since.
        if (!m_pendingOnTop.isEmpty()) {
            QPainter painter(&m_cache);
            ViewPainter view(painter, m_state.viewSize.height());
            drawAnnotations(view, m_pendingOnTop, m_state.selectedId, std::nullopt, std::nullopt,
                            m_state.origin, m_state.scale, context);
            m_pendingOnTop.clear();
        }
        if (!m_cacheDirty.isEmpty())
            redrawCacheAreas(context);
    }

    painter.save();
    painter.setClipRegion(region);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    const double ratio = m_state.devicePixelRatio;
    for (const QRect& rect : region) {
        const QRectF source(rect.x() * ratio, rect.y() * ratio, rect.width() * ratio,
                            rect.height() * ratio);
        painter.drawImage(QRectF(rect), m_cache, source);
    }
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    if (m_state.active || m_state.eraserRect || m_state.snipeRect) {
        QList<Annotation> top;
        if (m_state.active)
            top.append(*m_state.active);
        ViewPainter view(painter, m_state.viewSize.height());
        drawAnnotations(view, top, std::nullopt, m_state.eraserRect, m_state.snipeRect,
                        m_state.origin, m_state.scale, context,
                        widgetToView(QRectF(region.boundingRect()), m_state.viewSize.height()));
    }
    painter.restore();
}

} // namespace markvane
