#pragma once

// The screens and the string database the preview's benchmarks draw.
#include <QBuffer>
#include <QSize>
#include <cmath>
#include <cstdint>
#include <random>
#include <vector>

#include "document/menu_item_record.h"
#include "document/text_db.h"
#include "document/type_code.h"

namespace bench_screens {

inline constexpr std::uint32_t kTextCount = 1'000'000;
inline const QSize kScreen(1920, 1080);

inline void AppendU32(QByteArray& bytes, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) bytes.append(static_cast<char>((value >> (8 * i)) & 0xFF));
}

// Identifiers 1..kTextCount, each with its own text.
inline const TextDb& MillionTexts() {
    static const TextDb db = [] {
        QByteArray texts;
        std::vector<std::uint32_t> offsets;
        offsets.reserve(kTextCount);
        const std::uint32_t tableEnd = 8 + 8 * kTextCount;
        for (std::uint32_t i = 0; i < kTextCount; ++i) {
            offsets.push_back(tableEnd + static_cast<std::uint32_t>(texts.size()));
            texts.append("Menu entry ").append(QByteArray::number(i)).append('\0');
        }
        QByteArray bytes;
        AppendU32(bytes, kTextCount);
        AppendU32(bytes, 0);
        for (std::uint32_t i = 0; i < kTextCount; ++i) {
            AppendU32(bytes, i + 1);
            AppendU32(bytes, offsets[i]);
        }
        bytes.append(texts);
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::ReadOnly);
        TextDb loaded;
        loaded.Read(buffer);
        return loaded;
    }();
    return db;
}

inline MenuItemRecord Record(const char* shownType, float x, float y, float sx, float sy,
                             std::int32_t id, std::int32_t textId) {
    MenuItemRecord record;
    type_code::SetFromShown(record, shownType);
    record.id = id;
    record.posX = x;
    record.posY = y;
    record.scaleX = sx;
    record.scaleY = sy;
    record.textId = textId;
    return record;
}

// A captioned window over the whole screen and its elements, each with a
// text from anywhere in the database. Scattered: buttons, labels, scroll bars
// and loading pictures of usual sizes at random places, most of them partly
// or wholly under later ones. Tiled: small elements side by side, no text
// hidden.
inline std::vector<MenuItemRecord> Screen(int elements, bool tiled = false) {
    std::mt19937 random(12345);
    std::uniform_real_distribution<float> x(0, 700), y(0, 520), width(40, 200), height(12, 40);
    std::uniform_int_distribution<std::int32_t> text(1, kTextCount);
    const char* types[] = {"butt", "stxt", "ctxt", "scrl", "rcta", "item"};
    const int columns = static_cast<int>(std::ceil(std::sqrt(elements)));
    const float tileWidth = 800.0f / columns;
    const float tileHeight = 558.0f / columns;
    std::vector<MenuItemRecord> records = {Record("wint", 0, 0, 800, 600, 0, 1)};
    for (int i = 0; i < elements; ++i) {
        records.push_back(tiled ? Record(types[i % 6], tileWidth * (i % columns),
                                         tileHeight * (i / columns), tileWidth, tileHeight,
                                         100 + i % 3, text(random))
                                : Record(types[i % 6], x(random), y(random), width(random),
                                         height(random), 100 + i % 3, text(random)));
    }
    records.push_back(Record("stop", 0, 0, 0, 0, 0, 0));
    return records;
}

}  // namespace bench_screens
