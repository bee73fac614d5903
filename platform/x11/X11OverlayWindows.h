#pragma once

#include "platform/OverlayWindows.h"

#include <QAbstractNativeEventFilter>
#include <memory>
#include <vector>
#include <xcb/xcb.h>

namespace markvane::platform {

class CompositorWatch;
class InputCatcher;
class PanelShaper;
class StackKeeper;
class SystemAlerts;

// Overlay panels on X11: unmanaged (bypass) windows with a 32-bit visual.
// Reads the X events it needs on the GUI thread, from the toolkit's own
// connection. Needs a running xcb QGuiApplication.
class X11OverlayWindows : public OverlayWindows, private QAbstractNativeEventFilter {
    Q_OBJECT
public:
    explicit X11OverlayWindows(SystemAlerts& alerts, QObject* parent = nullptr);
    ~X11OverlayWindows() override;

    void preparePanel(QWidget* panel, QScreen* screen) override;
    void setClickThrough(QWidget* panel, bool clickThrough) override;
    void setPassThroughArea(QWidget* panel, const QRect& area) override;
    void focusPanel(QWidget* panel) override;
    void keepAbovePanels(QWidget* window) override;
    bool compositing() const override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Panel;

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;
    Panel* find(const QObject* widget) const;
    void forget(const QObject* widget);
    void updateCatcher(Panel& panel);
    void applyInputShape(const Panel& panel);
    void scheduleCursorMirror(Panel& panel);
    void compositorChanged(bool active);
    void noticeMissingCompositor();

    SystemAlerts& alerts_;
    xcb_connection_t* connection_ = nullptr;
    xcb_window_t root_ = XCB_NONE;
    std::unique_ptr<CompositorWatch> compositor_;
    std::unique_ptr<StackKeeper> stack_;
    std::vector<std::unique_ptr<Panel>> panels_;
    bool noticeShown_ = false;
};

} // namespace markvane::platform
