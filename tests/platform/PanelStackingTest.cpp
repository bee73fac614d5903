#include "platform/x11/PanelStacking.h"

#include <gtest/gtest.h>

using markvane::platform::panelsNeedRaising;

namespace {

// Window ids: 1-9 other programs, 10-19 panels, 20-29 keep-above windows,
// 30-39 other windows of this program.
const QSet<quint32> panels{10, 11};
const QSet<quint32> toolbar{20};

TEST(PanelStacking, PanelsOnTopWithToolbarAbove_StayAsTheyAre) {
    EXPECT_FALSE(panelsNeedRaising({1, 2, 10, 11, 20}, panels, toolbar));
    EXPECT_FALSE(panelsNeedRaising({1, 11, 10}, panels, {}));
}

TEST(PanelStacking, WindowOfAnotherProgramAboveAnyPanel_NeedsRaising) {
    EXPECT_TRUE(panelsNeedRaising({1, 10, 11, 2}, panels, {}));
    // Between the panels counts too: it covers the lower one's display.
    EXPECT_TRUE(panelsNeedRaising({10, 2, 11}, panels, {}));
    // Above the panels but below the toolbar still covers the panels.
    EXPECT_TRUE(panelsNeedRaising({10, 11, 2, 20}, panels, toolbar));
}

TEST(PanelStacking, KeepAboveWindowBelowAPanel_NeedsRaising) {
    EXPECT_TRUE(panelsNeedRaising({1, 20, 10, 11}, panels, toolbar));
    EXPECT_TRUE(panelsNeedRaising({10, 20, 11}, panels, toolbar));
}

TEST(PanelStacking, OtherWindowsOfThisProgram_MayStayAboveThePanels) {
    const QSet<quint32> settingsWindow{30};
    EXPECT_FALSE(panelsNeedRaising({1, 10, 11, 30, 20}, panels, toolbar, settingsWindow));
    EXPECT_FALSE(panelsNeedRaising({1, 10, 30, 11}, panels, {}, settingsWindow));
    EXPECT_TRUE(panelsNeedRaising({1, 10, 30, 11, 2}, panels, {}, settingsWindow));
}

TEST(PanelStacking, NoPanelAmongTheWindows_NeedsNothing) {
    EXPECT_FALSE(panelsNeedRaising({1, 20, 2}, panels, toolbar));
    EXPECT_FALSE(panelsNeedRaising({}, panels, toolbar));
}

} // namespace
