// Launch, the tray icon and its menu, the single instance and the command
// line, with the real program on a private X server and session bus.
#include "X11Session.h"

#include <QFile>
#include <csignal>

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
        // A user who has seen the greeting: no alert covers the screen.
        QFile preferences(path(QStringLiteral("config/preferences.json")));
        ASSERT_TRUE(preferences.open(QIODevice::WriteOnly));
        preferences.write(R"({"hasShownWelcome": true})");
    }

    pid_t startTray() {
        return start(QStringLiteral("trayer"),
                     {QStringLiteral("--edge"), QStringLiteral("top"), QStringLiteral("--align"),
                      QStringLiteral("left"), QStringLiteral("--widthtype"),
                      QStringLiteral("request"), QStringLiteral("--height"), QStringLiteral("32"),
                      QStringLiteral("--SetDockType"), QStringLiteral("false")},
                     path(QStringLiteral("trayer.log")));
    }

    pid_t startMarkvane() {
        const pid_t pid = start(QStringLiteral(MARKVANE_PATH), {}, log());
        EXPECT_TRUE(waitUntil([&] { return onBus(); }, 15s)) << qPrintable(output());
        return pid;
    }

    // Runs the command line; its exit status, output in `commandOutput()`.
    int markvane(const QStringList& arguments) {
        QStringList quoted;
        for (const QString& argument : arguments)
            quoted << QLatin1Char('\'') + argument + QLatin1Char('\'');
        return run({QStringLiteral("sh"), QStringLiteral("-c"),
                    QStringLiteral("exec '%1' %2 > '%3' 2>&1")
                        .arg(QStringLiteral(MARKVANE_PATH), quoted.join(QLatin1Char(' ')),
                             path(QStringLiteral("command.out")))});
    }
    QString commandOutput() const { return readFile(path(QStringLiteral("command.out"))); }

    bool onBus() {
        return run({QStringLiteral("gdbus"), QStringLiteral("introspect"),
                    QStringLiteral("--session"), QStringLiteral("--dest"),
                    QStringLiteral("com.fernquay.Markvane"), QStringLiteral("--object-path"),
                    QStringLiteral("/com/fernquay/Markvane")}) == 0;
    }

    // The running instance's draw mode, read over the bus.
    std::optional<bool> drawMode() {
        const QString file = path(QStringLiteral("drawmode.out"));
        const int status = run(
            {QStringLiteral("sh"), QStringLiteral("-c"),
             QStringLiteral("gdbus call --session --dest com.fernquay.Markvane --object-path "
                            "/com/fernquay/Markvane --method org.freedesktop.DBus.Properties.Get "
                            "com.fernquay.Markvane DrawMode > '%1'")
                 .arg(file)});
        if (status != 0)
            return std::nullopt;
        const QString text = readFile(file);
        if (text.contains(QStringLiteral("true")))
            return true;
        if (text.contains(QStringLiteral("false")))
            return false;
        return std::nullopt;
    }

    // Windows of the program's own (panels, tray icon), by its window class.
    int programWindows() {
        const QString file = path(QStringLiteral("windows.out"));
        run({QStringLiteral("sh"), QStringLiteral("-c"),
             QStringLiteral("xdotool search --classname '^markvane$' > '%1'").arg(file)});
        return int(readFile(file).split(QLatin1Char('\n'), Qt::SkipEmptyParts).size());
    }

    QString log() const { return path(QStringLiteral("markvane.log")); }
    QString output() const { return readFile(log()); }
};

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
    xdotool({QStringLiteral("mousemove"), QString::number(icon.x()), QString::number(icon.y()),
             QStringLiteral("click"), QStringLiteral("3")});
    std::this_thread::sleep_for(500ms);
    xdotool({QStringLiteral("key"), QStringLiteral("Down"), QStringLiteral("Return")});

    EXPECT_TRUE(waitUntil([&] { return drawMode() == true; })) << qPrintable(output());
    EXPECT_TRUE(waitUntil([&] { return countPixels(grab(kTrayArea), isAccent) > 10; }));
}

TEST_F(Launch, CommandLineTogglesDrawModeOfTheRunningInstance) {
    startMarkvane();
    ASSERT_EQ(drawMode(), false);
    EXPECT_EQ(markvane({QStringLiteral("--action"), QStringLiteral("drawMode")}), 0)
        << qPrintable(commandOutput());
    EXPECT_TRUE(waitUntil([&] { return drawMode() == true; }));
    EXPECT_EQ(markvane({QStringLiteral("--action"), QStringLiteral("drawMode")}), 0);
    EXPECT_TRUE(waitUntil([&] { return drawMode() == false; }));
}

