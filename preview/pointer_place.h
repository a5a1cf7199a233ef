#pragma once

#include <QPoint>
#include <QSize>
#include <cstddef>
#include <optional>
#include <span>

#include "document/menu_item_record.h"

namespace preview {

// Where the pointer is on the preview, in the game's units, as the status
// bar tells it: on the screen, and, over a window's screen, in that window.
struct PointerPlace {
    // Units from the screen's corner (UnitAtColumn, UnitAtRow).
    int x = 0;
    int y = 0;
    // The record drawn topmost under the pointer, if any.
    std::optional<std::size_t> record;
    // Units from the window's origin (its position below its caption, where
    // its elements' positions count from), while the pointer is over the
    // window shown or one of its elements.
    std::optional<int> windowX;
    std::optional<int> windowY;
};

// The place of surface pixel `pixel` of the preview of `shown` (a valid
// index) at `surface` pixels. Nothing off the surface.
std::optional<PointerPlace> PointerPlaceAt(std::span<const MenuItemRecord> records,
                                           std::size_t shown, QPoint pixel, QSize surface);

}  // namespace preview
