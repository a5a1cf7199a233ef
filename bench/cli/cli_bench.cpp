// Figures of kaveldef texts on a string database of 1,000,000 entries ("Menu
// text number <i>" for identifier i): reading the file and making the dump,
// and reading the dump and making the file, each next to a plain read of the
// file it reads. Writing the output file is the save's own figure
// (bench/document).
#include <benchmark/benchmark.h>

#include <QFile>
#include <QTemporaryDir>

#include "cli/text_dump.h"
#include "document/text_db.h"

namespace {

constexpr std::uint32_t kEntries = 1'000'000;

void Append32(QByteArray& bytes, std::uint32_t value) {
    for (int b = 0; b < 4; ++b) bytes.append(static_cast<char>((value >> (8 * b)) & 0xFF));
}

struct Files {
    QTemporaryDir folder;
    QString db = folder.filePath(QStringLiteral("textdb_en.def"));
    QString csv = folder.filePath(QStringLiteral("en.csv"));
    QString json = folder.filePath(QStringLiteral("en.json"));

    Files() {
        QByteArray table, texts;
        Append32(table, kEntries);
        Append32(table, 0);
        for (std::uint32_t i = 0; i < kEntries; ++i) {
            Append32(table, i);
            Append32(table, 8 + 8 * kEntries + static_cast<std::uint32_t>(texts.size()));
            texts.append("Menu text number " + QByteArray::number(i)).append('\0');
        }
        Write(db, table + texts);
        const TextDb textDb = ReadDb(db);
        Write(csv, texts_dump::WriteDump(textDb, dump::Format::Csv));
        Write(json, texts_dump::WriteDump(textDb, dump::Format::Json));
    }

    static void Write(const QString& path, const QByteArray& bytes) {
        QFile file(path);
        if (file.open(QIODevice::WriteOnly)) file.write(bytes);
    }
    static QByteArray Read(const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    static TextDb ReadDb(const QString& path) {
        QFile file(path);
        file.open(QIODevice::ReadOnly);
        TextDb textDb;
        textDb.Read(file);
        return textDb;
    }
};

const Files& TheFiles() {
    static const Files files;
    return files;
}

void Dump(benchmark::State& state, dump::Format format) {
    const Files& files = TheFiles();
    for (auto _ : state) {
        const QByteArray dump = texts_dump::WriteDump(Files::ReadDb(files.db), format);
        benchmark::DoNotOptimize(dump.constData());
    }
    state.counters["target_ratio"] = 5;
}

void Build(benchmark::State& state, const QString& path, dump::Format format) {
    for (auto _ : state) {
        const texts_dump::ReadResult read = texts_dump::ReadDump(Files::Read(path), format);
        const std::optional<QByteArray> file = read.Encode();
        if (!read.problems.empty() || !file) state.SkipWithError("refused");
        benchmark::DoNotOptimize(file->constData());
    }
    state.counters["target_ratio"] = 5;
}

void PlainRead(benchmark::State& state, const QString& path) {
    for (auto _ : state) benchmark::DoNotOptimize(Files::Read(path).constData());
}

void BM_TextsDumpCsv(benchmark::State& state) {
    Dump(state, dump::Format::Csv);
}
void BM_TextsDumpJson(benchmark::State& state) {
    Dump(state, dump::Format::Json);
}
void BM_TextsBuildCsv(benchmark::State& state) {
    Build(state, TheFiles().csv, dump::Format::Csv);
}
void BM_TextsBuildJson(benchmark::State& state) {
    Build(state, TheFiles().json, dump::Format::Json);
}
void Baseline_PlainReadOfTheStringDatabase(benchmark::State& state) {
    PlainRead(state, TheFiles().db);
}
void Baseline_PlainReadOfTheCsvDump(benchmark::State& state) {
    PlainRead(state, TheFiles().csv);
}
void Baseline_PlainReadOfTheJsonDump(benchmark::State& state) {
    PlainRead(state, TheFiles().json);
}

BENCHMARK(Baseline_PlainReadOfTheStringDatabase)->Unit(benchmark::kMillisecond);
BENCHMARK(Baseline_PlainReadOfTheCsvDump)->Unit(benchmark::kMillisecond);
BENCHMARK(Baseline_PlainReadOfTheJsonDump)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TextsDumpCsv)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TextsBuildCsv)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TextsDumpJson)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TextsBuildJson)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
