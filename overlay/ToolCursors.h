#pragma once

#include <QColor>
#include <QCursor>
#include <QImage>
#include <QString>

namespace markvane {

// The drawn pointer shapes of the drawing tools. Each is made once and kept
// in one process-wide cache under a key naming what it shows.
namespace ToolCursors {

QString dotKey(const QColor& color);
QString beamKey(const QColor& color);
QString stampKey(const QString& stamp);

// The images, top-left origin, one pixel per point.
QImage dotImage(const QColor& color);
QImage beamImage(const QColor& color);
QImage eraserImage();

QCursor dot(const QColor& color);
QCursor beam(const QColor& color);
// The stamp's sticker centred on the hot spot; the arrow when no sticker can
// be made from the text.
QCursor stamp(const QString& stamp);
QCursor eraser();

// How many cursors the cache holds (so tests can see reuse).
int cachedCount();

} // namespace ToolCursors
} // namespace markvane
