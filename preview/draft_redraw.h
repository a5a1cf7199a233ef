#pragma once

#include <QImage>
#include <QRect>
#include <cstddef>
#include <span>
#include <vector>

#include "document/menu_item_record.h"
#include "editing/record_geometry.h"
#include "preview/element_drawing.h"
#include "preview/preview_colors.h"
#include "preview/preview_renderer.h"
#include "preview/screen_drawing.h"

namespace preview {

// The preview redrawn again and again while records of the screen shown are
// dragged (one, or a group). Each redraw gives the surface's visible part the
// pixels that DrawPreview gives it for the records as they are then, but
// repaints only the pixels the dragged records may have touched before or
// touch now, so that a drag on a screen of thousands of elements keeps up
// with the pointer. Dragging the window itself moves everything, and redraws
// all; each text is still looked up only once.
class DraftRedraw {
  public:
    // `shown`: the records the preview shows, the selected one first, as
    // DrawPreview draws them; `changing` indexes it. Draws them once. The
    // texts found must stay as they are while the draft lasts.
    DraftRedraw(QImage& surface, std::vector<MenuItemRecord> shown, std::size_t changing,
                TextLookup lookup, const PreviewColors& colors, int width, int height);
    // Several changing records, indices into `shown` in ascending order.
    DraftRedraw(QImage& surface, std::vector<MenuItemRecord> shown,
                std::vector<std::size_t> changing, TextLookup lookup, const PreviewColors& colors,
                int width, int height);
    DraftRedraw(const DraftRedraw&) = delete;
    DraftRedraw& operator=(const DraftRedraw&) = delete;

    // Gives the changing record these values and redraws. Returns the
    // surface's visible pixels that were repainted.
    QRect Change(const RecordGeometry& geometry);
    // The same for every changing record, one geometry each, in order.
    QRect Change(std::span<const RecordGeometry> geometries);

    const std::vector<MenuItemRecord>& records() const { return drawing_.records(); }
    const OverlayPlacements& placements() const { return drawing_.placements(); }

  private:
    void Draw(const QRect& area);

    QImage& surface_;
    std::vector<std::size_t> changing_;
    QRect visible_;
    ScreenDrawing drawing_;
};

}  // namespace preview
