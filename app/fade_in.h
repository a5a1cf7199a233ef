#pragma once

#include <cstdint>

// One tick of the window's fade-in. The opacity climbs by 5 until it reaches
// the target; when the climb wraps past 255 the target is taken at once.
struct FadeStep {
    std::uint8_t opacity;
    bool stop;
};

inline FadeStep NextFadeStep(std::uint8_t opacity, std::uint8_t fadeTarget,
                             std::uint8_t& fadeLast) {
    if (opacity >= fadeTarget) return {fadeTarget, true};
    const auto next = static_cast<std::uint8_t>(opacity + 5);
    if (next >= fadeLast) {
        fadeLast = next;
        return {next, false};
    }
    return {fadeTarget, true};
}
