#pragma once

#include <QColor>
#include <QIcon>
#include <QImage>
#include <QRectF>

class QPainter;

namespace markvane {

// Colours of the status icon. With draw mode off the ring is drawn in
// `monochrome` (the theme's text colour, standing in for a template image the
// tray would tint); with draw mode on in `accent`, with a centre dot.
struct StatusIconStyle {
    bool drawMode = false;
    QColor accent;
    QColor monochrome;
};

// The style for the current application palette: Highlight as the accent,
// WindowText as the monochrome tint.
StatusIconStyle statusIconStyleFromPalette(bool drawMode);

// Draws the ring with four ticks (and the dot in draw mode) into `rect`, which
// is taken as 24 units square.
void paintStatusIcon(QPainter& painter, const QRectF& rect, const StatusIconStyle& style);

// A square transparent image of the icon, `pixels` wide.
QImage statusIconImage(const StatusIconStyle& style, int pixels);

// The icon in the sizes trays ask for.
QIcon statusIcon(const StatusIconStyle& style);

} // namespace markvane
