#pragma once

#include <QColor>
#include <QList>
#include <QString>
#include <optional>

namespace markvane {

QColor systemRed();
QColor systemYellow();
QColor systemGreen();
QColor systemBlue();

// Red, yellow, green, blue, white.
const QList<QColor>& defaultPalette();

// Stroke width in points for a width index: 3, 6, 11; any other index gives 6.
double strokeWidth(int widthIndex);

// The glyphs offered as stamps, and the one in use at first start.
const QList<QString>& stampChoices();
QString defaultStamp();

// "#RRGGBB", upper case, no alpha.
QString hexString(const QColor& color);
// Accepts "#rrggbb" or "rrggbb" with spaces or tabs around it.
std::optional<QColor> colorFromHex(const QString& text);

} // namespace markvane
