// Long random editing runs: the window is driven by a seeded random sequence
// of what users do, and after every step the document is checked against a
// small model of the editing rules, kept here apart from the program: raw
// 36-byte records, a history of whole states, the selection and the
// modified mark. Each action is a row of kActions: its name, its weight, what
// it does in the window and what it does to the model; new commands become
// new rows.
//
// CI runs a few fixed seeds for a bounded time each; scripts/soak.sh runs
// seed after seed for as long as asked (KAVEL_SOAK_SECONDS, from
// KAVEL_SOAK_SEED on, KAVEL_SOAK_STEPS at most for each). A difference names
// the seed and the step, and the same seed replays the same steps.
#include <QAction>
#include <QElapsedTimer>
#include <bit>
#include <cmath>
#include <random>

#include "app/find_bar.h"
#include "app/preview_panel.h"
#include "app/preview_placing.h"
#include "document/recovery_folder.h"
#include "document/recovery_journal.h"
#include "preview/hit_test.h"
#include "preview/placement.h"
#include "support/bytes.h"
#include "window_fixture.h"

namespace {

using Raw = std::array<char, 36>;
using Records = std::vector<Raw>;

std::uint32_t U32(const Raw& r, int at) {
    std::uint32_t value = 0;
    for (int b = 3; b >= 0; --b) value = value << 8 | static_cast<std::uint8_t>(r[at + b]);
    return value;
}
void SetU32(Raw& r, int at, std::uint32_t value) {
    for (int b = 0; b < 4; ++b) r[at + b] = static_cast<char>(value >> (8 * b));
}
float F(const Raw& r, int at) {
    return std::bit_cast<float>(U32(r, at));
}
void SetF(Raw& r, int at, double value) {
    SetU32(r, at, std::bit_cast<std::uint32_t>(static_cast<float>(value)));
}

// A code shows in reverse of its stored order, up to the first NUL; a typed
// one is stored so, its missing characters zero.
QString ShownType(const Raw& r) {
    QString shown;
    for (int at = 7; at >= 4 && r[at] != '\0'; --at) shown += QLatin1Char(r[at]);
    return shown;
}
void SetType(Raw& r, const QByteArray& shown) {
    for (int c = 0; c < 4; ++c)
        r[static_cast<std::size_t>(7 - c)] = c < shown.size() ? shown[c] : '\0';
}

// The record's box on one axis moved by `units`: the whole box, or the edge
// that shows right or at the bottom, which never makes the box smaller than 1
// unit (nor than it was, when smaller) nor turns it over; on a mirrored box
// that edge is its position.
void Place(Raw& r, int posAt, bool edge, double units) {
    const float pos = F(r, posAt), scale = F(r, posAt + 8);
    const double size = std::abs(double{scale});
    if (edge) units = std::max(units, std::min(size, 1.0) - size);
    if (units == 0.0) return;
    if (!edge || scale < 0) SetF(r, posAt, pos + units);
    if (edge) SetF(r, posAt + 8, scale < 0 ? scale - units : scale + units);
}

// The editing rules, as this test states them.
struct Model {
    struct Step {
        Records before, after;
        std::size_t undoSelect, redoSelect;
        int merge;  // 0, or the kind of key step that merges with the next one
        std::size_t record;
    };
    Records records;
    std::size_t selected = 0;
    std::vector<Step> steps;
    int index = 0, clean = 0;  // clean -1: no state of the history is saved
    std::optional<Raw> copied;
    QByteArray loaded;
    std::map<std::int32_t, QString> texts;

