#include "document/text_db.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <algorithm>
#include <random>
#include <string_view>
#include <unordered_map>

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

// A device whose bytes from `keep` on vanish at its `onRead`th read, as a file
// that another program cuts short while it is read.
class ShrinkingBuffer : public QBuffer {
  public:
    ShrinkingBuffer(QByteArray bytes, qsizetype keep, int onRead)
        : bytes_(std::move(bytes)), keep_(keep), onRead_(onRead) {
        setBuffer(&bytes_);
    }

  protected:
    qint64 readData(char* data, qint64 maxSize) override {
        if (++reads_ == onRead_) bytes_.truncate(keep_);
        return QBuffer::readData(data, maxSize);
    }

  private:
    QByteArray bytes_;
    qsizetype keep_;
    int onRead_;
    int reads_ = 0;
};

// What a plain read of the file gives: slot bytes beyond the file are 0, a
// text runs from its offset to a NUL, the end of the file or 99 characters.
std::string PlainText(const QByteArray& file, std::uint32_t offset) {
    std::string text;
    for (qint64 at = offset; at < file.size() && file[at] && text.size() < 99; ++at)
        text.push_back(file[at]);
    return text;
}

std::pair<std::int32_t, std::uint32_t> PlainSlot(const QByteArray& file, std::uint32_t index) {
    const qint64 at = 8 + 8 * qint64{index};
    return {little_endian::LoadPadded<std::int32_t>(file, at),
            little_endian::LoadPadded<std::uint32_t>(file, at + 4)};
}

// Checks every entry against a plain read of `file`, and FindText for each of
// `ids` against a scan from entry 0. When the device lost its bytes from
// `keep` on while it was read, a text may instead be cut there.
void ExpectAsReadPlainly(QIODevice& device, const QByteArray& file,
                         const std::vector<std::int32_t>& ids, qsizetype keep) {
    ASSERT_TRUE(device.open(QIODevice::ReadOnly));
    TextDb db;
    ASSERT_EQ(db.Read(device), TextDb::ReadError::None);
    const QByteArray kept = file.left(keep);
    const auto expectText = [&](std::string_view text, std::uint32_t offset) {
        return text == PlainText(file, offset) || text == PlainText(kept, offset);
    };
    std::unordered_map<std::int32_t, std::uint32_t> firstOffset;
    for (std::uint32_t i = 0; i < db.count(); ++i) {
        const auto [id, offset] = PlainSlot(file, i);
        const TextDbEntry read = db.entry(i);
        ASSERT_EQ(read.id, id) << "entry " << i;
        ASSERT_EQ(read.offset, offset) << "entry " << i;
        ASSERT_TRUE(expectText(read.text, offset)) << "entry " << i;
        firstOffset.emplace(id, offset);  // the first stays
    }
    for (const std::int32_t id : ids) {
        const auto found = db.FindText(id);
        const auto scanned = firstOffset.find(id);
        ASSERT_EQ(found.has_value(), scanned != firstOffset.end()) << "id " << id;
        if (found) {
            EXPECT_TRUE(expectText(*found, scanned->second)) << "id " << id;
        }
    }
}

}  // namespace

TEST(TextDb, RandomDatabasesReadAsAPlainReadAndAScanFromTheFirstEntry) {
    std::mt19937 random(7);
    for (int round = 0; round < 300; ++round) {
        // Few identifiers, so that most repeat; they differ in every byte and
        // take in 0 and the extremes.
        std::vector<std::int32_t> ids = {0, -1, 1, INT32_MIN, INT32_MAX};
        for (int i = 0; i < 4; ++i) ids.push_back(static_cast<std::int32_t>(random()));
        const auto rows = static_cast<std::uint32_t>(random() % 60);
        // Texts short and long: half the rounds have NULs few and far between,
        // so that texts run past 99 characters into the next ones.
        QByteArray tail(static_cast<qsizetype>(random() % 700), '\0');
        const unsigned nulEvery = round % 2 ? 4 : 300;
        for (auto& byte : tail)
            byte = static_cast<char>(random() % nulEvery ? 'a' + random() % 26 : 0);
        const std::uint32_t fileSize = 8 + 8 * rows + static_cast<std::uint32_t>(tail.size());
        std::vector<DbEntry> table;
        for (std::uint32_t i = 0; i < rows; ++i) {
            // Offsets at random in the file (texts overlap, touch or lie
            // apart), a few anywhere, most beyond the end.
            const auto offset = random() % 8 ? random() % (fileSize + 10) : random();
            table.push_back({static_cast<std::uint32_t>(ids[random() % ids.size()]),
                             static_cast<std::uint32_t>(offset)});
        }
        if (round % 3 == 0) {  // in order, as most databases come
            std::sort(table.begin(), table.end(), [](DbEntry a, DbEntry b) {
                return static_cast<std::int32_t>(a.id) < static_cast<std::int32_t>(b.id);
            });
            std::vector<std::uint32_t> offsets;
            for (const DbEntry& slot : table) offsets.push_back(slot.offset);
            std::sort(offsets.begin(), offsets.end());
            for (std::size_t i = 0; i < table.size(); ++i) table[i].offset = offsets[i];
        }
        // Counts beyond the table read slots from the texts and past the end
        // of the file; some files are cut short as well.
        QByteArray file = MakeDb(rows + (random() % 3 ? 0 : random() % 100), table, tail);
        if (random() % 4 == 0) file.truncate(static_cast<qsizetype>(random() % file.size()) + 1);
        // Some files shrink right after the table has been read.
        const qsizetype keep = random() % 3 ? file.size() : random() % (file.size() + 1);
        ShrinkingBuffer device(file, keep, 3);
        ExpectAsReadPlainly(device, file, ids, keep);
    }
}

