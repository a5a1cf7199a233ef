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
// KAVEL_SOAK_SEED on). A difference names the seed and the step, and the
// same seed replays the same steps.
#include <QAction>
#include <QElapsedTimer>
#include <QMouseEvent>
#include <QUndoStack>
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
float F(const Raw& r, int at) { return std::bit_cast<float>(U32(r, at)); }
void SetF(Raw& r, int at, float value) { SetU32(r, at, std::bit_cast<std::uint32_t>(value)); }

// A code is shown in reverse of its stored order, up to the first NUL.
QString ShownType(const Raw& r) {
    QString shown;
    for (int at = 7; at >= 4 && r[at] != '\0'; --at) shown += QLatin1Char(r[at]);
    return shown;
}

// The design's rules, as this test states them.
struct Model {
    struct Step {
        Records before, after;
        std::size_t undoSelect, redoSelect;
        int merge;  // 0, or the kind of key step that merges with the next
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
    QByteArray Bytes() const {
        QByteArray bytes;
        for (const Raw& r : records) bytes.append(r.data(), 36);
        return bytes;
    }
    void Load(const QByteArray& bytes) {
        records.assign(static_cast<std::size_t>(bytes.size() / 36), {});
        for (std::size_t i = 0; i < records.size(); ++i) std::memcpy(records[i].data(), bytes.data() + 36 * i, 36);
        steps.clear();
        index = clean = 0;
        loaded = bytes;
        selected = std::min(selected, records.size() - 1);
    }
    // A change is a step unless it stores the same bytes; key steps on one
    // record in a row merge, unless the first is where the file was saved,
    // and go when they come back to where they started.
    void Change(Records after, std::size_t undoSelect, std::size_t redoSelect, int merge = 0,
                std::size_t record = 0) {
        if (after == records) return;
        steps.resize(static_cast<std::size_t>(index));
        if (clean > index) clean = -1;
        Step* last = index > 0 ? &steps.back() : nullptr;
        if (merge != 0 && last && index != clean && last->merge == merge && last->record == record) {
            last->after = after;
            if (last->before == after) {
                steps.pop_back();
                --index;
            }
        } else {
            steps.push_back({records, after, undoSelect, redoSelect, merge, record});
            ++index;
        }
        records = std::move(after);
    }
    void Undo() {
        if (index == 0) return;
        const Step& step = steps[static_cast<std::size_t>(--index)];
        records = step.before;
        selected = step.undoSelect;
    }
    void Redo() {
        if (index == static_cast<int>(steps.size())) return;
        const Step& step = steps[static_cast<std::size_t>(index++)];
        records = step.after;
        selected = step.redoSelect;
    }
    bool Matches(const Raw& r, const QString& typed) const {
        const auto text = texts.find(static_cast<std::int32_t>(U32(r, 24)));
        if (text != texts.end() && text->second.toCaseFolded().contains(typed.toCaseFolded())) return true;
        if (ShownType(r) == typed) return true;
        bool number = false;
        const int value = typed.toInt(&number, 10);
        return number && (static_cast<int>(U32(r, 0)) == value || static_cast<int>(U32(r, 24)) == value);
    }
};

// A record's box on one axis, as placing by pointer or keys moves it: the
// whole box, or the edge that shows on the right or at the bottom, which
// never makes the box smaller than 1 unit (nor than it was, when smaller)
// and never turns it over; on a mirrored box that edge is its position.
void Place(Raw& r, int posAt, bool edge, double units) {
    if (units == 0.0) return;
    const float pos = F(r, posAt), scale = F(r, posAt + 8);
    if (!edge) return SetF(r, posAt, static_cast<float>(pos + units));
    const double size = std::abs(double{scale});
    units = std::max(units, std::min(size, 1.0) - size);
    if (units == 0.0) return;
    if (scale < 0) SetF(r, posAt, static_cast<float>(pos + units));
    SetF(r, posAt + 8, static_cast<float>(scale < 0 ? scale - units : scale + units));
}

// What an action chose, for the model to follow.
struct Pick {
    std::size_t row = 0, target = 0;
    int at = 0;
    std::uint32_t bits = 0;
    QString text;
    bool yes = false, valid = false, edge = false;
    double dx = 0, dy = 0;
    QByteArray bytes;
};

class WindowSoak : public WindowTest {
  protected:
    struct Action {
        const char* name;
        int weight;
        // Makes the change in the window; false when it does not apply now.
        bool (*window)(WindowSoak&, Pick&);
        void (*model)(Model&, const Pick&);
    };
    static const std::vector<Action> kActions;

