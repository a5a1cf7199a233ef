#include "preview/tile_cache.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace preview {

namespace {

// Copies the pixels of `area` (in picture pixels) from one image to another,
// each holding the picture's pixels from its own origin on.
void CopyPixels(const QImage& from, QPoint fromOrigin, QImage& to, QPoint toOrigin,
                const QRect& area) {
    const auto rowBytes = static_cast<std::size_t>(area.width()) * sizeof(QRgb);
    for (int y = area.top(); y <= area.bottom(); ++y) {
        const auto* in = reinterpret_cast<const QRgb*>(from.constScanLine(y - fromOrigin.y())) +
                         (area.left() - fromOrigin.x());
        auto* out =
            reinterpret_cast<QRgb*>(to.scanLine(y - toOrigin.y())) + (area.left() - toOrigin.x());
        std::memcpy(out, in, rowBytes);
    }
}

}  // namespace

TileCache::TileCache(QSize size, int tileSide, std::size_t budget)
    : size_(size), side_(std::max(tileSide, 1)), budget_(budget) {}

std::uint64_t TileCache::Key(QPoint cell) {
    return (std::uint64_t{static_cast<std::uint32_t>(cell.x())} << 32) |
           static_cast<std::uint32_t>(cell.y());
}

QPoint TileCache::CellAt(QPoint pixel) const {
    return QPoint(pixel.x() / side_, pixel.y() / side_);
}

QRect TileCache::CellRect(QPoint cell) const {
    return QRect(cell.x() * side_, cell.y() * side_, side_, side_) & QRect(QPoint(0, 0), size_);
}

QRect TileCache::Cells(const QRect& area) const {
    const QRect inside = area & QRect(QPoint(0, 0), size_);
    if (inside.isEmpty()) return {};
    return QRect(CellAt(inside.topLeft()), CellAt(inside.bottomRight()));
}

std::size_t TileCache::bytes() const {
    std::size_t total = 0;
    for (const auto& [key, tile] : tiles_)
        total += static_cast<std::size_t>(tile.image.sizeInBytes());
    return total;
}

template <typename Visit>
void TileCache::ForEachKept(const QRect& area, Visit visit) {
    const QRect cells = Cells(area);
    for (int y = cells.top(); y <= cells.bottom(); ++y) {
        for (int x = cells.left(); x <= cells.right(); ++x) {
            const auto found = tiles_.find(Key(QPoint(x, y)));
            if (found != tiles_.end()) visit(CellRect(QPoint(x, y)), found->second);
        }
    }
}

QRect TileCache::Ensure(const QRect& wanted, const DrawPart& draw) {
    const QRect cells = Cells(wanted);
    if (cells.isEmpty()) return {};
    ++clock_;
    QRegion missing;
    for (int y = cells.top(); y <= cells.bottom(); ++y) {
        for (int x = cells.left(); x <= cells.right(); ++x) {
            const QRect needed = CellRect(QPoint(x, y)) & wanted;
            const auto found = tiles_.find(Key(QPoint(x, y)));
            if (found == tiles_.end()) {
                missing += needed;
                continue;
            }
            found->second.used = clock_;
            missing += QRegion(needed) - found->second.drawn;
        }
    }
    if (missing.isEmpty()) return {};
    const QRect area = missing.boundingRect();
    Store(draw(area), area);
    KeepWithinBudget(wanted);
    return area;
}

int TileCache::EnsureSome(const QRect& wanted, const DrawPart& draw, int limit) {
    const QRect cells = Cells(wanted);
    std::vector<QPoint> missing;
    for (int y = cells.top(); y <= cells.bottom(); ++y) {
        for (int x = cells.left(); x <= cells.right(); ++x) {
            const auto found = tiles_.find(Key(QPoint(x, y)));
            const QRegion whole(CellRect(QPoint(x, y)));
            if (found == tiles_.end() || !(whole - found->second.drawn).isEmpty()) {
                missing.emplace_back(x, y);
            }
        }
    }
    const QPoint centre = wanted.center();
    const auto distance = [&](QPoint cell) {
        return (CellRect(cell).center() - centre).manhattanLength();
    };
    std::stable_sort(missing.begin(), missing.end(),
                     [&](QPoint a, QPoint b) { return distance(a) < distance(b); });
    int drawn = 0;
    for (const QPoint cell : missing) {
        if (drawn >= limit) break;
        ++clock_;
        const QRect area = CellRect(cell);
        Store(draw(area), area);
        ++drawn;
    }
    if (drawn > 0) KeepWithinBudget(wanted);
    return drawn;
}

