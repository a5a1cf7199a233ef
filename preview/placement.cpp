#include "preview/placement.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "document/type_code.h"
#include "preview/preview_mapping.h"

namespace preview {

namespace {

// What a drag moves on one axis: nothing, the whole box, or the box's lower
// or higher edge as it shows (left or top, right or bottom).
enum class Part { None, Whole, Low, High };

struct Axis {
    float pos = 0.0f;
    float scale = 0.0f;
};

Part XPart(std::optional<Handle> handle) {
    if (!handle) return Part::Whole;
    switch (*handle) {
        case Handle::TopLeft:
        case Handle::Left:
        case Handle::BottomLeft:
            return Part::Low;
        case Handle::TopRight:
        case Handle::Right:
        case Handle::BottomRight:
            return Part::High;
        case Handle::Top:
        case Handle::Bottom:
            break;
    }
    return Part::None;
}

Part YPart(std::optional<Handle> handle) {
    if (!handle) return Part::Whole;
    switch (*handle) {
        case Handle::TopLeft:
        case Handle::Top:
        case Handle::TopRight:
            return Part::Low;
        case Handle::BottomLeft:
        case Handle::Bottom:
        case Handle::BottomRight:
            return Part::High;
        case Handle::Left:
        case Handle::Right:
            break;
    }
    return Part::None;
}

std::optional<float> FiniteFloat(double value) {
    // Also false for NaN. Beyond the float range the conversion is undefined.
    if (!(std::abs(value) <= std::numeric_limits<float>::max())) return std::nullopt;
    return static_cast<float>(value);
}

std::optional<Axis> Shift(Axis start, Part part, double units) {
    if (part == Part::None || units == 0.0) return start;
    if (part == Part::Whole) {
        const std::optional<float> pos = FiniteFloat(start.pos + units);
        if (!pos) return std::nullopt;
        return Axis{*pos, start.scale};
    }
    const bool low = part == Part::Low;
    const bool turned = start.scale < 0.0f;
    const double size = std::abs(static_cast<double>(start.scale));
    const double smallest = std::min(size, 1.0);
    if (size + (low ? -units : units) < smallest) units = low ? size - smallest : smallest - size;
    if (units == 0.0) return start;
    // The record's own edges are pos and pos + scale; the lower one on the
    // preview is pos unless the box is turned over by a negative scale.
    if (low != turned) {
        const std::optional<float> pos = FiniteFloat(start.pos + units);
        const std::optional<float> scale = FiniteFloat(start.scale - units);
        if (!pos || !scale) return std::nullopt;
        return Axis{*pos, *scale};
    }
    const std::optional<float> scale = FiniteFloat(start.scale + units);
    if (!scale) return std::nullopt;
    return Axis{start.pos, *scale};
}

// The box's edges on one axis in virtual units, summed as BoxOf sums them.
struct Edges {
    double low;
    double high;
};
Edges EdgesOf(Axis axis, double origin) {
    const double first = origin + axis.pos;
    const double second = first + axis.scale;
    return {std::min(first, second), std::max(first, second)};
}

// The line nearest to one of the candidate edges, within reach, and how far
// that edge is from it.
struct Snap {
    double line;
    double offset;
};
std::optional<Snap> SnapOf(std::span<const double> candidates, const SnapLines& lines,
                           double reach) {
    std::optional<Snap> snap;
    for (const double edge : candidates) {
        const std::optional<double> found = lines.Nearest(edge, reach);
        if (found && (!snap || std::abs(*found - edge) < std::abs(snap->offset)))
            snap = Snap{*found, *found - edge};
    }
    return snap;
}

struct AxisPlace {
    std::optional<Axis> axis;
    std::optional<double> guide;
};

// The value that a grid holds on an axis: the stored position for a move,
// the moving edge as it shows (relative to the origin) for a handle.
double GridValue(Axis axis, Part part) {
    if (part == Part::Whole) return axis.pos;
    const Edges edges = EdgesOf(axis, 0.0);
    return part == Part::Low ? edges.low : edges.high;
}

// `start` shifted so that its grid value lands on `target`; nothing when
// the size limits of Shift keep it off. A size cannot always put an edge
// exactly on a whole number (pos + scale in floats), so landing within the
// floats' rounding counts.
std::optional<Axis> ShiftOnto(Axis start, Part part, double target) {
    const std::optional<Axis> shifted = Shift(start, part, target - GridValue(start, part));
    if (!shifted) return std::nullopt;
    const double tolerance = std::max(1e-4, std::abs(target) * 1e-6);
    if (!(std::abs(GridValue(*shifted, part) - target) <= tolerance)) return std::nullopt;
    return shifted;
}

// The axis moved by `units` and then on to the nearest grid line.
std::optional<Axis> OnGrid(Axis start, Part part, double units, int step) {
    const double value = GridValue(start, part) + units;
    return ShiftOnto(start, part, std::round(value / step) * step);
}

AxisPlace SnapToLine(Axis start, Axis moved, Part part, double units, double origin,
                     const SnapLines* lines, double unitsPerPixel) {
    if (lines == nullptr) return {moved, std::nullopt};
    const Edges edges = EdgesOf(moved, origin);
    const double middle = (edges.low + edges.high) / 2;
    const std::array<double, 3> whole = {edges.low, middle, edges.high};
    const std::span<const double> candidates =
        part == Part::Whole ? std::span<const double>(whole)
        : part == Part::Low ? std::span<const double>(&whole[0], 1)
                            : std::span<const double>(&whole[2], 1);
    const std::optional<Snap> snap = SnapOf(candidates, *lines, kSnapPixels * unitsPerPixel);
    if (!snap) return {moved, std::nullopt};
    const double offset = snap->offset;
    const std::optional<double> line = snap->line;
    const std::optional<Axis> snapped = Shift(start, part, units + offset);
    if (!snapped) return {moved, std::nullopt};
    if (part != Part::Whole) {
        // A size held at its smallest keeps the edge off the line: no snap.
        const Edges after = EdgesOf(*snapped, origin);
        const double landed = part == Part::Low ? after.low : after.high;
        if (std::abs(landed - *line) > unitsPerPixel / 2) return {moved, std::nullopt};
    }
    return {snapped, line};
}

AxisPlace DragAxis(Axis start, Part part, double units, double origin, const SnapLines* lines,
                   double unitsPerPixel, int gridStep) {
    const std::optional<Axis> moved = Shift(start, part, units);
    if (!moved || part == Part::None) return {moved, std::nullopt};
    // A neighbour's edge within reach wins; the grid holds everywhere else.
    const AxisPlace byLine = SnapToLine(start, *moved, part, units, origin, lines, unitsPerPixel);
    if (byLine.guide || gridStep <= 0) return byLine;
    if (const std::optional<Axis> gridded = OnGrid(start, part, units, gridStep)) {
        return {gridded, std::nullopt};
    }
    return byLine;
}

}  // namespace

double UnitsX(int pixels, int width) {
    if (width <= 0) return 0.0;
    return std::round(pixels * kVirtualWidth / width);
}

double UnitsY(int pixels, int height) {
    if (height <= 0) return 0.0;
    return std::round(pixels * kVirtualHeight / height);
}

QRect HandleRect(const QRect& covered, Handle handle) {
    const int left = covered.x();
    const int right = covered.x() + std::max(covered.width() - 1, 0);
    const int top = covered.y();
    const int bottom = covered.y() + std::max(covered.height() - 1, 0);
    const int x = XPart(handle) == Part::Low    ? left
                  : XPart(handle) == Part::High ? right
                                                : left + (right - left) / 2;
    const int y = YPart(handle) == Part::Low    ? top
                  : YPart(handle) == Part::High ? bottom
                                                : top + (bottom - top) / 2;
    return QRect(x - kHandleSize / 2, y - kHandleSize / 2, kHandleSize, kHandleSize);
}

std::optional<Handle> HandleAt(const QRect& covered, QPoint pixel) {
    // Of handles on one spot, those that pull the box outwards to the right
    // and down come first: a box too small to tell them apart can only grow.
    static constexpr Handle kPreference[] = {
        Handle::BottomRight, Handle::Right, Handle::Bottom, Handle::TopRight,
        Handle::BottomLeft,  Handle::Top,   Handle::Left,   Handle::TopLeft};
    std::optional<Handle> found;
    int nearest = std::numeric_limits<int>::max();
    for (const Handle handle : kPreference) {
        const QRect square = HandleRect(covered, handle);
        if (!square.adjusted(-1, -1, 1, 1).contains(pixel)) continue;
        const QPoint apart = pixel - square.center();
        const int distance = std::max(std::abs(apart.x()), std::abs(apart.y()));
        if (distance < nearest) {
            nearest = distance;
            found = handle;
        }
    }
    return found;
}

std::optional<RecordGeometry> Placed(const RecordGeometry& start, std::optional<Handle> handle,
                                     double dx, double dy) {
    if (!IsFinite(start)) return std::nullopt;
    const std::optional<Axis> x = Shift({start.posX, start.scaleX}, XPart(handle), dx);
    const std::optional<Axis> y = Shift({start.posY, start.scaleY}, YPart(handle), dy);
    if (!x || !y) return std::nullopt;
    return RecordGeometry{x->pos, y->pos, x->scale, y->scale};
}

void SnapLines::Add(double low, double high) {
    lines_.insert(lines_.end(), {low, (low + high) / 2, high});
}

void SnapLines::Sort() {
    std::sort(lines_.begin(), lines_.end());
    lines_.erase(std::unique(lines_.begin(), lines_.end()), lines_.end());
}

std::optional<double> SnapLines::Nearest(double at, double reach) const {
    const auto above = std::lower_bound(lines_.begin(), lines_.end(), at);
    std::optional<double> nearest;
    if (above != lines_.end()) nearest = *above;
    if (above != lines_.begin() && (!nearest || at - *(above - 1) < *nearest - at)) {
        nearest = *(above - 1);
    }
    if (!nearest || !(std::abs(*nearest - at) <= reach)) return std::nullopt;
    return nearest;
}

SnapTargets SnapTargetsFor(std::span<const MenuItemRecord> records, std::size_t selected,
                           std::size_t dragged) {
    return SnapTargetsFor(records, selected, RowRanges::Single(dragged));
}

SnapTargets SnapTargetsFor(std::span<const MenuItemRecord> records, std::size_t selected,
                           const RowRanges& dragged) {
    SnapTargets targets;
    targets.x.Add(0.0, kVirtualWidth);
    targets.y.Add(0.0, kVirtualHeight);
    const bool windowDragged =
        dragged.Contains(selected) && type_code::IsWindow(records[selected]);
    if (!windowDragged) {
        const std::size_t end = ShownEnd(records, selected);
        for (std::size_t i = selected; i < end; ++i) {
            const RecordGeometry geometry = GeometryOf(records[i]);
            if (dragged.Contains(i) || !IsFinite(geometry) || geometry.scaleX == 0.0f ||
                geometry.scaleY == 0.0f) {
                continue;
            }
            const Origin origin = OriginOf(records, selected, i);
            const Edges x = EdgesOf({geometry.posX, geometry.scaleX}, origin.x);
            const Edges y = EdgesOf({geometry.posY, geometry.scaleY}, origin.y);
            targets.x.Add(x.low, x.high);
            targets.y.Add(y.low, y.high);
        }
    }
    targets.x.Sort();
    targets.y.Sort();
    return targets;
}

std::optional<DragPlace> DragTo(const Drag& drag, QPoint offset, int width, int height,
                                const SnapTargets* targets, int gridStep) {
    if (!IsFinite(drag.start) || width <= 0 || height <= 0) return std::nullopt;
    const AxisPlace x = DragAxis({drag.start.posX, drag.start.scaleX}, XPart(drag.handle),
                                 UnitsX(offset.x(), width), drag.origin.x,
                                 targets ? &targets->x : nullptr, kVirtualWidth / width, gridStep);
    const AxisPlace y = DragAxis(
        {drag.start.posY, drag.start.scaleY}, YPart(drag.handle), UnitsY(offset.y(), height),
        drag.origin.y, targets ? &targets->y : nullptr, kVirtualHeight / height, gridStep);
    if (!x.axis || !y.axis) return std::nullopt;
    return DragPlace{{x.axis->pos, y.axis->pos, x.axis->scale, y.axis->scale}, x.guide, y.guide};
}

namespace {

std::optional<Axis> NudgedAxis(Axis start, Part part, int direction, double distance,
                               int gridStep) {
    if (direction == 0 || part == Part::None) return start;
    if (gridStep <= 0) return Shift(start, part, direction * distance);
    const double value = GridValue(start, part);
    const double target = direction > 0 ? std::ceil((value + distance) / gridStep) * gridStep
                                        : std::floor((value - distance) / gridStep) * gridStep;
    // Where the size limits keep the edge off the grid, it moves as far as
    // they let it.
    if (const std::optional<Axis> landed = ShiftOnto(start, part, target)) return landed;
    return Shift(start, part, target - value);
}

}  // namespace

std::optional<RecordGeometry> Nudged(const RecordGeometry& start, std::optional<Handle> handle,
                                     int dx, int dy, double distance, int gridStep) {
    if (!IsFinite(start)) return std::nullopt;
    const std::optional<Axis> x =
        NudgedAxis({start.posX, start.scaleX}, XPart(handle), dx, distance, gridStep);
    const std::optional<Axis> y =
        NudgedAxis({start.posY, start.scaleY}, YPart(handle), dy, distance, gridStep);
    if (!x || !y) return std::nullopt;
    return RecordGeometry{x->pos, y->pos, x->scale, y->scale};
}

std::optional<GroupDrag> GroupOf(std::span<const MenuItemRecord> records, std::size_t selected,
                                 const RowRanges& dragged) {
    std::optional<GroupDrag> group;
    const std::size_t end = ShownEnd(records, selected);
    dragged.ForEach([&](std::size_t i) {
        if (i < selected || i >= end || !IsFinite(GeometryOf(records[i]))) return;
        const Origin origin = OriginOf(records, selected, i);
        const Edges x = EdgesOf({records[i].posX, records[i].scaleX}, origin.x);
        const Edges y = EdgesOf({records[i].posY, records[i].scaleY}, origin.y);
        if (!group) {
            group = GroupDrag{x.low, y.low, x.high, y.high, records[i].posX, records[i].posY};
            return;
        }
        group->left = std::min(group->left, x.low);
        group->top = std::min(group->top, y.low);
        group->right = std::max(group->right, x.high);
        group->bottom = std::max(group->bottom, y.high);
    });
    return group;
}

std::optional<GroupPlace> GroupDragTo(const GroupDrag& drag, QPoint offset, int width, int height,
                                      const SnapTargets* targets, int gridStep) {
    if (width <= 0 || height <= 0) return std::nullopt;
    GroupPlace place;
    const auto axis = [gridStep](double low, double high, double anchor, double units,
                                 const SnapLines* lines, double unitsPerPixel, double& moved,
                                 std::optional<double>& guide) {
        moved = units;
        if (lines != nullptr) {
            const std::array<double, 3> edges = {low + units, (low + high) / 2 + units,
                                                 high + units};
            if (const std::optional<Snap> snap =
                    SnapOf(edges, *lines, kSnapPixels * unitsPerPixel)) {
                moved = units + snap->offset;
                guide = snap->line;
                return;
            }
        }
        // The anchor lands on the grid; the others keep their places to it.
        if (gridStep > 0) moved = std::round((anchor + units) / gridStep) * gridStep - anchor;
    };
    axis(drag.left, drag.right, drag.anchorX, UnitsX(offset.x(), width),
         targets ? &targets->x : nullptr, kVirtualWidth / width, place.dx, place.guideX);
    axis(drag.top, drag.bottom, drag.anchorY, UnitsY(offset.y(), height),
         targets ? &targets->y : nullptr, kVirtualHeight / height, place.dy, place.guideY);
    return place;
}

}  // namespace preview
