// Figures of the real window on a large document: 1,000,000 records (a 36 MB
// file) and a string database of 1,000,000 entries, driven on the offscreen
// platform. Each figure is printed next to its target. Windows of 39
// elements follow one another; the document ends with a window of 1,000
// elements, for the figures of a selection of 1,000, then one of 10,000 and
// one of 100, for the drag figures.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QListView>
#include <QMimeData>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <memory>
#include <random>

#include "app/arrange_menu.h"
#include "app/main_window.h"
#include "app/message_table.h"
#include "app/preview_panel.h"
#include "app/record_list_view.h"
#include "document/menu_file.h"
#include "document/recovery_journal.h"
#include "document/type_code.h"
#include "dump/record_transfer.h"
#include "editing/record_edits.h"
#include "editing/record_selection.h"
#include "fake_platform.h"
#include "memory_figures.h"

namespace {

using bench_memory::HeapInUseMegabytes;
using bench_memory::ResidentMegabytes;

constexpr int kRecords = 1'000'000;
constexpr int kStrings = 1'000'000;
// The two windows the drag figures use.
constexpr int kCrowdedElements = 10'000;
constexpr int kOrdinaryElements = 100;
constexpr int kCrowdedWindow = kRecords - kCrowdedElements - kOrdinaryElements - 2;
constexpr int kOrdinaryWindow = kCrowdedWindow + kCrowdedElements + 1;
constexpr int kGroupElements = 1'000;
constexpr int kGroupWindow = kCrowdedWindow - kGroupElements - 1;

bool IsWindowRow(int i) {
    return i < kGroupWindow ? i % 40 == 0
                            : i == kGroupWindow || i == kCrowdedWindow || i == kOrdinaryWindow;
}

struct LargeDocument {
    QTemporaryDir folder;
    QString menuPath;
    QString textDbPath;

    LargeDocument() {
        menuPath = folder.filePath("kavel.def");
        textDbPath = folder.filePath("textdb_en.def");
        std::vector<MenuItemRecord> records(kRecords);
        std::mt19937 random(1);
        const char* codes[] = {"butt", "stxt", "edit", "list", "scrl", "ctxt"};
        for (int i = 0; i < kRecords; ++i) {
            MenuItemRecord& record = records[static_cast<std::size_t>(i)];
            record.id = i;
            type_code::SetFromShown(record, IsWindowRow(i) ? "wint" : codes[random() % 6]);
            record.posX = static_cast<float>(random() % 700);
            record.posY = static_cast<float>(random() % 500);
            record.scaleX = 80;
            record.scaleY = 20;
            if (i == kCrowdedWindow || i == kOrdinaryWindow || i == kGroupWindow) {
                record.posX = record.posY = 0;
                record.scaleX = 800;
                record.scaleY = 600;
            }
            record.textId = static_cast<std::int32_t>(random() % kStrings);
        }
        QFile menu(menuPath);
        menu.open(QIODevice::WriteOnly);
        menu.write(EncodeMenuItems(records));

        QByteArray db;
        auto append32 = [&db](std::uint32_t value) {
            for (int b = 0; b < 4; ++b) db.append(static_cast<char>((value >> (8 * b)) & 0xFF));
        };
        append32(kStrings);
        append32(0);
        std::uint32_t offset = 8 + 8 * kStrings;
        QByteArray texts;
        for (int i = 0; i < kStrings; ++i) {
            const QByteArray text = "Menu text number " + QByteArray::number(i);
            append32(static_cast<std::uint32_t>(i));
            append32(offset + static_cast<std::uint32_t>(texts.size()));
            texts.append(text).append('\0');
        }
        db.append(texts);
        QFile strings(textDbPath);
        strings.open(QIODevice::WriteOnly);
        strings.write(db);
    }
};

struct Session {
    LargeDocument document;
    FakePlatform platform;
    std::unique_ptr<TmainWin> window;
    double emptyMegabytes = 0;
    double loadMilliseconds = 0;
    double loadedMegabytes = 0;

