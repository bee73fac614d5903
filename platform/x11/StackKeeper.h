#pragma once

#include <QElapsedTimer>
#include <QHash>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QSet>
#include <QTimer>
#include <xcb/xcb.h>

class QWidget;
class QWindow;

namespace markvane::platform {

// Keeps the overlay panels above every other window, and some windows of this
// program (those marked, and its menus and tooltips) above the panels. Nothing in X keeps an
// unmanaged window on top, so this follows the root window's children (map, configure and circulate
// events) and raises the panels again whenever another window got above them.
class StackKeeper : public QObject {
    Q_OBJECT
public:
    StackKeeper(xcb_connection_t* connection, xcb_window_t root, QObject* parent = nullptr);

    void addPanel(QWidget* panel);
    void addKeepAbove(QWidget* window);
    // A window of ours that has to stay right below `panel` (XCB_NONE: none).
    void setCompanionBelow(const QObject* panel, xcb_window_t window);
    // Looks at one event of the connection; true when it may have changed
    // the stacking order.
    bool handleEvent(const xcb_generic_event_t* event);
    // Restores the wanted order now, if it is not already in place.
    void restack();

private:
    void scheduleRestack();
    QList<xcb_window_t> rootChildren() const;
    xcb_window_t rootChildOf(xcb_window_t window) const;
    QSet<quint32> rootChildrenOf(const QList<QWindow*>& windows) const;

    xcb_connection_t* connection_;
    xcb_window_t root_;
    QList<QPointer<QWidget>> panels_;
    QList<QPointer<QWidget>> keepAbove_;
    QHash<const QObject*, xcb_window_t> companions_;
    QTimer timer_;
    QElapsedTimer sinceRaise_;
};

} // namespace markvane::platform
