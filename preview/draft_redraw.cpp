#include "preview/draft_redraw.h"

namespace preview {

DraftRedraw::DraftRedraw(QImage& surface, std::vector<MenuItemRecord> shown, std::size_t changing,
                         TextLookup lookup, const PreviewColors& colors, int width, int height)
    : surface_(surface),
      changing_(changing),
      visible_(QRect(0, 0, width, height) & surface.rect()),
      drawing_(std::move(shown), std::move(lookup), colors, QSize(width, height),
               surface.logicalDpiY()) {
    Draw(visible_);
}

QRect DraftRedraw::Change(const RecordGeometry& geometry) {
    if (changing_ >= drawing_.records().size()) return {};
    const QRect area = drawing_.Change(changing_, geometry) & visible_;
    Draw(area);
    return area;
}

void DraftRedraw::Draw(const QRect& area) {
    if (surface_.isNull() || area.isEmpty()) return;
    drawing_.Draw(surface_, QPoint(0, 0), area);
    surface_.setPixelColor(0, surface_.height() - 1, ColorFromSkin(drawing_.colors().skinColor1));
}

}  // namespace preview
