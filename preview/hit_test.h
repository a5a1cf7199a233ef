#pragma once

#include <QPoint>
#include <cstddef>
#include <optional>
#include <span>

#include "document/menu_item_record.h"

// Which records a redraw of the preview shows, where each is drawn from, and
// which one lies on top at a pixel: the same rules DrawPreview draws by.
namespace preview {

// The record whose drawing shows record `index`: in the window, the window
// whose screen holds it (its elements are drawn in place there, with the
// window and the rest of its screen); by itself, or before the first window,
// the record itself. `index` must be a valid index.
std::size_t ShownFor(std::span<const MenuItemRecord> records, std::size_t index, bool inWindow);

// One past the last record that a redraw for `selected` draws: the end of
// its screen when it is a window, otherwise selected + 1. `selected` must be
// a valid index.
std::size_t ShownEnd(std::span<const MenuItemRecord> records, std::size_t selected);

// The origin, in virtual units, from which record `index` (selected up to
// ShownEnd) is drawn: (0, 0) for the selected record itself, the window's
// position below its caption for an element of its screen.
struct Origin {
    double x = 0.0;
    double y = 0.0;
};
Origin OriginOf(std::span<const MenuItemRecord> records, std::size_t selected, std::size_t index);

// The record drawn topmost at `pixel` of a width x height preview of
// `selected`, or nothing there. A loading picture lies above every box and
// stands for the record it is placed on; otherwise the last record in array
// order whose box covers the pixel wins, the window (drawn first) last of
// all. A box covers the pixels CoveredRect gives: a mirrored box as its
// mirror, a zero-size or undefined box none.
std::optional<std::size_t> RecordAt(std::span<const MenuItemRecord> records,
                                    std::size_t selected, QPoint pixel, int width, int height);

}  // namespace preview
