#include "platform/x11/X11HotKeys.h"

#include "platform/x11/KeyCodeMap.h"

#include <QDebug>
#include <QGuiApplication>
#include <QSocketNotifier>
#include <array>
#include <xcb/xcb.h>
#include <xcb/xcb_keysyms.h>

namespace markvane::platform::x11 {
namespace {

// The program's modifier bits.
constexpr quint64 kShift = 0x20000;
constexpr quint64 kControl = 0x40000;
constexpr quint64 kOption = 0x80000;
constexpr quint64 kCommand = 0x100000;

constexpr quint32 kNumLock = 0xff7f;
constexpr quint32 kAltL = 0xffe9, kAltR = 0xffea, kMetaL = 0xffe7, kMetaR = 0xffe8;
constexpr quint32 kSuperL = 0xffeb, kSuperR = 0xffec;

constexpr quint8 kBadAccess = 10;
// Status for a key that this keyboard does not have.
constexpr int kNoSuchKey = -1;

template <typename T> struct FreeDeleter {
    void operator()(T* p) const { free(p); }
};
template <typename T> using XcbReply = std::unique_ptr<T, FreeDeleter<T>>;

} // namespace

std::unique_ptr<X11HotKeys> X11HotKeys::onQtConnection() {
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    if (!x11 || !x11->connection())
        return nullptr;
    return std::unique_ptr<X11HotKeys>(new X11HotKeys(x11->connection(), 0, false));
}

std::unique_ptr<X11HotKeys> X11HotKeys::open(const QByteArray& displayName) {
    int screen = 0;
    xcb_connection_t* connection =
        xcb_connect(displayName.isEmpty() ? nullptr : displayName.constData(), &screen);
    if (xcb_connection_has_error(connection)) {
        xcb_disconnect(connection);
        return nullptr;
    }
    return std::unique_ptr<X11HotKeys>(new X11HotKeys(connection, screen, true));
}

std::unique_ptr<X11HotKeys> X11HotKeys::create() {
    if (auto onQt = onQtConnection())
        return onQt;
    return open({});
}

X11HotKeys::X11HotKeys(xcb_connection_t* connection, int screen, bool ownsConnection)
    : m_connection(connection), m_ownsConnection(ownsConnection), m_altMask(XCB_MOD_MASK_1),
      m_superMask(XCB_MOD_MASK_4) {
    xcb_screen_iterator_t it = xcb_setup_roots_iterator(xcb_get_setup(connection));
    for (int i = 0; i < screen && it.rem > 1; ++i)
        xcb_screen_next(&it);
    m_root = it.data->root;
    m_symbols = xcb_key_symbols_alloc(connection);
    findModifierMasks();
    if (ownsConnection) {
        m_notifier = std::make_unique<QSocketNotifier>(xcb_get_file_descriptor(connection),
                                                       QSocketNotifier::Read);
        connect(m_notifier.get(), &QSocketNotifier::activated, this, &X11HotKeys::readEvents);
    } else {
        QCoreApplication::instance()->installNativeEventFilter(this);
    }
}

X11HotKeys::~X11HotKeys() {
    if (!m_ownsConnection && QCoreApplication::instance())
        QCoreApplication::instance()->removeNativeEventFilter(this);
    while (!m_registered.empty())
        unregisterHotKey(m_registered.begin()->first);
    xcb_flush(m_connection);
    m_notifier.reset();
    xcb_key_symbols_free(m_symbols);
    if (m_ownsConnection)
        xcb_disconnect(m_connection);
}

HotKeyRegistration X11HotKeys::registerHotKey(quint32 id, quint16 keyCode, quint64 modifiers) {
    unregisterHotKey(id);
    const auto xKeyCode = xKeyCodeFromKeyCode(keyCode);
    const xcb_setup_t* setup = xcb_get_setup(m_connection);
    if (!xKeyCode || *xKeyCode < setup->min_keycode || *xKeyCode > setup->max_keycode)
        return {HotKeyRegistration::Result::failed, kNoSuchKey};
    const Combination combination{*xKeyCode, modifiers & (kShift | kControl | kOption | kCommand)};
    HotKeyRegistration registration{HotKeyRegistration::Result::registered, 0};
    if (!isShared(combination, id))
        registration = grab(combination);
    if (registration.ok())
        m_registered[id] = combination;
    scheduleRead();
    return registration;
}

void X11HotKeys::unregisterHotKey(quint32 id) {
    const auto it = m_registered.find(id);
    if (it == m_registered.end())
        return;
    const Combination combination = it->second;
    m_registered.erase(it);
    if (!isShared(combination, id))
        ungrab(combination);
    xcb_flush(m_connection);
}

bool X11HotKeys::isShared(const Combination& combination, quint32 exceptId) const {
    for (const auto& [id, other] : m_registered) {
        if (id != exceptId && other == combination)
            return true;
    }
    return false;
}

// The lock variants of a grab: none, Caps Lock, Num Lock, both.
static std::array<quint16, 4> lockVariants(quint16 numLockMask) {
    return {0, XCB_MOD_MASK_LOCK, numLockMask, quint16(XCB_MOD_MASK_LOCK | numLockMask)};
}

HotKeyRegistration X11HotKeys::grab(const Combination& combination) {
    const quint16 base = xModifiers(combination.modifiers);
    const auto variants = lockVariants(m_numLockMask);
    std::array<xcb_void_cookie_t, 4> cookies{};
    const size_t count = m_numLockMask ? 4 : 2;
    for (size_t i = 0; i < count; ++i) {
        cookies[i] =
            xcb_grab_key_checked(m_connection, 0, m_root, base | variants[i], combination.xKeyCode,
                                 XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC);
    }
    // Every variant is checked, so no error is left behind to arrive later
    // as an event.
    int errorCode = 0;
    for (size_t i = 0; i < count; ++i) {
        XcbReply<xcb_generic_error_t> error(xcb_request_check(m_connection, cookies[i]));
        if (error && errorCode == 0)
            errorCode = error->error_code;
    }
    if (errorCode == 0)
        return {HotKeyRegistration::Result::registered, 0};
    // Half a hot key would fire only in some lock states: release all of it.
    ungrab(combination);
    xcb_flush(m_connection);
    return {errorCode == kBadAccess ? HotKeyRegistration::Result::claimedByAnotherApplication
                                    : HotKeyRegistration::Result::failed,
            errorCode};
}

void X11HotKeys::ungrab(const Combination& combination) {
    // Ungrabbing releases only this client's grabs, so variants that were
    // never ours are left alone.
    const quint16 base = xModifiers(combination.modifiers);
    for (quint16 variant : lockVariants(m_numLockMask))
        xcb_ungrab_key(m_connection, combination.xKeyCode, m_root, base | variant);
}

quint16 X11HotKeys::xModifiers(quint64 modifiers) const {
    quint16 x = 0;
    if (modifiers & kShift)
        x |= XCB_MOD_MASK_SHIFT;
    if (modifiers & kControl)
        x |= XCB_MOD_MASK_CONTROL;
    if (modifiers & kOption)
        x |= m_altMask;
    if (modifiers & kCommand)
        x |= m_superMask;
    return x;
}

quint16 X11HotKeys::relevantStateMask() const {
    return XCB_MOD_MASK_SHIFT | XCB_MOD_MASK_CONTROL | m_altMask | m_superMask;
}

void X11HotKeys::findModifierMasks() {
    m_numLockMask = 0;
    m_altMask = XCB_MOD_MASK_1;
    m_superMask = XCB_MOD_MASK_4;
    XcbReply<xcb_get_modifier_mapping_reply_t> mapping(xcb_get_modifier_mapping_reply(
        m_connection, xcb_get_modifier_mapping(m_connection), nullptr));
    if (!mapping)
        return;
    const xcb_keycode_t* keycodes = xcb_get_modifier_mapping_keycodes(mapping.get());
    const int perModifier = mapping->keycodes_per_modifier;
    auto rowHolds = [&](int row, std::initializer_list<quint32> keysyms) {
        for (quint32 keysym : keysyms) {
            XcbReply<xcb_keycode_t> codes(xcb_key_symbols_get_keycode(m_symbols, keysym));
            for (const xcb_keycode_t* code = codes.get(); code && *code != XCB_NO_SYMBOL; ++code) {
                for (int k = 0; k < perModifier; ++k) {
                    if (keycodes[row * perModifier + k] == *code)
                        return true;
                }
            }
        }
        return false;
    };
    bool altFound = false;
    bool superFound = false;
    // Rows 3 to 7 are Mod1 to Mod5; the first three rows are fixed.
    for (int row = 3; row < 8; ++row) {
        const quint16 mask = quint16(1u << row);
        if (!m_numLockMask && rowHolds(row, {kNumLock}))
            m_numLockMask = mask;
        if (!altFound && rowHolds(row, {kAltL, kAltR, kMetaL, kMetaR})) {
            m_altMask = mask;
            altFound = true;
        }
        if (!superFound && rowHolds(row, {kSuperL, kSuperR})) {
            m_superMask = mask;
            superFound = true;
        }
    }
}

bool X11HotKeys::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) {
    if (eventType != "xcb_generic_event_t")
        return false;
    return handleEvent(static_cast<const xcb_generic_event_t*>(message));
}

