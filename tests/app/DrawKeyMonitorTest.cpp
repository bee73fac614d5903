#include "app/DrawKeyMonitor.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QVBoxLayout>
#include <QWidget>
#include <gtest/gtest.h>

namespace markvane {
namespace {

// A focusable widget that ignores every key, so unhandled keys travel to its parent.
class KeyCounter : public QWidget {
public:
    explicit KeyCounter(QWidget* parent = nullptr) : QWidget(parent) {
        setFocusPolicy(Qt::StrongFocus);
    }
    int presses = 0;

protected:
    void keyPressEvent(QKeyEvent* event) override {
        ++presses;
        event->ignore();
    }
};

class DrawKeyMonitorTest : public ::testing::Test {
protected:
    DrawKeyMonitorTest()
        : monitor([this] { return drawMode; },
                  [](const QKeyEvent& e) -> std::optional<DrawKey> {
                      if (e.key() == Qt::Key_F35)
                          return std::nullopt;
                      return DrawKey{quint16(e.key()), 0, e.text()};
                  },
                  [this](const DrawKey& key) {
                      routed.append(key.characters);
                      return consume;
                  }) {
        auto* layout = new QVBoxLayout(&window);
        plain = new KeyCounter(&window);
        lineEdit = new QLineEdit(&window);
        textEdit = new QPlainTextEdit(&window);
        layout->addWidget(plain);
        layout->addWidget(lineEdit);
        layout->addWidget(textEdit);
        window.show();
        window.activateWindow();
        QApplication::processEvents();
        monitor.install();
    }

    // Delivers a key press the way the window system does: to the focus widget.
    bool press(QWidget* focus, Qt::Key key, const QString& text) {
        focus->setFocus();
        QApplication::processEvents();
        EXPECT_EQ(QApplication::focusWidget(), focus);
        QKeyEvent event(QEvent::KeyPress, key, Qt::NoModifier, text);
        QApplication::sendEvent(focus, &event);
        return event.isAccepted();
    }

    bool drawMode = true;
    bool consume = true;
    QStringList routed;
    QWidget window;
    KeyCounter* plain = nullptr;
    QLineEdit* lineEdit = nullptr;
    QPlainTextEdit* textEdit = nullptr;
    DrawKeyMonitor monitor;
};

TEST_F(DrawKeyMonitorTest, DrawModeOn_ConsumedKeyIsSwallowedBeforeTheWidget) {
    press(plain, Qt::Key_P, "p");
    EXPECT_EQ(routed, QStringList{"p"});
    EXPECT_EQ(plain->presses, 0);
}

TEST_F(DrawKeyMonitorTest, DrawModeOff_KeysGoStraightToTheWidget) {
    drawMode = false;
    press(plain, Qt::Key_P, "p");
    EXPECT_TRUE(routed.isEmpty());
    EXPECT_EQ(plain->presses, 1);
}

TEST_F(DrawKeyMonitorTest, TextFieldHasFocus_KeysAreTypedNotRouted) {
    press(lineEdit, Qt::Key_P, "p");
    press(textEdit, Qt::Key_Q, "q");
    EXPECT_TRUE(routed.isEmpty());
    EXPECT_EQ(lineEdit->text(), "p");
    EXPECT_EQ(textEdit->toPlainText(), "q");
}

TEST_F(DrawKeyMonitorTest, UnconsumedKeyTravellingToParents_IsRoutedOnce) {
    consume = false;
    press(plain, Qt::Key_Y, "y");
    EXPECT_EQ(routed, QStringList{"y"});
    EXPECT_EQ(plain->presses, 1);
}

TEST_F(DrawKeyMonitorTest, KeyWithoutProgramCode_PassesUntouched) {
    press(plain, Qt::Key_F35, "");
    EXPECT_TRUE(routed.isEmpty());
    EXPECT_EQ(plain->presses, 1);
}

TEST(TextInputWidget, ReadOnlyTextViewsAreNotTextInput) {
    QPlainTextEdit readOnly;
    readOnly.setReadOnly(true);
    QLineEdit line;
    QWidget plain;
    EXPECT_FALSE(isTextInputWidget(&readOnly));
    EXPECT_TRUE(isTextInputWidget(&line));
    EXPECT_FALSE(isTextInputWidget(&plain));
    EXPECT_FALSE(isTextInputWidget(nullptr));
}

} // namespace
} // namespace markvane
