#include "platform/x11/CompositorWatch.h"

#include <QByteArray>
#include <cstdlib>
#include <xcb/xfixes.h>

namespace markvane::platform {

namespace {

xcb_atom_t internAtom(xcb_connection_t* connection, const QByteArray& name) {
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(
        connection, xcb_intern_atom(connection, 0, quint16(name.size()), name.constData()),
        nullptr);
    const xcb_atom_t atom = reply ? reply->atom : xcb_atom_t(XCB_NONE);
    std::free(reply);
    return atom;
}

bool selectionOwned(xcb_connection_t* connection, xcb_atom_t selection) {
    xcb_get_selection_owner_reply_t* reply = xcb_get_selection_owner_reply(
        connection, xcb_get_selection_owner(connection, selection), nullptr);
    const bool owned = reply && reply->owner != XCB_NONE;
    std::free(reply);
    return owned;
}

} // namespace

CompositorWatch::CompositorWatch(xcb_connection_t* connection, xcb_window_t root, int screenNumber,
                                 QObject* parent)
    : QObject(parent), connection_(connection) {
    selection_ = internAtom(connection, "_NET_WM_CM_S" + QByteArray::number(screenNumber));

    const xcb_query_extension_reply_t* xfixes = xcb_get_extension_data(connection, &xcb_xfixes_id);
    if (xfixes && xfixes->present) {
        std::free(xcb_xfixes_query_version_reply(
            connection, xcb_xfixes_query_version(connection, XCB_XFIXES_MAJOR_VERSION, 0),
            nullptr));
        // A window of our own, so that this selection of events does not
        // replace the one the toolkit made on the root window.
        window_ = xcb_generate_id(connection);
        xcb_create_window(connection, XCB_COPY_FROM_PARENT, window_, root, -1, -1, 1, 1, 0,
                          XCB_WINDOW_CLASS_INPUT_ONLY, XCB_COPY_FROM_PARENT, 0, nullptr);
        xcb_xfixes_select_selection_input(
            connection, window_, selection_,
            XCB_XFIXES_SELECTION_EVENT_MASK_SET_SELECTION_OWNER |
                XCB_XFIXES_SELECTION_EVENT_MASK_SELECTION_WINDOW_DESTROY |
                XCB_XFIXES_SELECTION_EVENT_MASK_SELECTION_CLIENT_CLOSE);
        selectionNotifyType_ = xfixes->first_event + XCB_XFIXES_SELECTION_NOTIFY;
    }
    // Asked after selecting the events, so no change falls between the two.
    active_ = selectionOwned(connection, selection_);
}

CompositorWatch::~CompositorWatch() {
    if (window_ != XCB_NONE) {
        xcb_destroy_window(connection_, window_);
        xcb_flush(connection_);
    }
}

bool CompositorWatch::handleEvent(const xcb_generic_event_t* event) {
    if (selectionNotifyType_ < 0 || (event->response_type & 0x7f) != selectionNotifyType_)
        return false;
    const auto* notify = reinterpret_cast<const xcb_xfixes_selection_notify_event_t*>(event);
    if (notify->selection != selection_)
        return false;
    // A new owner is named in the event; a destroyed owner window or a closed
    // client leaves none.
    const bool nowActive = notify->subtype == XCB_XFIXES_SELECTION_EVENT_SET_SELECTION_OWNER &&
                           notify->owner != XCB_NONE;
    if (nowActive != active_) {
        active_ = nowActive;
        Q_EMIT activeChanged(active_);
    }
    return true;
}

} // namespace markvane::platform
