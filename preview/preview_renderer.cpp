#include "preview/preview_renderer.h"

#include <QPainter>
#include <algorithm>

#include "document/type_code.h"

namespace preview {

std::optional<Overlay> OverlayCalledFor(const MenuItemRecord& record) {
    if (type_code::Is(record, type_code::kLoadingPicture)) {
        switch (record.id) {
            case 101:
                return Overlay::Atcr101;
            case 100:
                return Overlay::Atcr100;
            case 102:
                return Overlay::Atcr102;
            default:
                return std::nullopt;
        }
    }
    if (type_code::Is(record, type_code::kLoadingProgressBar) && record.id == 300) {
        return Overlay::Trbp300;
    }
    return std::nullopt;
}

OverlayPlacement PlaceOverlay(const MenuItemRecord& record, const RecordBox& box, int width,
                              int height) {
    OverlayPlacement placement;
    placement.bounds = QRect(box.x1 + 1, box.y1 + 1, MapX(record.scaleX, width) - 2,
                             MapY(record.scaleY, height) - 2);
    placement.visible =
        box.defined && placement.bounds.width() > 0 && placement.bounds.height() > 0;
    return placement;
}

QImage PreparePreviewSurface(QSize screen, const PreviewColors& colors, int dpi) {
    QImage surface(screen, QImage::Format_RGB32);
    if (surface.isNull()) return surface;
    const int dotsPerMeter = qRound(std::clamp(dpi, 1, 10'000) / 0.0254);
    surface.setDotsPerMeterX(dotsPerMeter);
    surface.setDotsPerMeterY(dotsPerMeter);
    surface.fill(ColorFromSkin(colors.skinColor1));
    return surface;
}

OverlayPlacements DrawPreview(QImage& surface, std::span<const MenuItemRecord> records,
                              std::ptrdiff_t selected, const TextLookup& lookup,
                              const PreviewColors& colors, int width, int height) {
    const QColor key = ColorFromSkin(colors.skinColor1);
    if (!surface.isNull()) {
        QPainter painter(&surface);
        painter.fillRect(QRect(0, 0, width, height) & surface.rect(), key);
    }

    OverlayPlacements placements;
    const std::ptrdiff_t count = std::ssize(records);
    if (selected >= 0 && selected < count) {
        ElementPainter painter(surface, colors, width, height, lookup);
        const MenuItemRecord& chosen = records[static_cast<std::size_t>(selected)];
        const RecordBox chosenBox = painter.DrawSelectedItem(chosen);
        if (const std::optional<Overlay> overlay = OverlayCalledFor(chosen)) {
            At(placements, *overlay) = PlaceOverlay(chosen, chosenBox, width, height);
        }
        // A window calls for no overlay itself, so all four are hidden here.
        if (type_code::IsWindow(chosen)) {
            for (std::ptrdiff_t i = selected + 1; i < count; ++i) {
                const MenuItemRecord& element = records[static_cast<std::size_t>(i)];
                if (type_code::IsWindow(element)) break;
                const RecordBox box = painter.DrawElement(chosen, element);
                if (const std::optional<Overlay> overlay = OverlayCalledFor(element)) {
                    At(placements, *overlay) = PlaceOverlay(element, box, width, height);
                }
            }
        }
    }

    if (!surface.isNull()) surface.setPixelColor(0, surface.height() - 1, key);
    return placements;
}

}  // namespace preview