    bool modified() const { return index != clean; }
    int count() const { return static_cast<int>(records.size()); }
    QByteArray Bytes() const {
        QByteArray bytes;
        for (const Raw& r : records) bytes.append(r.data(), 36);
        return bytes;
    }
    void Load(const QByteArray& bytes) {
        records.resize(static_cast<std::size_t>(bytes.size() / 36));
        for (std::size_t i = 0; i < records.size(); ++i)
            std::memcpy(records[i].data(), bytes.constData() + 36 * i, 36);
        steps.clear();
        index = clean = 0;
        loaded = bytes;
        selected = std::min(selected, records.size() - 1);
    }
    // A change is a step unless it stores the same bytes. Key steps on one
    // record in a row merge, unless the first is where the file was saved,
    // and go when they come back to where they started.
    void Change(Records after, std::size_t undoSelect, std::size_t redoSelect, int merge = 0) {
        if (after == records) return;
        steps.resize(static_cast<std::size_t>(index));
        if (clean > index) clean = -1;
        Step* last = index > 0 ? &steps.back() : nullptr;
        if (merge != 0 && last && index != clean && last->merge == merge &&
            last->record == selected) {
            last->after = after;
            if (last->before == after) steps.pop_back(), --index;
        } else {
            steps.push_back({records, after, undoSelect, redoSelect, merge, selected});
            ++index;
        }
        records = std::move(after);
    }
    void Set(std::size_t row, const Raw& r, int merge = 0) {
        Records after = records;
        after[row] = r;
        Change(after, selected, selected, merge);
    }
    void Walk(bool forward) {
        if (forward ? index == static_cast<int>(steps.size()) : index == 0) return;
        const Step& step = steps[static_cast<std::size_t>(forward ? index++ : --index)];
        records = forward ? step.after : step.before;
        selected = forward ? step.redoSelect : step.undoSelect;
    }
    // Found: a text holding what was typed in any case, the very type code,
    // or the number as the id or the text id.
    bool Matches(const Raw& r, const QString& typed) const {
        const auto text = texts.find(static_cast<std::int32_t>(U32(r, 24)));
        if (text != texts.end() && text->second.toCaseFolded().contains(typed.toCaseFolded()))
            return true;
        bool number = false;
        const auto value = static_cast<std::uint32_t>(typed.toInt(&number, 10));
        return ShownType(r) == typed || (number && (U32(r, 0) == value || U32(r, 24) == value));
    }
};

// What an action chose, for the model to follow.
struct Pick {
    std::size_t row = 0;
    int at = 0;
    std::uint32_t bits = 0;
    QString text;
    bool yes = false, edge = false;
    double dx = 0, dy = 0;
    QByteArray bytes;
};

class WindowSoak : public WindowTest {
  protected:
    struct Action {
        const char* name;
        int weight;
        bool (*window)(WindowSoak&, Pick&);  // false: does not apply now
        void (*model)(Model&, const Pick&);
    };
    static const std::vector<Action> kActions;

    void Run(std::uint32_t seed, qint64 milliseconds, int maxSteps) {
        random.seed(seed);
        // The copied record outlives the document, in the window as in the rules.
        const std::optional<Raw> copied = model.copied;
        model = Model();
        model.copied = copied;
        model.texts = {{1, "Start game"}, {2, "Options"}, {3, "Quit"}, {4, "Sound Volume"}};
        QByteArray db, texts;
        AppendU32(db, 4);
        AppendU32(db, 0);
        for (const auto& [id, text] : model.texts) {
            AppendU32(db, static_cast<std::uint32_t>(id));
            AppendU32(db, static_cast<std::uint32_t>(40 + texts.size()));
            texts.append(text.toLatin1()).append('\0');
        }
        WriteBytes(Path("textdb_en.def"), db + texts);
        const QByteArray bytes = RandomMenu();
        WriteBytes(Path("kavel.def"), bytes);
        platform.saveChangesAnswers = {SaveAnswer::Discard};
        OpenFiles(Path("kavel.def"), Path("textdb_en.def"));
        model.Load(bytes);

        QElapsedTimer clock;
        clock.start();
        int total = 0;
        for (const Action& action : kActions) total += action.weight;
        for (step = 0; step < maxSteps && clock.elapsed() < milliseconds; ++step) {
            int pick = static_cast<int>(Roll(static_cast<std::uint32_t>(total)));
            const Action* action = &kActions[0];
            while (pick >= action->weight) pick -= (action++)->weight;
            where = QString("seed %1, step %2 (%3)")
                        .arg(seed)
                        .arg(step)
                        .arg(action->name)
                        .toStdString();
            Pick choice;
            if (!action->window(*this, choice)) continue;
            action->model(model, choice);
            Check();
            if (HasFatalFailure()) return;
        }
        // The history leads back to what was loaded and forward to its end,
        // and the recovery file holds the unsaved records while there are any.
        while (model.index < static_cast<int>(model.steps.size())) model.Walk(true);
        while (window->mmMainUndo->isEnabled()) window->mmMainUndo->trigger();
        EXPECT_EQ(Bytes(), model.loaded) << where;
        while (window->mmMainRedo->isEnabled()) window->mmMainRedo->trigger();
        EXPECT_EQ(Bytes(), model.Bytes()) << where;
        RecoveryJournal& journal = window->recoveryJournal();
        journal.StartCopy();
        ASSERT_TRUE(Eventually([&] {
            const QByteArray copy =
                EncodeMenuItems(ReadRecoveryFile(journal.copyPath()).copy.records);
            return !journal.writing() && (model.modified() ? copy == Bytes() : copy.isEmpty());
        })) << where;
        std::printf("soak: seed %u, %d steps\n", seed, step);
        std::fflush(stdout);
    }

