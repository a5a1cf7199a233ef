#include "editing/record_selection.h"

#include <algorithm>

#include "document/document.h"

namespace {

// The last of `rows` before `row`, or the first of them when none is.
std::size_t NearestBefore(const RowRanges& rows, std::size_t row) {
    std::size_t nearest = rows.first();
    for (const RowRange& range : rows.ranges()) {
        if (range.begin >= row) break;
        nearest = std::min(range.end, row) - 1;
    }
    return nearest;
}

}  // namespace

RecordSelection::RecordSelection(const Document& document, QObject* parent)
    : QObject(parent), document_(document) {
    connect(&document, &Document::reset, this, [this] {
        if (RecordCount() == 0) {
            Store({}, 0, 0);
        } else {
            Store(RowRanges::Single(0), 0, 0);
        }
    });
    const auto single = [](int row) { return RowRanges::Single(static_cast<std::size_t>(row)); };
    connect(&document, &Document::recordInserted, this,
            [this, single](int row) { Follow(single(row), {}); });
    connect(&document, &Document::recordRemoved, this,
            [this, single](int row) { Follow({}, single(row)); });
    connect(&document, &Document::recordsInserted, this,
            [this](const RowRanges& rows) { Follow(rows, {}); });
    connect(&document, &Document::recordsRemoved, this,
            [this](const RowRanges& rows) { Follow({}, rows); });
}

std::size_t RecordSelection::RecordCount() const {
    return document_.count();
}

void RecordSelection::Store(RowRanges rows, std::size_t current, std::size_t anchor) {
    selected_.rows = std::move(rows);
    selected_.current = current;
    anchor_ = anchor;
    emit changed();
}

void RecordSelection::Select(std::size_t row) {
    if (row >= RecordCount()) return;
    Store(RowRanges::Single(row), row, row);
}

void RecordSelection::Toggle(std::size_t row) {
    if (row >= RecordCount()) return;
    RowRanges rows = selected_.rows;
    if (!rows.Contains(row)) {
        rows.Add(row, row + 1);
        return Store(std::move(rows), row, row);
    }
    // The last selected record stays.
    if (rows.count() == 1) return;
    rows.Remove(row, row + 1);
    std::size_t current = selected_.current;
    if (current == row) current = NearestBefore(rows, row);
    Store(std::move(rows), current, row);
}

void RecordSelection::ExtendTo(std::size_t row) {
    const std::size_t count = RecordCount();
    if (row >= count) return;
    const std::size_t anchor = std::min(anchor_, count - 1);
    Store(RowRanges::Span(std::min(anchor, row), std::max(anchor, row) + 1), row, anchor);
}

void RecordSelection::SelectAll() {
    const std::size_t count = RecordCount();
    if (count == 0) return;
    Store(RowRanges::Span(0, count), std::min(selected_.current, count - 1), anchor_);
}

void RecordSelection::Set(const RowRanges& rows, std::size_t current) {
    const std::size_t count = RecordCount();
    if (current >= count) return;
    RowRanges kept = rows;
    kept.Remove(count, std::max(count, rows.empty() ? 0 : rows.last() + 1));
    kept.Add(current, current + 1);
    Store(std::move(kept), current, current);
}

void RecordSelection::Add(const RowRanges& rows) {
    const std::size_t count = RecordCount();
    RowRanges added = selected_.rows;
    for (const RowRange& range : rows.ranges()) added.Add(range.begin, std::min(range.end, count));
    if (added == selected_.rows) return;
    Store(std::move(added), selected_.current, anchor_);
}

void RecordSelection::Follow(const RowRanges& inserted, const RowRanges& removed) {
    if (selected_.rows.empty()) {
        if (RecordCount() > 0) Store(RowRanges::Single(0), 0, 0);
        return;
    }
    const auto map = [&](const RowRanges& rows) {
        return removed.empty() ? rows.AfterInsert(inserted) : rows.AfterRemove(removed);
    };
    RowRanges rows = map(selected_.rows);
    const RowRanges current = map(RowRanges::Single(selected_.current));
    const RowRanges anchor = map(RowRanges::Single(anchor_));
    const std::size_t count = RecordCount();
    if (rows.empty()) {
        // Every selected record went: the one before the first removed.
        const std::size_t first = removed.first();
        const std::size_t row = std::min(first == 0 ? 0 : first - 1, count - 1);
        return Store(RowRanges::Single(row), row, row);
    }
    // A removed current record: the nearest selected one before its place.
    const std::size_t now =
        !current.empty()
            ? current.first()
            : NearestBefore(rows, selected_.current - removed.CountBefore(selected_.current));
    Store(std::move(rows), now, anchor.empty() ? now : std::min(anchor.first(), count - 1));
}