    Session() {
        QDir::setCurrent(document.folder.path());
        // Recovery files go to the benchmark's own folder.
        qputenv("XDG_STATE_HOME", QFile::encodeName(document.folder.filePath("state")));
        window = std::make_unique<TmainWin>(platform);
        window->show();
        window->FormActivate();
        QApplication::processEvents();
        emptyMegabytes = ResidentMegabytes();
        platform.openAnswers = {document.menuPath, document.textDbPath};
        QElapsedTimer timer;
        timer.start();
        window->mmMainOpenClick();
        loadMilliseconds = static_cast<double>(timer.nsecsElapsed()) / 1e6;
        QApplication::processEvents();
        loadedMegabytes = ResidentMegabytes();
        // The list lays its million rows out in steps between events: the
        // figures are of a window that has finished doing so.
        for (int step = 0; step < 100; ++step) QApplication::processEvents();
    }
};

// Made on first use, gone before the application object.
std::unique_ptr<Session> theSession;

Session& TheSession() {
    if (!theSession) theSession = std::make_unique<Session>();
    return *theSession;
}

// Runs one user action and the repaint that follows it.
template <typename Action>
void Measure(benchmark::State& state, Action action) {
    Session& session = TheSession();
    for (auto _ : state) {
        action(session);
        QApplication::processEvents();
    }
}

void BM_OpenToFirstRefresh(benchmark::State& state) {
    Session& session = TheSession();
    for (auto _ : state) state.SetIterationTime(session.loadMilliseconds / 1000.0);
    state.counters["target_ms"] = 1000;
    state.counters["empty_MB"] = session.emptyMegabytes;
    state.counters["loaded_MB"] = session.loadedMegabytes;
    state.counters["added_MB"] = session.loadedMegabytes - session.emptyMegabytes;
    state.counters["added_target_MB"] = 150;
}

void BM_SelectRow(benchmark::State& state) {
    int row = 500'000;
    Measure(state, [&row](Session& s) {
        QListView* list = s.window->lbMain;
        list->selectionModel()->setCurrentIndex(list->model()->index(row, 0),
                                                QItemSelectionModel::ClearAndSelect);
        row = row == 500'000 ? 500'001 : 500'000;
    });
    state.counters["target_ms"] = 16;
}

// Another value each time, so that every commit is a step.
void BM_CommitField(benchmark::State& state) {
    bool flip = false;
    Measure(state, [&flip](Session& s) {
        s.window->edPosX->setText((flip = !flip) ? "123.5" : "124.5");
        s.window->edPosXExit();
    });
    state.counters["target_ms"] = 16;
}

void BM_ChangeType(benchmark::State& state) {
    bool flip = false;
    Measure(state, [&flip](Session& s) {
        s.window->cbType->setEditText(flip ? "butt" : "stxt");
        s.window->cbTypeExit();
        flip = !flip;
    });
    state.counters["target_ms"] = 16;
}

void BM_DuplicateThenDelete(benchmark::State& state) {
    Session& session = TheSession();
    session.platform.yesNoAnswers.clear();
    Measure(state, [](Session& s) {
        s.window->mmMainInsertClick();
        s.platform.yesNoAnswers.push_back(true);
        s.window->mmMainDeleteClick();
    });
    state.counters["target_ms_for_both"] = 32;
}

// A record copied in another editor pasted over the current one. The two
// copies differ in X, so every paste is a step (a record pasted over its
// own bytes changes nothing and costs nothing).
void BM_Paste(benchmark::State& state) {
    Session& session = TheSession();
    session.window->mmMainCopyClick();
    QByteArray copies[2];
    copies[0] = copies[1] = QGuiApplication::clipboard()->mimeData()->data(dump::kRecordsMimeType);
    if (copies[0].size() != 36) return state.SkipWithError("nothing was copied");
    copies[1][8] = static_cast<char>(copies[1][8] ^ 1);
    const int steps = session.window->document().history().count();
    int flip = 0;
    Measure(state, [&](Session& s) {
        auto* data = new QMimeData;
        data->setData(dump::kRecordsMimeType, copies[flip ^= 1]);
        QGuiApplication::clipboard()->setMimeData(data);
        s.window->mmMainPasteClick();
    });
    if (session.window->document().history().count() == steps)
        state.SkipWithError("no paste became a step");
    state.counters["target_ms"] = 16;
}

void SelectRow(Session& s, int row) {
    QListView* list = s.window->lbMain;
    list->selectionModel()->setCurrentIndex(list->model()->index(row, 0),
                                            QItemSelectionModel::ClearAndSelect);
    QApplication::processEvents();
}

void SendMouse(QWidget* widget, QEvent::Type type, QPoint at, Qt::MouseButtons buttons,
               Qt::KeyboardModifiers keys = {}) {
    QMouseEvent event(type, at, widget->mapToGlobal(at),
                      type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, buttons, keys);
    QApplication::sendEvent(widget, &event);
}

// Where the last element of a window's screen shows: it lies on top there.
QPoint LastElementCentre(Session& s, int window, int elements) {
    const MenuItemRecord& last = s.window->menuItems()[static_cast<std::size_t>(window + elements)];
    const MenuItemRecord& frame = s.window->menuItems()[static_cast<std::size_t>(window)];
    const QSize size = s.window->pnMap->drawnSize();
    const double x = frame.posX + last.posX + last.scaleX / 2;
    const double y = frame.posY + 42.0 + last.posY + last.scaleY / 2;
    return s.window->pnMap->view().ToArea(QPoint(static_cast<int>(x * size.width() / 800),
                                                 static_cast<int>(y * size.height() / 600)));
}

// Keeps a recovery copy of the million records on its way while a figure is
// taken: a new one is started, outside the time measured, whenever the last
// has been written. Returns how many were started.
int KeepCopying(benchmark::State& state, RecoveryJournal& journal) {
    static int started = 0;
    if (journal.writing() || journal.taking()) return started;
    state.PauseTiming();
    journal.StartCopy();
    state.ResumeTiming();
    return ++started;
}

// A keystroke that commits a field while the copy is being made: it waits
// for at most one slice of the copy, never for the encoding or the disk.
void BM_CommitFieldWhileRecoveryCopy(benchmark::State& state) {
    Session& session = TheSession();
    RecoveryJournal& journal = session.window->recoveryJournal();
    SelectRow(session, 600'000);
    int value = 0;
    int copies = 0;
    for (auto _ : state) {
        copies = KeepCopying(state, journal);
        session.window->edPosX->setText(QString::number(++value % 500));
        session.window->edPosXExit();
        QApplication::processEvents();
    }
    state.counters["copies_started"] = copies;
    state.counters["target_ms"] = 16;
}

// One whole copy of the million records: taken between events, encoded and
// written (and synced to the disk) on its own thread.
void BM_RecoveryCopyOfAMillionRecords(benchmark::State& state) {
    Session& session = TheSession();
    RecoveryJournal& journal = session.window->recoveryJournal();
    SelectRow(session, 600'001);
    session.window->edPosX->setText(QStringLiteral("321"));
    session.window->edPosXExit();
    for (auto _ : state) {
        while (journal.writing() || journal.taking()) QApplication::processEvents();
        QElapsedTimer timer;
        timer.start();
        journal.StartCopy();
        while (journal.writing() || journal.taking()) QApplication::processEvents();
        state.SetIterationTime(static_cast<double>(timer.nsecsElapsed()) / 1e9);
    }
    state.counters["target_ms"] = 2000;
}

// One step of a drag of the screen's last element, or of the window by its
// caption (which takes every element along): the pointer moves and the
// preview is repainted. Alt keeps snapping out, which could hold the box
// still.
void BM_DragStep(benchmark::State& state) {
    Session& session = TheSession();
    RecoveryJournal& journal = session.window->recoveryJournal();
    const bool copying = state.range(2) != 0;
    const bool crowded = state.range(0) == kCrowdedElements;
    const int window = crowded ? kCrowdedWindow : kOrdinaryWindow;
    SelectRow(session, window);
    PreviewPanel* panel = session.window->pnMap;
    const QPoint from =
        state.range(1) != 0
            ? panel->view().ToArea(QPoint(panel->drawnSize().width() / 2, 5))
            : LastElementCentre(session, window, static_cast<int>(state.range(0)));
    SendMouse(panel->viewport(), QEvent::MouseButtonPress, from, Qt::LeftButton);
    int step = 0;
    for (auto _ : state) {
        ++step;
        if (copying) KeepCopying(state, journal);
        SendMouse(panel->viewport(), QEvent::MouseMove, from + QPoint(10 + step % 20, 5 + step % 10),
                  Qt::LeftButton, Qt::AltModifier);
        panel->viewport()->repaint();
        // The copy's next slice waits for the window's next event.
        if (copying) QApplication::processEvents();
    }
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(panel, &escape);
    SendMouse(panel->viewport(), QEvent::MouseButtonRelease, from, Qt::NoButton);
    state.counters["target_ms"] = crowded ? 30 : 8;
}

// A click on an element of the screen shown: the record under the pointer
// is found, selected and shown.
void BM_ClickSelect(benchmark::State& state) {
    Session& session = TheSession();
    PreviewPanel* panel = session.window->pnMap;
    const QPoint on = LastElementCentre(session, kOrdinaryWindow, kOrdinaryElements);
    for (auto _ : state) {
        state.PauseTiming();
        SelectRow(session, kOrdinaryWindow);
        state.ResumeTiming();
        SendMouse(panel->viewport(), QEvent::MouseButtonPress, on, Qt::LeftButton);
        SendMouse(panel->viewport(), QEvent::MouseButtonRelease, on, Qt::NoButton);
        QApplication::processEvents();
    }
    state.counters["target_ms"] = 16;
}

void SendKey(Session& s, Qt::Key key, Qt::KeyboardModifiers keys = {}) {
    QKeyEvent press(QEvent::KeyPress, key, keys);
    QApplication::sendEvent(s.window->pnMap, &press);
}

void BM_NudgeByKey(benchmark::State& state) {
    SelectRow(TheSession(), 500'000);
    bool right = true;
    Measure(state, [&right](Session& s) {
        SendKey(s, right ? Qt::Key_Right : Qt::Key_Left);
        right = !right;
    });
    state.counters["target_ms"] = 16;
}

// One step of each kind is made, then undone and redone again and again; each
// figure is one undo (or redo) with the refresh and repaint that follow it.
enum StepKind {
    kFieldStep,
    kTypeStep,
    kDuplicateStep,
    kDeleteStep,
    kPasteStep,
    kMoveStep,
    kResizeStep
};

void MakeStep(Session& s, int kind) {
    s.window->lbMain->selectionModel()->setCurrentIndex(
        s.window->lbMain->model()->index(700'000, 0), QItemSelectionModel::ClearAndSelect);
    switch (kind) {
        case kFieldStep:
            s.window->edPosY->setText(QString::number(s.window->document().history().count()));
            s.window->edPosYExit();
            break;
        case kTypeStep:
            s.window->cbType->setEditText(s.window->cbType->currentText() == "list" ? "comb"
                                                                                    : "list");
            s.window->cbTypeExit();
            break;
        case kDuplicateStep:
            s.window->mmMainInsertClick();
            break;
        case kDeleteStep:
            s.platform.yesNoAnswers = {true};
            s.window->mmMainDeleteClick();
            break;
        case kMoveStep:
            SendKey(s, Qt::Key_Right);
            break;
        case kResizeStep:
            SendKey(s, Qt::Key_Right, Qt::ControlModifier);
            break;
        default:
            s.window->mmMainCopyClick();
            s.window->lbMain->selectionModel()->setCurrentIndex(
                s.window->lbMain->model()->index(700'001, 0), QItemSelectionModel::ClearAndSelect);
            s.window->mmMainPasteClick();
            break;
    }
    QApplication::processEvents();
}

template <bool kUndo>
void BM_UndoRedoStep(benchmark::State& state, int kind) {
    Session& session = TheSession();
    MakeStep(session, kind);
    QElapsedTimer timer;
    for (auto _ : state) {
        if (!kUndo) {
            session.window->mmMainUndoClick();
            QApplication::processEvents();
        }
        timer.start();
        if (kUndo) {
            session.window->mmMainUndoClick();
        } else {
            session.window->mmMainRedoClick();
        }
        QApplication::processEvents();
        state.SetIterationTime(static_cast<double>(timer.nsecsElapsed()) / 1e9);
        if (kUndo) {
            session.window->mmMainRedoClick();
            QApplication::processEvents();
        }
    }
    state.counters["target_ms"] = 16;
}

// 100,000 commits of a field, each a step of the history.
void BM_MemoryOfAHundredThousandEdits(benchmark::State& state) {
    Session& session = TheSession();
    Document& document = session.window->document();
    double added = 0;
    for (auto _ : state) {
        const double before = HeapInUseMegabytes();
        std::mt19937 random(3);
        // The step's caption is the language's text, shared by every step as
        // the window's commits share it.
        const QString& caption = MessageTable().positionXStep;
        for (int i = 0; i < 100'000; ++i) {
            editing::SetField(document, random() % document.count(), RecordField::PosX,
                              static_cast<std::uint32_t>(random()), caption);
        }
        added = HeapInUseMegabytes() - before;
    }
    state.counters["target_ms"] = 5000;
    state.counters["steps"] = document.history().count();
    state.counters["added_MB"] = added;
    state.counters["added_target_MB"] = 20;
}

BENCHMARK(BM_OpenToFirstRefresh)->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SelectRow)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CommitField)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ChangeType)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DuplicateThenDelete)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Paste)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DragStep)
    ->ArgNames({"elements", "window", "copying"})
    ->Args({kOrdinaryElements, 0, 0})
    ->Args({kCrowdedElements, 0, 0})
    ->Args({kOrdinaryElements, 1, 0})
    ->Args({kCrowdedElements, 1, 0})
    ->Args({kOrdinaryElements, 0, 1})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ClickSelect)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_NudgeByKey)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CommitFieldWhileRecoveryCopy)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RecoveryCopyOfAMillionRecords)
    ->UseManualTime()
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond);

