// The real program on a private X server with a compositor: hot keys, drawing
// keys and pointer drags go in through xdotool, the result is read back from
// the screen's pixels.
#include "X11Session.h"

#include <QFile>
#include <thread>

namespace markvane::testing {
namespace {

using namespace std::chrono_literals;

constexpr QRgb kBackground = 0x3060a0;

bool isRed(QRgb pixel) {
    return qRed(pixel) > 200 && qGreen(pixel) < 130 && qBlue(pixel) < 130;
}

bool isBackground(QRgb pixel) {
    return (pixel & 0xffffff) == kBackground;
}

int countRed(const QImage& image) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            count += isRed(image.pixel(x, y));
    return count;
}

class MarkvaneSession : public X11Session {
protected:
    // A screen with a compositor, a plain window over all of it, and Markvane
    // on top, past its first-launch greeting.
    void launch(bool twoMonitors = false) {
        startServer(twoMonitors);
        startCompositor();
        const QRect all = twoMonitors ? QRect(0, 0, 3200, 1080) : QRect(0, 0, 1280, 800);
        startTarget(kBackground, all);
        ASSERT_TRUE(waitForPixel(20, 20, kBackground));
        skipWelcome();
        startMarkvane();
    }

    // A user who has seen the greeting: no alert covers the screen.
    void skipWelcome() {
        QFile preferences(path(QStringLiteral("config/preferences.json")));
        ASSERT_TRUE(preferences.open(QIODevice::WriteOnly));
        preferences.write(R"({"hasShownWelcome": true})");
    }

    void startMarkvane() {
        markvane = start(QStringLiteral(MARKVANE_PATH), {}, log());
        ASSERT_TRUE(waitUntil(
            [&] {
                return run({QStringLiteral("xdotool"), QStringLiteral("search"),
                            QStringLiteral("--onlyvisible"), QStringLiteral("--pid"),
                            QString::number(markvane)}) == 0;
            },
            10s))
            << "no Markvane window appeared";
    }

    QString log() const { return path(QStringLiteral("markvane.log")); }

    // Keys go to the window under the pointer or to the focused panel; give
    // the program a moment to switch its panels before the next input.
    void key(const QString& keys) {
        xdotool({QStringLiteral("key"), keys});
        std::this_thread::sleep_for(250ms);
    }

    void drag(const QList<QPoint>& path, const QString& heldKey = {}) {
        QStringList arguments{QStringLiteral("mousemove"), QString::number(path.first().x()),
                              QString::number(path.first().y())};
        if (!heldKey.isEmpty())
            arguments << QStringLiteral("keydown") << heldKey;
        arguments << QStringLiteral("mousedown") << QStringLiteral("1");
        for (const QPoint& p : path.mid(1))
            arguments << QStringLiteral("mousemove") << QString::number(p.x())
                      << QString::number(p.y()) << QStringLiteral("sleep")
                      << QStringLiteral("0.02");
        arguments << QStringLiteral("mouseup") << QStringLiteral("1");
        if (!heldKey.isEmpty())
            arguments << QStringLiteral("keyup") << heldKey;
        xdotool(arguments);
    }

    void penStroke(int x0, int x1, int y) {
        QList<QPoint> points;
        for (int x = x0; x <= x1; x += 25)
            points.append(QPoint(x, y));
        drag(points);
    }

    bool targetReceivedPressAt(int x, int y) const {
        return readFile(targetLog()).contains(QStringLiteral("press 1 %1 %2").arg(x).arg(y));
    }

