#include "app/AppController.h"

#include "annotations/AnnotationStore.h"
#include "fakes/FakeClock.h"
#include "fakes/FakeHotKeys.h"
#include "fakes/FakePlatform.h"
#include "fakes/FakePreferences.h"
#include "shortcuts/DrawShortcuts.h"
#include "shortcuts/GlobalShortcuts.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <gtest/gtest.h>

namespace markvane {
namespace {

constexpr quint32 kShift = 0x20000;
constexpr quint32 kCtrl = 0x40000;
constexpr quint32 kCtrlAlt = 0xC0000;

// The panels as the controller sees them, counting what it asks of them.
class FakeOverlays : public DrawOverlays {
public:
    void rebuild() override { ++rebuilds; }
    bool drawModeEnabled() const override { return on; }
    void setDrawModeEnabled(bool value) override { on = value; }
    void applyDrawMode() override { ++applies; }
    void focusPanelUnderMouse() override {}
    bool isOverOtherProgramWindow(QPointF) const override { return false; }

    bool on = false;
    int rebuilds = 0;
    int applies = 0;
};

class AppControllerTest : public ::testing::Test {
protected:
    AppControllerTest() {
        store.setAnnotationImager(
            [](const Annotation&) { return QImage(4, 4, QImage::Format_ARGB32); });
    }

    std::unique_ptr<AppController> makeController() {
        return std::make_unique<AppController>(
            AppController::Services{&store, &drawShortcuts, &globalShortcuts, &preferences,
                                    &pasteboard, &screens, &alerts, &permissions},
            [this](DrawViewHost&) {
                auto fake = std::make_unique<FakeOverlays>();
                overlays = fake.get();
                return fake;
            },
            [](const QKeyEvent&) { return std::optional<DrawKey>(); },
            [this](const QString&, const QString& text, const QString&) { welcomes.append(text); });
    }

    bool press(quint16 keyCode, quint32 flags = 0, const char* characters = "") {
        return controller->handleDrawKey(DrawKey{keyCode, flags, QString::fromUtf8(characters)});
    }

    void drawPenStroke(double y) {
        store.setTool(Tool::pen);
        store.beginStroke({100, y});
        store.updateStroke({200, y}, false, false);
        store.commitStroke();
    }

    void drawSelectedRectangle() {
        store.setTool(Tool::rectangle);
        store.beginStroke({100, 100});
        store.updateStroke({200, 160}, false, false);
        store.commitStroke(); // leaves the move tool with the rectangle selected
    }

