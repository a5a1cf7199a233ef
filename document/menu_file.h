#pragma once

#include <QByteArray>
#include <QIODevice>
#include <span>
#include <vector>

#include "document/menu_item_record.h"

// Outcome of reading a menu definition file.
enum class MenuReadError {
    None,
    OutOfMemory,         // the room for the records could not be had at all
    OutOfMemoryGrowing,  // a file that outgrew the room first taken, and no more came
    NoRecords,           // the file holds no byte, so no record
};

struct MenuReadResult {
    std::vector<MenuItemRecord> items;
    MenuReadError error = MenuReadError::None;
    // When the file's length is not a multiple of a record's: how many bytes
    // of its last record it holds (1 to 35). Otherwise 0.
    int shortRecordBytes = 0;
};

// Decodes records from the bytes of a menu definition file. A trailing part
// shorter than a record is read as one more record whose missing bytes are 0.
// A file without any byte is refused with NoRecords.
MenuReadResult DecodeMenuItems(const QByteArray& bytes);

// Reads the whole device from its current position and decodes it.
MenuReadResult ReadMenuItems(QIODevice& device);

// Encodes records back to bytes: 36 bytes each, every stored type byte kept.
QByteArray EncodeMenuItems(const std::vector<MenuItemRecord>& items);
// The same into room for 36 bytes a record.
void StoreMenuItems(std::span<const MenuItemRecord> items, char* out);

// Writes every record to a device opened for writing. Returns false when the
// device refused any of the bytes.
bool WriteMenuItems(QIODevice& device, const std::vector<MenuItemRecord>& items);
