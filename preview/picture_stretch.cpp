#include "preview/picture_stretch.h"

#include <algorithm>
#include <cstdint>
#include <utility>
#include <vector>

namespace preview {

namespace {

// Where a pixel of the stretched side takes its colour from: two source
// pixels, and the second one's weight in 256ths.
struct Sample {
    int first = 0;
    int second = 0;
    std::uint32_t weight = 0;
};

std::int64_t FloorRatio(std::int64_t a, std::int64_t b) {
    return a / b - (a % b < 0 ? 1 : 0);
}

// Pixel `at` of a side of `placed` pixels samples the source side of
// `source` pixels at (at + 1/2) * source / placed - 1/2, in 256ths, worked
// out exactly in integers.
Sample SampleAt(int at, int placed, int source) {
    const std::int64_t twice = (2 * std::int64_t{at} + 1) * source - placed;
    const std::int64_t position = FloorRatio(twice * 256, 2 * std::int64_t{placed});
    const std::int64_t whole = FloorRatio(position, 256);
    const auto clamp = [source](std::int64_t pixel) {
        return static_cast<int>(std::clamp<std::int64_t>(pixel, 0, source - 1));
    };
    return {clamp(whole), clamp(whole + 1), static_cast<std::uint32_t>(position - whole * 256)};
}

// a and b mixed, b by `weight` 256ths, each channel rounded; the alpha byte
// comes out 0. Red and blue are worked on together, eight bits apart.
inline std::uint32_t Mix(std::uint32_t a, std::uint32_t b, std::uint32_t weight) {
    const std::uint32_t keep = 256 - weight;
    const std::uint32_t redBlue =
        (((a & 0xFF00FFu) * keep + (b & 0xFF00FFu) * weight + 0x800080u) >> 8) & 0xFF00FFu;
    const std::uint32_t green =
        (((a & 0x00FF00u) * keep + (b & 0x00FF00u) * weight + 0x008000u) >> 8) & 0x00FF00u;
    return redBlue | green;
}

}  // namespace

QImage OpaquePicture(const QImage& picture) {
    if (picture.isNull() || picture.format() == QImage::Format_RGB32) return picture;
    return picture.convertToFormat(QImage::Format_RGB32);
}

void StretchPicture(QImage& target, QPoint origin, const QImage& picture, const QRect& placed) {
    if (picture.isNull() || picture.format() != QImage::Format_RGB32 || target.depth() != 32) {
        return;
    }
    const QRect meet = placed & QRect(origin, target.size());
    if (meet.isEmpty()) return;
    const int width = meet.width();
    std::vector<Sample> columns(static_cast<std::size_t>(width));
    for (int x = 0; x < width; ++x) {
        columns[static_cast<std::size_t>(x)] =
            SampleAt(meet.left() + x - placed.left(), placed.width(), picture.width());
    }
    // The two source rows mixed along the row, kept while the rows below
    // still sample them (a stretched picture samples each row several times).
    std::vector<std::uint32_t> upper(columns.size());
    std::vector<std::uint32_t> lower(columns.size());
    int upperRow = -1;
    int lowerRow = -1;
    const auto mixRow = [&](int row, std::vector<std::uint32_t>& into) {
        const auto* source = reinterpret_cast<const std::uint32_t*>(picture.constScanLine(row));
        for (std::size_t x = 0; x < columns.size(); ++x) {
            const Sample& column = columns[x];
            into[x] = Mix(source[column.first], source[column.second], column.weight);
        }
    };
    for (int y = meet.top(); y <= meet.bottom(); ++y) {
        const Sample row = SampleAt(y - placed.top(), placed.height(), picture.height());
        if (row.first != upperRow) {
            if (row.first == lowerRow) {
                std::swap(upper, lower);
                std::swap(upperRow, lowerRow);
            } else {
                mixRow(row.first, upper);
                upperRow = row.first;
            }
        }
        if (row.second != lowerRow) {
            mixRow(row.second, lower);
            lowerRow = row.second;
        }
        auto* out = reinterpret_cast<std::uint32_t*>(target.scanLine(y - origin.y())) +
                    (meet.left() - origin.x());
        for (std::size_t x = 0; x < columns.size(); ++x) {
            out[x] = 0xFF000000u | Mix(upper[x], lower[x], row.weight);
        }
    }
}

}  // namespace preview
