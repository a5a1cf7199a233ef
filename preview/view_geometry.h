#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>
#include <array>
#include <compare>
#include <cstdint>
#include <optional>

// How the preview's surface is sized and placed in the window: the game
// resolution it stands for, the zoom it is shown at, and the scrolling.
//
// The surface is always drawn at its shown size, W x H pixels, by the same
// drawing rules as an unzoomed preview of that size (the 800 x 600 virtual
// screen mapped onto W x H, text sizes from H). Zooming changes W x H; it
// never scales a picture. So a preview shown at W x H is the picture that
// `kaveldef render --size WxH` makes.
//
// Three coordinate systems meet here, and this is the one place that turns
// one into another:
//  - area pixels: the preview area of the window (its viewport), (0, 0) at
//    its top-left corner;
//  - surface pixels: the W x H surface, (0, 0) at its top-left corner;
//  - virtual units: the game's 800 x 600 screen (MapX and MapY take them to
//    surface pixels, UnitAtColumn and UnitAtRow back).
namespace preview {

// The resolutions the game is commonly played at, offered besides "fit to
// the window".
inline constexpr std::array<QSize, 6> kGameResolutions = {QSize(800, 600),  QSize(1024, 768),
                                                          QSize(1280, 720), QSize(1366, 768),
                                                          QSize(1600, 900), QSize(1920, 1080)};
// A resolution of the user's own must lie within these, both sides included.
inline constexpr QSize kSmallestResolution(320, 200);
inline constexpr QSize kLargestResolution(7680, 4320);
bool IsAllowedResolution(QSize resolution);

// The zoom steps, in per cent.
inline constexpr std::array<int, 11> kZoomSteps = {25,  33,  50,  67,  100, 150,
                                                   200, 300, 400, 600, 800};

// A surface side never grows beyond this, whatever area a window reports.
inline constexpr int kMaxSurfaceSide = 1 << 16;

// An exact zoom factor, numerator / denominator, both positive.
struct Zoom {
    std::int64_t numerator = 1;
    std::int64_t denominator = 1;

    friend bool operator==(const Zoom& a, const Zoom& b) { return a <=> b == 0; }
    friend std::strong_ordering operator<=>(const Zoom& a, const Zoom& b) {
        return a.numerator * b.denominator <=> b.numerator * a.denominator;
    }
    // In per cent, halves rounded up: what the status bar shows.
    int percent() const;
};

// What the user chose: the game resolution (none: the area's own size, so the
// 800 x 600 screen fills the area as it always did) and the zoom in per cent
// (none: the largest that fits the area, keeping the resolution's shape).
struct ViewChoice {
    std::optional<QSize> resolution;
    std::optional<int> zoomPercent;

    friend bool operator==(const ViewChoice&, const ViewChoice&) = default;
};

// The next zoom step above (direction > 0) or below (direction < 0) the
// zoom, or nothing past the last step.
std::optional<int> ZoomStep(Zoom zoom, int direction);

// The preview area, the choice and the scrolling, and all that follows from
// them. A value: changing anything makes a new one.
class ViewGeometry {
  public:
    ViewGeometry() : ViewGeometry({}, QSize(1, 1)) {}
    // `scroll` is the surface pixel wanted at the area's top-left corner; it
    // is kept within the scroll ranges.
    ViewGeometry(const ViewChoice& choice, QSize area, QPoint scroll = {});

    const ViewChoice& choice() const { return choice_; }
    QSize area() const { return area_; }
    // The game resolution the surface stands for: the chosen one, or the
    // area's size.
    QSize resolution() const;
    Zoom zoom() const { return zoom_; }
    // W x H. Each side is the resolution's side times the zoom, rounded to
    // the nearest pixel with halves up, and at least 1. When the zoom fits
    // the area, the side that limits it is the area's side exactly.
    QSize surface() const { return surface_; }

    QPoint scroll() const { return scroll_; }
    // The largest scroll offsets: how far the surface reaches past the area
    // (0 on a side where it fits).
    QPoint maxScroll() const;
    // Where the surface's (0, 0) lies in the area: centred on a side where
    // the surface is smaller than the area (the odd pixel to the right and
    // bottom), scrolled on a side where it is larger.
    QPoint surfaceOrigin() const { return origin_; }
    // The surface's pixels that the area shows.
    QRect visibleSurface() const;

    QPoint ToSurface(QPoint areaPixel) const { return areaPixel - origin_; }
    QPoint ToArea(QPoint surfacePixel) const { return surfacePixel + origin_; }
    QRect ToArea(const QRect& surfacePixels) const { return surfacePixels.translated(origin_); }

    // The same view scrolled to another offset.
    ViewGeometry Scrolled(QPoint scroll) const { return {choice_, area_, scroll}; }
    // Another choice or area, with the surface point that lies under the
    // area pixel `anchor` kept there as well as the scroll ranges allow:
    // the pointer for a zoom by the wheel, the area's centre for a zoom by
    // keys, its corner for a resize.
    ViewGeometry Changed(const ViewChoice& choice, QSize area, QPoint anchor) const;

  private:
    ViewChoice choice_;
    QSize area_;
    Zoom zoom_;
    QSize surface_;
    QPoint scroll_;
    QPoint origin_;
};

// The whole virtual unit shown at a surface column (row) of a surface
// `width` (`height`) pixels wide, counted from `origin` units (0: the
// screen's corner; a window's origin for a place in that window): the first
// whole unit that the drawing maps onto the column, or, on a column that no
// whole unit maps onto (where a unit is wider than a pixel), the last one before
// it. From column 0 on, no place left of the screen's edge is given. So a
// record placed at the unit found has its edge drawn on that column, or on
// the nearest one before it. Nothing when the origin is not finite or lies
// beyond a billion units.
std::optional<int> UnitAtColumn(int column, int width, double origin = 0.0);
std::optional<int> UnitAtRow(int row, int height, double origin = 0.0);

}  // namespace preview
