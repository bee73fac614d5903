#pragma once

#include "annotations/AnnotationStore.h"
#include "fakes/FakeClock.h"
#include "fakes/FakePlatform.h"
#include "fakes/FakePreferences.h"
#include "overlay/DrawOverlayView.h"
#include "overlay/DrawViewHost.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <gtest/gtest.h>
#include <memory>

namespace markvane::testing {

class FakeDrawViewHost : public DrawViewHost {
public:
    bool handleDrawKey(const DrawKey& key) override {
        offered.append(key);
        return consumeKeys;
    }
    void setDrawMode(bool on) override { drawMode = on; }
    bool drawModeEnabled() const override { return drawMode; }
    void focusOverlayUnderMouse() override {}
    bool isOverOtherProgramWindow(QPointF global) const override {
        return otherWindow.contains(global);
    }

    QList<DrawKey> offered;
    bool consumeKeys = false;
    bool drawMode = true;
    QRectF otherWindow; // global: a toolbar, say
};

// An 800 × 600 display with a 24-point strip above its visible frame, a store
// on fakes and a view in draw mode. Pointer events are given in global points
// and sent in widget coordinates (y down).
class DrawViewTest : public ::testing::Test {
protected:
    DrawViewTest() : store(AnnotationStore::Services{&clock, &preferences, &pasteboard, &capture}) {
        screen.name = QStringLiteral("test");
        screen.frame = QRectF(0, 0, 800, 600);
        screen.visibleFrame = QRectF(0, 0, 800, 576);
        view = std::make_unique<DrawOverlayView>(screen, store, host,
                                                 DrawOverlayView::Services{&clock, nullptr, {}});
        view->setDrawModeEnabled(true);
    }

    void mouse(QEvent::Type type, QPointF global, Qt::MouseButtons buttons,
               Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        mouseAt(type, QPointF(global.x(), 600 - global.y()), buttons, modifiers);
    }
    void mouseAt(QEvent::Type type, QPointF widget, Qt::MouseButtons buttons,
                 Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
        QMouseEvent event(type, widget, view->mapToGlobal(widget), button, buttons, modifiers);
        QApplication::sendEvent(view.get(), &event);
    }
    void press(QPointF global, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        mouse(QEvent::MouseButtonPress, global, Qt::LeftButton, modifiers);
    }
    void dragTo(QPointF global, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        mouse(QEvent::MouseMove, global, Qt::LeftButton, modifiers);
    }
    void release(QPointF global) { mouse(QEvent::MouseButtonRelease, global, Qt::NoButton); }
    void hover(QPointF global) { mouse(QEvent::MouseMove, global, Qt::NoButton); }
    // A press, four drag events along the way and a release.
    void drag(QPointF from, QPointF to, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        press(from, modifiers);
        for (int i = 1; i <= 4; ++i)
            dragTo(from + (to - from) * (i / 4.0), modifiers);
        release(to);
    }
    void key(int qtKey, Qt::KeyboardModifiers modifiers = Qt::NoModifier, const QString& text = {},
             QWidget* target = nullptr) {
        QKeyEvent event(QEvent::KeyPress, qtKey, modifiers, text);
        QApplication::sendEvent(target ? target : view.get(), &event);
    }
    void type(const QString& text) {
        for (const QChar c : text)
            key(c.isLetter() ? Qt::Key_A + (c.toLower().unicode() - 'a') : int(c.unicode()),
                Qt::NoModifier, QString(c), view->textEditor());
    }

    // A finished, unselected annotation; the tool is left at move.
    QUuid addRectangle(QPointF from, QPointF to) {
        store.setTool(Tool::rectangle);
        store.beginStroke(from);
        store.updateStroke(to, false, false);
        store.commitStroke();
        store.setSelectedID(std::nullopt);
        return store.annotations().last().id;
    }
    void addText(const QString& text, QPointF at, double size) {
        store.addText(text, at, size);
        store.setSelectedID(std::nullopt);
    }
    int undoSteps() {
        int steps = 0;
        for (; store.canUndo(); ++steps)
            store.undo();
        for (int i = 0; i < steps; ++i)
            store.redo();
        return steps;
    }
    void freeze(double scale, QPointF centre) {
        view->freezeZoom().frozenSnapshot = QImage(4, 4, QImage::Format_ARGB32);
        view->freezeZoom().zoomScale = scale;
        view->freezeZoom().zoomCenterGlobal = centre;
    }

    FakeClock clock;
    FakePreferences preferences;
    FakePasteboard pasteboard;
    FakeScreenCapture capture;
    AnnotationStore store;
    FakeDrawViewHost host;
    platform::ScreenInfo screen;
    std::unique_ptr<DrawOverlayView> view;
};

} // namespace markvane::testing
