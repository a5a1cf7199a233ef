#include "preview/draft_redraw.h"

namespace preview {

DraftRedraw::DraftRedraw(QImage& surface, std::vector<MenuItemRecord> shown, std::size_t changing,
                         TextLookup lookup, const PreviewColors& colors, int width, int height)
    : DraftRedraw(surface, std::move(shown), std::vector<std::size_t>{changing},
                  std::move(lookup), colors, width, height) {}

DraftRedraw::DraftRedraw(QImage& surface, std::vector<MenuItemRecord> shown,
                         std::vector<std::size_t> changing, TextLookup lookup,
                         const PreviewColors& colors, int width, int height)
    : surface_(surface),
      changing_(std::move(changing)),
      visible_(QRect(0, 0, width, height) & surface.rect()),
      drawing_(std::move(shown), std::move(lookup), colors, QSize(width, height),
               surface.logicalDpiY()) {
    Draw(visible_);
}

QRect DraftRedraw::Change(const RecordGeometry& geometry) {
    return Change(std::span<const RecordGeometry>(&geometry, 1));
}

QRect DraftRedraw::Change(std::span<const RecordGeometry> geometries) {
    QRect area;
    for (std::size_t k = 0; k < changing_.size() && k < geometries.size(); ++k) {
        const std::size_t index = changing_[k];
        if (index >= drawing_.records().size()) continue;
        area |= drawing_.Change(index, geometries[k]);
    }
    area &= visible_;
    Draw(area);
    return area;
}

void DraftRedraw::Draw(const QRect& area) {
    if (surface_.isNull() || area.isEmpty()) return;
    drawing_.Draw(surface_, QPoint(0, 0), area);
    surface_.setPixelColor(0, surface_.height() - 1, ColorFromSkin(drawing_.colors().skinColor1));
}

}  // namespace preview
