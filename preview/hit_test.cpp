#include "preview/hit_test.h"

#include <array>

#include "document/type_code.h"
#include "preview/preview_mapping.h"
#include "preview/preview_renderer.h"

namespace preview {

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
    for (std::size_t i = end; i-- > selected;) {
        const MenuItemRecord& record = records[i];
        const Origin origin = OriginOf(records, selected, i);
        const RecordBox box = BoxOf(record, origin.x, origin.y, width, height);
        if (!topBox && CoveredRect(box).contains(pixel)) topBox = i;
        const std::optional<Overlay> overlay = OverlayCalledFor(record);
        if (!overlay) continue;
        const auto slot = static_cast<std::size_t>(*overlay);
        if (placed[slot]) continue;
        placed[slot] = true;
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
