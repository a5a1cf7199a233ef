#pragma once

#include <QImage>
#include <QRect>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "document/menu_item_record.h"
#include "editing/record_geometry.h"
#include "preview/element_drawing.h"
#include "preview/preview_colors.h"
#include "preview/preview_renderer.h"

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

    const std::vector<MenuItemRecord>& records() const { return shown_; }
    const OverlayPlacements& placements() const { return placements_; }

  private:
    // Draws the records whose reach meets `area` (all, and every reach
    // found again, when `all`), clipped to it.
    void Draw(const QRect& area, bool all);
    void DrawRecord(std::size_t index);
    QRect ReachOf(std::size_t index);
    void PlaceOverlays();

    QImage& surface_;
    std::vector<MenuItemRecord> shown_;
    std::vector<std::size_t> changing_;
    PreviewColors colors_;
    int width_;
    int height_;
    QRect visible_;
    TextLookup lookup_;
    // Each record's text, found when first drawn; the painter asks for the
    // text of the record being drawn.
    std::vector<std::optional<std::optional<std::string_view>>> texts_;
    std::size_t drawing_ = 0;
    ElementPainter painter_;
    // Each record's text as measured and set, kept from step to step.
    std::vector<ElementPainter::TextCache> textCaches_;
    // Every pixel each record may touch, as last drawn.
    std::vector<QRect> reaches_;
    // The records that call for a loading picture.
    std::vector<std::size_t> overlaid_;
    OverlayPlacements placements_{};
};

}  // namespace preview