    void Check() {
        ASSERT_EQ(Bytes(), model.Bytes()) << where;
        ASSERT_EQ(window->lbMIcount2->text().toInt(), model.count()) << where;
        ASSERT_EQ(window->selectedIndex(), static_cast<int>(model.selected)) << where;
        const QAbstractItemModel& list = *window->lbMain->model();
        ASSERT_EQ(list.rowCount(), model.count()) << where;
        for (const int row : {0, static_cast<int>(model.selected), model.count() - 1}) {
            ASSERT_EQ(list.index(row, 0).data().toString(),
                      QString::number(row) + "   " + ShownType(model.records[std::size_t(row)]))
                << where;
        }
        ASSERT_EQ(window->document().isModified(), model.modified()) << where;
        ASSERT_EQ(window->windowTitle().startsWith("Kavel.def Editor v1.00*"), model.modified())
            << where;
        ASSERT_EQ(window->mmMainUndo->isEnabled(), model.index > 0) << where;
        ASSERT_EQ(window->mmMainRedo->isEnabled(), model.index < int(model.steps.size())) << where;
    }

    QByteArray Bytes() const { return EncodeMenuItems(window->menuItems()); }
    std::uint32_t Roll(std::uint32_t below) { return static_cast<std::uint32_t>(random() % below); }

    // Windows and elements on the screen, some of them loading pictures.
    QByteArray RandomMenu() {
        static const char* const kCodes[] = {"wint", "butt", "stxt", "edit",
                                             "wind", "list", "rcta", "frac"};
        QByteArray bytes;
        for (std::uint32_t i = 0, count = 3 + Roll(10); i < count; ++i) {
            Raw r{};
            const QByteArray code = kCodes[i == 0 ? 0 : Roll(8)];
            const bool window = code.startsWith("win") || code == "frac";
            SetType(r, code);
            SetU32(r, 0, Roll(4) == 0 ? 100 + Roll(3) : Roll(9));
            SetF(r, 8, Roll(window ? 300 : 500));
            SetF(r, 12, Roll(window ? 200 : 400) + 0.5);
            SetF(r, 16, window ? 200 + Roll(400) : 1 + Roll(200));
            SetF(r, 20, window ? 150 + Roll(300) : 1 + Roll(80));
            SetU32(r, 24, Roll(6));
            SetU32(r, 28, Roll(0xFFFFFFFF));
            SetU32(r, 32, Roll(0xFFFFFFFF));
            bytes.append(r.data(), 36);
        }
        return bytes;
    }

    // Types into a field, then leaves it by Tab or takes it with Enter.
    void Commit(QWidget* field, QLineEdit* edit, const QString& text, bool enter) {
        field->setFocus(Qt::MouseFocusReason);
        edit->selectAll();
        QTest::keyClick(field, Qt::Key_Backspace);
        QTest::keyClicks(field, text);
        QTest::keyClick(field, enter ? Qt::Key_Return : Qt::Key_Tab);
    }
    QLineEdit* Field(int field) const {
        QLineEdit* fields[] = {window->edID,     window->edPosX,   window->edPosY, window->edScaleX,
                               window->edScaleY, window->edTextdb, window->edFont, window->edColor};
        return fields[field];
    }

