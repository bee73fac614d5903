#include "platform/qt/QtPasteboard.h"

#include <QBuffer>
#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QtEndian>
#include <gtest/gtest.h>
#include <memory>

using markvane::platform::PastedImage;
using markvane::platform::QtPasteboard;
using Status = PastedImage::Status;

namespace {

QImage smallImage() {
    QImage image(3, 2, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    image.setPixel(0, 0, qRgba(255, 0, 0, 255));
    image.setPixel(2, 1, qRgba(0, 0, 255, 128));
    return image;
}

QByteArray encoded(const QImage& image, const char* format) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes;
}

quint32 crc32(const char* data, qsizetype size) {
    quint32 crc = 0xFFFFFFFFu;
    for (qsizetype i = 0; i < size; ++i) {
        crc ^= static_cast<unsigned char>(data[i]);
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

// A PNG whose header claims the given size but whose pixel data is that of a
// 1×1 image: decoding it fails, so only reading the header can tell its size.
QByteArray pngClaiming(quint32 width, quint32 height) {
    QImage pixel(1, 1, QImage::Format_ARGB32);
    pixel.fill(Qt::red);
    QByteArray png = encoded(pixel, "PNG");
    // Signature (8), IHDR length (4), "IHDR" (4), width, height, ..., CRC.
    qToBigEndian(width, png.data() + 16);
    qToBigEndian(height, png.data() + 20);
    qToBigEndian(crc32(png.constData() + 12, 17), png.data() + 29);
    return png;
}

QMimeData* offering(const QList<QPair<QString, QByteArray>>& formats) {
    auto* data = new QMimeData;
    for (const auto& [format, bytes] : formats)
        data->setData(format, bytes);
    return data;
}

bool samePixels(const QImage& a, const QImage& b) {
    return a.convertToFormat(QImage::Format_ARGB32) == b.convertToFormat(QImage::Format_ARGB32);
}

} // namespace

TEST(QtPasteboard, WrittenImage_ReadsBackAndReplacesOtherContent) {
    QGuiApplication::clipboard()->setText(QStringLiteral("old"));
    QtPasteboard pasteboard;
    pasteboard.writeImage(smallImage());
    EXPECT_FALSE(QGuiApplication::clipboard()->mimeData()->hasText());
    const PastedImage read = pasteboard.readImage(100);
    ASSERT_EQ(read.status, Status::Image);
    EXPECT_TRUE(samePixels(read.image, smallImage()));
    QGuiApplication::clipboard()->clear();
    EXPECT_EQ(pasteboard.readImage(100).status, Status::None);
}

TEST(QtPasteboard, ReadImage_DecodesThePreferredFormatWithinThePixelLimit) {
    const QByteArray png = encoded(smallImage(), "PNG"); // 6 pixels, the limit below
    const struct {
        QList<QPair<QString, QByteArray>> formats;
        Status status;
        QSize size;
    } cases[] = {
        {{{"image/png", png}}, Status::Image, {3, 2}},
        {{{"image/png", encoded(smallImage().copy(0, 0, 3, 3), "PNG")}}, Status::TooLarge, {3, 3}},
        // Headers whose pixel data is that of 1×1: only the header can tell the size.
        {{{"image/png", pngClaiming(60000, 50000)}}, Status::TooLarge, {60000, 50000}},
        {{{"image/png", pngClaiming(2, 2)}}, Status::Unreadable, {}},
        {{{"image/png", "definitely not a PNG"}}, Status::Unreadable, {}},
        {{{"image/bmp", "broken"}, {"image/png", png}}, Status::Image, {3, 2}},
        {{{"image/bmp", encoded(smallImage(), "BMP")}}, Status::Image, {3, 2}},
        {{{"text/plain", "text"}}, Status::None, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.formats.first().second.left(12).toHex().toStdString());
        const std::unique_ptr<QMimeData> data(offering(c.formats));
        const PastedImage read = QtPasteboard::readImage(data.get(), 6);
        EXPECT_EQ(read.status, c.status);
        EXPECT_EQ(read.size, c.size);
        // BMP keeps no alpha, so only the opaque corner is compared.
        EXPECT_EQ(read.image.isNull() ? 0 : read.image.pixel(0, 0),
                  c.status == Status::Image ? qRgba(255, 0, 0, 255) : 0);
    }
    EXPECT_EQ(QtPasteboard::readImage(nullptr, 100).status, Status::None);
}