void TileCache::Redraw(const QRect& area, const QRect& shown, const DrawPart& draw) {
    const QRect inView = Cells(shown);
    std::vector<std::uint64_t> emptied;
    QRegion kept;
    ForEachKept(area, [&](const QRect& square, Tile& tile) {
        if (inView.contains(CellAt(square.topLeft()))) {
            kept += tile.drawn & area;
            return;
        }
        tile.drawn -= area;
        if (tile.drawn.isEmpty()) emptied.push_back(Key(CellAt(square.topLeft())));
    });
    for (const std::uint64_t key : emptied) tiles_.erase(key);
    if (kept.isEmpty()) return;
    const QRect redrawn = kept.boundingRect();
    const QImage drawn = draw(redrawn);
    const bool done = drawn.size() == redrawn.size();
    ForEachKept(redrawn, [&](const QRect& square, Tile& tile) {
        // Not drawn: what it should have replaced is missing from now on.
        if (!done) {
            tile.drawn -= redrawn;
            return;
        }
        const QRegion parts = tile.drawn & redrawn;
        for (const QRect& part : parts) {
            CopyPixels(drawn, redrawn.topLeft(), tile.image, square.topLeft(), part);
        }
    });
}

void TileCache::Clear() {
    tiles_.clear();
}

void TileCache::Paint(QPainter& painter, QPoint origin, const QRect& area) const {
    const QRect cells = Cells(area);
    for (int y = cells.top(); y <= cells.bottom(); ++y) {
        for (int x = cells.left(); x <= cells.right(); ++x) {
            const auto found = tiles_.find(Key(QPoint(x, y)));
            if (found == tiles_.end()) continue;
            const QRect square = CellRect(QPoint(x, y));
            const QRegion parts = found->second.drawn & area;
            for (const QRect& part : parts) {
                painter.drawImage(origin + part.topLeft(), found->second.image,
                                  part.translated(-square.topLeft()));
            }
        }
    }
}

void TileCache::Store(const QImage& drawn, const QRect& area) {
    if (drawn.size() != area.size()) return;  // could not be drawn
    const QRect cells = Cells(area);
    for (int y = cells.top(); y <= cells.bottom(); ++y) {
        for (int x = cells.left(); x <= cells.right(); ++x) {
            const QPoint cell(x, y);
            const QRect tile = CellRect(cell);
            Tile& kept = tiles_[Key(cell)];
            if (kept.image.isNull()) {
                kept.image = QImage(tile.size(), QImage::Format_RGB32);
                if (kept.image.isNull()) {
                    tiles_.erase(Key(cell));
                    continue;
                }
            }
            const QRect part = tile & area;
            CopyPixels(drawn, area.topLeft(), kept.image, tile.topLeft(), part);
            kept.drawn += part;
            kept.used = clock_;
        }
    }
}

void TileCache::KeepWithinBudget(const QRect& wanted) {
    std::size_t total = bytes();
    if (total <= budget_) return;
    const QRect shown = Cells(wanted);
    std::vector<std::pair<std::uint64_t, std::uint64_t>> unseen;  // (used, key)
    for (const auto& [key, tile] : tiles_) {
        const QPoint cell(static_cast<int>(key >> 32), static_cast<int>(key & 0xFFFFFFFFu));
        if (!shown.contains(cell)) unseen.emplace_back(tile.used, key);
    }
    std::sort(unseen.begin(), unseen.end());
    for (const auto& [used, key] : unseen) {
        if (total <= budget_) break;
        const auto found = tiles_.find(key);
        total -= static_cast<std::size_t>(found->second.image.sizeInBytes());
        tiles_.erase(found);
    }
}

}  // namespace preview
