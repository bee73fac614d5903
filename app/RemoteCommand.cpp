#include "app/RemoteCommand.h"

#include "app/Autostart.h"
#include "app/RemoteClient.h"
#include "app/RemoteProtocol.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QProcess>
#include <csignal>
#include <cstdio>

namespace markvane {
namespace {

void say(FILE* stream, const QString& text) {
    std::fprintf(stream, "%s\n", qPrintable(text));
}

bool applyAutostart(bool enabled) {
    Autostart autostart = Autostart::forThisProgram();
    QString error;
    if (!autostart.setEnabled(enabled, &error)) {
        say(stderr, QStringLiteral("markvane: ") + error);
        return false;
    }
    say(stdout,
        enabled ? QStringLiteral("Markvane will start at login (%1).").arg(autostart.entryPath())
                : QStringLiteral("Markvane will not start at login."));
    return true;
}

// Starts the program detached from this command, so that the command can end
// while the program goes on.
bool startInstance(const RemoteClient& client) {
    QProcess process;
    process.setProgram(QCoreApplication::applicationFilePath());
    // The program outlives this command: it must not hold the command's
    // output open (a caller reading it to the end would wait forever).
    process.setStandardInputFile(QProcess::nullDevice());
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    qint64 pid = 0;
    if (!process.startDetached(&pid)) {
        say(stderr, QStringLiteral("markvane: could not start Markvane."));
        return false;
    }
    const auto alive = [pid] { return ::kill(pid_t(pid), 0) == 0; };
    if (!client.waitForInstance(remote::kStartTimeoutMs, alive)) {
        say(stderr, QStringLiteral("markvane: Markvane was started but did not come up on the "
                                   "session bus (is there a display?)."));
        return false;
    }
    return true;
}

} // namespace

int runRemoteCommand(const Invocation& invocation) {
    if (invocation.autostart && !applyAutostart(*invocation.autostart))
        return 1;
    if (invocation.requests.isEmpty())
        return 0;

    const RemoteClient client(QDBusConnection::sessionBus());
    if (!client.busConnected()) {
        say(stderr, QStringLiteral("markvane: no D-Bus session bus, so the running Markvane "
                                   "cannot be reached (DBUS_SESSION_BUS_ADDRESS is %1).")
                        .arg(qEnvironmentVariableIsSet("DBUS_SESSION_BUS_ADDRESS")
                                 ? QStringLiteral("set but unusable")
                                 : QStringLiteral("not set")));
        return 1;
    }
    if (!client.instanceRunning()) {
        if (invocation.quitOnly()) {
            say(stdout, QStringLiteral("Markvane is not running."));
            return 0;
        }
        if (!startInstance(client))
            return 1;
    }
    for (const RemoteRequest& request : invocation.requests) {
        const RemoteClient::Result result = client.call(request);
        if (!result.ok) {
            say(stderr, QStringLiteral("markvane: ") + result.error);
            return 1;
        }
    }
    return 0;
}

} // namespace markvane
