// Undo snapshots, hit lookups and undo/redo over a full scene: 500 freehand
// strokes of 2,000 points each.
#include "annotations/AnnotationStore.h"
#include "fakes/FakeClock.h"
#include "fakes/FakePreferences.h"

#include <QCoreApplication>
#include <QFile>
#include <QRandomGenerator>
#include <benchmark/benchmark.h>
#include <cmath>
#include <cstdio>
#include <malloc.h>
#include <memory>
#include <unistd.h>

using namespace markvane;

namespace {

constexpr int kStrokes = 500;
// Drawn beyond the limit, then undone, so the scene starts with an empty undo
// stack and memory measurements see only the snapshots they make.
constexpr int kExtraStrokes = AnnotationStore::maxUndo;
constexpr int kPointsPerStroke = 2000;

struct Scene {
    testing::FakeClock clock;
    testing::FakePreferences preferences;
    AnnotationStore store{{&clock, &preferences}};
    QPointF miss;
    QPointF bottomHit;
    int boxesAroundMiss = 0;
    int boxesAroundBottomHit = 0;
};

// Looping scribbles from 200 to 800 points across, scattered over a
// 1920 × 1080 screen, so that strokes overlap the way a busy drawing does.
Scene& scene() {
    static std::unique_ptr<Scene> built = [] {
        auto s = std::make_unique<Scene>();
        QRandomGenerator random(2024);
        for (int stroke = 0; stroke < kStrokes + kExtraStrokes; ++stroke) {
            const double r = 100 + random.bounded(300.0);
            const QPointF centre(random.bounded(1920.0), random.bounded(1080.0));
            const double a = 2 + random.bounded(3), b = 3 + random.bounded(3);
            const double phase = random.bounded(6.28);
            s->store.beginStroke(centre + QPointF(r * std::sin(phase), 0));
            for (int i = 1; i < kPointsPerStroke; ++i) {
                const double t = i * 6.283 / kPointsPerStroke;
                s->store.updateStroke(centre +
                                          QPointF(r * std::sin(a * t + phase), r * std::sin(b * t)),
                                      false, false);
            }
            s->store.commitStroke();
        }
        while (s->store.canUndo())
            s->store.undo();
        const auto boxesAround = [&](QPointF q) {
            int boxes = 0;
            for (const Annotation& annotation : s->store.annotations())
                boxes += annotation.bounds().adjusted(-8, -8, 8, 8).contains(q) ? 1 : 0;
            return boxes;
        };
        // A miss where many strokes' boxes overlap, so the cull cannot skip them.
        for (int probe = 0; probe < 4000; ++probe) {
            const QPointF q(random.bounded(1920.0), random.bounded(1080.0));
            if (s->store.annotationID(q))
                continue;
            const int boxes = boxesAround(q);
            if (boxes > s->boxesAroundMiss) {
                s->boxesAroundMiss = boxes;
                s->miss = q;
            }
        }
        // The point on the bottom-most stroke that nothing above covers and
        // that lies in the most boxes of strokes above it.
        const Annotation& bottom = s->store.annotations().first();
        for (const QPointF& p : bottom.points) {
            if (s->store.annotationID(p) != bottom.id)
                continue;
            const int boxes = boxesAround(p);
            if (boxes > s->boxesAroundBottomHit) {
                s->boxesAroundBottomHit = boxes;
                s->bottomHit = p;
            }
        }
        return s;
    }();
    return *built;
}

double residentMegabytes() {
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly))
        return 0;
    const QList<QByteArray> fields = statm.readAll().split(' ');
    return fields.value(1).toDouble() * double(sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0);
}

void BM_PushUndo(benchmark::State& state) {
    AnnotationStore& store = scene().store;
    for (auto _ : state)
        store.pushUndo();
    state.counters["budget_us"] = 20;
}
BENCHMARK(BM_PushUndo)->Unit(benchmark::kMicrosecond);

void BM_AnnotationIDMiss(benchmark::State& state) {
    Scene& s = scene();
    for (auto _ : state)
        benchmark::DoNotOptimize(s.store.annotationID(s.miss));
    state.counters["budget_ms"] = 0.2;
    state.counters["boxes_at_point"] = s.boxesAroundMiss;
}
BENCHMARK(BM_AnnotationIDMiss)->Unit(benchmark::kMillisecond);

void BM_AnnotationIDBottomMostHit(benchmark::State& state) {
    Scene& s = scene();
    for (auto _ : state)
        benchmark::DoNotOptimize(s.store.annotationID(s.bottomHit));
    state.counters["budget_ms"] = 2;
    state.counters["boxes_at_point"] = s.boxesAroundBottomHit;
}
BENCHMARK(BM_AnnotationIDBottomMostHit)->Unit(benchmark::kMillisecond);

// Undo swaps in another list, so the first lookup after it rebuilds the
// extents of every stroke.
void BM_AnnotationIDFirstAfterUndo(benchmark::State& state) {
    Scene& s = scene();
    s.store.pushUndo();
    for (auto _ : state) {
        state.PauseTiming();
        s.store.undo();
        s.store.redo();
        state.ResumeTiming();
        benchmark::DoNotOptimize(s.store.annotationID(s.miss));
    }
    state.counters["budget_ms"] = 2;
}
BENCHMARK(BM_AnnotationIDFirstAfterUndo)->Unit(benchmark::kMillisecond);

void BM_UndoThenRedo(benchmark::State& state) {
    AnnotationStore& store = scene().store;
    store.pushUndo();
    for (auto _ : state) {
        store.undo();
        store.redo();
    }
    state.counters["budget_us_each"] = 50;
    state.counters["per_operation"] =
        benchmark::Counter(2.0 * double(state.iterations()),
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_UndoThenRedo)->Unit(benchmark::kMicrosecond);

// Resident memory that 50 undo snapshots keep alive. Without edits between
// them they share one list. After an edit each snapshot holds its own copy of
// the list of 500 records (never of their points).
double snapshotMegabytes(bool editBetween) {
    Scene& s = scene();
    s.store.setTool(Tool::move);
    s.store.setSelectedID(s.store.annotations().last().id);
    s.store.pushUndo(); // empties redo: start from freed memory
    malloc_trim(0);
    const double before = residentMegabytes();
    for (int step = 0; step < AnnotationStore::maxUndo; ++step) {
        if (editBetween) {
            s.clock.advance(1); // each colour change is its own undo step
            s.store.applyColorToSelection(QColor::fromHsv(step * 7, 255, 255));
        } else {
            s.store.pushUndo();
        }
    }
    const double added = residentMegabytes() - before;
    while (s.store.canUndo())
        s.store.undo();
    return added;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    const double shared = snapshotMegabytes(false);
    const double edited = snapshotMegabytes(true);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::printf("50 snapshots of one list: budget: < 5 MB, measured: %.2f MB\n", shared);
    std::printf("50 snapshots after edits: budget: < 5 MB, measured: %.2f MB\n", edited);
    return 0;
}
