// The string database reader. Every entry is checked against the file's bytes
// read the plain way: slot i at byte 8 + 8 i (bytes beyond the file read as
// 0), its text from its offset up to a zero byte, at most 99 characters and no
// further than the file. FindText must answer what a scan from the first entry
// answers.

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

std::string TextAtOffset(const QByteArray& bytes, std::uint32_t offset) {
    std::string text;
    for (qint64 at = offset; at < bytes.size() && text.size() < TextDb::kMaxTextLength; ++at) {
        if (bytes[at] == '\0') break;
        text.push_back(bytes[at]);
    }
    return text;
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
    return 0;
}
