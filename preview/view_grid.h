#pragma once

#include <array>
#include <cstddef>
#include <span>
#include <vector>

#include "document/menu_item_record.h"
#include "preview/hit_test.h"
#include "preview/view_geometry.h"

// The grid the preview can show over its surface, and where its lines lie.
// Its lines are marks above the drawing, never part of it; snapping to it is
// DragTo's and Nudged's (placement.h).
namespace preview {

inline constexpr std::array<int, 4> kGridSteps = {5, 10, 20, 50};
inline constexpr int kDefaultGridStep = 10;
// Lines closer than this many pixels are thinned out to every second,
// third ... line, so that a grid never turns the surface into a solid
// patch.
inline constexpr int kGridSpacing = 4;

// The point the grid runs from: the one the shown records' positions are
// stored against. For the screen of a window that is the window's position
// below its caption, where its elements are measured from; for a record
// drawn by itself the screen's corner. `shown` is the record the redraw is
// for (the window, or the record drawn alone), a valid index.
Origin GridOrigin(std::span<const MenuItemRecord> records, std::size_t shown);

// The lines of a grid of `step` units from `origin` that the view shows, in
// area pixels: the column (row) each line is drawn on, where a record
// placed on it has its edge, in order, each once. With lines closer than
// kGridSpacing pixels only every `every`-th is given, counted from the
// origin.
struct GridLines {
    std::vector<int> columns;
    std::vector<int> rows;
    int everyX = 1;
    int everyY = 1;
};
GridLines VisibleGridLines(const ViewGeometry& view, const Origin& origin, int step);

}  // namespace preview
