#include "annotations/AnnotationRasterCache.h"

#include "annotations/AnnotationInk.h"
#include "annotations/AnnotationSignature.h"
#include "annotations/MultiplyBlend.h"
#include "annotations/SelectionDrawing.h"

#include <QPainter>
#include <algorithm>
#include <cmath>

namespace markvane {
namespace {

bool isWhole(double value) {
    return std::abs(value - std::round(value)) < 1e-9;
}

// The bounds of the pixels that are not fully transparent, for every band of
// `bandHeight` rows.
std::vector<QRect> inkBands(const QImage& image, int bandHeight) {
    std::vector<QRect> bands;
    for (int top = 0; top < image.height(); top += bandHeight) {
        QRect ink;
        for (int y = top; y < std::min(top + bandHeight, image.height()); ++y) {
            const auto* line = reinterpret_cast<const quint32*>(image.constScanLine(y));
            const auto* end = line + image.width();
            const auto* left = std::find_if(line, end, [](quint32 pixel) { return pixel != 0; });
            if (left == end)
                continue;
            const auto* right =
                std::find_if(std::make_reverse_iterator(end), std::make_reverse_iterator(left),
                             [](quint32 pixel) { return pixel != 0; })
                    .base();
            ink |= QRect(int(left - line), y, int(right - left), 1);
        }
        if (!ink.isEmpty())
            bands.push_back(ink);
    }
    return bands;
}

constexpr int kBandHeight = 16;

// Calls `visit(x, y)` for every cell that pixels of `pixels` lie in.
template <typename Visit> void forEachCell(const QRect& pixels, int cellSize, Visit visit) {
    if (pixels.isEmpty())
        return;
    for (int y = pixels.top() / cellSize; y <= pixels.bottom() / cellSize; ++y) {
        for (int x = pixels.left() / cellSize; x <= pixels.right() / cellSize; ++x)
            visit(x, y);
    }
}

// Unfinished and fading annotations change from frame to frame.
bool drawnDirectly(const Annotation& annotation, double alpha) {
    return !annotation.completedAt || alpha != annotationFullAlpha(annotation);
}

// Besides what the current frame uses, cells keep a few older versions (an
// annotation moving back and forth, undo).
constexpr size_t kTilesPerCell = 8;
// What a tile of nothing costs to remember.
constexpr qsizetype kEmptyTileBytes = 64;

} // namespace

struct AnnotationRasterCache::FrameState {
    ViewPainter& view;
    const QList<Annotation>& annotations;
    const ViewMapping& mapping;
    const AnnotationDrawContext& context;
    const QImage& image;
    QImage& target; // the same image, to write pixels of
    // The painter's clip in device pixels, when it is one rectangle.
    std::optional<QRect> plainClip;
    bool pixelsWritable; // whether multiplying may write the image's pixels
    QRect wholePixels;   // pixels the repaint covers in full
    QTransform toDevice; // view coordinates to device pixels
    double ratio;        // device pixels per logical pixel of the image
    QRect cells;         // the cells over the repainted pixels
    QRect cellArea;      // their pixels
    quint64 key;         // everything of the frame a tile depends on