    void Run(std::uint32_t seed, qint64 milliseconds, int maxSteps) {
        random.seed(seed);
        // The copied record outlives the document, in the window as in the rules.
        const std::optional<Raw> copied = model.copied;
        model = Model();
        model.copied = copied;
        model.texts = {{1, "Start game"}, {2, "Options"}, {3, "Quit"}, {4, "Sound Volume"}, {5, "Credits"}};
        WriteBytes(Path("textdb_en.def"), TextDb());
        Reopen();
        QElapsedTimer clock;
        clock.start();
        int total = 0;
        for (const Action& action : kActions) total += action.weight;
        for (step = 0; step < maxSteps && clock.elapsed() < milliseconds; ++step) {
            int pick = static_cast<int>(random() % static_cast<std::uint32_t>(total));
            const Action* action = &kActions[0];
            while (pick >= action->weight) pick -= (action++)->weight;
            where = QString("seed %1, step %2 (%3)").arg(seed).arg(step).arg(action->name);
            Pick choice;
            if (!action->window(*this, choice)) continue;
            action->model(model, choice);
            Check();
            if (HasFatalFailure()) return;
        }
        // The history leads back to what was loaded and forward to its end.
        while (model.index < static_cast<int>(model.steps.size())) model.Redo();
        const QByteArray last = model.Bytes();
        while (window->mmMainUndo->isEnabled()) window->mmMainUndo->trigger();
        EXPECT_EQ(Bytes(), model.loaded) << where.toStdString();
        while (window->mmMainRedo->isEnabled()) window->mmMainRedo->trigger();
        EXPECT_EQ(Bytes(), last) << where.toStdString();
        // The recovery file holds the unsaved records, and only while there are any.
        window->recoveryJournal().StartCopy();
        const QString copy = window->recoveryJournal().copyPath();
        ASSERT_TRUE(Eventually([&] {
            return !window->recoveryJournal().writing() &&
                   (model.modified() ? EncodeMenuItems(ReadRecoveryFile(copy).copy.records) == last
                                     : !QFile::exists(copy));
        })) << where.toStdString();
        std::printf("soak: seed %u, %d steps\n", seed, step);
    }

    QByteArray Bytes() const { return EncodeMenuItems(window->menuItems()); }

    void Check() {
        const std::string at = where.toStdString();
        ASSERT_EQ(Bytes(), model.Bytes()) << at;
        ASSERT_EQ(window->lbMIcount2->text(), QString::number(model.records.size())) << at;
        ASSERT_EQ(window->selectedIndex(), static_cast<int>(model.selected)) << at;
        const QAbstractItemModel& list = *window->lbMain->model();
        ASSERT_EQ(list.rowCount(), static_cast<int>(model.records.size())) << at;
        for (const std::size_t row : {std::size_t{0}, model.selected, model.records.size() - 1}) {
            ASSERT_EQ(list.index(static_cast<int>(row), 0).data().toString(),
                      QString::number(row) + "   " + ShownType(model.records[row])) << at;
        }
        ASSERT_EQ(window->document().isModified(), model.modified()) << at;
        ASSERT_EQ(window->windowTitle().startsWith("Kavel.def Editor v1.00*"), model.modified()) << at;
        ASSERT_EQ(window->mmMainUndo->isEnabled(), model.index > 0) << at;
        ASSERT_EQ(window->mmMainRedo->isEnabled(), model.index < static_cast<int>(model.steps.size())) << at;
    }

    QByteArray TextDb() const {
        QByteArray bytes, texts;
        AppendU32(bytes, static_cast<std::uint32_t>(model.texts.size()));
        AppendU32(bytes, 0);
        for (const auto& [id, text] : model.texts) {
            AppendU32(bytes, static_cast<std::uint32_t>(id));
            AppendU32(bytes, 8 + 8 * static_cast<std::uint32_t>(model.texts.size()) +
                                 static_cast<std::uint32_t>(texts.size()));
            texts.append(text.toLatin1()).append('\0');
        }
        return bytes + texts;
    }

