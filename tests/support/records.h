#pragma once

#include <gtest/gtest.h>

#include <QBuffer>
#include <string>
#include <utility>
#include <vector>

#include "document/text_db.h"
#include "document/type_code.h"
#include "support/bytes.h"

// A record of this shown type code, in font 1 and white.
inline MenuItemRecord Rec(const char* shownType, float x, float y, float w, float h, int id = 0,
                          int textId = 0) {
    MenuItemRecord record{id, {}, x, y, w, h, textId, 1, 0xFFFFFF};
    type_code::SetFromShown(record, shownType);
    return record;
}

// A string database read from these bytes.
inline TextDb TextDbRead(QByteArray bytes) {
    QBuffer file(&bytes);
    file.open(QIODevice::ReadOnly);
    TextDb textDb;
    EXPECT_EQ(textDb.Read(file), TextDb::ReadError::None);
    return textDb;
}

// A string database holding these (id, text) entries, read from the game's
// layout.
inline TextDb TextDbOf(const std::vector<std::pair<int, std::string>>& entries) {
    QByteArray bytes, texts;
    AppendU32(bytes, static_cast<std::uint32_t>(entries.size()));
    AppendU32(bytes, 0);
    const auto textsStart = 8 + 8 * static_cast<std::uint32_t>(entries.size());
    for (const auto& [id, text] : entries) {
        AppendU32(bytes, static_cast<std::uint32_t>(id));
        AppendU32(bytes, textsStart + static_cast<std::uint32_t>(texts.size()));
        texts.append(text.c_str(), static_cast<qsizetype>(text.size() + 1));
    }
    return TextDbRead(bytes + texts);
}