void X11HotKeys::scheduleRead() {
    // Waiting for a reply can pull events into xcb's queue without the
    // socket becoming readable again; read them on the next turn of the loop.
    if (m_ownsConnection)
        QMetaObject::invokeMethod(this, &X11HotKeys::readEvents, Qt::QueuedConnection);
}

void X11HotKeys::readEvents() {
    while (xcb_generic_event_t* event = xcb_poll_for_event(m_connection)) {
        handleEvent(event);
        free(event);
    }
}

bool X11HotKeys::handleEvent(const xcb_generic_event_t* event) {
    switch (event->response_type & 0x7f) {
    case XCB_KEY_PRESS: {
        const auto* press = reinterpret_cast<const xcb_key_press_event_t*>(event);
        if (press->event != m_root)
            return false;
        keyPressed(press->detail, press->state, press->time);
        return true;
    }
    case XCB_KEY_RELEASE: {
        const auto* release = reinterpret_cast<const xcb_key_release_event_t*>(event);
        if (release->event != m_root)
            return false;
        m_held.erase(release->detail);
        m_lastRelease[release->detail] = release->time;
        return true;
    }
    case XCB_MAPPING_NOTIFY:
        xcb_refresh_keyboard_mapping(m_symbols, reinterpret_cast<xcb_mapping_notify_event_t*>(
                                                    const_cast<xcb_generic_event_t*>(event)));
        mappingChanged();
        return false; // Qt needs to see it too
    default:
        return false;
    }
}