    // A menu of windows and their elements, with the odd value.
    QByteArray RandomMenu() {
        static const char* const kCodes[] = {"wint", "butt", "stxt", "edit", "wind", "list", "rcta", "frac"};
        QByteArray bytes;
        const int count = 3 + static_cast<int>(random() % 10);
        for (int i = 0; i < count; ++i) {
            Raw r{};
            const QByteArray code = kCodes[i == 0 ? 0 : random() % 8];
            for (int c = 0; c < 4; ++c) r[static_cast<std::size_t>(7 - c)] = code[c];
            SetU32(r, 0, random() % 4 == 0 ? 100 + random() % 3 : random() % 9);
            const bool isWindow = code.startsWith("win") || code == "frac";
            SetF(r, 8, static_cast<float>(random() % (isWindow ? 300 : 500)));
            SetF(r, 12, static_cast<float>(random() % (isWindow ? 200 : 400)) + 0.5f);
            SetF(r, 16, static_cast<float>(isWindow ? 200 + random() % 400 : 1 + random() % 200));
            SetF(r, 20, static_cast<float>(isWindow ? 150 + random() % 300 : 1 + random() % 80));
            SetU32(r, 24, random() % 7);
            SetU32(r, 28, static_cast<std::uint32_t>(random()));
            SetU32(r, 32, static_cast<std::uint32_t>(random()));
            bytes.append(r.data(), 36);
        }
        return bytes;
    }

    void Reopen() {
        const QByteArray bytes = RandomMenu();
        WriteBytes(Path("kavel.def"), bytes);
        platform.saveChangesAnswers = {SaveAnswer::Discard};
        OpenFiles(Path("kavel.def"), Path("textdb_en.def"));
        model.selected = 0;
        model.Load(bytes);
    }

    std::size_t AnyRow() { return random() % model.records.size(); }
    QPoint PanelPoint(QPoint pixel) { return pixel + window->pnMap->contentsRect().topLeft(); }

