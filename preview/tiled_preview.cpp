#include "preview/tiled_preview.h"

#include "document/type_code.h"
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
    constexpr qint64 kMostBackgroundPixels = 4096 * 2304;
    if (!pictures_.background.isNull() &&
        qint64{surface.width()} * surface.height() <= kMostBackgroundPixels) {
        background_ = QImage(surface, QImage::Format_RGB32);
        const int rows = (surface.height() + kBackgroundCell - 1) / kBackgroundCell;
        if (!background_.isNull())
            stretched_.assign(std::size_t(BackgroundColumns()) * rows, false);
    }
}

int TiledPreview::BackgroundColumns() const {
    return (background_.width() + kBackgroundCell - 1) / kBackgroundCell;
}

void TiledPreview::StretchBackground(const QRect& area) {
    const QRect part = area & background_.rect();
    if (part.isEmpty()) return;
    const int columns = BackgroundColumns();
    for (int row = part.top() / kBackgroundCell; row <= part.bottom() / kBackgroundCell; ++row) {
        for (int column = part.left() / kBackgroundCell; column <= part.right() / kBackgroundCell;
             ++column) {
            const std::size_t at = std::size_t(row) * columns + column;
            if (stretched_[at]) continue;
            stretched_[at] = true;
            const QRect cell =
                QRect(column * kBackgroundCell, row * kBackgroundCell, kBackgroundCell,
                      kBackgroundCell) &
                background_.rect();
            // The cell's own pixels, written in place.
            QImage inPlace(background_.bits() + cell.y() * background_.bytesPerLine() +
                               cell.x() * qsizetype{sizeof(QRgb)},
                           cell.width(), cell.height(), background_.bytesPerLine(),
                           QImage::Format_RGB32);
            StretchPicture(inPlace, cell.topLeft(), pictures_.background, background_.rect());
        }
    }
}

QImage TiledPreview::DrawPart(const QRect& area) {
    if (background_.isNull()) return ComposeSurfacePart(drawing_, pictures_, area, nullptr);
    StretchBackground(area);
    return ComposeSurfacePart(drawing_, pictures_, area, &background_);
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
    return Change(std::span<const std::size_t>(&index, 1),
                  std::span<const RecordGeometry>(&geometry, 1), visible);
}

QRegion TiledPreview::Change(std::span<const std::size_t> indices,
                             std::span<const RecordGeometry> geometries, const QRect& visible) {
    const OverlayPlacements before = drawing_.placements();
    std::vector<QRect> changed;
    for (std::size_t k = 0; k < indices.size() && k < geometries.size(); ++k)
        changed.push_back(drawing_.Change(indices[k], geometries[k]));
    return Redraw(changed, before, visible);
}

std::optional<QRegion> TiledPreview::Update(std::span<const MenuItemRecord> shown,
                                            const QRect& visible) {
    const std::vector<MenuItemRecord>& now = drawing_.records();
    // A record that is no window is drawn alone, whatever follows it.
    if (shown.empty() || now.empty() || type_code::IsWindow(shown[0]) != type_code::IsWindow(now[0]))
        return std::nullopt;
    if (!type_code::IsWindow(shown[0])) shown = shown.first(1);
    if (shown.size() != now.size()) return std::nullopt;
    const OverlayPlacements before = drawing_.placements();
    std::vector<QRect> changed;
    for (std::size_t i = 0; i < shown.size(); ++i) {
        // Compared as stored, so that a NaN that stays is no change.
        if (!SameBits(shown[i], now[i])) changed.push_back(drawing_.Change(i, shown[i]));
    }
    return Redraw(changed, before, visible);
}

QRegion TiledPreview::Redraw(const std::vector<QRect>& changed, const OverlayPlacements& before,
                             const QRect& visible) {
    std::vector<QRect> parts = changed;
    const OverlayPlacements& after = drawing_.placements();
    for (std::size_t i = 0; i < after.size(); ++i) {
        if (before[i].visible == after[i].visible &&
            (!after[i].visible || before[i].bounds == after[i].bounds)) {
            continue;
        }
        // Placements are in panel coordinates, one pixel off the surface's.
        for (const OverlayPlacement& placement : {before[i], after[i]}) {
            if (placement.visible) parts.push_back(placement.bounds.translated(-1, -1));
        }
    }
    // Each part is drawn in one pass over the records: many parts (a
    // command on many records) are drawn as the one rectangle around them,
    // and only a few are ever made a region of.
    constexpr std::size_t kMostParts = 8;
    const QRect surface(QPoint(0, 0), size());
    QRegion region;
    if (parts.size() > kMostParts) {
        QRect around;
        for (const QRect& part : parts) around |= part;
        region = around & surface;
    } else {
        for (const QRect& part : parts) region += part & surface;
    }
    for (const QRect& area : region) {
        tiles_.Redraw(area, visible, [this](const QRect& part) { return DrawPart(part); });
    }
    return region;
}

}  // namespace preview