    // Where a cell of the image is in the frame's per-cell scratch.
    size_t cellIndex(int x, int y) const {
        return size_t((y - cells.top()) * cells.width() + (x - cells.left()));
    }
};

AnnotationRasterCache::AnnotationRasterCache(Backdrop backdrop, qsizetype byteBudget)
    : m_backdrop(backdrop), m_budget(byteBudget) {}

void AnnotationRasterCache::clear() {
    for (std::vector<Tile>& cell : m_grid)
        cell.clear();
    m_bytes = 0;
    m_count = 0;
}

void AnnotationRasterCache::resetGrid(QSize imageSize) {
    clear();
    m_gridWidth = (imageSize.width() + kCellSize - 1) / kCellSize;
    const int rows = (imageSize.height() + kCellSize - 1) / kCellSize;
    m_grid.assign(size_t(m_gridWidth) * size_t(rows), {});
}

bool AnnotationRasterCache::draw(ViewPainter& view, const QList<Annotation>& annotations,
                                 const std::optional<QUuid>& selectedId, const ViewMapping& mapping,
                                 const AnnotationDrawContext& context,
                                 const std::optional<QRectF>& dirtyRect) {
    QPainter& painter = view.painter();
    QPaintDevice* device = painter.device();
    if (!device || device->devType() != QInternal::Image)
        return false;
    QImage& image = *static_cast<QImage*>(device);
    const QTransform toDevice = painter.deviceTransform();
    // Tiles are copied on whole pixels, so they must have been drawn on the
    // same pixel grid the painter draws on.
    if (toDevice.type() > QTransform::TxScale || !isWhole(toDevice.dx()) ||
        !isWhole(toDevice.dy()) || painter.opacity() != 1 ||
        painter.compositionMode() != QPainter::CompositionMode_SourceOver)
        return false;

    QRect pixels = image.rect();
    QRect wholePixels = image.rect();
    if (dirtyRect) {
        const QRectF area = toDevice.mapRect(*dirtyRect);
        pixels &= area.toAlignedRect();
        wholePixels &=
            QRect(QPoint(int(std::ceil(area.left())), int(std::ceil(area.top()))),
                  QPoint(int(std::floor(area.right())) - 1, int(std::floor(area.bottom())) - 1));
    }

    quint64 key = hashMix(0, toDevice.m11());
    key = hashMix(key, toDevice.m22());
    key = hashMix(key, toDevice.dx());
    key = hashMix(key, toDevice.dy());
    key = hashMix(key, image.devicePixelRatio());
    key = hashMix(key, quint64(image.dotsPerMeterX()) << 32 | quint64(image.dotsPerMeterY()));
    key = hashMix(key, mapping.origin.x());
    key = hashMix(key, mapping.origin.y());
    key = hashMix(key, mapping.scale);
    key = hashMix(key, view.viewHeight());
    key = hashMix(key, quint64(quint32(image.width())) << 32 | quint32(image.height()));
    for (const platform::ScreenInfo& screen : context.screens) {
        for (const double value : {screen.frame.x(), screen.frame.y(), screen.frame.width(),
                                   screen.frame.height(), screen.backingScale})
            key = hashMix(key, value);
    }
    if (key != m_frameKey) {
        // A zoom, a scroll or new displays: no tile can serve again.
        resetGrid(image.size());
        m_frameKey = key;
    }

    const QRect cells =
        pixels.isEmpty() ? QRect()
                         : QRect(QPoint(pixels.left() / kCellSize, pixels.top() / kCellSize),
                                 QPoint(pixels.right() / kCellSize, pixels.bottom() / kCellSize));
    // Whole cells, so that a small repaint finds the tiles a full one made.
    const QRect cellArea =
        QRect(cells.topLeft() * kCellSize, cells.size() * kCellSize) & image.rect();
    m_cells.resize(size_t(cells.width()) * size_t(cells.height()));
    for (std::vector<Member>& cell : m_cells)
        cell.clear();
    m_cellsClear.assign(m_cells.size(), m_backdrop == Backdrop::cleared);
    m_signatures.assign(size_t(annotations.size()), 0);
    m_harvestMembers.assign(size_t(annotations.size()), false);
    ++m_frameNumber;
    FrameState frame{view,
                     annotations,
                     mapping,
                     context,
                     image,
                     image,
                     {},
                     image.format() == QImage::Format_ARGB32_Premultiplied && image.isDetached(),
                     wholePixels,
                     toDevice,
                     image.devicePixelRatio(),
                     cells,
                     cellArea,
                     key};

    for (qsizetype i = 0; i < annotations.size(); ++i) {
        const Annotation& annotation = annotations[i];
        const double alpha = annotationAlpha(annotation, context.now);
        if (!annotationShows(annotation, alpha))
            continue;
        const bool selected = selectedId && annotation.id == *selectedId;
        const QRectF drawn =
            annotationDrawnRect(annotation, mapping.origin, mapping.scale, context.screens);
        const QRect reach = toDevice.mapRect(drawn).toAlignedRect() & cellArea;
        // A text's glyphs are placed by rounding that differs where a tile
        // puts them at negative coordinates: its tiles come from drawing in place.
        const bool inPlaceOnly = annotation.tool == Tool::text;
        if (drawnDirectly(annotation, alpha) || (inPlaceOnly && !cellsClear(frame, reach))) {
            flushCells(frame);
            if (!dirtyRect || drawn.intersects(*dirtyRect)) {
                drawAnnotationInk(view, annotation, alpha, mapping, context, dirtyRect, m_path);
                markDrawnDirectly(frame, drawn);
            }
        } else {
            const Member member{int(i), annotation.tool == Tool::highlighter, inPlaceOnly};
            forEachCell(reach, kCellSize,
                        [&](int x, int y) { m_cells[frame.cellIndex(x, y)].push_back(member); });
        }
        if (selected) {
            flushCells(frame);
            const QRectF decoration = selectionDrawnRect(annotation, mapping);
            if (!dirtyRect || decoration.intersects(*dirtyRect)) {
                drawSelection(view, annotation, mapping, context.accent);
                markDrawnDirectly(frame, decoration);
            }
        }
    }
    flushCells(frame);
    return true;
}

bool AnnotationRasterCache::cellsClear(const FrameState& frame, const QRect& pixels) const {
    if (m_backdrop != Backdrop::cleared)
        return false;
    bool clear = true;
    forEachCell(pixels, kCellSize,
                [&](int x, int y) { clear = clear && m_cellsClear[frame.cellIndex(x, y)]; });
    return clear;
}

void AnnotationRasterCache::markDrawnDirectly(FrameState& frame, const QRectF& drawn) {
    if (m_backdrop != Backdrop::cleared)
        return;
    forEachCell(frame.toDevice.mapRect(drawn).toAlignedRect() & frame.cellArea, kCellSize,
                [&](int x, int y) { m_cellsClear[frame.cellIndex(x, y)] = false; });
}

void AnnotationRasterCache::flushCells(FrameState& frame) {
    if (std::all_of(m_cells.begin(), m_cells.end(), [](const auto& cell) { return cell.empty(); }))
        return;
    QPainter& painter = frame.view.painter();
    const QTransform viewTransform = painter.worldTransform();
    painter.save();
    // Device pixels for logical ones: tiles land 1:1 on the image's pixels.
    painter.setWorldTransform(QTransform::fromScale(1 / frame.ratio, 1 / frame.ratio));
    frame.plainClip.reset();
    if (!painter.hasClipping()) {
        frame.plainClip = frame.image.rect();
    } else if (const QRegion clip = painter.clipRegion(); clip.rectCount() == 1) {
        frame.plainClip = clip.boundingRect();
    }
    const QRect harvestable = frame.plainClip ? *frame.plainClip & frame.wholePixels : QRect();
    m_harvest.clear();
    for (int y = frame.cells.top(); y <= frame.cells.bottom(); ++y) {
        for (int x = frame.cells.left(); x <= frame.cells.right(); ++x) {
            std::vector<Member>& members = m_cells[frame.cellIndex(x, y)];
            const Member* first = members.data();
            const Member* end = first + members.size();
            char& clear = m_cellsClear[frame.cellIndex(x, y)];
            if (clear && first != end) {
                // On nothing, every blend lands in the tile as it would in place.
                const QPoint cell(x, y);
                const quint64 key = runKey(frame, cell, first, end);
                const bool inPlaceOnly = std::any_of(
                    first, end, [](const Member& member) { return member.inPlaceOnly; });
                const bool whole = harvestable.contains(cellPixels(frame, cell));
                if (const Tile* tile = findTile(cell, key)) {
                    blit(frame, cell, Blend::copy, *tile);
                } else if (whole || inPlaceOnly) {
                    // A cell the repaint only partly covers cannot become a tile.
                    m_harvest.push_back({cell, key, whole});
                    for (const Member* member = first; member != end; ++member)
                        m_harvestMembers[size_t(member->index)] = true;
                } else {
                    paintNewTile(frame, cell, key, first, end, Blend::copy);
                }
                first = end;
                clear = false;
            }
            while (first != end) {
                // A highlighter multiplies with what lies below: a run of its own.
                const Member* last = first + 1;
                if (!first->highlighter) {
                    while (last != end && !last->highlighter)
                        ++last;
                }
                const Blend blend = first->highlighter ? Blend::multiply : Blend::over;
                const quint64 key = runKey(frame, QPoint(x, y), first, last);
                if (const Tile* tile = findTile(QPoint(x, y), key))
                    blit(frame, QPoint(x, y), blend, *tile);
                else
                    paintNewTile(frame, QPoint(x, y), key, first, last, blend);
                first = last;
            }
            members.clear();
        }
    }
    painter.restore();
    if (!m_harvest.empty())
        harvestTiles(frame, viewTransform);
}

// Drawing each annotation once for all new cells costs far less than drawing
// it again for every cell it reaches.
void AnnotationRasterCache::harvestTiles(FrameState& frame, const QTransform& viewTransform) {
    QPainter& painter = frame.view.painter();
    QRegion area;
    for (const Harvest& harvest : m_harvest)
        area += cellPixels(frame, harvest.cell);
    painter.save();
    painter.setWorldTransform(QTransform::fromScale(1 / frame.ratio, 1 / frame.ratio));
    painter.setClipRegion(area, Qt::IntersectClip);
    painter.setWorldTransform(viewTransform);
    const QRectF reach = frame.toDevice.inverted().mapRect(QRectF(area.boundingRect()));
    for (size_t i = 0; i < m_harvestMembers.size(); ++i) {
        if (!m_harvestMembers[i])
            continue;
        const Annotation& annotation = frame.annotations[qsizetype(i)];
        drawAnnotationInk(frame.view, annotation, annotationFullAlpha(annotation), frame.mapping,
                          frame.context, reach, m_path);
        m_harvestMembers[i] = false;
    }
    painter.restore();
    for (const Harvest& harvest : m_harvest) {
        if (!harvest.keep)
            continue;
        ++m_rendered;
        Tile tile = tileOf(frame.image.copy(cellPixels(frame, harvest.cell)));
        tile.key = harvest.key;
        insertTile(m_grid[size_t(harvest.cell.y() * m_gridWidth + harvest.cell.x())],
                   std::move(tile));
    }
    m_harvest.clear();
}

QRect AnnotationRasterCache::cellPixels(const FrameState& frame, QPoint cell) const {
    return QRect(cell * kCellSize, QSize(kCellSize, kCellSize)) & frame.image.rect();
}

quint64 AnnotationRasterCache::runKey(const FrameState& frame, QPoint cell, const Member* first,
                                      const Member* last) {
    quint64 key = hashMix(frame.key, quint64(quint32(cell.x())) << 32 | quint32(cell.y()));
    for (const Member* member = first; member != last; ++member) {
        quint64& signature = m_signatures[size_t(member->index)];
        if (signature == 0)
            signature = annotationSignature(frame.annotations[member->index]) | 1;
        key = hashMix(key, signature);
    }
    return key;
}

const AnnotationRasterCache::Tile* AnnotationRasterCache::findTile(QPoint cell, quint64 key) {
    std::vector<Tile>& tiles = m_grid[size_t(cell.y() * m_gridWidth + cell.x())];
    const auto found = std::find_if(tiles.begin(), tiles.end(),
                                    [key](const Tile& tile) { return tile.key == key; });
    if (found == tiles.end())
        return nullptr;
    found->lastUse = m_frameNumber;
    return &*found;
}

void AnnotationRasterCache::paintNewTile(FrameState& frame, QPoint cell, quint64 key,
                                         const Member* first, const Member* last, Blend blend) {
    Tile tile = renderTile(frame, cellPixels(frame, cell), first, last);
    tile.key = key;
    blit(frame, cell, blend, tile);
    insertTile(m_grid[size_t(cell.y() * m_gridWidth + cell.x())], std::move(tile));
}

void AnnotationRasterCache::blit(FrameState& frame, QPoint cell, Blend blend, const Tile& tile) {
    if (tile.image.isNull())
        return; // the cell holds no ink of these annotations
    QPainter& painter = frame.view.painter();
    const QPoint corner = cell * kCellSize;
    if (blend == Blend::multiply) {
        painter.setCompositionMode(QPainter::CompositionMode_Multiply);
        for (const QRect& band : tile.bands) {
            if (frame.plainClip && frame.pixelsWritable)
                multiplyOnto(frame.target, corner + band.topLeft(), tile.image, band,
                             *frame.plainClip);
            else
                painter.drawImage(corner + band.topLeft(), tile.image, band);
        }
    } else {
        // Copying is exact only onto the cleared backdrop, and cheaper than blending.
        painter.setCompositionMode(blend == Blend::copy ? QPainter::CompositionMode_Source
                                                        : QPainter::CompositionMode_SourceOver);
        painter.drawImage(corner + tile.ink.topLeft(), tile.image, tile.ink);
    }
}

AnnotationRasterCache::Tile AnnotationRasterCache::renderTile(FrameState& frame,
                                                              const QRect& pixels,
                                                              const Member* first,
                                                              const Member* last) {
    ++m_rendered;
    QImage image(pixels.size(), QImage::Format_ARGB32_Premultiplied);
    if (image.isNull())
        return tileOf(image);
    // Stamps pick their bitmap by density and texts their size by DPI.
    image.setDevicePixelRatio(frame.ratio);
    image.setDotsPerMeterX(frame.image.dotsPerMeterX());
    image.setDotsPerMeterY(frame.image.dotsPerMeterY());
    image.fill(Qt::transparent);
    {
        QPainter painter(&image);
        ViewPainter view(painter, frame.view.viewHeight());
        // The frame's own mapping to device pixels, shifted by whole pixels.
        painter.setWorldTransform(frame.toDevice *
                                  QTransform::fromTranslate(-pixels.x(), -pixels.y()) *
                                  QTransform::fromScale(1 / frame.ratio, 1 / frame.ratio));
        beginAnnotationFrame(painter, std::nullopt);
        const QRectF area = frame.toDevice.inverted().mapRect(QRectF(pixels));
        for (const Member* member = first; member != last; ++member) {
            const Annotation& annotation = frame.annotations[member->index];
            drawAnnotationInk(view, annotation, annotationFullAlpha(annotation), frame.mapping,
                              frame.context, area, m_path);
        }
    }
    return tileOf(image);
}

AnnotationRasterCache::Tile AnnotationRasterCache::tileOf(QImage image) const {
    std::vector<QRect> bands = image.isNull() ? std::vector<QRect>() : inkBands(image, kBandHeight);
    if (bands.empty())
        return {0, QImage(), QRect(), {}, kEmptyTileBytes, m_frameNumber};
    image.setDevicePixelRatio(1);
    QRect ink;
    for (const QRect& band : bands)
        ink |= band;
    const qsizetype bytes = image.sizeInBytes();
    return {0, std::move(image), ink, std::move(bands), bytes, m_frameNumber};
}

void AnnotationRasterCache::insertTile(std::vector<Tile>& cell, Tile tile) {
    const auto oldest =
        std::min_element(cell.begin(), cell.end(),
                         [](const Tile& a, const Tile& b) { return a.lastUse < b.lastUse; });
    // Every tile of a crowded cell may be needed by this very frame.
    if (cell.size() >= kTilesPerCell && oldest->lastUse != m_frameNumber) {
        m_bytes -= oldest->bytes;
        --m_count;
        cell.erase(oldest);
    }
    m_bytes += tile.bytes;
    ++m_count;
    cell.push_back(std::move(tile));
    evictToBudget();
}

void AnnotationRasterCache::evictToBudget() {
    if (m_bytes <= m_budget)
        return;
    struct Use {
        quint64 lastUse;
        size_t cell;
        quint64 key;
    };
    std::vector<Use> uses;
    uses.reserve(size_t(m_count));
    for (size_t cell = 0; cell < m_grid.size(); ++cell) {
        for (const Tile& tile : m_grid[cell])
            uses.push_back({tile.lastUse, cell, tile.key});
    }
    std::sort(uses.begin(), uses.end(),
              [](const Use& a, const Use& b) { return a.lastUse < b.lastUse; });
    // Down to three quarters, so that the sort is not repeated for every new tile.
    const qsizetype target = m_budget / 4 * 3;
    for (const Use& use : uses) {
        if (m_bytes <= target)
            break;
        std::vector<Tile>& tiles = m_grid[use.cell];
        const auto tile = std::find_if(tiles.begin(), tiles.end(),
                                       [&use](const Tile& t) { return t.key == use.key; });
        m_bytes -= tile->bytes;
        --m_count;
        tiles.erase(tile);
    }
}

} // namespace markvane
