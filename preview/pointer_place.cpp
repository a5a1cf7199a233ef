#include "preview/pointer_place.h"

#include <QRect>

#include "document/type_code.h"
#include "preview/hit_test.h"
#include "preview/view_geometry.h"
#include "preview/view_grid.h"

namespace preview {

std::optional<PointerPlace> PointerPlaceAt(std::span<const MenuItemRecord> records,
                                           std::size_t shown, QPoint pixel, QSize surface) {
    if (!QRect(QPoint(0, 0), surface).contains(pixel)) return std::nullopt;
    PointerPlace place;
    // From the corner, within the screen: always a whole number of units.
    place.x = *UnitAtColumn(pixel.x(), surface.width());
    place.y = *UnitAtRow(pixel.y(), surface.height());
    if (shown >= records.size()) return place;
    place.record = RecordAt(records, shown, pixel, surface.width(), surface.height());
    if (place.record && type_code::IsWindow(records[shown])) {
        const Origin origin = GridOrigin(records, shown);
        const std::optional<int> x = UnitAtColumn(pixel.x(), surface.width(), origin.x);
        const std::optional<int> y = UnitAtRow(pixel.y(), surface.height(), origin.y);
        if (x && y) {
            place.windowX = x;
            place.windowY = y;
        }
    }
    return place;
}

}  // namespace preview
