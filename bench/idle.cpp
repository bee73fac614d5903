// What the program does while nothing happens: with draw mode on and the
// pointer still, nothing may repaint; with draw mode off and nothing fading,
// none of the program's timers may run. Each case watches the event loop for
// two seconds and counts paint and timer events; the CPU column is the
// program's own work in that time.
#include "annotations/AnnotationStore.h"
#include "app/AppController.h"
#include "fakes/FakeClock.h"
#include "fakes/FakeHotKeys.h"
#include "fakes/FakePlatform.h"
#include "fakes/FakePreferences.h"
#include "overlay/DrawOverlayManager.h"
#include "overlay/DrawOverlayView.h"
#include "platform/OverlayWindows.h"
#include "shortcuts/DrawShortcuts.h"
#include "shortcuts/GlobalShortcuts.h"

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QEvent>
#include <atomic>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdio>
#include <thread>

namespace markvane {
namespace {

constexpr int kWatchMs = 2000;

// Panels shown as plain top-level windows.
class PlainOverlayWindows : public platform::OverlayWindows {
public:
    void preparePanel(QWidget* panel, QScreen*) override { panel->show(); }
    void setClickThrough(QWidget*, bool) override {}
    void setPassThroughArea(QWidget*, const QRect&) override {}
    void focusPanel(QWidget* panel) override { panel->activateWindow(); }
    void keepAbovePanels(QWidget*) override {}
    bool compositing() const override { return true; }
};

struct Seen {
    int paints = 0;
    int timers = 0;
};

class EventCounter : public QObject {
public:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && qobject_cast<DrawOverlayView*>(watched))
            ++seen.paints;
        else if (event->type() == QEvent::Timer)
            ++seen.timers;
        return false;
    }
    Seen seen;
};

// The program with its drawing panels on one display, showing a few
// finished annotations.
struct IdleProgram {
    IdleProgram() {
        preferences.stored.insert(QStringLiteral("hasShownWelcome"), true);
        platform::ScreenInfo display;
        display.name = QStringLiteral("offscreen");
        display.frame = display.visibleFrame = QRectF(0, 0, 1280, 800);
        display.isMain = true;
        screens.list = {display};
        screens.pointer = QPointF(640, 400);
        for (int i = 0; i < 20; ++i) {
            store.beginStroke({100.0 + i * 40, 100});
            store.updateStroke({140.0 + i * 40, 300}, false, false);
            store.commitStroke();
        }
        controller.start();
    }

    testing::FakeClock clock;
    testing::FakePreferences preferences;
    testing::FakePasteboard pasteboard;
    testing::FakeScreens screens;
    testing::FakeAlerts alerts;
    testing::FakePermissions permissions;
    testing::FakeHotKeys hotKeys;
    PlainOverlayWindows windows;
    AnnotationStore store{{&clock, &preferences, &pasteboard}};
    DrawShortcuts drawShortcuts{{&preferences, &alerts, &permissions}, store};
    GlobalShortcuts globalShortcuts{{&preferences, &hotKeys}};
    AppController controller{
        {&store, &drawShortcuts, &globalShortcuts, &preferences, &pasteboard, &screens, &alerts,
         &permissions},
        [this](DrawViewHost& host) {
            return std::make_unique<DrawOverlayManager>(
                screens, windows, [this, &host](const platform::ScreenInfo& info) {
                    return new DrawOverlayView(info, store, host, {&clock, &screens, {}});
                });
        },
        [](const QKeyEvent&) { return std::optional<DrawKey>(); },
        [](const QString&, const QString&, const QString&) {}};
};

// Runs the event loop for the watch period, sleeping while it has nothing to
// do. A plain thread, not a timer of the loop, says when the period is over,
// so the CPU time reported is the program's own.
Seen watch(int milliseconds) {
    EventCounter counter;
    qApp->installEventFilter(&counter);
    std::atomic<bool> over = false;
    std::thread alarm([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
        over = true;
        QAbstractEventDispatcher::instance(qApp->thread())->wakeUp();
    });
    while (!over)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    alarm.join();
    qApp->removeEventFilter(&counter);
    return counter.seen;
}

void report(benchmark::State& state, const char* name, const Seen& seen, int timerBudget) {
    state.counters["repaints"] = seen.paints;
    state.counters["timer_events"] = seen.timers;
    std::printf("%s: budget: 0 repaints, %d timer events; measured: %d repaints, %d timer "
                "events in %d ms\n",
                name, timerBudget, seen.paints, seen.timers, kWatchMs);
}

void BM_IdleDrawModeOn(benchmark::State& state) {
    IdleProgram program;
    program.controller.setDrawMode(true);
    watch(300); // let the first paint of the panels go by
    Seen seen;
    for (auto _ : state)
        seen = watch(kWatchMs);
    // The pointer-shape poll ticks every 0.1 s while drawing; it must not repaint.
    report(state, "draw mode on, pointer still", seen, kWatchMs / 100);
}
BENCHMARK(BM_IdleDrawModeOn)->Iterations(1)->Unit(benchmark::kMillisecond);

void BM_IdleDrawModeOff(benchmark::State& state) {
    IdleProgram program;
    watch(300);
    Seen seen;
    for (auto _ : state)
        seen = watch(kWatchMs);
    report(state, "draw mode off, nothing fading", seen, 0);
}
BENCHMARK(BM_IdleDrawModeOff)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace markvane

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
