#include "platform/qt/QtPasteboard.h"

#include <QBuffer>
#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QtEndian>
#include <gtest/gtest.h>

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

void offer(const QList<QPair<QString, QByteArray>>& formats) {
    auto* data = new QMimeData;
    for (const auto& [format, bytes] : formats)
        data->setData(format, bytes);
    QGuiApplication::clipboard()->setMimeData(data);
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
    EXPECT_EQ(read.size, QSize(3, 2));
    EXPECT_TRUE(samePixels(read.image, smallImage()));
    EXPECT_EQ(pasteboard.readImage(5).status, Status::TooLarge);
}

TEST(QtPasteboard, EncodedImage_IsDecodedUpToTheLimit) {
    offer({{"image/png", encoded(smallImage(), "PNG")}});
    QtPasteboard pasteboard;
    const PastedImage atLimit = pasteboard.readImage(6);
    ASSERT_EQ(atLimit.status, Status::Image);
    EXPECT_TRUE(samePixels(atLimit.image, smallImage()));

    const PastedImage over = pasteboard.readImage(5);
    EXPECT_EQ(over.status, Status::TooLarge);
    EXPECT_EQ(over.size, QSize(3, 2));
    EXPECT_TRUE(over.image.isNull());
}

TEST(QtPasteboard, HugeImage_IsTooLargeFromItsHeaderWithoutDecoding) {
    offer({{"image/png", pngClaiming(60000, 50000)}});
    const PastedImage read = QtPasteboard().readImage(40'000'000);
    EXPECT_EQ(read.status, Status::TooLarge);
    EXPECT_EQ(read.size, QSize(60000, 50000));
}

TEST(QtPasteboard, UndecodableData_IsUnreadable) {
    offer({{"image/png", QByteArray("definitely not a PNG")}});
    EXPECT_EQ(QtPasteboard().readImage(1000).status, Status::Unreadable);
    offer({{"image/png", pngClaiming(4, 4)}});
    EXPECT_EQ(QtPasteboard().readImage(1000).status, Status::Unreadable);
}

TEST(QtPasteboard, PngIsPreferredOverOtherFormatsOnOffer) {
    offer({{"image/bmp", QByteArray("broken")}, {"image/png", encoded(smallImage(), "PNG")}});
    EXPECT_EQ(QtPasteboard().readImage(100).status, Status::Image);
    offer({{"image/bmp", encoded(smallImage(), "BMP")}});
    EXPECT_EQ(QtPasteboard().readImage(100).status, Status::Image);
}

TEST(QtPasteboard, NoImageOnOffer_ReadsNothing) {
    QGuiApplication::clipboard()->clear();
    EXPECT_EQ(QtPasteboard().readImage(100).status, Status::None);
    QGuiApplication::clipboard()->setText(QStringLiteral("text only"));
    EXPECT_EQ(QtPasteboard().readImage(100).status, Status::None);
    EXPECT_EQ(QtPasteboard::readImage(nullptr, 100).status, Status::None);
}
