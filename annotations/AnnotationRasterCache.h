#pragma once

#include "annotations/AnnotationDrawing.h"

#include <QImage>
#include <QPainterPath>
#include <QTransform>
#include <optional>
#include <vector>

namespace markvane {

// Keeps finished annotations as pixels, so that a view repainting an
// unchanged scene copies tiles instead of stroking every path again.
//
// The view image is cut into square cells of device pixels. In each cell the
// annotations that can reach it form runs: consecutive annotations drawn
// normally share one tile (source-over is associative, so their composite
// over any background equals drawing them one by one), and every
// highlighter has a tile of its own composited with multiply, as it is drawn.
// A tile is found again by a hash of its cell, the frame's geometry and the
// signatures of its run, so anything that changes a drawing (moving,
// recolouring, undo to another list) finds no stale tile. Unfinished
// annotations (no completion time), fading ones and the selection decoration
// are drawn directly, in their place in the order.
//
// A view that clears the area before drawing it says so. Then everything of
// a cell up to the first annotation drawn directly, highlighters included,
// is one tile copied into place, so an unchanged scene costs one copy a cell;
// and cells without a tile are drawn in place, each annotation once for all
// of them, and keep their pixels as tiles. Texts join tiles only that way:
// elsewhere they are drawn directly.
//
// One cache serves one view from one thread. Memory stays within the byte
// budget: least recently used tiles go first.
class AnnotationRasterCache {
public:
    static constexpr int kCellSize = 64;
    static constexpr qsizetype kDefaultByteBudget = qsizetype(256) << 20;

    // What lies under the area a draw() covers.
    enum class Backdrop {
        any,     // whatever was painted before
        cleared, // transparent pixels, cleared by the view just before
    };

    explicit AnnotationRasterCache(Backdrop backdrop = Backdrop::any,
                                   qsizetype byteBudget = kDefaultByteBudget);
    AnnotationRasterCache(const AnnotationRasterCache&) = delete;
    AnnotationRasterCache& operator=(const AnnotationRasterCache&) = delete;

    // Draws the annotations and the selection as drawAnnotations() does,
    // within the painter's current clip; false (nothing drawn) when the
    // painter does not draw 1:1 on whole pixels of an image.
    bool draw(ViewPainter& view, const QList<Annotation>& annotations,
              const std::optional<QUuid>& selectedId, const ViewMapping& mapping,
              const AnnotationDrawContext& context, const std::optional<QRectF>& dirtyRect);

    void clear();
    qsizetype byteCount() const { return m_bytes; }
    qsizetype tileCount() const { return m_count; }
    // Tiles drawn since the cache was made: how often it missed.
    qsizetype tilesRendered() const { return m_rendered; }

private:
    struct Tile {
        quint64 key = 0;
        QImage image; // null when the run left no ink in the cell
        QRect ink;    // the part of the image with ink
        // The inked part of each band of rows, for compositing that
        // transparent pixels do not make cheaper (multiply).
        std::vector<QRect> bands;
        qsizetype bytes = 0;
        quint64 lastUse = 0;
    };
    struct Member {
        int index;
        bool highlighter;
        bool inPlaceOnly; // its tiles are made only by drawing in place
    };
    struct FrameState;
    enum class Blend { over, multiply, copy };
    // A cell drawn in place, and whether its pixels become its tile.
    struct Harvest {
        QPoint cell;
        quint64 key;
        bool keep;
    };

    void resetGrid(QSize imageSize);
    void flushCells(FrameState& frame);
    void harvestTiles(FrameState& frame, const QTransform& viewTransform);
    QRect cellPixels(const FrameState& frame, QPoint cell) const;
    quint64 runKey(const FrameState& frame, QPoint cell, const Member* first, const Member* last);
    const Tile* findTile(QPoint cell, quint64 key);
    void paintNewTile(FrameState& frame, QPoint cell, quint64 key, const Member* first,
                      const Member* last, Blend blend);
    void blit(FrameState& frame, QPoint cell, Blend blend, const Tile& tile);
    bool cellsClear(const FrameState& frame, const QRect& pixels) const;
    void markDrawnDirectly(FrameState& frame, const QRectF& drawn);
    Tile renderTile(FrameState& frame, const QRect& pixels, const Member* first,
                    const Member* last);
    Tile tileOf(QImage image) const;
    void insertTile(std::vector<Tile>& cell, Tile tile);
    void evictToBudget();

    Backdrop m_backdrop;
    qsizetype m_budget;
    qsizetype m_bytes = 0;
    qsizetype m_count = 0;
    qsizetype m_rendered = 0;
    quint64 m_frameKey = 0;
    quint64 m_frameNumber = 0;
    // The tiles of every cell of the image, row by row: a cell holds few, so
    // looking one up is a short scan.
    std::vector<std::vector<Tile>> m_grid;
    int m_gridWidth = 0;
    // Per-frame scratch, kept to avoid allocating every frame.
    std::vector<std::vector<Member>> m_cells;
    // Whether a cell of the frame still shows the cleared backdrop.
    std::vector<char> m_cellsClear;
    std::vector<quint64> m_signatures; // 0 until needed
    std::vector<Harvest> m_harvest;
    std::vector<char> m_harvestMembers; // by annotation index
    QPainterPath m_path;
};

} // namespace markvane
