#pragma once

#include <QByteArray>
#include <array>
#include <cstdint>
#include <cstring>
#include <limits>
#include <new>
#include <optional>
#include <stdexcept>
#include <string_view>

#include "base/little_endian.h"

// A string database file as this program lays it out: the count and the 4
// header bytes, every entry's (identifier, offset) slot in table order, and
// after the table every entry's text in table order, each followed by a NUL.
// `idAt(i)` and `textAt(i)` give entry i's identifier and text (without NUL).
//
// Nothing when the file would not fit the format's 32-bit offsets (more than
// 4 GiB), or the memory for it is not there.
template <typename IdAt, typename TextAt>
std::optional<QByteArray> EncodeTextDbFile(const std::array<char, 4>& header, std::uint32_t count,
                                           IdAt idAt, TextAt textAt) {
    constexpr std::uint64_t kLargest = std::numeric_limits<std::uint32_t>::max();
    // Every entry needs its 8 bytes of table and at least its NUL.
    const std::uint64_t tableEnd = 8 + 8 * std::uint64_t{count};
    if (tableEnd + count > kLargest) return std::nullopt;
    std::uint64_t size = tableEnd;
    for (std::uint32_t i = 0; i < count && size <= kLargest; ++i) size += textAt(i).size() + 1;
    if (size > kLargest) return std::nullopt;

    try {
        QByteArray bytes(static_cast<qsizetype>(size), Qt::Uninitialized);
        char* out = bytes.data();
        little_endian::Store(out, count);
        std::memcpy(out + 4, header.data(), header.size());
        auto offset = static_cast<std::uint32_t>(tableEnd);
        for (std::uint32_t i = 0; i < count; ++i) {
            char* slot = out + 8 + 8 * std::uint64_t{i};
            little_endian::Store(slot, static_cast<std::int32_t>(idAt(i)));
            little_endian::Store(slot + 4, offset);
            const std::string_view text = textAt(i);
            if (!text.empty()) std::memcpy(out + offset, text.data(), text.size());
            out[offset + text.size()] = '\0';
            offset += static_cast<std::uint32_t>(text.size() + 1);
        }
        return bytes;
    } catch (const std::bad_alloc&) {
        return std::nullopt;
    } catch (const std::length_error&) {
        return std::nullopt;
    }
}
