#include "document/screen.h"

#include "document/type_code.h"

namespace screen {

std::optional<std::size_t> WindowOf(std::span<const MenuItemRecord> records, std::size_t index) {
    for (std::size_t i = index + 1; i-- > 0;) {
        if (type_code::IsWindow(records[i])) return i;
    }
    return std::nullopt;
}

}  // namespace screen
