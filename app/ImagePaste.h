#pragma once

#include <QPointF>
#include <QRectF>
#include <QSizeF>
#include <optional>

namespace markvane {

// The largest clipboard image a paste decodes: 50 megapixels, about 200 MB
// once decoded. Larger ones are refused before decoding.
inline constexpr qint64 kMaxPastePixels = 50'000'000;

// Where a pasted image of the given size (points) goes: scaled down so that
// its longer side is at most 480 points (never up), centred on the pointer.
// None for an image with an empty side.
std::optional<QRectF> pastedImageRect(QSizeF imageSize, QPointF pointer);

} // namespace markvane
