#pragma once

#include <algorithm>
#include <bit>
#include <cmath>

#include "document/menu_item_record.h"

// Where a record stands and how large it is: the four floats by which the
// preview places its box.
struct RecordGeometry {
    float posX = 0.0f;
    float posY = 0.0f;
    float scaleX = 0.0f;
    float scaleY = 0.0f;
};

inline RecordGeometry GeometryOf(const MenuItemRecord& record) {
    return {record.posX, record.posY, record.scaleX, record.scaleY};
}

inline void SetGeometry(MenuItemRecord& record, const RecordGeometry& geometry) {
    record.posX = geometry.posX;
    record.posY = geometry.posY;
    record.scaleX = geometry.scaleX;
    record.scaleY = geometry.scaleY;
}

// Only a record whose four values are all finite can be moved or resized by
// pointer or keys: arithmetic on a NaN or an infinity has no place to land.
inline bool IsFinite(const RecordGeometry& geometry) {
    return std::isfinite(geometry.posX) && std::isfinite(geometry.posY) &&
           std::isfinite(geometry.scaleX) && std::isfinite(geometry.scaleY);
}

// Compared as stored bits, so that -0 and 0 differ as they do in the file.
inline bool SameBits(float a, float b) {
    return std::bit_cast<std::uint32_t>(a) == std::bit_cast<std::uint32_t>(b);
}

inline bool SameBits(const RecordGeometry& a, const RecordGeometry& b) {
    return SameBits(a.posX, b.posX) && SameBits(a.posY, b.posY) && SameBits(a.scaleX, b.scaleX) &&
           SameBits(a.scaleY, b.scaleY);
}

// Every field the same, as stored: the record's 36 bytes.
inline bool SameBits(const MenuItemRecord& a, const MenuItemRecord& b) {
    return a.id == b.id && std::equal(a.type, a.type + 4, b.type) &&
           SameBits(GeometryOf(a), GeometryOf(b)) && a.textId == b.textId && a.font == b.font &&
           a.color == b.color;
}
