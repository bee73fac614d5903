#pragma once

#include "annotations/Tool.h"

#include <QList>
#include <QString>
#include <optional>

namespace markvane {

// What a single key does while drawing, in search order. The first thirteen
// choose the tool of the same name.
enum class DrawAction {
    pen,
    highlighter,
    line,
    arrow,
    rectangle,
    ellipse,
    text,
    ruler,
    stamp,
    eraser,
    snipe,
    redact,
    move,
    colour1,
    colour2,
    colour3,
    colour4,
    colour5,
    thinner,
    thicker
};

QString drawActionRawValue(DrawAction action);
std::optional<DrawAction> drawActionFromRawValue(const QString& raw);
QString drawActionLabel(DrawAction action);
// Every default is this key without modifiers.
quint16 drawActionDefaultKeyCode(DrawAction action);
const QList<DrawAction>& allDrawActions();

// The tool a tool action chooses; nothing for colours and widths.
std::optional<Tool> drawActionTool(DrawAction action);
// The palette entry (0-4) a colour action chooses.
std::optional<int> drawActionPaletteIndex(DrawAction action);
// A tool action whose tool no user-facing list offers: it never matches a key
// and never conflicts with another action.
bool isWithheldDrawAction(DrawAction action);

} // namespace markvane
