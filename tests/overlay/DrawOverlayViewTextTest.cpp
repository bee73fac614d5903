#include "DrawViewFixture.h"

namespace markvane::testing {
namespace {

using DrawViewText = DrawViewTest;

TEST_F(DrawViewText, NewTextIsSizedFromTheWidthAndAPressOrEscapeOnlyCommits) {
    store.setTool(Tool::text);
    store.setWidthIndex(0); // 3 points: raised to 14
    press({100, 200});
    ASSERT_TRUE(view->textEditor());
    EXPECT_DOUBLE_EQ(view->textEditor()->fontSize(), 14);
    type("abc");
    press({400, 400});
    release({400, 400});
    EXPECT_FALSE(view->textEditor()) << "the press opens no new editor";
    ASSERT_EQ(store.annotations().size(), 1);
    EXPECT_EQ(store.annotations().first().points, (QList<QPointF>{{100, 200}}));

    store.setTool(Tool::text); // the commit moved on to the move tool
    store.setWidthIndex(2);    // 11 points: 33
    press({100, 300});
    EXPECT_DOUBLE_EQ(view->textEditor()->fontSize(), 33);
    type("Hi there");
    key(Qt::Key_Escape, Qt::NoModifier, {}, view->textEditor());
    EXPECT_FALSE(view->textEditor());
    ASSERT_EQ(store.annotations().size(), 2);
    EXPECT_EQ(store.annotations().last().text, "Hi there");
    EXPECT_EQ(store.annotations().last().fontSize, 33);
    EXPECT_TRUE(host.drawMode) << "the Escape that commits goes no further";
}

TEST_F(DrawViewText, EditingAtZoomKeepsTheTextsOwnSizeAndColour) {
    addText(QStringLiteral("zoomed"), {300, 300}, 20);
    const QColor original = store.annotations().first().color;
    store.setTool(Tool::text); // drops the selection, so the palette change recolours nothing
    store.setPaletteIndex(3);
    freeze(2, {300, 300});
    view->beginText({305, 305});
    EXPECT_DOUBLE_EQ(view->textEditor()->fontSize(), 40);
    view->commitOpenEditor();
    ASSERT_EQ(store.annotations().size(), 1);
    EXPECT_DOUBLE_EQ(store.annotations().first().fontSize, 20);
    EXPECT_EQ(store.annotations().first().color, original);
    EXPECT_EQ(store.annotations().first().points.first(), QPointF(300, 300));
    view->beginText({305, 305});
    view->textEditor()->clear();
    view->commitOpenEditor();
    EXPECT_TRUE(store.annotations().isEmpty()) << "cleared text is deleted";
}

TEST_F(DrawViewText, ReplacingTheViewWhileEditingKeepsTheText) {
    addText(QStringLiteral("keep"), {300, 300}, 20);
    view->beginText({305, 305});
    type("s");
    view.reset(); // as when the panels are rebuilt
    ASSERT_EQ(store.annotations().size(), 1);
    EXPECT_EQ(store.annotations().first().text, "keeps");
}

QRect inkedArea(const QImage& image) {
    QRect box;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qAlpha(image.pixel(x, y)) > 128)
                box |= QRect(x, y, 1, 1);
    return box;
}

TEST_F(DrawViewText, CommittedTextIsDrawnWhereTheEditorShowedIt) {
    store.setTool(Tool::text);
    press({200, 300});
    type("Wxyz");
    key(Qt::Key_Return, Qt::NoModifier, "\r", view->textEditor());
    type("Ag");
    QImage shown(view->size(), QImage::Format_ARGB32_Premultiplied);
    shown.fill(Qt::transparent);
    view->render(&shown, {}, QRegion(), QWidget::DrawChildren);

    view->commitOpenEditor();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    store.setSelectedID(std::nullopt); // no selection outline
    store.notifyRenderers();
    QImage drawn(view->size(), QImage::Format_ARGB32_Premultiplied);
    drawn.fill(Qt::transparent);
    view->render(&drawn, {}, QRegion(), QWidget::DrawChildren);

    const QRect editor = inkedArea(shown), stored = inkedArea(drawn);
    ASSERT_FALSE(editor.isEmpty());
    EXPECT_LE((editor.topLeft() - stored.topLeft()).manhattanLength(), 1);
    EXPECT_LE((editor.bottomRight() - stored.bottomRight()).manhattanLength(), 1);
    EXPECT_NEAR(stored.left(), 200, 3);
    EXPECT_LT(stored.bottom(), 300) << "y up: the anchor is the text's bottom left";
}

} // namespace
} // namespace markvane::testing
