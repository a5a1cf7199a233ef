#include "editing/record_selection.h"

#include <gtest/gtest.h>

#include "document/document.h"
#include "document/menu_file.h"
#include "editing/record_edits.h"
#include "support/records.h"

namespace {

class Selection : public ::testing::Test {
  protected:
    void SetUp() override { Load(10); }
    void Load(std::size_t records) {
        std::vector<MenuItemRecord> items(records);
        for (std::size_t i = 0; i < records; ++i) items[i].id = static_cast<int>(i);
        LoadRecords(document, items);
    }
    // The rows as runs, e.g. {{2, 5}, {7, 8}}.
    std::vector<RowRange> Runs() const { return selection.rows().ranges(); }

    Document document;
    RecordSelection selection{document};
};

}  // namespace

TEST_F(Selection, ARecordIsAlwaysSelectedAndTheCurrentOneIsAmongThem) {
    // A record toggled on is current. Taking the current record away makes
    // the nearest one before it current, or the first after it when there is
    // none before.
    selection.Select(7);
    selection.Toggle(3);
    selection.Toggle(9);
    selection.Toggle(5);
    EXPECT_EQ(Runs(), (std::vector<RowRange>{{3, 4}, {5, 6}, {7, 8}, {9, 10}}));
    selection.Toggle(5);
    EXPECT_EQ(selection.current(), 3u);
    selection.Toggle(3);
    EXPECT_EQ(selection.current(), 7u);
    // The last one stays.
    selection.Toggle(9);
    selection.Toggle(7);
    EXPECT_EQ(Runs(), (std::vector<RowRange>{{7, 8}}));
    // A run from the anchor (the record last clicked or toggled).
    selection.Select(6);
    selection.ExtendTo(3);
    EXPECT_EQ(Runs(), (std::vector<RowRange>{{3, 7}}));
    selection.ExtendTo(8);
    EXPECT_EQ(Runs(), (std::vector<RowRange>{{6, 9}}));
    EXPECT_EQ(selection.current(), 8u);
    selection.SelectAll();
    EXPECT_EQ(Runs(), (std::vector<RowRange>{{0, 10}}));
    EXPECT_EQ(selection.current(), 8u);
    // Rows the document lacks are not taken.
    selection.Select(10);
    selection.Set(RowRanges::Span(5, 40), 12);
    EXPECT_EQ(selection.count(), 10u);
    selection.Set(RowRanges::Span(5, 40), 1);
    EXPECT_EQ(Runs(), (std::vector<RowRange>{{1, 2}, {5, 10}}));
    EXPECT_EQ(selection.current(), 1u);
}

TEST_F(Selection, FollowsRecordsInsertedAndRemoved) {
    selection.Set(RowRanges::Span(3, 6), 4);
    // One record inserted before, several in the middle of the run.
    ASSERT_TRUE(editing::Duplicate(document, 1, "d"));
    EXPECT_EQ(Runs(), (std::vector<RowRange>{{4, 7}}));
    EXPECT_EQ(selection.current(), 5u);
    ASSERT_TRUE(editing::InsertRecords(document, 5, std::vector<MenuItemRecord>(2),
                                       selection.state(), "p"));
    EXPECT_EQ(Runs(), (std::vector<RowRange>{{4, 5}, {7, 9}}));
    EXPECT_EQ(selection.current(), 7u);
    // The current record removed: the nearest selected one before its place.
    ASSERT_TRUE(editing::Delete(document, 7, "x"));
    EXPECT_EQ(Runs(), (std::vector<RowRange>{{4, 5}, {7, 8}}));
    EXPECT_EQ(selection.current(), 4u);
    // Every selected record removed: the record before the first removed one.
    ASSERT_TRUE(editing::DeleteSelected(document, {RowRanges::Span(2, 9), 2}, "x"));
    EXPECT_EQ(Runs(), (std::vector<RowRange>{{1, 2}}));
    document.Close();
    EXPECT_TRUE(selection.empty());
    Load(3);
    EXPECT_EQ(Runs(), (std::vector<RowRange>{{0, 1}}));
}
