// The key-colour pass reads a full HD surface and writes a new one; the plain
// copy of the same 1920 x 1080 x 4 bytes is what any such pass costs at least.
#include <benchmark/benchmark.h>

#include <QImage>
#include <cstring>
#include <vector>

namespace {

void Baseline_CopySurface(benchmark::State& state) {
    QImage surface(1920, 1080, QImage::Format_ARGB32_Premultiplied);
    surface.fill(Qt::blue);
    std::vector<uchar> copy(static_cast<std::size_t>(surface.sizeInBytes()));
    for (auto _ : state) {
        std::memcpy(copy.data(), surface.constBits(), copy.size());
        benchmark::DoNotOptimize(copy.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(copy.size()));
}
BENCHMARK(Baseline_CopySurface)->Unit(benchmark::kMillisecond);

}  // namespace