void X11HotKeys::keyPressed(quint8 xKeyCode, quint16 state, quint32 time) {
    // Auto-repeat sends either presses without releases, or a release and a
    // press with the same time stamp; neither is a new press.
    const auto lastRelease = m_lastRelease.find(xKeyCode);
    const bool repeat = m_held.count(xKeyCode) ||
                        (lastRelease != m_lastRelease.end() && lastRelease->second == time);
    m_held.insert(xKeyCode);
    if (repeat)
        return;
    const quint16 pressed = state & relevantStateMask();
    QList<quint32> ids;
    for (const auto& [id, combination] : m_registered) {
        if (combination.xKeyCode == xKeyCode && xModifiers(combination.modifiers) == pressed)
            ids.append(id);
    }
    for (quint32 id : ids)
        Q_EMIT activated(id);
}

void X11HotKeys::mappingChanged() {
    // The modifier map may have moved Num Lock, Alt or Super: drop every grab
    // and take them again with the new masks.
    xcb_ungrab_key(m_connection, XCB_GRAB_ANY, m_root, XCB_MOD_MASK_ANY);
    findModifierMasks();
    std::map<quint32, Combination> previous;
    previous.swap(m_registered);
    for (const auto& [id, combination] : previous) {
        if (isShared(combination, id) || grab(combination).ok())
            m_registered[id] = combination;
        else
            qWarning() << "X11 hot key" << id << "lost after a keyboard mapping change";
    }
    xcb_flush(m_connection);
}

} // namespace markvane::platform::x11
