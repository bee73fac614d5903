#include "app/RemoteControlService.h"

#include "app/ControlValues.h"
#include "app/RemoteProtocol.h"
#include "app/ShellActions.h"

#include <QDBusConnectionInterface>
#include <QDBusReply>
#include <QTimer>

namespace markvane {

RemoteControlService::RemoteControlService(ShellActions* shell, QObject* parent) : QObject(parent) {
    setShell(shell);
}

RemoteControlService::~RemoteControlService() {
    if (m_bus) {
        m_bus->unregisterService(QString::fromLatin1(remote::kService));
        m_bus->unregisterObject(QString::fromLatin1(remote::kPath));
    }
}

void RemoteControlService::setShell(ShellActions* shell) {
    if (m_shell)
        disconnect(m_shell, nullptr, this, nullptr);
    m_shell = shell;
    if (shell)
        connect(shell, &ShellActions::drawModeChanged, this,
                &RemoteControlService::DrawModeChanged);
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
    return m_shell && m_shell->drawModeEnabled();
}

void RemoteControlService::refuse(const char* errorName, const QString& message) {
    if (calledFromDBus())
        sendErrorReply(QString::fromLatin1(errorName), message);
}

ShellActions* RemoteControlService::shell() {
    if (!m_shell)
        refuse(remote::kErrorUnavailable, QStringLiteral("Markvane is still starting."));
    return m_shell;
}

void RemoteControlService::Activate() {
    if (ShellActions* s = shell())
        s->reopen();
}

void RemoteControlService::ToggleToolbar() {
    ShellActions* s = shell();
    if (s && !s->hasToolbar())
        return refuse(remote::kErrorUnavailable,
                      QStringLiteral("This version of Markvane has no toolbar yet."));
    if (s)
        s->toggleToolbar();
}

void RemoteControlService::ToggleDrawMode() {
    if (ShellActions* s = shell())
        s->toggleDrawMode();
}

void RemoteControlService::Clear() {
    if (ShellActions* s = shell())
        s->clear();
}

void RemoteControlService::HideAll() {
    if (ShellActions* s = shell())
        s->toggleHidden();
}

void RemoteControlService::Undo() {
    if (ShellActions* s = shell())
        s->undo();
}

void RemoteControlService::Redo() {
    if (ShellActions* s = shell())
        s->redo();
}

void RemoteControlService::ToggleKeystrokes() {
    ShellActions* s = shell();
    if (s && !s->hasKeystrokes())
        return refuse(remote::kErrorUnavailable,
                      QStringLiteral("This version of Markvane cannot show keystrokes yet."));
    if (s)
        s->toggleKeystrokes();
}

void RemoteControlService::CycleCursorEffect() {
    ShellActions* s = shell();
    if (s && !s->hasCursorEffects())
        return refuse(remote::kErrorUnavailable,
                      QStringLiteral("This version of Markvane has no cursor effects yet."));
    if (s)
        s->cycleCursorEffect();
}

void RemoteControlService::SetTool(const QString& name) {
    QString error;
    const std::optional<Tool> tool = parseToolName(name, &error);
    if (!tool)
        return refuse(remote::kErrorInvalidArgument, error);
    if (ShellActions* s = shell())
        s->setTool(*tool);
}

void RemoteControlService::SetColor(int number) {
    QString error;
    const std::optional<int> valid = parseColourNumber(QString::number(number), &error);
    if (!valid)
        return refuse(remote::kErrorInvalidArgument, error);
    if (ShellActions* s = shell())
        s->setPaletteIndex(*valid - 1);
}

void RemoteControlService::SetWidth(int number) {
    QString error;
    const std::optional<int> valid = parseWidthNumber(QString::number(number), &error);
    if (!valid)
        return refuse(remote::kErrorInvalidArgument, error);
    if (ShellActions* s = shell())
        s->setWidthIndex(*valid - 1);
}

void RemoteControlService::SetFade(int seconds) {
    QString error;
    const std::optional<FadeInterval> fade = parseFadeSeconds(QString::number(seconds), &error);
    if (!fade)
        return refuse(remote::kErrorInvalidArgument, error);
    if (ShellActions* s = shell())
        s->setFade(*fade);
}

void RemoteControlService::Quit() {
    // Leave the reply on its way before the program winds down.
    if (ShellActions* s = shell())
        QTimer::singleShot(0, s, [s] { s->quit(); });
}

} // namespace markvane
