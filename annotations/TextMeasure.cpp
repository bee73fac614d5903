#include "annotations/TextMeasure.h"

#include <QFontDatabase>
#include <QFontMetricsF>
#include <QHash>
#include <QImage>

namespace markvane {
QFont annotationFont(double fontSize, double logicalDpi) {
    QFont font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    font.setWeight(QFont::DemiBold);
    font.setPointSizeF(fontSize * 72.0 / (logicalDpi > 0 ? logicalDpi : 72.0));
    return font;
}

QSizeF measureAnnotationText(const QString& text, double fontSize) {
    if (!(fontSize > 0))
        return {};
    // Bounds are asked for on every hit test and every culled repaint, and
    // laying out a glyph from a fallback font (emoji) costs far more than a
    // lookup; the set of texts and sizes on screen is small.
    constexpr qsizetype kRemembered = 4096;
    static QHash<QPair<QString, double>, QSizeF> measured;
    const QPair<QString, double> key(text, fontSize);
    if (const auto known = measured.constFind(key); known != measured.constEnd())
        return *known;
    const QImage& device = pointMeasuringDevice();
    const QFontMetricsF metrics(annotationFont(fontSize, device.logicalDpiY()), &device);
    const QSizeF size = metrics.size(0, text);
    if (measured.size() >= kRemembered)
        measured.clear();
    measured.insert(key, size);
    return size;
}

const QImage& pointMeasuringDevice() {
    static const QImage device = [] {
        QImage image(1, 1, QImage::Format_ARGB32_Premultiplied);
        const int dotsPerMeter = qRound(72.0 / 0.0254);
        image.setDotsPerMeterX(dotsPerMeter);
        image.setDotsPerMeterY(dotsPerMeter);
        return image;
    }();
    return device;
}

} // namespace markvane
