#pragma once

// Shared by the fuzz targets. A broken property aborts, which libFuzzer reports
// as a crash with the input that caused it, and which fails the replay runner
// of the ordinary test suite.

#include <QByteArray>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#define FUZZ_CHECK(condition)                                                                     \
    do {                                                                                          \
        if (!(condition)) {                                                                       \
            std::fprintf(stderr, "%s:%d: property broken: %s\n", __FILE__, __LINE__, #condition); \
            std::abort();                                                                         \
        }                                                                                         \
    } while (0)

// The fuzzer's bytes, copied: Qt's devices and decoders may keep a reference.
inline QByteArray FuzzBytes(const std::uint8_t* data, std::size_t size) {
    return QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
}

// Little-endian 32-bit word at `at`, with the bytes beyond `size` read as 0.
inline std::uint32_t FuzzU32(const QByteArray& bytes, qint64 at) {
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i) {
        const qint64 where = at + i;
        const std::uint32_t byte =
            where >= 0 && where < bytes.size() ? static_cast<unsigned char>(bytes[where]) : 0u;
        value = (value << 8) | byte;
    }
    return value;
}
