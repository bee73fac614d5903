#pragma once

#include "platform/HotKeys.h"

#include <QAbstractNativeEventFilter>
#include <QByteArray>
#include <map>
#include <memory>
#include <set>

#include <xcb/xcb.h>
#include <xcb/xcb_keysyms.h>

class QSocketNotifier;

namespace markvane::platform::x11 {

// System-wide hot keys as passive key grabs on the root window. Each
// combination is grabbed four times, with and without Caps Lock and Num Lock,
// so the locks never stop a hot key. Ids that share a combination share one
// grab; the grab goes when the last of them is unregistered.
class X11HotKeys : public HotKeys, private QAbstractNativeEventFilter {
    Q_OBJECT
public:
    // On Qt's own X connection; presses arrive through Qt's event loop.
    // Null when Qt does not run on X11.
    static std::unique_ptr<X11HotKeys> onQtConnection();
    // On a private connection to the display (empty: $DISPLAY); presses are
    // read from its socket. Null when the display cannot be opened.
    static std::unique_ptr<X11HotKeys> open(const QByteArray& displayName);
    // Qt's connection when Qt runs on X11, else a private one to $DISPLAY
    // (XWayland, or Qt on another platform plugin); null without any display.
    static std::unique_ptr<X11HotKeys> create();

    ~X11HotKeys() override;

    HotKeyRegistration registerHotKey(quint32 id, quint16 keyCode, quint64 modifiers) override;
    void unregisterHotKey(quint32 id) override;

private:
    struct Combination {
        quint8 xKeyCode;
        quint64 modifiers; // the program's bits
        friend bool operator==(const Combination&, const Combination&) = default;
    };

    X11HotKeys(xcb_connection_t* connection, int screen, bool ownsConnection);

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;
    void readEvents();
    void scheduleRead();
    bool handleEvent(const xcb_generic_event_t* event);
    void keyPressed(quint8 xKeyCode, quint16 state, quint32 time);
    void mappingChanged();

    void findModifierMasks();
    quint16 xModifiers(quint64 modifiers) const;
    quint16 relevantStateMask() const;
    HotKeyRegistration grab(const Combination& combination);
    void ungrab(const Combination& combination);
    bool isShared(const Combination& combination, quint32 exceptId) const;

    xcb_connection_t* m_connection;
    bool m_ownsConnection;
    quint32 m_root = 0;
    xcb_key_symbols_t* m_symbols = nullptr;
    std::unique_ptr<QSocketNotifier> m_notifier;

    quint16 m_altMask;
    quint16 m_superMask;
    quint16 m_numLockMask = 0;

    std::map<quint32, Combination> m_registered;
    // Grabbed keys held down, so auto-repeat does not fire a hot key again.
    std::set<quint8> m_held;
    std::map<quint8, quint32> m_lastRelease;
};

} // namespace markvane::platform::x11
