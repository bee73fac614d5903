#include "app/ControlValues.h"

namespace markvane {
namespace {

// Digits only: "+3", " 3" and "3.0" are not numbers a user meant here.
std::optional<qint64> parsePlainNumber(const QString& text) {
    if (text.isEmpty() || text.size() > 9)
        return std::nullopt;
    for (QChar c : text) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return std::nullopt;
    }
    return text.toLongLong();
}

QString quoted(const QString& text) {
    return QLatin1Char('"') + text + QLatin1Char('"');
}

} // namespace

const QList<Tool>& pickableTools() {
    static const QList<Tool> tools = [] {
        QList<Tool> list = offeredTools();
        list << Tool::eraser << Tool::move;
        return list;
    }();
    return tools;
}

std::optional<Tool> parseToolName(const QString& text, QString* error) {
    const std::optional<Tool> tool = toolFromRawValue(text);
    if (tool && pickableTools().contains(*tool))
        return tool;
    QStringList names;
    for (Tool t : pickableTools())
        names << toolRawValue(t);
    if (error)
        *error = QStringLiteral("Unknown tool %1. Choose one of: %2.")
                     .arg(quoted(text), names.join(QLatin1String(", ")));
    return std::nullopt;
}

bool isValidColourNumber(qint64 number) {
    return number >= 1 && number <= kColourCount;
}

bool isValidWidthNumber(qint64 number) {
    return number >= 1 && number <= kWidthCount;
}

std::optional<int> parseColourNumber(const QString& text, QString* error) {
    const std::optional<qint64> number = parsePlainNumber(text);
    if (number && isValidColourNumber(*number))
        return int(*number);
    if (error)
        *error = QStringLiteral("Unknown colour %1. Choose a palette colour from 1 to %2.")
                     .arg(quoted(text))
                     .arg(kColourCount);
    return std::nullopt;
}

std::optional<int> parseWidthNumber(const QString& text, QString* error) {
    const std::optional<qint64> number = parsePlainNumber(text);
    if (number && isValidWidthNumber(*number))
        return int(*number);
    if (error)
        *error = QStringLiteral("Unknown width %1. Choose 1 (thin), 2 (medium) or 3 (thick).")
                     .arg(quoted(text));
    return std::nullopt;
}

std::optional<FadeInterval> parseFadeSeconds(const QString& text, QString* error) {
    if (text == QLatin1String("off"))
        return FadeInterval::off;
    if (const std::optional<qint64> number = parsePlainNumber(text)) {
        if (const auto fade = fadeIntervalFromSeconds(*number))
            return fade;
    }
    if (error)
        *error = QStringLiteral("Unknown fade %1. Choose 0 (off), 2, 5 or 10 seconds.")
                     .arg(quoted(text));
    return std::nullopt;
}

} // namespace markvane
