#include "preview/preview_compose.h"

#include <gtest/gtest.h>

#include "preview/preview_test_support.h"

using namespace preview_test;

namespace {

QImage Solid(QColor colour, QImage::Format format = QImage::Format_RGB32) {
    QImage picture(7, 5, format);
    picture.fill(colour);
    return picture;
}

}  // namespace

TEST(PreviewCompose, KeyColourShowsTheBackground) {
    preview::PreviewColors colors;
    colors.skinColor5 = colors.skinColor1;  // a box filled with exactly the key colour
    const QImage keyed = preview::KeyedSurface(
        Draw({Rec("butt", 100, 100, 200, 100)}, 0, 800, 600, {}, colors), QSize(900, 600));
    EXPECT_EQ(keyed.pixel(850, 10), 0u);  // beyond the surface: transparent
    preview::PreviewPictures pictures;
    pictures.background = Solid(Qt::blue);
    const QImage shown = preview::ComposePreviewImage(QSize(800, 600), pictures, keyed, {});
    const QRgb blue = QColor(Qt::blue).rgb();
    EXPECT_EQ(CountOther(shown, QRect(101, 101, 198, 98), blue), 0);  // inside the box
    EXPECT_EQ(CountOther(shown, QRect(100, 100, 200, 1), Rgb(colors.skinColor2)), 0);
    EXPECT_EQ(CountOther(shown, QRect(0, 0, 800, 100), blue), 0);
}

TEST(PreviewCompose, OverlaysStackInOrderAndOpaque) {
    preview::OverlayPlacements placed;
    const QImage surface =
        Draw({Rec("wind", 0, 0, 0, 0), Rec("pbrt", 300, 0, 100, 100, 300),
              Rec("rcta", 200, 0, 100, 100, 102), Rec("rcta", 100, 0, 100, 100, 100),
              Rec("rcta", 0, 0, 102, 100, 101)},
             0, 800, 600, {}, {}, &placed);
    for (preview::OverlayPlacement& placement : placed) placement.bounds.adjust(0, 0, 150, 0);
    const QColor colours[] = {Qt::green, Qt::cyan, Qt::magenta, QColor(255, 255, 0, 0)};
    preview::PreviewPictures pictures;
    for (std::size_t i = 0; i < 4; ++i)
        pictures.overlays[i] = Solid(colours[i], QImage::Format_ARGB32);
    const QImage shown = preview::ComposePreviewImage(
        QSize(800, 600), pictures, preview::KeyedSurface(surface, QSize(800, 600)), placed);
    // Panel (1, 1) is the client's (0, 0); the alpha of a picture is not used.
    for (int i = 0; i < 4; ++i) {
        const int width = i == 3 ? 248 : 100;  // each covers the one before, the last is whole
        EXPECT_EQ(CountOther(shown, QRect(100 * i, 0, width, 98), colours[i].rgb()), 0) << i;
    }
    EXPECT_EQ(shown.pixel(350, 98), Rgb(preview::PreviewColors{}.skinColor5));
}
