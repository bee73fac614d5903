#pragma once

#include <QObject>
#include <xcb/xcb.h>

namespace markvane::platform {

// Follows whether a compositing manager runs on one X screen: the owner of
// the _NET_WM_CM_S<n> selection, tracked live through XFixes selection events
// delivered to a small window of our own.
class CompositorWatch : public QObject {
    Q_OBJECT
public:
    CompositorWatch(xcb_connection_t* connection, xcb_window_t root, int screenNumber,
                    QObject* parent = nullptr);
    ~CompositorWatch() override;

    bool active() const { return active_; }
    // Looks at one event of the connection; true when it was about the
    // compositor selection.
    bool handleEvent(const xcb_generic_event_t* event);

Q_SIGNALS:
    void activeChanged(bool active);

private:
    xcb_connection_t* connection_;
    xcb_window_t window_ = XCB_NONE;
    xcb_atom_t selection_ = XCB_NONE;
    int selectionNotifyType_ = -1; // -1 without XFixes: the state is read once
    bool active_ = false;
};

} // namespace markvane::platform
