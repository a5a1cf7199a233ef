// Speed of the menu preview: a refresh of a crowded and of an ordinary screen
// with a million-entry string database, the key-colour pass over a full HD
// surface, and finding the record under the pointer on a crowded screen.
// Budgets: 100 ms, 5 ms, 5 ms and 1 ms.
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <random>
#include <vector>

#include "bench_screens.h"
#include "preview/hit_test.h"
#include "preview/preview_compose.h"
#include "preview/preview_renderer.h"

namespace {

using bench_screens::kScreen;
using bench_screens::kTextCount;
using bench_screens::MillionTexts;
using bench_screens::Screen;

void Refresh(benchmark::State& state) {
    const TextDb& db = MillionTexts();
    if (db.count() != kTextCount || !db.FindText(kTextCount)) {
        state.SkipWithError("the string database was not built");
        return;
    }
    const preview::TextLookup lookup = [&db](std::int32_t id) { return db.FindText(id); };
    const std::vector<MenuItemRecord> records =
        Screen(static_cast<int>(state.range(0)), state.range(1) != 0);
    const preview::PreviewColors colors;
    QImage surface = preview::PreparePreviewSurface(kScreen, colors);
    for (auto _ : state) {
        const preview::OverlayPlacements placements =
            preview::DrawPreview(surface, records, 0, lookup, colors, 800, 600);
        benchmark::DoNotOptimize(placements);
    }
}
BENCHMARK(Refresh)
    ->ArgNames({"elements", "tiled"})
    ->Args({10'000, 0})
    ->Args({10'000, 1})
    ->Args({99, 0})
    ->Args({99, 1})
    ->Unit(benchmark::kMillisecond);

void KeyColour(benchmark::State& state) {
    const preview::PreviewColors colors;
    QImage surface = preview::PreparePreviewSurface(kScreen, colors);
    preview::DrawPreview(surface, Screen(200), 0, {}, colors, kScreen.width(), kScreen.height());
    for (auto _ : state) {
        QImage keyed = preview::KeyedSurface(surface, kScreen);
        benchmark::DoNotOptimize(keyed.constBits());
    }
}
BENCHMARK(KeyColour)->Unit(benchmark::kMillisecond);

// A click on a crowded screen, at points spread over the preview; most land
// on a box deep in the array, some on the window alone.
void HitTest(benchmark::State& state) {
    const std::vector<MenuItemRecord> records = Screen(static_cast<int>(state.range(0)));
    std::mt19937 random(7);
    std::uniform_int_distribution<int> x(0, kScreen.width() - 1), y(0, kScreen.height() - 1);
    for (auto _ : state) {
        benchmark::DoNotOptimize(preview::RecordAt(records, 0, {x(random), y(random)},
                                                   kScreen.width(), kScreen.height()));
    }
    state.counters["target_ms"] = 1;
}
BENCHMARK(HitTest)->ArgName("elements")->Arg(10'000)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    if (qEnvironmentVariableIsEmpty("QT_FONT_DPI")) qputenv("QT_FONT_DPI", "96");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
