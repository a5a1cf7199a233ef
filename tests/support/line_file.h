#pragma once

#include <QBuffer>
#include <QByteArray>

#include "base/line_reader.h"

// A line reader over these bytes, as over a file that holds them.
struct LineFile {
    explicit LineFile(QByteArray content) : bytes(std::move(content)), buffer(&bytes) {
        buffer.open(QIODevice::ReadOnly);
    }
    QByteArray bytes;
    QBuffer buffer;
    LineReader reader{buffer};
};
