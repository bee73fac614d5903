#pragma once

#include <QDBusConnection>
#include <QDBusContext>
#include <QObject>
#include <QPointer>
#include <optional>

namespace markvane {

class ShellActions;

// The remote-control object on the session bus. Every value that arrives is
// checked again here: the bus is open to any program of the session, not only
// to our own command line.
class RemoteControlService : public QObject, protected QDBusContext {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "com.fernquay.Markvane")
    Q_PROPERTY(bool DrawMode READ drawMode)
public:
    // Calls that arrive before a shell is attached are refused.
    explicit RemoteControlService(ShellActions* shell = nullptr, QObject* parent = nullptr);
    ~RemoteControlService() override;

    // Puts the object on the bus, then claims the service name. False when
    // another process already owns the name (or the bus refused); the object
    // is then taken off the bus again.
    bool publish(QDBusConnection bus);
    void setShell(ShellActions* shell);

    bool drawMode() const;

public Q_SLOTS:
    Q_SCRIPTABLE void Activate();
    Q_SCRIPTABLE void ToggleToolbar();
    Q_SCRIPTABLE void ToggleDrawMode();
    Q_SCRIPTABLE void Clear();
    Q_SCRIPTABLE void HideAll();
    Q_SCRIPTABLE void Undo();
    Q_SCRIPTABLE void Redo();
    Q_SCRIPTABLE void ToggleKeystrokes();
    Q_SCRIPTABLE void CycleCursorEffect();
    Q_SCRIPTABLE void SetTool(const QString& name);
    Q_SCRIPTABLE void SetColor(int number);
    Q_SCRIPTABLE void SetWidth(int number);
    Q_SCRIPTABLE void SetFade(int seconds);
    Q_SCRIPTABLE void Quit();

Q_SIGNALS:
    Q_SCRIPTABLE void DrawModeChanged(bool enabled);

private:
    void refuse(const char* errorName, const QString& message);
    // The shell, or nothing after refusing the call.
    ShellActions* shell();

    QPointer<ShellActions> m_shell;
    std::optional<QDBusConnection> m_bus;
};

} // namespace markvane