// --- Several records at once ---------------------------------------------------

// The 1,000 elements of their window, selected, with the first current.
void SelectGroup(Session& s) {
    SelectRow(s, kGroupWindow + 1);
    s.window->selection().Set(RowRanges::Span(kGroupWindow + 1, kGroupWindow + 1 + kGroupElements),
                              kGroupWindow + 1);
    QApplication::processEvents();
}

// Every tenth record of the first million, 100,000 in all, windows among
// them (every fourth), so that their copies make screens of a few elements
// as they do: copies of elements alone would all join the last screen, and
// the figure would be that of drawing a screen of 100,000 elements.
RowRanges EveryTenth() {
    RowRanges rows;
    for (std::size_t row = 0; row < 1'000'000; row += 10) rows.Append(row, row + 1);
    return rows;
}

// One step of a drag of the 1,000 selected elements: the pointer moves and
// the preview is repainted.
void BM_GroupDragStep(benchmark::State& state) {
    Session& session = TheSession();
    SelectGroup(session);
    PreviewPanel* panel = session.window->pnMap;
    const QPoint from = LastElementCentre(session, kGroupWindow, kGroupElements);
    SendMouse(panel->viewport(), QEvent::MouseButtonPress, from, Qt::LeftButton);
    int step = 0;
    for (auto _ : state) {
        ++step;
        SendMouse(panel->viewport(), QEvent::MouseMove, from + QPoint(10 + step % 20, 5 + step % 10),
                  Qt::LeftButton, Qt::AltModifier);
        panel->viewport()->repaint();
    }
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(panel, &escape);
    SendMouse(panel->viewport(), QEvent::MouseButtonRelease, from, Qt::NoButton);
    state.counters["target_ms"] = 16;
}