    std::mt19937 random;
    Model model;
    int step = 0;
    QString where;
};

constexpr int kFieldAt[] = {0, 8, 12, 16, 20, 24, 28, 32};

QLineEdit* Field(TmainWin& w, int field) {
    QLineEdit* fields[] = {w.edID, w.edPosX, w.edPosY, w.edScaleX, w.edScaleY, w.edTextdb, w.edFont, w.edColor};
    return fields[field];
}

// Leaves a field by Tab or takes it with Enter, as users do.
void Commit(WindowSoak& s, QLineEdit* field, const QString& text, bool enter) {
    field->setFocus(Qt::MouseFocusReason);
    field->selectAll();
    QTest::keyClick(field, Qt::Key_Backspace);
    QTest::keyClicks(field, text);
    QTest::keyClick(field, enter ? Qt::Key_Return : Qt::Key_Tab);
    (void)s;
}

Records With(const Model& m, std::size_t row, const Raw& record) {
    Records after = m.records;
    after[row] = record;
    return after;
}

const std::vector<WindowSoak::Action> WindowSoak::kActions = {
    {"select a row", 10,
     [](WindowSoak& s, Pick& p) {
         p.row = s.AnyRow();
         s.ClickRow(static_cast<int>(p.row));
         return true;
     },
     [](Model& m, const Pick& p) { m.selected = p.row; }},
    {"commit a field", 14,
     [](WindowSoak& s, Pick& p) {
         p.at = static_cast<int>(s.random() % 8);
         const bool isFloat = p.at >= 1 && p.at <= 4;
         if (isFloat) {
             const double value = static_cast<int>(s.random() % 1601) - 800 + (s.random() % 4) / 4.0;
             p.bits = std::bit_cast<std::uint32_t>(static_cast<float>(value));
             p.text = QString::number(value, 'g', 9);
         } else {
             p.bits = static_cast<std::uint32_t>(s.random());
             p.text = s.random() % 2 ? QString::number(static_cast<std::int32_t>(p.bits))
                                     : "0x" + QString::number(p.bits, 16);
         }
         Commit(s, Field(*s.window, p.at), p.text, s.random() % 2);
         p.row = s.model.selected;
         return true;
     },
     [](Model& m, const Pick& p) {
         Raw r = m.records[p.row];
         SetU32(r, kFieldAt[p.at], p.bits);
         m.Change(With(m, p.row, r), p.row, p.row);
     }},
    {"commit a faulty field", 4,
     [](WindowSoak& s, Pick& p) {
         static const char* const kFaulty[] = {"", "abc", "1,5", "12 ", "0x", "1.2.3", "1e99999", "--3"};
         const int field = static_cast<int>(s.random() % 8);
         const QString text = kFaulty[s.random() % 8];
         const qsizetype boxes = s.platform.errorBoxes.size();
         Commit(s, Field(*s.window, field), text, true);
         Settle();
         // "12 " is a float with a blank after it; the rest fail everywhere.
         const bool floatField = field >= 1 && field <= 4;
         EXPECT_EQ(s.platform.errorBoxes.size(), boxes + (floatField && text == "12 " ? 0 : 1)) << s.where.toStdString();
         if (floatField && text == "12 ") {
             p.valid = true;
             p.at = field;
             p.bits = std::bit_cast<std::uint32_t>(12.0f);
             p.row = s.model.selected;
         }
         QTest::keyClick(Field(*s.window, field), Qt::Key_Escape);
         return true;
     },
     [](Model& m, const Pick& p) {
         if (!p.valid) return;
         Raw r = m.records[p.row];
         SetU32(r, kFieldAt[p.at], p.bits);
         m.Change(With(m, p.row, r), p.row, p.row);
     }},
    {"change the type", 6,
     [](WindowSoak& s, Pick& p) {
         static const char* const kTyped[] = {"butt", "wint", "stxt", "edit", "Zq9!", "ab", "scrl", "rcta"};
         QComboBox* box = s.window->cbType;
         box->setFocus(Qt::MouseFocusReason);
         if (s.random() % 3 == 0) {
             box->setCurrentIndex(static_cast<int>(s.random() % static_cast<std::uint32_t>(box->count())));
         } else {
             box->lineEdit()->selectAll();
             QTest::keyClick(box, Qt::Key_Backspace);
             QTest::keyClicks(box, kTyped[s.random() % 8]);
         }
         p.text = box->currentText().left(4);
         QTest::keyClick(box, Qt::Key_Return);
         p.row = s.model.selected;
         return true;
     },
     [](Model& m, const Pick& p) {
         Raw r = m.records[p.row];
         if (p.text.isEmpty() || p.text == ShownType(r)) return;
         for (int c = 0; c < 4; ++c) r[static_cast<std::size_t>(7 - c)] = c < p.text.size() ? p.text[c].toLatin1() : '\0';
         m.Change(With(m, p.row, r), p.row, p.row);
     }},
    {"duplicate", 6,
     [](WindowSoak& s, Pick& p) {
         if (s.model.records.size() >= 30) return false;
         p.row = s.model.selected;
         s.window->mmMainInsert->trigger();
         return true;
     },
     [](Model& m, const Pick& p) {
         Records after = m.records;
         after.insert(after.begin() + static_cast<std::ptrdiff_t>(p.row) + 1, after[p.row]);
         m.Change(after, p.row, p.row + 1);
         m.selected = p.row + 1;
     }},
    {"delete", 6,
     [](WindowSoak& s, Pick& p) {
         p.row = s.model.selected;
         p.yes = s.random() % 4 != 0;
         s.platform.yesNoAnswers = {p.yes};
         const qsizetype refusals = s.platform.messageBoxes.size();
         s.window->mmMainDelete->trigger();
         // The last record is never deleted, and nothing is asked then.
         EXPECT_EQ(s.platform.messageBoxes.size(), refusals + (s.model.records.size() == 1 ? 1 : 0));
         return true;
     },
     [](Model& m, const Pick& p) {
         if (m.records.size() == 1 || !p.yes) return;
         Records after = m.records;
         after.erase(after.begin() + static_cast<std::ptrdiff_t>(p.row));
         const std::size_t before = p.row == 0 ? 0 : p.row - 1;
         m.Change(after, p.row, before);
         m.selected = before;
     }},
    {"copy", 4,
     [](WindowSoak& s, Pick& p) {
         p.row = s.model.selected;
         s.window->mmMainCopy->trigger();
         return true;
     },
     [](Model& m, const Pick& p) { m.copied = m.records[p.row]; }},
    {"paste", 4,
     [](WindowSoak& s, Pick& p) {
         p.row = s.model.selected;
         s.window->mmMainPaste->trigger();
         return true;
     },
     [](Model& m, const Pick& p) {
         if (m.copied) m.Change(With(m, p.row, *m.copied), p.row, p.row);
     }},
    {"drag in the preview", 8,
     [](WindowSoak& s, Pick& p) {
         PreviewPanel& panel = *s.window->pnMap;
         const QSize size = panel.drawnSize();
         const std::optional<QRect> box = panel.marks().box;
         const QRect shown = box ? box->intersected(QRect(QPoint(0, 0), size)) : QRect();
         if (shown.isEmpty()) return false;
         const QPoint at(shown.x() + static_cast<int>(s.random() % static_cast<std::uint32_t>(shown.width())),
                         shown.y() + static_cast<int>(s.random() % static_cast<std::uint32_t>(shown.height())));
         // What the user took hold of: the selected record by its lower
         // right handle, or the record drawn on top there.
         const std::optional<preview::Handle> handle =
             panel.marks().handles ? preview::HandleAt(*box, at) : std::nullopt;
         p.row = s.model.selected;
         std::vector<MenuItemRecord> records = s.window->menuItems();
         const std::optional<std::size_t> hit = preview::RecordAt(records, p.row, at, size.width(), size.height());
         if (handle ? handle != preview::Handle::BottomRight : !hit) return false;
         p.edge = handle.has_value();
         p.target = p.edge ? p.row : *hit;
         const QPoint by(static_cast<int>(s.random() % 121) - 60, static_cast<int>(s.random() % 121) - 60);
         if (std::max(std::abs(by.x()), std::abs(by.y())) < PreviewPlacing::kDragStartPixels) return false;
         p.dx = std::round(by.x() * 800.0 / size.width());
         p.dy = std::round(by.y() * 600.0 / size.height());
         QTest::mousePress(&panel, Qt::LeftButton, {}, s.PanelPoint(at));
         QTest::mouseEvent(QTest::MouseMove, &panel, Qt::NoButton, Qt::AltModifier, s.PanelPoint(at + by));
         QTest::mouseRelease(&panel, Qt::LeftButton, Qt::AltModifier, s.PanelPoint(at + by));
         return true;
     },
     [](Model& m, const Pick& p) {
         Raw r = m.records[p.target];
         Place(r, 8, p.edge, p.dx);
         Place(r, 12, p.edge, p.dy);
         m.Change(With(m, p.target, r), p.row, p.row);
     }},
    {"nudge or resize by keys", 10,
     [](WindowSoak& s, Pick& p) {
         static const Qt::Key kKeys[] = {Qt::Key_Left, Qt::Key_Right, Qt::Key_Up, Qt::Key_Down};
         const int key = static_cast<int>(s.random() % 4);
         p.edge = s.random() % 3 == 0;
         const double units = s.random() % 3 == 0 ? 10 : 1;
         Qt::KeyboardModifiers keys = p.edge ? Qt::ControlModifier : Qt::NoModifier;
         if (units == 10) keys |= Qt::ShiftModifier;
         p.dx = key == 0 ? -units : key == 1 ? units : 0;
         p.dy = key == 2 ? -units : key == 3 ? units : 0;
         p.row = s.model.selected;
         QTest::keyClick(s.window->pnMap, kKeys[key], keys);
         return true;
     },
     [](Model& m, const Pick& p) {
         Raw r = m.records[p.row];
         Place(r, 8, p.edge, p.dx);
         Place(r, 12, p.edge, p.dy);
         m.Change(With(m, p.row, r), p.row, p.row, p.edge ? 2 : 1, p.row);
     }},
    {"undo a few steps", 8,
     [](WindowSoak& s, Pick& p) {
         p.row = 1 + s.random() % 4;
         for (std::size_t i = 0; i < p.row; ++i) s.window->mmMainUndo->trigger();
         return true;
     },
     [](Model& m, const Pick& p) {
         for (std::size_t i = 0; i < p.row; ++i) m.Undo();
     }},
    {"redo a few steps", 5,
     [](WindowSoak& s, Pick& p) {
         p.row = 1 + s.random() % 4;
         for (std::size_t i = 0; i < p.row; ++i) s.window->mmMainRedo->trigger();
         return true;
     },
     [](Model& m, const Pick& p) {
         for (std::size_t i = 0; i < p.row; ++i) m.Redo();
     }},
    {"save", 3,
     [](WindowSoak& s, Pick&) {
         s.window->mmMainSave->trigger();
         // Every save writes exactly the records the rules give.
         EXPECT_EQ(ReadBytes(s.Path("kavel.def")), s.model.Bytes()) << s.where.toStdString();
         return true;
     },
     [](Model& m, const Pick&) { m.clean = m.index; }},
    {"reload a file changed on disk", 1,
     [](WindowSoak& s, Pick& p) {
         p.bytes = s.RandomMenu();
         p.yes = !s.model.modified() || s.random() % 2;
         s.platform.yesNoAnswers = {p.yes};
         const qsizetype asked = s.platform.questions.size();
         WriteBytes(s.Path("kavel.def"), p.bytes);
         EXPECT_TRUE(Eventually([&] {
             return p.yes ? s.Bytes() == p.bytes : s.platform.questions.size() > asked;
         })) << s.where.toStdString();
         return true;
     },
     [](Model& m, const Pick& p) {
         if (p.yes) {
             m.Load(p.bytes);
         } else {
             m.clean = -1;  // kept over the file: unsaved until saved
         }
     }},
    {"find", 3,
     [](WindowSoak& s, Pick& p) {
         static const char* const kSought[] = {"opt", "GAME", "o", "butt", "wint", "3", "101", "-1", "zz"};
         p.row = s.model.selected;
         p.text = kSought[s.random() % 9];
         s.window->mmMainFind->trigger();
         QTest::keyClicks(s.window->findBar->field(), p.text);
         const QLabel* count = s.window->findBar->countLabel();
         EXPECT_TRUE(Eventually([&] { return !count->text().isEmpty() && count->text() != "\u2026"; }));
         QTest::keyClick(s.window->findBar->field(), Qt::Key_Escape);
         return true;
     },
     [](Model& m, const Pick& p) {
         // Each letter typed selects the first match from where the bar was
         // opened; a text that matches nothing leaves the selection.
         for (qsizetype typed = 1; typed <= p.text.size(); ++typed) {
             for (std::size_t k = 0; k < m.records.size(); ++k) {
                 const std::size_t row = (p.row + k) % m.records.size();
                 if (m.Matches(m.records[row], p.text.left(typed))) {
                     m.selected = row;
                     break;
                 }
             }
         }
     }},
};

}  // namespace

