#include "annotations/ViewPainter.h"

#include <QImage>
#include <QPaintDevice>

namespace markvane {

ViewPainter::ViewPainter(QPainter& painter, double viewHeight)
    : m_painter(painter), m_viewHeight(viewHeight) {
    m_painter.save();
    m_painter.translate(0, viewHeight);
    m_painter.scale(1, -1);
}

ViewPainter::~ViewPainter() {
    m_painter.restore();
}

double ViewPainter::devicePixelRatio() const {
    const QPaintDevice* device = m_painter.device();
    return device ? device->devicePixelRatio() : 1.0;
}

double ViewPainter::logicalDpi() const {
    const QPaintDevice* device = m_painter.device();
    return device ? device->logicalDpiY() : 72.0;
}

void ViewPainter::enterUpright(const QRectF& rect) {
    m_painter.translate(rect.left(), rect.top() + rect.height());
    m_painter.scale(1, -1);
}

void ViewPainter::drawTextUpright(const QRectF& rect, int flags, const QString& text) {
    // Only the transform changes, so restoring it is cheaper than save()/restore().
    const QTransform saved = m_painter.worldTransform();
    enterUpright(rect);
    m_painter.drawText(QRectF(0, 0, rect.width(), rect.height()), flags, text);
    m_painter.setWorldTransform(saved);
}

void ViewPainter::drawImageUpright(const QRectF& rect, const QImage& image) {
    const QTransform saved = m_painter.worldTransform();
    enterUpright(rect);
    m_painter.drawImage(QRectF(0, 0, rect.width(), rect.height()), image);
    m_painter.setWorldTransform(saved);
}

} // namespace markvane
