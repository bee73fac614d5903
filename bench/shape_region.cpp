// Building the shape of a full-HD panel from its pixels, as happens after each
// repaint while no compositing manager runs. Budget: 4 ms, so a pen stroke
// stays smooth at 60 frames a second with room left for drawing.
#include "platform/x11/ShapeRegion.h"

#include <QPainter>
#include <QPainterPath>
#include <benchmark/benchmark.h>

namespace {

constexpr double budgetMs = 4.0;

QImage annotatedScreen() {
    QImage image(1920, 1080, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    // A dozen free-hand strokes, shapes and a text-sized block: a busy slide.
    for (int i = 0; i < 12; ++i) {
        QPainterPath stroke(QPointF(100 + i * 140, 100));
        for (int step = 1; step < 40; ++step)
            stroke.lineTo(100 + i * 140 + (step % 2) * 60, 100 + step * 22);
        painter.setPen(QPen(QColor::fromHsv(i * 30, 255, 255), 5));
        painter.drawPath(stroke);
    }
    painter.drawEllipse(QRect(600, 300, 700, 400));
    painter.fillRect(QRect(200, 900, 900, 120), QColor(255, 255, 0, 90));
    return image;
}

void BM_DrawnRegionFullHd(benchmark::State& state) {
    const QImage image = annotatedScreen();
    qsizetype rectangles = 0;
    for (auto _ : state) {
        const QList<QRect> region = markvane::platform::drawnRegion(image, 24);
        rectangles = region.size();
        benchmark::DoNotOptimize(region.constData());
    }
    state.counters["rectangles"] = double(rectangles);
    state.counters["budget_ms"] = budgetMs;
}
BENCHMARK(BM_DrawnRegionFullHd)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