TEST(TextDb, TextsReadAcrossManyOfTheReadersWindows) {
    // 60,000 texts over 2.5 MB, the table shuffled, and every tenth text set
    // apart after a gap, so the reader meets many runs of texts, some across
    // the borders of its 1 MB window.
    constexpr std::uint32_t kEntries = 60'000;
    std::vector<DbEntry> table;
    QByteArray texts;
    const std::uint32_t textsStart = 8 + 8 * kEntries;
    for (std::uint32_t i = 0; i < kEntries; ++i) {
        if (i % 10 == 0) texts.append(QByteArray(200, 'x')).append('\0');
        table.push_back({i, textsStart + static_cast<std::uint32_t>(texts.size())});
        texts.append("Text number " + QByteArray::number(i)).append('\0');
    }
    std::shuffle(table.begin(), table.end(), std::mt19937(3));
    std::vector<std::int32_t> ids = {-1, static_cast<std::int32_t>(kEntries)};
    for (std::int32_t id = 0; id < static_cast<std::int32_t>(kEntries); id += 7) ids.push_back(id);
    QBuffer device;
    const QByteArray file = MakeDb(kEntries, table, texts);
    device.setData(file);
    ExpectAsReadPlainly(device, file, ids, file.size());
}

// Found by fuzzing, for an index past the count: its empty text was copied
// from a null pointer, which the undefined-behaviour sanitizer stops on.
TEST(TextDb, ShortFilesAbsurdCountsAndIndicesPastTheCount) {
    EXPECT_EQ(Load(QByteArray("\x05\x00", 2)).count(), 0u);
    const TextDb absurd = Load(QByteArray("\xFF\xFF\xFF\xFF\0\0\0\0", 8));  // held compactly
    EXPECT_EQ(absurd.count(), 0xFFFFFFFFu);
    EXPECT_EQ(absurd.entry(0xFFFFFFFE).id, 0);
    EXPECT_EQ(absurd.FindText(0), "\xFF\xFF\xFF\xFF");
    EXPECT_FALSE(absurd.FindText(1).has_value());

    const TextDb db = Load(MakeDb(1, {{4, 16}}, "menu"));
    for (const std::uint32_t index : {1u, 2u, 0xFFFFFFFFu}) {
        const TextDbEntry entry = db.entry(index);
        EXPECT_EQ(entry.id, 0);
        EXPECT_EQ(entry.offset, 0u);
        EXPECT_EQ(entry.text[0], '\0');
    }
    EXPECT_EQ(TextDb().entry(0).text[0], '\0');
}

namespace {

// An entry as a plain read gives it: the slot (bytes beyond the file read as
// 0) and the whole text from its offset to a NUL or the end of the file.
struct PlainEntry {
    std::int32_t id;
    std::string text;
    bool operator==(const PlainEntry&) const = default;
};

std::vector<PlainEntry> PlainEntries(const QByteArray& file) {
    std::vector<PlainEntry> entries;
    const std::uint32_t count = file.size() < 4 ? 0 : little_endian::LoadPadded<std::uint32_t>(file, 0);
    for (std::uint32_t i = 0; i < count; ++i) {
        const auto [id, offset] = PlainSlot(file, i);
        std::string text;
        for (qint64 at = offset; at < file.size() && file[at]; ++at) text.push_back(file[at]);
        entries.push_back({id, text});
    }
    return entries;
}

std::vector<PlainEntry> EntriesOf(const TextDb& db) {
    std::vector<PlainEntry> entries;
    for (std::uint32_t i = 0; i < db.count(); ++i)
        entries.push_back({db.IdAt(i), std::string(db.WholeText(i))});
    return entries;
}

std::string RandomBytes(std::mt19937& random, std::size_t most) {
    std::string text(random() % (most + 1), 'a');
    for (char& c : text) c = static_cast<char>(1 + random() % 255);
    return text;
}

}  // namespace

