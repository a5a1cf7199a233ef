#include "preview/cover_mask.h"

#include <cstring>

namespace preview {

CoverMask::CoverMask(const QRect& area)
    : area_(area.normalized()),
      covered_(static_cast<std::size_t>(area_.width()) * static_cast<std::size_t>(area_.height())) {
}

bool CoverMask::Covers(const QRect& rect) const {
    if (rect.isEmpty() || !area_.contains(rect)) return false;
    const std::size_t width = static_cast<std::size_t>(area_.width());
    const std::size_t length = static_cast<std::size_t>(rect.width());
    for (int y = rect.top(); y <= rect.bottom(); ++y) {
        const std::uint8_t* row = covered_.data() +
                                  static_cast<std::size_t>(y - area_.top()) * width +
                                  static_cast<std::size_t>(rect.left() - area_.left());
        if (std::memchr(row, 0, length) != nullptr) return false;
    }
    return true;
}

void CoverMask::Add(const QRect& rect) {
    const QRect inside = rect & area_;
    if (inside.isEmpty()) return;
    const std::size_t width = static_cast<std::size_t>(area_.width());
    for (int y = inside.top(); y <= inside.bottom(); ++y) {
        std::memset(covered_.data() + static_cast<std::size_t>(y - area_.top()) * width +
                        static_cast<std::size_t>(inside.left() - area_.left()),
                    1, static_cast<std::size_t>(inside.width()));
    }
}

}  // namespace preview
