#include "platform/x11/PanelStacking.h"

#include <gtest/gtest.h>

using markvane::platform::panelsNeedRaising;

namespace {

TEST(PanelStacking, PanelsNeedRaisingExactlyWhenAnotherProgramOrAKeepAboveWindowIsOutOfPlace) {
    // Window ids: 1-9 other programs, 10-11 panels, 20 the toolbar (kept
    // above), 30 another window of this program, which may be anywhere.
    const QSet<quint32> panels{10, 11}, toolbar{20}, own{30};
    const struct {
        QList<quint32> bottomToTop;
        QSet<quint32> keepAbove;
        bool needsRaising;
    } cases[] = {
        {{1, 2, 10, 11, 20}, toolbar, false},
        {{1, 11, 10}, {}, false},
        {{1, 10, 11, 30, 20}, toolbar, false},
        {{1, 10, 30, 11}, {}, false},
        {{1, 20, 2}, toolbar, false}, // no panel among them
        {{}, toolbar, false},
        {{1, 10, 11, 2}, {}, true},
        {{10, 2, 11}, {}, true},          // between the panels covers the lower one
        {{10, 11, 2, 20}, toolbar, true}, // below the toolbar still covers the panels
        {{1, 10, 30, 11, 2}, {}, true},
        {{1, 20, 10, 11}, toolbar, true}, // keep-above window below the panels
        {{10, 20, 11}, toolbar, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.bottomToTop));
        EXPECT_EQ(panelsNeedRaising(c.bottomToTop, panels, c.keepAbove, own), c.needsRaising);
    }
}

} // namespace
