#include "document/text_db.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <random>

#include "support/bytes.h"

namespace {

struct DbEntry {
    std::uint32_t id;
    std::uint32_t offset;
};

QByteArray MakeDb(std::uint32_t count, const std::vector<DbEntry>& table, const QByteArray& tail) {
    QByteArray bytes;
    AppendU32(bytes, count);
    AppendU32(bytes, 0xABCDEF01);  // never looked at
    for (const DbEntry& slot : table) {
        AppendU32(bytes, slot.id);
        AppendU32(bytes, slot.offset);
    }
    bytes.append(tail);
    return bytes;
}

TextDb Load(QByteArray bytes) {
    QBuffer buffer(&bytes);
    EXPECT_TRUE(buffer.open(QIODevice::ReadOnly));
    TextDb db;
    EXPECT_EQ(db.Read(buffer), TextDb::ReadError::None);
    return db;
}

std::optional<std::string> ScanFirst(const TextDb& db, std::int32_t id) {
    for (std::uint32_t i = 0; i < db.count(); ++i) {
        const TextDbEntry entry = db.entry(i);
        if (entry.id == id) return std::string(entry.text);
    }
    return std::nullopt;
}

}  // namespace

TEST(TextDb, EmptyAndTooShortFilesHoldNoEntries) {
    EXPECT_EQ(Load(MakeDb(0, {}, {})).count(), 0u);
    const TextDb tiny = Load(QByteArray("\x05\x00", 2));
    EXPECT_EQ(tiny.count(), 0u);
    EXPECT_FALSE(tiny.FindText(0).has_value());
}

TEST(TextDb, TextsAreCutAtNinetyNineCharactersAndFollowTheirOffsets) {
    const QByteArray texts = QByteArray("Start game") + '\0' + QByteArray(99, 'a') + '\0' +
                             QByteArray(150, 'b') + '\0' + '\0';
    const std::uint32_t base = 8 + 8 * 6;
    const TextDb db = Load(MakeDb(6,
                                  {{10, base},
                                   {11, base + 11},
                                   {12, base + 11 + 100},
                                   {13, base + 6},  // the middle of "Start game"
                                   {14, base + 11 + 100 + 151},
                                   {15, 100000}},  // past the end
                                  texts));
    EXPECT_EQ(db.FindText(10), "Start game");
    EXPECT_EQ(db.FindText(11)->size(), 99u);
    EXPECT_EQ(db.FindText(12), std::string(99, 'b'));
    EXPECT_EQ(db.FindText(13), "game");
    EXPECT_EQ(db.FindText(14), "");
    EXPECT_EQ(db.FindText(15), "");
    EXPECT_FALSE(db.FindText(16).has_value());
    const TextDbEntry twelve = db.entry(2);
    EXPECT_EQ(twelve.id, 12);
    EXPECT_EQ(std::string(twelve.text), std::string(99, 'b'));
    EXPECT_EQ(twelve.text[99], '\0');
}

TEST(TextDb, TextWithoutNulEndsAtTheEndOfTheFile) {
    const TextDb db = Load(MakeDb(1, {{7, 16}}, "open"));
    EXPECT_EQ(db.FindText(7), "open");
}

TEST(TextDb, FirstEntryWithAnIdentifierWinsAsInAScan) {
    std::mt19937 random(7);
    for (int round = 0; round < 20; ++round) {
        const std::uint32_t count = 1 + random() % 60;
        std::vector<DbEntry> table;
        for (std::uint32_t i = 0; i < count; ++i)
            table.push_back({static_cast<std::uint32_t>(random() % 8),
                             static_cast<std::uint32_t>(random() % 700)});
        QByteArray tail(200, '\0');
        for (auto& byte : tail) byte = static_cast<char>(random() % 3 ? 'a' + random() % 26 : 0);
        // Some tables are cut short, so their last table lie beyond the end.
        QByteArray file = MakeDb(count, table, tail);
        file.truncate(static_cast<qsizetype>(random() % file.size()) + 1);
        const TextDb db = Load(file);
        for (std::int32_t id = -1; id < 9; ++id) {
            const auto indexed = db.FindText(id);
            const auto scanned = ScanFirst(db, id);
            ASSERT_EQ(indexed.has_value(), scanned.has_value()) << "id " << id;
            if (indexed) {
                EXPECT_EQ(std::string(*indexed), *scanned) << "id " << id;
            }
        }
    }
}

TEST(TextDb, SlotsBeyondTheFileReadAsIdentifierZeroAtOffsetZero) {
    // Count 3, but only one slot and a partial second one in the file.
    QByteArray file = MakeDb(3, {{5, 0}}, QByteArray("\x09\x00", 2));
    const TextDb db = Load(file);
    EXPECT_EQ(db.count(), 3u);
    EXPECT_EQ(db.entry(1).id, 9);
    EXPECT_EQ(db.entry(1).offset, 0u);
    EXPECT_EQ(db.entry(2).id, 0);
    // Offset 0 starts with the count 03 00 00 00: the text is "\x03".
    EXPECT_EQ(db.FindText(0), "\x03");
    EXPECT_EQ(db.FindText(9), "\x03");
}

TEST(TextDb, AbsurdCountIsHeldCompactly) {
    QByteArray file;
    AppendU32(file, 0xFFFFFFFF);
    AppendU32(file, 0);
    const TextDb db = Load(file);
    EXPECT_EQ(db.count(), 0xFFFFFFFFu);
    EXPECT_EQ(db.entry(0xFFFFFFFE).id, 0);
    EXPECT_EQ(db.FindText(0), "\xFF\xFF\xFF\xFF");
    EXPECT_FALSE(db.FindText(1).has_value());
}

TEST(TextDb, AnIndexPastTheCountIsAnEmptyEntry) {
    // Found by fuzzing: the empty text of such an index was copied from a null
    // pointer, which the undefined-behaviour sanitizer stops on.
    const TextDb db = Load(MakeDb(1, {{4, 16}}, "menu"));
    for (const std::uint32_t index : {1u, 2u, 0xFFFFFFFFu}) {
        const TextDbEntry entry = db.entry(index);
        EXPECT_EQ(entry.id, 0);
        EXPECT_EQ(entry.offset, 0u);
        EXPECT_EQ(entry.text[0], '\0');
    }
    EXPECT_EQ(TextDb().entry(0).text[0], '\0');
}
