#include "document/text_db.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <algorithm>
#include <map>
#include <random>

#include "support/records.h"

namespace {

using Entries = std::vector<std::pair<int, std::string>>;

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
// text runs from its offset to a NUL or the end of the file, however long.
std::uint32_t SlotWord(const QByteArray& file, std::uint32_t index, int word) {
    return little_endian::LoadPadded<std::uint32_t>(file, 8 + 8 * qint64{index} + 4 * word);
}

std::string TextAt(const QByteArray& file, std::uint32_t offset) {
    return offset < file.size() ? std::string(file.constData() + offset) : std::string();
}

// Reads `device`, which holds `file` or, from some read on, its first `keep`
// bytes only, and checks every entry against a plain read of the file: its
// slot, its whole text (or that text cut where the file was cut) and the text
// cut to 99 characters. The entries as read.
Entries ExpectReadPlainly(TextDb& db, QIODevice& device, const QByteArray& file, qsizetype keep) {
    EXPECT_TRUE(device.open(QIODevice::ReadOnly));
    EXPECT_EQ(db.Read(device), TextDb::ReadError::None);
    const std::uint32_t count =
        file.size() < 4 ? 0 : little_endian::LoadPadded<std::uint32_t>(file, 0);
    EXPECT_EQ(db.count(), count);
    Entries read;
    for (std::uint32_t i = 0; i < count && i < db.count(); ++i) {
        const TextDbEntry entry = db.entry(i);
        const std::uint32_t offset = SlotWord(file, i, 1);
        const std::string whole(db.WholeText(i));
        EXPECT_EQ(entry.id, static_cast<std::int32_t>(SlotWord(file, i, 0))) << "entry " << i;
        EXPECT_EQ(entry.offset, offset) << "entry " << i;
        EXPECT_TRUE(whole == TextAt(file, offset) || whole == TextAt(file.left(keep), offset))
            << "entry " << i;
        EXPECT_EQ(entry.text, whole.substr(0, 99)) << "entry " << i;
        read.emplace_back(entry.id, whole);
    }
    return read;
}

// Every entry, and FindText of each of `ids` against a scan from entry 0.
void ExpectHolds(const TextDb& db, const Entries& entries, const std::vector<std::int32_t>& ids) {
    ASSERT_EQ(db.count(), entries.size());
    std::map<std::int32_t, std::string> first;
    for (std::uint32_t i = 0; i < entries.size(); ++i) {
        ASSERT_EQ(db.IdAt(i), entries[i].first) << "entry " << i;
        ASSERT_EQ(db.WholeText(i), entries[i].second) << "entry " << i;
        first.emplace(entries[i].first, entries[i].second);  // the first stays
    }
    for (const std::int32_t id : ids) {
        const auto found = first.find(id);
        if (found == first.end()) {
            EXPECT_FALSE(db.FindText(id).has_value()) << "id " << id;
        } else {
            EXPECT_EQ(db.FindText(id), found->second.substr(0, 99)) << "id " << id;
        }
    }
}

std::string RandomBytes(std::mt19937& random, std::size_t most) {
    std::string text(random() % (most + 1), 'a');
    for (char& c : text) c = static_cast<char>(1 + random() % 255);
    return text;
}

}  // namespace

// Random databases of odd layouts, read, edited and written: every entry
// reads as a plain read of the file gives it, FindText finds the first of
// each identifier, and the file is written laid out anew with every entry's
// identifier and whole text, which writes back to itself byte for byte.
TEST(TextDb, RandomDatabasesAreReadEditedAndWrittenAsAPlainReadSays) {
    std::mt19937 random(7);
    for (int round = 0; round < 300; ++round) {
        SCOPED_TRACE(round);
        // Few identifiers, so that most repeat; they differ in every byte and
        // take in 0 and the extremes.
        std::vector<std::int32_t> ids = {0, -1, 1, INT32_MIN, INT32_MAX};
        for (int i = 0; i < 4; ++i) ids.push_back(static_cast<std::int32_t>(random()));
        const auto rows = static_cast<std::uint32_t>(random() % 60);
        // Texts short and long: half the rounds have NULs few and far between,
        // so that texts run past 99 characters into the next ones.
        QByteArray tail = QByteArray::fromStdString(RandomBytes(random, 700));
        const unsigned nulEvery = round % 2 ? 4 : 300;
        for (auto& byte : tail) byte = random() % nulEvery ? byte : '\0';
        const std::uint32_t fileSize = 8 + 8 * rows + static_cast<std::uint32_t>(tail.size());
        std::vector<DbEntry> table;
        for (std::uint32_t i = 0; i < rows; ++i) {
            // Offsets at random in the file (texts overlap, touch or lie
            // apart, or start in the table), a few anywhere, most beyond the end.
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
        if (random() % 4 == 0) file.truncate(static_cast<qsizetype>(random() % file.size()));
        // Some files shrink right after the table has been read.
        const qsizetype keep = random() % 3 ? file.size() : random() % (file.size() + 1);
        ShrinkingBuffer device(file, keep, 3);
        TextDb db;
        Entries entries = ExpectReadPlainly(db, device, file, keep);
        ExpectHolds(db, entries, ids);

        std::size_t appended = 0;
        for (int edit = 0; edit < 12; ++edit) {
            const std::string text = RandomBytes(random, random() % 4 ? 20 : 300);
            if (random() % 3 == 0 && !entries.empty()) {
                const auto index = static_cast<std::uint32_t>(random() % entries.size());
                db.SetText(index, text);
                entries[index].second = text;
            } else if (random() % 2 && appended > 0) {
                db.RemoveLast();
                entries.pop_back();
                --appended;
            } else {
                const std::int32_t id = ids[random() % ids.size()];
                ASSERT_TRUE(db.Append(id, text));
                entries.emplace_back(id, text);
                ++appended;
            }
        }
        ExpectHolds(db, entries, ids);
        const std::optional<QByteArray> written = db.Encode();
        ASSERT_TRUE(written.has_value());
        EXPECT_EQ(*written, TextDbFile(entries, file.mid(4, 4).leftJustified(4, '\0')));
        EXPECT_EQ(TextDbRead(*written).Encode(), written);
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
    TextDb db;
    ExpectHolds(db, ExpectReadPlainly(db, device, file, file.size()), ids);
}

// An index past the count reads as an empty entry: the fuzz target's replay
// checks it on every seed and on the file that found its text copied from a
// null pointer (fuzz/regressions/text_db); here the database of no file.
TEST(TextDb, ShortFilesAbsurdCountsAndIndicesPastTheCount) {
    EXPECT_EQ(TextDbRead(QByteArray("\x05\x00", 2)).count(), 0u);
    const TextDb absurd = TextDbRead(QByteArray("\xFF\xFF\xFF\xFF\0\0\0\0", 8));  // held compactly
    EXPECT_EQ(absurd.count(), 0xFFFFFFFFu);
    EXPECT_EQ(absurd.entry(0xFFFFFFFE).id, 0);
    EXPECT_EQ(absurd.FindText(0), "\xFF\xFF\xFF\xFF");
    EXPECT_FALSE(absurd.FindText(1).has_value());
    const TextDbEntry none = TextDb().entry(0);
    EXPECT_TRUE(none.id == 0 && none.offset == 0 && none.text[0] == '\0');
}
