#pragma once

#include <cstdint>

// One element of the game's menu definition file, as held in memory.
// The fields are kept exactly as stored: reading and writing never convert
// them, so every 32-bit pattern (NaN payloads, -0.0, denormals) survives.
struct MenuItemRecord {
    std::int32_t id = 0;
    // The four type bytes in stored order, then a terminator, so that the
    // held type reads as a text of at most four characters.
    char type[5] = {0, 0, 0, 0, 0};
    float posX = 0.0f;
    float posY = 0.0f;
    float scaleX = 0.0f;
    float scaleY = 0.0f;
    std::int32_t textId = 0;
    std::uint32_t font = 0;
    std::uint32_t color = 0;
};

// Size of one record in the file.
inline constexpr int kMenuItemRecordSize = 36;
