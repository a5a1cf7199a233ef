#pragma once

#include <QRect>
#include <algorithm>
#include <cmath>

#include "document/menu_item_record.h"

// Where records land on the preview: the game lays its menus out on a virtual
// screen of 800 x 600 units (origin top-left, y down), which the preview
// stretches over its whole client area of width x height pixels.
namespace preview {

inline constexpr double kVirtualWidth = 800.0;
inline constexpr double kVirtualHeight = 600.0;

// Contents of a captioned window start this many units below its top.
inline constexpr double kCaptionHeight = 42.0;

// Mapped coordinates are clamped to +-kMapLimit before they become integers,
// so infinities and huge values give far-off but well-defined pixels; NaN
// maps to 0. The limit is far beyond any screen and leaves room for the
// arithmetic done on mapped values without overflow.
inline constexpr int kMapLimit = 1 << 24;

// x / (800 / width) and y / (600 / height), truncated toward zero. The
// division by the quotient is deliberate: it rounds differently from a
// multiplication by width / 800 on some values, and the game divides.
// Inline, so that a loop over many records works the quotient out once.
inline int ClampToPixel(double value) {
    if (std::isnan(value)) return 0;
    const double limit = kMapLimit;
    // Within the limit the conversion truncates toward zero and is defined.
    return static_cast<int>(std::clamp(value, -limit, limit));
}
inline int MapX(double x, int width) {
    return ClampToPixel(x / (kVirtualWidth / width));
}
inline int MapY(double y, int height) {
    return ClampToPixel(y / (kVirtualHeight / height));
}

// 42 units for the captioned windows (wint, frac, frmt), 0 otherwise.
double CaptionOffset(const MenuItemRecord& window);

// A record's corners on the surface as the record gives them: its box covers
// columns x1..x2-1 and rows y1..y2-1. x2 < x1 (or y2 < y1) when a scale is
// negative. `defined` is false when any corner's coordinate is NaN.
struct RecordBox {
    int x1 = 0;
    int y1 = 0;
    int x2 = 0;
    int y2 = 0;
    bool defined = false;
};

// The box of a record placed at origin (originX, originY) in virtual units.
// Each coordinate is the double sum origin + position (+ scale), then mapped.
RecordBox BoxOf(const MenuItemRecord& record, double originX, double originY, int width,
                int height);

// The pixels the box covers. A negative extent is turned around, so a record
// with a negative scale shows as the mirror of its positive self (from x2 to
// x1 - 1): it stays in sight where the user can see and mend it, and its size
// on screen changes smoothly as the value passes through zero, much as a
// rectangle does when dragged past its own corner in a drawing program. A zero
// extent (and an undefined box) covers nothing.
QRect CoveredRect(const RecordBox& box);

}  // namespace preview