    pid_t markvane = 0;
};

TEST_F(MarkvaneSession, DrawModeHotKey_ThenPenDrag_LeavesRedOnlyAlongThePath) {
    launch();
    key(QStringLiteral("ctrl+alt+d"));
    penStroke(300, 500, 300);

    ASSERT_TRUE(waitUntil([&] { return isRed(pixel(400, 300)); }));
    EXPECT_TRUE(isRed(pixel(310, 300)));
    EXPECT_TRUE(isRed(pixel(490, 300)));
    // Beside and beyond the stroke the window below shows through untouched.
    EXPECT_TRUE(isBackground(pixel(400, 320)));
    EXPECT_TRUE(isBackground(pixel(530, 300)));
    EXPECT_EQ(countRed(grab(QRect(0, 0, 1280, 280))), 0);
    EXPECT_EQ(countRed(grab(QRect(0, 320, 1280, 480))), 0);
    // In draw mode the press drew: it never reached the window below.
    EXPECT_FALSE(targetReceivedPressAt(300, 300));
}

TEST_F(MarkvaneSession, DrawModeOff_ClickReachesTheWindowBelow) {
    launch();
    click(640, 400);
    EXPECT_TRUE(waitUntil([&] { return targetReceivedPressAt(640, 400); }));
    EXPECT_TRUE(isBackground(pixel(640, 400)));
}

TEST_F(MarkvaneSession, RectangleToolWithShift_DrawsASquare) {
    launch();
    key(QStringLiteral("ctrl+alt+d"));
    key(QStringLiteral("r"));
    drag({QPoint(300, 200), QPoint(400, 250), QPoint(500, 300)}, QStringLiteral("shift"));

    // The drag covered 200 × 100; Shift makes it 200 × 200. Count red in
    // bands across each edge: the selection outline runs along their middle.
    const auto edge = [&](QRect band) { return countRed(grab(band)); };
    ASSERT_TRUE(waitUntil([&] { return edge(QRect(320, 194, 160, 12)) > 300; }));
    EXPECT_GT(edge(QRect(320, 394, 160, 12)), 300); // bottom at 400, not 300
    EXPECT_GT(edge(QRect(294, 220, 12, 160)), 300);
    EXPECT_GT(edge(QRect(494, 220, 12, 160)), 300);
    EXPECT_EQ(edge(QRect(320, 294, 160, 12)), 0);
    EXPECT_EQ(edge(QRect(280, 420, 240, 60)), 0);
}

TEST_F(MarkvaneSession, TextToolTypingThenEscape_LeavesTheTextDrawn) {
    launch();
    key(QStringLiteral("ctrl+alt+d"));
    key(QStringLiteral("t"));
    click(400, 300);
    std::this_thread::sleep_for(300ms);
    xdotool({QStringLiteral("type"), QStringLiteral("--delay"), QStringLiteral("30"),
             QStringLiteral("HELLO")});
    key(QStringLiteral("Escape"));

    const QRect around(360, 240, 260, 120);
    ASSERT_TRUE(waitUntil([&] { return countRed(grab(around)) > 80; }));
    // Leaving the editor behind, the text stays after the next Escape too.
    key(QStringLiteral("Escape"));
    EXPECT_GT(countRed(grab(around)), 80);
}

TEST_F(MarkvaneSession, CtrlZ_RemovesTheLastStroke) {
    launch();
    key(QStringLiteral("ctrl+alt+d"));
    penStroke(300, 500, 200);
    penStroke(300, 500, 400);
    ASSERT_TRUE(waitUntil([&] { return isRed(pixel(400, 400)); }));
    ASSERT_TRUE(isRed(pixel(400, 200)));

    key(QStringLiteral("ctrl+z"));
    EXPECT_TRUE(waitUntil([&] { return isBackground(pixel(400, 400)); }));
    EXPECT_TRUE(isRed(pixel(400, 200)));
}

TEST_F(MarkvaneSession, EscapeTwiceFromPen_LeavesDrawMode) {
    launch();
    key(QStringLiteral("ctrl+alt+d"));
    penStroke(300, 500, 300);
    ASSERT_TRUE(waitUntil([&] { return isRed(pixel(400, 300)); }));

    key(QStringLiteral("Escape"));
    key(QStringLiteral("Escape"));
    click(700, 600);
    EXPECT_TRUE(waitUntil([&] { return targetReceivedPressAt(700, 600); }));
    // Leaving draw mode keeps what was drawn.
    EXPECT_TRUE(isRed(pixel(400, 300)));
}

TEST_F(MarkvaneSession, SecondMonitor_StrokeLandsThere) {
    launch(true);
    xdotool({QStringLiteral("mousemove"), QStringLiteral("2400"), QStringLiteral("500")});
    key(QStringLiteral("ctrl+alt+d"));
    penStroke(2300, 2500, 500);
    ASSERT_TRUE(waitUntil([&] { return isRed(pixel(2400, 500)); }));
    EXPECT_EQ(countRed(grab(QRect(0, 0, 1920, 1080))), 0);
    EXPECT_TRUE(isBackground(pixel(2400, 540)));
}

TEST_F(MarkvaneSession, MonitorRemoved_PanelsRebuiltAndDrawingGoesOn) {
    launch(true);
    ASSERT_EQ(
        run({QStringLiteral("xrandr"), QStringLiteral("--delmonitor"), QStringLiteral("RIGHT")}),
        0);
    std::this_thread::sleep_for(500ms);
    ASSERT_TRUE(running(markvane));

    key(QStringLiteral("ctrl+alt+d"));
    penStroke(300, 500, 300);
    EXPECT_TRUE(waitUntil([&] { return isRed(pixel(400, 300)); }));
    EXPECT_TRUE(running(markvane));
}

TEST_F(MarkvaneSession, DrawModeHotKeyHeldByAnotherProgram_WarnsAndKeepsRunning) {
    startServer();
    startCompositor();
    startTarget(kBackground, QRect(0, 0, 1280, 800));
    const QString holderLog = path(QStringLiteral("holder.log"));
    start(QStringLiteral(HOTKEY_HOLDER_PATH), {QStringLiteral("d")}, holderLog);
    ASSERT_TRUE(waitUntil([&] { return readFile(holderLog).contains(QStringLiteral("held")); }));
    skipWelcome();
    startMarkvane();

    EXPECT_TRUE(waitUntil([&] {
        return readFile(log()).contains(
            QStringLiteral("Ctrl+Alt+D is already claimed by another app."));
    }));
    // The hot key belongs to the other program: pressing it leaves draw mode
    // off. (The notice sits in the middle of the screen; click beside it.)
    key(QStringLiteral("ctrl+alt+d"));
    click(100, 100);
    EXPECT_TRUE(waitUntil([&] { return targetReceivedPressAt(100, 100); }));
    EXPECT_TRUE(running(markvane));
}

} // namespace
} // namespace markvane::testing
