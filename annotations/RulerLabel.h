#pragma once

#include "annotations/ViewPainter.h"
#include "platform/Screens.h"

#include <QList>
#include <QPointF>
#include <QRectF>
#include <QString>

namespace markvane {

// Device pixels per point where a measured length lies: the first display
// whose frame holds the point, else the main display, else 2.
double displayFactor(const QList<platform::ScreenInfo>& screens, QPointF globalPoint);

// "N px  ·  M pt" for the global segment from g0 to g1 (zoom never changes it).
QString rulerLabelText(QPointF g0, QPointF g1, const QList<platform::ScreenInfo>& screens);

// Where the label goes in the view: beside the mapped segment q0–q1, to the
// left of the drawing direction, at a fixed size whatever the zoom.
struct RulerLabelLayout {
    QString text;
    QRectF textRect;   // y-up view coordinates
    QRectF background; // the rounded plate behind the text
};

RulerLabelLayout rulerLabelLayout(QPointF g0, QPointF g1, QPointF q0, QPointF q1,
                                  const QList<platform::ScreenInfo>& screens);

// A rectangle sure to hold the label's plate, found without laying the text
// out: what a repaint tests before drawing a ruler.
QRectF rulerLabelBound(QPointF g0, QPointF g1, QPointF q0, QPointF q1,
                       const QList<platform::ScreenInfo>& screens);

void drawRulerLabel(ViewPainter& view, QPointF g0, QPointF g1, QPointF q0, QPointF q1, double alpha,
                    const QList<platform::ScreenInfo>& screens);

} // namespace markvane
