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

// Unfinished and fading annotations change from frame to frame. Texts are
// clipped to their layout box, whose fractional edges the painter rounds
// differently where the box runs off a tile: drawn in place they stay exact.
bool drawnDirectly(const Annotation& annotation, double alpha) {
    return !annotation.completedAt || alpha != annotationFullAlpha(annotation) ||
           annotation.tool == Tool::text;
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
    std::optional<QRect> multiplyClip;
    QTransform toDevice; // view coordinates to device pixels
    double ratio;        // device pixels per logical pixel of the image
    QRect cells;         // the cells over the repainted pixels
    quint64 key;         // everything of the frame a tile depends on

    std::vector<Member>& cellAt(std::vector<std::vector<Member>>& grid, int x, int y) const {
        return grid[size_t((y - cells.top()) * cells.width() + (x - cells.left()))];
    }
};

AnnotationRasterCache::AnnotationRasterCache(qsizetype byteBudget) : m_budget(byteBudget) {}

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
    if (dirtyRect)
        pixels &= toDevice.mapRect(*dirtyRect).toAlignedRect();

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
    const QRect cellPixels =
        QRect(cells.topLeft() * kCellSize, cells.size() * kCellSize) & image.rect();
    m_cells.resize(size_t(cells.width()) * size_t(cells.height()));
    for (std::vector<Member>& cell : m_cells)
        cell.clear();
    m_signatures.assign(size_t(annotations.size()), 0);
    ++m_frameNumber;
    FrameState frame{
        view,  annotations, mapping, context, image, image, {}, toDevice, image.devicePixelRatio(),
        cells, key};

    for (qsizetype i = 0; i < annotations.size(); ++i) {
        const Annotation& annotation = annotations[i];
        const double alpha = annotationAlpha(annotation, context.now);
        if (!annotationShows(annotation, alpha))
            continue;
        const bool selected = selectedId && annotation.id == *selectedId;
        const QRectF drawn =
            annotationDrawnRect(annotation, mapping.origin, mapping.scale, context.screens);
        if (drawnDirectly(annotation, alpha)) {
            flushCells(frame);
            if (!dirtyRect || drawn.intersects(*dirtyRect))
                drawAnnotationInk(view, annotation, alpha, mapping, context, dirtyRect, m_path);
        } else {
            const QRect reach = toDevice.mapRect(drawn).toAlignedRect() & cellPixels;
            if (!reach.isEmpty()) {
                const Member member{int(i), annotation.tool == Tool::highlighter};
                for (int y = reach.top() / kCellSize; y <= reach.bottom() / kCellSize; ++y) {
                    for (int x = reach.left() / kCellSize; x <= reach.right() / kCellSize; ++x)
                        frame.cellAt(m_cells, x, y).push_back(member);
                }
            }
        }
        if (selected) {
            flushCells(frame);
            if (!dirtyRect || selectionDrawnRect(annotation, mapping).intersects(*dirtyRect))
                drawSelection(view, annotation, mapping, context.accent);
        }
    }
    flushCells(frame);
    return true;
}

void AnnotationRasterCache::flushCells(FrameState& frame) {
    if (std::all_of(m_cells.begin(), m_cells.end(), [](const auto& cell) { return cell.empty(); }))
        return;
    QPainter& painter = frame.view.painter();
    painter.save();
    // Device pixels for logical ones: tiles land 1:1 on the image's pixels.
    painter.setWorldTransform(QTransform::fromScale(1 / frame.ratio, 1 / frame.ratio));
    // Multiplying is done on the pixels when the clip is a plain rectangle.
    frame.multiplyClip.reset();
    if (frame.image.format() == QImage::Format_ARGB32_Premultiplied && frame.image.isDetached()) {
        if (!painter.hasClipping()) {
            frame.multiplyClip = frame.image.rect();
        } else if (const QRegion clip = painter.clipRegion(); clip.rectCount() == 1) {
            frame.multiplyClip = clip.boundingRect();
        }
    }
    for (int y = frame.cells.top(); y <= frame.cells.bottom(); ++y) {
        for (int x = frame.cells.left(); x <= frame.cells.right(); ++x) {
            std::vector<Member>& members = frame.cellAt(m_cells, x, y);
            const Member* first = members.data();
            const Member* end = first + members.size();
            while (first != end) {
                // A highlighter multiplies with what lies below: a run of its own.
                const Member* last = first + 1;
                if (!first->highlighter) {
                    while (last != end && !last->highlighter)
                        ++last;
                }
                paintRun(frame, QPoint(x, y), first, last);
                first = last;
            }
            members.clear();
        }
    }
    painter.restore();
}

void AnnotationRasterCache::paintRun(FrameState& frame, QPoint cell, const Member* first,
                                     const Member* last) {
    quint64 key = hashMix(frame.key, quint64(quint32(cell.x())) << 32 | quint32(cell.y()));
    for (const Member* member = first; member != last; ++member) {
        quint64& signature = m_signatures[size_t(member->index)];
        if (signature == 0)
            signature = annotationSignature(frame.annotations[member->index]) | 1;
        key = hashMix(key, signature);
    }
    std::vector<Tile>& tiles = m_grid[size_t(cell.y() * m_gridWidth + cell.x())];
    auto found = std::find_if(tiles.begin(), tiles.end(),
                              [key](const Tile& tile) { return tile.key == key; });
    if (found == tiles.end()) {
        const QRect pixels =
            QRect(cell * kCellSize, QSize(kCellSize, kCellSize)) & frame.image.rect();
        Tile tile = renderTile(frame, pixels, first, last);
        tile.key = key;
        if (!tile.image.isNull())
            blit(frame, cell, first->highlighter, tile);
        insertTile(tiles, std::move(tile));
        return;
    }
    found->lastUse = m_frameNumber;
    if (!found->image.isNull())
        blit(frame, cell, first->highlighter, *found);
}

void AnnotationRasterCache::blit(FrameState& frame, QPoint cell, bool multiply, const Tile& tile) {
    QPainter& painter = frame.view.painter();
    const QPoint corner = cell * kCellSize;
    if (multiply) {
        painter.setCompositionMode(QPainter::CompositionMode_Multiply);
        for (const QRect& band : tile.bands) {
            if (frame.multiplyClip)
                multiplyOnto(frame.target, corner + band.topLeft(), tile.image, band,
                             *frame.multiplyClip);
            else
                painter.drawImage(corner + band.topLeft(), tile.image, band);
        }
    } else {
        painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
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
        return {0, QImage(), QRect(), {}, kEmptyTileBytes, m_frameNumber};
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
    std::vector<QRect> bands = inkBands(image, kBandHeight);
    if (bands.empty())
        return {0, QImage(), QRect(), {}, kEmptyTileBytes, m_frameNumber};
    image.setDevicePixelRatio(1);
    QRect ink;
    for (const QRect& band : bands)
        ink |= band;
    return {0, image, ink, std::move(bands), image.sizeInBytes(), m_frameNumber};
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
