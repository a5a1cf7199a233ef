#pragma once

#include <QRect>
#include <QSize>
#include <algorithm>

// Where the window goes at its first activation: 100 pixels smaller than the
// screen each way (but never below the minimum), centred, 15 pixels high.
// The screen is given in desktop coordinates, so the window lands on its own
// monitor wherever that lies on the desktop.
inline QRect FirstPlacement(const QRect& screen, QSize minimum) {
    const int width = std::max(screen.width() - 100, minimum.width());
    const int height = std::max(screen.height() - 100, minimum.height());
    // Halves truncated toward zero, as integer division does.
    const int left = (screen.width() - width) / 2;
    const int top = (screen.height() - height) / 2 - 15;
    return QRect(screen.x() + left, screen.y() + top, width, height);
}
