#pragma once

#include <QList>
#include <QString>
#include <optional>

namespace markvane::remote {

// The session-bus address of the running program. Owning the service name is
// what makes an instance the only one of the session.
inline constexpr char kService[] = "com.fernquay.Markvane";
inline constexpr char kPath[] = "/com/fernquay/Markvane";
inline constexpr char kInterface[] = "com.fernquay.Markvane";

inline constexpr char kErrorInvalidArgument[] = "com.fernquay.Markvane.Error.InvalidArgument";
inline constexpr char kErrorUnavailable[] = "com.fernquay.Markvane.Error.Unavailable";

// Bus calls never wait longer than this: a wedged peer must not hang a
// command typed in a terminal or bound to a key.
inline constexpr int kCallTimeoutMs = 5000;
// How long a command waits for an instance it started to appear on the bus.
inline constexpr int kStartTimeoutMs = 15000;

// One global action as people name it (the action's raw name) and the bus
// method that performs it.
struct ActionMethod {
    const char* action;
    const char* method;
};
const QList<ActionMethod>& actionMethods();
std::optional<QString> methodForAction(const QString& actionName);

} // namespace markvane::remote
