#pragma once

#include <QImage>
#include <QSize>

namespace markvane::platform {

// What reading an image from the pasteboard gave.
struct PastedImage {
    enum class Status { None, Image, TooLarge, Unreadable };
    Status status = Status::None;
    QImage image; // set only for Status::Image
    QSize size;   // the encoded size, known for Image and TooLarge
};

// The general pasteboard (the desktop clipboard).
class Pasteboard {
public:
    virtual ~Pasteboard() = default;
    // Clears the pasteboard and puts one image on it.
    virtual void writeImage(const QImage& image) = 0;
    // Reads an image; one with more than maxPixels pixels is reported as
    // TooLarge without being decoded.
    virtual PastedImage readImage(qint64 maxPixels) = 0;
};

} // namespace markvane::platform
