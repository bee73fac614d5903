#pragma once

#include <QImage>
#include <QList>
#include <QRect>

namespace markvane::platform {

// The part of a rendered panel that holds drawing, as rectangles in X's
// YX-banded order: bands from top to bottom, every rectangle of a band sharing
// its y and height, rectangles of a band sorted by x and not touching. Runs of
// pixels with at least `minAlpha` are taken row by row, and rows whose runs
// are the same merge into one band, so a tall shape costs one rectangle per
// run instead of one per row.
QList<QRect> drawnRegion(const QImage& image, int minAlpha);

} // namespace markvane::platform
