#include "shortcuts/DrawShortcuts.h"
#include "annotations/AnnotationStore.h"
#include "fakes/FakeClock.h"
#include "fakes/FakePlatform.h"
#include "fakes/FakePreferences.h"

#include <gtest/gtest.h>
#include <memory>

namespace markvane {
namespace {

using namespace ModifierFlag;

class DrawShortcutsTest : public ::testing::Test {
protected:
    std::unique_ptr<DrawShortcuts> make() {
        return std::make_unique<DrawShortcuts>(
            DrawShortcuts::Services{&prefs, &alerts, &permissions}, store);
    }
    QVariant stored() const { return prefs.stored.value(DrawShortcuts::preferenceKey()); }

    testing::FakeClock clock;
    testing::FakePreferences prefs;
    testing::FakeAlerts alerts;
    testing::FakePermissions permissions;
    AnnotationStore store{AnnotationStore::Services{&clock, &prefs}};
};

TEST_F(DrawShortcutsTest, Lookup_MatchesModifiersExactlyIgnoringLockFlagsAndNeverWithheldTools) {
    QVariantMap map{{"pen", Shortcut(18, command).toJson()},
                    {"eraser", Shortcut(7, shift | capsLock).toJson()}}; // stored flags are masked
    prefs.stored.insert(DrawShortcuts::preferenceKey(), map);
    auto shortcuts = make();
    const struct {
        quint16 keyCode;
        quint64 modifiers;
        std::optional<DrawAction> action;
    } cases[] = {
        {0, 0, DrawAction::arrow},
        {0, capsLock | function | numericPad | 0x108, DrawAction::arrow},
        {33, 0, DrawAction::thinner},
        {18, command, DrawAction::pen},
        {18, 0, DrawAction::colour1},
        {35, 0, std::nullopt}, // the pen's default, now moved
        {7, shift, DrawAction::eraser},
        {7, 0, std::nullopt},
        {1, 0, std::nullopt}, // S: stamp
    };
    for (const auto& c : cases)
        EXPECT_EQ(shortcuts->actionMatching(c.keyCode, c.modifiers), c.action)
            << c.keyCode << " " << c.modifiers;
}

TEST_F(DrawShortcutsTest, Assign_TakenKeyIsRefusedWithABeepUntilItIsFreed_OthersAreFree) {
    auto shortcuts = make();
    int changes = 0;
    QObject::connect(shortcuts.get(), &DrawShortcuts::bindingsChanged, [&] { ++changes; });

    EXPECT_EQ(shortcuts->conflict(18, 0, DrawAction::pen), DrawAction::colour1);
    EXPECT_FALSE(shortcuts->assign(18, 0, DrawAction::pen));
    EXPECT_EQ(alerts.beeps, 1);
    EXPECT_TRUE(shortcuts->bindings().empty());
    EXPECT_FALSE(stored().isValid());
    EXPECT_EQ(changes, 0);

    EXPECT_TRUE(shortcuts->assign(25, 0, DrawAction::colour1));
    EXPECT_TRUE(shortcuts->assign(18, 0, DrawAction::pen));
    EXPECT_EQ(shortcuts->actionMatching(18, 0), DrawAction::pen);
    EXPECT_EQ(shortcuts->actionMatching(25, 0), DrawAction::colour1);
    EXPECT_EQ(changes, 2);

    // Withheld tools' defaults, the action's own default and modified keys are free.
    EXPECT_TRUE(shortcuts->assign(1, 0, DrawAction::colour2)); // S: stamp
    EXPECT_EQ(shortcuts->actionMatching(1, 0), DrawAction::colour2);
    EXPECT_TRUE(shortcuts->assign(35, 0, DrawAction::pen));
    EXPECT_FALSE(shortcuts->conflict(35, shift, DrawAction::line));
    EXPECT_EQ(alerts.beeps, 1);
}

TEST_F(DrawShortcutsTest, Persistence_HoldsOnlyChangesAndSurvivesARestart) {
    auto shortcuts = make();
    shortcuts->assign(25, shift, DrawAction::pen);
    shortcuts->assign(28, 0, DrawAction::thicker);
    QVariantMap map = stored().toMap();
    ASSERT_EQ(map.size(), 2);
    EXPECT_EQ(map.value("pen").typeId(), QMetaType::QByteArray);
    EXPECT_EQ(Shortcut::fromJson(map.value("pen").toByteArray()), Shortcut(25, shift));
    EXPECT_EQ(make()->shortcut(DrawAction::thicker), Shortcut(28, 0));

    shortcuts->reset(DrawAction::pen);
    EXPECT_FALSE(stored().toMap().contains("pen"));
    EXPECT_EQ(shortcuts->shortcut(DrawAction::pen), Shortcut(35, 0));
    shortcuts->resetAll();
    EXPECT_EQ(stored().typeId(), QMetaType::QVariantMap);
    EXPECT_TRUE(stored().toMap().isEmpty());
    EXPECT_TRUE(shortcuts->bindings().empty());
}

TEST_F(DrawShortcutsTest, Perform_ChoosesToolsColoursAndWidthsWithinBounds) {
    auto shortcuts = make();
    shortcuts->perform(DrawAction::ellipse);
    EXPECT_EQ(store.tool(), Tool::ellipse);
    shortcuts->perform(DrawAction::colour4);
    EXPECT_EQ(store.paletteIndex(), 3);

    store.setWidthIndex(0);
    shortcuts->perform(DrawAction::thinner);
    EXPECT_EQ(store.widthIndex(), 0);
    for (int i = 0; i < 3; ++i)
        shortcuts->perform(DrawAction::thicker);
    EXPECT_EQ(store.widthIndex(), 2);
    shortcuts->perform(DrawAction::thinner);
    EXPECT_EQ(store.widthIndex(), 1);
    EXPECT_EQ(alerts.beeps, 0);
}

TEST_F(DrawShortcutsTest, Perform_ScreenPixelToolsAskForScreenRecordingFirst) {
    auto shortcuts = make();
    store.setTool(Tool::pen);
    permissions.screenCapture = false;
    shortcuts->perform(DrawAction::snipe);
    store.setRedactStyle(RedactStyle::pixelate);
    shortcuts->perform(DrawAction::redact);
    EXPECT_EQ(store.tool(), Tool::pen);
    EXPECT_EQ(permissions.requests,
              (QStringList{"Snipe grabs real screen pixels",
                           "Blur and pixelate redact from real screen pixels"}));

    store.setRedactStyle(RedactStyle::solid);
    shortcuts->perform(DrawAction::redact);
    EXPECT_EQ(store.tool(), Tool::redact);

    permissions.screenCapture = true;
    shortcuts->perform(DrawAction::snipe);
    EXPECT_EQ(store.tool(), Tool::snipe);
    EXPECT_EQ(permissions.requests.size(), 2);
}

} // namespace
} // namespace markvane
