#pragma once

#include <QImage>
#include <cstdint>

#include "config/skin_file.h"
#include "preview/preview_colors.h"
#include "preview/preview_compose.h"

// How a skin turns into what the preview shows besides the records: its six
// colours, the background and the four loading pictures. The editor's window
// and `kaveldef render` both take their preview's look from here.
namespace preview {

// The pictures the preview shows until a skin replaces them.
PreviewPictures BuiltinPreviewPictures();

// Skin line 19 + index - 1 sets skinColor<index>; index is 1 to 6.
void SetSkinColor(PreviewColors& colors, int index, std::uint32_t color);
// The picture a skin gives for the loading records numbered 100, 101, 102 and
// 300 (SkinTarget::kRctaPicture100 ...); other numbers change nothing.
void SetOverlayPicture(PreviewPictures& pictures, int id, const QImage& picture);

// The colours and pictures of the preview, built in until a skin changes them.
struct PreviewLook {
    PreviewColors colors;
    PreviewPictures pictures = BuiltinPreviewPictures();
};

// Reads the preview's lines of a skin file into a look and lets the window's
// own lines pass.
class PreviewSkin : public SkinTarget {
  public:
    explicit PreviewSkin(PreviewLook& look) : look_(look) {}

    void SetBackgroundPicture(const QImage& picture) override {
        look_.pictures.background = picture;
    }
    void SetOverlayPicture(int id, const QImage& picture) override {
        preview::SetOverlayPicture(look_.pictures, id, picture);
    }
    void SetPreviewColor(int index, std::uint32_t color) override {
        SetSkinColor(look_.colors, index, color);
    }

    void SetUseMetro(bool) override {}
    void SetFadeTarget(std::uint8_t) override {}
    void SetCopyGlyph(const QImage&) override {}
    void SetPasteGlyph(const QImage&) override {}
    void SetStatusStrip(const QImage&) override {}
    void SetCreditsSeparator(const QImage&) override {}
    void SetWindowColor(std::uint32_t) override {}
    void SetInputBackgroundColor(std::uint32_t) override {}
    void SetWindowTextColor(std::uint32_t) override {}
    void SetInputTextColor(std::uint32_t) override {}
    void SetHeadingTextColor(std::uint32_t) override {}
    void SetCaptionTextColor(std::uint32_t) override {}
    void SetStatusBarColor(std::uint32_t) override {}

  private:
    PreviewLook& look_;
};

}  // namespace preview