    std::mt19937 random;
    Model model;
    int step = 0;
    std::string where;
};

constexpr int kFieldAt[] = {0, 8, 12, 16, 20, 24, 28, 32};
void Nothing(Model&, const Pick&) {}

const std::vector<WindowSoak::Action> WindowSoak::kActions = {
    {"select a row", 10,
     [](WindowSoak& s, Pick& p) {
         s.ClickRow(static_cast<int>(p.row = s.Roll(static_cast<std::uint32_t>(s.model.count()))));
         return true;
     },
     [](Model& m, const Pick& p) { m.selected = p.row; }},
    {"commit a field", 14,
     [](WindowSoak& s, Pick& p) {
         p.at = static_cast<int>(s.Roll(8));
         if (p.at >= 1 && p.at <= 4) {
             const double value = static_cast<int>(s.Roll(1601)) - 800 + s.Roll(4) / 4.0;
             p.bits = std::bit_cast<std::uint32_t>(static_cast<float>(value));
             p.text = QString::number(value, 'g', 9);
         } else {
             p.bits = static_cast<std::uint32_t>(s.random());
             p.text = s.Roll(2) ? QString::number(static_cast<std::int32_t>(p.bits))
                                : "0x" + QString::number(p.bits, 16);
         }
         s.Commit(s.Field(p.at), s.Field(p.at), p.text, s.Roll(2));
         return true;
     },
     [](Model& m, const Pick& p) {
         Raw r = m.records[m.selected];
         SetU32(r, kFieldAt[p.at], p.bits);
         m.Set(m.selected, r);
     }},
    {"commit a faulty field", 4,
     [](WindowSoak& s, Pick&) {
         static const char* const kFaulty[] = {"", "abc", "1,5", "0x", "1.2.3", "1e99999", "--3"};
         QLineEdit* field = s.Field(static_cast<int>(s.Roll(8)));
         const qsizetype boxes = s.platform.errorBoxes.size();
         s.Commit(field, field, kFaulty[s.Roll(7)], true);
         Settle();
         EXPECT_EQ(s.platform.errorBoxes.size(), boxes + 1) << s.where;
         QTest::keyClick(field, Qt::Key_Escape);
         return true;
     },
     Nothing},
    {"change the type", 6,
     [](WindowSoak& s, Pick& p) {
         static const char* const kTyped[] = {"butt", "wint", "stxt", "Zq9!", "ab", "scrl", "rcta"};
         QComboBox* box = s.window->cbType;
         if (s.Roll(3) == 0) {
             box->setFocus(Qt::MouseFocusReason);
             box->setCurrentIndex(
                 static_cast<int>(s.Roll(static_cast<std::uint32_t>(box->count()))));
             p.text = box->currentText().left(4);
             QTest::keyClick(box, Qt::Key_Return);
         } else {
             s.Commit(box, box->lineEdit(), p.text = kTyped[s.Roll(7)], s.Roll(2));
         }
         return true;
     },
     [](Model& m, const Pick& p) {
         Raw r = m.records[m.selected];
         // An empty box, or one left as it showed, changes nothing.
         if (p.text.isEmpty() || p.text == ShownType(r)) return;
         SetType(r, p.text.toLatin1());
         m.Set(m.selected, r);
     }},
    {"duplicate", 6,
     [](WindowSoak& s, Pick&) {
         if (s.model.count() >= 30) return false;
         s.window->mmMainInsert->trigger();
         return true;
     },
     [](Model& m, const Pick&) {
         Records after = m.records;
         after.insert(after.begin() + static_cast<std::ptrdiff_t>(m.selected) + 1,
                      after[m.selected]);
         m.Change(after, m.selected, m.selected + 1);
         ++m.selected;
     }},
    {"delete", 6,
     [](WindowSoak& s, Pick& p) {
         s.platform.yesNoAnswers = {p.yes = s.Roll(4) != 0};
         const qsizetype refusals = s.platform.messageBoxes.size();
         s.window->mmMainDelete->trigger();
         // The last record stays, and nothing is asked then.
         EXPECT_EQ(s.platform.messageBoxes.size(), refusals + (s.model.count() == 1)) << s.where;
         return true;
     },
     [](Model& m, const Pick& p) {
         if (m.count() == 1 || !p.yes) return;
         Records after = m.records;
         after.erase(after.begin() + static_cast<std::ptrdiff_t>(m.selected));
         const std::size_t before = m.selected == 0 ? 0 : m.selected - 1;
         m.Change(after, m.selected, before);
         m.selected = before;
     }},
    {"copy", 4, [](WindowSoak& s, Pick&) { return s.window->mmMainCopy->trigger(), true; },
     [](Model& m, const Pick&) { m.copied = m.records[m.selected]; }},
    {"paste", 4, [](WindowSoak& s, Pick&) { return s.window->mmMainPaste->trigger(), true; },
     [](Model& m, const Pick&) {
         if (m.copied) m.Set(m.selected, *m.copied);
     }},
    {"drag in the preview", 8,
     [](WindowSoak& s, Pick& p) {
         // The user takes hold of the selected box by its lower right handle,
         // or of the record drawn on top where the pointer is; Alt drags freely.
         PreviewPanel& panel = *s.window->pnMap;
         const QSize size = panel.drawnSize();
         const PreviewMarks& marks = panel.marks();
         const QRect shown = marks.box ? marks.box->intersected(QRect({0, 0}, size)) : QRect();
         if (shown.isEmpty()) return false;
         const QPoint at =
             shown.topLeft() + QPoint(static_cast<int>(s.Roll(std::uint32_t(shown.width()))),
                                      static_cast<int>(s.Roll(std::uint32_t(shown.height()))));
         const auto handle = marks.handles ? preview::HandleAt(*marks.box, at) : std::nullopt;
         const auto hit = preview::RecordAt(s.window->menuItems(), s.model.selected, at,
                                            size.width(), size.height());
         if (handle ? handle != preview::Handle::BottomRight : !hit) return false;
         p.edge = handle.has_value();
         p.row = p.edge ? s.model.selected : *hit;
         const QPoint by(static_cast<int>(s.Roll(121)) - 60, static_cast<int>(s.Roll(121)) - 60);
         if (std::max(std::abs(by.x()), std::abs(by.y())) < PreviewPlacing::kDragStartPixels)
             return false;
         p.dx = std::round(by.x() * 800.0 / size.width());
         p.dy = std::round(by.y() * 600.0 / size.height());
         const QPoint from = at + panel.contentsRect().topLeft();
         QTest::mousePress(&panel, Qt::LeftButton, {}, from);
         QTest::mouseEvent(QTest::MouseMove, &panel, Qt::NoButton, Qt::AltModifier, from + by);
         QTest::mouseRelease(&panel, Qt::LeftButton, Qt::AltModifier, from + by);
         return true;
     },
     [](Model& m, const Pick& p) {
         Raw r = m.records[p.row];
         Place(r, 8, p.edge, p.dx);
         Place(r, 12, p.edge, p.dy);
         m.Set(p.row, r);
     }},
    {"nudge or resize by keys", 10,
     [](WindowSoak& s, Pick& p) {
         static const Qt::Key kKeys[] = {Qt::Key_Left, Qt::Key_Right, Qt::Key_Up, Qt::Key_Down};
         const std::uint32_t key = s.Roll(4);
         const double units = s.Roll(3) == 0 ? 10 : 1;
         p.edge = s.Roll(3) == 0;
         p.dx = key == 0 ? -units : key == 1 ? units : 0;
         p.dy = key == 2 ? -units : key == 3 ? units : 0;
         QTest::keyClick(s.window->pnMap, kKeys[key],
                         (p.edge ? Qt::ControlModifier : Qt::NoModifier) |
                             (units == 10 ? Qt::ShiftModifier : Qt::NoModifier));
         return true;
     },
     [](Model& m, const Pick& p) {
         Raw r = m.records[m.selected];
         Place(r, 8, p.edge, p.dx);
         Place(r, 12, p.edge, p.dy);
         m.Set(m.selected, r, p.edge ? 2 : 1);
     }},
    {"undo or redo a few steps", 13,
     [](WindowSoak& s, Pick& p) {
         p.yes = s.Roll(3) == 0;
         p.row = 1 + s.Roll(4);
         for (std::size_t i = 0; i < p.row; ++i)
             (p.yes ? s.window->mmMainRedo : s.window->mmMainUndo)->trigger();
         return true;
     },
     [](Model& m, const Pick& p) {
         for (std::size_t i = 0; i < p.row; ++i) m.Walk(p.yes);
     }},
    {"save", 3,
     [](WindowSoak& s, Pick&) {
         s.window->mmMainSave->trigger();
         // Every save writes exactly the records the rules give.
         EXPECT_EQ(ReadBytes(s.Path("kavel.def")), s.model.Bytes()) << s.where;
         return true;
     },
     [](Model& m, const Pick&) { m.clean = m.index; }},
    {"reload a file changed on disk", 1,
     [](WindowSoak& s, Pick& p) {
         p.bytes = s.RandomMenu();
         s.platform.yesNoAnswers = {p.yes = !s.model.modified() || s.Roll(2)};
         const qsizetype asked = s.platform.questions.size();
         WriteBytes(s.Path("kavel.def"), p.bytes);
         EXPECT_TRUE(Eventually([&] {
             return p.yes ? s.Bytes() == p.bytes : s.platform.questions.size() > asked;
         })) << s.where;
         return true;
     },
     [](Model& m, const Pick& p) {
         // Kept over the file: unsaved until saved, whatever is undone.
         p.yes ? m.Load(p.bytes) : void(m.clean = -1);
     }},
    {"find", 3,
     [](WindowSoak& s, Pick& p) {
         static const char* const kSought[] = {"opt", "GAME", "o",  "butt", "wint",
                                               "3",   "101",  "-1", "zz"};
         p.row = s.model.selected;
         s.window->mmMainFind->trigger();
         QTest::keyClicks(s.window->findBar->field(), p.text = kSought[s.Roll(9)]);
         const QLabel* count = s.window->findBar->countLabel();
         EXPECT_TRUE(
             Eventually([&] { return !count->text().isEmpty() && count->text() != "\u2026"; }));
         QTest::keyClick(s.window->findBar->field(), Qt::Key_Escape);
         return true;
     },
     [](Model& m, const Pick& p) {
         // Each letter typed selects the first match from where the bar was
         // opened on; a text that matches nothing leaves the selection.
         for (qsizetype typed = 1; typed <= p.text.size(); ++typed) {
             for (std::size_t k = 0, n = m.records.size(); k < n; ++k) {
                 if (m.Matches(m.records[(p.row + k) % n], p.text.left(typed))) {
                     m.selected = (p.row + k) % n;
                     break;
                 }
             }
         }
     }},
};

}  // namespace

