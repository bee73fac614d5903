#include "DrawingProbe.h"

#include "annotations/Palette.h"

#include <cmath>
#include <gtest/gtest.h>

using namespace markvane;
using namespace markvane::testing;

TEST(AnnotationBounds, StampIsCentredOnItsPointAndTextStartsAtItsAnchor) {
    Annotation stamp = makeAnnotation(Tool::stamp, {{100, 100}});
    stamp.text = QStringLiteral("\U0001F44D");
    stamp.fontSize = 44;
    EXPECT_NEAR(stamp.bounds().center().x(), 100, 0.01);
    EXPECT_NEAR(stamp.bounds().center().y(), 100, 0.01);

    const QRectF textBounds = makeAnnotation(Tool::text, {{5, 7}}).bounds();
    EXPECT_EQ(textBounds.topLeft(), QPointF(5, 7));
    EXPECT_GE(textBounds.width(), 8);
    EXPECT_GE(textBounds.height(), 8);
}

TEST(AnnotationBounds, PointsAndCurveControlSpanTheRectangle) {
    EXPECT_EQ(makeAnnotation(Tool::pen, {{3, 4}}).bounds(), QRectF(3, 4, 0, 0));
    EXPECT_EQ(Annotation{}.bounds(), QRectF());
    Annotation arrow = makeAnnotation(Tool::arrow, {{0, 0}, {100, 0}});
    arrow.curveControl = QPointF(50, 80);
    EXPECT_EQ(arrow.bounds(), QRectF(0, 0, 100, 80));
}

TEST(AnnotationScale, NonPositiveFactorsChangeNothingAndFontSizesClampAt400) {
    Annotation line = makeAnnotation(Tool::line, {{0, 0}, {10, 10}});
    line.scale(0);
    line.scale(-1);
    EXPECT_EQ(line.points.last(), QPointF(10, 10));
    line.scale(2);
    EXPECT_EQ(line.points, (QList<QPointF>{{-5, -5}, {15, 15}}));

    Annotation text = makeAnnotation(Tool::text, {{1, 1}});
    text.fontSize = 380;
    text.scale(1.08);
    EXPECT_DOUBLE_EQ(text.fontSize, 400);
    EXPECT_EQ(text.points.first(), QPointF(1, 1));
}

TEST(ConstrainedPoint, OthersThanBoxToolsSnapTo45Degrees) {
    const QPointF snapped = constrainedPoint(Tool::line, {0, 0}, {10, 3});
    EXPECT_NEAR(snapped.x(), std::sqrt(109.0), 1e-9);
    EXPECT_NEAR(snapped.y(), 0, 1e-9);
    const QPointF diagonal = constrainedPoint(Tool::arrow, {0, 0}, {10, 9});
    EXPECT_NEAR(diagonal.x(), diagonal.y(), 1e-9);
}

TEST(ColourText, RoundTripsAndRejectsMalformedText) {
    EXPECT_EQ(hexString(*colorFromHex(QStringLiteral("#1A2B3C"))), QStringLiteral("#1A2B3C"));
    EXPECT_EQ(colorFromHex(QStringLiteral(" \t#ff8000 ")), QColor(255, 128, 0));
    EXPECT_EQ(colorFromHex(QStringLiteral("00ff00")), QColor(0, 255, 0));
    for (const char* bad : {"#fff", "#12345G", "#-12345", "\n#123456"})
        EXPECT_FALSE(colorFromHex(QString::fromLatin1(bad)).has_value()) << bad;
}
