#include "platform/x11/X11OverlayWindows.h"

#include "platform/SystemAlerts.h"
#include "platform/x11/CompositorWatch.h"
#include "platform/x11/InputCatcher.h"
#include "platform/x11/PanelShaper.h"
#include "platform/x11/StackKeeper.h"

#include <QAbstractEventDispatcher>
#include <QEvent>
#include <QGuiApplication>
#include <QPointer>
#include <QRegion>
#include <QScreen>
#include <QTimer>
#include <QWidget>
#include <QWindow>
#include <X11/Xlib.h>
#include <algorithm>
#include <vector>
#include <xcb/shape.h>

namespace markvane::platform {

struct X11OverlayWindows::Panel {
    QWidget* widget;
    PanelShaper* shaper; // owned by the widget
    std::unique_ptr<InputCatcher> catcher;
    bool clickThrough = false;
    QRect passThrough;
    bool cursorMirrorPending = false;
};

X11OverlayWindows::X11OverlayWindows(SystemAlerts& alerts, QObject* parent)
    : OverlayWindows(parent), alerts_(alerts) {
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    Q_ASSERT(x11);
    connection_ = x11->connection();
    Display* display = x11->display();
    const int screenNumber = DefaultScreen(display);
    root_ = xcb_window_t(RootWindow(display, screenNumber));

    compositor_ = std::make_unique<CompositorWatch>(connection_, root_, screenNumber);
    connect(compositor_.get(), &CompositorWatch::activeChanged, this,
            &X11OverlayWindows::compositorChanged);
    stack_ = std::make_unique<StackKeeper>(connection_, root_);
    QAbstractEventDispatcher::instance()->installNativeEventFilter(this);
}

X11OverlayWindows::~X11OverlayWindows() {
    if (QAbstractEventDispatcher* dispatcher = QAbstractEventDispatcher::instance())
        dispatcher->removeNativeEventFilter(this);
    for (const std::unique_ptr<Panel>& panel : panels_)
        panel->widget->removeEventFilter(this);
}

void X11OverlayWindows::preparePanel(QWidget* widget, QScreen* screen) {
    widget->setWindowFlags(Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
                           Qt::X11BypassWindowManagerHint);
    widget->setAttribute(Qt::WA_TranslucentBackground);
    widget->setAttribute(Qt::WA_ShowWithoutActivating);
    widget->setScreen(screen);
    widget->setGeometry(screen->geometry());
    const auto window = xcb_window_t(widget->winId()); // the native window exists from here on

    auto panel = std::make_unique<Panel>();
    panel->widget = widget;
    panel->shaper = new PanelShaper(connection_, widget);
    panel->catcher = std::make_unique<InputCatcher>(connection_, root_, window);
    Panel& added = *panels_.emplace_back(std::move(panel));
    connect(widget, &QObject::destroyed, this, &X11OverlayWindows::forget);
    widget->installEventFilter(this);

    // Shaped before it is first mapped, so it never flashes black.
    added.shaper->setShaping(!compositor_->active());
    if (added.shaper->shaping())
        noticeMissingCompositor();
    widget->show();
    stack_->addPanel(widget);
}

void X11OverlayWindows::setClickThrough(QWidget* widget, bool clickThrough) {
    widget->winId();
    // The window flag sets an empty input shape on the live window; changing
    // the widget's flags instead would unmap it.
    widget->windowHandle()->setFlag(Qt::WindowTransparentForInput, clickThrough);
    if (Panel* panel = find(widget)) {
        panel->clickThrough = clickThrough;
        updateCatcher(*panel);
        // Taking input again gives the window a whole input shape; cut the
        // pass-through area back out.
        if (!clickThrough)
            applyInputShape(*panel);
    }
    xcb_flush(connection_); // in effect when this returns
}

void X11OverlayWindows::setPassThroughArea(QWidget* widget, const QRect& area) {
    Panel* panel = find(widget);
    if (!panel || panel->passThrough == area)
        return;
    panel->passThrough = area;
    if (!panel->clickThrough)
        applyInputShape(*panel);
    xcb_flush(connection_);
}

void X11OverlayWindows::applyInputShape(const Panel& panel) {
    const auto window = xcb_window_t(panel.widget->winId());
    const xcb_window_t catcher = panel.catcher->window();
    if (panel.passThrough.isEmpty()) {
        // No mask: the default input shape, the whole window.
        xcb_shape_mask(connection_, XCB_SHAPE_SO_SET, XCB_SHAPE_SK_INPUT, window, 0, 0, XCB_NONE);
        xcb_shape_mask(connection_, XCB_SHAPE_SO_SET, XCB_SHAPE_SK_INPUT, catcher, 0, 0, XCB_NONE);
        return;
    }
    const qreal scale = panel.widget->devicePixelRatioF();
    const QRect whole(QPoint(0, 0), panel.widget->size() * scale);
    const QRect cut(panel.passThrough.topLeft() * scale, panel.passThrough.size() * scale);
    std::vector<xcb_rectangle_t> rectangles;
    for (const QRect& r : QRegion(whole).subtracted(QRegion(cut)))
        rectangles.push_back(
            {int16_t(r.x()), int16_t(r.y()), uint16_t(r.width()), uint16_t(r.height())});
    for (xcb_window_t target : {window, catcher})
        xcb_shape_rectangles(connection_, XCB_SHAPE_SO_SET, XCB_SHAPE_SK_INPUT,
                             XCB_CLIP_ORDERING_UNSORTED, target, 0, 0, uint32_t(rectangles.size()),
                             rectangles.data());
}

void X11OverlayWindows::focusPanel(QWidget* panel) {
    panel->activateWindow();
}

void X11OverlayWindows::keepAbovePanels(QWidget* window) {
    stack_->addKeepAbove(window);
}

bool X11OverlayWindows::compositing() const {
    return compositor_->active();
}

bool X11OverlayWindows::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::Show:
    case QEvent::Hide:
        if (Panel* panel = find(watched))
            updateCatcher(*panel);
        break;
    case QEvent::Move:
    case QEvent::Resize:
        if (Panel* panel = find(watched); panel && panel->catcher->visible())
            panel->catcher->show(); // follows the panel's new geometry
        break;
    case QEvent::CursorChange:
        if (Panel* panel = find(watched))
            scheduleCursorMirror(*panel);
        break;
    default:
        break;
    }
    return false;
}