// Shift+click 100,000 rows below the current one: the selection, the panel
// (the values they agree in), the preview and the list brought in line.
void BM_ExtendSelectionTo100000Rows(benchmark::State& state) {
    Session& session = TheSession();
    for (auto _ : state) {
        state.PauseTiming();
        SelectRow(session, 200'000);
        state.ResumeTiming();
        session.window->selection().ExtendTo(300'000);
        QApplication::processEvents();
    }
    state.counters["target_ms"] = 16;
    state.counters["selected"] = static_cast<double>(session.window->selection().count());
}

// The same selection held in Qt's own selection model, row by row as a list
// view in its extended mode would hold scattered rows: why the list holds its
// selection as runs of its own.
void BM_ComparisonQtSelectionModelOf100000Rows(benchmark::State& state) {
    Session& session = TheSession();
    QItemSelectionModel model(session.window->lbMain->model());
    QItemSelection rows;
    for (int row = 5; row < 1'000'000; row += 10) {
        const QModelIndex index = session.window->lbMain->model()->index(row, 0);
        rows.select(index, index);
    }
    for (auto _ : state) {
        model.select(rows, QItemSelectionModel::ClearAndSelect);
        benchmark::DoNotOptimize(model.isSelected(session.window->lbMain->model()->index(999'995, 0)));
        model.clear();
    }
}

// A step made, undone and redone: each timed apart, as the figures
// <name>/step, /undo and /redo, with the refresh that follows.
enum class Phase { Step, Undo, Redo };

template <typename Prepare, typename Step>
void StepFigure(benchmark::State& state, Phase phase, Prepare prepare, Step step) {
    Session& session = TheSession();
    QElapsedTimer timer;
    for (auto _ : state) {
        prepare(session);
        if (phase == Phase::Step) timer.start();
        step(session);
        QApplication::processEvents();
        if (phase == Phase::Step) state.SetIterationTime(static_cast<double>(timer.nsecsElapsed()) / 1e9);
        if (phase == Phase::Undo) timer.start();
        session.window->mmMainUndoClick();
        QApplication::processEvents();
        if (phase == Phase::Undo) state.SetIterationTime(static_cast<double>(timer.nsecsElapsed()) / 1e9);
        if (phase == Phase::Redo) {
            timer.start();
            session.window->mmMainRedoClick();
            QApplication::processEvents();
            state.SetIterationTime(static_cast<double>(timer.nsecsElapsed()) / 1e9);
            session.window->mmMainUndoClick();
            QApplication::processEvents();
        }
    }
}

void RegisterSeveralRecordsBenchmarks() {
    benchmark::RegisterBenchmark("BM_ExtendSelectionTo100000Rows", BM_ExtendSelectionTo100000Rows)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("BM_ComparisonQtSelectionModelOf100000Rows",
                                 BM_ComparisonQtSelectionModelOf100000Rows)
        ->Unit(benchmark::kMillisecond)
        ->Iterations(1);
    benchmark::RegisterBenchmark("BM_GroupDragStep", BM_GroupDragStep)
        ->Unit(benchmark::kMillisecond);
    const char* phases[] = {"step", "undo", "redo"};
    const auto add = [&](const std::string& name, double target, auto prepare, auto step) {
        for (const Phase phase : {Phase::Step, Phase::Undo, Phase::Redo}) {
            benchmark::RegisterBenchmark(
                (name + "/" + phases[static_cast<int>(phase)]).c_str(),
                [=](benchmark::State& state) {
                    StepFigure(state, phase, prepare, step);
                    state.counters["target_ms"] = target;
                })
                ->UseManualTime()
                ->Unit(benchmark::kMillisecond);
        }
    };
    // On a selection of 1,000 elements.
    const auto group = [](Session& s) { SelectGroup(s); };
    add("BM_Group1000/DragStep", 16, group, [](Session& s) {
        PreviewPanel* panel = s.window->pnMap;
        const QPoint from = LastElementCentre(s, kGroupWindow, kGroupElements);
        SendMouse(panel->viewport(), QEvent::MouseButtonPress, from, Qt::LeftButton);
        SendMouse(panel->viewport(), QEvent::MouseMove, from + QPoint(10, 5), Qt::LeftButton, Qt::AltModifier);
        panel->viewport()->repaint();
        SendMouse(panel->viewport(), QEvent::MouseMove, from + QPoint(12, 6), Qt::LeftButton, Qt::AltModifier);
        panel->viewport()->repaint();
        SendMouse(panel->viewport(), QEvent::MouseButtonRelease, from + QPoint(12, 6), Qt::NoButton,
                  Qt::AltModifier);
    });
    add("BM_Group1000/Nudge", 16, group, [](Session& s) { SendKey(s, Qt::Key_Right); });
    add("BM_Group1000/FieldSet", 16, group, [](Session& s) {
        s.window->edPosY->setText("77");
        s.window->edPosYExit();
    });
    const char* arrangements[] = {"AlignLeft",   "AlignRight",   "AlignTop",
                                  "AlignBottom", "AlignHCenters", "AlignVCenters",
                                  "DistributeH", "DistributeV",   "SameWidth",
                                  "SameHeight"};
    for (const arrange::Arrangement arrangement : arrange::kArrangements) {
        add(std::string("BM_Group1000/") + arrangements[static_cast<int>(arrangement)], 16,
            [](Session& s) {
                // A different size for the current record, so that each
                // entry changes something.
                s.window->selection().Select(kGroupWindow + 1);
                s.window->edScaleX->setText("81");
                s.window->edScaleXExit();
                s.window->edScaleY->setText("21");
                s.window->edScaleYExit();
                SelectGroup(s);
            },
            [arrangement](Session& s) { s.window->arrangeMenu->Run(arrangement); });
    }
    // On 100,000 records, every tenth of the first million.
    const auto tenth = [](Session& s) {
        s.window->selection().Set(EveryTenth(), 0);
        QApplication::processEvents();
        s.platform.yesNoAnswers = {true};
    };
    add("BM_Selected100000/Delete", 150, tenth, [](Session& s) { s.window->mmMainDeleteClick(); });
    add("BM_Selected100000/Duplicate", 150, tenth,
        [](Session& s) { s.window->mmMainInsertClick(); });
    benchmark::RegisterBenchmark("BM_Selected100000/Copy", [](benchmark::State& state) {
        Session& session = TheSession();
        session.window->selection().Set(EveryTenth(), 0);
        QApplication::processEvents();
        for (auto _ : state) session.window->mmMainCopyClick();
        state.counters["target_ms"] = 150;
    })->Unit(benchmark::kMillisecond);
    // Pasted from the text of a dump another program put on the clipboard.
    benchmark::RegisterBenchmark("BM_Paste100000FromText", [](benchmark::State& state) {
        Session& session = TheSession();
        std::vector<MenuItemRecord> records(session.window->menuItems().begin(),
                                            session.window->menuItems().begin() + 100'000);
        const QString text = QString::fromUtf8(dump::RecordsText(records, nullptr));
        QElapsedTimer timer;
        for (auto _ : state) {
            QGuiApplication::clipboard()->setText(text);
            SelectRow(session, 500'000);
            timer.start();
            session.window->mmMainPasteClick();
            QApplication::processEvents();
            state.SetIterationTime(static_cast<double>(timer.nsecsElapsed()) / 1e9);
            session.window->mmMainUndoClick();
            QApplication::processEvents();
        }
        state.counters["target_ms"] = 1000;
        state.counters["text_MB"] = static_cast<double>(text.size()) / 1e6;
    })->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);
}

// After the figures above, which do not expect a history of 100,000 steps.
void RegisterHistoryBenchmarks() {
    const char* kinds[] = {"field", "type", "duplicate", "delete", "paste", "move", "resize"};
    for (int kind = kFieldStep; kind <= kResizeStep; ++kind) {
        for (const bool undo : {true, false}) {
            const std::string name = std::string(undo ? "BM_Undo/" : "BM_Redo/") + kinds[kind];
            benchmark::RegisterBenchmark(
                name.c_str(), undo ? BM_UndoRedoStep<true> : BM_UndoRedoStep<false>, kind)
                ->UseManualTime()
                ->Unit(benchmark::kMillisecond);
        }
    }
    benchmark::RegisterBenchmark("BM_MemoryOfAHundredThousandEdits",
                                 BM_MemoryOfAHundredThousandEdits)
        ->Iterations(1)
        ->Unit(benchmark::kMillisecond);
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    RegisterSeveralRecordsBenchmarks();
    RegisterHistoryBenchmarks();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    theSession.reset();
    return 0;
}
