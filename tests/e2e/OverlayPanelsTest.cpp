// The X11 overlay layer on a real X server: what the panels show with and
// without a compositing manager, where clicks go, and how the panels follow
// the stacking order and the monitors.
#include "X11Session.h"

#include <QRegularExpression>
#include <csignal>

namespace markvane::testing {
namespace {

constexpr QRgb teal = 0x3080c0;
constexpr QRgb red = 0xff0000;
constexpr QRgb blue = 0x0000ff;
const QRect redRect(100, 100, 200, 100);
const QRect screen(0, 0, 1280, 800);

class OverlayPanels : public X11Session {
protected:
    pid_t startProbe(const QStringList& arguments) {
        const pid_t pid = start(QStringLiteral(OVERLAY_PROBE_PATH), arguments, probeLog());
        EXPECT_TRUE(waitForOutput(QStringLiteral("ready"))) << qPrintable(probeOutput());
        return pid;
    }
    QString probeLog() const { return path(QStringLiteral("probe.log")); }
    QString probeOutput() const { return readFile(probeLog()); }
    bool waitForOutput(const QString& text, int times = 1) {
        return waitUntil([&] { return probeOutput().count(text) >= times; });
    }
    quint64 firstPanelWindow() const {
        const QRegularExpressionMatch match =
            QRegularExpression(QStringLiteral("^panel \\S+ 0x([0-9a-f]+)$"),
                               QRegularExpression::MultilineOption)
                .match(probeOutput());
        return match.hasMatch() ? match.captured(1).toULongLong(nullptr, 16) : 0;
    }
    QStringList presses() const {
        return readFile(targetLog()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    }
    std::string pressLog() const { return presses().join(QStringLiteral("; ")).toStdString(); }
    // How many pixels differ from the red rectangle over `background`.
    int wrongPixels(QRgb background) const {
        const QImage shot = grab(screen);
        int wrong = 0;
        for (int y = 0; y < shot.height(); ++y)
            for (int x = 0; x < shot.width(); ++x)
                wrong +=
                    (shot.pixel(x, y) & 0xffffff) != (redRect.contains(x, y) ? red : background);
        return wrong;
    }
    // A compositor paints in its own time: the screen may need a moment to
    // settle after a change.
    void expectRedOver(QRgb background) {
        EXPECT_TRUE(waitUntil([&] { return wrongPixels(background) == 0; }))
            << wrongPixels(background) << " pixels wrong";
    }
    void startTargetAndWait() {
        startTarget(teal, screen);
        ASSERT_TRUE(waitForPixel(640, 400, teal));
    }
};

TEST_F(OverlayPanels, WithCompositor_TargetShowsThroughAndClickThroughSwitchesLive) {
    startServer();
    startCompositor();
    startTargetAndWait();
    const pid_t probe = startProbe({QStringLiteral("--click-through")});
    ASSERT_TRUE(waitForPixel(200, 150, red));
    expectRedOver(teal);
    EXPECT_FALSE(windowShaped(firstPanelWindow()));
    EXPECT_FALSE(probeOutput().contains(QStringLiteral("notice")));

    click(640, 400);
    ASSERT_TRUE(waitUntil([&] { return presses().size() == 1; }));
    kill(probe, SIGUSR1);
    ASSERT_TRUE(waitForOutput(QStringLiteral("click-through off")));
    click(700, 450); // taken by the panel, although it is transparent there
    EXPECT_TRUE(waitForOutput(QStringLiteral("panel press 700 450")));

    kill(probe, SIGUSR1);
    ASSERT_TRUE(waitForOutput(QStringLiteral("click-through on")));
    click(600, 500);
    ASSERT_TRUE(waitUntil([&] { return presses().size() >= 2; }));
    EXPECT_EQ(pressLog(), "press 1 640 400; press 1 600 500");
    // Switching never hid the panel.
    EXPECT_EQ(pixel(200, 150) & 0xffffff, red);
}

class PassThroughStrip : public OverlayPanels, public ::testing::WithParamInterface<bool> {};

TEST_P(PassThroughStrip, ReachesTheWindowBelowWhileThePanelTakesInput) {
    startServer();
    if (GetParam())
        startCompositor();
    startTargetAndWait();
    startProbe({QStringLiteral("--strip"), QStringLiteral("40")});
    ASSERT_TRUE(waitForPixel(200, 150, red));

    click(300, 20); // in the strip, where the desktop's top bar would be
    ASSERT_TRUE(waitUntil([&] { return presses().size() == 1; }));
    click(700, 450); // below it the panel takes the click, transparent or not
    EXPECT_TRUE(waitForOutput(QStringLiteral("panel press 700 450")));
    EXPECT_EQ(pressLog(), "press 1 300 20");
}

INSTANTIATE_TEST_SUITE_P(Compositing, PassThroughStrip, ::testing::Bool());

TEST_F(OverlayPanels, WithoutCompositor_FocusedPanel_GetsKeysPointerClicksAndDragsEverywhere) {
    startServer();
    startTargetAndWait();
    xdotool(QStringLiteral("search --classname target_window windowfocus mousemove 700 450"));
    const QImage targetPointer = cursorImage();
    const pid_t probe = startProbe({QStringLiteral("--focus")});
    ASSERT_TRUE(waitForPixel(200, 150, red));
    // It takes the keyboard from the window that had it.
    ASSERT_TRUE(waitForOutput(QStringLiteral("panel active")));
    xdotool(QStringLiteral("key x"));
    EXPECT_TRUE(waitForOutput(QStringLiteral("panel key x")));

    // Its pointer shows over the drawing and over transparent areas alike.
    xdotool(QStringLiteral("mousemove 200 150"));
    QImage panelPointer;
    ASSERT_TRUE(waitUntil([&] {
        panelPointer = cursorImage();
        return panelPointer != targetPointer;
    }));
    xdotool(QStringLiteral("mousemove 700 450"));
    EXPECT_TRUE(waitUntil([&] { return cursorImage() == panelPointer; }));

    xdotool(QStringLiteral("mousedown 1 mousemove 200 150 mouseup 1"));
    EXPECT_TRUE(waitForOutput(QStringLiteral("panel press 700 450")));
    EXPECT_TRUE(waitForOutput(QStringLiteral("panel release 200 150")));
    EXPECT_EQ(wrongPixels(teal), 0); // still nothing black

    // Once click-through, the same spot reaches the window below.
    kill(probe, SIGUSR1);
    ASSERT_TRUE(waitForOutput(QStringLiteral("click-through on")));
    click(600, 500);
    ASSERT_TRUE(waitUntil([&] { return presses().size() >= 1; }));
    EXPECT_EQ(pressLog(), "press 1 600 500");
}

TEST_F(OverlayPanels, WithoutCompositor_PanelIsCutToItsDrawing_AndWholeWhileOneRuns) {
    startServer();
    startTargetAndWait();
    startProbe({QStringLiteral("--click-through")});
    ASSERT_TRUE(waitForPixel(200, 150, red));
    // Without a compositor nothing may show black, not even for a moment.
    EXPECT_EQ(wrongPixels(teal), 0);
    const quint64 panel = firstPanelWindow();
    ASSERT_TRUE(windowShaped(panel));

    const pid_t compositor = startCompositor();
    ASSERT_TRUE(waitForOutput(QStringLiteral("compositing on")));
    EXPECT_TRUE(waitUntil([&] { return !windowShaped(panel); }));
    expectRedOver(teal);

    stop(compositor);
    ASSERT_TRUE(waitForOutput(QStringLiteral("compositing off"), 2));
    EXPECT_TRUE(waitUntil([&] { return windowShaped(panel); }));
    expectRedOver(teal);
    // Told once per run, not at every change.
    EXPECT_EQ(probeOutput().count(QStringLiteral("notice")), 1);
    EXPECT_TRUE(probeOutput().contains(QStringLiteral("notice Markvane: No compositing manager")));
}

TEST_F(OverlayPanels, PanelsFollowTheMonitorsAndStayOnTop_BelowKeepAboveWindowAndMenu) {
    startServer(true);
    const pid_t probe = startProbe({QStringLiteral("--click-through"),
                                    QStringLiteral("--keep-above"), QStringLiteral("--menu")});
    EXPECT_TRUE(probeOutput().contains(QStringLiteral("ready panels 2")));
    ASSERT_TRUE(waitForPixel(120, 110, red));
    ASSERT_TRUE(waitForPixel(1920 + 200, 150, red));
    const auto menuShown = [&] {
        const QRgb inMenu = pixel(240, 140) & 0xffffff;
        return inMenu != red && inMenu != 0;
    };
    ASSERT_TRUE(waitUntil(menuShown));

    // Losing a monitor takes its panel only; the program goes on answering.
    ASSERT_EQ(run(words(QStringLiteral("xrandr --delmonitor RIGHT"))), 0);
    ASSERT_TRUE(waitForOutput(QStringLiteral("panels 1\n")));
    EXPECT_TRUE(waitUntil([&] { return (pixel(1920 + 200, 150) & 0xffffff) != red; }));
    kill(probe, SIGUSR1);
    EXPECT_TRUE(waitForOutput(QStringLiteral("click-through off")));

    // A window mapped or raised later is covered again, below the keep-above
    // window and the menu.
    startTarget(teal, QRect(0, 0, 1920, 1080));
    ASSERT_TRUE(waitForPixel(640, 400, teal));
    for (bool raised : {false, true}) {
        SCOPED_TRACE(raised ? "raised" : "mapped");
        if (raised)
            xdotool(QStringLiteral("search --classname target_window windowraise"));
        EXPECT_TRUE(waitForPixel(120, 110, red));
        EXPECT_TRUE(waitForPixel(180, 150, blue));
        EXPECT_TRUE(menuShown());
    }
    EXPECT_TRUE(running(probe));
}

} // namespace
} // namespace markvane::testing
