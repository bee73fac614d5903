#pragma once

#include <QObject>
#include <QtGlobal>

namespace markvane::platform {

// What registering a system-wide hot key gave.
struct HotKeyRegistration {
    enum class Result {
        registered,
        // Another application holds the combination.
        claimedByAnotherApplication,
        // Anything else: no such key on this keyboard, no display...
        failed
    };
    Result result = Result::failed;
    // 0 when registered, else the platform's error code (for the log).
    int status = -1;

    bool ok() const { return result == Result::registered; }
};

// System-wide hot keys: combinations that fire wherever the keyboard focus is.
// Key codes and modifier bits are the program's own (0 = the A key position;
// shift 0x20000, control 0x40000, option 0x80000, command 0x100000).
class HotKeys : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;
    ~HotKeys() override = default;

    // Registers the combination under `id`, replacing what `id` had before.
    // One id may be registered once; several ids may share a combination.
    virtual HotKeyRegistration registerHotKey(quint32 id, quint16 keyCode, quint64 modifiers) = 0;
    virtual void unregisterHotKey(quint32 id) = 0;

Q_SIGNALS:
    // A registered combination was pressed; emitted on the GUI thread.
    void activated(quint32 id);
};

} // namespace markvane::platform
