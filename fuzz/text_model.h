#pragma once

// A plain model of how the shell's text files read, for the fuzz targets of
// the line reader, the language file and the skin: carriage returns are
// dropped, a byte 26 ends the file, line feeds split the lines, and a line
// gives its first 128 characters up to the first zero byte.

#include <QByteArray>
#include <optional>
#include <vector>

#include "base/line_reader.h"

struct TextModel {
    std::vector<QByteArray> lines;  // without their line feeds
    bool lastEnded = false;         // the last line ends in a line feed

    explicit TextModel(const QByteArray& file) {
        QByteArray text;
        for (const char c : file) {
            if (c == '\x1A') break;
            if (c != '\r') text.append(c);
        }
        if (text.isEmpty()) return;
        const QList<QByteArray> parts = text.split('\n');
        lines.assign(parts.begin(), parts.end());
        lastEnded = text.endsWith('\n');
        if (lastEnded) lines.pop_back();  // nothing follows the last line feed
    }

    // What ReadLine gives for line `index` (from 0); nothing for an empty line
    // and for every line past the end.
    std::optional<QByteArray> Shown(std::int64_t index) const {
        if (index < 0 || index >= static_cast<std::int64_t>(lines.size())) return std::nullopt;
        return ShownLine(lines[static_cast<std::size_t>(index)]);
    }

    static std::optional<QByteArray> ShownLine(const QByteArray& line) {
        if (line.isEmpty()) return std::nullopt;
        const QByteArray kept = line.left(LineReader::kMaxLineLength);
        const qsizetype zero = kept.indexOf('\0');
        return zero < 0 ? kept : kept.left(zero);
    }
};
