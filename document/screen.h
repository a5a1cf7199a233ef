#pragma once

#include <cstddef>
#include <optional>
#include <span>

#include "document/menu_item_record.h"

// Screens: a window record and the records after it up to the next window
// record. Its elements are placed relative to the window.
namespace screen {

// The window record whose screen holds record `index` (the record itself when
// it is a window), or nothing for a record before the first window. Looks back
// from `index` to the nearest window record.
std::optional<std::size_t> WindowOf(std::span<const MenuItemRecord> records, std::size_t index);

}  // namespace screen
