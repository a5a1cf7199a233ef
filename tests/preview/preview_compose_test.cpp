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
    const QImage surface = Draw({Rec("butt", 100, 100, 200, 100)}, 0, 800, 600, {}, colors);
    preview::PreviewPictures pictures;
    pictures.background = Solid(Qt::blue);
    const QImage keyed = preview::KeyedSurface(surface, QSize(900, 600));
    EXPECT_EQ(keyed.format(), QImage::Format_ARGB32_Premultiplied);
    EXPECT_EQ(keyed.pixel(850, 10), 0u);  // beyond the surface

    const QImage shown = preview::ComposePreviewImage(QSize(800, 600), pictures, keyed, {});
    EXPECT_EQ(At(shown, 150, 150), QColor(Qt::blue).rgb());  // inside the box
    EXPECT_EQ(At(shown, 100, 150), Rgb(colors.skinColor2));  // its outline
    EXPECT_EQ(At(shown, 50, 50), QColor(Qt::blue).rgb());
    EXPECT_EQ(At(shown, 0, 599), QColor(Qt::blue).rgb());
}

TEST(PreviewCompose, OverlaysStackInOrderAndOpaque) {
    preview::OverlayPlacements placements;
    const QImage surface =
        Draw({Rec("wind", 0, 0, 0, 0), Rec("pbrt", 300, 0, 100, 100, 300),
              Rec("rcta", 200, 0, 100, 100, 102), Rec("rcta", 100, 0, 100, 100, 100),
              Rec("rcta", 0, 0, 102, 100, 101)},
             0, 800, 600, {}, {}, &placements);
    for (preview::OverlayPlacement& placement : placements) {
        placement.bounds.setRight(placement.bounds.right() + 150);  // make them overlap
    }
    preview::PreviewPictures pictures;
    const QColor colours[] = {Qt::green, Qt::cyan, Qt::magenta, Qt::yellow};
    for (int i = 0; i < preview::kOverlayCount; ++i) {
        pictures.overlays[static_cast<std::size_t>(i)] = Solid(colours[i]);
    }
    pictures.overlays[3] = Solid(QColor(255, 255, 0, 0), QImage::Format_ARGB32);  // no alpha shown
    const QImage shown = preview::ComposePreviewImage(
        QSize(800, 600), pictures, preview::KeyedSurface(surface, QSize(800, 600)), placements);
    // Panel (1, 1) is the client's (0, 0).
    EXPECT_EQ(At(shown, 0, 0), QColor(Qt::green).rgb());
    EXPECT_EQ(At(shown, 99, 97), QColor(Qt::green).rgb());
    EXPECT_EQ(At(shown, 150, 50), QColor(Qt::cyan).rgb());     // 101 below 100
    EXPECT_EQ(At(shown, 250, 50), QColor(Qt::magenta).rgb());  // 100 below 102
    EXPECT_EQ(At(shown, 350, 50), QColor(Qt::yellow).rgb());   // 102 below 300, on top
    EXPECT_EQ(At(shown, 350, 98), Rgb(preview::PreviewColors{}.skinColor5));  // below them all
    EXPECT_EQ(At(shown, 350, 99), Rgb(preview::PreviewColors{}.skinColor2));
}
