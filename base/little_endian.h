#pragma once

#include <QByteArray>
#include <QtEndian>
#include <bit>
#include <cstdint>
#include <type_traits>

// The game's files store every number little-endian. These are the one
// reader and writer of such numbers; floats travel as their bit patterns, so
// no value is ever converted on the way in or out.
namespace little_endian {

namespace detail {
template <typename T>
using Bits = std::conditional_t<sizeof(T) == 2, std::uint16_t, std::uint32_t>;
}  // namespace detail

// The value stored at `at`; T is a 2- or 4-byte integer, or float.
template <typename T>
T Load(const void* at) {
    static_assert(sizeof(T) == 2 || sizeof(T) == 4);
    return std::bit_cast<T>(qFromLittleEndian<detail::Bits<T>>(at));
}

template <typename T>
void Store(void* at, T value) {
    static_assert(sizeof(T) == 2 || sizeof(T) == 4);
    qToLittleEndian(std::bit_cast<detail::Bits<T>>(value), at);
}

template <typename T>
void Append(QByteArray& bytes, T value) {
    char stored[sizeof(T)];
    Store(stored, value);
    bytes.append(stored, sizeof(T));
}

// The value at `at` of `bytes`, every byte beyond the end read as 0.
template <typename T>
T LoadPadded(const QByteArray& bytes, qint64 at) {
    char stored[sizeof(T)] = {};
    for (qint64 i = 0; i < qint64(sizeof(T)); ++i) {
        if (at + i >= 0 && at + i < bytes.size()) stored[i] = bytes[at + i];
    }
    return Load<T>(stored);
}

}  // namespace little_endian
