#include "document/row_ranges.h"

namespace {

// The first run that ends after `row`.
std::vector<RowRange>::const_iterator RunEndingAfter(const std::vector<RowRange>& ranges,
                                                     std::size_t row) {
    return std::upper_bound(ranges.begin(), ranges.end(), row,
                            [](std::size_t value, const RowRange& range) { return value < range.end; });
}

}  // namespace

bool RowRanges::Contains(std::size_t row) const {
    const auto run = RunEndingAfter(ranges_, row);
    return run != ranges_.end() && run->begin <= row;
}

std::size_t RowRanges::CountBefore(std::size_t row) const {
    std::size_t before = 0;
    for (const RowRange& range : ranges_) {
        if (range.begin >= row) break;
        before += std::min(range.end, row) - range.begin;
    }
    return before;
}

void RowRanges::Append(std::size_t begin, std::size_t end) {
    if (begin >= end) return;
    count_ += end - begin;
    if (!ranges_.empty() && ranges_.back().end == begin) {
        ranges_.back().end = end;
    } else {
        ranges_.push_back({begin, end});
    }
}

void RowRanges::Add(std::size_t begin, std::size_t end) {
    if (begin >= end) return;
    if (ranges_.empty() || ranges_.back().end <= begin) return Append(begin, end);
    // The runs that touch or overlap [begin, end) become one.
    auto first = std::lower_bound(ranges_.begin(), ranges_.end(), begin,
                                  [](const RowRange& range, std::size_t value) {
                                      return range.end < value;
                                  });
    auto last = first;
    RowRange merged{begin, end};
    while (last != ranges_.end() && last->begin <= end) {
        merged.begin = std::min(merged.begin, last->begin);
        merged.end = std::max(merged.end, last->end);
        count_ -= last->size();
        ++last;
    }
    count_ += merged.size();
    first = ranges_.erase(first, last);
    ranges_.insert(first, merged);
}

void RowRanges::Remove(std::size_t begin, std::size_t end) {
    if (begin >= end || ranges_.empty()) return;
    std::vector<RowRange> kept;
    auto run = RunEndingAfter(ranges_, begin);
    kept.reserve(ranges_.size() + 1);
    kept.insert(kept.end(), ranges_.cbegin(), run);
    for (; run != ranges_.end(); ++run) {
        if (run->begin >= end) break;
        count_ -= std::min(run->end, end) - std::max(run->begin, begin);
        if (run->begin < begin) kept.push_back({run->begin, begin});
        if (run->end > end) kept.push_back({end, run->end});
    }
    kept.insert(kept.end(), run, ranges_.cend());
    ranges_ = std::move(kept);
}

RowRanges RowRanges::AfterInsert(const RowRanges& inserted) const {
    RowRanges moved;
    const std::vector<RowRange>& add = inserted.ranges_;
    std::size_t k = 0;
    std::size_t shift = 0;  // inserted rows before the row being placed
    for (const RowRange& range : ranges_) {
        std::size_t row = range.begin;
        while (row < range.end) {
            // Insertions that land at or before the row's new place push it down.
            while (k < add.size() && add[k].begin <= row + shift) shift += add[k++].size();
            // The rows up to the next insertion keep together.
            const std::size_t until =
                k < add.size() ? std::min(range.end, add[k].begin - shift) : range.end;
            moved.Append(row + shift, until + shift);
            row = until;
        }
    }
    return moved;
}

RowRanges RowRanges::AfterRemove(const RowRanges& removed) const {
    RowRanges kept;
    const std::vector<RowRange>& gone = removed.ranges_;
    std::size_t k = 0;
    std::size_t shift = 0;  // removed rows before the row being placed
    for (const RowRange& range : ranges_) {
        std::size_t row = range.begin;
        while (row < range.end) {
            while (k < gone.size() && gone[k].end <= row) shift += gone[k++].size();
            if (k < gone.size() && gone[k].begin <= row) {
                row = std::min(range.end, gone[k].end);
                continue;
            }
            const std::size_t until = k < gone.size() ? std::min(range.end, gone[k].begin) : range.end;
            kept.Append(row - shift, until - shift);
            row = until;
        }
    }
    return kept;
}
