#pragma once

#include <QColor>
#include <cstdint>

namespace preview {

// The six skin colours of the preview, each held as the game keeps it:
// 0x00BBGGRR, red in the low byte; the high byte is not looked at.
struct PreviewColors {
    std::uint32_t skinColor1 = 0x0000FF;  // key colour: fills the screen, shows as transparent
    std::uint32_t skinColor2 = 0x808080;  // outline of every box
    std::uint32_t skinColor3 = 0xFFFFFF;  // inside of a window's box, text of its title
    std::uint32_t skinColor4 = 0x000000;  // text of other records, background of a window title
    std::uint32_t skinColor5 = 0xC0C0C0;  // inside of other boxes, background of their texts
    std::uint32_t skinColor6 = 0x2C00BE;  // inside of a scroll bar's box

    bool operator==(const PreviewColors&) const = default;
};

inline QColor ColorFromSkin(std::uint32_t bgr) {
    return QColor(static_cast<int>(bgr & 0xFF), static_cast<int>((bgr >> 8) & 0xFF),
                  static_cast<int>((bgr >> 16) & 0xFF));
}

}  // namespace preview
