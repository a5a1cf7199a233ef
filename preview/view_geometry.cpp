#include "preview/view_geometry.h"

#include <algorithm>
#include <cmath>

#include "preview/preview_mapping.h"

namespace preview {

namespace {

// a / b rounded to the nearest whole number, halves up; b > 0.
std::int64_t RoundedRatio(std::int64_t a, std::int64_t b) {
    const std::int64_t twice = 2 * a + b;
    const std::int64_t quotient = twice / (2 * b);
    return twice % (2 * b) < 0 ? quotient - 1 : quotient;
}

// a / b rounded down; b > 0.
std::int64_t FloorRatio(std::int64_t a, std::int64_t b) {
    return a / b - (a % b < 0 ? 1 : 0);
}

int Side(std::int64_t pixels) {
    return static_cast<int>(std::clamp<std::int64_t>(pixels, 1, kMaxSurfaceSide));
}

// Where a surface side of `surface` pixels starts in an area side of `area`
// pixels, scrolled by `scroll` (already within its range).
int Placed(int surface, int area, int scroll) {
    return surface <= area ? (area - surface) / 2 : -scroll;
}

// The pixel of a side of `after` pixels that shows what the middle of pixel
// `pixel` of a side of `before` pixels showed.
int Rescaled(int pixel, int before, int after) {
    return static_cast<int>(
        FloorRatio((2 * std::int64_t{pixel} + 1) * after, 2 * std::int64_t{before}));
}

// The unit search of UnitAtColumn and UnitAtRow: Map is MapX or MapY.
template <int (*Map)(double, int)>
std::optional<int> UnitAt(int pixel, int side, double virtualSide, double origin) {
    // Far beyond any screen, and small enough that whole units stay exact.
    constexpr double kLimit = 1e9;
    if (side <= 0 || !(std::abs(origin) <= kLimit)) return std::nullopt;
    const auto maps = [&](double unit) { return Map(origin + unit, side); };
    // A guess from the exact scale; the drawing's own mapping, which divides
    // by a rounded quotient, decides within a unit or two of it. On the
    // screen's own side of 0 only: a pixel there never shows a unit below 0.
    const auto allowed = [&](double candidate) { return pixel < 0 || origin + candidate >= 0; };
    double unit = std::floor(pixel * virtualSide / side - origin);
    if (!allowed(unit)) unit = std::ceil(-origin);
    for (int i = 0; i < 4 && allowed(unit - 1) && maps(unit - 1) >= pixel; ++i) unit -= 1;
    for (int i = 0; i < 4 && maps(unit) < pixel; ++i) unit += 1;
    if (maps(unit) > pixel && allowed(unit - 1)) unit -= 1;
    return static_cast<int>(unit);
}

}  // namespace

bool IsAllowedResolution(QSize resolution) {
    return resolution.width() >= kSmallestResolution.width() &&
           resolution.width() <= kLargestResolution.width() &&
           resolution.height() >= kSmallestResolution.height() &&
           resolution.height() <= kLargestResolution.height();
}

int Zoom::percent() const {
    return static_cast<int>(RoundedRatio(100 * numerator, denominator));
}

std::optional<int> ZoomStep(Zoom zoom, int direction) {
    if (direction > 0) {
        for (const int step : kZoomSteps) {
            if (Zoom{step, 100} > zoom) return step;
        }
    } else if (direction < 0) {
        for (auto step = kZoomSteps.rbegin(); step != kZoomSteps.rend(); ++step) {
            if (Zoom{*step, 100} < zoom) return *step;
        }
    }
    return std::nullopt;
}

ViewGeometry::ViewGeometry(const ViewChoice& choice, QSize area, QPoint scroll)
    : choice_(choice), area_(area.expandedTo(QSize(1, 1))) {
    const QSize base = resolution();
    const std::int64_t baseWidth = base.width();
    const std::int64_t baseHeight = base.height();
    if (choice_.zoomPercent) {
        zoom_ = {std::max(*choice_.zoomPercent, 1), 100};
        surface_ = QSize(Side(RoundedRatio(baseWidth * zoom_.numerator, 100)),
                         Side(RoundedRatio(baseHeight * zoom_.numerator, 100)));
    } else if (area_.width() * baseHeight <= area_.height() * baseWidth) {
        // The width limits: it takes the area's width exactly.
        zoom_ = {area_.width(), baseWidth};
        surface_ =
            QSize(Side(area_.width()), Side(RoundedRatio(baseHeight * area_.width(), baseWidth)));
    } else {
        zoom_ = {area_.height(), baseHeight};
        surface_ =
            QSize(Side(RoundedRatio(baseWidth * area_.height(), baseHeight)), Side(area_.height()));
    }
    const QPoint most = maxScroll();
    scroll_ = QPoint(std::clamp(scroll.x(), 0, most.x()), std::clamp(scroll.y(), 0, most.y()));
    origin_ = QPoint(Placed(surface_.width(), area_.width(), scroll_.x()),
                     Placed(surface_.height(), area_.height(), scroll_.y()));
}

QSize ViewGeometry::resolution() const {
    if (choice_.resolution && !choice_.resolution->isEmpty()) return *choice_.resolution;
    return area_;
}

QPoint ViewGeometry::maxScroll() const {
    return QPoint(std::max(surface_.width() - area_.width(), 0),
                  std::max(surface_.height() - area_.height(), 0));
}

QRect ViewGeometry::visibleSurface() const {
    return QRect(ToSurface(QPoint(0, 0)), area_) & QRect(QPoint(0, 0), surface_);
}

ViewGeometry ViewGeometry::Changed(const ViewChoice& choice, QSize area, QPoint anchor) const {
    const ViewGeometry unscrolled(choice, area);
    const QSize after = unscrolled.surface();
    const QPoint before = ToSurface(anchor);
    const QPoint kept(Rescaled(before.x(), surface_.width(), after.width()),
                      Rescaled(before.y(), surface_.height(), after.height()));
    return unscrolled.Scrolled(kept - anchor);
}

std::optional<int> UnitAtColumn(int column, int width, double origin) {
    return UnitAt<MapX>(column, width, kVirtualWidth, origin);
}

std::optional<int> UnitAtRow(int row, int height, double origin) {
    return UnitAt<MapY>(row, height, kVirtualHeight, origin);
}

}  // namespace preview
