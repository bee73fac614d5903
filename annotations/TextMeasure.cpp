#include "annotations/TextMeasure.h"

#include <QFontDatabase>
#include <QFontMetricsF>
#include <QImage>

namespace markvane {
namespace {

// A device on which one typographic point is one pixel.
const QImage& measuringDevice() {
    static const QImage device = [] {
        QImage image(1, 1, QImage::Format_ARGB32_Premultiplied);
        const int dotsPerMeter = qRound(72.0 / 0.0254);
        image.setDotsPerMeterX(dotsPerMeter);
        image.setDotsPerMeterY(dotsPerMeter);
        return image;
    }();
    return device;
}

} // namespace

QFont annotationFont(double fontSize, double logicalDpi) {
    QFont font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    font.setWeight(QFont::DemiBold);
    font.setPointSizeF(fontSize * 72.0 / (logicalDpi > 0 ? logicalDpi : 72.0));
    return font;
}

QSizeF measureAnnotationText(const QString& text, double fontSize) {
    if (!(fontSize > 0))
        return {};
    const QImage& device = measuringDevice();
    const QFontMetricsF metrics(annotationFont(fontSize, device.logicalDpiY()), &device);
    return metrics.size(0, text);
}

} // namespace markvane
