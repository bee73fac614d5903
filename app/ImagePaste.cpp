#include "app/ImagePaste.h"

#include <algorithm>

namespace markvane {

std::optional<QRectF> pastedImageRect(QSizeF imageSize, QPointF pointer) {
    const double w = imageSize.width();
    const double h = imageSize.height();
    if (!(w > 0) || !(h > 0))
        return std::nullopt;
    const double scale = std::min(480.0 / std::max(w, h), 1.0);
    const QSizeF size(w * scale, h * scale);
    return QRectF(pointer.x() - size.width() / 2, pointer.y() - size.height() / 2, size.width(),
                  size.height());
}

} // namespace markvane
