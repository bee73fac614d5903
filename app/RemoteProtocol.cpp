#include "app/RemoteProtocol.h"

namespace markvane::remote {

const QList<ActionMethod>& actionMethods() {
    static const QList<ActionMethod> methods{
        {"toolbar", "ToggleToolbar"},
        {"drawMode", "ToggleDrawMode"},
        {"clear", "Clear"},
        {"hideAll", "HideAll"},
        {"undo", "Undo"},
        {"redo", "Redo"},
        {"keystrokes", "ToggleKeystrokes"},
        {"cursorEffect", "CycleCursorEffect"},
    };
    return methods;
}

std::optional<QString> methodForAction(const QString& actionName) {
    for (const ActionMethod& entry : actionMethods()) {
        if (actionName == QLatin1String(entry.action))
            return QString::fromLatin1(entry.method);
    }
    return std::nullopt;
}

} // namespace markvane::remote
