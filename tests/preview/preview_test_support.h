#pragma once

#include <gtest/gtest.h>

#include <QImage>
#include <map>
#include <string>
#include <vector>

#include "document/type_code.h"
#include "preview/preview_renderer.h"

// Records, lookups and pixel checks shared by the preview tests.
namespace preview_test {

inline MenuItemRecord Rec(const char* shownType, float x, float y, float sx, float sy, int id = 0,
                          int textId = 0) {
    MenuItemRecord record;
    type_code::SetFromShown(record, shownType);
    record.id = id;
    record.posX = x;
    record.posY = y;
    record.scaleX = sx;
    record.scaleY = sy;
    record.textId = textId;
    return record;
}

struct Texts {
    std::map<int, std::string> byId;
    preview::TextLookup Lookup() const {
        return [this](std::int32_t id) -> std::optional<std::string_view> {
            const auto found = byId.find(id);
            if (found == byId.end()) return std::nullopt;
            return std::string_view(found->second);
        };
    }
};

// Draws the records on a fresh screen-sized surface with the default colours.
inline QImage Draw(const std::vector<MenuItemRecord>& records, int selected, int width = 400,
                   int height = 300, const Texts& texts = {},
                   const preview::PreviewColors& colors = {},
                   preview::OverlayPlacements* placements = nullptr) {
    QImage surface = preview::PreparePreviewSurface(QSize(800, 600), colors);
    const preview::OverlayPlacements placed =
        preview::DrawPreview(surface, records, selected, texts.Lookup(), colors, width, height);
    if (placements) *placements = placed;
    return surface;
}

inline QRgb Rgb(std::uint32_t skin) {
    return preview::ColorFromSkin(skin).rgb();
}

// The colour at (x, y) as 0xAARRGGBB.
inline QRgb At(const QImage& image, int x, int y) {
    return image.pixel(x, y);
}

// A box covering `rect` exactly: pen on its outermost columns and rows, brush
// just inside, and `outside` on the pixels around it.
inline void ExpectBox(const QImage& image, const QRect& rect, QRgb pen, QRgb brush, QRgb outside) {
    for (int x = rect.left(); x <= rect.right(); ++x) {
        EXPECT_EQ(At(image, x, rect.top()), pen) << x;
        EXPECT_EQ(At(image, x, rect.bottom()), pen) << x;
        EXPECT_EQ(At(image, x, rect.top() - 1), outside) << x;
        EXPECT_EQ(At(image, x, rect.bottom() + 1), outside) << x;
    }
    for (int y = rect.top(); y <= rect.bottom(); ++y) {
        EXPECT_EQ(At(image, rect.left(), y), pen) << y;
        EXPECT_EQ(At(image, rect.right(), y), pen) << y;
        EXPECT_EQ(At(image, rect.left() - 1, y), outside) << y;
        EXPECT_EQ(At(image, rect.right() + 1, y), outside) << y;
    }
    if (rect.width() > 2 && rect.height() > 2) {
        EXPECT_EQ(At(image, rect.left() + 1, rect.top() + 1), brush);
        EXPECT_EQ(At(image, rect.right() - 1, rect.bottom() - 1), brush);
    }
}

// How many pixels of the area have a colour other than `colour`.
inline int CountOther(const QImage& image, const QRect& area, QRgb colour) {
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x) count += At(image, x, y) != colour;
    return count;
}

}  // namespace preview_test