// A few fixed seeds, each for a bounded time: about two minutes in all.
TEST_F(WindowSoak, Seed1) { Run(1, 25'000, 100'000); }
TEST_F(WindowSoak, Seed2) { Run(2, 25'000, 100'000); }
TEST_F(WindowSoak, Seed3) { Run(3, 25'000, 100'000); }
TEST_F(WindowSoak, Seed4) { Run(4, 25'000, 100'000); }

// scripts/soak.sh: seed after seed, for as long as asked.
TEST_F(WindowSoak, AsLongAsAsked) {
    const qint64 seconds = qEnvironmentVariableIntValue("KAVEL_SOAK_SECONDS");
    if (seconds <= 0) GTEST_SKIP() << "KAVEL_SOAK_SECONDS is not set";
    bool given = false;
    auto seed = static_cast<std::uint32_t>(qEnvironmentVariable("KAVEL_SOAK_SEED").toUInt(&given));
    if (!given) seed = static_cast<std::uint32_t>(QDateTime::currentMSecsSinceEpoch());
    // A difference found at the end of a run replays with its number of steps.
    const int steps = qEnvironmentVariableIntValue("KAVEL_SOAK_STEPS");
    QElapsedTimer clock;
    clock.start();
    for (; clock.elapsed() < seconds * 1000 && !HasFailure(); ++seed)
        Run(seed, seconds * 1000 - clock.elapsed(), steps > 0 ? steps : 5000);
}