    testing::FakeClock clock;
    testing::FakePreferences preferences;
    testing::FakePasteboard pasteboard;
    testing::FakeScreens screens;
    testing::FakeAlerts alerts;
    testing::FakePermissions permissions;
    testing::FakeHotKeys hotKeys;
    AnnotationStore store{{&clock, &preferences, &pasteboard}};
    DrawShortcuts drawShortcuts{{&preferences, &alerts, &permissions}, store};
    GlobalShortcuts globalShortcuts{{&preferences, &hotKeys}};
    QStringList welcomes;
    FakeOverlays* overlays = nullptr;
    std::unique_ptr<AppController> controller = makeController();
};

TEST_F(AppControllerTest, SetDrawMode_SwitchesPanelsOnce_AndNotAgainForTheSameValue) {
    QList<bool> signalled;
    QObject::connect(controller.get(), &AppController::drawModeEnabledChanged,
                     [&](bool on) { signalled.append(on); });
    controller->setDrawMode(false);
    controller->setDrawMode(true);
    controller->enterDrawMode();
    EXPECT_TRUE(overlays->on);
    EXPECT_EQ(overlays->applies, 1);
    controller->toggleDrawMode();
    EXPECT_FALSE(overlays->on);
    EXPECT_EQ(overlays->applies, 2);
    EXPECT_EQ(signalled, (QList<bool>{true, false}));
}

TEST_F(AppControllerTest, ToolChosenAfterStart_SwitchesDrawModeOn_TheRestoredToolDoesNot) {
    preferences.stored.insert("tool", "arrow");
    store.load();
    controller->start();
    EXPECT_EQ(store.tool(), Tool::arrow);
    EXPECT_FALSE(controller->drawModeEnabled());
    EXPECT_EQ(overlays->rebuilds, 1);

    // Choosing the tool already in use counts too: the user asked to draw.
    store.setTool(Tool::arrow);
    EXPECT_TRUE(controller->drawModeEnabled());
    controller->setDrawMode(false);
    drawShortcuts.perform(DrawAction::ellipse);
    EXPECT_TRUE(controller->drawModeEnabled());
}

TEST_F(AppControllerTest, CtrlKeys_UndoRedoHideAndClear_WhateverTheTool) {
    drawPenStroke(100);
    drawPenStroke(200);
    store.setTool(Tool::text);
    EXPECT_TRUE(press(6, kCtrl, "z"));
    EXPECT_EQ(store.annotations().size(), 1);
    EXPECT_TRUE(press(6, kCtrl | kShift, "Z"));
    EXPECT_EQ(store.annotations().size(), 2);
    EXPECT_TRUE(press(4, kCtrl | kShift, "H"));
    EXPECT_TRUE(store.hidden());
    EXPECT_TRUE(press(51, kCtrl));
    EXPECT_TRUE(store.annotations().isEmpty());
}

TEST_F(AppControllerTest, SelectionKeys_ActOnAMoveToolSelection_OtherKeysFallToDrawingShortcuts) {
    drawPenStroke(100);
    EXPECT_FALSE(press(51));
    EXPECT_EQ(store.annotations().size(), 1);

    drawSelectedRectangle();
    ASSERT_EQ(store.tool(), Tool::move);
    const double width = store.selectedAnnotation()->width;
    const double side = store.selectedAnnotation()->bounds().width();
    EXPECT_TRUE(press(30, 0, "]"));
    EXPECT_EQ(store.selectedAnnotation()->width, width + 1);
    EXPECT_EQ(store.widthIndex(), 1); // the tool's width stays
    EXPECT_TRUE(press(24, kCtrl, "="));
    EXPECT_NEAR(store.selectedAnnotation()->bounds().width(), side * 1.08, 0.5);
    EXPECT_TRUE(press(8, kCtrl, "c"));
    EXPECT_EQ(pasteboard.writeCount, 1);
    EXPECT_TRUE(press(2, kCtrl, "d"));
    EXPECT_EQ(store.annotations().size(), 3);
    EXPECT_TRUE(press(7, kCtrl, "x"));
    EXPECT_EQ(pasteboard.writeCount, 2);
    EXPECT_EQ(store.annotations().size(), 2);

    drawSelectedRectangle();
    EXPECT_TRUE(press(117));
    EXPECT_EQ(store.annotations().size(), 2);
    EXPECT_FALSE(store.selectedID());
    // Without a selection ] is the drawing shortcut for a thicker stroke.
    EXPECT_TRUE(press(30, 0, "]"));
    EXPECT_EQ(store.widthIndex(), 2);
    EXPECT_FALSE(press(126)); // arrow keys do nothing on the drawing
}

TEST_F(AppControllerTest, CtrlV_PastesCentredOnThePointer_AndRefusesOver50Megapixels) {
    EXPECT_TRUE(press(9, kCtrl, "v")); // nothing on the pasteboard
    pasteboard.content = QImage(10000, 5001, QImage::Format_Mono);
    controller->pasteImage();
    EXPECT_TRUE(store.annotations().isEmpty());
    ASSERT_EQ(alerts.notices.size(), 1);
    EXPECT_TRUE(alerts.notices.first().contains("10000 × 5001"));

    pasteboard.content = QImage(1920, 1080, QImage::Format_RGB32);
    screens.pointer = QPointF(800, 600);
    EXPECT_TRUE(press(9, kCtrl, "v"));
    ASSERT_EQ(store.annotations().size(), 1);
    const Annotation& pasted = store.annotations().first();
    EXPECT_EQ(pasted.tool, Tool::snipe);
    EXPECT_EQ(pasted.bounds(), QRectF(560, 465, 480, 270));
    EXPECT_EQ(store.tool(), Tool::move);
    EXPECT_EQ(store.selectedID(), pasted.id);
}

TEST_F(AppControllerTest, Start_HotKeysRunTheirActions_OneClaimedElsewhereIsReported) {
    hotKeys.claimedElsewhere.insert({40, kCtrlAlt});
    controller->start();
    ASSERT_EQ(alerts.notices.size(), 1);
    EXPECT_TRUE(alerts.notices.first().contains("Ctrl+Alt+K is already claimed by another app."));
    const auto hot = [this](quint16 keyCode) {
        hotKeys.press(keyCode, kCtrlAlt);
        QCoreApplication::processEvents();
    };
    hot(2); // Ctrl+Alt+D
    EXPECT_TRUE(controller->drawModeEnabled());
    drawPenStroke(100);
    hot(6); // undo
    EXPECT_TRUE(store.annotations().isEmpty());
    hot(16); // redo
    EXPECT_EQ(store.annotations().size(), 1);
    hot(4); // hide all
    EXPECT_TRUE(store.hidden());
    hot(51); // clear
    EXPECT_TRUE(store.annotations().isEmpty());
    hot(2);
    EXPECT_FALSE(controller->drawModeEnabled());
}

TEST_F(AppControllerTest, Welcome_NamesTheCurrentDrawModeBinding) {
    globalShortcuts.assign(2, kCtrl | kShift | 0x80000, GlobalAction::drawMode);
    controller->start();
    QElapsedTimer waited;
    waited.start();
    while (welcomes.isEmpty() && waited.elapsed() < 3000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    ASSERT_EQ(welcomes.size(), 1);
    EXPECT_TRUE(welcomes.first().startsWith("Press Ctrl+Alt+Shift+D to start drawing"));
    EXPECT_TRUE(welcomes.first().contains("Press Ctrl+Alt+O to bring the toolbar back"));
}

} // namespace
} // namespace markvane
