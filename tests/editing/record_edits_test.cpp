#include "editing/record_edits.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <cmath>
#include <functional>
#include <random>

#include "document/menu_file.h"
#include "editing/record_list_model.h"
#include "editing/record_selection.h"
#include "support/records.h"

namespace {

// A document of `bytes` as read from a file of them.
void Load(Document& document, const QByteArray& bytes) {
    LoadRecords(document, DecodeMenuItems(bytes).items);
}

QByteArray BytesOf(const Document& document) {
    return EncodeMenuItems(document.records());
}

// Random bytes, cut short so that the last record is filled with zero bytes,
// with a NaN carrying a payload in the first record's posX.
QByteArray RandomFile(std::mt19937& random, int records) {
    QByteArray bytes;
    for (int i = 0; i < records * kMenuItemRecordSize - 5; ++i)
        bytes.append(static_cast<char>(random() & 0xFF));
    bytes.replace(8, 4, QByteArray("\x01\x00\xC0\x7F", 4));
    return bytes;
}

constexpr RecordField kFields[] = {RecordField::Id,     RecordField::PosX,   RecordField::PosY,
                                   RecordField::ScaleX, RecordField::ScaleY, RecordField::TextId,
                                   RecordField::Font,   RecordField::Color};

// One record half of the time (the steps on several records take the
// one-record steps then), else one to three random runs of rows; the last
// one current.
SelectedRows RandomSelection(std::mt19937& random, std::size_t count) {
    SelectedRows selected;
    for (unsigned runs = random() % 2 ? 0 : 1 + random() % 3; runs-- > 0;) {
        const std::size_t begin = random() % count;
        selected.rows.Add(begin, std::min(count, begin + 1 + random() % 3));
    }
    if (selected.rows.empty()) selected.rows = RowRanges::Single(random() % count);
    selected.current = selected.rows.last();
    return selected;
}

// One random change of the selected records through the edits, or a drag of
// the current one, made alike on a plain copy of the records. False when the
// change was refused or changed nothing.
bool RandomEdit(std::mt19937& random, Document& document, std::vector<MenuItemRecord>& plain) {
    const SelectedRows selected = RandomSelection(random, plain.size());
    const RowRanges& rows = selected.rows;
    const std::size_t index = selected.current;
    switch (random() % 8) {
        case 0: {
            if (!editing::DeleteSelected(document, selected, "delete")) return false;
            RemoveRows(plain, rows);
            return true;
        }
        case 1: {
            if (!editing::DuplicateSelected(document, selected, "duplicate")) return false;
            std::vector<MenuItemRecord> copies;
            rows.ForEach([&](std::size_t row) { copies.push_back(plain[row]); });
            plain.insert(plain.begin() + static_cast<std::ptrdiff_t>(rows.last() + 1),
                         copies.begin(), copies.end());
            return true;
        }
        case 2: {
            std::vector<MenuItemRecord> pasted(1 + random() % 3, plain[random() % plain.size()]);
            const std::size_t at = random() % (plain.size() + 1);
            if (!editing::InsertRecords(document, at, pasted, selected, "insert")) return false;
            plain.insert(plain.begin() + static_cast<std::ptrdiff_t>(at), pasted.begin(),
                         pasted.end());
            return true;
        }
        case 3: {
            const MenuItemRecord pasted = plain[random() % plain.size()];
            if (!editing::PasteSelected(document, selected, pasted, "paste")) return false;
            rows.ForEach([&](std::size_t row) { plain[row] = pasted; });
            return true;
        }
        case 4: {
            const RecordField field = kFields[random() % std::size(kFields)];
            // Often the bits the current record holds, which it must not take as a change.
            const std::uint32_t bits = random() % 4 == 0 ? FieldBits(plain[index], field)
                                                         : static_cast<std::uint32_t>(random());
            if (!editing::SetFieldSelected(document, selected, field, bits, "field")) return false;
            rows.ForEach([&](std::size_t row) { SetFieldBits(plain[row], field, bits); });
            return true;
        }
        case 5: {
            SetTypeCommand::StoredType stored;
            for (char& c : stored)
                c = static_cast<char>(random() % 3 == 0 ? 0 : 'a' + random() % 26);
            if (!editing::SetTypeSelected(document, selected, stored, "type")) return false;
            rows.ForEach([&](std::size_t row) { std::copy_n(stored.begin(), 4, plain[row].type); });
            return true;
        }
        case 6: {
            // Moved by whole units, as by keys or a drag; key steps that merge
            // are checked on their own below.
            const RowRanges moved = arrange::MovedRows(plain, rows);
            const double dx = static_cast<double>(random() % 21) - 10.0;
            if (!editing::MoveSelected(document, selected, moved, dx, 1.0, "move", false))
                return false;
            moved.ForEach([&](std::size_t row) {
                plain[row].posX = static_cast<float>(plain[row].posX + dx);
                plain[row].posY = static_cast<float>(plain[row].posY + 1.0);
            });
            return true;
        }
        default: {
            // A drag of one record: whole units added, or a size as well.
            RecordGeometry geometry = GeometryOf(plain[index]);
            geometry.posX += static_cast<float>(random() % 41) - 20.0f;
            const bool resize = random() % 2 == 0;
            if (resize) geometry.scaleY = static_cast<float>(random() % 100);
            const editing::Placing drag{index, false};
            if (!(resize ? editing::Resize(document, index, geometry, "resize", drag)
                         : editing::Move(document, index, geometry.posX, geometry.posY, "move",
                                         drag))) {
                return false;
            }
            SetGeometry(plain[index], geometry);
            return true;
        }
    }
}

}  // namespace

