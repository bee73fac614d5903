#pragma once

#include <QList>
#include <QString>
#include <optional>

namespace markvane {

// The drawing tools, in case-list order.
enum class Tool : quint8 {
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
    move
};

QString toolRawValue(Tool tool);
std::optional<Tool> toolFromRawValue(const QString& raw);
QString toolLabel(Tool tool);
QString toolSymbolName(Tool tool);
const QList<Tool>& allTools();

// Pen and highlighter: points grow while dragging.
bool isFreehand(Tool tool);
// Line, arrow, rectangle, ellipse: exactly two points, may be filled.
bool isShape(Tool tool);

// Tools complete in the model that no user-facing list offers.
bool isWithheld(Tool tool);
const QList<Tool>& withheldTools();
// The eleven tools the toolbar can show, in order.
const QList<Tool>& toolbarToolOrder();
// toolbarToolOrder without the withheld tools: what users can pick.
const QList<Tool>& offeredTools();

enum class RedactStyle : quint8 { blur, pixelate, solid };

QString redactStyleRawValue(RedactStyle style);
std::optional<RedactStyle> redactStyleFromRawValue(const QString& raw);
QString redactStyleLabel(RedactStyle style);

// Auto-erase delay of a finished annotation; the raw value is seconds.
enum class FadeInterval { off = 0, twoSec = 2, fiveSec = 5, tenSec = 10 };

int fadeIntervalSeconds(FadeInterval fade);
std::optional<FadeInterval> fadeIntervalFromSeconds(qint64 seconds);
QString fadeIntervalLabel(FadeInterval fade);
const QList<FadeInterval>& allFadeIntervals();

} // namespace markvane