TEST_F(Launch, SecondLaunchHandsOverAndLeavesNoSecondSetOfPanels) {
    startMarkvane();
    ASSERT_EQ(markvane({QStringLiteral("--tool"), QStringLiteral("pen")}), 0);
    ASSERT_TRUE(waitUntil([&] { return drawMode() == true; }));
    ASSERT_TRUE(waitUntil([&] { return programWindows() > 0; }));
    const int windows = programWindows();

    const pid_t second =
        start(QStringLiteral(MARKVANE_PATH), {}, path(QStringLiteral("second.log")));
    EXPECT_TRUE(waitUntil([&] { return !running(second); }, 10s));
    EXPECT_TRUE(
        readFile(path(QStringLiteral("second.log"))).contains(QStringLiteral("already running")));
    EXPECT_EQ(programWindows(), windows);
}

TEST_F(Launch, QuitEndsTheProgramAndThenSaysNothingRuns) {
    const pid_t instance = startMarkvane();
    EXPECT_EQ(markvane({QStringLiteral("--quit")}), 0) << qPrintable(commandOutput());
    EXPECT_TRUE(waitUntil([&] { return !running(instance); }, 10s));
    EXPECT_FALSE(onBus());
    EXPECT_EQ(markvane({QStringLiteral("--quit")}), 0);
    EXPECT_TRUE(commandOutput().contains(QStringLiteral("not running")));
    EXPECT_FALSE(onBus()); // a lone --quit starts nothing
}

TEST_F(Launch, CommandStartsTheProgramWhenNoneRuns) {
    ASSERT_FALSE(onBus());
    EXPECT_EQ(markvane({QStringLiteral("--action"), QStringLiteral("drawMode")}), 0)
        << qPrintable(commandOutput());
    EXPECT_TRUE(onBus());
    EXPECT_TRUE(waitUntil([&] { return drawMode() == true; }));
    EXPECT_EQ(markvane({QStringLiteral("--quit")}), 0);
    EXPECT_TRUE(waitUntil([&] { return !onBus(); }, 10s));
}

TEST_F(Launch, UnknownValuesFailWithoutStartingAnything) {
    EXPECT_EQ(markvane({QStringLiteral("--action"), QStringLiteral("fly")}), 2);
    EXPECT_TRUE(commandOutput().contains(QStringLiteral("Unknown action \"fly\"")));
    EXPECT_EQ(markvane({QStringLiteral("--color"), QStringLiteral("9")}), 2);
    EXPECT_FALSE(onBus());
}

TEST_F(Launch, WithoutASessionBusTheCommandLineSaysSoQuickly) {
    const auto began = std::chrono::steady_clock::now();
    const int status =
        run({QStringLiteral("sh"), QStringLiteral("-c"),
             QStringLiteral("unset DBUS_SESSION_BUS_ADDRESS DISPLAY; exec '%1' "
                            "--action drawMode > '%2' 2>&1")
                 .arg(QStringLiteral(MARKVANE_PATH), path(QStringLiteral("command.out")))});
    EXPECT_NE(status, 0);
    EXPECT_LT(std::chrono::steady_clock::now() - began, 5s);
    EXPECT_TRUE(commandOutput().contains(QStringLiteral("session bus")))
        << qPrintable(commandOutput());
}

TEST_F(Launch, WithoutATrayStillRunsAndShowsTheIconOnceATrayAppears) {
    startMarkvane();
    EXPECT_TRUE(waitUntil([&] { return output().contains(QStringLiteral("no system tray")); }))
        << qPrintable(output());
    EXPECT_EQ(markvane({QStringLiteral("--action"), QStringLiteral("drawMode")}), 0);
    EXPECT_TRUE(waitUntil([&] { return drawMode() == true; }));

    startTray();
    EXPECT_TRUE(waitUntil([&] { return countPixels(grab(kTrayArea), isAccent) > 10; }, 10s));
}

TEST_F(Launch, TermSignalEndsTheProgramLikeQuitAndKeepsPreferences) {
    const pid_t instance = startMarkvane();
    ASSERT_EQ(markvane({QStringLiteral("--tool"), QStringLiteral("ellipse")}), 0);
    ASSERT_TRUE(waitUntil([&] { return drawMode() == true; }));
    ::kill(instance, SIGTERM);
    EXPECT_TRUE(waitUntil([&] { return !running(instance); }, 10s));
    EXPECT_FALSE(onBus());
    EXPECT_TRUE(readFile(path(QStringLiteral("config/preferences.json")))
                    .contains(QStringLiteral("ellipse")));
}

} // namespace
} // namespace markvane::testing
