#include "shortcuts/DrawAction.h"

#include <array>

namespace markvane {
namespace {

struct ActionInfo {
    DrawAction action;
    const char* raw;
    const char* label;
    quint16 defaultKeyCode;
};

constexpr std::array<ActionInfo, 20> kActions{{
    {DrawAction::pen, "pen", "Pen", 35},
    {DrawAction::highlighter, "highlighter", "Highlighter", 4},
    {DrawAction::line, "line", "Line", 37},
    {DrawAction::arrow, "arrow", "Arrow", 0},
    {DrawAction::rectangle, "rectangle", "Rectangle", 15},
    {DrawAction::ellipse, "ellipse", "Ellipse", 14},
    {DrawAction::text, "text", "Text", 17},
    {DrawAction::ruler, "ruler", "Ruler", 40},
    {DrawAction::stamp, "stamp", "Stamp", 1},
    {DrawAction::eraser, "eraser", "Eraser", 7},
    {DrawAction::snipe, "snipe", "Snipe", 45},
    {DrawAction::redact, "redact", "Redact", 2},
    {DrawAction::move, "move", "Select / Move", 46},
    {DrawAction::colour1, "colour1", "Colour 1", 18},
    {DrawAction::colour2, "colour2", "Colour 2", 19},
    {DrawAction::colour3, "colour3", "Colour 3", 20},
    {DrawAction::colour4, "colour4", "Colour 4", 21},
    {DrawAction::colour5, "colour5", "Colour 5", 23},
    {DrawAction::thinner, "thinner", "Thinner stroke", 33},
    {DrawAction::thicker, "thicker", "Thicker stroke", 30},
}};

const ActionInfo& info(DrawAction action) {
    return kActions[static_cast<size_t>(action)];
}

} // namespace

QString drawActionRawValue(DrawAction action) {
    return QString::fromLatin1(info(action).raw);
}

std::optional<DrawAction> drawActionFromRawValue(const QString& raw) {
    for (const auto& entry : kActions) {
        if (raw == QLatin1String(entry.raw))
            return entry.action;
    }
    return std::nullopt;
}

QString drawActionLabel(DrawAction action) {
    return QString::fromLatin1(info(action).label);
}

quint16 drawActionDefaultKeyCode(DrawAction action) {
    return info(action).defaultKeyCode;
}

const QList<DrawAction>& allDrawActions() {
    static const QList<DrawAction> actions = [] {
        QList<DrawAction> list;
        for (const auto& entry : kActions)
            list.append(entry.action);
        return list;
    }();
    return actions;
}

std::optional<Tool> drawActionTool(DrawAction action) {
    // The tool actions come first and share the tools' order and raw names.
    if (action > DrawAction::move)
        return std::nullopt;
    return toolFromRawValue(drawActionRawValue(action));
}

std::optional<int> drawActionPaletteIndex(DrawAction action) {
    if (action < DrawAction::colour1 || action > DrawAction::colour5)
        return std::nullopt;
    return static_cast<int>(action) - static_cast<int>(DrawAction::colour1);
}

bool isWithheldDrawAction(DrawAction action) {
    const auto tool = drawActionTool(action);
    return tool && isWithheld(*tool);
}

} // namespace markvane
