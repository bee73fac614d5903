#pragma once

#include <QList>
#include <QString>
#include <optional>

namespace markvane {

// The actions that fire from any application, in registration order (which is
// also the order of the duplicate search).
enum class GlobalAction { toolbar, drawMode, clear, hideAll, undo, redo, keystrokes, cursorEffect };

QString globalActionRawValue(GlobalAction action);
std::optional<GlobalAction> globalActionFromRawValue(const QString& raw);
QString globalActionLabel(GlobalAction action);
// Every default is this key with control + option.
quint16 globalActionDefaultKeyCode(GlobalAction action);
const QList<GlobalAction>& allGlobalActions();

} // namespace markvane
