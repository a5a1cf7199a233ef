#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <span>
#include <vector>

#include "document/menu_item_record.h"
#include "document/row_ranges.h"
#include "editing/record_geometry.h"

// Laying out several records at once: the arithmetic of the Arrange menu
// and which records a move of a selection takes along. Pure: records and
// rows in, rows or new values out.
namespace arrange {

enum class Arrangement {
    AlignLeft,
    AlignRight,
    AlignTop,
    AlignBottom,
    AlignHorizontalCenters,
    AlignVerticalCenters,
    DistributeHorizontally,
    DistributeVertically,
    SameWidth,
    SameHeight,
};
inline constexpr std::array<Arrangement, 10> kArrangements = {
    Arrangement::AlignLeft,
    Arrangement::AlignRight,
    Arrangement::AlignTop,
    Arrangement::AlignBottom,
    Arrangement::AlignHorizontalCenters,
    Arrangement::AlignVerticalCenters,
    Arrangement::DistributeHorizontally,
    Arrangement::DistributeVertically,
    Arrangement::SameWidth,
    Arrangement::SameHeight,
};

// Two records, or three to distribute.
std::size_t LeastRecords(Arrangement arrangement);

// Why the selected records cannot be arranged together: too few of them; they
// stand in different screens (their positions are relative to different
// windows, or to none); or a window is selected with elements of its own
// screen, whose positions are relative to it.
enum class Refusal { TooFew, MixedScreens, WindowWithElements };
std::optional<Refusal> Check(std::span<const MenuItemRecord> records, const RowRanges& rows,
                             Arrangement arrangement);

// The boxes after the arrangement, one for each box given, in the same order.
// Edges are taken as the boxes show (a negative scale turns a box over);
// moving a box changes its position only.
//  - Align: each box's edge (or centre) goes to the outermost edge of the
//    boxes (leftmost left, rightmost right ...) or to the centre of their
//    bounding box.
//  - Distribute: the boxes, taken in the order of their left (top) edges, all
//    but the first and the last move so that the gaps between neighbours are
//    equal. Each box is placed on its exact place rounded to a whole number
//    of units from the first box's far edge, so that no error adds up: every
//    gap is within one unit of the others.
//  - Same width / height: each box takes the scale of box `model`.
// A box with a value that is not finite takes no part and comes back as it
// was; so does every box when the model is such a box.
std::vector<RecordGeometry> Arranged(std::span<const RecordGeometry> boxes, std::size_t model,
                                     Arrangement arrangement);

// The rows a move of the selected rows moves: each selected record except
// the elements of a selected window (they go with it, placed relative to it),
// and except records whose position or size is not finite.
RowRanges MovedRows(std::span<const MenuItemRecord> records, const RowRanges& selected);

}  // namespace arrange
