#include "preview/glyph_runs.h"

#include <QPainter>
#include <QRawFont>
#include <algorithm>
#include <cmath>
#include <cstring>
#include <functional>

namespace preview {

namespace {

// A hinted outline may reach a little past the bounds the face gives.
int MarginOf(const QRawFont& font) {
    return 2 + static_cast<int>(font.pixelSize() / 16.0);
}

// What a kept glyph costs besides its runs: the map's node and the vector.
constexpr std::size_t kEntryBytes = 96;

}  // namespace

std::size_t GlyphRuns::KeyHash::operator()(const Key& key) const {
    const std::size_t face = std::hash<const void*>()(key.face);
    return face ^ (static_cast<std::size_t>(key.glyph) * 0x9E3779B97F4A7C15ull) ^
           (static_cast<std::size_t>(key.sixtyFourths) << 48);
}

bool GlyphRuns::CanFill(const QImage& target, const QColor& color, const QRawFont& font) {
    return (target.format() == QImage::Format_RGB32 ||
            target.format() == QImage::Format_ARGB32_Premultiplied) &&
           color.alpha() == 255 && font.isValid() && font.pixelSize() <= kLargestKeptPixels;
}

void GlyphRuns::Fill(QImage& target, const QRect& clip, const QGlyphRun& glyphs, QPointF at,
                     const void* face, const QColor& color) {
    const QRect area = clip & target.rect();
    if (area.isEmpty()) return;
    const QRawFont font = glyphs.rawFont();
    const QList<quint32> indexes = glyphs.glyphIndexes();
    const QList<QPointF> positions = glyphs.positions();
    // No glyph reaches further than two of its font's pixel sizes from its pen.
    const double reach = 2.0 * font.pixelSize() + MarginOf(font);
    const QRgb pixel = color.rgba();
    uchar* const bits = target.bits();
    const qsizetype stride = target.bytesPerLine();
    for (qsizetype i = 0; i < indexes.size() && i < positions.size(); ++i) {
        const QPointF pen = at + positions[i];
        if (pen.x() + reach < area.left() || pen.x() - reach > area.right() ||
            pen.y() + reach < area.top() || pen.y() - reach > area.bottom()) {
            continue;
        }
        double whole = std::floor(pen.x());
        int sixtyFourths = static_cast<int>(std::lround((pen.x() - whole) * 64.0));
        if (sixtyFourths == 64) {
            whole += 1.0;
            sixtyFourths = 0;
        }
        const int x0 = static_cast<int>(whole);
        const int y0 = static_cast<int>(std::lround(pen.y()));
        for (const Run& run : RunsOf(font, face, indexes[i], sixtyFourths)) {
            const int y = y0 + run.y;
            if (y < area.top() || y > area.bottom()) continue;
            const int left = std::max(x0 + run.left, area.left());
            const int right = std::min(x0 + run.right, area.right() + 1);
            if (left >= right) continue;
            QRgb* const row = reinterpret_cast<QRgb*>(bits + y * stride);
            std::fill(row + left, row + right, pixel);
        }
    }
}

const std::vector<GlyphRuns::Run>& GlyphRuns::RunsOf(const QRawFont& font, const void* face,
                                                     quint32 glyph, int sixtyFourths) {
    const Key key{face, glyph, sixtyFourths};
    if (const auto found = runs_.find(key); found != runs_.end()) return found->second;

    // The glyph is set by the font engine into a scratch image with room
    // around its bounds, and read back row by row.
    const int margin = MarginOf(font);
    const QRect room = font.boundingRect(glyph).toAlignedRect().adjusted(-margin, -margin,
                                                                          margin + 1, margin);
    if (scratch_.width() < room.width() || scratch_.height() < room.height()) {
        scratch_ = QImage(room.size().expandedTo(scratch_.size()),
                          QImage::Format_ARGB32_Premultiplied);
    }
    const std::size_t rowBytes = static_cast<std::size_t>(room.width()) * sizeof(QRgb);
    for (int y = 0; y < room.height(); ++y) std::memset(scratch_.scanLine(y), 0, rowBytes);
    {
        QPainter painter(&scratch_);
        painter.setRenderHint(QPainter::TextAntialiasing, false);
        painter.setPen(Qt::white);
        QGlyphRun one;
        one.setRawFont(font);
        one.setGlyphIndexes({glyph});
        one.setPositions({QPointF(0.0, 0.0)});
        painter.drawGlyphRun(QPointF(sixtyFourths / 64.0 - room.left(), -room.top()), one);
    }
    std::vector<Run> runs;
    for (int y = 0; y < room.height(); ++y) {
        const QRgb* const row = reinterpret_cast<const QRgb*>(scratch_.constScanLine(y));
        for (int x = 0; x < room.width();) {
            while (x < room.width() && qAlpha(row[x]) == 0) ++x;
            const int left = x;
            while (x < room.width() && qAlpha(row[x]) != 0) ++x;
            if (x > left) runs.push_back({y + room.top(), left + room.left(), x + room.left()});
        }
    }
    runs.shrink_to_fit();

    const std::size_t cost = runs.size() * sizeof(Run) + kEntryBytes;
    if (bytes_ + cost > kBudgetBytes) {
        runs_.clear();
        bytes_ = 0;
    }
    bytes_ += cost;
    return runs_.emplace(key, std::move(runs)).first->second;
}

}  // namespace preview
