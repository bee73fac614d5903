#pragma once

#include <QList>
#include <QObject>
#include <QPointer>
#include <QRect>
#include <QTimer>
#include <xcb/xcb.h>

class QWidget;

namespace markvane::platform {

// Without a compositing manager the transparent parts of a panel show black.
// While shaping is on, the panel's window is cut down (X Shape bounding
// region) to the pixels it draws, refreshed after each of its repaints; with
// shaping off the window is whole again and transparency comes from the
// compositor.
class PanelShaper : public QObject {
    Q_OBJECT
public:
    PanelShaper(xcb_connection_t* connection, QWidget* panel);

    void setShaping(bool on);
    bool shaping() const { return shaping_; }
    // Renders the panel and applies the region it draws.
    void refresh();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    xcb_connection_t* connection_;
    QPointer<QWidget> panel_;
    QTimer refreshTimer_;
    bool shaping_ = false;
    bool applied_ = false; // a region is set on the window
    QList<QRect> region_;
};

} // namespace markvane::platform
