#include "cli/preview_render.h"

#include <cstddef>

#include "assets/builtin_pictures.h"
#include "document/text_db.h"
#include "preview/preview_renderer.h"

namespace preview_render {

namespace {

std::optional<preview::Overlay> OverlayNumbered(int id) {
    switch (id) {
        case SkinTarget::kRctaPicture100:
            return preview::Overlay::Atcr100;
        case SkinTarget::kRctaPicture101:
            return preview::Overlay::Atcr101;
        case SkinTarget::kRctaPicture102:
            return preview::Overlay::Atcr102;
        case SkinTarget::kPbrtPicture300:
            return preview::Overlay::Trbp300;
        default:
            return std::nullopt;
    }
}

QImage& OverlayOf(preview::PreviewPictures& pictures, preview::Overlay overlay) {
    return pictures.overlays[static_cast<std::size_t>(overlay)];
}

}  // namespace

preview::PreviewPictures BuiltinPreviewPictures() {
    preview::PreviewPictures pictures;
    pictures.background = BuiltinBackground();
    OverlayOf(pictures, preview::Overlay::Atcr100) = BuiltinAtcr100();
    OverlayOf(pictures, preview::Overlay::Atcr101) = BuiltinAtcr101();
    OverlayOf(pictures, preview::Overlay::Atcr102) = BuiltinAtcr102();
    OverlayOf(pictures, preview::Overlay::Trbp300) = BuiltinTrbp300();
    return pictures;
}

void PreviewSkin::SetBackgroundPicture(const QImage& picture) {
    pictures_.background = picture;
}

void PreviewSkin::SetOverlayPicture(int id, const QImage& picture) {
    if (const std::optional<preview::Overlay> overlay = OverlayNumbered(id)) {
        OverlayOf(pictures_, *overlay) = picture;
    }
}

void PreviewSkin::SetPreviewColor(int index, std::uint32_t color) {
    std::uint32_t* colours[] = {&colors_.skinColor1, &colors_.skinColor2, &colors_.skinColor3,
                                &colors_.skinColor4, &colors_.skinColor5, &colors_.skinColor6};
    if (index >= 1 && index <= 6) *colours[index - 1] = color;
}

QImage RenderPreview(const std::vector<MenuItemRecord>& records, std::size_t selected,
                     const TextDb& textDb, QSize size, const preview::PreviewColors& colors,
                     const preview::PreviewPictures& pictures) {
    // The editor's surface is as large as the screen, which is always larger
    // than its preview area; a surface only as large would hand the key colour
    // to the area's own bottom-left pixel.
    QImage surface =
        preview::PreparePreviewSurface(size + QSize(1, 1), colors, preview::kDefaultPreviewDpi);
    const preview::OverlayPlacements placements = preview::DrawPreview(
        surface, records, static_cast<std::ptrdiff_t>(selected),
        [&textDb](std::int32_t id) { return textDb.FindText(id); }, colors, size.width(),
        size.height());
    return preview::ComposePreviewImage(size, pictures, preview::KeyedSurface(surface, size),
                                        placements);
}

}  // namespace preview_render
