// Speed of annotation drawing: full and partial repaints of a busy 4K view,
// stamps and their stickers. Every figure is printed beside its budget.
#include "annotations/AnnotationDrawing.h"
#include "annotations/AnnotationRasterCache.h"
#include "annotations/Palette.h"
#include "annotations/StampDrawing.h"
#include "annotations/StickerImage.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QPainter>
#include <QRandomGenerator>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <map>
#include <string>

using namespace markvane;

namespace {

constexpr QSize kView(3840, 2160);

// Budgets in microseconds, by benchmark name.
const std::map<std::string, double>& budgets() {
    static const std::map<std::string, double> table{
        {"BM_FullRepaint500", 16000}, {"BM_DirtyRepaint256", 1000}, {"BM_CachedStamp", 50},
        {"BM_FirstSticker44", 5000},  {"BM_CachedSticker44", 2},
    };
    return table;
}

// 500 finished annotations spread over the view: 100 free-hand strokes of 500
// points, 100 shapes, 100 arrows, 100 texts and 100 stamps.
QList<Annotation> busyScene() {
    QRandomGenerator random(2024);
    const auto uniform = [&random](double low, double high) {
        return low + random.generateDouble() * (high - low);
    };
    const auto somewhere = [&] {
        return QPointF(uniform(0, kView.width()), uniform(0, kView.height()));
    };
    const auto colour = [&] { return defaultPalette()[random.bounded(5)]; };
    QList<Annotation> scene;
    for (int i = 0; i < 100; ++i) {
        Annotation stroke;
        stroke.tool = i % 5 == 0 ? Tool::highlighter : Tool::pen;
        stroke.color = colour();
        stroke.width = strokeWidth(random.bounded(3));
        QPointF p = somewhere();
        double heading = uniform(0, 6.283);
        for (int n = 0; n < 500; ++n) {
            heading += uniform(-0.3, 0.3);
            p += QPointF(std::cos(heading), std::sin(heading)) * 4;
            stroke.points.append(p);
        }
        scene.append(stroke);
    }
    const Tool shapes[] = {Tool::line, Tool::rectangle, Tool::ellipse, Tool::ruler};
    for (int i = 0; i < 100; ++i) {
        Annotation shape;
        shape.tool = shapes[i % 4];
        shape.color = colour();
        shape.width = strokeWidth(random.bounded(3));
        shape.filled = i % 3 == 0;
        const QPointF start = somewhere();
        shape.points = {start, start + QPointF(uniform(-400, 400), uniform(-300, 300))};
        scene.append(shape);
    }
    for (int i = 0; i < 100; ++i) {
        Annotation arrow;
        arrow.tool = Tool::arrow;
        arrow.color = colour();
        arrow.width = strokeWidth(random.bounded(3));
        const QPointF start = somewhere();
        arrow.points = {start, start + QPointF(uniform(-500, 500), uniform(-400, 400))};
        if (i % 2 == 0)
            arrow.curveControl = (arrow.points[0] + arrow.points[1]) / 2 + QPointF(80, 60);
        scene.append(arrow);
    }
    for (int i = 0; i < 100; ++i) {
        Annotation text;
        text.tool = Tool::text;
        text.color = colour();
        text.text = QStringLiteral("Note %1: check this").arg(i);
        text.fontSize = uniform(14, 40);
        text.points = {somewhere()};
        scene.append(text);
    }
    for (int i = 0; i < 100; ++i) {
        Annotation stamp;
        stamp.tool = Tool::stamp;
        stamp.text = stampChoices()[i % stampChoices().size()];
        stamp.fontSize = 44;
        stamp.points = {somewhere()};
        scene.append(stamp);
    }
    for (Annotation& annotation : scene)
        annotation.completedAt = 0;
    return scene;
}

const AnnotationDrawContext& context() {
    static const AnnotationDrawContext shared{1000, {}, QColor(0, 120, 255)};
    return shared;
}

void repaint(QImage& image, const QList<Annotation>& scene, const std::optional<QRectF>& dirty,
             AnnotationRasterCache* cache) {
    QPainter painter(&image);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    const QRectF area = dirty ? *dirty : QRectF(QPointF(), kView);
    // The view's y-up dirty rectangle is a top-down rectangle of the image.
    painter.fillRect(QRectF(area.x(), kView.height() - area.bottom(), area.width(), area.height()),
                     Qt::transparent);
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    ViewPainter view(painter, kView.height());
    drawAnnotations(view, scene, std::nullopt, std::nullopt, std::nullopt, {}, 1, context(), dirty,
                    cache);
}

// A view keeps its cache: repaints of an unchanged scene after the first.
void fullRepaint(benchmark::State& state, AnnotationRasterCache* cache) {
    const QList<Annotation> scene = busyScene();
    QImage image(kView, QImage::Format_ARGB32_Premultiplied);
    repaint(image, scene, std::nullopt, cache); // stickers and tiles made once
    const qsizetype renderedBefore = cache ? cache->tilesRendered() : 0;
    for (auto _ : state)
        repaint(image, scene, std::nullopt, cache);
    if (cache) {
        state.counters["cache_MB"] = double(cache->byteCount()) / (1 << 20);
        state.counters["tiles_redrawn"] = double(cache->tilesRendered() - renderedBefore);
    }
}

void BM_FullRepaint500(benchmark::State& state) {
    AnnotationRasterCache cache(AnnotationRasterCache::Backdrop::cleared);
    fullRepaint(state, &cache);
}
BENCHMARK(BM_FullRepaint500)->Unit(benchmark::kMillisecond);

void BM_FullRepaint500Uncached(benchmark::State& state) {
    fullRepaint(state, nullptr);
}
BENCHMARK(BM_FullRepaint500Uncached)->Unit(benchmark::kMillisecond);

// The first paint of a scene new to the view's cache.
void BM_FirstFullRepaint500(benchmark::State& state) {
    const QList<Annotation> scene = busyScene();
    QImage image(kView, QImage::Format_ARGB32_Premultiplied);
    repaint(image, scene, std::nullopt, nullptr); // stickers made once
    for (auto _ : state) {
        AnnotationRasterCache cache(AnnotationRasterCache::Backdrop::cleared);
        repaint(image, scene, std::nullopt, &cache);
        state.PauseTiming(); // freeing the tiles is not part of painting
        cache.clear();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_FirstFullRepaint500)->Unit(benchmark::kMillisecond);

void dirtyRepaint(benchmark::State& state, AnnotationRasterCache* cache) {
    const QList<Annotation> scene = busyScene();
    QImage image(kView, QImage::Format_ARGB32_Premultiplied);
    repaint(image, scene, std::nullopt, cache);
    // A dirty square that sweeps over the view, as a pen being drawn would.
    int step = 0;
    for (auto _ : state) {
        const double x = (step * 397) % (kView.width() - 256);
        const double y = (step * 211) % (kView.height() - 256);
        repaint(image, scene, QRectF(x, y, 256, 256), cache);
        ++step;
    }
}

void BM_DirtyRepaint256(benchmark::State& state) {
    AnnotationRasterCache cache(AnnotationRasterCache::Backdrop::cleared);
    dirtyRepaint(state, &cache);
}
BENCHMARK(BM_DirtyRepaint256)->Unit(benchmark::kMicrosecond);

void BM_DirtyRepaint256Uncached(benchmark::State& state) {
    dirtyRepaint(state, nullptr);
}
BENCHMARK(BM_DirtyRepaint256Uncached)->Unit(benchmark::kMicrosecond);

void BM_CachedStamp(benchmark::State& state) {
    Annotation stamp;
    stamp.tool = Tool::stamp;
    stamp.text = defaultStamp();
    stamp.fontSize = 44;
    stamp.points = {QPointF(128, 128)};
    const QList<Annotation> scene{stamp};
    QImage image(256, 256, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    ViewPainter view(painter, 256);
    drawAnnotations(view, scene, std::nullopt, std::nullopt, std::nullopt, {}, 1, context());
    for (auto _ : state)
        drawAnnotations(view, scene, std::nullopt, std::nullopt, std::nullopt, {}, 1, context());
}
BENCHMARK(BM_CachedStamp)->Unit(benchmark::kMicrosecond);

void BM_FirstSticker44(benchmark::State& state) {
    const QList<QString>& glyphs = stampChoices();
    int next = 0;
    for (auto _ : state) {
        state.PauseTiming();
        clearStickerCache();
        state.ResumeTiming();
        benchmark::DoNotOptimize(stickerImage(glyphs[next++ % glyphs.size()], 44));
    }
}
BENCHMARK(BM_FirstSticker44)->Unit(benchmark::kMillisecond);

void BM_CachedSticker44(benchmark::State& state) {
    const QString glyph = defaultStamp();
    stickerImage(glyph, 44);
    for (auto _ : state)
        benchmark::DoNotOptimize(stickerImage(glyph, 44));
}
BENCHMARK(BM_CachedSticker44)->Unit(benchmark::kMicrosecond);

// The console table, then one line a benchmark with its budget.
class BudgetReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            const auto budget = budgets().find(run.run_name.function_name);
            // Spread statistics of repetitions are no times to hold against a budget.
            const bool spread = run.run_type == Run::RT_Aggregate && run.aggregate_name != "mean" &&
                                run.aggregate_name != "median";
            if (budget == budgets().end() || run.iterations == 0 || spread)
                continue;
            // The machine may be shared: CPU time is shown beside the wall-clock figure.
            const double measured = run.real_accumulated_time * 1e6 / double(run.iterations);
            const double cpu = run.cpu_accumulated_time * 1e6 / double(run.iterations);
            m_lines.push_back(run.benchmark_name() + ": budget: " + format(budget->second) +
                              ", measured: " + format(measured) + " (cpu " + format(cpu) + ")" +
                              (measured <= budget->second ? "  (met)" : "  (MISSED)"));
        }
    }
    void Finalize() override {
        ConsoleReporter::Finalize();
        for (const std::string& line : m_lines)
            std::printf("%s\n", line.c_str());
    }

private:
    static std::string format(double microseconds) {
        char text[64];
        if (microseconds >= 1000)
            std::snprintf(text, sizeof text, "%.2f ms", microseconds / 1000);
        else
            std::snprintf(text, sizeof text, "%.2f us", microseconds);
        return text;
    }
    std::vector<std::string> m_lines;
};

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    // The very first sticker of a process also loads the emoji font.
    QElapsedTimer cold;
    cold.start();
    stickerImage(defaultStamp(), 44);
    const double coldMs = double(cold.nsecsElapsed()) / 1e6;
    clearStickerCache();
    clearShadowedStickerCache();

    benchmark::Initialize(&argc, argv);
    BudgetReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    std::printf("first sticker of the process (font loading included, once): %.2f ms\n", coldMs);
    return 0;
}