// The record each kind of step selects when undone and redone; the random
// runs below check the bytes of every kind at length.
TEST(RecordEdits, EachStepUndoesAndRedoesSelectingItsRecord) {
    std::mt19937 random(7);
    Document document;
    Load(document, RandomFile(random, 4));
    const SetTypeCommand::StoredType wint{'t', 'n', 'i', 'w'};
    const struct {
        const char* what;
        std::function<bool()> change;
        std::size_t selectDone, selectUndone;
    } steps[] = {
        {"field", [&] { return editing::SetField(document, 3, RecordField::Font, 7, "f"); }, 3, 3},
        {"type", [&] { return editing::SetType(document, 0, wint, "t"); }, 0, 0},
        {"paste", [&] { return editing::Paste(document, 2, document.record(3), "p"); }, 2, 2},
        {"duplicate", [&] { return editing::Duplicate(document, 3, "d"); }, 4, 3},
        {"delete", [&] { return editing::Delete(document, 2, "d"); }, 1, 2},
        {"delete first", [&] { return editing::Delete(document, 0, "d"); }, 0, 0}};
    for (const auto& step : steps) {
        SCOPED_TRACE(step.what);
        ASSERT_TRUE(step.change());
        EXPECT_EQ(editing::Undo(document)->select, step.selectUndone);
        EXPECT_EQ(editing::Redo(document)->select, step.selectDone);
    }
}


TEST(RecordEdits, KeyPlacingsOfOneRecordInARowMergeAndDragsStandAlone) {
    Document document;
    Load(document, QByteArray(3 * kMenuItemRecordSize, '\0'));
    QUndoStack& history = document.history();
    const editing::Placing key{1, true};
    const auto moveBy = [&](std::size_t index, float dx, const editing::Placing& placing) {
        return editing::Move(document, index, document.record(index).posX + dx,
                             document.record(index).posY, "move", placing);
    };
    ASSERT_TRUE(moveBy(1, 1, key));
    ASSERT_TRUE(moveBy(1, 10, key));
    EXPECT_EQ(history.count(), 1);
    EXPECT_EQ(document.record(1).posX, 11.0f);
    // Another record, another verb or a drag starts a step of its own.
    ASSERT_TRUE(moveBy(2, 1, {2, true}));
    ASSERT_TRUE(editing::Resize(document, 2, {1, 0, 5, 0}, "resize", {2, true}));
    ASSERT_TRUE(editing::Resize(document, 2, {1, 0, 6, 0}, "resize", {2, true}));
    ASSERT_TRUE(moveBy(2, 1, {0, false}));
    ASSERT_TRUE(moveBy(2, 1, {0, true}));
    EXPECT_EQ(history.count(), 5);
    // A drag's step shows again the record shown when it was made.
    editing::Undo(document);
    EXPECT_EQ(editing::Undo(document)->select, 0u);
    EXPECT_EQ(editing::Undo(document)->select, 2u);
    EXPECT_EQ(document.record(2).scaleX, 0.0f);
    editing::Redo(document);
    // Keys that go there and back leave no step.
    ASSERT_TRUE(moveBy(1, 5, key));
    ASSERT_TRUE(moveBy(1, -5, key));
    EXPECT_EQ(history.count(), 3);
    EXPECT_EQ(document.record(1).posX, 11.0f);
}

