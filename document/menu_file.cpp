#include "document/menu_file.h"

#include <algorithm>
#include <cstring>
#include <exception>
#include <new>

namespace {

constexpr std::size_t kGrowthStep = 50;

template <typename T>
T LoadLittleEndian(const unsigned char* at) {
    std::uint32_t value =
        static_cast<std::uint32_t>(at[0]) | (static_cast<std::uint32_t>(at[1]) << 8) |
        (static_cast<std::uint32_t>(at[2]) << 16) | (static_cast<std::uint32_t>(at[3]) << 24);
    T result;
    static_assert(sizeof(T) == sizeof(value));
    std::memcpy(&result, &value, sizeof(result));
    return result;
}

template <typename T>
void StoreLittleEndian(char* at, T field) {
    std::uint32_t value;
    static_assert(sizeof(T) == sizeof(value));
    std::memcpy(&value, &field, sizeof(value));
    at[0] = static_cast<char>(value & 0xFF);
    at[1] = static_cast<char>((value >> 8) & 0xFF);
    at[2] = static_cast<char>((value >> 16) & 0xFF);
    at[3] = static_cast<char>((value >> 24) & 0xFF);
}

// Decodes into the array's own element, so that no record is built aside and
// copied in: a large file's records are decoded at close to the speed of
// memory.
void DecodeRecord(const unsigned char* raw, MenuItemRecord& record) {
    record.id = LoadLittleEndian<std::int32_t>(raw);
    std::memcpy(record.type, raw + 4, 4);
    record.type[4] = '\0';
    record.posX = LoadLittleEndian<float>(raw + 8);
    record.posY = LoadLittleEndian<float>(raw + 12);
    record.scaleX = LoadLittleEndian<float>(raw + 16);
    record.scaleY = LoadLittleEndian<float>(raw + 20);
    record.textId = LoadLittleEndian<std::int32_t>(raw + 24);
    record.font = LoadLittleEndian<std::uint32_t>(raw + 28);
    record.color = LoadLittleEndian<std::uint32_t>(raw + 32);
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

// Room for the records of `bytes` bytes, at least one growth step.
std::size_t RoomFor(std::size_t bytes) {
    const std::size_t records = (bytes + kMenuItemRecordSize - 1) / kMenuItemRecordSize;
    return records == 0 ? kGrowthStep : records;
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
        result.error = MenuReadError::AllocateFailed;
        return result;
    }
    AppendRecords(reinterpret_cast<const unsigned char*>(bytes.constData()), size, result.items);
    if (result.items.empty()) {
        result.items = {};
        result.error = MenuReadError::ReallocateFailed;
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
        result.error = MenuReadError::AllocateFailed;
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
                held = 0;
            }
            if (got <= 0) break;
        }
    } catch (const std::bad_alloc&) {
        result.items = {};
        result.error = MenuReadError::ReallocateFailed;
        return result;
    }
    if (result.items.empty()) {
        result.items = {};
        result.error = MenuReadError::ReallocateFailed;
    }
    return result;
}

QByteArray EncodeMenuItems(const std::vector<MenuItemRecord>& items) {
    QByteArray bytes(static_cast<qsizetype>(items.size()) * kMenuItemRecordSize, '\0');
    char* out = bytes.data();
    for (const MenuItemRecord& record : items) {
        StoreLittleEndian(out, record.id);
        std::memcpy(out + 4, record.type, 4);
        StoreLittleEndian(out + 8, record.posX);
        StoreLittleEndian(out + 12, record.posY);
        StoreLittleEndian(out + 16, record.scaleX);
        StoreLittleEndian(out + 20, record.scaleY);
        StoreLittleEndian(out + 24, record.textId);
        StoreLittleEndian(out + 28, record.font);
        StoreLittleEndian(out + 32, record.color);
        out += kMenuItemRecordSize;
    }
    return bytes;
}

bool WriteMenuItems(QIODevice& device, const std::vector<MenuItemRecord>& items) {
    const QByteArray bytes = EncodeMenuItems(items);
    return device.write(bytes) == bytes.size();
}
