#include "DrawViewFixture.h"

#include "annotations/TextMeasure.h"
#include "overlay/AnnotationTextEditor.h"

#include <QPainter>

namespace markvane::testing {
namespace {

using DrawViewText = DrawViewTest;

void typeInto(QWidget* editor, const QString& text) {
    for (const QChar c : text) {
        QKeyEvent event(QEvent::KeyPress,
                        c.isLetter() ? Qt::Key_A + (c.toLower().unicode() - 'a') : int(c.unicode()),
                        Qt::NoModifier, QString(c));
        QApplication::sendEvent(editor, &event);
    }
}

TEST_F(DrawViewText, TextToolPress_OpensAnEditorSizedFromTheWidth) {
    store.setTool(Tool::text);
    store.setWidthIndex(2); // 11 points: 33-point text
    press({100, 200});
    release({100, 200});
    ASSERT_TRUE(view->textEditor());
    EXPECT_DOUBLE_EQ(view->textEditor()->fontSize(), 33);
    EXPECT_EQ(view->textAnchorGlobal(), QPointF(100, 200));
    store.setWidthIndex(0);
    view->commitOpenEditor();
    press({100, 300});
    EXPECT_DOUBLE_EQ(view->textEditor()->fontSize(), 14) << "never below 14";
}

TEST_F(DrawViewText, EscapeInTheEditor_CommitsTheText) {
    store.setTool(Tool::text);
    press({100, 200});
    release({100, 200});
    typeInto(view->textEditor(), "Hi there");
    key(Qt::Key_Escape, Qt::NoModifier, {}, view->textEditor());
    EXPECT_FALSE(view->textEditor());
    ASSERT_EQ(store.annotations().size(), 1);
    const Annotation& text = store.annotations().first();
    EXPECT_EQ(text.text, "Hi there");
    EXPECT_EQ(text.points, (QList<QPointF>{{100, 200}}));
    EXPECT_EQ(text.fontSize, 18);
    EXPECT_EQ(store.tool(), Tool::move);
    EXPECT_TRUE(host.drawMode) << "the Escape that commits goes no further";
}

TEST_F(DrawViewText, PressWhileEditing_OnlyCommits) {
    store.setTool(Tool::text);
    press({100, 200});
    release({100, 200});
    typeInto(view->textEditor(), "abc");
    press({400, 400});
    release({400, 400});
    EXPECT_FALSE(view->textEditor());
    ASSERT_EQ(store.annotations().size(), 1);
    EXPECT_EQ(store.annotations().first().points.first(), QPointF(100, 200));
}

TEST_F(DrawViewText, EditingAnExistingText_ShowsItsSizeTimesZoomAndStoresItBack) {
    addText(QStringLiteral("zoomed"), {300, 300}, 20);
    view->freezeZoom().frozenSnapshot = QImage(4, 4, QImage::Format_ARGB32);
    view->freezeZoom().zoomScale = 2;
    view->freezeZoom().zoomCenterGlobal = QPointF(300, 300);
    store.setTool(Tool::text);
    view->beginText({305, 305});
    ASSERT_TRUE(view->textEditor());
    EXPECT_DOUBLE_EQ(view->textEditor()->fontSize(), 40);
    EXPECT_EQ(view->textEditor()->toPlainText(), "zoomed");
    EXPECT_TRUE(store.annotations().isEmpty());
    view->commitOpenEditor();
    ASSERT_EQ(store.annotations().size(), 1);
    EXPECT_DOUBLE_EQ(store.annotations().first().fontSize, 20);
    EXPECT_EQ(store.annotations().first().points.first(), QPointF(300, 300));
}

TEST_F(DrawViewText, ClearingAnExistingText_DeletesIt) {
    addText(QStringLiteral("gone"), {300, 300}, 20);
    view->beginText({305, 305});
    view->textEditor()->clear();
    view->commitOpenEditor();
    EXPECT_TRUE(store.annotations().isEmpty());
}

TEST_F(DrawViewText, DestroyingTheViewWhileEditing_KeepsTheText) {
    // Rebuilding the panels replaces the views: an open edit must survive it.
    addText(QStringLiteral("keep me"), {300, 300}, 20);
    view->beginText({305, 305});
    typeInto(view->textEditor(), "!");
    view.reset();
    ASSERT_EQ(store.annotations().size(), 1);
    EXPECT_EQ(store.annotations().first().text, "keep me!");
}

// The committed text is drawn where the editor showed its glyphs.
TEST_F(DrawViewText, CommittedText_IsDrawnWhereTheEditorShowedIt) {
    store.setTool(Tool::text);
    store.setPaletteIndex(3); // blue
    press({200, 300});
    release({200, 300});
    typeInto(view->textEditor(), "Wxyz");
    key(Qt::Key_Return, Qt::NoModifier, "\r", view->textEditor());
    typeInto(view->textEditor(), "Ag");
    QImage editing(view->size(), QImage::Format_ARGB32_Premultiplied);
    editing.fill(Qt::transparent);
    view->render(&editing, {}, QRegion(), QWidget::DrawChildren);

    view->commitOpenEditor();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    store.setSelectedID(std::nullopt); // no selection outline
    store.notifyRenderers();
    QImage drawn(view->size(), QImage::Format_ARGB32_Premultiplied);
    drawn.fill(Qt::transparent);
    view->render(&drawn, {}, QRegion(), QWidget::DrawChildren);

    const auto inked = [](const QImage& image) {
        QRect box;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (qAlpha(image.pixel(x, y)) > 128)
                    box |= QRect(x, y, 1, 1);
        return box;
    };
    const QRect shown = inked(editing);
    const QRect stored = inked(drawn);
    ASSERT_FALSE(shown.isEmpty());
    EXPECT_LE(std::abs(shown.left() - stored.left()), 1);
    EXPECT_LE(std::abs(shown.top() - stored.top()), 1);
    EXPECT_LE(std::abs(shown.right() - stored.right()), 1);
    EXPECT_LE(std::abs(shown.bottom() - stored.bottom()), 1);
    // y up: the anchor is the text's bottom-left corner.
    EXPECT_NEAR(stored.left(), 200, 3);
    EXPECT_LT(stored.bottom(), 300);
}

} // namespace
} // namespace markvane::testing
