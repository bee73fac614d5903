#include "annotations/StampDrawing.h"

#include "annotations/MaskFilters.h"
#include "annotations/StickerImage.h"
#include "annotations/TextMeasure.h"

#include <QCache>
#include <cmath>

namespace markvane {
namespace {

constexpr qsizetype kCacheBytes = 64 * 1024 * 1024;
constexpr double kShadowAlpha = 0.32;
constexpr double kShadowBlur = 0.1;    // × size
constexpr double kShadowOffset = 0.05; // × size, downward
// A blur radius stands for about two standard deviations; three of them hold
// nearly all of the shadow.
constexpr double kBlurPerSigma = 2;
constexpr double kSigmasKept = 3;

QCache<QString, QImage>& shadowedCache() {
    static QCache<QString, QImage> cache(kCacheBytes);
    return cache;
}

double shadowPadding(double size) {
    return kSigmasKept * kShadowBlur * size / kBlurPerSigma + kShadowOffset * size;
}

QImage addShadow(const QImage& sticker, double size) {
    const double density = sticker.devicePixelRatio();
    const int pad = int(std::ceil(shadowPadding(size) * density));
    const int offset = int(std::lround(kShadowOffset * size * density));
    CoveragePlane shadow(sticker.width() + 2 * pad, sticker.height() + 2 * pad);
    for (int y = 0; y < sticker.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(sticker.constScanLine(y));
        for (int x = 0; x < sticker.width(); ++x)
            shadow.at(x + pad, y + pad + offset) = std::uint8_t(qAlpha(row[x]));
    }
    blurCoverage(shadow, kShadowBlur * size / kBlurPerSigma * density);

    QImage result(shadow.width, shadow.height, QImage::Format_ARGB32_Premultiplied);
    if (result.isNull())
        return result;
    result.setDevicePixelRatio(density);
    for (int y = 0; y < result.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(result.scanLine(y));
        for (int x = 0; x < result.width(); ++x)
            row[x] = qRgba(0, 0, 0, int(std::lround(shadow.at(x, y) * kShadowAlpha)));
    }
    // The sticker over its (black) shadow.
    for (int y = 0; y < sticker.height(); ++y) {
        const auto* source = reinterpret_cast<const QRgb*>(sticker.constScanLine(y));
        auto* target = reinterpret_cast<QRgb*>(result.scanLine(y + pad)) + pad;
        for (int x = 0; x < sticker.width(); ++x) {
            const QRgb s = source[x];
            const int under = qAlpha(target[x]) * (255 - qAlpha(s)) / 255;
            target[x] = qRgba(qRed(s), qGreen(s), qBlue(s), qAlpha(s) + under);
        }
    }
    return result;
}

} // namespace

std::optional<QImage> shadowedSticker(const QString& text, double size, double devicePixelRatio) {
    if (!(devicePixelRatio > 0))
        return std::nullopt;
    const QString key = stickerCacheKey(text, size, automaticStickerOutline(size)) +
                        QLatin1Char('|') + QString::number(devicePixelRatio);
    QCache<QString, QImage>& cache = shadowedCache();
    if (const QImage* cached = cache.object(key))
        return *cached;
    const std::optional<QImage> sticker = stickerImage(text, size);
    if (!sticker)
        return std::nullopt;
    QImage image = addShadow(*sticker, size);
    if (image.isNull())
        return std::nullopt;
    const QSizeF points = image.deviceIndependentSize();
    const QSize pixels(std::max(1, int(std::lround(points.width() * devicePixelRatio))),
                       std::max(1, int(std::lround(points.height() * devicePixelRatio))));
    if (pixels != image.size()) {
        // Area-averaged once here instead of a coarse resample on every frame.
        image = image.scaled(pixels, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        image.setDevicePixelRatio(devicePixelRatio);
    }
    cache.insert(key, new QImage(image), std::max<qsizetype>(1, image.sizeInBytes()));
    return image;
}

void clearShadowedStickerCache() {
    shadowedCache().clear();
}

double stampReach(double size) {
    return automaticStickerOutline(size) + 3 + shadowPadding(size) + 0.05 * size;
}

void drawStamp(ViewPainter& view, const Annotation& stamp, double alpha,
               const ViewMapping& mapping) {
    if (!stamp.text || stamp.points.isEmpty())
        return;
    QPainter& painter = view.painter();
    painter.setOpacity(alpha);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    const double size = stamp.fontSize * mapping.scale;
    const QPointF centre = mapping.map(stamp.points.first());
    const double ratio = view.devicePixelRatio();
    if (const std::optional<QImage> image = shadowedSticker(*stamp.text, size, ratio)) {
        const QSizeF extent = image->deviceIndependentSize();
        // On whole device pixels the image is copied, not resampled.
        const QPointF corner(std::round((centre.x() - extent.width() / 2) * ratio) / ratio,
                             std::round((centre.y() - extent.height() / 2) * ratio) / ratio);
        view.drawImageUpright(QRectF(corner, extent), *image);
        return;
    }
    const QSizeF measured = measureAnnotationText(*stamp.text, size);
    painter.setFont(annotationFont(size, view.logicalDpi()));
    painter.setPen(Qt::black);
    view.drawTextUpright(
        QRectF(centre - QPointF(measured.width() / 2, measured.height() / 2), measured),
        Qt::AlignCenter, *stamp.text);
}

} // namespace markvane
