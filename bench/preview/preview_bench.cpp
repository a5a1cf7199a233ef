// Speed of the menu preview: a refresh of a crowded and of an ordinary screen
// with a million-entry string database, the key-colour pass over a full HD
// surface, and finding the record under the pointer on a crowded screen.
// Budgets: 100 ms, 5 ms, 5 ms and 1 ms.
#include <benchmark/benchmark.h>

#include <QBuffer>
#include <QGuiApplication>
#include <cmath>
#include <cstdint>
#include <random>
#include <vector>

#include "document/text_db.h"
#include "document/type_code.h"
#include "preview/hit_test.h"
#include "preview/preview_compose.h"
#include "preview/preview_renderer.h"

namespace {

constexpr std::uint32_t kTextCount = 1'000'000;
const QSize kScreen(1920, 1080);

void AppendU32(QByteArray& bytes, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) bytes.append(static_cast<char>((value >> (8 * i)) & 0xFF));
}

// Identifiers 1..kTextCount, each with its own text.
const TextDb& MillionTexts() {
    static const TextDb db = [] {
        QByteArray texts;
        std::vector<std::uint32_t> offsets;
        offsets.reserve(kTextCount);
        const std::uint32_t tableEnd = 8 + 8 * kTextCount;
        for (std::uint32_t i = 0; i < kTextCount; ++i) {
            offsets.push_back(tableEnd + static_cast<std::uint32_t>(texts.size()));
            texts.append("Menu entry ").append(QByteArray::number(i)).append('\0');
        }
        QByteArray bytes;
        AppendU32(bytes, kTextCount);
        AppendU32(bytes, 0);
        for (std::uint32_t i = 0; i < kTextCount; ++i) {
            AppendU32(bytes, i + 1);
            AppendU32(bytes, offsets[i]);
        }
        bytes.append(texts);
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::ReadOnly);
        TextDb loaded;
        loaded.Read(buffer);
        return loaded;
    }();
    return db;
}

MenuItemRecord Record(const char* shownType, float x, float y, float sx, float sy, std::int32_t id,
                      std::int32_t textId) {
    MenuItemRecord record;
    type_code::SetFromShown(record, shownType);
    record.id = id;
    record.posX = x;
    record.posY = y;
    record.scaleX = sx;
    record.scaleY = sy;
    record.textId = textId;
    return record;
}

// A captioned window over the whole screen and its elements, each with a
// text from anywhere in the database. Scattered: buttons, labels, scroll bars
// and loading pictures of usual sizes at random places, most of them partly
// or wholly under later ones. Tiled: small elements side by side, no text
// hidden.
std::vector<MenuItemRecord> Screen(int elements, bool tiled = false) {
    std::mt19937 random(12345);
    std::uniform_real_distribution<float> x(0, 700), y(0, 520), width(40, 200), height(12, 40);
    std::uniform_int_distribution<std::int32_t> text(1, kTextCount);
    const char* types[] = {"butt", "stxt", "ctxt", "scrl", "rcta", "item"};
    const int columns = static_cast<int>(std::ceil(std::sqrt(elements)));
    const float tileWidth = 800.0f / columns;
    const float tileHeight = 558.0f / columns;
    std::vector<MenuItemRecord> records = {Record("wint", 0, 0, 800, 600, 0, 1)};
    for (int i = 0; i < elements; ++i) {
        records.push_back(tiled ? Record(types[i % 6], tileWidth * (i % columns),
                                         tileHeight * (i / columns), tileWidth, tileHeight,
                                         100 + i % 3, text(random))
                                : Record(types[i % 6], x(random), y(random), width(random),
                                         height(random), 100 + i % 3, text(random)));
    }
    records.push_back(Record("stop", 0, 0, 0, 0, 0, 0));
    return records;
}

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
