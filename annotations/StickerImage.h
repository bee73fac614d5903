#pragma once

#include <QImage>
#include <QString>
#include <optional>

namespace markvane {

// The outline used when none is given: 9 % of the size, at least 2 points.
double automaticStickerOutline(double size);

// Device pixels per point of a sticker bitmap: finer for small sizes, so
// that stickers stay sharp when drawn larger (zoom, pointer shapes).
int stickerDensity(double size);

// An emoji or text glyph of `size` points on a white border `outline` points
// wide (automatic when absent), as an image of that many points at the
// sticker density. Cached process-wide by text, whole size and tenths of the
// outline; none when the text has no extent or no bitmap can be made.
std::optional<QImage> stickerImage(const QString& text, double size,
                                   std::optional<double> outline = std::nullopt);

// Drops every cached sticker.
void clearStickerCache();

// The key a sticker is cached under; images derived from a sticker reuse it.
QString stickerCacheKey(const QString& text, double size, double outline);

} // namespace markvane
