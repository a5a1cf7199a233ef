// The string database reader and writer. Every entry is checked against the
// file's bytes read the plain way: slot i at byte 8 + 8 i (bytes beyond the
// file read as 0), its text from its offset up to a zero byte and no further
// than the file, cut to 99 characters in an entry. FindText must answer what a
// scan from the first entry answers. Edited (a text replaced, an entry added)
// and written, the database reads back with the same entries, whole, and the
// file written writes back to itself.

#include <QBuffer>
#include <QHash>
#include <algorithm>
#include <cstring>
#include <string>

#include "document/text_db.h"
#include "fuzz_support.h"

namespace {

// Slots and texts checked one by one; the reader holds far more at no cost,
// so larger counts are checked over this many leading entries and the last.
constexpr std::uint32_t kScanned = 512;

// Databases up to this count are also edited and written.
constexpr std::uint32_t kWritten = 4096;

std::string WholeTextAt(const QByteArray& bytes, std::uint32_t offset) {
    std::string text;
    for (qint64 at = offset; at < bytes.size() && bytes[at] != '\0'; ++at) text.push_back(bytes[at]);
    return text;
}

std::string TextAtOffset(const QByteArray& bytes, std::uint32_t offset) {
    return WholeTextAt(bytes, offset).substr(0, TextDb::kMaxTextLength);
}

struct Expected {
    std::int32_t id;
    std::uint32_t offset;
    std::string text;
};

Expected ExpectedEntry(const QByteArray& bytes, std::uint32_t index) {
    const qint64 slot = 8 + 8 * qint64{index};
    if (slot >= bytes.size()) return {0, 0, TextAtOffset(bytes, 0)};
    const std::uint32_t offset = FuzzU32(bytes, slot + 4);
    return {static_cast<std::int32_t>(FuzzU32(bytes, slot)), offset, TextAtOffset(bytes, offset)};
}

void CheckEntry(const TextDb& db, const QByteArray& bytes, std::uint32_t index) {
    const TextDbEntry entry = db.entry(index);
    const Expected expected = ExpectedEntry(bytes, index);
    FUZZ_CHECK(::strnlen(entry.text, sizeof entry.text) < sizeof entry.text);
    FUZZ_CHECK(entry.id == expected.id);
    FUZZ_CHECK(entry.offset == expected.offset);
    FUZZ_CHECK(std::string(entry.text) == expected.text);
    FUZZ_CHECK(db.WholeText(index) == WholeTextAt(bytes, expected.offset));
}

TextDb ReadBack(QByteArray bytes) {
    QBuffer device(&bytes);
    FUZZ_CHECK(device.open(QIODevice::ReadOnly));
    TextDb db;
    FUZZ_CHECK(db.Read(device) == TextDb::ReadError::None);
    return db;
}

// The database edited with texts taken from the input, written and read back.
void CheckWritten(TextDb& db, const QByteArray& bytes) {
    const std::string text = bytes.right(12).toStdString();
    if (db.count() > 0) db.SetText(db.count() / 2, text.substr(0, text.find('\0')));
    FUZZ_CHECK(db.Append(static_cast<std::int32_t>(FuzzU32(bytes, 4)), "added"));
    const std::optional<QByteArray> written = db.Encode();
    FUZZ_CHECK(written.has_value());
    const TextDb back = ReadBack(*written);
    FUZZ_CHECK(back.count() == db.count());
    for (std::uint32_t i = 0; i < db.count(); ++i) {
        FUZZ_CHECK(back.IdAt(i) == db.IdAt(i));
        FUZZ_CHECK(back.WholeText(i) == db.WholeText(i));
    }
    FUZZ_CHECK(back.headerBytes() == db.headerBytes());
    FUZZ_CHECK(back.Encode() == written);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    QByteArray bytes = FuzzBytes(data, size);
    QBuffer device(&bytes);
    FUZZ_CHECK(device.open(QIODevice::ReadOnly));
    TextDb db;
    FUZZ_CHECK(db.Read(device) == TextDb::ReadError::None);
    FUZZ_CHECK(db.count() == (size < 4 ? 0 : FuzzU32(bytes, 0)));

    const std::uint32_t scanned = std::min(db.count(), kScanned);
    for (std::uint32_t i = 0; i < scanned; ++i) CheckEntry(db, bytes, i);
    if (db.count() > 0) CheckEntry(db, bytes, db.count() - 1);
    // Past the count there is no entry.
    const TextDbEntry beyond = db.entry(db.count());
    FUZZ_CHECK(beyond.id == 0 && beyond.offset == 0 && beyond.text[0] == '\0');

    if (db.count() <= kScanned) {
        // The first entry of each identifier, found by a scan from the start;
        // FindText must name the same text for it, and nothing for the others.
        QHash<std::int32_t, std::string> first;
        for (std::uint32_t i = 0; i < db.count(); ++i) {
            const TextDbEntry entry = db.entry(i);
            if (!first.contains(entry.id)) first.insert(entry.id, std::string(entry.text));
        }
        for (auto it = first.cbegin(); it != first.cend(); ++it) {
            const std::optional<std::string_view> found = db.FindText(it.key());
            FUZZ_CHECK(found.has_value() && std::string(*found) == it.value());
        }
        for (const std::int32_t id :
             {0, -1, 1, static_cast<std::int32_t>(FuzzU32(bytes, 4)),
              static_cast<std::int32_t>(FuzzU32(bytes, bytes.size() - 4))}) {
            if (!first.contains(id)) FUZZ_CHECK(!db.FindText(id).has_value());
        }
    }
    if (db.count() <= kWritten) CheckWritten(db, bytes);
    return 0;
}
