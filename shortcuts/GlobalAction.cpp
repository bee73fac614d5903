#include "shortcuts/GlobalAction.h"

#include <array>

namespace markvane {
namespace {

struct ActionInfo {
    GlobalAction action;
    const char* raw;
    const char* label;
    quint16 defaultKeyCode;
};

constexpr std::array<ActionInfo, 8> kActions{{
    {GlobalAction::toolbar, "toolbar", "Show / hide the toolbar", 31},
    {GlobalAction::drawMode, "drawMode", "Toggle draw mode", 2},
    {GlobalAction::clear, "clear", "Clear all annotations", 51},
    {GlobalAction::hideAll, "hideAll", "Hide / show all annotations", 4},
    {GlobalAction::undo, "undo", "Undo", 6},
    {GlobalAction::redo, "redo", "Redo", 16},
    {GlobalAction::keystrokes, "keystrokes", "Toggle the keystroke overlay", 40},
    {GlobalAction::cursorEffect, "cursorEffect", "Cycle cursor effect", 8},
}};

const ActionInfo& info(GlobalAction action) {
    return kActions[static_cast<size_t>(action)];
}

} // namespace

QString globalActionRawValue(GlobalAction action) {
    return QString::fromLatin1(info(action).raw);
}

std::optional<GlobalAction> globalActionFromRawValue(const QString& raw) {
    for (const auto& entry : kActions) {
        if (raw == QLatin1String(entry.raw))
            return entry.action;
    }
    return std::nullopt;
}

QString globalActionLabel(GlobalAction action) {
    return QString::fromLatin1(info(action).label);
}

quint16 globalActionDefaultKeyCode(GlobalAction action) {
    return info(action).defaultKeyCode;
}

const QList<GlobalAction>& allGlobalActions() {
    static const QList<GlobalAction> actions = [] {
        QList<GlobalAction> list;
        for (const auto& entry : kActions)
            list.append(entry.action);
        return list;
    }();
    return actions;
}

} // namespace markvane
