#pragma once

#include "support/XvfbServer.h"

#include <QImage>
#include <QRect>
#include <QString>
#include <QStringList>
#include <chrono>
#include <functional>
#include <gtest/gtest.h>
#include <sys/types.h>

using Display = struct _XDisplay;

namespace markvane::testing {

// Waits until `condition` holds, polling briefly, for at most `timeout`.
bool waitUntil(const std::function<bool()>& condition,
               std::chrono::milliseconds timeout = std::chrono::milliseconds(5000));

// "a b c" as the argument list {a, b, c}.
inline QStringList words(const QString& text) {
    return text.split(QLatin1Char(' '), Qt::SkipEmptyParts);
}

// A private X server per test, with the programs a test starts on it. Every
// process started here is killed by its id when the test ends, passed or not.
class X11Session : public ::testing::Test {
protected:
    // A folder of the test's own for logs and preferences, with the program
    // past its first-launch greeting.
    void SetUp() override;
    void TearDown() override;

    // One 1280×800 screen, or a 3200×1080 screen split into the monitors
    // LEFT 1920×1080+0+0 and RIGHT 1280×1024+1920+0. Programs started here
    // also share a session bus of the test's own.
    void startServer(bool twoMonitors = false);
    // Starts the compositing manager and waits until it owns _NET_WM_CM_S0.
    pid_t startCompositor();
    // A window filled with `rgb` that logs the button presses it receives.
    pid_t startTarget(QRgb rgb, const QRect& geometry);
    // Starts `program` with DISPLAY set; its stdout and stderr go to `log`.
    pid_t start(const QString& program, const QStringList& arguments, const QString& log);
    void stop(pid_t pid);
    bool running(pid_t pid);
    // Runs a short command to its end (bounded by a time-out); its exit
    // status, and what it printed in `output` if asked.
    int run(const QStringList& command, QString* output = nullptr);
    // xdotool with space-separated arguments, bounded by a time-out.
    void xdotool(const QString& arguments);
    void click(int x, int y);

    QImage grab(const QRect& rect) const;
    QRgb pixel(int x, int y) const;
    // Waits until the pixel at (x, y) has the colour `rgb`.
    bool waitForPixel(int x, int y, QRgb rgb);
    bool windowShaped(quint64 window) const;
    // Holds Ctrl+Alt+`key` on the root window, with every lock key, as another
    // program that got the combination first would, until the test ends.
    void holdHotKey(const char* key);
    // The pointer's current image, with its hot spot as the image's offset.
    QImage cursorImage() const;

    QString readFile(const QString& path) const;
    QString path(const QString& name) const { return dir_ + QLatin1Char('/') + name; }
    QString targetLog() const { return path(QStringLiteral("target.log")); }

private:
    void startSessionBus();
    QStringList environment() const;

    QString dir_;
    XvfbServer server_;
    QString busAddress_;
    Display* display_ = nullptr;
    QList<pid_t> pids_;
};

} // namespace markvane::testing
