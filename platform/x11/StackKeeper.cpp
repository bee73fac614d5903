#include "platform/x11/StackKeeper.h"

#include "platform/x11/PanelStacking.h"

#include <QGuiApplication>
#include <QSet>
#include <QWidget>
#include <QWindow>
#include <cstdlib>

namespace markvane::platform {

namespace {

// Another program that also keeps itself on top would otherwise trade places
// with the panels as fast as the server allows.
constexpr int minRaiseIntervalMs = 100;

QList<QWidget*> visibleWidgets(const QList<QPointer<QWidget>>& widgets) {
    QList<QWidget*> result;
    for (const QPointer<QWidget>& widget : widgets)
        if (widget && widget->isVisible() && widget->windowHandle())
            result.append(widget);
    return result;
}

QList<QWindow*> windowsOf(const QList<QWidget*>& widgets) {
    QList<QWindow*> windows;
    for (QWidget* widget : widgets)
        windows.append(widget->windowHandle());
    return windows;
}

} // namespace

StackKeeper::StackKeeper(xcb_connection_t* connection, xcb_window_t root, QObject* parent)
    : QObject(parent), connection_(connection), root_(root) {
    // Adds to the events the toolkit already selected on the root window
    // instead of replacing them.
    xcb_get_window_attributes_reply_t* attributes = xcb_get_window_attributes_reply(
        connection, xcb_get_window_attributes(connection, root), nullptr);
    const quint32 mask =
        (attributes ? attributes->your_event_mask : 0u) | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    std::free(attributes);
    xcb_change_window_attributes(connection, root, XCB_CW_EVENT_MASK, &mask);
    xcb_flush(connection);

    timer_.setSingleShot(true);
    connect(&timer_, &QTimer::timeout, this, &StackKeeper::restack);
}

void StackKeeper::addPanel(QWidget* panel) {
    panels_.append(panel);
    scheduleRestack();
}

void StackKeeper::addKeepAbove(QWidget* window) {
    keepAbove_.append(window);
    scheduleRestack();
}

void StackKeeper::setCompanionBelow(const QObject* panel, xcb_window_t window) {
    if (window == XCB_NONE)
        companions_.remove(panel);
    else
        companions_.insert(panel, window);
    scheduleRestack();
}

bool StackKeeper::handleEvent(const xcb_generic_event_t* event) {
    xcb_window_t parent = XCB_NONE;
    switch (event->response_type & 0x7f) {
    case XCB_MAP_NOTIFY:
        parent = reinterpret_cast<const xcb_map_notify_event_t*>(event)->event;
        break;
    case XCB_CONFIGURE_NOTIFY: {
        const auto* configure = reinterpret_cast<const xcb_configure_notify_event_t*>(event);
        if (configure->window == root_)
            return false;
        parent = configure->event;
        break;
    }
    case XCB_CIRCULATE_NOTIFY:
        parent = reinterpret_cast<const xcb_circulate_notify_event_t*>(event)->event;
        break;
    default:
        return false;
    }
    if (parent != root_)
        return false;
    scheduleRestack();
    return true;
}

void StackKeeper::scheduleRestack() {
    if (timer_.isActive())
        return;
    const qint64 since = sinceRaise_.isValid() ? sinceRaise_.elapsed() : minRaiseIntervalMs;
    timer_.start(int(qMax<qint64>(0, minRaiseIntervalMs - since)));
}

void StackKeeper::restack() {
    panels_.removeAll(nullptr);
    keepAbove_.removeAll(nullptr);
    const QList<QWidget*> panelWidgets = visibleWidgets(panels_);
    if (panelWidgets.isEmpty())
        return;
    const QList<QWindow*> panels = windowsOf(panelWidgets);
    QList<QWindow*> keepAbove = windowsOf(visibleWidgets(keepAbove_));
    QList<QWindow*> others;
    for (QWindow* window : QGuiApplication::allWindows()) {
        if (!window->isVisible() || !window->isTopLevel() || window->type() == Qt::ForeignWindow ||
            panels.contains(window) || keepAbove.contains(window))
            continue;
        // Menus and tooltips of this program open over the panels and stay
        // there; its other windows keep whatever place they have.
        if (window->type() == Qt::Popup || window->type() == Qt::ToolTip)
            keepAbove.append(window);
        else
            others.append(window);
    }

    QSet<quint32> panelIds = rootChildrenOf(panels);
    for (QWidget* panel : panelWidgets)
        if (const xcb_window_t companion = companions_.value(panel, XCB_NONE))
            panelIds.insert(companion);
    if (!panelsNeedRaising(rootChildren(), panelIds, rootChildrenOf(keepAbove),
                           rootChildrenOf(others)))
        return;

    for (QWidget* panel : panelWidgets) {
        if (const xcb_window_t companion = companions_.value(panel, XCB_NONE)) {
            const quint32 above = XCB_STACK_MODE_ABOVE;
            xcb_configure_window(connection_, companion, XCB_CONFIG_WINDOW_STACK_MODE, &above);
        }
        panel->windowHandle()->raise();
    }
    for (QWindow* window : keepAbove)
        window->raise();
    xcb_flush(connection_);
    sinceRaise_.start();
}

QSet<quint32> StackKeeper::rootChildrenOf(const QList<QWindow*>& windows) const {
    QSet<quint32> ids;
    for (QWindow* window : windows)
        ids.insert(rootChildOf(xcb_window_t(window->winId())));
    return ids;
}

QList<xcb_window_t> StackKeeper::rootChildren() const {
    QList<xcb_window_t> children;
    xcb_query_tree_reply_t* tree =
        xcb_query_tree_reply(connection_, xcb_query_tree(connection_, root_), nullptr);
    if (!tree)
        return children;
    const xcb_window_t* list = xcb_query_tree_children(tree);
    children = QList<xcb_window_t>(list, list + xcb_query_tree_children_length(tree));
    std::free(tree);
    return children;
}

xcb_window_t StackKeeper::rootChildOf(xcb_window_t window) const {
    // A window manager may have put a frame around a window; the frame is
    // what is stacked among the root's children.
    for (;;) {
        xcb_query_tree_reply_t* tree =
            xcb_query_tree_reply(connection_, xcb_query_tree(connection_, window), nullptr);
        if (!tree)
            return window;
        const xcb_window_t parent = tree->parent;
        std::free(tree);
        if (parent == root_ || parent == XCB_NONE)
            return window;
        window = parent;
    }
}

} // namespace markvane::platform
