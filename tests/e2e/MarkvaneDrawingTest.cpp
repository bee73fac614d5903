// The real program on a private X server with a compositor: hot keys, drawing
// keys and pointer drags go in through xdotool, the result is read back from
// the screen's pixels.
#include "X11Session.h"

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
    // on top. `beforeMarkvane` runs just
    // before Markvane starts.
    void launch(bool twoMonitors = false, const std::function<void()>& beforeMarkvane = {}) {
        startServer(twoMonitors);
        startCompositor();
        startTarget(kBackground, twoMonitors ? QRect(0, 0, 3200, 1080) : QRect(0, 0, 1280, 800));
        ASSERT_TRUE(waitForPixel(20, 20, kBackground));
        if (beforeMarkvane)
            beforeMarkvane();
        markvane = start(QStringLiteral(MARKVANE_PATH), {}, log());
        ASSERT_TRUE(waitUntil(
            [&] {
                return run(words(QStringLiteral("xdotool search --onlyvisible --pid %1")
                                     .arg(markvane))) == 0;
            },
            10s))
            << "no Markvane window appeared";
    }

    QString log() const { return path(QStringLiteral("markvane.log")); }

    // Keys go to the window under the pointer or to the focused panel; give
    // the program a moment to switch its panels before the next input.
    void key(const QString& keys) {
        xdotool(QStringLiteral("key ") + keys);
        std::this_thread::sleep_for(250ms);
    }

    void drag(const QList<QPoint>& path, const QString& heldKey = {}) {
        QString arguments =
            QStringLiteral("mousemove %1 %2 ").arg(path.first().x()).arg(path.first().y());
        if (!heldKey.isEmpty())
            arguments += QStringLiteral("keydown %1 ").arg(heldKey);
        arguments += QStringLiteral("mousedown 1 ");
        for (const QPoint& p : path.mid(1))
            arguments += QStringLiteral("mousemove %1 %2 sleep 0.02 ").arg(p.x()).arg(p.y());
        arguments += QStringLiteral("mouseup 1 ");
        if (!heldKey.isEmpty())
            arguments += QStringLiteral("keyup %1").arg(heldKey);
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

TEST_F(MarkvaneSession, DrawModeHotKey_TurnsClicksIntoAPenStrokeAlongThePathOnly) {
    launch();
    // Draw mode off: the click reaches the window below.
    click(640, 400);
    EXPECT_TRUE(waitUntil([&] { return targetReceivedPressAt(640, 400); }));
    EXPECT_TRUE(isBackground(pixel(640, 400)));

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

TEST_F(MarkvaneSession, RectangleToolWithShift_DrawsASquare_AndTypedTextStaysAfterEscape) {
    launch();
    key(QStringLiteral("ctrl+alt+d"));
    key(QStringLiteral("r"));
    drag({QPoint(300, 200), QPoint(400, 250), QPoint(500, 300)}, QStringLiteral("shift"));

    // The drag covered 200 × 100; Shift makes it 200 × 200. Count red in
    // bands across each edge: the selection outline runs along their middle.
    const auto red = [&](QRect band) { return countRed(grab(band)); };
    ASSERT_TRUE(waitUntil([&] { return red(QRect(320, 194, 160, 12)) > 300; }));
    EXPECT_GT(red(QRect(320, 394, 160, 12)), 300); // bottom at 400, not 300
    EXPECT_GT(red(QRect(294, 220, 12, 160)), 300);
    EXPECT_GT(red(QRect(494, 220, 12, 160)), 300);
    EXPECT_EQ(red(QRect(320, 294, 160, 12)), 0);
    EXPECT_EQ(red(QRect(280, 420, 240, 60)), 0);

    key(QStringLiteral("t"));
    click(800, 550);
    std::this_thread::sleep_for(300ms);
    xdotool(QStringLiteral("type --delay 30 HELLO"));
    key(QStringLiteral("Escape"));
    const QRect around(760, 490, 260, 120);
    ASSERT_TRUE(waitUntil([&] { return red(around) > 80; }));
    // Leaving the editor behind, the text stays after the next Escape too.
    key(QStringLiteral("Escape"));
    EXPECT_GT(red(around), 80);
}

TEST_F(MarkvaneSession, CtrlZ_RemovesTheLastStroke_AndEscapeTwiceLeavesDrawModeKeepingTheRest) {
    launch();
    key(QStringLiteral("ctrl+alt+d"));
    penStroke(300, 500, 200);
    penStroke(300, 500, 400);
    ASSERT_TRUE(waitUntil([&] { return isRed(pixel(400, 400)); }));
    ASSERT_TRUE(isRed(pixel(400, 200)));

    key(QStringLiteral("ctrl+z"));
    EXPECT_TRUE(waitUntil([&] { return isBackground(pixel(400, 400)); }));
    EXPECT_TRUE(isRed(pixel(400, 200)));

    key(QStringLiteral("Escape"));
    key(QStringLiteral("Escape"));
    click(700, 600);
    EXPECT_TRUE(waitUntil([&] { return targetReceivedPressAt(700, 600); }));
    EXPECT_TRUE(isRed(pixel(400, 200)));
}

TEST_F(MarkvaneSession, SecondMonitor_TakesItsStroke_AndLosingItLeavesDrawingOnTheFirst) {
    launch(true);
    xdotool(QStringLiteral("mousemove 2400 500"));
    key(QStringLiteral("ctrl+alt+d"));
    penStroke(2300, 2500, 500);
    ASSERT_TRUE(waitUntil([&] { return isRed(pixel(2400, 500)); }));
    EXPECT_EQ(countRed(grab(QRect(0, 0, 1920, 1080))), 0);
    EXPECT_TRUE(isBackground(pixel(2400, 540)));

    ASSERT_EQ(run(words(QStringLiteral("xrandr --delmonitor RIGHT"))), 0);
    std::this_thread::sleep_for(500ms);
    ASSERT_TRUE(running(markvane));
    // The rebuilt panels are still in draw mode.
    penStroke(300, 500, 300);
    EXPECT_TRUE(waitUntil([&] { return isRed(pixel(400, 300)); }));
    EXPECT_TRUE(running(markvane));
}

TEST_F(MarkvaneSession, DrawModeHotKeyHeldByAnotherProgram_WarnsAndKeepsRunning) {
    launch(false, [&] { holdHotKey("d"); });

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
