#pragma once

#include "annotations/Tool.h"

#include <QColor>
#include <QImage>
#include <QList>
#include <QPointF>
#include <QRectF>
#include <QString>
#include <QUuid>
#include <optional>

namespace markvane {

// One drawn item, in global points (origin bottom left of the main display,
// y up). A value: copies are cheap because points, text and image are
// implicitly shared.
struct Annotation {
    // Fields are ordered to avoid padding: undo snapshots hold hundreds of
    // these per step, so every byte counts 25,000 times.
    QUuid id = QUuid::createUuid();
    QColor color;
    Tool tool = Tool::pen;
    RedactStyle redactStyle = RedactStyle::blur;
    bool filled = false;
    double width = 1;
    QList<QPointF> points;
    std::optional<QString> text;
    double fontSize = 18;
    std::optional<QImage> image;
    std::optional<double> completedAt;
    std::optional<double> expiresAt;
    std::optional<QPointF> curveControl;

    QRectF bounds() const;
    void translate(double dx, double dy);
    void scale(double factor);
};

// Where the pointer lands when the shift-constrain rule applies: a square for
// box-like tools, a 45° direction snap for the rest.
QPointF constrainedPoint(Tool tool, QPointF anchor, QPointF pointer);

// Font sizes of texts and stamps stay within these limits when resized.
inline constexpr double kMinFontSize = 6;
inline constexpr double kMaxFontSize = 400;

} // namespace markvane
