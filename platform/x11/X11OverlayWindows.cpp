#include "platform/x11/X11OverlayWindows.h"

#include "platform/SystemAlerts.h"
#include "platform/x11/CompositorWatch.h"
#include "platform/x11/PanelShaper.h"
#include "platform/x11/StackKeeper.h"

#include <QAbstractEventDispatcher>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <QWindow>
#include <X11/Xlib.h>

namespace markvane::platform {

X11OverlayWindows::X11OverlayWindows(SystemAlerts& alerts, QObject* parent)
    : OverlayWindows(parent), alerts_(alerts) {
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    Q_ASSERT(x11);
    connection_ = x11->connection();
    Display* display = x11->display();
    const int screenNumber = DefaultScreen(display);
    const xcb_window_t root = xcb_window_t(RootWindow(display, screenNumber));

    compositor_ = std::make_unique<CompositorWatch>(connection_, root, screenNumber);
    connect(compositor_.get(), &CompositorWatch::activeChanged, this,
            &X11OverlayWindows::compositorChanged);
    stack_ = std::make_unique<StackKeeper>(connection_, root);
    QAbstractEventDispatcher::instance()->installNativeEventFilter(this);
}

X11OverlayWindows::~X11OverlayWindows() {
    if (QAbstractEventDispatcher* dispatcher = QAbstractEventDispatcher::instance())
        dispatcher->removeNativeEventFilter(this);
}

void X11OverlayWindows::preparePanel(QWidget* panel, QScreen* screen) {
    panel->setWindowFlags(Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
                          Qt::X11BypassWindowManagerHint);
    panel->setAttribute(Qt::WA_TranslucentBackground);
    panel->setAttribute(Qt::WA_ShowWithoutActivating);
    panel->setScreen(screen);
    panel->setGeometry(screen->geometry());
    panel->winId(); // the native window exists from here on

    auto* shaper = new PanelShaper(connection_, panel);
    shapers_.append(shaper);
    // Shaped before it is first mapped, so it never flashes black.
    shaper->setShaping(!compositor_->active());
    if (shaper->shaping())
        noticeMissingCompositor();

    panel->show();
    stack_->addPanel(panel);
}

void X11OverlayWindows::setClickThrough(QWidget* panel, bool clickThrough) {
    panel->winId();
    // The window flag sets an empty input shape on the live window; changing
    // the widget's flags instead would unmap it.
    panel->windowHandle()->setFlag(Qt::WindowTransparentForInput, clickThrough);
    xcb_flush(connection_); // in effect when this returns
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

bool X11OverlayWindows::nativeEventFilter(const QByteArray& eventType, void* message,
                                          qintptr* /*result*/) {
    if (eventType != "xcb_generic_event_t")
        return false;
    const auto* event = static_cast<const xcb_generic_event_t*>(message);
    if (!compositor_->handleEvent(event))
        stack_->handleEvent(event);
    // The toolkit keeps handling every event as well.
    return false;
}

void X11OverlayWindows::compositorChanged(bool active) {
    shapers_.removeAll(nullptr);
    for (const QPointer<PanelShaper>& shaper : shapers_)
        shaper->setShaping(!active);
    if (!active && !shapers_.isEmpty())
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
