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

// Runs added and removed, merged and split, and then followed through
// insertions and removals and the one-pass moves of a vector's items,
// against sets of plain numbers.
TEST(RowRanges, HoldAndFollowRowsAsPlainSetsDo) {
    // A million rows are one run.
    EXPECT_EQ(RowRanges::Span(0, 1'000'000).ranges().size(), 1u);
    std::mt19937 random(21);
    for (int trial = 0; trial < 500; ++trial) {
        SCOPED_TRACE(trial);
        const std::size_t size = 1 + random() % 30;
        std::set<std::size_t> plainSelected, plainChanged;
        const RowRanges selected = RandomRanges(random, size, plainSelected);
        const RowRanges changed = RandomRanges(random, size, plainChanged);
        ExpectWellFormed(selected);
        ASSERT_EQ(RowsOf(selected), plainSelected);
        if (!plainSelected.empty()) {
            ASSERT_EQ(selected.first(), *plainSelected.begin());
            ASSERT_EQ(selected.last(), *plainSelected.rbegin());
        }
        for (std::size_t row = 0; row <= size; ++row) {
            ASSERT_EQ(selected.Contains(row), plainSelected.count(row) == 1) << row;
            ASSERT_EQ(selected.CountBefore(row),
                      static_cast<std::size_t>(
                          std::distance(plainSelected.begin(), plainSelected.lower_bound(row))));
        }

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
