#include "editing/record_commands.h"

#include <new>
#include <stdexcept>

bool DuplicateRecord(std::vector<MenuItemRecord>& items, std::size_t selected) {
    if (selected >= items.size()) return false;
    try {
        const MenuItemRecord copy = items[selected];
        items.insert(items.begin() + static_cast<std::ptrdiff_t>(selected) + 1, copy);
    } catch (const std::bad_alloc&) {
        return false;
    } catch (const std::length_error&) {
        return false;
    }
    return true;
}

bool DeleteRecord(std::vector<MenuItemRecord>& items, std::size_t selected) {
    if (selected >= items.size() || items.size() <= 1) return false;
    items.erase(items.begin() + static_cast<std::ptrdiff_t>(selected));
    return true;
}

std::size_t SelectionAfterDelete(std::size_t deleted) {
    return deleted == 0 ? 0 : deleted - 1;
}