// Odd layouts (counts beyond the table, shared texts, texts in the table or
// cut by the end of the file, offsets past it), edited at random: written and
// read again, every entry keeps its id and its whole text, FindText still
// finds the first, and the written file writes back to itself.
TEST(TextDb, EditedDatabasesWrittenAndReadBackKeepEveryEntryWhole) {
    std::mt19937 random(11);
    for (int round = 0; round < 200; ++round) {
        const auto rows = static_cast<std::uint32_t>(random() % 30);
        QByteArray tail = QByteArray::fromStdString(RandomBytes(random, 400));
        for (int i = 0; i < 10; ++i) tail[random() % std::max<qsizetype>(1, tail.size())] = '\0';
        std::vector<DbEntry> table;
        const std::uint32_t fileSize = 8 + 8 * rows + static_cast<std::uint32_t>(tail.size());
        for (std::uint32_t i = 0; i < rows; ++i)
            table.push_back({static_cast<std::uint32_t>(random() % 6),
                             static_cast<std::uint32_t>(random() % (fileSize + 5))});
        QByteArray file = MakeDb(rows + (random() % 3 ? 0 : random() % 20), table, tail);
        if (random() % 4 == 0) file.truncate(static_cast<qsizetype>(random() % file.size()));
        TextDb db = Load(file);
        std::vector<PlainEntry> plain = PlainEntries(file);
        ASSERT_EQ(EntriesOf(db), plain) << "round " << round;

        std::size_t appended = 0;
        for (int edit = 0; edit < 12; ++edit) {
            const std::string text = RandomBytes(random, random() % 4 ? 20 : 300);
            if (random() % 3 == 0 && !plain.empty()) {
                const auto index = static_cast<std::uint32_t>(random() % plain.size());
                db.SetText(index, text);
                plain[index].text = text;
            } else if (random() % 2 && appended > 0) {
                db.RemoveLast();
                plain.pop_back();
                --appended;
            } else {
                const auto id = static_cast<std::int32_t>(random() % 8);
                ASSERT_TRUE(db.Append(id, text));
                plain.push_back({id, text});
                ++appended;
            }
        }
        ASSERT_EQ(EntriesOf(db), plain) << "round " << round;
        for (std::int32_t id = 0; id < 8; ++id) {
            const auto first = std::find_if(plain.begin(), plain.end(),
                                            [id](const PlainEntry& e) { return e.id == id; });
            ASSERT_EQ(db.FindText(id).has_value(), first != plain.end());
            if (first != plain.end()) {
                EXPECT_EQ(*db.FindText(id), first->text.substr(0, 99));
            }
        }

        const std::optional<QByteArray> written = db.Encode();
        ASSERT_TRUE(written.has_value());
        EXPECT_EQ(PlainEntries(*written), plain) << "round " << round;
        EXPECT_EQ(written->mid(4, 4), file.size() >= 8 ? file.mid(4, 4) : file.mid(4).leftJustified(4, '\0'));
        EXPECT_EQ(Load(*written).Encode(), written);
    }
}

// The file of a string database laid out as it is written comes back byte
// for byte; an odd one keeps its entries, laid out anew.
TEST(TextDb, AFileLaidOutAsWrittenComesBackByteForByte) {
    const QByteArray longText(140, 'L');
    const QByteArray texts = QByteArray("Menu\0", 5) + longText + '\0' +
                             QByteArray("\x80\x81\xFF\x0A\\\0\0", 7);
    const QByteArray laidOut =
        MakeDb(4, {{7, 40}, {0xFFFFFFFD, 45}, {7, 186}, {2, 192}}, texts);  // header ABCDEF01
    TextDb db = Load(laidOut);
    EXPECT_EQ(db.Encode(), laidOut);
    EXPECT_EQ(db.WholeText(1), longText.toStdString());
    EXPECT_EQ(std::string(db.entry(1).text), longText.left(99).toStdString());

    // Two entries share a text, one starts inside it, one in the table, one
    // past the end of the file, one's text is cut by the end of the file; the
    // count claims four slots more than the table: one read from the texts,
    // one the file holds in part and two beyond it, which read as (0, 0).
    const QByteArray odd = MakeDb(
        10, {{1, 56}, {2, 56}, {3, 58}, {4, 12}, {5, 63}, {6, 999}}, QByteArray("Shared\0End", 10));
    const QByteArray written = MakeDb(
        10,
        {{1, 88}, {2, 95}, {3, 102}, {4, 107}, {5, 109}, {6, 113},
         {0x72616853, 114},  // "Shar", and the offset "ed\0E", past the end
         {0x646E, 115},      // "nd", offset 0: the count's byte
         {0, 117}, {0, 119}},
        QByteArray("Shared\0Shared\0ared\0" "8\0End\0\0\0\n\0\n\0\n\0", 33));
    EXPECT_EQ(Load(odd).Encode(), written);
    EXPECT_EQ(Load(written).Encode(), written);
}
