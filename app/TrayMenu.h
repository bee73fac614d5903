#pragma once

#include "app/TrayMenuModel.h"

#include <functional>

class QMenu;

namespace markvane {

// Replaces the menu's entries with the model's. Choosing an entry calls `run`
// with its command; shortcut hints are shown, not bound (the global hot keys
// do the binding).
void fillMenu(QMenu& menu, const QList<TrayMenuItem>& items,
              const std::function<void(TrayCommand)>& run);

} // namespace markvane