bool X11OverlayWindows::nativeEventFilter(const QByteArray& eventType, void* message,
                                          qintptr* /*result*/) {
    if (eventType != "xcb_generic_event_t")
        return false;
    auto* event = static_cast<xcb_generic_event_t*>(message);
    if (compositor_->handleEvent(event) || stack_->handleEvent(event))
        return false;
    for (const std::unique_ptr<Panel>& panel : panels_) {
        if (panel->catcher->redirect(event)) {
            // The toolkit picks the pointer shape while it handles the event.
            scheduleCursorMirror(*panel);
            break;
        }
    }
    // The toolkit handles every event as well, redirected ones as the panel's.
    return false;
}

X11OverlayWindows::Panel* X11OverlayWindows::find(const QObject* widget) const {
    for (const std::unique_ptr<Panel>& panel : panels_)
        if (panel->widget == widget)
            return panel.get();
    return nullptr;
}

void X11OverlayWindows::forget(const QObject* widget) {
    stack_->setCompanionBelow(widget, XCB_NONE);
    std::erase_if(
        panels_, [widget](const std::unique_ptr<Panel>& panel) { return panel->widget == widget; });
}

void X11OverlayWindows::updateCatcher(Panel& panel) {
    const bool wanted = panel.shaper->shaping() && !panel.clickThrough && panel.widget->isVisible();
    if (wanted == panel.catcher->visible())
        return;
    if (wanted) {
        panel.catcher->show();
        scheduleCursorMirror(panel);
    } else {
        panel.catcher->hide();
    }
    stack_->setCompanionBelow(panel.widget, wanted ? panel.catcher->window() : XCB_NONE);
}

void X11OverlayWindows::scheduleCursorMirror(Panel& panel) {
    if (panel.cursorMirrorPending)
        return;
    panel.cursorMirrorPending = true;
    QTimer::singleShot(0, this, [this, widget = QPointer<QWidget>(panel.widget)] {
        Panel* panel = find(widget);
        if (!panel)
            return;
        panel->cursorMirrorPending = false;
        if (panel->catcher->visible())
            panel->catcher->setCursor(widget->windowHandle()->cursor());
    });
}

void X11OverlayWindows::compositorChanged(bool active) {
    for (const std::unique_ptr<Panel>& panel : panels_) {
        panel->shaper->setShaping(!active);
        updateCatcher(*panel);
    }
    if (!active && !panels_.empty())
        noticeMissingCompositor();
    Q_EMIT compositingChanged(active);
}

void X11OverlayWindows::noticeMissingCompositor() {
    if (noticeShown_)
        return;
    noticeShown_ = true;
    alerts_.notify(QStringLiteral("Markvane"),
                   QStringLiteral("No compositing manager is running, so drawings appear "
                                  "without soft edges or see-through colours. Start a "
                                  "compositing manager (for example picom) for smooth "
                                  "transparency."));
}

} // namespace markvane::platform
