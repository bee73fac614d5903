#pragma once

#include "annotations/Annotation.h"
#include "annotations/AnnotationDrawing.h"
#include "annotations/AnnotationRasterCache.h"

#include <QImage>
#include <QList>
#include <QRegion>
#include <QSize>
#include <QUuid>
#include <limits>
#include <optional>

class QPainter;

namespace markvane {

// What a drawing view shows: the store's state mapped into the view.
struct LayerState {
    QList<Annotation> finished; // drawn bottom to top; empty while hidden
    std::optional<QUuid> selectedId;
    std::optional<Annotation> active; // the stroke being drawn, on top
    std::optional<QRectF> eraserRect;
    std::optional<QRectF> snipeRect;
    QPointF origin; // global point at the view's (0, 0)
    double scale = 1;
    QSize viewSize;
    double devicePixelRatio = 1;
};

// Paints a view's annotations through a cache. Finished annotations are kept
// in an image; what changes (an added, edited or removed annotation, the
// selection, a growing stroke, the eraser and snipe rectangles, a fading
// annotation) repaints only the areas it touches. The cache is rebuilt in
// full only when the mapping or the stacking order changes; annotations that
// did not change come back from tiles then, and in every redrawn area.
class AnnotationLayer {
public:
    // Takes the new state and returns the area of the widget (y down) that
    // must be repainted to show it.
    QRegion setState(LayerState state, double now);
    const LayerState& state() const { return m_state; }

    // Paints `region` of the widget (y down).
    void paint(QPainter& painter, const QRegion& region, const AnnotationDrawContext& context);

    // How many times the cache was rebuilt in full.
    int fullRebuilds() const { return m_fullRebuilds; }

    // The widget area an annotation can paint, with its stroke, arrowhead,
    // ruler label, sticker border and selection handles.
    static QRectF paintedRect(const Annotation& annotation, const LayerState& state);

private:
    QRect toWidget(const QRectF& viewRect) const;
    QRegion activeChange(const LayerState& next);
    struct ListChange {
        QList<Annotation> onTop; // added above everything: painted over the cache
        QRegion redraw;          // cache areas to redraw from the list
        QRegion repaint;         // widget areas to repaint
    };
    // How the list's picture changed; none when the stacking order changed.
    std::optional<ListChange> listChange(const QList<Annotation>& before,
                                         const LayerState& next) const;
    QRegion selectionArea(const LayerState& state, const std::optional<QUuid>& id) const;
    QRegion rectangleChange(const std::optional<QRectF>& before,
                            const std::optional<QRectF>& after) const;
    QRegion fadingArea(double now);
    void rebuildCache(const AnnotationDrawContext& context);
    void redrawCacheAreas(const AnnotationDrawContext& context);

    LayerState m_state;
    QImage m_cache;
    // Enough for every cell of a 4K view and a few older versions of each.
    static constexpr qsizetype kTileBudget = qsizetype(96) << 20;
    AnnotationRasterCache m_tiles{AnnotationRasterCache::Backdrop::cleared, kTileBudget};
    bool m_cacheValid = false;
    QRegion m_cacheDirty;
    QList<Annotation> m_pendingOnTop;
    // The earliest time at which a cached annotation starts to fade.
    double m_fadeStartsAt = std::numeric_limits<double>::infinity();
    // The widget area the active stroke has painted so far.
    QRect m_activeCover;
    int m_fullRebuilds = 0;
};

} // namespace markvane
