#pragma once

#include "annotations/Tool.h"

#include <QString>
#include <QStringList>
#include <optional>

namespace markvane {

// Values a user can choose from outside the program (command line, remote
// control). Each parser returns the value or leaves `error` with a sentence
// that says what is accepted.

// The tools a user can pick: the offered ones plus eraser and move.
const QList<Tool>& pickableTools();
std::optional<Tool> parseToolName(const QString& text, QString* error);

// Palette colours are numbered 1 to 5, stroke widths 1 (thin) to 3 (thick), as
// people count them; the returned value is that number.
inline constexpr int kColourCount = 5;
inline constexpr int kWidthCount = 3;
std::optional<int> parseColourNumber(const QString& text, QString* error);
std::optional<int> parseWidthNumber(const QString& text, QString* error);
bool isValidColourNumber(qint64 number);
bool isValidWidthNumber(qint64 number);

// Seconds after which new annotations fade: 0 (or "off"), 2, 5 or 10.
std::optional<FadeInterval> parseFadeSeconds(const QString& text, QString* error);

} // namespace markvane
