#pragma once

#include <QByteArray>
#include <cstdint>
#include <cstring>

#include "base/little_endian.h"

// Little helpers to build binary test files.
inline void AppendU32(QByteArray& bytes, std::uint32_t value) {
    little_endian::Append(bytes, value);
}

inline std::uint32_t BitsOf(float value) {
    std::uint32_t bits;
    std::memcpy(&bits, &value, 4);
    return bits;
}

inline float FloatFromBits(std::uint32_t bits) {
    float value;
    std::memcpy(&value, &bits, 4);
    return value;
}
