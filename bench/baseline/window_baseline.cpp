// Opening the large document reads a 36 MB menu file and a string database of
// 1,000,000 entries; a plain read of files of the same sizes, from the page
// cache as the open's are, is what the open costs at least.
#include <benchmark/benchmark.h>

#include <QByteArray>
#include <QFile>
#include <QTemporaryDir>
#include <cstdint>

namespace {

struct SameSizedFiles {
    QTemporaryDir folder;
    QString menuPath = folder.filePath("kavel.def");
    QString textDbPath = folder.filePath("textdb_en.def");
    qint64 bytes = 0;

    SameSizedFiles() {
        // 1,000,000 records of 36 bytes.
        Write(menuPath, QByteArray(36'000'000, '\x01'));
        // The window benchmark's database: a table of 1,000,000 slots and
        // the texts "Menu text number <i>".
        QByteArray db(8 + 8 * 1'000'000, '\0');
        for (int i = 0; i < 1'000'000; ++i) {
            db.append("Menu text number ").append(QByteArray::number(i)).append('\0');
        }
        Write(textDbPath, db);
    }

    void Write(const QString& path, const QByteArray& content) {
        QFile file(path);
        if (file.open(QIODevice::WriteOnly)) file.write(content);
        bytes += content.size();
    }
};

void Baseline_PlainReadOfDocumentFiles(benchmark::State& state) {
    static const SameSizedFiles files;
    for (auto _ : state) {
        for (const QString& path : {files.menuPath, files.textDbPath}) {
            QFile file(path);
            if (!file.open(QIODevice::ReadOnly)) state.SkipWithError("cannot read");
            const QByteArray bytes = file.readAll();
            benchmark::DoNotOptimize(bytes.constData());
        }
    }
    state.SetBytesProcessed(state.iterations() * files.bytes);
}
BENCHMARK(Baseline_PlainReadOfDocumentFiles)->Unit(benchmark::kMillisecond);

}  // namespace
