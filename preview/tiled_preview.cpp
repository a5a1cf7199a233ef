#include "preview/tiled_preview.h"

#include "preview/picture_stretch.h"

namespace preview {

TiledPreview::TiledPreview(std::vector<MenuItemRecord> shown, TextLookup lookup,
                           const PreviewColors& colors, const PreviewPictures& pictures,
                           QSize surface, int dpi, int tileSide)
    : drawing_(std::move(shown), std::move(lookup), colors, surface, dpi),
      tiles_(surface, tileSide) {
    // Made opaque once here, not for every tile.
    pictures_.background = OpaquePicture(pictures.background);
    for (std::size_t i = 0; i < pictures_.overlays.size(); ++i) {
        pictures_.overlays[i] = OpaquePicture(pictures.overlays[i]);
    }
}

QImage TiledPreview::DrawPart(const QRect& area) {
    return ComposeSurfacePart(drawing_, pictures_, area);
}

QRect TiledPreview::Show(const QRect& visible) {
    return tiles_.Ensure(visible, [this](const QRect& area) { return DrawPart(area); });
}

int TiledPreview::DrawAhead(const QRect& visible, int limit) {
    const int side = tiles_.tileSide();
    return tiles_.EnsureSome(
        visible.adjusted(-side, -side, side, side),
        [this](const QRect& area) { return DrawPart(area); }, limit);
}

void TiledPreview::Paint(QPainter& painter, QPoint origin, const QRect& visible) const {
    tiles_.Paint(painter, origin, visible);
}

QRegion TiledPreview::Change(std::size_t index, const RecordGeometry& geometry,
                             const QRect& visible) {
    const OverlayPlacements before = drawing_.placements();
    QRegion changed(drawing_.Change(index, geometry));
    const OverlayPlacements& after = drawing_.placements();
    for (std::size_t i = 0; i < after.size(); ++i) {
        if (before[i].visible == after[i].visible &&
            (!after[i].visible || before[i].bounds == after[i].bounds)) {
            continue;
        }
        // Placements are in panel coordinates, one pixel off the surface's.
        for (const OverlayPlacement& placement : {before[i], after[i]}) {
            if (placement.visible) changed += placement.bounds.translated(-1, -1);
        }
    }
    changed &= QRect(QPoint(0, 0), size());
    for (const QRect& area : changed) {
        tiles_.Redraw(area, visible, [this](const QRect& part) { return DrawPart(part); });
    }
    return changed;
}

}  // namespace preview
