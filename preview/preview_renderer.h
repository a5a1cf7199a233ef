#pragma once

#include <QImage>
#include <QRect>
#include <QSize>
#include <array>
#include <cstddef>
#include <optional>
#include <span>

#include "document/menu_item_record.h"
#include "preview/element_drawing.h"
#include "preview/preview_colors.h"
#include "preview/preview_mapping.h"

// The menu preview: records drawn onto a screen-sized surface, plus where the
// four loading pictures go over it. Free of any window: the editor's window
// and the command-line renderer both call it.
namespace preview {

inline constexpr int kDefaultPreviewDpi = 96;

// The pictures laid over the preview, in stacking order (the last on top).
enum class Overlay { Atcr101, Atcr100, Atcr102, Trbp300 };
inline constexpr int kOverlayCount = 4;

// Where an overlay goes, in the preview panel's coordinates: the surface's
// (0, 0) is the panel's (1, 1). The bounds mean nothing while it is hidden.
struct OverlayPlacement {
    QRect bounds;
    bool visible = false;
};
// Indexed by Overlay.
using OverlayPlacements = std::array<OverlayPlacement, kOverlayCount>;

inline OverlayPlacement& At(OverlayPlacements& placements, Overlay overlay) {
    return placements[static_cast<std::size_t>(overlay)];
}
inline const OverlayPlacement& At(const OverlayPlacements& placements, Overlay overlay) {
    return placements[static_cast<std::size_t>(overlay)];
}

// rcta records with id 101, 100 or 102 and the pbrt record with id 300 call
// for the overlay of that name; every other record for none.
std::optional<Overlay> OverlayCalledFor(const MenuItemRecord& record);

// An overlay on a record whose box is `box`: from the box's top-left corner
// plus one, MapX(scaleX) - 2 by MapY(scaleY) - 2 pixels (the scale alone is
// mapped). An overlay with no width or height left (or on an undefined box) is
// hidden: a picture cannot be stretched to a negative size, and one of zero
// size would show nothing while still claiming to be shown.
OverlayPlacement PlaceOverlay(const MenuItemRecord& record, const RecordBox& box, int width,
                              int height);

// A surface as large as the screen, filled with skinColor1, at `dpi` dots per
// inch (1 to 10,000; the font sizes in points become pixels at that
// resolution).
QImage PreparePreviewSurface(QSize screen, const PreviewColors& colors,
                             int dpi = kDefaultPreviewDpi);

// Redraws the preview of a width x height client area onto the surface:
//  1. fills columns 0..width-1, rows 0..height-1 with skinColor1 (the rest of
//     the surface keeps what it had);
//  2. draws the selected record by itself;
//  3. places the overlay it calls for on its box and hides the others;
//  4. if it is a window, draws each following record up to the next window
//     as an element of its screen, and places the overlays they call for
//     (the last record calling for one wins);
//  5. paints the surface's bottom-left pixel in skinColor1, which marks the
//     colour that shows as transparent.
// With no record selected (index out of range) only steps 1 and 5 happen and
// every overlay is hidden. Returns the overlays' placements.
OverlayPlacements DrawPreview(QImage& surface, std::span<const MenuItemRecord> records,
                              std::ptrdiff_t selected, const TextLookup& lookup,
                              const PreviewColors& colors, int width, int height);

}  // namespace preview