// A few fixed seeds, each for a bounded time: about two minutes in all.
TEST_F(WindowSoak, Seed1) {
    Run(1, 25'000, 100'000);
}
TEST_F(WindowSoak, Seed2) {
    Run(2, 25'000, 100'000);
}
TEST_F(WindowSoak, Seed3) {
    Run(3, 25'000, 100'000);
}
TEST_F(WindowSoak, Seed4) {
    Run(4, 25'000, 100'000);
}

// scripts/soak.sh: seed after seed, for as long as asked.
TEST_F(WindowSoak, AsLongAsAsked) {
    const qint64 seconds = qEnvironmentVariableIntValue("KAVEL_SOAK_SECONDS");
    if (seconds <= 0) GTEST_SKIP() << "KAVEL_SOAK_SECONDS is not set";
    bool given = false;
    auto seed = static_cast<std::uint32_t>(qEnvironmentVariable("KAVEL_SOAK_SEED").toUInt(&given));
    if (!given) seed = static_cast<std::uint32_t>(QDateTime::currentMSecsSinceEpoch());
    const int steps = qEnvironmentVariableIntValue("KAVEL_SOAK_STEPS");
    std::printf("soak: %lld s, from seed %u\n", seconds, seed);
    QElapsedTimer clock;
    clock.start();
    for (; clock.elapsed() < seconds * 1000 && !HasFailure(); ++seed)
        Run(seed, seconds * 1000 - clock.elapsed(), steps > 0 ? steps : 5000);
}
