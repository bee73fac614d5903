#include "annotations/StickerImage.h"

#include "annotations/MaskFilters.h"

#include <QCache>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QPainter>
#include <algorithm>

namespace markvane {
namespace {

constexpr qsizetype kCacheBytes = 64 * 1024 * 1024;
constexpr double kMaximumDilation = 48; // pixels
constexpr double kMarginBeyondOutline = 2;
// Glyph edges are soft: a pixel counts as ink once eight times its alpha
// reaches half coverage, so faint anti-aliasing still carries the border.
constexpr std::uint8_t kInkAlpha = 16;
constexpr double kMaximumPixels = 1 << 26;
constexpr int kDotsPerMeterAt72Dpi = 2835; // one typographic point per pixel

QCache<QString, QImage>& stickerCache() {
    static QCache<QString, QImage> cache(kCacheBytes);
    return cache;
}

QFont stickerFont(double size) {
    QFont font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    font.setWeight(QFont::Normal);
    font.setPointSizeF(size); // on 72-dpi devices: one point per pixel
    return font;
}

QImage pointDevice(int width, int height) {
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    if (image.isNull())
        return image;
    image.setDotsPerMeterX(kDotsPerMeterAt72Dpi);
    image.setDotsPerMeterY(kDotsPerMeterAt72Dpi);
    return image;
}

std::optional<QImage> makeSticker(const QString& text, double size, double outline) {
    static const QImage measuringDevice = pointDevice(1, 1);
    const QFont font = stickerFont(size);
    const QSizeF measured = QFontMetricsF(font, &measuringDevice).size(0, text);
    if (!(measured.width() > 0 && measured.height() > 0))
        return std::nullopt;

    const double margin = outline + kMarginBeyondOutline;
    const double widthPoints = measured.width() + 2 * margin;
    const double heightPoints = measured.height() + 2 * margin;
    const int density = stickerDensity(size);
    const double pixelWidth = density * widthPoints;
    const double pixelHeight = density * heightPoints;
    if (!(pixelWidth >= 1 && pixelHeight >= 1 && pixelWidth < 32768 && pixelHeight < 32768 &&
          pixelWidth * pixelHeight <= kMaximumPixels))
        return std::nullopt;
    QImage image = pointDevice(int(pixelWidth), int(pixelHeight));
    if (image.isNull())
        return std::nullopt;
    image.setDevicePixelRatio(density);
    image.fill(Qt::transparent);
    {
        QPainter painter(&image);
        painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing);
        painter.setFont(font);
        painter.setPen(Qt::black);
        painter.drawText(QRectF(QPointF(margin, margin), measured), Qt::AlignLeft | Qt::AlignTop,
                         text);
    }

    CoveragePlane ink(image.width(), image.height());
    for (int y = 0; y < image.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x)
            ink.at(x, y) = std::uint8_t(qAlpha(row[x]));
    }
    const double radius = std::min(outline * density, kMaximumDilation);
    const CoveragePlane border = dilateCoverage(ink, kInkAlpha, radius);

    // The glyph over its white border, in premultiplied colour.
    for (int y = 0; y < image.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const QRgb glyph = row[x];
            const int white = border.at(x, y) * (255 - qAlpha(glyph)) / 255;
            row[x] = qRgba(qRed(glyph) + white, qGreen(glyph) + white, qBlue(glyph) + white,
                           qAlpha(glyph) + white);
        }
    }
    return image;
}

} // namespace

double automaticStickerOutline(double size) {
    return std::max(0.09 * size, 2.0);
}

int stickerDensity(double size) {
    if (size <= 60)
        return 4;
    if (size <= 160)
        return 3;
    return 2;
}

QString stickerCacheKey(const QString& text, double size, double outline) {
    return text + QLatin1Char('|') + QString::number(static_cast<long long>(size)) +
           QLatin1Char('|') + QString::number(static_cast<long long>(10 * outline));
}

std::optional<QImage> stickerImage(const QString& text, double size,
                                   std::optional<double> outline) {
    if (!(size > 0) || text.isEmpty())
        return std::nullopt;
    const double width = outline.value_or(automaticStickerOutline(size));
    if (!(width >= 0))
        return std::nullopt;
    const QString key = stickerCacheKey(text, size, width);
    QCache<QString, QImage>& cache = stickerCache();
    if (const QImage* cached = cache.object(key))
        return *cached;
    std::optional<QImage> made = makeSticker(text, size, width);
    if (made)
        cache.insert(key, new QImage(*made), std::max<qsizetype>(1, made->sizeInBytes()));
    return made;
}

void clearStickerCache() {
    stickerCache().clear();
}

} // namespace markvane