// Changes to the same bytes add no step, nor do placings of a record whose
// place or size is not finite or to values that are not; the last record
// stays.
TEST(RecordEdits, RefusedChangesAndChangesToTheSameBytesAddNoStep) {
    Document document;
    QByteArray bytes(2 * kMenuItemRecordSize, '\0');
    bytes.replace(kMenuItemRecordSize + 16, 4, QByteArray("\0\0\x80\x7F", 4));  // scaleX +inf
    Load(document, bytes);
    const MenuItemRecord same = document.record(0);
    EXPECT_FALSE(editing::SetField(document, 0, RecordField::PosX, 0, "x"));
    EXPECT_FALSE(editing::SetType(document, 0, {0, 0, 0, 0}, "type"));
    EXPECT_FALSE(editing::Paste(document, 0, same, "paste"));
    const editing::Placing drag{0, false};
    EXPECT_FALSE(editing::Move(document, 1, 5, 5, "move", drag));
    EXPECT_FALSE(editing::Resize(document, 1, {0, 0, 5, 5}, "resize", drag));
    EXPECT_FALSE(editing::Move(document, 0, std::nanf(""), 0, "move", drag));
    EXPECT_FALSE(editing::Resize(document, 0, {0, 0, -INFINITY, 1}, "resize", drag));
    EXPECT_FALSE(editing::Move(document, 0, 0, 0, "move", drag));
    EXPECT_EQ(document.history().count(), 0);
    EXPECT_EQ(BytesOf(document), bytes);
    ASSERT_TRUE(editing::Delete(document, 1, "delete"));
    EXPECT_FALSE(editing::Delete(document, 0, "delete"));
    // -0 is another pattern than 0: a change.
    EXPECT_TRUE(editing::SetField(document, 0, RecordField::PosX, 0x80000000u, "x"));
    EXPECT_EQ(document.history().count(), 2);
    EXPECT_EQ(document.history().undoText(), "x");
}

