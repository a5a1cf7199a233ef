// Speed and memory of the zoomable view's drawing, as the window's view
// draws: a new tiled preview for each resize or zoom step, drawn where it is
// seen and painted into the viewport; scrolling over tiles drawn before; the
// largest surface (7680 x 4320 at 800 %) seen through a window-sized
// viewport; a drag step on a zoomed view. Budgets: a resize or zoom step
// 16 ms for a screen of 100 elements and 100 ms for 10,000, a scroll step
// 8 ms, 200 MB, a drag step as the window's (8 and 30 ms).
#include <benchmark/benchmark.h>

#include <QImage>
#include <QPainter>
#include <vector>

#include "bench_screens.h"
#include "editing/record_geometry.h"
#include "memory_figures.h"
#include "preview/preview_look.h"
#include "preview/tiled_preview.h"
#include "preview/view_geometry.h"

namespace {

using bench_screens::MillionTexts;
using bench_screens::Screen;

constexpr double kStepTargetMs[] = {16, 100};  // 100 and 10,000 elements
constexpr int kScrollTargetMs = 8;
constexpr int kMemoryTargetMb = 200;

preview::TextLookup Lookup() {
    const TextDb& db = MillionTexts();
    return [&db](std::int32_t id) { return db.FindText(id); };
}

const preview::PreviewPictures& Pictures() {
    static const preview::PreviewPictures pictures = preview::BuiltinPreviewPictures();
    return pictures;
}

// What the view does for a new geometry: draws what is seen and paints it.
void ShowAndPaint(const std::vector<MenuItemRecord>& records, const preview::ViewGeometry& view,
                  QImage& viewport) {
    preview::TiledPreview tiled(records, Lookup(), {}, Pictures(), view.surface(), 96);
    tiled.Show(view.visibleSurface());
    QPainter painter(&viewport);
    tiled.Paint(painter, view.surfaceOrigin(), view.visibleSurface());
}

// The window resized by a few pixels each step, the preview fitted to it.
void ResizeStep(benchmark::State& state) {
    const std::vector<MenuItemRecord> records = Screen(static_cast<int>(state.range(0)));
    const QSize sizes[] = {QSize(1920, 1080), QSize(1904, 1071)};
    preview::ViewGeometry view({}, sizes[0]);
    QImage viewport(sizes[0], QImage::Format_RGB32);
    int step = 0;
    for (auto _ : state) {
        view = view.Changed(view.choice(), sizes[++step % 2], QPoint(0, 0));
        ShowAndPaint(records, view, viewport);
    }
    state.counters["target_ms"] = kStepTargetMs[state.range(0) > 100];
}
BENCHMARK(ResizeStep)->ArgName("elements")->Arg(100)->Arg(10'000)->Unit(benchmark::kMillisecond);

// The game's 1920 x 1080 in a window of 1600 x 900, zoomed in and out a step
// around the pointer.
void ZoomStep(benchmark::State& state) {
    const std::vector<MenuItemRecord> records = Screen(static_cast<int>(state.range(0)));
    const QSize area(1600, 900);
    const std::optional<QSize> resolution = QSize(1920, 1080);
    preview::ViewGeometry view(preview::ViewChoice{resolution, 100}, area);
    QImage viewport(area, QImage::Format_RGB32);
    int step = 0;
    for (auto _ : state) {
        const int zoom = ++step % 2 ? 150 : 100;
        view = view.Changed(preview::ViewChoice{resolution, zoom}, area, QPoint(700, 400));
        ShowAndPaint(records, view, viewport);
    }
    state.counters["target_ms"] = kStepTargetMs[state.range(0) > 100];
}
BENCHMARK(ZoomStep)->ArgName("elements")->Arg(100)->Arg(10'000)->Unit(benchmark::kMillisecond);

// 1920 x 1080 at 400 % in a window of 1600 x 900, scrolled by wheel steps of
// 40 pixels back and forth over a part drawn once: no drawing, painting only.
void ScrollStep(benchmark::State& state) {
    const std::vector<MenuItemRecord> records = Screen(static_cast<int>(state.range(0)));
    const QSize area(1600, 900);
    preview::ViewGeometry view(preview::ViewChoice{QSize(1920, 1080), 400}, area, {2000, 1000});
    preview::TiledPreview tiled(records, Lookup(), {}, Pictures(), view.surface(), 96);
    tiled.Show(view.visibleSurface().adjusted(-400, -400, 400, 400));
    QImage viewport(area, QImage::Format_RGB32);
    int step = 0;
    int drawn = 0;
    for (auto _ : state) {
        const int offset = (++step % 20 < 10 ? step % 10 : 10 - step % 10) * 40;
        view = view.Scrolled(QPoint(2000 + offset, 1000 + offset));
        drawn += !tiled.Show(view.visibleSurface()).isEmpty();
        QPainter painter(&viewport);
        tiled.Paint(painter, view.surfaceOrigin(), view.visibleSurface());
    }
    state.counters["redraws"] = drawn;
    state.counters["target_ms"] = kScrollTargetMs;
}
BENCHMARK(ScrollStep)->ArgName("elements")->Arg(100)->Arg(10'000)->Unit(benchmark::kMillisecond);

// One step of a drag at 400 % of 1920 x 1080 in a window of 1600 x 900: the
// screen's last element moved (or the window, which takes all along), the
// tiles in view brought up to date and painted. The window's own drag step
// has the same budgets: 8 ms, and 30 ms on a crowded screen.
void DragStep(benchmark::State& state) {
    const std::vector<MenuItemRecord> records = Screen(static_cast<int>(state.range(0)));
    const QSize area(1600, 900);
    preview::ViewGeometry view(preview::ViewChoice{QSize(1920, 1080), 400}, area);
    const std::size_t dragged = state.range(1) != 0 ? 0 : records.size() - 2;
    // The view on the dragged element.
    const MenuItemRecord& element = records[dragged];
    const double top = dragged == 0 ? 0.0 : 42.0;
    view = view.Scrolled(
        QPoint(static_cast<int>(element.posX * view.surface().width() / 800) - 400,
               static_cast<int>((element.posY + top) * view.surface().height() / 600) - 300));
    preview::TiledPreview tiled(records, Lookup(), {}, Pictures(), view.surface(), 96);
    tiled.Show(view.visibleSurface());
    QImage viewport(area, QImage::Format_RGB32);
    RecordGeometry geometry = GeometryOf(element);
    const RecordGeometry start = geometry;
    int step = 0;
    for (auto _ : state) {
        ++step;
        geometry.posX = start.posX + static_cast<float>(step % 20);
        geometry.posY = start.posY + static_cast<float>(step % 10);
        tiled.Change(dragged, geometry, view.visibleSurface());
        tiled.Show(view.visibleSurface());
        QPainter painter(&viewport);
        tiled.Paint(painter, view.surfaceOrigin(), view.visibleSurface());
    }
    state.counters["target_ms"] = state.range(0) > 100 ? 30 : 8;
}
BENCHMARK(DragStep)
    ->ArgNames({"elements", "window"})
    ->Args({100, 0})
    ->Args({10'000, 0})
    ->Args({100, 1})
    ->Args({10'000, 1})
    ->Unit(benchmark::kMillisecond);

// The largest surface, 61,440 x 34,560 pixels, seen through 1920 x 1080 at
// twenty places across it, each drawn with a ring of tiles around: the
// resident memory added above the loaded document (records and texts).
void LargestSurfaceMemory(benchmark::State& state) {
    const std::vector<MenuItemRecord> records = Screen(static_cast<int>(state.range(0)));
    Lookup()(1);
    const QSize area(1920, 1080);
    const preview::ViewChoice choice{QSize(7680, 4320), 800};
    double added = 0;
    for (auto _ : state) {
        const double before = bench_memory::ResidentMegabytes();
        {
            preview::ViewGeometry view(choice, area);
            preview::TiledPreview tiled(records, Lookup(), {}, Pictures(), view.surface(), 96);
            QImage viewport(area, QImage::Format_RGB32);
            for (int place = 0; place < 20; ++place) {
                view = view.Scrolled(QPoint(view.maxScroll().x() * place / 19,
                                            view.maxScroll().y() * (place % 5) / 4));
                tiled.Show(view.visibleSurface());
                while (tiled.DrawAhead(view.visibleSurface(), 8) > 0) {
                }
                QPainter painter(&viewport);
                tiled.Paint(painter, view.surfaceOrigin(), view.visibleSurface());
            }
            added = std::max(added, bench_memory::ResidentMegabytes() - before);
        }
    }
    state.counters["added_MB"] = added;
    state.counters["added_target_MB"] = kMemoryTargetMb;
}
BENCHMARK(LargestSurfaceMemory)
    ->ArgName("elements")
    ->Arg(100)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

}  // namespace
