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
    void setDrawMode(bool on) override {
        drawMode = on;
        ++drawModeCalls;
    }
    bool drawModeEnabled() const override { return drawMode; }
    void focusOverlayUnderMouse() override { ++focusRequests; }
    bool isOverOtherProgramWindow(QPointF globalPoint) const override {
        return otherWindow.contains(globalPoint);
    }

    QList<DrawKey> offered;
    bool consumeKeys = false;
    bool drawMode = true;
    int drawModeCalls = 0;
    int focusRequests = 0;
    QRectF otherWindow; // global; a toolbar, say
};

// An 800 × 600 display with a 24-point strip above its visible frame, a store
// on fakes and a view in draw mode. Events are given in global points.
class DrawViewTest : public ::testing::Test {
protected:
    DrawViewTest() : store(AnnotationStore::Services{&clock, &preferences, &pasteboard, &capture}) {
        screen.name = QStringLiteral("test");
        screen.number = 1;
        screen.frame = QRectF(0, 0, 800, 600);
        screen.visibleFrame = QRectF(0, 0, 800, 576);
        screen.isMain = true;
        view = std::make_unique<DrawOverlayView>(screen, store, host,
                                                 DrawOverlayView::Services{&clock, nullptr, {}});
        view->setDrawModeEnabled(true);
    }

    QPointF widgetPoint(QPointF global) const {
        return viewToWidget(view->globalToView(global), view->height());
    }

    void mouse(QEvent::Type type, QPointF global, Qt::MouseButton button, Qt::MouseButtons buttons,
               Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        const QPointF local = widgetPoint(global);
        QMouseEvent event(type, local, view->mapToGlobal(local), button, buttons, modifiers);
        QApplication::sendEvent(view.get(), &event);
    }
    void press(QPointF global, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        mouse(QEvent::MouseButtonPress, global, Qt::LeftButton, Qt::LeftButton, modifiers);
    }
    void doubleClick(QPointF global) {
        press(global);
        release(global);
        mouse(QEvent::MouseButtonDblClick, global, Qt::LeftButton, Qt::LeftButton);
    }
    void dragTo(QPointF global, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        mouse(QEvent::MouseMove, global, Qt::NoButton, Qt::LeftButton, modifiers);
    }
    void hover(QPointF global) { mouse(QEvent::MouseMove, global, Qt::NoButton, Qt::NoButton); }
    void release(QPointF global) {
        mouse(QEvent::MouseButtonRelease, global, Qt::LeftButton, Qt::NoButton);
    }
    // A press, a few drag events along the way and a release.
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

    QUuid addRectangle(QPointF from, QPointF to) {
        store.setTool(Tool::rectangle);
        store.beginStroke(from);
        store.updateStroke(to, false, false);
        store.commitStroke();
        store.setSelectedID(std::nullopt);
        return store.annotations().last().id;
    }
    QUuid addText(const QString& text, QPointF at, double size) {
        store.addText(text, at, size);
        store.setSelectedID(std::nullopt);
        return store.annotations().last().id;
    }
    int undoDepth() {
        int steps = 0;
        while (store.canUndo()) {
            store.undo();
            ++steps;
        }
        return steps;
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
