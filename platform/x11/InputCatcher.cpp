#include "platform/x11/InputCatcher.h"

#include <QWindow>

#include <cstdint>
#include <cstdlib>

namespace markvane::platform {

InputCatcher::InputCatcher(xcb_connection_t* connection, xcb_window_t root, xcb_window_t panel)
    : connection_(connection), panel_(panel), window_(xcb_generate_id(connection)) {
    const uint32_t values[] = {1, // override-redirect, like the panel itself
                               XCB_EVENT_MASK_BUTTON_PRESS | XCB_EVENT_MASK_BUTTON_RELEASE |
                                   XCB_EVENT_MASK_POINTER_MOTION | XCB_EVENT_MASK_ENTER_WINDOW |
                                   XCB_EVENT_MASK_LEAVE_WINDOW};
    xcb_create_window(connection, XCB_COPY_FROM_PARENT, window_, root, 0, 0, 1, 1, 0,
                      XCB_WINDOW_CLASS_INPUT_ONLY, XCB_COPY_FROM_PARENT,
                      XCB_CW_OVERRIDE_REDIRECT | XCB_CW_EVENT_MASK, values);
}

InputCatcher::~InputCatcher() {
    cursorHolder_.reset();
    xcb_destroy_window(connection_, window_);
    xcb_flush(connection_);
}

void InputCatcher::show() {
    // The panel's own geometry in device pixels, as the server knows it.
    xcb_get_geometry_reply_t* geometry =
        xcb_get_geometry_reply(connection_, xcb_get_geometry(connection_, panel_), nullptr);
    if (!geometry)
        return;
    const uint32_t values[] = {
        uint32_t(geometry->x), uint32_t(geometry->y), geometry->width, geometry->height, panel_,
        XCB_STACK_MODE_BELOW};
    std::free(geometry);
    xcb_configure_window(connection_, window_,
                         XCB_CONFIG_WINDOW_X | XCB_CONFIG_WINDOW_Y | XCB_CONFIG_WINDOW_WIDTH |
                             XCB_CONFIG_WINDOW_HEIGHT | XCB_CONFIG_WINDOW_SIBLING |
                             XCB_CONFIG_WINDOW_STACK_MODE,
                         values);
    xcb_map_window(connection_, window_);
    xcb_flush(connection_);
    visible_ = true;
}

void InputCatcher::hide() {
    if (!visible_)
        return;
    xcb_unmap_window(connection_, window_);
    xcb_flush(connection_);
    visible_ = false;
}

void InputCatcher::setCursor(const QCursor& cursor) {
    if (!cursorHolder_)
        cursorHolder_.reset(QWindow::fromWinId(WId(window_)));
    cursorHolder_->setCursor(cursor);
    xcb_flush(connection_);
}

bool InputCatcher::redirect(xcb_generic_event_t* event) const {
    switch (event->response_type & 0x7f) {
    case XCB_BUTTON_PRESS:
    case XCB_BUTTON_RELEASE:
    case XCB_MOTION_NOTIFY:
    case XCB_ENTER_NOTIFY:
    case XCB_LEAVE_NOTIFY:
        break;
    default:
        return false;
    }
    // These five events share their layout up to the coordinates.
    auto* pointer = reinterpret_cast<xcb_button_press_event_t*>(event);
    if (pointer->event != window_)
        return false;
    // Same origin and size as the panel: the coordinates stay as they are.
    pointer->event = panel_;
    pointer->child = XCB_NONE;
    return true;
}

} // namespace markvane::platform
