#pragma once

#include <QPainter>
#include <QRect>
#include <QRegion>
#include <QSize>
#include <QImage>
#include <cstddef>
#include <optional>
#include <span>
#include <vector>

#include "document/menu_item_record.h"
#include "editing/record_geometry.h"
#include "preview/preview_compose.h"
#include "preview/screen_drawing.h"
#include "preview/tile_cache.h"

namespace preview {

// What the preview shows for one redraw at any size, drawn where it is in
// view and kept in tiles: the records of the screen shown, over the
// background picture stretched over the whole surface, with the loading
// pictures above. Each tile holds exactly the pixels that `kaveldef render`
// gives there for a preview area of the surface's size. The surface itself
// is never made whole, so a zoomed surface of any size costs only the
// memory of the tiles in view and a few around them.
class TiledPreview {
  public:
    // `shown` as ScreenDrawing takes it; the pictures as the look gives
    // them. Draws nothing yet.
    TiledPreview(std::vector<MenuItemRecord> shown, TextLookup lookup, const PreviewColors& colors,
                 const PreviewPictures& pictures, QSize surface, int dpi,
                 int tileSide = TileCache::kDefaultTileSide);

    QSize size() const { return drawing_.size(); }
    const std::vector<MenuItemRecord>& records() const { return drawing_.records(); }
    const OverlayPlacements& placements() const { return drawing_.placements(); }
    const TileCache& tiles() const { return tiles_; }

    // Draws what is missing of the surface pixels `visible`. Returns the
    // pixels drawn (empty when all were there already, as after a scroll
    // back).
    QRect Show(const QRect& visible);
    // Draws up to `limit` missing tiles in a ring of one tile around
    // `visible`, nearest first: to be called while the program is idle,
    // so that scrolling finds them drawn. Returns how many it drew.
    int DrawAhead(const QRect& visible, int limit);
    // Paints the surface pixels `visible` with the surface's (0, 0) at the
    // painter's `origin`. Show them first.
    void Paint(QPainter& painter, QPoint origin, const QRect& visible) const;

    // Gives records of the shown ones these values (a drag: `indices` and
    // one geometry each) and brings the tiles in view of `visible` up to
    // date where that changed them; what changed in tiles out of view is let
    // go. Returns the surface pixels redrawn: those the records touched and
    // touch, and the old and new places of a loading picture that moved (or
    // the rectangle around them all, when they are many); all of them when
    // the window moved.
    QRegion Change(std::size_t index, const RecordGeometry& geometry, const QRect& visible);
    QRegion Change(std::span<const std::size_t> indices, std::span<const RecordGeometry> geometries,
                   const QRect& visible);
    // Takes the records shown as they are now (the same screen after an
    // edit, an undo, a command on many of its records), redrawing in view
    // only what the records that differ touched and touch. Nothing, and no
    // change, when they are not the same screen any more (another number of
    // records, or a first record that stopped or started being a window):
    // that takes a new preview.
    std::optional<QRegion> Update(std::span<const MenuItemRecord> shown, const QRect& visible);

  private:
    QImage DrawPart(const QRect& area);
    // Stretches the background over the cells of `area` not stretched yet.
    void StretchBackground(const QRect& area);
    int BackgroundColumns() const;
    // Redraws in view what the changes gave (the pixels `changed`, the
    // loading pictures' places before them being `before`).
    QRegion Redraw(const std::vector<QRect>& changed, const OverlayPlacements& before,
                   const QRect& visible);

    ScreenDrawing drawing_;
    PreviewPictures pictures_;
    // The background stretched over a surface of a few screens' size, each
    // cell once, when it is first drawn: a change on a crowded screen redraws
    // most of what is in view, and a new zoom stretches only what is seen.
    static constexpr int kBackgroundCell = 256;
    QImage background_;
    std::vector<bool> stretched_;  // cell by cell, row after row
    TileCache tiles_;
};

}  // namespace preview
