#include "overlay/DrawOverlayManager.h"

#include "DrawViewFixture.h"
#include "overlay/AnnotationTextEditor.h"
#include "overlay/OverlayPanel.h"
#include "platform/OverlayWindows.h"

#include <QApplication>
#include <QCoreApplication>
#include <QMap>
#include <QScreen>
#include <gtest/gtest.h>

namespace markvane {
namespace {

// Records what the manager asks of the window layer.
class FakeOverlayWindows : public platform::OverlayWindows {
public:
    void preparePanel(QWidget* panel, QScreen*) override {
        prepared.append(panel);
        panel->show();
    }
    void setClickThrough(QWidget* panel, bool on) override { clickThrough[panel] = on; }
    void setPassThroughArea(QWidget* panel, const QRect& area) override {
        passThrough[panel] = area;
    }
    void focusPanel(QWidget* panel) override { focused.append(panel); }
    void keepAbovePanels(QWidget*) override {}
    bool compositing() const override { return true; }

    QList<QWidget*> prepared;
    QMap<QWidget*, bool> clickThrough;
    QMap<QWidget*, QRect> passThrough;
    QList<QWidget*> focused;
};

platform::ScreenInfo screen(const char* name, QRectF frame) {
    platform::ScreenInfo info;
    info.name = QString::fromLatin1(name);
    info.frame = frame;
    info.visibleFrame = frame;
    return info;
}

class DrawOverlayManagerTest : public ::testing::Test {
protected:
    DrawOverlayManagerTest() {
        screens.list = {screen("LEFT", {0, 0, 400, 300}), screen("RIGHT", {400, 0, 300, 200}),
                        screen("TOP", {0, 300, 200, 100})};
    }

    QStringList panelNames() const {
        QStringList names;
        for (OverlayPanel* panel : manager.panels())
            names.append(panel->screen().name);
        return names;
    }

    testing::FakeClock clock;
    testing::FakePreferences preferences;
    testing::FakeScreens screens;
    FakeOverlayWindows windows;
    testing::FakeDrawViewHost host;
    AnnotationStore store{{&clock, &preferences}};
    DrawOverlayManager manager{
        screens, windows, [this](const platform::ScreenInfo& info) {
            return new DrawOverlayView(info, store, host, {&clock, &screens, {}});
        }};
};

TEST_F(DrawOverlayManagerTest, Rebuild_OnePanelPerDisplayInOrder_ClickThroughWhileOff) {
    screens.list[0].visibleFrame = QRectF(0, 0, 400, 270); // a 30-point top bar
    manager.rebuild();
    EXPECT_EQ(windows.passThrough.value(manager.panels()[0]), QRect(0, 0, 400, 30));
    EXPECT_TRUE(windows.passThrough.value(manager.panels()[1]).isEmpty());
    EXPECT_EQ(panelNames(), (QStringList{"LEFT", "RIGHT", "TOP"}));
    for (OverlayPanel* panel : manager.panels()) {
        EXPECT_TRUE(windows.clickThrough.value(panel));
        EXPECT_FALSE(panel->view()->drawModeEnabled());
        EXPECT_EQ(panel->view()->screen().name, panel->screen().name);
    }
}

TEST_F(DrawOverlayManagerTest, DisplayUnplugged_RebuildsOnceWithTheRest_KeepingDrawMode) {
    manager.rebuild();
    manager.setDrawModeEnabled(true);
    manager.applyDrawMode();
    windows.prepared.clear();

    screens.list.removeAt(1);
    Q_EMIT screens.screensChanged();
    Q_EMIT screens.screensChanged(); // displays change in bursts
    QCoreApplication::processEvents();

    EXPECT_EQ(panelNames(), (QStringList{"LEFT", "TOP"}));
    EXPECT_EQ(windows.prepared.size(), 2);
    for (OverlayPanel* panel : manager.panels()) {
        EXPECT_FALSE(windows.clickThrough.value(panel));
        EXPECT_TRUE(panel->view()->drawModeEnabled());
    }
}

TEST_F(DrawOverlayManagerTest, DrawModeOn_TakesInputAndFocusesThePanelUnderThePointer) {
    manager.rebuild();
    screens.pointer = QPointF(450, 100);
    manager.setDrawModeEnabled(true);
    manager.applyDrawMode();

    ASSERT_EQ(windows.focused.size(), 1);
    EXPECT_EQ(static_cast<OverlayPanel*>(windows.focused.first())->screen().name, "RIGHT");
    for (OverlayPanel* panel : manager.panels()) {
        EXPECT_FALSE(windows.clickThrough.value(panel));
        EXPECT_TRUE(panel->view()->isCursorPollActive());
    }

    manager.setDrawModeEnabled(false);
    manager.applyDrawMode();
    for (OverlayPanel* panel : manager.panels()) {
        EXPECT_TRUE(windows.clickThrough.value(panel));
        EXPECT_FALSE(panel->view()->isCursorPollActive());
    }
    EXPECT_EQ(windows.focused.size(), 1);
}

TEST_F(DrawOverlayManagerTest, PanelUnderMouse_NoneBeforeTheFirstBuildThenFallsBackToTheFirst) {
    Q_EMIT screens.screensChanged(); // displays changing before the first build create nothing
    QCoreApplication::processEvents();
    EXPECT_TRUE(windows.prepared.isEmpty());
    EXPECT_EQ(manager.panelUnderMouse(), nullptr);
    manager.rebuild();
    screens.pointer = QPointF(100, 350);
    EXPECT_EQ(manager.panelUnderMouse()->screen().name, "TOP");
    // The seam between two displays belongs to the one on the right.
    screens.pointer = QPointF(400, 10);
    EXPECT_EQ(manager.panelUnderMouse()->screen().name, "RIGHT");
    screens.pointer = QPointF(-500, -500);
    EXPECT_EQ(manager.panelUnderMouse()->screen().name, "LEFT");
}

TEST_F(DrawOverlayManagerTest, OtherProgramWindow_CoversItsAreaOnly) {
    manager.rebuild();
    QWidget toolbar;
    toolbar.setGeometry(QRect(
        QGuiApplication::primaryScreen()->geometry().topLeft() + QPoint(10, 10), QSize(100, 40)));
    toolbar.show();
    const QRectF primary = QGuiApplication::primaryScreen()->geometry();
    // Qt's (20, 20) from the primary display's top left, in y-up points.
    const QPointF inside(20, primary.height() - 20);
    EXPECT_TRUE(manager.isOverOtherProgramWindow(inside));
    EXPECT_FALSE(manager.isOverOtherProgramWindow(inside + QPointF(200, 0)));
    toolbar.hide();
    EXPECT_FALSE(manager.isOverOtherProgramWindow(inside));
}

} // namespace
} // namespace markvane
