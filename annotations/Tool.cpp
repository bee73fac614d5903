#include "annotations/Tool.h"

#include <array>

namespace markvane {
namespace {

struct ToolInfo {
    Tool tool;
    const char* raw;
    const char* label;
    const char* symbol;
};

constexpr std::array<ToolInfo, 13> kTools{{
    {Tool::pen, "pen", "Pen", "pencil.tip"},
    {Tool::highlighter, "highlighter", "Highlighter", "highlighter"},
    {Tool::line, "line", "Line", "line.diagonal"},
    {Tool::arrow, "arrow", "Arrow", "line.diagonal.arrow"},
    {Tool::rectangle, "rectangle", "Rectangle", "rectangle"},
    {Tool::ellipse, "ellipse", "Ellipse", "circle"},
    {Tool::text, "text", "Text", "textformat"},
    {Tool::ruler, "ruler", "Ruler", "ruler"},
    {Tool::stamp, "stamp", "Stamp", "face.smiling"},
    {Tool::eraser, "eraser", "Eraser", "eraser"},
    {Tool::snipe, "snipe", "Snipe", "camera.viewfinder"},
    {Tool::redact, "redact", "Redact", "eye.slash"},
    {Tool::move, "move", "Select / Move", "hand.point.up.left"},
}};

const ToolInfo& info(Tool tool) {
    return kTools[static_cast<size_t>(tool)];
}

} // namespace

QString toolRawValue(Tool tool) {
    return QString::fromLatin1(info(tool).raw);
}
QString toolLabel(Tool tool) {
    return QString::fromLatin1(info(tool).label);
}
QString toolSymbolName(Tool tool) {
    return QString::fromLatin1(info(tool).symbol);
}

std::optional<Tool> toolFromRawValue(const QString& raw) {
    for (const auto& entry : kTools) {
        if (raw == QLatin1String(entry.raw))
            return entry.tool;
    }
    return std::nullopt;
}

const QList<Tool>& allTools() {
    static const QList<Tool> tools = [] {
        QList<Tool> list;
        for (const auto& entry : kTools)
            list.append(entry.tool);
        return list;
    }();
    return tools;
}

bool isFreehand(Tool tool) {
    return tool == Tool::pen || tool == Tool::highlighter;
}

bool isShape(Tool tool) {
    return tool == Tool::line || tool == Tool::arrow || tool == Tool::rectangle ||
           tool == Tool::ellipse;
}

const QList<Tool>& withheldTools() {
    static const QList<Tool> tools{Tool::stamp, Tool::snipe, Tool::redact};
    return tools;
}

bool isWithheld(Tool tool) {
    return withheldTools().contains(tool);
}

const QList<Tool>& toolbarToolOrder() {
    static const QList<Tool> tools{Tool::pen,       Tool::highlighter, Tool::line, Tool::arrow,
                                   Tool::rectangle, Tool::ellipse,     Tool::text, Tool::ruler,
                                   Tool::snipe,     Tool::redact,      Tool::stamp};
    return tools;
}

const QList<Tool>& offeredTools() {
    static const QList<Tool> tools = [] {
        QList<Tool> list;
        for (Tool tool : toolbarToolOrder()) {
            if (!isWithheld(tool))
                list.append(tool);
        }
        return list;
    }();
    return tools;
}

QString redactStyleRawValue(RedactStyle style) {
    switch (style) {
    case RedactStyle::blur:
        return QStringLiteral("blur");
    case RedactStyle::pixelate:
        return QStringLiteral("pixelate");
    case RedactStyle::solid:
        return QStringLiteral("solid");
    }
    return QStringLiteral("blur");
}

std::optional<RedactStyle> redactStyleFromRawValue(const QString& raw) {
    for (RedactStyle style : {RedactStyle::blur, RedactStyle::pixelate, RedactStyle::solid}) {
        if (raw == redactStyleRawValue(style))
            return style;
    }
    return std::nullopt;
}

QString redactStyleLabel(RedactStyle style) {
    switch (style) {
    case RedactStyle::blur:
        return QStringLiteral("Blur");
    case RedactStyle::pixelate:
        return QStringLiteral("Pixelate");
    case RedactStyle::solid:
        return QStringLiteral("Solid");
    }
    return QStringLiteral("Blur");
}

int fadeIntervalSeconds(FadeInterval fade) {
    return static_cast<int>(fade);
}

std::optional<FadeInterval> fadeIntervalFromSeconds(qint64 seconds) {
    for (FadeInterval fade : allFadeIntervals()) {
        if (seconds == fadeIntervalSeconds(fade))
            return fade;
    }
    return std::nullopt;
}

QString fadeIntervalLabel(FadeInterval fade) {
    if (fade == FadeInterval::off)
        return QStringLiteral("Off");
    return QString::number(fadeIntervalSeconds(fade)) + QLatin1Char('s');
}

const QList<FadeInterval>& allFadeIntervals() {
    static const QList<FadeInterval> fades{FadeInterval::off, FadeInterval::twoSec,
                                           FadeInterval::fiveSec, FadeInterval::tenSec};
    return fades;
}

} // namespace markvane
