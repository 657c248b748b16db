// Drawing speed: the 1,000,000-element drawing of the generator onto a
// 1920 × 1080 image, the whole paper and zoomed in 10×, and the cost per
// element kind and per glyph. The whole paper and the zoomed view are drawn
// on 1 and 2 threads (bands of rows), timed by the clock on the wall.
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <map>
#include <thread>

#include "display/DrawDocument.h"
#include "display/RecordingCanvas.h"
#include "display/qt/ImageDraw.h"
#include "display/qt/QtCanvas.h"
#include "model/DrawingGenerator.h"

namespace {

using namespace tolvani;
using namespace tolvani::display;

constexpr int kWidth = 1920;
constexpr int kHeight = 1080;

CJwwDoc& Drawing() {
    static CJwwDoc* doc = [] {
        auto* d = new CJwwDoc;
        GenerateDrawing(*d, {1'000'000, 1, 50});
        return d;
    }();
    return *doc;
}

// A drawing with the definitions of the big one and only the main-list
// elements of one kind (the first `count` of them).
CJwwDoc& KindDrawing(ElementKind kind) {
    static std::map<ElementKind, CJwwDoc*> docs;
    auto it = docs.find(kind);
    if (it != docs.end()) return *it->second;
    auto* d = new CJwwDoc;
    GenerateDrawing(*d, {400'000, 1, 50});
    d->RemoveElements([kind](const CData& e) { return e.Kind() != kind; });
    docs[kind] = d;
    return *d;
}

// Draws the whole paper, zoomed in by `zoom`, onto the image.
void DrawOnce(const CJwwDoc& doc, QImage& image, double zoom, int threads = 1,
              const std::atomic<bool>* cancel = nullptr) {
    ViewValues values;
    values.clientSize = {kWidth, kHeight};
    values.extent = DeviceToHimetric(values.clientSize, 96, 96);
    values.clientHimetric = values.extent;
    CJwwScreen screen;
    FitPaper(doc, screen, values);
    if (zoom != 1) screen.ZoomBy(1 / zoom);
    image.fill(Qt::white);
    DrawControl control;
    control.threads = threads;
    control.cancel = cancel;
    control.dpiX = control.dpiY = 96;
    DrawDrawingToImage(image, doc, screen, values, control);
}

// The first draw also fills the font and glyph caches, as the viewer's
// first paint does; the figures are those of the paints after it.
void BM_WholePaper(benchmark::State& state) {
    CJwwDoc& doc = Drawing();
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    const int threads = static_cast<int>(state.range(0));
    DrawOnce(doc, image, 1, threads);
    for (auto _ : state) DrawOnce(doc, image, 1, threads);
    state.counters["elements"] = static_cast<double>(doc.mainList.size());
}
BENCHMARK(BM_WholePaper)->ArgName("threads")->Arg(1)->Arg(2)->UseRealTime()->Unit(benchmark::kMillisecond);

void BM_ZoomedIn10x(benchmark::State& state) {
    CJwwDoc& doc = Drawing();
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    const int threads = static_cast<int>(state.range(0));
    DrawOnce(doc, image, 10, threads);
    for (auto _ : state) DrawOnce(doc, image, 10, threads);
}
BENCHMARK(BM_ZoomedIn10x)->ArgName("threads")->Arg(1)->Arg(2)->UseRealTime()->Unit(benchmark::kMillisecond);

// How long a draw of the whole paper goes on after its cancel flag is set
// (set 300 ms into the draw, from another thread).
void BM_CancelLatency(benchmark::State& state) {
    const CJwwDoc& doc = Drawing();
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    const int threads = static_cast<int>(state.range(0));
    DrawOnce(doc, image, 1, threads);
    using Clock = std::chrono::steady_clock;
    for (auto _ : state) {
        std::atomic<bool> cancel{false};
        Clock::time_point setAt;
        std::thread canceller([&] {
            std::this_thread::sleep_for(std::chrono::milliseconds(300));
            setAt = Clock::now();
            cancel = true;
        });
        DrawOnce(doc, image, 1, threads, &cancel);
        const Clock::time_point stopped = Clock::now();
        canceller.join();
        state.SetIterationTime(std::chrono::duration<double>(stopped - setAt).count());
    }
}
BENCHMARK(BM_CancelLatency)
    ->ArgName("threads")
    ->Arg(1)
    ->Arg(2)
    ->UseManualTime()
    ->Iterations(5)
    ->Unit(benchmark::kMillisecond);

// Glyphs drawn for the drawing: text outputs on a recording canvas.
double CountGlyphs(CJwwDoc& doc) {
    RecordingCanvas canvas(96);
    ViewValues values;
    values.clientSize = {kWidth, kHeight};
    values.extent = canvas.DeviceToHimetric(values.clientSize);
    CJwwScreen screen;
    FitPaper(doc, screen, values);
    DrawDrawing(canvas, doc, screen, values);
    double n = 0;
    for (const auto& c : canvas.calls)
        if (c.kind == CallKind::Text) ++n;
    return n;
}

void BM_Kind(benchmark::State& state) {
    const auto kind = static_cast<ElementKind>(state.range(0));
    CJwwDoc& doc = KindDrawing(kind);
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    DrawOnce(doc, image, 1);
    for (auto _ : state) DrawOnce(doc, image, 1);
    const double n = static_cast<double>(doc.mainList.size());
    state.counters["elements"] = n;
    state.counters["per_element"] =
        benchmark::Counter(n, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
    if (kind == ElementKind::Moji || kind == ElementKind::Sunpou) {
        const double glyphs = CountGlyphs(doc);
        state.counters["glyphs"] = glyphs;
        state.counters["per_glyph"] =
            benchmark::Counter(glyphs, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
    }
    state.SetLabel(ElementClassName(kind));
}
BENCHMARK(BM_Kind)
    ->Arg(static_cast<int>(ElementKind::Sen))
    ->Arg(static_cast<int>(ElementKind::Enko))
    ->Arg(static_cast<int>(ElementKind::Moji))
    ->Arg(static_cast<int>(ElementKind::Solid))
    ->Arg(static_cast<int>(ElementKind::Sunpou))
    ->Arg(static_cast<int>(ElementKind::Ten))
    ->Arg(static_cast<int>(ElementKind::Block))
    ->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    if (!std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
