#pragma once

#include <algorithm>
#include <cstddef>
#include <iterator>
#include <span>
#include <vector>

// A set of record indices kept as sorted, disjoint, non-adjacent runs
// [begin, end). A selection of every record of a million-record document, or
// of a block of 100,000, is one run; only rows picked one by one cost a run
// each.
struct RowRange {
    std::size_t begin = 0;
    std::size_t end = 0;
    std::size_t size() const { return end - begin; }
    bool operator==(const RowRange&) const = default;
};

class RowRanges {
  public:
    RowRanges() = default;
    static RowRanges Single(std::size_t row) { return Span(row, row + 1); }
    static RowRanges Span(std::size_t begin, std::size_t end) {
        RowRanges rows;
        rows.Append(begin, end);
        return rows;
    }

    bool empty() const { return ranges_.empty(); }
    // How many rows.
    std::size_t count() const { return count_; }
    const std::vector<RowRange>& ranges() const { return ranges_; }
    // The first and last row; the set must not be empty.
    std::size_t first() const { return ranges_.front().begin; }
    std::size_t last() const { return ranges_.back().end - 1; }

    bool Contains(std::size_t row) const;
    // How many rows of the set lie before `row`: the place of a row of the
    // set among its rows, counted from 0.
    std::size_t CountBefore(std::size_t row) const;

    // Adds [begin, end) after every row held so far (begin at or after the
    // last end): building a set in order costs no search.
    void Append(std::size_t begin, std::size_t end);
    void Add(std::size_t begin, std::size_t end);
    void Remove(std::size_t begin, std::size_t end);
    void Clear() {
        ranges_.clear();
        count_ = 0;
    }

    // The same rows after the rows `inserted` were inserted (given where they
    // stand afterwards): rows at or after an insertion move down with it.
    RowRanges AfterInsert(const RowRanges& inserted) const;
    // The same rows after the rows `removed` were taken out (given where they
    // stood): removed rows leave the set, the rows after them move up.
    RowRanges AfterRemove(const RowRanges& removed) const;

    // Calls f(row) for every row, in order.
    template <typename F>
    void ForEach(F&& f) const {
        for (const RowRange& range : ranges_)
            for (std::size_t row = range.begin; row < range.end; ++row) f(row);
    }

    bool operator==(const RowRanges& other) const { return ranges_ == other.ranges_; }

  private:
    std::vector<RowRange> ranges_;
    std::size_t count_ = 0;
};

// Takes the rows `removed` out of `items` in one pass, keeping the order of
// the rest; the removed items go to `taken` (in order) when it is given.
template <typename T>
void RemoveRows(std::vector<T>& items, const RowRanges& removed, std::vector<T>* taken = nullptr) {
    if (removed.empty()) return;
    if (taken != nullptr) taken->reserve(taken->size() + removed.count());
    const std::vector<RowRange>& ranges = removed.ranges();
    auto to = items.begin() + static_cast<std::ptrdiff_t>(ranges.front().begin);
    for (std::size_t k = 0; k < ranges.size(); ++k) {
        const auto from = items.begin() + static_cast<std::ptrdiff_t>(ranges[k].begin);
        const auto until = items.begin() + static_cast<std::ptrdiff_t>(ranges[k].end);
        if (taken != nullptr) taken->insert(taken->end(), from, until);
        const auto keptEnd = k + 1 < ranges.size()
                                 ? items.begin() + static_cast<std::ptrdiff_t>(ranges[k + 1].begin)
                                 : items.end();
        to = std::move(until, keptEnd, to);
    }
    items.erase(to, items.end());
}

// Puts `inserted` (one item per row, in order) into `items` so that they
// stand at the rows `rows` afterwards, in one pass from the end.
template <typename T>
void InsertRows(std::vector<T>& items, const RowRanges& rows, std::span<const T> inserted) {
    if (rows.empty()) return;
    const std::size_t oldSize = items.size();
    items.resize(oldSize + rows.count());
    std::size_t from = oldSize;        // one past the next old item to place
    std::size_t to = items.size();     // one past the next place to fill
    std::size_t next = inserted.size();  // one past the next inserted item
    const std::vector<RowRange>& ranges = rows.ranges();
    for (auto range = ranges.rbegin(); range != ranges.rend(); ++range) {
        const std::size_t kept = to - range->end;
        std::move_backward(items.begin() + static_cast<std::ptrdiff_t>(from - kept),
                           items.begin() + static_cast<std::ptrdiff_t>(from),
                           items.begin() + static_cast<std::ptrdiff_t>(to));
        from -= kept;
        std::copy(inserted.begin() + static_cast<std::ptrdiff_t>(next - range->size()),
                  inserted.begin() + static_cast<std::ptrdiff_t>(next),
                  items.begin() + static_cast<std::ptrdiff_t>(range->begin));
        next -= range->size();
        to = range->begin;
    }
}
