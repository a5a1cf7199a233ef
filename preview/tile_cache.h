#pragma once

#include <QImage>
#include <QPainter>
#include <QPoint>
#include <QRect>
#include <QRegion>
#include <QSize>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <unordered_map>

namespace preview {

// The parts of a large picture that have been drawn, kept as square tiles
// on a fixed grid over it, so that showing another part of it (scrolling)
// draws only what was not drawn before, and a change redraws only what is
// kept. A tile may hold only the part of its square that was wanted so far:
// a view is drawn exactly as far as it reaches. Tiles out of view are let
// go, the least recently shown first, once the kept tiles take more than
// their budget.
class TileCache {
  public:
    // Draws the picture's pixels of a rectangle into a new image of its size.
    using DrawPart = std::function<QImage(const QRect& area)>;

    static constexpr int kDefaultTileSide = 128;
    static constexpr std::size_t kDefaultBudget = std::size_t{64} << 20;

    // For a picture of `size` pixels; `budget` in bytes.
    explicit TileCache(QSize size, int tileSide = kDefaultTileSide,
                       std::size_t budget = kDefaultBudget);

    QSize size() const { return size_; }
    int tileSide() const { return side_; }
    // The tile grid's cell at a pixel, and the pixels of a cell (cut at the
    // picture's edges).
    QPoint CellAt(QPoint pixel) const;
    QRect CellRect(QPoint cell) const;

    // Draws the pixels of `wanted` that are not drawn yet, all in one call
    // of `draw` for the smallest rectangle holding them, so that a whole
    // view is drawn in one pass over the records. Returns that rectangle
    // (empty when every pixel was there).
    QRect Ensure(const QRect& wanted, const DrawPart& draw);
    // Completes at most `limit` tiles meeting `wanted`, those nearest its
    // centre first, one call each: for drawing ahead of a scroll a little
    // at a time. Returns how many it drew.
    int EnsureSome(const QRect& wanted, const DrawPart& draw, int limit);
    // Brings the kept pixels of `area` up to date again after they changed:
    // those of the tiles meeting `shown` in one call of `draw`; those of
    // tiles out of view are let go, to be drawn when they are seen again
    // (so that a change never draws more than the view and its ring).
    void Redraw(const QRect& area, const QRect& shown, const DrawPart& draw);
    // Forgets every tile.
    void Clear();

    // Paints the pixels of `area` from the kept tiles, with the picture's
    // (0, 0) at the painter's `origin`. Pixels not drawn are left as they
    // are.
    void Paint(QPainter& painter, QPoint origin, const QRect& area) const;

    int tileCount() const { return static_cast<int>(tiles_.size()); }
    std::size_t bytes() const;

  private:
    struct Tile {
        QImage image;
        QRegion drawn;  // the pixels of the square it holds
        std::uint64_t used = 0;
    };
    static std::uint64_t Key(QPoint cell);
    QRect Cells(const QRect& area) const;
    // Copies the pixels of `area` from an image of them into the tiles,
    // making the tiles that are missing.
    void Store(const QImage& drawn, const QRect& area);
    // Calls visit(square, tile) for each kept tile meeting the area.
    template <typename Visit>
    void ForEachKept(const QRect& area, Visit visit);
    void KeepWithinBudget(const QRect& wanted);

    QSize size_;
    int side_;
    std::size_t budget_;
    std::unordered_map<std::uint64_t, Tile> tiles_;
    std::uint64_t clock_ = 0;
};

}  // namespace preview
