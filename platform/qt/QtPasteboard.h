#pragma once

#include "platform/Pasteboard.h"

class QMimeData;

namespace markvane::platform {

// The desktop clipboard through QClipboard.
class QtPasteboard final : public Pasteboard {
public:
    void writeImage(const QImage& image) override;
    PastedImage readImage(qint64 maxPixels) override;

    // The same reading, from given clipboard contents.
    static PastedImage readImage(const QMimeData* data, qint64 maxPixels);
};

} // namespace markvane::platform
