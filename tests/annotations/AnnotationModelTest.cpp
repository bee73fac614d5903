#include "annotations/Annotation.h"
#include "annotations/Palette.h"

#include <cmath>
#include <gtest/gtest.h>

using namespace markvane;

TEST(ToolRawValues, AreCaseSensitive) {
    EXPECT_FALSE(toolFromRawValue(QStringLiteral("Pen")).has_value());
    EXPECT_EQ(toolFromRawValue(QStringLiteral("move")), Tool::move);
}

TEST(AnnotationBounds, StampIsCentredOnItsPointAndTextStartsAtItsAnchor) {
    Annotation stamp;
    stamp.tool = Tool::stamp;
    stamp.text = QStringLiteral("\U0001F44D");
    stamp.fontSize = 44;
    stamp.points = {QPointF(100, 100)};
    const QRectF stampBounds = stamp.bounds();
    EXPECT_NEAR(stampBounds.center().x(), 100, 0.01);
    EXPECT_NEAR(stampBounds.center().y(), 100, 0.01);

    Annotation text;
    text.tool = Tool::text;
    text.points = {QPointF(5, 7)};
    const QRectF textBounds = text.bounds();
    EXPECT_EQ(textBounds.topLeft(), QPointF(5, 7));
    EXPECT_GE(textBounds.width(), 8);
    EXPECT_GE(textBounds.height(), 8);
}

TEST(AnnotationBounds, PointsAndCurveControlSpanTheRectangle) {
    Annotation dot;
    dot.points = {QPointF(3, 4)};
    EXPECT_EQ(dot.bounds(), QRectF(3, 4, 0, 0));
    EXPECT_EQ(Annotation{}.bounds(), QRectF());

    Annotation arrow;
    arrow.tool = Tool::arrow;
    arrow.points = {QPointF(0, 0), QPointF(100, 0)};
    arrow.curveControl = QPointF(50, 80);
    EXPECT_EQ(arrow.bounds(), QRectF(0, 0, 100, 80));
}

TEST(AnnotationScale, NonPositiveFactorsChangeNothingAndFontSizesClampAt400) {
    Annotation line;
    line.tool = Tool::line;
    line.points = {QPointF(0, 0), QPointF(10, 10)};
    line.scale(0);
    line.scale(-1);
    EXPECT_EQ(line.points.last(), QPointF(10, 10));
    line.scale(2);
    EXPECT_EQ(line.points.first(), QPointF(-5, -5));
    EXPECT_EQ(line.points.last(), QPointF(15, 15));

    Annotation text;
    text.tool = Tool::text;
    text.fontSize = 380;
    text.points = {QPointF(1, 1)};
    text.scale(1.08);
    EXPECT_DOUBLE_EQ(text.fontSize, 400);
    EXPECT_EQ(text.points.first(), QPointF(1, 1));
}

TEST(ConstrainedPoint, BoxToolsMakeSquaresAndOthersSnapTo45Degrees) {
    EXPECT_EQ(constrainedPoint(Tool::rectangle, {0, 0}, {10, -3}), QPointF(10, -10));
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
