#include "platform/x11/PanelShaper.h"

#include "platform/x11/ShapeRegion.h"

#include <QEvent>
#include <QImage>
#include <QWidget>
#include <vector>
#include <xcb/shape.h>

namespace markvane::platform {

namespace {

// Pixels fainter than this stay outside the shape: without blending their
// colour would show at full strength as a dark fringe.
constexpr int minShapeAlpha = 24;

} // namespace

PanelShaper::PanelShaper(xcb_connection_t* connection, QWidget* panel)
    : QObject(panel), connection_(connection), panel_(panel) {
    refreshTimer_.setSingleShot(true);
    connect(&refreshTimer_, &QTimer::timeout, this, &PanelShaper::refresh);
    panel->installEventFilter(this);
}

void PanelShaper::setShaping(bool on) {
    if (shaping_ == on)
        return;
    shaping_ = on;
    if (on) {
        refresh();
        return;
    }
    refreshTimer_.stop();
    if (applied_ && panel_) {
        xcb_shape_mask(connection_, XCB_SHAPE_SO_SET, XCB_SHAPE_SK_BOUNDING,
                       xcb_window_t(panel_->winId()), 0, 0, XCB_NONE);
        xcb_flush(connection_);
    }
    applied_ = false;
    region_.clear();
}

void PanelShaper::refresh() {
    if (!shaping_ || !panel_)
        return;
    const qreal scale = panel_->devicePixelRatioF();
    QImage image(panel_->size() * scale, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(scale);
    image.fill(Qt::transparent);
    panel_->render(&image, QPoint(), QRegion(), QWidget::DrawChildren);

    QList<QRect> region = drawnRegion(image, minShapeAlpha);
    if (applied_ && region == region_)
        return;
    std::vector<xcb_rectangle_t> rectangles;
    rectangles.reserve(size_t(region.size()));
    for (const QRect& r : region)
        rectangles.push_back(
            {qint16(r.x()), qint16(r.y()), quint16(r.width()), quint16(r.height())});
    xcb_shape_rectangles(connection_, XCB_SHAPE_SO_SET, XCB_SHAPE_SK_BOUNDING,
                         XCB_CLIP_ORDERING_YX_BANDED, xcb_window_t(panel_->winId()), 0, 0,
                         quint32(rectangles.size()), rectangles.data());
    xcb_flush(connection_);
    region_ = std::move(region);
    applied_ = true;
}

bool PanelShaper::eventFilter(QObject* watched, QEvent* event) {
    // The repaint happens while this event is handled; the shape follows it
    // once the event loop is back.
    if (shaping_ && watched == panel_ && event->type() == QEvent::UpdateRequest)
        refreshTimer_.start(0);
    return false;
}

} // namespace markvane::platform
