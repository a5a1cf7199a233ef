#include "document/menu_file.h"

#include <cstring>
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

MenuItemRecord DecodeRecord(const unsigned char* raw) {
    MenuItemRecord record;
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
    return record;
}

}  // namespace

MenuReadResult DecodeMenuItems(const QByteArray& bytes) {
    MenuReadResult result;
    const auto* data = reinterpret_cast<const unsigned char*>(bytes.constData());
    const std::size_t size = static_cast<std::size_t>(bytes.size());
    const std::size_t records =
        (size + kMenuItemRecordSize - 1) / static_cast<std::size_t>(kMenuItemRecordSize);

    // The whole file is in memory, so the number of records is known from its
    // length: room for all of them is taken once, at least one growth step.
    try {
        result.items.reserve(records == 0 ? kGrowthStep : records);
    } catch (const std::bad_alloc&) {
        result.error = MenuReadError::AllocateFailed;
        return result;
    }

    std::size_t position = 0;
    while (position < size) {  // the look-ahead byte
        const std::size_t left = size - position;
        if (left >= static_cast<std::size_t>(kMenuItemRecordSize)) {
            result.items.push_back(DecodeRecord(data + position));
        } else {
            unsigned char padded[kMenuItemRecordSize] = {};
            std::memcpy(padded, data + position, left);
            result.items.push_back(DecodeRecord(padded));
        }
        position += kMenuItemRecordSize;
    }

    if (result.items.empty()) {
        result.items = {};
        result.error = MenuReadError::ReallocateFailed;
    }
    return result;
}

MenuReadResult ReadMenuItems(QIODevice& device) {
    try {
        return DecodeMenuItems(device.readAll());
    } catch (const std::bad_alloc&) {
        MenuReadResult failed;
        failed.error = MenuReadError::AllocateFailed;
        return failed;
    }
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
