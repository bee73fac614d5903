#pragma once

#include <QFont>
#include <QImage>
#include <QSizeF>
#include <QString>

namespace markvane {

// The one measuring routine of texts and stamps. Bounds, hit areas and
// drawing all go through it so that outlines match what is drawn.
//
// A font size is in points, where one point is one device-independent pixel.
// Qt sizes fonts by typographic points against a device's logical DPI, so
// annotationFont() takes the DPI of the device it will be drawn on.
QFont annotationFont(double fontSize, double logicalDpi);

// A device on which one typographic point is one pixel, for measuring text
// in points.
const QImage& pointMeasuringDevice();

// The size of the text set in the semibold annotation font, with every line
// break honoured.
QSizeF measureAnnotationText(const QString& text, double fontSize);

} // namespace markvane
