#include "app/RemoteClient.h"

#include "app/RemoteProtocol.h"

#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusReply>
#include <QDeadlineTimer>
#include <QThread>

namespace markvane {

RemoteClient::RemoteClient(QDBusConnection bus) : m_bus(std::move(bus)) {}

bool RemoteClient::busConnected() const {
    return m_bus.isConnected();
}

bool RemoteClient::instanceRunning() const {
    if (!m_bus.isConnected())
        return false;
    QDBusMessage ask = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.DBus"), QStringLiteral("/org/freedesktop/DBus"),
        QStringLiteral("org.freedesktop.DBus"), QStringLiteral("NameHasOwner"));
    ask << QString::fromLatin1(remote::kService);
    const QDBusReply<bool> reply = m_bus.call(ask, QDBus::Block, remote::kCallTimeoutMs);
    return reply.isValid() && reply.value();
}

RemoteClient::Result RemoteClient::call(const RemoteRequest& request) const {
    QDBusMessage message = QDBusMessage::createMethodCall(
        QString::fromLatin1(remote::kService), QString::fromLatin1(remote::kPath),
        QString::fromLatin1(remote::kInterface), request.method);
    message.setArguments(request.arguments);
    const QDBusMessage reply = m_bus.call(message, QDBus::Block, remote::kCallTimeoutMs);
    if (reply.type() == QDBusMessage::ReplyMessage)
        return {true, {}};
    if (reply.errorName() == QLatin1String("org.freedesktop.DBus.Error.NoReply"))
        return {false, QStringLiteral("Markvane did not answer within %1 seconds.")
                           .arg(remote::kCallTimeoutMs / 1000)};
    if (reply.errorName() == QLatin1String("org.freedesktop.DBus.Error.ServiceUnknown"))
        return {false, QStringLiteral("Markvane is not running.")};
    return {false, reply.errorMessage()};
}

bool RemoteClient::waitForInstance(int timeoutMs, const std::function<bool()>& starterAlive) const {
    const QDeadlineTimer deadline(timeoutMs);
    while (!deadline.hasExpired()) {
        if (instanceRunning())
            return true;
        if (starterAlive && !starterAlive())
            return instanceRunning();
        QThread::msleep(50);
    }
    return instanceRunning();
}

} // namespace markvane
