// The commands on several records: which records each selects done and
// undone, what each refuses, and how key moves merge. What they do to the
// bytes, over long random runs, is checked with the other edits in
// record_edits_test.cpp.
#include <gtest/gtest.h>

#include <QSignalSpy>

#include "editing/record_edits.h"
#include "editing/record_list_model.h"
#include "support/records.h"

namespace {

class SeveralRecords : public ::testing::Test {
  protected:
    // Ten buttons with ids 0..9 at x = 10 * id.
    void SetUp() override {
        std::vector<MenuItemRecord> records;
        for (int i = 0; i < 10; ++i)
            records.push_back(Rec("butt", 10.0f * i, 5, 20, 10, i, 100 + i));
        LoadRecords(document, records);
    }
    Document document;
    QUndoStack& history = document.history();
};

const SelectedRows kScattered{RunsOf({2, 3, 6}), 6};

}  // namespace

TEST_F(SeveralRecords, DeleteDuplicateAndInsertSelectTheirRecordsAndRefuseWhatCannotBe) {
    ASSERT_TRUE(editing::DeleteSelected(document, kScattered, "Delete items"));
    EXPECT_EQ(history.undoText(), "Delete items");
    // Done: the record before the first removed one. Undone: as selected.
    EXPECT_EQ(editing::LastDone(document)->select, 1u);
    const auto undone = editing::Undo(document);
    EXPECT_EQ(undone->select, 6u);
    EXPECT_EQ(undone->selected, kScattered.rows);
    EXPECT_TRUE(undone->countChanged);

    // The copies follow the last selected record; the copy of the current
    // one is current.
    ASSERT_TRUE(editing::DuplicateSelected(document, kScattered, "Duplicate items"));
    const auto done = editing::LastDone(document);
    EXPECT_EQ(done->selected, RowRanges::Span(7, 10));
    EXPECT_EQ(done->select, 9u);
    editing::Undo(document);

    std::vector<MenuItemRecord> pasted = {Rec("stxt", 1, 1, 1, 1, 50), Rec("ctxt", 2, 2, 2, 2, 51)};
    ASSERT_TRUE(editing::InsertRecords(document, 7, pasted, kScattered, "Paste items"));
    EXPECT_EQ(editing::LastDone(document)->selected, RowRanges::Span(7, 9));
    EXPECT_EQ(editing::LastDone(document)->select, 7u);
    EXPECT_EQ(editing::Undo(document)->selected, kScattered.rows);

    // The document keeps a record; nothing to insert is no step.
    EXPECT_FALSE(editing::DeleteSelected(document, {RowRanges::Span(0, 10), 0}, "x"));
    EXPECT_FALSE(editing::InsertRecords(document, 3, {}, kScattered, "x"));
    EXPECT_FALSE(editing::InsertRecords(document, 11, pasted, kScattered, "x"));
    EXPECT_EQ(history.count(), 1);
    EXPECT_EQ(history.index(), 0);
}

TEST_F(SeveralRecords, KeyMovesOfTheSameRecordsMergeAndOnlyChangedRecordsAreKept) {
    const RowRanges moved = RowRanges::Span(2, 4);
    ASSERT_TRUE(editing::MoveSelected(document, kScattered, moved, 1, 0, "Move", true));
    ASSERT_TRUE(editing::MoveSelected(document, kScattered, moved, 10, -2, "Move", true));
    EXPECT_EQ(history.count(), 1);
    EXPECT_EQ(document.record(2).posX, 31.0f);
    EXPECT_EQ(document.record(3).posY, 3.0f);
    EXPECT_EQ(document.record(6).posX, 60.0f);
    // Other records, or a drag, start a step of their own; and keys that go
    // there and back leave none.
    ASSERT_TRUE(editing::MoveSelected(document, kScattered, RowRanges::Single(2), 1, 0, "M", true));
    ASSERT_TRUE(editing::MoveSelected(document, kScattered, moved, 1, 0, "M", false));
    ASSERT_TRUE(editing::MoveSelected(document, kScattered, moved, 1, 0, "M", true));
    ASSERT_TRUE(editing::MoveSelected(document, kScattered, moved, -1, 0, "M", true));
    EXPECT_EQ(history.count(), 3);
    EXPECT_EQ(editing::Undo(document)->selected, kScattered.rows);
    EXPECT_EQ(document.record(2).posX, 32.0f);
    // Beyond the float range is refused, as is a move by nothing.
    EXPECT_FALSE(editing::MoveSelected(document, kScattered, moved, 1e39, 0, "M", false));
    EXPECT_FALSE(editing::MoveSelected(document, kScattered, moved, 0, 0, "M", false));

    // Aligning left edges: only the records that move are in the step.
    history.clear();
    const SelectedRows three{RowRanges::Span(0, 3), 1};
    ASSERT_TRUE(
        editing::ArrangeSelected(document, three, arrange::Arrangement::AlignLeft, "Align"));
    EXPECT_EQ(document.record(1).posX, 0.0f);
    EXPECT_EQ(document.record(2).posX, 0.0f);
    EXPECT_FALSE(editing::ArrangeSelected(document, three, arrange::Arrangement::AlignLeft, "A"));
    // Refused across screens: record 5 is a window now.
    ASSERT_TRUE(editing::SetType(document, 5, {'t', 'n', 'i', 'w'}, "Type"));
    EXPECT_FALSE(editing::ArrangeSelected(document, {RowRanges::Span(4, 7), 4},
                                          arrange::Arrangement::SameWidth, "A"));
    EXPECT_EQ(history.count(), 2);
}

// The list follows many records at once: one run inserted or removed as
// rows, scattered runs as a change of layout whose kept rows follow their
// records. Its rows and labels after every step, and the search, are checked
// by the random runs of record_edits_test.cpp and record_search_test.cpp.
TEST_F(SeveralRecords, TheListFollowsManyRecordsAtOnce) {
    RecordListModel model(document);
    QSignalSpy removed(&model, &QAbstractItemModel::rowsRemoved);
    QSignalSpy laidOut(&model, &QAbstractItemModel::layoutChanged);
    const QPersistentModelIndex kept = model.index(8);  // id 8
    const QPersistentModelIndex gone = model.index(6);
    ASSERT_TRUE(editing::DeleteSelected(document, kScattered, "x"));
    EXPECT_EQ(laidOut.count(), 1);
    EXPECT_EQ(kept.row(), 5);
    EXPECT_FALSE(gone.isValid());
    editing::Undo(document);
    EXPECT_EQ(kept.row(), 8);
    ASSERT_TRUE(editing::DeleteSelected(document, {RowRanges::Span(1, 4), 1}, "x"));
    EXPECT_EQ(removed.count(), 1);
    EXPECT_EQ(kept.row(), 5);
}
