#include "document/menu_file.h"

#include <algorithm>
#include <cstring>
#include <exception>
#include <new>

#include "base/little_endian.h"

namespace {

// Decodes into the array's own element, so that no record is built aside and
// copied in: a large file's records are decoded at close to the speed of
// memory.
void DecodeRecord(const unsigned char* raw, MenuItemRecord& record) {
    record.id = little_endian::Load<std::int32_t>(raw);
    std::memcpy(record.type, raw + 4, 4);
    record.type[4] = '\0';
    record.posX = little_endian::Load<float>(raw + 8);
    record.posY = little_endian::Load<float>(raw + 12);
    record.scaleX = little_endian::Load<float>(raw + 16);
    record.scaleY = little_endian::Load<float>(raw + 20);
    record.textId = little_endian::Load<std::int32_t>(raw + 24);
    record.font = little_endian::Load<std::uint32_t>(raw + 28);
    record.color = little_endian::Load<std::uint32_t>(raw + 32);
}

// Decodes the records in `size` bytes onto the end of `items`; a trailing part
// shorter than a record is one more record whose missing bytes are 0.
void AppendRecords(const unsigned char* data, std::size_t size,
                   std::vector<MenuItemRecord>& items) {
    const std::size_t whole = size / kMenuItemRecordSize;
    for (std::size_t i = 0; i < whole; ++i) {
        DecodeRecord(data + i * kMenuItemRecordSize, items.emplace_back());
    }
    if (const std::size_t left = size % kMenuItemRecordSize) {
        unsigned char padded[kMenuItemRecordSize] = {};
        std::memcpy(padded, data + whole * kMenuItemRecordSize, left);
        DecodeRecord(padded, items.emplace_back());
    }
}

// Room for the records of `bytes` bytes, the last one perhaps short.
std::size_t RoomFor(std::size_t bytes) {
    return (bytes + kMenuItemRecordSize - 1) / kMenuItemRecordSize;
}

}  // namespace

MenuReadResult DecodeMenuItems(const QByteArray& bytes) {
    MenuReadResult result;
    const std::size_t size = static_cast<std::size_t>(bytes.size());
    // The whole file is in memory, so the number of records is known from its
    // length: room for all of them is taken once.
    try {
        result.items.reserve(RoomFor(size));
    } catch (const std::bad_alloc&) {
        result.error = MenuReadError::OutOfMemory;
        return result;
    }
    AppendRecords(reinterpret_cast<const unsigned char*>(bytes.constData()), size, result.items);
    result.shortRecordBytes = static_cast<int>(size % kMenuItemRecordSize);
    if (result.items.empty()) {
        result.items = {};
        result.error = MenuReadError::NoRecords;
    }
    return result;
}

MenuReadResult ReadMenuItems(QIODevice& device) {
    // Read and decoded a piece of whole records at a time rather than read
    // whole first: the bytes of a large file are then never held beside their
    // records, and the fresh memory they would take costs more to touch than
    // the decoding itself.
    constexpr std::size_t kPiece = kMenuItemRecordSize * 4096;
    MenuReadResult result;
    std::vector<unsigned char> piece;
    try {
        // Room for the records the device says it holds; one that says
        // nothing (or grows while read) gets more as they come.
        const qint64 left =
            device.isSequential() ? 0 : std::max<qint64>(0, device.size() - device.pos());
        result.items.reserve(RoomFor(static_cast<std::size_t>(left)));
        piece.resize(kPiece);
    } catch (const std::exception&) {  // bad_alloc, or length_error for an absurd size
        result.items = {};
        result.error = MenuReadError::OutOfMemory;
        return result;
    }
    try {
        std::size_t held = 0;
        for (;;) {
            const qint64 got = device.read(reinterpret_cast<char*>(piece.data() + held),
                                           static_cast<qint64>(kPiece - held));
            if (got > 0) held += static_cast<std::size_t>(got);
            if (got <= 0 || held == kPiece) {
                AppendRecords(piece.data(), held, result.items);
                // Pieces are whole records: only the last can leave bytes over.
                result.shortRecordBytes = static_cast<int>(held % kMenuItemRecordSize);
                held = 0;
            }
            if (got <= 0) break;
        }
    } catch (const std::bad_alloc&) {
        result.items = {};
        result.error = MenuReadError::OutOfMemoryGrowing;
        return result;
    }
    if (result.items.empty()) {
        result.items = {};
        result.error = MenuReadError::NoRecords;
    }
    return result;
}

QByteArray EncodeMenuItems(const std::vector<MenuItemRecord>& items) {
    QByteArray bytes(static_cast<qsizetype>(items.size()) * kMenuItemRecordSize, '\0');
    StoreMenuItems(items, bytes.data());
    return bytes;
}

void StoreMenuItems(std::span<const MenuItemRecord> items, char* out) {
    for (const MenuItemRecord& record : items) {
        little_endian::Store(out, record.id);
        std::memcpy(out + 4, record.type, 4);
        little_endian::Store(out + 8, record.posX);
        little_endian::Store(out + 12, record.posY);
        little_endian::Store(out + 16, record.scaleX);
        little_endian::Store(out + 20, record.scaleY);
        little_endian::Store(out + 24, record.textId);
        little_endian::Store(out + 28, record.font);
        little_endian::Store(out + 32, record.color);
        out += kMenuItemRecordSize;
    }
}

bool WriteMenuItems(QIODevice& device, const std::vector<MenuItemRecord>& items) {
    const QByteArray bytes = EncodeMenuItems(items);
    return device.write(bytes) == bytes.size();
}
