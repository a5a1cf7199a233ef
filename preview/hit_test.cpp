#include "preview/hit_test.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "document/screen.h"
#include "document/type_code.h"
#include "preview/preview_mapping.h"
#include "preview/preview_renderer.h"

namespace preview {

namespace {

// Whether the pixel lies between two mapped edges as CoveredRect takes them:
// from the lower up to, not including, the higher; nowhere when one is NaN.
template <int (*Map)(double, int)>
bool Between(int pixel, double first, double second, int size) {
    if (std::isnan(first) || std::isnan(second)) return false;
    const int a = Map(first, size);
    const int b = Map(second, size);
    return std::min(a, b) <= pixel && pixel < std::max(a, b);
}

// CoveredRect(BoxOf(...)).contains(pixel), the columns first: most boxes of
// a crowded screen are left or right of the pointer.
bool Covers(const MenuItemRecord& record, const Origin& origin, QPoint pixel, int width,
            int height) {
    const double left = origin.x + record.posX;
    const double top = origin.y + record.posY;
    return Between<MapX>(pixel.x(), left, left + record.scaleX, width) &&
           Between<MapY>(pixel.y(), top, top + record.scaleY, height);
}

}  // namespace

std::size_t ShownFor(std::span<const MenuItemRecord> records, std::size_t index, bool inWindow) {
    if (!inWindow) return index;
    return screen::WindowOf(records, index).value_or(index);
}

std::size_t ShownEnd(std::span<const MenuItemRecord> records, std::size_t selected) {
    std::size_t end = selected + 1;
    if (!type_code::IsWindow(records[selected])) return end;
    while (end < records.size() && !type_code::IsWindow(records[end])) ++end;
    return end;
}

Origin OriginOf(std::span<const MenuItemRecord> records, std::size_t selected, std::size_t index) {
    if (index == selected) return {};
    const MenuItemRecord& window = records[selected];
    return {window.posX, static_cast<double>(window.posY) + CaptionOffset(window)};
}

std::optional<std::size_t> RecordAt(std::span<const MenuItemRecord> records,
                                    std::size_t selected, QPoint pixel, int width, int height) {
    if (selected >= records.size() || width <= 0 || height <= 0) return std::nullopt;
    const std::size_t end = ShownEnd(records, selected);
    std::optional<std::size_t> topBox;
    // The record each loading picture ends up on: the last that calls for it.
    std::array<std::optional<std::size_t>, kOverlayCount> overlaid;
    std::array<bool, kOverlayCount> placed{};
    const Origin elements = OriginOf(records, selected, selected + 1);
    for (std::size_t i = end; i-- > selected;) {
        const MenuItemRecord& record = records[i];
        const Origin origin = i == selected ? Origin{} : elements;
        if (!topBox && Covers(record, origin, pixel, width, height)) topBox = i;
        const std::optional<Overlay> overlay = OverlayCalledFor(record);
        if (!overlay) continue;
        const auto slot = static_cast<std::size_t>(*overlay);
        if (placed[slot]) continue;
        placed[slot] = true;
        const RecordBox box = BoxOf(record, origin.x, origin.y, width, height);
        const OverlayPlacement placement = PlaceOverlay(record, box, width, height);
        // Placements are in panel coordinates, one pixel off the surface's.
        if (placement.visible && placement.bounds.contains(pixel + QPoint(1, 1))) overlaid[slot] = i;
    }
    for (std::size_t slot = kOverlayCount; slot-- > 0;) {
        if (overlaid[slot]) return overlaid[slot];
    }
    return topBox;
}

}  // namespace preview
