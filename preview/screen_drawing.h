#pragma once

#include <QImage>
#include <QRect>
#include <QSize>
#include <cstddef>
#include <optional>
#include <string_view>
#include <vector>

#include "document/menu_item_record.h"
#include "editing/record_geometry.h"
#include "preview/element_drawing.h"
#include "preview/preview_colors.h"
#include "preview/preview_renderer.h"

namespace preview {

// The records one redraw of the preview shows, drawn onto a surface of
// width x height pixels any rectangle at a time: the surface itself need
// never exist whole (a zoomed surface may be tens of thousands of pixels
// wide). Every rectangle gets exactly the pixels that DrawPreview gives it
// on the whole surface.
//
// It keeps what it found out about each record while drawing (its text, the
// text's measures and layout, the pixels it may touch), so that drawing
// another rectangle draws only the records that reach into it, and a record
// that changes (a drag) needs only the pixels it touched and touches redrawn.
class ScreenDrawing {
  public:
    // `shown`: the records the preview shows, the selected one first, as
    // DrawPreview draws them (a record that is no window is shown alone).
    // Texts are drawn at `dpi` dots per inch. The texts found must stay as
    // they are while the drawing lasts.
    ScreenDrawing(std::vector<MenuItemRecord> shown, TextLookup lookup, const PreviewColors& colors,
                  QSize surface, int dpi);
    ScreenDrawing(const ScreenDrawing&) = delete;
    ScreenDrawing& operator=(const ScreenDrawing&) = delete;

    QSize size() const { return size_; }
    const std::vector<MenuItemRecord>& records() const { return shown_; }
    const PreviewColors& colors() const { return colors_; }
    // Where the loading pictures go, in the preview panel's coordinates (the
    // surface's (0, 0) is the panel's (1, 1)), as DrawPreview places them.
    const OverlayPlacements& placements() const { return placements_; }

    // Draws the pixels of `area` (surface pixels, within the surface) into
    // `target`, which holds the surface's pixels from `origin` on: the key
    // colour, then the records that reach into the area, clipped to it.
    void Draw(QImage& target, QPoint origin, const QRect& area);
    // A new image of the area's pixels, at the drawing's dots per inch.
    QImage Drawn(const QRect& area);

    // Gives record `index` of the shown ones these values. Returns the
    // surface pixels whose drawing may now differ: those the record touched
    // and touches, or all of them when the window itself changed, since its
    // elements move with it. The loading pictures are placed anew.
    QRect Change(std::size_t index, const RecordGeometry& geometry);
    // The same for any of the record's fields (its text, its type ...). Each
    // record keeps its text's measures and layout for as long as its text
    // and text size stay the same, so a change redraws without setting the
    // texts of the records around it again. A first record that stops or
    // starts being a window changes which records are drawn: that takes a
    // new drawing.
    QRect Change(std::size_t index, const MenuItemRecord& record);

  private:
    void DrawRecord(std::size_t index);
    QRect ReachOf(std::size_t index);
    void PlaceOverlays();
    QImage Target(QSize size) const;

    std::vector<MenuItemRecord> shown_;
    PreviewColors colors_;
    QSize size_;
    int dpi_;
    TextLookup lookup_;
    // Each record's text, found when first drawn; the painter asks for the
    // text of the record being drawn.
    std::vector<std::optional<std::optional<std::string_view>>> texts_;
    std::size_t drawing_ = 0;
    // A pixel at the drawing's dots per inch, the painter's target between
    // drawings.
    QImage idle_;
    ElementPainter painter_;
    // Each record's text as measured and set, kept from drawing to drawing.
    std::vector<ElementPainter::TextCache> textCaches_;
    // Every pixel each record may touch, once it has been drawn.
    std::vector<QRect> reaches_;
    bool reachesKnown_ = false;
    // The records that call for a loading picture.
    std::vector<std::size_t> overlaid_;
    OverlayPlacements placements_{};
};

}  // namespace preview
