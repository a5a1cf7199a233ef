// Figures of the document readers and of saving the string database, each
// next to its target.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <QBuffer>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <random>
#include <utility>
#include <vector>

#include "base/file_save.h"
#include "document/menu_file.h"
#include "document/text_db.h"
#include "memory_figures.h"

namespace {

using bench_memory::HeapInUseMegabytes;

void Append32(QByteArray& bytes, std::uint32_t value) {
    for (int b = 0; b < 4; ++b) bytes.append(static_cast<char>((value >> (8 * b)) & 0xFF));
}

// A string database of 8 bytes whose count claims 4,294,967,295 entries.
void BM_AbsurdCountStringDatabase(benchmark::State& state) {
    QByteArray file;
    Append32(file, 0xFFFFFFFF);
    Append32(file, 0);
    double added = 0;
    for (auto _ : state) {
        const double before = HeapInUseMegabytes();
        QBuffer buffer(&file);
        buffer.open(QIODevice::ReadOnly);
        TextDb db;
        db.Read(buffer);
        benchmark::DoNotOptimize(db.FindText(0));
        added = std::max(added, HeapInUseMegabytes() - before);
    }
    state.counters["target_ms"] = 100;
    state.counters["added_MB"] = added;
    state.counters["target_MB"] = 50;
}

void BM_ReadMenuFileOfAMillionRecords(benchmark::State& state) {
    QByteArray file(36 * 1'000'000, '\x5A');
    for (auto _ : state) benchmark::DoNotOptimize(DecodeMenuItems(file));
    state.SetBytesProcessed(state.iterations() * file.size());
}

void BM_PlainCopyOfTheSameBytes(benchmark::State& state) {
    QByteArray file(36 * 1'000'000, '\x5A');
    for (auto _ : state) {
        QByteArray copy(file.constData(), file.size());
        benchmark::DoNotOptimize(copy.data());
    }
    state.SetBytesProcessed(state.iterations() * file.size());
}

// A database of 1,000,000 entries, "Menu text number <i>" for identifier i.
// Shuffled, its table holds the same slots in no order, which the reader has
// to sort where an ordered table costs it one look.
QByteArray MillionEntryStringDatabase(bool shuffled) {
    constexpr std::uint32_t kEntries = 1'000'000;
    std::vector<std::pair<std::uint32_t, std::uint32_t>> table;
    QByteArray texts;
    const std::uint32_t base = 8 + 8 * kEntries;
    for (std::uint32_t i = 0; i < kEntries; ++i) {
        table.emplace_back(i, base + static_cast<std::uint32_t>(texts.size()));
        texts.append("Menu text number " + QByteArray::number(i)).append('\0');
    }
    if (shuffled) std::shuffle(table.begin(), table.end(), std::mt19937(1));
    QByteArray file;
    Append32(file, kEntries);
    Append32(file, 0);
    for (const auto& [id, offset] : table) {
        Append32(file, id);
        Append32(file, offset);
    }
    return file + texts;
}

void ReadStringDatabase(benchmark::State& state, bool shuffled) {
    QByteArray file = MillionEntryStringDatabase(shuffled);
    for (auto _ : state) {
        QBuffer buffer(&file);
        buffer.open(QIODevice::ReadOnly);
        TextDb db;
        db.Read(buffer);
        benchmark::DoNotOptimize(db.count());
    }
    state.SetBytesProcessed(state.iterations() * file.size());
}

void BM_ReadStringDatabaseOfAMillionEntries(benchmark::State& state) {
    ReadStringDatabase(state, false);
}

void BM_ReadShuffledStringDatabaseOfAMillionEntries(benchmark::State& state) {
    ReadStringDatabase(state, true);
    state.counters["target_ms"] = 150;
}

// Saving a database of 1,000,000 entries with one text changed: the file
// laid out anew from the entries and written beside the old one, flushed to
// the disk and put in its place.
void BM_SaveStringDatabaseOfAMillionEntries(benchmark::State& state) {
    QByteArray file = MillionEntryStringDatabase(false);
    QBuffer buffer(&file);
    buffer.open(QIODevice::ReadOnly);
    TextDb db;
    db.Read(buffer);
    db.SetText(500'000, "A text of its own");
    const QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("textdb_en.def"));
    for (auto _ : state) {
        const std::optional<QByteArray> bytes = db.Encode();
        if (!bytes || !SaveFileAtomically(path, *bytes)) state.SkipWithError("not saved");
    }
    state.SetBytesProcessed(state.iterations() * file.size());
    state.counters["target_ratio"] = 3;
}

// What writing the same bytes costs at least: into a new file, flushed to
// the disk as a save must be.
void Baseline_PlainWriteOfTheSameBytes(benchmark::State& state) {
    const QByteArray file = MillionEntryStringDatabase(false);
    const QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("plain.def"));
    for (auto _ : state) {
        QFile out(path);
        if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate) || out.write(file) != file.size() ||
            !out.flush() || ::fsync(out.handle()) != 0) {
            state.SkipWithError("not written");
        }
    }
    state.SetBytesProcessed(state.iterations() * file.size());
}

BENCHMARK(BM_AbsurdCountStringDatabase)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadMenuFileOfAMillionRecords)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlainCopyOfTheSameBytes)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadStringDatabaseOfAMillionEntries)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadShuffledStringDatabaseOfAMillionEntries)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SaveStringDatabaseOfAMillionEntries)->Unit(benchmark::kMillisecond);
BENCHMARK(Baseline_PlainWriteOfTheSameBytes)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