// Long random runs of edits, undos and redos, compared after every step with
// a plain array that keeps a copy of each of its states; the record list's
// model follows all the while.
TEST(RecordEdits, RandomRunsMatchAPlainArrayAndTheListFollows) {
    for (unsigned seed = 1; seed <= 20; ++seed) {
        SCOPED_TRACE(seed);
        std::mt19937 random(seed);
        Document document;
        RecordListModel model(document);
        int announcedRows = 0;
        QObject::connect(&model, &QAbstractItemModel::modelReset,
                         [&] { announcedRows = model.rowCount(); });
        QObject::connect(&model, &QAbstractItemModel::rowsInserted,
                         [&](const QModelIndex&, int first, int last) {
                             announcedRows += 1 + last - first;
                         });
        QObject::connect(&model, &QAbstractItemModel::rowsRemoved,
                         [&](const QModelIndex&, int first, int last) {
                             announcedRows -= 1 + last - first;
                         });
        // Scattered runs change the layout; the rows are counted anew.
        QObject::connect(&model, &QAbstractItemModel::layoutChanged,
                         [&] { announcedRows = model.rowCount(); });
        // A selection follows the records throughout, and stays whole.
        RecordSelection selection(document);
        Load(document, RandomFile(random, 1 + static_cast<int>(random() % 6)));
        std::vector<std::vector<MenuItemRecord>> states{document.records()};
        std::size_t at = 0;  // the state the document is in
        for (int i = 0; i < 300; ++i) {
            const unsigned action = random() % 10;
            if (action < 2) {
                const auto effect = editing::Undo(document);
                ASSERT_EQ(effect.has_value(), at > 0);
                if (effect) --at;
            } else if (action < 3) {
                const auto effect = editing::Redo(document);
                ASSERT_EQ(effect.has_value(), at + 1 < states.size());
                if (effect) ++at;
            } else {
                std::vector<MenuItemRecord> plain = states[at];
                if (!RandomEdit(random, document, plain)) continue;
                states.resize(at + 1);
                states.push_back(plain);
                ++at;
            }
            ASSERT_EQ(BytesOf(document), EncodeMenuItems(states[at])) << "step " << i;
            ASSERT_EQ(model.rowCount(), static_cast<int>(document.count()));
            ASSERT_EQ(announcedRows, model.rowCount());
            const auto row = static_cast<std::size_t>(random() % document.count());
            ASSERT_EQ(model.index(static_cast<int>(row)).data().toString(),
                      RecordListModel::Label(row, document.record(row)));
            ASSERT_EQ(document.isModified(), at != 0);
            ASSERT_FALSE(selection.empty());
            ASSERT_TRUE(selection.Contains(selection.current()));
            ASSERT_LT(selection.rows().last(), document.count());
            if (random() % 4 == 0) selection.Toggle(random() % document.count());
        }
    }
}

TEST(RecordEdits, TheSavedStateIsTheUnmodifiedOne) {
    QTemporaryDir folder;
    const QString path = folder.filePath("kavel.def");
    Document document;
    std::vector<bool> modified;
    QObject::connect(&document, &Document::modifiedChanged,
                     [&modified](bool now) { modified.push_back(now); });
    Load(document, QByteArray(3 * kMenuItemRecordSize, '\0'));
    editing::SetField(document, 1, RecordField::Id, 5, "id");
    editing::SetField(document, 1, RecordField::Id, 6, "id");
    ASSERT_TRUE(document.SaveTo(path).ok());
    EXPECT_FALSE(document.isModified());
    EXPECT_EQ(document.history().count(), 2);  // saving keeps the history
    editing::Undo(document);
    EXPECT_TRUE(document.isModified());
    editing::Redo(document);
    EXPECT_FALSE(document.isModified());
    EXPECT_EQ(modified, (std::vector<bool>{true, false, true, false}));

    // The only copy left (its file removed): modified until saved.
    document.SetOnlyCopy(true);
    EXPECT_TRUE(document.isModified());
    ASSERT_TRUE(document.SaveTo(path).ok());
    EXPECT_EQ(modified, (std::vector<bool>{true, false, true, false, true, false}));

    // Kept over a file changed on disk: modified, however far it is undone.
    document.MarkModified();
    editing::Undo(document);
    editing::Redo(document);
    EXPECT_TRUE(document.isModified());

    // A new load starts a new, empty history, as a copy of its file.
    document.SetOnlyCopy(true);
    Load(document, QByteArray(kMenuItemRecordSize, '\0'));
    EXPECT_FALSE(document.isModified());
    EXPECT_FALSE(editing::Undo(document));
}

TEST(RecordListModel, LabelsAreIndexThreeBlanksAndTheShownCode) {
    Document document;
    RecordListModel model(document);
    QByteArray bytes(13 * kMenuItemRecordSize, '\0');
    bytes.replace(12 * kMenuItemRecordSize + 4, 4, "ttub");
    Load(document, bytes);
    EXPECT_EQ(model.rowCount(), 13);
    EXPECT_EQ(model.index(12).data().toString(), "12   butt");
    EXPECT_EQ(model.index(0).data().toString(), "0   ");
    document.Close();
    EXPECT_EQ(model.rowCount(), 0);
}
