#include "preview/picture_stretch.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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

// Two pixels held as four 16-bit channels each (blue lowest), mixed, b by
// `weight` 256ths, each channel rounded, and packed back into 32 bits. No
// channel can carry into the next: 255 * 256 + 128 fits in sixteen bits.
inline std::uint32_t Mix(std::uint64_t a, std::uint64_t b, std::uint32_t weight) {
    const std::uint64_t mixed =
        ((a * (256 - weight) + b * weight + 0x0080008000800080u) >> 8) & 0x00FF00FF00FF00FFu;
    const std::uint64_t paired = mixed | (mixed >> 8);
    return static_cast<std::uint32_t>((paired & 0xFFFFu) | ((paired >> 16) & 0xFFFF0000u));
}

}  // namespace

QImage OpaquePicture(const QImage& picture) {
    if (picture.isNull() || picture.format() == QImage::Format_RGB32) return picture;
    return picture.convertToFormat(QImage::Format_RGB32);
}

void StretchPicture(QImage& target, QPoint origin, const QImage& picture, const QRect& placed,
                    std::optional<QRgb> onlyOver) {
    if (picture.isNull() || picture.format() != QImage::Format_RGB32 || target.depth() != 32) {
        return;
    }
    const QRect meet = placed & QRect(origin, target.size());
    if (meet.isEmpty()) return;
    const auto width = static_cast<std::size_t>(meet.width());
    std::vector<Sample> columns(width);
    for (std::size_t x = 0; x < width; ++x) {
        columns[x] = SampleAt(meet.left() + static_cast<int>(x) - placed.left(), placed.width(),
                              picture.width());
    }
    // Each row first mixes its two source rows over the source columns the
    // part uses, into sixteen bits a channel (a loop the compiler turns into
    // vector code), then mixes along the row. Rows that sample alike share
    // the first step.
    const int used = columns.front().first;
    const auto usedPixels = static_cast<std::size_t>(columns.back().second - used + 1);
    for (Sample& column : columns) {
        column.first -= used;
        column.second -= used;
    }
    std::vector<std::uint64_t> mixed(usedPixels);
    auto* channels = reinterpret_cast<std::uint16_t*>(mixed.data());
    const std::size_t channelCount = usedPixels * 4;
    std::optional<Sample> mixedRow;
    const QRgb opaque = 0xFF000000u;
    for (int y = meet.top(); y <= meet.bottom(); ++y) {
        const Sample row = SampleAt(y - placed.top(), placed.height(), picture.height());
        if (!mixedRow || mixedRow->first != row.first || mixedRow->second != row.second ||
            mixedRow->weight != row.weight) {
            const std::uint8_t* upper = picture.constScanLine(row.first) + std::size_t{4} * used;
            const std::uint8_t* lower = picture.constScanLine(row.second) + std::size_t{4} * used;
            const auto weight = static_cast<std::uint16_t>(row.weight);
            const auto keep = static_cast<std::uint16_t>(256 - row.weight);
            for (std::size_t i = 0; i < channelCount; ++i) {
                channels[i] = static_cast<std::uint16_t>(
                    static_cast<std::uint16_t>(upper[i] * keep + lower[i] * weight + 128) >> 8);
            }
            mixedRow = row;
        }
        auto* out =
            reinterpret_cast<QRgb*>(target.scanLine(y - origin.y())) + (meet.left() - origin.x());
        if (onlyOver) {
            const QRgb key = *onlyOver | opaque;
            for (std::size_t x = 0; x < width; ++x) {
                if ((out[x] | opaque) != key) continue;
                const Sample& column = columns[x];
                out[x] = opaque | Mix(mixed[column.first], mixed[column.second], column.weight);
            }
        } else {
            std::size_t x = 0;
#if defined(__SSE2__)
            // Two pixels at a time, each channel in a 16-bit lane: the same
            // sums as Mix, none of which exceeds sixteen bits.
            const __m128i half = _mm_set1_epi16(128);
            const __m128i whole = _mm_set1_epi16(256);
            const __m128i alpha = _mm_set1_epi32(static_cast<int>(opaque));
            for (; x + 2 <= width; x += 2) {
                const Sample& left = columns[x];
                const Sample& right = columns[x + 1];
                const __m128i a = _mm_set_epi64x(static_cast<long long>(mixed[right.first]),
                                                 static_cast<long long>(mixed[left.first]));
                const __m128i b = _mm_set_epi64x(static_cast<long long>(mixed[right.second]),
                                                 static_cast<long long>(mixed[left.second]));
                const __m128i weight = _mm_set_epi16(
                    static_cast<short>(right.weight), static_cast<short>(right.weight),
                    static_cast<short>(right.weight), static_cast<short>(right.weight),
                    static_cast<short>(left.weight), static_cast<short>(left.weight),
                    static_cast<short>(left.weight), static_cast<short>(left.weight));
                const __m128i sum = _mm_add_epi16(
                    _mm_add_epi16(_mm_mullo_epi16(a, _mm_sub_epi16(whole, weight)),
                                  _mm_mullo_epi16(b, weight)),
                    half);
                const __m128i pixels = _mm_packus_epi16(_mm_srli_epi16(sum, 8), sum);
                _mm_storel_epi64(reinterpret_cast<__m128i*>(out + x), _mm_or_si128(pixels, alpha));
            }
#endif
            for (; x < width; ++x) {
                const Sample& column = columns[x];
                out[x] = opaque | Mix(mixed[column.first], mixed[column.second], column.weight);
            }
        }
    }
}

}  // namespace preview
