#pragma once

#include <cstddef>
#include <vector>

#include "document/menu_item_record.h"

// The commands that change the document's records as wholes. Each leaves the
// array unchanged when it returns false (the memory could not be had).

// Inserts a copy of record `selected` right after it.
bool DuplicateRecord(std::vector<MenuItemRecord>& items, std::size_t selected);

// Removes record `selected`; the array keeps no spare room afterwards.
bool DeleteRecord(std::vector<MenuItemRecord>& items, std::size_t selected);

// The row to select after deleting `deleted`: the record before it, or the
// new first record when the first one was deleted.
std::size_t SelectionAfterDelete(std::size_t deleted);
