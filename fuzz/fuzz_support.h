#pragma once

// Shared by the fuzz targets. A broken property aborts, which libFuzzer reports
// as a crash with the input that caused it, and which fails the replay runner
// of the ordinary test suite.

#include <QByteArray>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "base/little_endian.h"

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
    return little_endian::LoadPadded<std::uint32_t>(bytes, at);
}
