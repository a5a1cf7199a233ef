// Figures of finding records and editing texts in a large document:
// 1,000,000 records whose text ids are spread over a string database of
// 1,000,000 entries ("Menu text number N"), as the window benchmarks load it.
// Each figure is printed next to its target.
#include <benchmark/benchmark.h>

#include <QBuffer>
#include <QElapsedTimer>
#include <memory>
#include <random>

#include "base/code_page.h"
#include "document/document.h"
#include "document/type_code.h"
#include "editing/record_edits.h"
#include "editing/record_search.h"
#include "editing/text_edits.h"

namespace {

constexpr int kRecords = 1'000'000;
constexpr std::uint32_t kStrings = 1'000'000;
constexpr double kKeystrokeTargetMs = 50;

std::unique_ptr<Document> MakeLargeDocument() {
    LoadedDocument loaded;
    loaded.menuItems.resize(kRecords);
    std::mt19937 random(1);
    const char* codes[] = {"butt", "stxt", "edit", "list", "scrl", "ctxt"};
    for (int i = 0; i < kRecords; ++i) {
        MenuItemRecord& record = loaded.menuItems[static_cast<std::size_t>(i)];
        record.id = i;
        type_code::SetFromShown(record, i % 40 == 0 ? "wint" : codes[random() % 6]);
        record.textId = static_cast<std::int32_t>(random() % kStrings);
    }
    QByteArray db;
    auto append32 = [&db](std::uint32_t value) {
        for (int b = 0; b < 4; ++b) db.append(static_cast<char>((value >> (8 * b)) & 0xFF));
    };
    append32(kStrings);
    append32(0);
    QByteArray texts;
    const std::uint32_t offset = 8 + 8 * kStrings;
    for (std::uint32_t i = 0; i < kStrings; ++i) {
        append32(i);
        append32(offset + static_cast<std::uint32_t>(texts.size()));
        texts.append("Menu text number " + QByteArray::number(i)).append('\0');
    }
    db.append(texts);
    QBuffer buffer(&db);
    buffer.open(QIODevice::ReadOnly);
    loaded.textDb.Read(buffer);
    auto document = std::make_unique<Document>();
    document->Replace(std::move(loaded), QStringLiteral("kavel.def"), QStringLiteral("db.def"));
    return document;
}

// One document and one search whose table of texts is built, for every
// figure but the first.
struct Session {
    std::unique_ptr<Document> document = MakeLargeDocument();
    RecordSearch search{*document};
};

Session& TheSession() {
    static Session session;
    return session;
}

void Finish(RecordSearch& search) {
    while (!search.Work(std::chrono::milliseconds(30))) {
    }
}

// The first search after an open builds the table of the records' texts in
// steps of 30 ms, between which the window answers. The figure is the
// longest step, the time the window is busy at once; the count shows when
// the last step is done (until_counted_ms).
void BM_FirstSearchAfterOpen(benchmark::State& state) {
    Session& session = TheSession();
    double untilCounted = 0;
    for (auto _ : state) {
        QElapsedTimer whole;
        whole.start();
        double longestStep = 0;
        RecordSearch search(*session.document);
        search.SetQuery(QStringLiteral("number 4242"));
        for (;;) {
            QElapsedTimer step;
            step.start();
            const bool done = search.Work(std::chrono::milliseconds(30));
            longestStep = std::max(longestStep, static_cast<double>(step.nsecsElapsed()) / 1e9);
            if (done) break;
        }
        benchmark::DoNotOptimize(search.count());
        state.SetIterationTime(longestStep);
        untilCounted = static_cast<double>(whole.nsecsElapsed()) / 1e6;
    }
    state.counters["target_ms"] = kKeystrokeTargetMs;
    state.counters["until_counted_ms"] = untilCounted;
}

// Typing one more character: a query of its own, as after a deletion, or
// one that holds the one before it, which tests only the texts that matched.
void Keystroke(benchmark::State& state, const QString& before, const QString& typed) {
    Session& session = TheSession();
    Finish(session.search);
    std::size_t count = 0;
    for (auto _ : state) {
        state.PauseTiming();
        session.search.SetQuery(before);
        Finish(session.search);
        state.ResumeTiming();
        session.search.SetQuery(typed);
        Finish(session.search);
        count = session.search.count();
    }
    state.counters["target_ms"] = kKeystrokeTargetMs;
    state.counters["matches"] = static_cast<double>(count);
}

void BM_KeystrokeMatchingEveryRecord(benchmark::State& state) {
    Keystroke(state, QStringLiteral("x"), QStringLiteral("e"));
}
void BM_KeystrokeMatchingNone(benchmark::State& state) {
    Keystroke(state, QStringLiteral("x"), QStringLiteral("q"));
}
void BM_KeystrokeOfAWholeNumber(benchmark::State& state) {
    Keystroke(state, QStringLiteral("x"), QStringLiteral("4242"));
}
void BM_KeystrokeExtendingTheQuery(benchmark::State& state) {
    Keystroke(state, QStringLiteral("number 424"), QStringLiteral("number 4242"));
}

// Find next after an edit: the matches are counted again before the step.
void BM_NextAfterAnEdit(benchmark::State& state) {
    Session& session = TheSession();
    session.search.SetQuery(QStringLiteral("number 4242"));
    Finish(session.search);
    std::int32_t textId = 4242;
    std::size_t at = 0;
    for (auto _ : state) {
        editing::SetField(*session.document, 500'000, RecordField::TextId,
                          static_cast<std::uint32_t>(textId), QStringLiteral("Text ID"));
        textId = textId == 4242 ? 1 : 4242;
        Finish(session.search);
        at = session.search.After(at).value_or(0);
        benchmark::DoNotOptimize(session.search.PositionOf(at));
    }
    state.counters["target_ms"] = kKeystrokeTargetMs;
}

// Find next and previous with the matches known.
void BM_NextAndPrevious(benchmark::State& state) {
    Session& session = TheSession();
    session.search.SetQuery(QStringLiteral("e"));
    Finish(session.search);
    std::size_t at = 0;
    for (auto _ : state) {
        at = session.search.After(at).value_or(0);
        benchmark::DoNotOptimize(session.search.Before(at));
        benchmark::DoNotOptimize(session.search.PositionOf(at));
    }
    state.counters["target_ms"] = kKeystrokeTargetMs;
}

// For comparison: the plain scan, a database lookup and a decoded, folded
// text per record at every keystroke.
void BM_PlainScanPerKeystroke(benchmark::State& state) {
    Session& session = TheSession();
    const QString typed = QStringLiteral("number 4242").toCaseFolded();
    for (auto _ : state) {
        std::size_t count = 0;
        for (const MenuItemRecord& record : session.document->records()) {
            const auto text = session.document->textDb().FindText(record.textId);
            if (text && FromCodePage(*text).toCaseFolded().contains(typed)) ++count;
        }
        benchmark::DoNotOptimize(count);
    }
}

// A text edited in the Text line and undone, with a search following the
// document: a step each way in the history, whatever the database's size.
void BM_TextEditAndUndo(benchmark::State& state) {
    Session& session = TheSession();
    session.search.SetQuery(QStringLiteral("number 4242"));
    Finish(session.search);
    for (auto _ : state) {
        if (!editing::SetRecordText(*session.document, 500'000, "A text of its own", "Text",
                                    "Add text")) {
            return state.SkipWithError("the text was not set");
        }
        editing::Undo(*session.document);
    }
    state.counters["target_ms"] = 16;
}

// Edit > New Text and its undo: an id above the largest, an entry added
// after the last of 1,000,000 and the record's textId, then all taken back.
void BM_NewTextAndUndo(benchmark::State& state) {
    Session& session = TheSession();
    for (auto _ : state) {
        if (!editing::NewText(*session.document, 500'000, "A text of its own", "New text")) {
            return state.SkipWithError("no new text was made");
        }
        editing::Undo(*session.document);
    }
    state.counters["target_ms"] = 16;
}

// The Text line's "used by n items", worked out at each refresh of the panel.
void BM_CountRecordsSharingAText(benchmark::State& state) {
    Session& session = TheSession();
    for (auto _ : state) benchmark::DoNotOptimize(editing::CountTextUsers(*session.document, 4242));
    state.counters["target_ms"] = 16;
}

BENCHMARK(BM_FirstSearchAfterOpen)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_KeystrokeMatchingEveryRecord)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_KeystrokeMatchingNone)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_KeystrokeOfAWholeNumber)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_KeystrokeExtendingTheQuery)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_NextAfterAnEdit)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_NextAndPrevious)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlainScanPerKeystroke)->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK(BM_TextEditAndUndo)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_NewTextAndUndo)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CountRecordsSharingAText)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
