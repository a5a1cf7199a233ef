#pragma once

#include <gtest/gtest.h>

#include <QImage>
#include <map>
#include <string>
#include <vector>

#include "preview/preview_renderer.h"
#include "support/records.h"

// Records, texts and pixel checks shared by the preview tests.
namespace preview_test {

using Texts = std::map<int, std::string>;

inline preview::TextLookup Lookup(const Texts& texts) {
    return [&texts](std::int32_t id) -> std::optional<std::string_view> {
        const auto found = texts.find(id);
        if (found == texts.end()) return std::nullopt;
        return std::string_view(found->second);
    };
}

// Draws the records on a fresh 800 x 600 surface.
inline QImage Draw(const std::vector<MenuItemRecord>& records, int selected, int width = 400,
                   int height = 300, const Texts& texts = {},
                   const preview::PreviewColors& colors = {},
                   preview::OverlayPlacements* placements = nullptr) {
    QImage surface = preview::PreparePreviewSurface(QSize(800, 600), colors);
    const preview::OverlayPlacements placed =
        preview::DrawPreview(surface, records, selected, Lookup(texts), colors, width, height);
    if (placements) *placements = placed;
    return surface;
}

inline QRgb Rgb(std::uint32_t skin) {
    return preview::ColorFromSkin(skin).rgb();
}

// How many pixels of the area have another colour.
inline int CountOther(const QImage& image, const QRect& area, QRgb colour) {
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x) count += image.pixel(x, y) != colour;
    return count;
}

// A box covering exactly `box`: pen on its outermost columns and rows, brush
// inside, and `outside` on the ring of pixels around it (three colours that
// differ, counted over the nested rectangles).
inline void ExpectBox(const QImage& image, const QRect& box, QRgb pen, QRgb brush, QRgb outside) {
    const QRect ring = box.adjusted(-1, -1, 1, 1);
    const QRect inside = box.adjusted(1, 1, -1, -1);
    const auto area = [](const QRect& r) { return r.isEmpty() ? 0 : r.width() * r.height(); };
    EXPECT_EQ(CountOther(image, ring, outside), area(box)) << box.x() << "," << box.y();
    EXPECT_EQ(CountOther(image, box, pen), area(inside)) << box.x() << "," << box.y();
    EXPECT_EQ(CountOther(image, inside, brush), 0) << box.x() << "," << box.y();
}

}  // namespace preview_test
