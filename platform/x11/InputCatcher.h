#pragma once

#include <QCursor>
#include <memory>
#include <xcb/xcb.h>

class QWindow;

namespace markvane::platform {

// A panel cut down to what it draws (no compositor) lets the pointer through
// everywhere else, even when it should take pointer input. An invisible,
// input-only window stacked right below it catches those events; the overlay
// layer hands them on to the panel as if they had been its own.
class InputCatcher {
public:
    InputCatcher(xcb_connection_t* connection, xcb_window_t root, xcb_window_t panel);
    ~InputCatcher();
    InputCatcher(const InputCatcher&) = delete;
    InputCatcher& operator=(const InputCatcher&) = delete;

    // Maps the catcher over the panel's current geometry, right below it.
    void show();
    void hide();
    bool visible() const { return visible_; }
    xcb_window_t window() const { return window_; }
    // Turns a pointer event on the catcher into the same event on the panel;
    // false for any other event.
    bool redirect(xcb_generic_event_t* event) const;
    // Shows `cursor` over the catcher, as the panel shows it over itself.
    void setCursor(const QCursor& cursor);

private:
    xcb_connection_t* connection_;
    xcb_window_t panel_;
    xcb_window_t window_;
    bool visible_ = false;
    // The toolkit's view of the catcher, only to give it the toolkit's own
    // pointer images.
    std::unique_ptr<QWindow> cursorHolder_;
};

} // namespace markvane::platform
