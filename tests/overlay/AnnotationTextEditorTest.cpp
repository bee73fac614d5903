#include "overlay/AnnotationTextEditor.h"
#include "annotations/TextMeasure.h"

#include <QApplication>
#include <QKeyEvent>
#include <gtest/gtest.h>

namespace markvane {
namespace {

class AnnotationTextEditorTest : public ::testing::Test {
protected:
    AnnotationTextEditorTest() : editor(new AnnotationTextEditor(&parent)) {
        editor->setAnchor(QPointF(100, 300));
    }
    bool press(int key, Qt::KeyboardModifiers modifiers, const QString& text = {}) {
        QKeyEvent event(QEvent::KeyPress, key, modifiers, text);
        QApplication::sendEvent(editor, &event);
        return event.isAccepted();
    }
    void type(const QString& text) {
        for (const QChar c : text)
            press(Qt::Key_A + (c.unicode() - 'a'), Qt::NoModifier, QString(c));
    }

    QWidget parent;
    AnnotationTextEditor* editor;
};

TEST_F(AnnotationTextEditorTest, SizeKeysStepBy108WithinEightTo400AndUndoStaysInside) {
    EXPECT_EQ(editor->fittedSize().width(), 40) << "an empty editor still shows where it is";
    type("ab");
    editor->setFontSize(100);
    press(Qt::Key_Equal, Qt::ControlModifier, "=");
    EXPECT_DOUBLE_EQ(editor->fontSize(), 108);
    press(Qt::Key_Minus, Qt::ControlModifier | Qt::KeypadModifier, "-");
    EXPECT_DOUBLE_EQ(editor->fontSize(), 100);
    EXPECT_EQ(editor->fittedSize(), measureAnnotationText("ab", 100));
    editor->setFontSize(390);
    press(Qt::Key_Plus, Qt::ControlModifier | Qt::ShiftModifier, "+");
    EXPECT_DOUBLE_EQ(editor->fontSize(), 400);
    editor->setFontSize(8);
    press(Qt::Key_Minus, Qt::ControlModifier, "-");
    EXPECT_DOUBLE_EQ(editor->fontSize(), 8);
    EXPECT_EQ(editor->toPlainText(), "ab") << "size keys type nothing";
    press(Qt::Key_Z, Qt::ControlModifier, "\x1a");
    EXPECT_EQ(editor->toPlainText(), "");
    press(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier, "\x1a");
    EXPECT_EQ(editor->toPlainText(), "ab");
}

} // namespace
} // namespace markvane
