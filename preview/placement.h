#pragma once

#include <QPoint>
#include <QRect>
#include <array>
#include <cstddef>
#include <optional>
#include <span>
#include <vector>

#include "document/menu_item_record.h"
#include "document/row_ranges.h"
#include "editing/record_geometry.h"
#include "preview/hit_test.h"

// Moving and resizing records by pointer and keys in a width x height
// preview, and snapping their edges to those of their neighbours. Pure
// arithmetic: records and pixels in, new floats out.
//
// A drag's offset in pixels becomes a whole number of virtual units,
// round(pixels * 800 / width) and round(pixels * 600 / height), halves away
// from zero, and is added to the values of the drag's start; every step of a
// drag starts again from there, so a long drag never drifts. It is the offset
// that is whole, not the result: 10.3 moved by 20 units is 30.3.
namespace preview {

double UnitsX(int pixels, int width);
double UnitsY(int pixels, int height);

// The eight resize handles of the selected record's box, on its corners and
// the middles of its edges as the box shows on the preview (on a mirrored
// box the left handles sit on its left side, whichever value makes it).
enum class Handle { TopLeft, Top, TopRight, Right, BottomRight, Bottom, BottomLeft, Left };
inline constexpr std::array<Handle, 8> kHandles = {
    Handle::TopLeft,     Handle::Top,    Handle::TopRight,   Handle::Right,
    Handle::BottomRight, Handle::Bottom, Handle::BottomLeft, Handle::Left};
inline constexpr int kHandleSize = 7;

// A handle's square on the surface around the pixels `covered` (CoveredRect).
QRect HandleRect(const QRect& covered, Handle handle);
// The handle at a pixel, one pixel of slack around each square; where
// squares overlap (a small box) the one whose centre is nearest, and of
// equals the one that makes the box larger when pulled outwards.
std::optional<Handle> HandleAt(const QRect& covered, QPoint pixel);

// `start` with its box moved by (dx, dy) units, or, with a handle, with that
// handle's edges moved by as much and the opposite edges kept still; the
// position changes only for the left and top handles. A size never becomes
// less than 1 unit this way, nor less than it was when it was smaller, and
// never turns the box over. Nothing when a value would not be a finite float.
std::optional<RecordGeometry> Placed(const RecordGeometry& start, std::optional<Handle> handle,
                                     double dx, double dy);

// Lines that a dragged edge or centre snaps to, in virtual units of the
// preview's screen: edges and centres of the boxes drawn besides the dragged
// one, and of the 800 x 600 screen itself.
class SnapLines {
  public:
    void Add(double low, double high);
    void Sort();
    // The line nearest to `at`, if any lies within `reach`.
    std::optional<double> Nearest(double at, double reach) const;

  private:
    std::vector<double> lines_;
};
struct SnapTargets {
    SnapLines x;
    SnapLines y;
};
// Snapping reaches this far, in preview pixels.
inline constexpr int kSnapPixels = 4;

// For a drag of record `dragged` in the preview of `selected`: the window and
// the other elements of the screen shown, those with a finite, non-empty box.
// Dragging a window takes its elements along, so then only the screen's own
// edges remain.
SnapTargets SnapTargetsFor(std::span<const MenuItemRecord> records, std::size_t selected,
                           std::size_t dragged);
// The same for several records dragged together (rows `dragged` of the
// screen shown): the boxes of the others.
SnapTargets SnapTargetsFor(std::span<const MenuItemRecord> records, std::size_t selected,
                           const RowRanges& dragged);

// One drag: the record's values and origin at its start, and the handle
// pulled (none for a move).
struct Drag {
    RecordGeometry start;
    Origin origin;
    std::optional<Handle> handle;
};
// Where a drag has got to; the snapped lines, in virtual units, while a snap
// holds.
struct DragPlace {
    RecordGeometry geometry;
    std::optional<double> guideX;
    std::optional<double> guideY;
};
// The drag with the pointer `offset` pixels from where it was pressed. With
// targets, each axis whose moving edge (or, for a move, its edges and
// centre) comes within kSnapPixels of a line is set on that line instead,
// the nearest line winning. With a grid step (units, above 0), an axis that
// snapped to no line has its moving value set on the grid: the stored
// position for a move, the edge as shown for a handle, each a whole multiple
// of the step from the record's origin. Nothing when the result is not
// finite.
std::optional<DragPlace> DragTo(const Drag& drag, QPoint offset, int width, int height,
                                const SnapTargets* targets, int gridStep = 0);

// A key press that moves the record (no handle) or pulls a handle's edges
// `distance` units in the directions (dx, dy) (each -1, 0 or 1). With a grid
// step, the moving value goes instead to the nearest whole multiple of the
// step that lies at least `distance` units that way, so that a value off
// the grid lands on it. Nothing when a value would not be a finite float.
std::optional<RecordGeometry> Nudged(const RecordGeometry& start, std::optional<Handle> handle,
                                     int dx, int dy, double distance, int gridStep = 0);

// Several records of the screen shown, moved together: the bounding box of
// their boxes at the start, in virtual units of the screen (edges as the
// boxes show, origins added), or nothing when none of them has a finite box;
// and the stored position of the record that a grid holds (the one the drag
// took hold of).
struct GroupDrag {
    double left = 0.0;
    double top = 0.0;
    double right = 0.0;
    double bottom = 0.0;
    double anchorX = 0.0;
    double anchorY = 0.0;
};
std::optional<GroupDrag> GroupOf(std::span<const MenuItemRecord> records, std::size_t selected,
                                 const RowRanges& dragged);
// How far the group moves with the pointer `offset` pixels from where it was
// pressed: the same whole units a single box moves, then, with targets, the
// bounding box's edges and centre snap as a single box's do (the nearest line
// within kSnapPixels on each axis). With a grid step, an axis that snapped to
// no line moves so that the anchor's stored position lands on the nearest
// whole multiple of the step, as a single record's does. Every record of the
// group moves by (dx, dy).
struct GroupPlace {
    double dx = 0.0;
    double dy = 0.0;
    std::optional<double> guideX;
    std::optional<double> guideY;
};
std::optional<GroupPlace> GroupDragTo(const GroupDrag& drag, QPoint offset, int width, int height,
                                      const SnapTargets* targets, int gridStep = 0);

}  // namespace preview
