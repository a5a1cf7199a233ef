#include "editing/arrange.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numeric>

#include "document/screen.h"
#include "document/type_code.h"

namespace arrange {

namespace {

constexpr std::size_t kNoWindow = std::numeric_limits<std::size_t>::max();

// Calls visit(row, window) for each selected row, window being the window
// record whose screen holds it (the row itself for a window), or kNoWindow.
// Stops when visit returns false. One pass from the first selected row to
// the last.
template <typename Visit>
void VisitWithWindows(std::span<const MenuItemRecord> records, const RowRanges& rows,
                      Visit visit) {
    if (rows.empty()) return;
    std::size_t window = screen::WindowOf(records, rows.first()).value_or(kNoWindow);
    std::size_t scanned = rows.first();
    for (const RowRange& range : rows.ranges()) {
        for (std::size_t row = range.begin; row < range.end; ++row) {
            for (; scanned <= row; ++scanned) {
                if (type_code::IsWindow(records[scanned])) window = scanned;
            }
            if (!visit(row, window)) return;
        }
    }
}

struct Edges {
    double low;
    double high;
};
Edges EdgesOf(float pos, float scale) {
    const double first = pos;
    const double second = first + scale;
    return {std::min(first, second), std::max(first, second)};
}

float Moved(float pos, double by) {
    return static_cast<float>(pos + by);
}

// Aligns one axis: `edge` picks the edge (or centre) a box is measured by,
// `target` where it goes.
void Align(std::vector<RecordGeometry>& boxes, const std::vector<std::size_t>& taking, bool x,
           int side /* -1 low, 0 centre, 1 high */) {
    double low = std::numeric_limits<double>::infinity();
    double high = -low;
    const auto edges = [x](const RecordGeometry& box) {
        return x ? EdgesOf(box.posX, box.scaleX) : EdgesOf(box.posY, box.scaleY);
    };
    for (const std::size_t i : taking) {
        low = std::min(low, edges(boxes[i]).low);
        high = std::max(high, edges(boxes[i]).high);
    }
    const double target = side < 0 ? low : side > 0 ? high : (low + high) / 2;
    for (const std::size_t i : taking) {
        const Edges own = edges(boxes[i]);
        const double at = side < 0 ? own.low : side > 0 ? own.high : (own.low + own.high) / 2;
        float& pos = x ? boxes[i].posX : boxes[i].posY;
        pos = Moved(pos, target - at);
    }
}

void Distribute(std::vector<RecordGeometry>& boxes, std::vector<std::size_t> taking, bool x) {
    if (taking.size() < 3) return;
    const auto edges = [&boxes, x](std::size_t i) {
        return x ? EdgesOf(boxes[i].posX, boxes[i].scaleX) : EdgesOf(boxes[i].posY, boxes[i].scaleY);
    };
    std::stable_sort(taking.begin(), taking.end(),
                     [&](std::size_t a, std::size_t b) { return edges(a).low < edges(b).low; });
    const Edges first = edges(taking.front());
    const Edges last = edges(taking.back());
    double widths = 0;
    for (std::size_t k = 1; k + 1 < taking.size(); ++k) {
        const Edges own = edges(taking[k]);
        widths += own.high - own.low;
    }
    const double gap = (last.low - first.high - widths) / static_cast<double>(taking.size() - 1);
    double before = 0;  // the widths of the boxes placed so far
    for (std::size_t k = 1; k + 1 < taking.size(); ++k) {
        const Edges own = edges(taking[k]);
        const double at = first.high + before + std::round(static_cast<double>(k) * gap);
        float& pos = x ? boxes[taking[k]].posX : boxes[taking[k]].posY;
        pos = Moved(pos, at - own.low);
        before += own.high - own.low;
    }
}

}  // namespace

std::size_t LeastRecords(Arrangement arrangement) {
    return arrangement == Arrangement::DistributeHorizontally ||
                   arrangement == Arrangement::DistributeVertically
               ? 3
               : 2;
}

std::optional<Refusal> Check(std::span<const MenuItemRecord> records, const RowRanges& rows,
                             Arrangement arrangement) {
    if (rows.count() < LeastRecords(arrangement)) return Refusal::TooFew;
    std::optional<Refusal> refusal;
    std::size_t screenOfFirst = kNoWindow;
    VisitWithWindows(records, rows, [&](std::size_t row, std::size_t window) {
        if (row == rows.first()) {
            screenOfFirst = window;
            return true;
        }
        if (window != screenOfFirst) {
            refusal = Refusal::MixedScreens;
            return false;
        }
        return true;
    });
    if (refusal) return refusal;
    // One screen: its window is selected with its elements.
    if (screenOfFirst != kNoWindow && rows.Contains(screenOfFirst))
        return Refusal::WindowWithElements;
    return std::nullopt;
}

std::vector<RecordGeometry> Arranged(std::span<const RecordGeometry> boxes, std::size_t model,
                                     Arrangement arrangement) {
    std::vector<RecordGeometry> result(boxes.begin(), boxes.end());
    std::vector<std::size_t> taking;
    for (std::size_t i = 0; i < boxes.size(); ++i) {
        if (IsFinite(boxes[i])) taking.push_back(i);
    }
    switch (arrangement) {
        case Arrangement::AlignLeft:
            Align(result, taking, true, -1);
            break;
        case Arrangement::AlignRight:
            Align(result, taking, true, 1);
            break;
        case Arrangement::AlignTop:
            Align(result, taking, false, -1);
            break;
        case Arrangement::AlignBottom:
            Align(result, taking, false, 1);
            break;
        case Arrangement::AlignHorizontalCenters:
            Align(result, taking, true, 0);
            break;
        case Arrangement::AlignVerticalCenters:
            Align(result, taking, false, 0);
            break;
        case Arrangement::DistributeHorizontally:
            Distribute(result, taking, true);
            break;
        case Arrangement::DistributeVertically:
            Distribute(result, taking, false);
            break;
        case Arrangement::SameWidth:
        case Arrangement::SameHeight:
            if (model >= boxes.size() || !IsFinite(boxes[model])) break;
            for (const std::size_t i : taking) {
                if (arrangement == Arrangement::SameWidth) {
                    result[i].scaleX = boxes[model].scaleX;
                } else {
                    result[i].scaleY = boxes[model].scaleY;
                }
            }
            break;
    }
    return result;
}

RowRanges MovedRows(std::span<const MenuItemRecord> records, const RowRanges& selected) {
    RowRanges moved;
    VisitWithWindows(records, selected, [&](std::size_t row, std::size_t window) {
        const bool goesWithWindow = window != kNoWindow && window != row && selected.Contains(window);
        if (!goesWithWindow && IsFinite(GeometryOf(records[row]))) moved.Append(row, row + 1);
        return true;
    });
    return moved;
}

}  // namespace arrange
