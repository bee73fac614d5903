#pragma once

#include "app/ShellActions.h"
#include "app/TrayMenuModel.h"

#include <memory>

class QSystemTrayIcon;

namespace markvane {

// The running program behind the tray menu and remote control: installs the
// desktop services and drives the app controller and the shared models.
class ProgramShell : public ShellActions {
    Q_OBJECT
public:
    static std::unique_ptr<ProgramShell> create();

    // The app controller's launch wiring; called once.
    virtual void start() = 0;
    virtual TrayMenuInputs menuInputs() const = 0;
    // How to reach the actions when the desktop has no tray.
    virtual QString noTrayNotice() const = 0;
    // Notices use the tray icon's balloons once it is shown.
    virtual void setTrayIcon(QSystemTrayIcon* icon) = 0;
};

} // namespace markvane
