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

TEST_F(DrawKeyMonitorTest, RoutesOnlyInDrawModeAndOnceWhetherOrNotConsumed) {
    struct Case {
        bool drawMode, consume;
        Qt::Key key;
        const char* text;
        QStringList routed;
        int widgetPresses;
    };
    const Case cases[] = {
        {true, true, Qt::Key_P, "p", {"p"}, 0},  // swallowed before the widget
        {false, true, Qt::Key_P, "p", {}, 1},    // straight to the widget
        {true, false, Qt::Key_Y, "y", {"y"}, 1}, // unconsumed, travelling to parents
        {true, true, Qt::Key_F35, "", {}, 1},    // no program code: untouched
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        drawMode = c.drawMode;
        consume = c.consume;
        routed.clear();
        plain->presses = 0;
        press(plain, c.key, QString::fromLatin1(c.text));
        EXPECT_EQ(routed, c.routed);
        EXPECT_EQ(plain->presses, c.widgetPresses);
    }
}

TEST_F(DrawKeyMonitorTest, TextFieldHasFocus_KeysAreTypedNotRouted_ReadOnlyTextIsNoField) {
    press(lineEdit, Qt::Key_P, "p");
    press(textEdit, Qt::Key_Q, "q");
    EXPECT_TRUE(routed.isEmpty());
    EXPECT_EQ(lineEdit->text(), "p");
    EXPECT_EQ(textEdit->toPlainText(), "q");

    textEdit->setReadOnly(true);
    press(textEdit, Qt::Key_R, "r");
    EXPECT_EQ(routed, QStringList{"r"});
    EXPECT_FALSE(isTextInputWidget(nullptr));
}

} // namespace
} // namespace markvane
