#pragma once

#include <QImage>
#include <QSize>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "config/skin_file.h"
#include "document/menu_item_record.h"
#include "preview/preview_colors.h"
#include "preview/preview_compose.h"

class TextDb;

// The editor's preview of one record, drawn without a window.
namespace preview_render {

// The pictures the editor shows until a skin replaces them.
preview::PreviewPictures BuiltinPreviewPictures();

// Takes what a skin file sets for the preview (its six colours, the
// background and the four loading pictures) and lets the window's own lines
// pass.
class PreviewSkin : public SkinTarget {
  public:
    PreviewSkin() : pictures_(BuiltinPreviewPictures()) {}

    const preview::PreviewColors& colors() const { return colors_; }
    const preview::PreviewPictures& pictures() const { return pictures_; }

    void SetBackgroundPicture(const QImage& picture) override;
    void SetOverlayPicture(int id, const QImage& picture) override;
    void SetPreviewColor(int index, std::uint32_t color) override;

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
    preview::PreviewColors colors_;
    preview::PreviewPictures pictures_;
};

// What the editor's preview panel shows for the selected record at a client
// area of `size`: the surface drawn at 96 dots per inch on a screen of that
// size, keyed, and composed over the background with the loading pictures.
QImage RenderPreview(const std::vector<MenuItemRecord>& records, std::size_t selected,
                     const TextDb& textDb, QSize size, const preview::PreviewColors& colors,
                     const preview::PreviewPictures& pictures);

}  // namespace preview_render
