#pragma once

#include "annotations/AnnotationDrawing.h"
#include "annotations/AnnotationRasterCache.h"

#include <QImage>
#include <QPainter>
#include <algorithm>
#include <cmath>

namespace markvane::testing {

// Everything drawAnnotations() takes, with quiet defaults.
struct Scene {
    QList<Annotation> annotations;
    std::optional<QUuid> selected;
    std::optional<QRectF> eraser;
    std::optional<QRectF> snipe;
    QPointF origin;
    double scale = 1;
    AnnotationDrawContext context{1000, {}, QColor(0, 200, 0)};
    std::optional<QRectF> dirty;
    AnnotationRasterCache* cache = nullptr;
};

inline void drawScene(QImage& image, const Scene& scene, QPointF shift = {}) {
    QPainter painter(&image);
    painter.translate(shift);
    ViewPainter view(painter, image.height() / image.devicePixelRatio());
    drawAnnotations(view, scene.annotations, scene.selected, scene.eraser, scene.snipe,
                    scene.origin, scene.scale, scene.context, scene.dirty, scene.cache);
}

inline QImage render(const Scene& scene, QSize size = {200, 200},
                     QColor background = Qt::transparent) {
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(background);
    drawScene(image, scene);
    return image;
}

// The colour of the pixel under a y-up view point (pass pixel centres, x.5).
inline QColor pixelAt(const QImage& image, double x, double y) {
    return image.pixelColor(int(std::floor(x)), int(std::floor(image.height() - y)));
}

inline Annotation makeAnnotation(Tool tool, QList<QPointF> points, double width = 3,
                                 QColor color = Qt::black) {
    Annotation annotation;
    annotation.tool = tool;
    annotation.points = std::move(points);
    annotation.width = width;
    annotation.color = color;
    return annotation;
}

// The largest difference of any channel of any pixel.
inline int worstChannelDifference(const QImage& a, const QImage& b) {
    int worst = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y);
            const QRgb q = b.pixel(x, y);
            worst = std::max({worst, std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)),
                              std::abs(qBlue(p) - qBlue(q)), std::abs(qAlpha(p) - qAlpha(q))});
        }
    }
    return worst;
}

// The y-up view rectangle of the pixels matching `wanted`, empty if none do.
template <typename Predicate> QRect inkRect(const QImage& image, Predicate wanted) {
    QRect found;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (wanted(image.pixelColor(x, y)))
                found |= QRect(x, image.height() - 1 - y, 1, 1);
        }
    }
    return found;
}

} // namespace markvane::testing
