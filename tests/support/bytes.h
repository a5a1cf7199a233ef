#pragma once

#include <QByteArray>
#include <cstdint>
#include <cstring>
#include <initializer_list>

// Little helpers to build binary test files.
inline void AppendU32(QByteArray& bytes, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) bytes.append(static_cast<char>((value >> (8 * i)) & 0xFF));
}

inline void AppendF32(QByteArray& bytes, float value) {
    std::uint32_t bits;
    std::memcpy(&bits, &value, 4);
    AppendU32(bytes, bits);
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
