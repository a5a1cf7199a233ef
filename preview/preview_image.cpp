#include "preview/preview_image.h"

#include "document/text_db.h"
#include "preview/preview_renderer.h"

namespace preview {

QImage RenderPreviewImage(std::span<const MenuItemRecord> records, std::size_t selected,
                          const TextDb& textDb, QSize size, const PreviewLook& look) {
    // The editor's surface is as large as the screen, which is always larger
    // than its preview area; a surface only as large would hand the key colour
    // to the area's own bottom-left pixel.
    QImage surface = PreparePreviewSurface(size + QSize(1, 1), look.colors, kDefaultPreviewDpi);
    const OverlayPlacements placements = DrawPreview(
        surface, records, static_cast<std::ptrdiff_t>(selected),
        [&textDb](std::int32_t id) { return textDb.FindText(id); }, look.colors, size.width(),
        size.height());
    return ComposePreviewImage(size, look.pictures, KeyedSurface(surface, size), placements);
}

}  // namespace preview
