#pragma once

#include <gtest/gtest.h>

#include <QBuffer>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "document/document.h"
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

// These rows as runs: {2, 3, 6} is [2, 4) and [6, 7).
inline RowRanges RunsOf(std::initializer_list<std::size_t> rows) {
    RowRanges ranges;
    for (const std::size_t row : rows) ranges.Add(row, row + 1);
    return ranges;
}

// A document holding these records and texts, as if read from these files.
inline void LoadRecords(Document& document, std::vector<MenuItemRecord> records, TextDb textDb = {},
                        const QString& menuPath = QStringLiteral("kavel.def"),
                        const QString& textDbPath = QStringLiteral("textdb.def")) {
    LoadedDocument loaded;
    loaded.menuItems = std::move(records);
    loaded.textDb = std::move(textDb);
    document.Replace(std::move(loaded), menuPath, textDbPath);
}

// A string database read from these bytes.
inline TextDb TextDbRead(QByteArray bytes) {
    QBuffer file(&bytes);
    file.open(QIODevice::ReadOnly);
    TextDb textDb;
    EXPECT_EQ(textDb.Read(file), TextDb::ReadError::None);
    return textDb;
}

// The file of a string database holding these (id, text) entries, laid out
// as the game's files are: the count, the 4 header bytes, the table of (id,
// offset) slots, then each text with its NUL in table order.
inline QByteArray TextDbFile(const std::vector<std::pair<int, std::string>>& entries,
                             const QByteArray& header = QByteArray(4, '\0')) {
    QByteArray bytes, texts;
    AppendU32(bytes, static_cast<std::uint32_t>(entries.size()));
    bytes += header;
    const auto textsStart = 8 + 8 * static_cast<std::uint32_t>(entries.size());
    for (const auto& [id, text] : entries) {
        AppendU32(bytes, static_cast<std::uint32_t>(id));
        AppendU32(bytes, textsStart + static_cast<std::uint32_t>(texts.size()));
        texts.append(text.c_str(), static_cast<qsizetype>(text.size() + 1));
    }
    return bytes + texts;
}

// A string database holding these (id, text) entries, read from that file.
inline TextDb TextDbOf(const std::vector<std::pair<int, std::string>>& entries) {
    return TextDbRead(TextDbFile(entries));
}
