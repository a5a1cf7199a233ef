#include "document/row_ranges.h"

#include <gtest/gtest.h>

#include <random>
#include <set>

namespace {

std::set<std::size_t> RowsOf(const RowRanges& ranges) {
    std::set<std::size_t> rows;
    ranges.ForEach([&rows](std::size_t row) { rows.insert(row); });
    return rows;
}

// Runs are sorted, apart (never touching) and not empty; the count is theirs.
void ExpectWellFormed(const RowRanges& ranges) {
    std::size_t count = 0;
    for (std::size_t i = 0; i < ranges.ranges().size(); ++i) {
        const RowRange& range = ranges.ranges()[i];
        EXPECT_LT(range.begin, range.end);
        if (i > 0) {
            EXPECT_LT(ranges.ranges()[i - 1].end, range.begin);
        }
        count += range.size();
    }
    EXPECT_EQ(ranges.count(), count);
}

RowRanges RandomRanges(std::mt19937& random, std::size_t rows, std::set<std::size_t>& plain) {
    RowRanges ranges;
    for (int i = 0; i < 6; ++i) {
        const std::size_t begin = random() % rows;
        const std::size_t end = std::min(rows, begin + random() % 5);
        if (random() % 3 == 0) {
            ranges.Remove(begin, end);
            for (std::size_t row = begin; row < end; ++row) plain.erase(row);
        } else {
            ranges.Add(begin, end);
            for (std::size_t row = begin; row < end; ++row) plain.insert(row);
        }
    }
    return ranges;
}

}  // namespace

TEST(RowRanges, RunsMergeSplitAndCount) {
    RowRanges rows;
    rows.Add(10, 20);
    rows.Add(30, 40);
    rows.Add(20, 25);  // touches the first run: one run
    rows.Add(5, 6);
    EXPECT_EQ(rows.ranges(), (std::vector<RowRange>{{5, 6}, {10, 25}, {30, 40}}));
    EXPECT_EQ(rows.count(), 26u);
    rows.Add(24, 31);  // bridges two runs
    EXPECT_EQ(rows.ranges(), (std::vector<RowRange>{{5, 6}, {10, 40}}));
    rows.Remove(15, 17);
    EXPECT_EQ(rows.ranges(), (std::vector<RowRange>{{5, 6}, {10, 15}, {17, 40}}));
    EXPECT_EQ(rows.count(), 29u);
    EXPECT_TRUE(rows.Contains(14));
    EXPECT_FALSE(rows.Contains(15));
    EXPECT_FALSE(rows.Contains(40));
    EXPECT_EQ(rows.CountBefore(17), 6u);
    EXPECT_EQ(rows.CountBefore(20), 9u);
    EXPECT_EQ(rows.first(), 5u);
    EXPECT_EQ(rows.last(), 39u);
    // A million rows are one run.
    EXPECT_EQ(RowRanges::Span(0, 1'000'000).ranges().size(), 1u);
}

// Following insertions and removals, and the one-pass moves of a vector's
// items, against sets of plain numbers.
TEST(RowRanges, FollowInsertsAndRemovalsAsPlainRowsDo) {
    std::mt19937 random(21);
    for (int trial = 0; trial < 500; ++trial) {
        SCOPED_TRACE(trial);
        const std::size_t size = 1 + random() % 30;
        std::set<std::size_t> plainSelected, plainChanged;
        const RowRanges selected = RandomRanges(random, size, plainSelected);
        const RowRanges changed = RandomRanges(random, size, plainChanged);
        ExpectWellFormed(selected);
        ASSERT_EQ(RowsOf(selected), plainSelected);

        // The items 0..size-1 with `changed` removed, and inserted again.
        std::vector<std::size_t> items(size);
        for (std::size_t i = 0; i < size; ++i) items[i] = i;
        std::vector<std::size_t> removedItems;
        std::vector<std::size_t> kept = items;
        RemoveRows(kept, changed, &removedItems);
        std::vector<std::size_t> expectKept, expectRemoved;
        for (std::size_t i = 0; i < size; ++i)
            (plainChanged.count(i) ? expectRemoved : expectKept).push_back(i);
        ASSERT_EQ(kept, expectKept);
        ASSERT_EQ(removedItems, expectRemoved);
        // After the removal, a selected row is where its item went.
        const RowRanges afterRemove = selected.AfterRemove(changed);
        ExpectWellFormed(afterRemove);
        std::set<std::size_t> expectAfterRemove;
        for (std::size_t at = 0; at < kept.size(); ++at)
            if (plainSelected.count(kept[at])) expectAfterRemove.insert(at);
        ASSERT_EQ(RowsOf(afterRemove), expectAfterRemove);

        // Inserted again at the same rows, the items are as before; a row
        // selected among the kept items follows its item.
        InsertRows<std::size_t>(kept, changed, removedItems);
        ASSERT_EQ(kept, items);
        const RowRanges back = afterRemove.AfterInsert(changed);
        std::set<std::size_t> expectBack;
        for (const std::size_t row : plainSelected)
            if (!plainChanged.count(row)) expectBack.insert(row);
        ASSERT_EQ(RowsOf(back), expectBack);
    }
}
