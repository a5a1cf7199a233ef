#include "preview/screen_drawing.h"

#include <QPainter>
#include <algorithm>

#include "document/type_code.h"

namespace preview {

namespace {

void SetDpi(QImage& image, int dpi) {
    const int dotsPerMeter = qRound(dpi / 0.0254);
    image.setDotsPerMeterX(dotsPerMeter);
    image.setDotsPerMeterY(dotsPerMeter);
}

}  // namespace

ScreenDrawing::ScreenDrawing(std::vector<MenuItemRecord> shown, TextLookup lookup,
                             const PreviewColors& colors, QSize surface, int dpi)
    : shown_(std::move(shown)),
      colors_(colors),
      size_(surface),
      dpi_(dpi),
      lookup_(std::move(lookup)),
      idle_(Target(QSize(1, 1))),
      painter_(idle_, QPoint(0, 0), QRect(QPoint(0, 0), surface), colors, surface.width(),
               surface.height(), [this](std::int32_t textId) -> std::optional<std::string_view> {
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
    PlaceOverlays();
}

QImage ScreenDrawing::Target(QSize size) const {
    QImage image(size, QImage::Format_RGB32);
    SetDpi(image, dpi_);
    return image;
}

QImage ScreenDrawing::Drawn(const QRect& area) {
    QImage image = Target(area.size());
    if (!image.isNull()) Draw(image, area.topLeft(), area);
    return image;
}

void ScreenDrawing::Draw(QImage& target, QPoint origin, const QRect& area) {
    const QRect part = area & QRect(QPoint(0, 0), size_) & QRect(origin, target.size());
    if (target.isNull() || part.isEmpty()) return;
    {
        QPainter fill(&target);
        fill.fillRect(part.translated(-origin), ColorFromSkin(colors_.skinColor1));
    }
    painter_.SetTarget(target, origin);
    painter_.SetClip(part);
    for (std::size_t i = 0; i < shown_.size(); ++i) {
        if (reachesKnown_ && !reaches_[i].intersects(part)) continue;
        DrawRecord(i);
        if (!reachesKnown_) reaches_[i] = painter_.LastReach();
    }
    reachesKnown_ = true;
    painter_.Finish();
    painter_.SetTarget(idle_, QPoint(0, 0));
}

QRect ScreenDrawing::Change(std::size_t index, const RecordGeometry& geometry) {
    if (index >= shown_.size()) return {};
    MenuItemRecord record = shown_[index];
    SetGeometry(record, geometry);
    return Change(index, record);
}

QRect ScreenDrawing::Change(std::size_t index, const MenuItemRecord& record) {
    if (index >= shown_.size()) return {};
    // Its text is looked up again; the kept layout stays while it is the same.
    if (record.textId != shown_[index].textId) texts_[index].reset();
    shown_[index] = record;
    const auto listed = std::lower_bound(overlaid_.begin(), overlaid_.end(), index);
    const bool wasOverlaid = listed != overlaid_.end() && *listed == index;
    if (OverlayCalledFor(record) && !wasOverlaid) overlaid_.insert(listed, index);
    if (!OverlayCalledFor(record) && wasOverlaid) overlaid_.erase(listed);
    QRect changed;
    if (index == 0 || !reachesKnown_) {
        // A window takes its elements along.
        reachesKnown_ = false;
        changed = QRect(QPoint(0, 0), size_);
    } else {
        const QRect before = reaches_[index];
        reaches_[index] = ReachOf(index);
        changed = before | reaches_[index];
    }
    PlaceOverlays();
    return changed;
}

QRect ScreenDrawing::ReachOf(std::size_t index) {
    DrawRecord(index);
    painter_.Discard();
    return painter_.LastReach();
}

void ScreenDrawing::DrawRecord(std::size_t index) {
    drawing_ = index;
    if (index == 0) {
        painter_.DrawSelectedItem(shown_[0], &textCaches_[0]);
    } else {
        painter_.DrawElement(shown_[0], shown_[index], &textCaches_[index]);
    }
}

void ScreenDrawing::PlaceOverlays() {
    placements_ = {};
    const int width = size_.width();
    const int height = size_.height();
    for (const std::size_t i : overlaid_) {
        const MenuItemRecord& record = shown_[i];
        const RecordBox box =
            i == 0 ? BoxOf(record, 0.0, 0.0, width, height)
                   : BoxOf(record, shown_[0].posX,
                           static_cast<double>(shown_[0].posY) + CaptionOffset(shown_[0]), width,
                           height);
        At(placements_, *OverlayCalledFor(record)) = PlaceOverlay(record, box, width, height);
    }
}

}  // namespace preview
