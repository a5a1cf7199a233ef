#include "preview/view_grid.h"

#include <cmath>

#include "document/type_code.h"
#include "preview/preview_mapping.h"

namespace preview {

namespace {

// The lines of one axis on the pixels first..last of a side of `side`
// pixels standing for `units` units. Map is MapX or MapY.
template <int (*Map)(double, int)>
std::vector<int> AxisLines(double origin, int step, int side, double units, int first, int last,
                           int& every) {
    std::vector<int> lines;
    // Far beyond any screen; keeps the count of lines and their sums exact.
    constexpr double kLimit = 1e9;
    if (step <= 0 || side <= 0 || first > last || !(std::abs(origin) <= kLimit)) return lines;
    const double pixelsPerUnit = side / units;
    every = std::max(1, static_cast<int>(std::ceil(kGridSpacing / (step * pixelsPerUnit))));
    const double spacing = static_cast<double>(step) * every;
    // A line or two more on each side: the drawing's mapping decides.
    const double from = std::floor((first / pixelsPerUnit - origin) / spacing) - 1;
    const double to = std::ceil(((last + 1) / pixelsPerUnit - origin) / spacing) + 1;
    for (double k = from; k <= to; ++k) {
        const int pixel = Map(origin + k * spacing, side);
        if (pixel < first || pixel > last) continue;
        if (lines.empty() || lines.back() != pixel) lines.push_back(pixel);
    }
    return lines;
}

}  // namespace

Origin GridOrigin(std::span<const MenuItemRecord> records, std::size_t shown) {
    if (!type_code::IsWindow(records[shown])) return {};
    return OriginOf(records, shown, shown + 1);
}

GridLines VisibleGridLines(const ViewGeometry& view, const Origin& origin, int step) {
    GridLines grid;
    const QRect visible = view.visibleSurface();
    const QSize surface = view.surface();
    grid.columns = AxisLines<MapX>(origin.x, step, surface.width(), kVirtualWidth, visible.left(),
                                   visible.right(), grid.everyX);
    grid.rows = AxisLines<MapY>(origin.y, step, surface.height(), kVirtualHeight, visible.top(),
                                visible.bottom(), grid.everyY);
    const QPoint shift = view.surfaceOrigin();
    for (int& column : grid.columns) column += shift.x();
    for (int& row : grid.rows) row += shift.y();
    return grid;
}

}  // namespace preview
