#pragma once

#include "annotations/Annotation.h"
#include "annotations/ViewPainter.h"

#include <QImage>
#include <QString>
#include <optional>

namespace markvane {

// A stamp's sticker (automatic outline) on its soft drop shadow, resampled to
// the device's pixel density so that drawing it is a plain copy. Cached.
std::optional<QImage> shadowedSticker(const QString& text, double size, double devicePixelRatio);
void clearShadowedStickerCache();

// How far a stamp of this drawn size reaches beyond its measured bounds
// (border, shadow and rounding), in the same units as the size.
double stampReach(double size);

// Draws the stamp centred on its mapped point at its font size × the view
// scale; the plain text stands in when no sticker can be made.
void drawStamp(ViewPainter& view, const Annotation& stamp, double alpha,
               const ViewMapping& mapping);

} // namespace markvane
