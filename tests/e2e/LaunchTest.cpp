// Launch, the tray icon and its menu, the single instance and the command
// line, with the real program on a private X server and session bus.
#include "X11Session.h"

#include <csignal>
#include <thread>

namespace markvane::testing {
namespace {

using namespace std::chrono_literals;

// Where trayer, at the top left, embeds the first icon.
const QRect kTrayArea(1, 1, 22, 30);

bool isAccent(QRgb pixel) {
    // The default palette's highlight: a clear blue.
    return qBlue(pixel) > 150 && qBlue(pixel) > qRed(pixel) + 60;
}

int countPixels(const QImage& image, const std::function<bool(QRgb)>& test) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            count += test(image.pixel(x, y));
    return count;
}

class Launch : public X11Session {
protected:
    void SetUp() override {
        X11Session::SetUp();
        startServer();
    }

    pid_t startTray() {
        return start(QStringLiteral("trayer"),
                     words(QStringLiteral("--edge top --align left --widthtype request "
                                          "--height 32 --SetDockType false")),
                     path(QStringLiteral("trayer.log")));
    }

    pid_t startMarkvane() {
        const pid_t pid = start(QStringLiteral(MARKVANE_PATH), {}, log());
        EXPECT_TRUE(waitUntil([&] { return onBus(); }, 15s)) << qPrintable(output());
        return pid;
    }

    // Runs the command line; its exit status, output in `commandOutput`.
    int markvane(const QString& arguments) {
        return run(QStringList{QStringLiteral(MARKVANE_PATH)} + words(arguments), &commandOutput);
    }

    bool onBus() {
        return run(words(QStringLiteral("gdbus introspect --session --dest com.fernquay.Markvane "
                                        "--object-path /com/fernquay/Markvane"))) == 0;
    }

    // The running instance's draw mode, read over the bus; nothing while it
    // does not answer.
    std::optional<bool> drawMode() {
        QString text;
        run(words(QStringLiteral(
                "gdbus call --session --dest com.fernquay.Markvane --object-path "
                "/com/fernquay/Markvane --method org.freedesktop.DBus.Properties.Get "
                "com.fernquay.Markvane DrawMode")),
            &text);
        if (!text.contains(QStringLiteral("true")) && !text.contains(QStringLiteral("false")))
            return std::nullopt;
        return text.contains(QStringLiteral("true"));
    }

    // Windows of the program's own (panels, tray icon), by its window class.
    int programWindows() {
        QString found;
        run(words(QStringLiteral("xdotool search --classname ^markvane$")), &found);
        return int(found.split(QLatin1Char('\n'), Qt::SkipEmptyParts).size());
    }

    QString log() const { return path(QStringLiteral("markvane.log")); }
    QString output() const { return readFile(log()); }

    QString commandOutput;
};

TEST_F(Launch, CommandLine_StartsTheProgram_TogglesIt_AndQuitsIt) {
    ASSERT_FALSE(onBus());
    EXPECT_EQ(markvane(QStringLiteral("--action drawMode")), 0) << qPrintable(commandOutput);
    EXPECT_TRUE(onBus());
    EXPECT_TRUE(waitUntil([&] { return drawMode() == true; }));
    // Later commands go to the running instance.
    EXPECT_EQ(markvane(QStringLiteral("--action drawMode")), 0) << qPrintable(commandOutput);
    EXPECT_TRUE(waitUntil([&] { return drawMode() == false; }));

    EXPECT_EQ(markvane(QStringLiteral("--quit")), 0) << qPrintable(commandOutput);
    EXPECT_TRUE(waitUntil([&] { return !onBus(); }, 10s));
    EXPECT_EQ(markvane(QStringLiteral("--quit")), 0);
    EXPECT_TRUE(commandOutput.contains(QStringLiteral("not running")));
    EXPECT_FALSE(onBus()); // a lone --quit starts nothing
}

TEST_F(Launch, SecondLaunchLeavesOneSetOfPanels_AndTermSignalQuitsKeepingPreferences) {
    const pid_t instance = startMarkvane();
    ASSERT_EQ(markvane(QStringLiteral("--tool ellipse")), 0);
    ASSERT_TRUE(waitUntil([&] { return drawMode() == true; }));
    ASSERT_TRUE(waitUntil([&] { return programWindows() > 0; }));
    const int windows = programWindows();

    const pid_t second =
        start(QStringLiteral(MARKVANE_PATH), {}, path(QStringLiteral("second.log")));
    EXPECT_TRUE(waitUntil([&] { return !running(second); }, 10s));
    EXPECT_TRUE(
        readFile(path(QStringLiteral("second.log"))).contains(QStringLiteral("already running")));
    EXPECT_EQ(programWindows(), windows);

    ::kill(instance, SIGTERM);
    EXPECT_TRUE(waitUntil([&] { return !running(instance); }, 10s));
    EXPECT_FALSE(onBus());
    EXPECT_TRUE(readFile(path(QStringLiteral("config/preferences.json")))
                    .contains(QStringLiteral("ellipse")));
}

TEST_F(Launch, BadValuesOrNoSessionBus_FailQuicklyWithoutStartingAnything) {
    EXPECT_EQ(markvane(QStringLiteral("--action fly")), 2);
    EXPECT_TRUE(commandOutput.contains(QStringLiteral("Unknown action \"fly\"")));
    EXPECT_EQ(markvane(QStringLiteral("--color 9")), 2);
    EXPECT_FALSE(onBus());

    const auto began = std::chrono::steady_clock::now();
    const int status =
        run(words(QStringLiteral("env -u DBUS_SESSION_BUS_ADDRESS -u DISPLAY " MARKVANE_PATH
                                 " --action drawMode")),
            &commandOutput);
    EXPECT_NE(status, 0);
    EXPECT_LT(std::chrono::steady_clock::now() - began, 5s);
    EXPECT_TRUE(commandOutput.contains(QStringLiteral("session bus"))) << qPrintable(commandOutput);
}

TEST_F(Launch, TrayIconAppearsAndItsMenuTogglesDrawMode) {
    startTray();
    startMarkvane();
    // The ring is drawn in the theme's text colour while draw mode is off.
    ASSERT_TRUE(waitUntil([&] {
        return countPixels(grab(kTrayArea), [](QRgb p) { return qGray(p) < 60; }) > 20;
    })) << qPrintable(output());
    EXPECT_EQ(countPixels(grab(kTrayArea), isAccent), 0);

    // Open the menu on the icon; the first item that can be chosen is "Draw mode".
    const QPoint icon = kTrayArea.center();
    xdotool(QStringLiteral("mousemove %1 %2 click 3").arg(icon.x()).arg(icon.y()));
    std::this_thread::sleep_for(500ms);
    xdotool(QStringLiteral("key Down Return"));

    EXPECT_TRUE(waitUntil([&] { return drawMode() == true; })) << qPrintable(output());
    EXPECT_TRUE(waitUntil([&] { return countPixels(grab(kTrayArea), isAccent) > 10; }));
}

TEST_F(Launch, WithoutATrayStillRunsAndShowsTheIconOnceATrayAppears) {
    startMarkvane();
    EXPECT_TRUE(waitUntil([&] { return output().contains(QStringLiteral("no system tray")); }))
        << qPrintable(output());
    EXPECT_EQ(markvane(QStringLiteral("--action drawMode")), 0);
    EXPECT_TRUE(waitUntil([&] { return drawMode() == true; }));

    startTray();
    EXPECT_TRUE(waitUntil([&] { return countPixels(grab(kTrayArea), isAccent) > 10; }, 10s));
}

} // namespace
} // namespace markvane::testing
