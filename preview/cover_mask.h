#pragma once

#include <QRect>
#include <cstdint>
#include <vector>

namespace preview {

// The pixels of an area that later drawing paints over completely. Filled
// from the last drawing back, it tells which earlier drawing would not show.
class CoverMask {
  public:
    explicit CoverMask(const QRect& area);

    // True when every pixel of the rectangle lies in the area and is covered.
    // An empty rectangle is never covered.
    bool Covers(const QRect& rect) const;
    // Marks the pixels of the rectangle inside the area as covered.
    void Add(const QRect& rect);

  private:
    QRect area_;
    std::vector<std::uint8_t> covered_;
};

}  // namespace preview
