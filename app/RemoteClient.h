#pragma once

#include "app/CommandLine.h"

#include <QDBusConnection>
#include <QString>
#include <functional>

namespace markvane {

// Talks to the running instance over the session bus, never waiting longer
// than the protocol's time-outs.
class RemoteClient {
public:
    explicit RemoteClient(QDBusConnection bus);

    bool busConnected() const;
    bool instanceRunning() const;

    struct Result {
        bool ok = false;
        QString error; // what to tell the user when not ok
    };
    Result call(const RemoteRequest& request) const;

    // Polls until the instance owns its name. Gives up after `timeoutMs`, or
    // as soon as `starterAlive` says the starting process is gone.
    bool waitForInstance(int timeoutMs, const std::function<bool()>& starterAlive) const;

private:
    QDBusConnection m_bus;
};

} // namespace markvane
