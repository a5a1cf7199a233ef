#pragma once

#include <QByteArray>
#include <QIODevice>
#include <vector>

#include "document/menu_item_record.h"

// Outcome of reading a menu definition file.
enum class MenuReadError {
    None,
    AllocateFailed,    // the first room for records could not be had
    ReallocateFailed,  // growing or trimming failed, or the file held no record
};

struct MenuReadResult {
    std::vector<MenuItemRecord> items;
    MenuReadError error = MenuReadError::None;
};

// Decodes records from the bytes of a menu definition file. A trailing part
// shorter than a record is read as one more record whose missing bytes are 0.
// A file without any byte is refused with ReallocateFailed.
MenuReadResult DecodeMenuItems(const QByteArray& bytes);

// Reads the whole device from its current position and decodes it.
MenuReadResult ReadMenuItems(QIODevice& device);

// Encodes records back to bytes: 36 bytes each, every stored type byte kept.
QByteArray EncodeMenuItems(const std::vector<MenuItemRecord>& items);

// Writes every record to a device opened for writing. Returns false when the
// device refused any of the bytes.
bool WriteMenuItems(QIODevice& device, const std::vector<MenuItemRecord>& items);
