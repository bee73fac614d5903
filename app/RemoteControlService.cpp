#include "app/RemoteControlService.h"

#include "app/ControlValues.h"
#include "app/RemoteProtocol.h"
#include "app/ShellActions.h"

#include <QDBusConnectionInterface>
#include <QDBusReply>
#include <QTimer>

namespace markvane {

RemoteControlService::RemoteControlService(ShellActions& shell, QObject* parent)
    : QObject(parent), m_shell(shell) {
    connect(&shell, &ShellActions::drawModeChanged, this, &RemoteControlService::DrawModeChanged);
}

RemoteControlService::~RemoteControlService() {
    if (m_bus) {
        m_bus->unregisterService(QString::fromLatin1(remote::kService));
        m_bus->unregisterObject(QString::fromLatin1(remote::kPath));
    }
}

bool RemoteControlService::publish(QDBusConnection bus) {
    if (!bus.isConnected())
        return false;
    const QString path = QString::fromLatin1(remote::kPath);
    if (!bus.registerObject(path, this,
                            QDBusConnection::ExportScriptableSlots |
                                QDBusConnection::ExportScriptableSignals |
                                QDBusConnection::ExportScriptableProperties))
        return false;
    const QDBusReply<QDBusConnectionInterface::RegisterServiceReply> reply =
        bus.interface()->registerService(QString::fromLatin1(remote::kService),
                                         QDBusConnectionInterface::DontQueueService,
                                         QDBusConnectionInterface::DontAllowReplacement);
    if (!reply.isValid() || reply.value() != QDBusConnectionInterface::ServiceRegistered) {
        bus.unregisterObject(path);
        return false;
    }
    m_bus = bus;
    return true;
}

bool RemoteControlService::drawMode() const {
    return m_shell.drawModeEnabled();
}

void RemoteControlService::refuse(const char* errorName, const QString& message) {
    if (calledFromDBus())
        sendErrorReply(QString::fromLatin1(errorName), message);
}

void RemoteControlService::Activate() {
    m_shell.reopen();
}

void RemoteControlService::ToggleToolbar() {
    if (!m_shell.hasToolbar())
        return refuse(remote::kErrorUnavailable,
                      QStringLiteral("This version of Markvane has no toolbar yet."));
    m_shell.toggleToolbar();
}

void RemoteControlService::ToggleDrawMode() {
    m_shell.toggleDrawMode();
}

void RemoteControlService::Clear() {
    m_shell.clear();
}

void RemoteControlService::HideAll() {
    m_shell.toggleHidden();
}

void RemoteControlService::Undo() {
    m_shell.undo();
}

void RemoteControlService::Redo() {
    m_shell.redo();
}

void RemoteControlService::ToggleKeystrokes() {
    if (!m_shell.hasKeystrokes())
        return refuse(remote::kErrorUnavailable,
                      QStringLiteral("This version of Markvane cannot show keystrokes yet."));
    m_shell.toggleKeystrokes();
}

void RemoteControlService::CycleCursorEffect() {
    if (!m_shell.hasCursorEffects())
        return refuse(remote::kErrorUnavailable,
                      QStringLiteral("This version of Markvane has no cursor effects yet."));
    m_shell.cycleCursorEffect();
}

void RemoteControlService::SetTool(const QString& name) {
    QString error;
    if (const auto tool = parseToolName(name, &error))
        m_shell.setTool(*tool);
    else
        refuse(remote::kErrorInvalidArgument, error);
}

void RemoteControlService::SetColor(int number) {
    QString error;
    if (const auto valid = parseColourNumber(QString::number(number), &error))
        m_shell.setPaletteIndex(*valid - 1);
    else
        refuse(remote::kErrorInvalidArgument, error);
}

void RemoteControlService::SetWidth(int number) {
    QString error;
    if (const auto valid = parseWidthNumber(QString::number(number), &error))
        m_shell.setWidthIndex(*valid - 1);
    else
        refuse(remote::kErrorInvalidArgument, error);
}

void RemoteControlService::SetFade(int seconds) {
    QString error;
    if (const auto fade = parseFadeSeconds(QString::number(seconds), &error))
        m_shell.setFade(*fade);
    else
        refuse(remote::kErrorInvalidArgument, error);
}

void RemoteControlService::Quit() {
    // Leave the reply on its way before the program winds down.
    QTimer::singleShot(0, &m_shell, [shell = &m_shell] { shell->quit(); });
}

} // namespace markvane
