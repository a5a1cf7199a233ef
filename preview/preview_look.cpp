#include "preview/preview_look.h"

#include <optional>

#include "assets/builtin_pictures.h"

namespace preview {

namespace {

std::optional<Overlay> OverlayNumbered(int id) {
    switch (id) {
        case SkinTarget::kRctaPicture100:
            return Overlay::Atcr100;
        case SkinTarget::kRctaPicture101:
            return Overlay::Atcr101;
        case SkinTarget::kRctaPicture102:
            return Overlay::Atcr102;
        case SkinTarget::kPbrtPicture300:
            return Overlay::Trbp300;
        default:
            return std::nullopt;
    }
}

}  // namespace

PreviewPictures BuiltinPreviewPictures() {
    PreviewPictures pictures;
    pictures.background = BuiltinBackground();
    SetOverlayPicture(pictures, SkinTarget::kRctaPicture100, BuiltinAtcr100());
    SetOverlayPicture(pictures, SkinTarget::kRctaPicture101, BuiltinAtcr101());
    SetOverlayPicture(pictures, SkinTarget::kRctaPicture102, BuiltinAtcr102());
    SetOverlayPicture(pictures, SkinTarget::kPbrtPicture300, BuiltinTrbp300());
    return pictures;
}

void SetSkinColor(PreviewColors& colors, int index, std::uint32_t color) {
    std::uint32_t* const colours[] = {&colors.skinColor1, &colors.skinColor2, &colors.skinColor3,
                                      &colors.skinColor4, &colors.skinColor5, &colors.skinColor6};
    if (index >= 1 && index <= 6) *colours[index - 1] = color;
}

void SetOverlayPicture(PreviewPictures& pictures, int id, const QImage& picture) {
    if (const std::optional<Overlay> overlay = OverlayNumbered(id)) {
        pictures.overlays[static_cast<std::size_t>(*overlay)] = picture;
    }
}

}  // namespace preview
