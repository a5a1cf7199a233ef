#include "preview/draft_redraw.h"

#include <QPainter>

#include "document/type_code.h"

namespace preview {

DraftRedraw::DraftRedraw(QImage& surface, std::vector<MenuItemRecord> shown,
                         std::size_t changing, TextLookup lookup, const PreviewColors& colors,
                         int width, int height)
    : DraftRedraw(surface, std::move(shown), std::vector<std::size_t>{changing},
                  std::move(lookup), colors, width, height) {}

DraftRedraw::DraftRedraw(QImage& surface, std::vector<MenuItemRecord> shown,
                         std::vector<std::size_t> changing, TextLookup lookup,
                         const PreviewColors& colors, int width, int height)
    : surface_(surface),
      shown_(std::move(shown)),
      changing_(std::move(changing)),
      colors_(colors),
      width_(width),
      height_(height),
      visible_(QRect(0, 0, width, height) & surface.rect()),
      lookup_(std::move(lookup)),
      painter_(surface, colors, width, height,
               [this](std::int32_t textId) -> std::optional<std::string_view> {
                   if (!lookup_) return std::nullopt;
                   std::optional<std::optional<std::string_view>>& text = texts_[drawing_];
                   if (!text) text = lookup_(textId);
                   return *text;
               }) {
    // Only the selected record is drawn when it is no window.
    if (!shown_.empty() && !type_code::IsWindow(shown_[0])) shown_.resize(1);
    reaches_.resize(shown_.size());
    texts_.resize(shown_.size());
    textCaches_.resize(shown_.size());
    for (std::size_t i = 0; i < shown_.size(); ++i) {
        if (OverlayCalledFor(shown_[i])) overlaid_.push_back(i);
    }
    Draw(visible_, true);
    PlaceOverlays();
}

QRect DraftRedraw::Change(const RecordGeometry& geometry) {
    return Change(std::span<const RecordGeometry>(&geometry, 1));
}

QRect DraftRedraw::Change(std::span<const RecordGeometry> geometries) {
    QRect area;
    bool all = false;
    for (std::size_t k = 0; k < changing_.size() && k < geometries.size(); ++k) {
        const std::size_t index = changing_[k];
        if (index >= shown_.size()) continue;
        SetGeometry(shown_[index], geometries[k]);
        // A window takes its elements along.
        if (index == 0) all = true;
    }
    if (all) {
        area = visible_;
        Draw(area, true);
    } else {
        for (const std::size_t index : changing_) {
            if (index >= shown_.size()) continue;
            area |= reaches_[index];
            reaches_[index] = ReachOf(index);
            area |= reaches_[index];
        }
        area &= visible_;
        Draw(area, false);
    }
    PlaceOverlays();
    return area;
}

QRect DraftRedraw::ReachOf(std::size_t index) {
    DrawRecord(index);
    painter_.Discard();
    return painter_.LastReach();
}

void DraftRedraw::DrawRecord(std::size_t index) {
    drawing_ = index;
    if (index == 0) {
        painter_.DrawSelectedItem(shown_[0], &textCaches_[0]);
    } else {
        painter_.DrawElement(shown_[0], shown_[index], &textCaches_[index]);
    }
}

void DraftRedraw::Draw(const QRect& area, bool all) {
    if (surface_.isNull() || area.isEmpty()) return;
    {
        QPainter fill(&surface_);
        fill.fillRect(area, ColorFromSkin(colors_.skinColor1));
    }
    painter_.SetClip(area);
    for (std::size_t i = 0; i < shown_.size(); ++i) {
        if (!all && !reaches_[i].intersects(area)) continue;
        DrawRecord(i);
        if (all) reaches_[i] = painter_.LastReach();
    }
    painter_.Finish();
    surface_.setPixelColor(0, surface_.height() - 1, ColorFromSkin(colors_.skinColor1));
}

void DraftRedraw::PlaceOverlays() {
    placements_ = {};
    for (const std::size_t i : overlaid_) {
        const MenuItemRecord& record = shown_[i];
        const RecordBox box =
            i == 0 ? BoxOf(record, 0.0, 0.0, width_, height_)
                   : BoxOf(record, shown_[0].posX,
                           static_cast<double>(shown_[0].posY) + CaptionOffset(shown_[0]), width_,
                           height_);
        At(placements_, *OverlayCalledFor(record)) = PlaceOverlay(record, box, width_, height_);
    }
}

}  // namespace preview
