#pragma once

#include "app/ShellActions.h"
#include "app/TrayMenuModel.h"

namespace markvane {

// The tray menu's view of the shell: what it shows, and what its entries do.
TrayMenuState trayMenuState(const ShellActions& shell);
void runTrayCommand(ShellActions& shell, TrayCommand command);

} // namespace markvane
