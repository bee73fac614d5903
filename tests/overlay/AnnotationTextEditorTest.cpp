#include "overlay/AnnotationTextEditor.h"
#include "annotations/TextMeasure.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>
#include <gtest/gtest.h>

namespace markvane {
namespace {

class AnnotationTextEditorTest : public ::testing::Test {
protected:
    void SetUp() override {
        parent.resize(800, 600);
        editor = new AnnotationTextEditor(&parent);
        editor->setAnchor(QPointF(100, 300));
    }

    void press(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier,
               const QString& text = {}) {
        QKeyEvent event(QEvent::KeyPress, key, modifiers, text);
        QApplication::sendEvent(editor, &event);
    }

    void type(const QString& text) {
        for (const QChar c : text)
            press(c.isLetter() ? Qt::Key_A + (c.toLower().unicode() - 'a') : c.unicode(),
                  Qt::NoModifier, QString(c));
    }

    QWidget parent;
    AnnotationTextEditor* editor = nullptr;
};

TEST_F(AnnotationTextEditorTest, SizeKeys_StepBy108WithinEightToFourHundred) {
    editor->setFontSize(100);
    press(Qt::Key_Equal, Qt::ControlModifier, "=");
    EXPECT_DOUBLE_EQ(editor->fontSize(), 108);
    press(Qt::Key_Plus, Qt::ControlModifier | Qt::ShiftModifier, "+");
    EXPECT_DOUBLE_EQ(editor->fontSize(), 108 * 1.08);
    press(Qt::Key_Minus, Qt::ControlModifier | Qt::KeypadModifier, "-");
    EXPECT_DOUBLE_EQ(editor->fontSize(), 108);

    editor->setFontSize(390);
    press(Qt::Key_Equal, Qt::ControlModifier, "=");
    EXPECT_DOUBLE_EQ(editor->fontSize(), 400);
    editor->setFontSize(8);
    press(Qt::Key_Minus, Qt::ControlModifier, "-");
    EXPECT_DOUBLE_EQ(editor->fontSize(), 8);
    EXPECT_TRUE(editor->toPlainText().isEmpty()) << "size keys must not type";
}

TEST_F(AnnotationTextEditorTest, SizeChange_RefitsAndAnnounces) {
    int announced = 0;
    QObject::connect(editor, &AnnotationTextEditor::fontSizeChanged, [&] { ++announced; });
    editor->setPlainText("Hello");
    const double before = editor->fittedSize().height();
    press(Qt::Key_Equal, Qt::ControlModifier, "=");
    EXPECT_EQ(announced, 1);
    EXPECT_GT(editor->fittedSize().height(), before);
    EXPECT_EQ(editor->fittedSize(), measureAnnotationText("Hello", editor->fontSize()));
}

TEST_F(AnnotationTextEditorTest, EmptyEditor_IsFortyWideAndOneLineOfMHigh) {
    editor->setFontSize(14);
    EXPECT_EQ(editor->fittedSize().width(), 40);
    EXPECT_EQ(editor->fittedSize().height(), measureAnnotationText("M", 14).height());
    // The bottom-left corner stays at the anchor as lines are added.
    type("ab");
    press(Qt::Key_Return, Qt::NoModifier, "\r");
    type("cd");
    EXPECT_EQ(editor->toPlainText(), "ab\ncd");
    EXPECT_EQ(editor->fittedSize().height(), measureAnnotationText("ab\ncd", 14).height());
    EXPECT_NEAR(editor->geometry().top(), 300 - editor->fittedSize().height(), 0.5);
    EXPECT_EQ(editor->geometry().left(), 100);
}

TEST_F(AnnotationTextEditorTest, UndoKeys_UndoTypingInsideTheEditor) {
    type("abc");
    press(Qt::Key_Z, Qt::ControlModifier, "\x1a");
    EXPECT_TRUE(editor->toPlainText().isEmpty());
    press(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier, "\x1a");
    EXPECT_EQ(editor->toPlainText(), "abc");
}

TEST_F(AnnotationTextEditorTest, Escape_RequestsCommitAndKeepsTheText) {
    int commits = 0;
    QObject::connect(editor, &AnnotationTextEditor::commitRequested, [&] { ++commits; });
    type("note");
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(editor, &escape);
    EXPECT_EQ(commits, 1);
    EXPECT_TRUE(escape.isAccepted()) << "Escape must not travel on to the drawing view";
    EXPECT_EQ(editor->toPlainText(), "note");
}

} // namespace
} // namespace markvane
