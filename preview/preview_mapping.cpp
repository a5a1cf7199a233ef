#include "preview/preview_mapping.h"

#include <algorithm>
#include <cmath>

#include "document/type_code.h"

namespace preview {

double CaptionOffset(const MenuItemRecord& window) {
    return type_code::HasCaption(window) ? kCaptionHeight : 0.0;
}

RecordBox BoxOf(const MenuItemRecord& record, double originX, double originY, int width,
                int height) {
    const double left = originX + record.posX;
    const double top = originY + record.posY;
    const double right = left + record.scaleX;
    const double bottom = top + record.scaleY;
    RecordBox box;
    box.x1 = MapX(left, width);
    box.y1 = MapY(top, height);
    box.x2 = MapX(right, width);
    box.y2 = MapY(bottom, height);
    box.defined =
        !std::isnan(left) && !std::isnan(top) && !std::isnan(right) && !std::isnan(bottom);
    return box;
}

QRect CoveredRect(const RecordBox& box) {
    if (!box.defined) return {};
    const int left = std::min(box.x1, box.x2);
    const int top = std::min(box.y1, box.y2);
    return QRect(left, top, std::max(box.x1, box.x2) - left, std::max(box.y1, box.y2) - top);
}

}  // namespace preview
