#include "platform/x11/ShapeRegion.h"

namespace markvane::platform {

namespace {

struct Run {
    int left;
    int right; // one past the last pixel
    bool operator==(const Run&) const = default;
};

void rowRuns(const quint32* row, int width, quint32 minAlpha, QList<Run>& runs) {
    runs.clear();
    int x = 0;
    while (x < width) {
        while (x < width && (row[x] >> 24) < minAlpha)
            ++x;
        if (x == width)
            break;
        const int left = x;
        while (x < width && (row[x] >> 24) >= minAlpha)
            ++x;
        runs.append({left, x});
    }
}

void appendBand(const QList<Run>& runs, int top, int height, QList<QRect>& out) {
    for (const Run& run : runs)
        out.append(QRect(run.left, top, run.right - run.left, height));
}

} // namespace

QList<QRect> drawnRegion(const QImage& image, int minAlpha) {
    QList<QRect> rects;
    if (image.isNull())
        return rects;
    // Both 32-bit alpha formats keep alpha in the top byte; anything else is
    // converted once.
    const QImage source = (image.format() == QImage::Format_ARGB32_Premultiplied ||
                           image.format() == QImage::Format_ARGB32)
                              ? image
                              : image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    const quint32 threshold = quint32(qBound(1, minAlpha, 255));
    const int width = source.width();

    QList<Run> band;
    QList<Run> row;
    int bandTop = 0;
    for (int y = 0; y < source.height(); ++y) {
        rowRuns(reinterpret_cast<const quint32*>(source.constScanLine(y)), width, threshold, row);
        if (row == band)
            continue;
        appendBand(band, bandTop, y - bandTop, rects);
        band.swap(row);
        bandTop = y;
    }
    appendBand(band, bandTop, source.height() - bandTop, rects);
    return rects;
}

} // namespace markvane::platform
