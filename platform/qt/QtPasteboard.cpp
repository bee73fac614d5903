#include "platform/qt/QtPasteboard.h"

#include <QBuffer>
#include <QClipboard>
#include <QGuiApplication>
#include <QImageReader>
#include <QMimeData>
#include <QStringList>
#include <algorithm>

namespace markvane::platform {

namespace {

// The encoded image formats on offer that Qt can decode, PNG first: it is
// lossless and what most programs put on the clipboard.
QStringList decodableFormats(const QMimeData& data) {
    const QList<QByteArray> supported = QImageReader::supportedMimeTypes();
    QStringList formats;
    for (const QString& format : data.formats()) {
        if (supported.contains(format.toLatin1()))
            formats.append(format);
    }
    const qsizetype png = formats.indexOf(QLatin1String("image/png"));
    if (png > 0)
        formats.move(png, 0);
    return formats;
}

bool tooLarge(QSize size, qint64 maxPixels) {
    return qint64(size.width()) * size.height() > maxPixels;
}

PastedImage decode(const QByteArray& bytes, qint64 maxPixels) {
    PastedImage result;
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    // The size comes from the header, so a huge image is refused before any
    // pixel memory is allocated.
    const QSize size = reader.size();
    if (size.isValid() && !size.isEmpty() && tooLarge(size, maxPixels)) {
        result.status = PastedImage::Status::TooLarge;
        result.size = size;
        return result;
    }
    // Formats that do not tell their size up front still may not allocate
    // more than the limit allows (4 bytes a pixel, in whole megabytes).
    const qint64 megabytes = qMin<qint64>(maxPixels, qint64(1) << 40) / (1 << 18) + 1;
    reader.setAllocationLimit(int(std::clamp<qint64>(megabytes, 1, 1 << 20)));
    QImage image = reader.read();
    if (image.isNull()) {
        result.status = PastedImage::Status::Unreadable;
        return result;
    }
    if (tooLarge(image.size(), maxPixels)) {
        result.status = PastedImage::Status::TooLarge;
        result.size = image.size();
        return result;
    }
    result.status = PastedImage::Status::Image;
    result.size = image.size();
    result.image = std::move(image);
    return result;
}

} // namespace

void QtPasteboard::writeImage(const QImage& image) {
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    clipboard->setImage(image);
}

PastedImage QtPasteboard::readImage(qint64 maxPixels) {
    return readImage(QGuiApplication::clipboard()->mimeData(), maxPixels);
}

PastedImage QtPasteboard::readImage(const QMimeData* data, qint64 maxPixels) {
    if (!data)
        return {};
    const QStringList formats = decodableFormats(*data);
    if (!formats.isEmpty())
        return decode(data->data(formats.first()), maxPixels);
    if (!data->hasImage())
        return {};
    // Only an image this process put on the clipboard itself comes already
    // decoded; its pixels are in memory anyway.
    PastedImage result;
    const QImage image = qvariant_cast<QImage>(data->imageData());
    if (image.isNull()) {
        result.status = PastedImage::Status::Unreadable;
        return result;
    }
    result.size = image.size();
    if (tooLarge(image.size(), maxPixels)) {
        result.status = PastedImage::Status::TooLarge;
        return result;
    }
    result.status = PastedImage::Status::Image;
    result.image = image;
    return result;
}

} // namespace markvane::platform
