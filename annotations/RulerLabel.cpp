#include "annotations/RulerLabel.h"

#include "annotations/TextMeasure.h"

#include <QFontDatabase>
#include <QFontMetricsF>
#include <QImage>
#include <QPainterPath>
#include <cmath>
#include <numbers>

namespace markvane {
namespace {

constexpr double kLabelFontSize = 12;
constexpr double kLabelDistance = 15;
constexpr double kPlateMarginX = 6;
constexpr double kPlateMarginY = 3;
constexpr double kPlateRadius = 5;
constexpr double kFallbackFactor = 2;

// Digits of equal width keep the label from jittering while the ruler is dragged.
QFont labelFont(double logicalDpi) {
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setWeight(QFont::DemiBold);
    font.setPointSizeF(kLabelFontSize * 72.0 / (logicalDpi > 0 ? logicalDpi : 72.0));
    return font;
}

// Measuring the label is part of every culled repaint, and making font
// metrics costs far more than using them. Kept for the life of the process
// (never destroyed, so nothing font-related outlives the application object).
const QFontMetricsF& labelMetrics() {
    static const QFontMetricsF* metrics =
        new QFontMetricsF(labelFont(pointMeasuringDevice().logicalDpiY()), &pointMeasuringDevice());
    return *metrics;
}

bool frameHolds(const QRectF& frame, QPointF p) {
    // Half-open, so that two adjacent displays never both claim a point.
    return p.x() >= frame.left() && p.x() < frame.right() && p.y() >= frame.top() &&
           p.y() < frame.bottom();
}

} // namespace

double displayFactor(const QList<platform::ScreenInfo>& screens, QPointF globalPoint) {
    for (const auto& screen : screens) {
        if (frameHolds(screen.frame, globalPoint))
            return screen.backingScale;
    }
    for (const auto& screen : screens) {
        if (screen.isMain)
            return screen.backingScale;
    }
    return kFallbackFactor;
}

QString rulerLabelText(QPointF g0, QPointF g1, const QList<platform::ScreenInfo>& screens) {
    const double length = std::hypot(g1.x() - g0.x(), g1.y() - g0.y());
    const double factor = displayFactor(screens, (g0 + g1) / 2.0);
    const auto pixels = static_cast<long long>(length * factor);
    const auto points = static_cast<long long>(length);
    return QString::number(pixels) + QStringLiteral(" px  \u00B7  ") + QString::number(points) +
           QStringLiteral(" pt");
}

namespace {

QPointF labelCentre(QPointF q0, QPointF q1) {
    const double angle = std::atan2(q1.y() - q0.y(), q1.x() - q0.x()) + std::numbers::pi / 2;
    return (q0 + q1) / 2.0 + QPointF(std::cos(angle), std::sin(angle)) * kLabelDistance;
}

} // namespace

QRectF rulerLabelBound(QPointF g0, QPointF g1, QPointF q0, QPointF q1,
                       const QList<platform::ScreenInfo>& screens) {
    // Digits, spaces, letters and the dot all share one advance in the fixed
    // font; a quarter spare covers a glyph borrowed from another font.
    const qsizetype characters = rulerLabelText(g0, g1, screens).size();
    const QFontMetricsF& metrics = labelMetrics();
    const double halfWidth = 1.25 * characters * metrics.maxWidth() / 2 + kPlateMarginX;
    const double halfHeight = 1.25 * metrics.height() / 2 + kPlateMarginY;
    const QPointF centre = labelCentre(q0, q1);
    return QRectF(centre.x() - halfWidth, centre.y() - halfHeight, 2 * halfWidth, 2 * halfHeight);
}

RulerLabelLayout rulerLabelLayout(QPointF g0, QPointF g1, QPointF q0, QPointF q1,
                                  const QList<platform::ScreenInfo>& screens) {
    RulerLabelLayout layout;
    layout.text = rulerLabelText(g0, g1, screens);
    const QSizeF size = labelMetrics().size(0, layout.text);
    const double angle = std::atan2(q1.y() - q0.y(), q1.x() - q0.x()) + std::numbers::pi / 2;
    const QPointF centre =
        (q0 + q1) / 2.0 + QPointF(std::cos(angle), std::sin(angle)) * kLabelDistance;
    const QPointF origin = centre - QPointF(size.width() / 2, size.height() / 2);
    layout.textRect = QRectF(origin, size);
    layout.background = QRectF(origin.x() - kPlateMarginX, origin.y() - kPlateMarginY,
                               size.width() + 2 * kPlateMarginX, size.height() + 2 * kPlateMarginY);
    return layout;
}

void drawRulerLabel(ViewPainter& view, QPointF g0, QPointF g1, QPointF q0, QPointF q1, double alpha,
                    const QList<platform::ScreenInfo>& screens) {
    const RulerLabelLayout layout = rulerLabelLayout(g0, g1, q0, q1, screens);
    QPainter& painter = view.painter();
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor::fromRgbF(0.05f, 0.05f, 0.05f, float(0.78 * alpha)));
    painter.drawRoundedRect(layout.background, kPlateRadius, kPlateRadius);
    painter.setFont(labelFont(view.logicalDpi()));
    painter.setPen(QColor::fromRgbF(1, 1, 1, float(alpha)));
    view.drawTextUpright(layout.textRect, Qt::AlignLeft | Qt::AlignTop, layout.text);
}

} // namespace markvane
