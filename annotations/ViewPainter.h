#pragma once

#include <QPainter>
#include <QPointF>
#include <QRectF>

namespace markvane {

// From global points to a view's y-up coordinates: a global point p lands at
// (p − origin) × scale.
struct ViewMapping {
    QPointF origin;
    double scale = 1;

    QPointF map(QPointF global) const { return (global - origin) * scale; }
    QRectF map(const QRectF& global) const {
        return QRectF(map(global.topLeft()), map(global.bottomRight())).normalized();
    }
};

// Lets a view draw in y-up coordinates (origin at its bottom left) through a
// QPainter: the painter is flipped once for the whole view, and text and
// images are flipped back locally so that they stay upright. The painter's
// state is restored when this goes away.
class ViewPainter {
public:
    ViewPainter(QPainter& painter, double viewHeight);
    ~ViewPainter();
    ViewPainter(const ViewPainter&) = delete;
    ViewPainter& operator=(const ViewPainter&) = delete;

    QPainter& painter() { return m_painter; }
    double viewHeight() const { return m_viewHeight; }
    // Device pixels per view point, for images made at the device's density.
    double devicePixelRatio() const;
    // The logical DPI that fonts are sized against on this device.
    double logicalDpi() const;

    // `rect` is in y-up coordinates; the text is laid out from its top left
    // edge downward, as on any y-down surface.
    void drawTextUpright(const QRectF& rect, int flags, const QString& text);
    void drawImageUpright(const QRectF& rect, const QImage& image);

private:
    // Maps the y-up rectangle to a local y-down system whose (0, 0) is its top left.
    void enterUpright(const QRectF& rect);

    QPainter& m_painter;
    double m_viewHeight;
};

} // namespace markvane
