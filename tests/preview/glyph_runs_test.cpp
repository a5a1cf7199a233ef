#include "preview/glyph_runs.h"

#include <gtest/gtest.h>

#include <QPainter>
#include <QRawFont>

#include "preview/font_file.h"

namespace {

QImage Blank(QSize size) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(QColor(10, 80, 10));
    return image;
}

int Differing(const QImage& a, const QImage& b) {
    int count = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) count += a.pixel(x, y) != b.pixel(x, y);
    return count;
}

// Kept glyphs fill the pixels the font engine fills for them, pen at any
// fraction of a pixel (but for the odd edge pixel: the engine's own result
// there depends on where on the image it draws); their pixels are the same
// wherever they land, shifted by whole pixels or cut by a clip.
TEST(GlyphRuns, FillWhatTheFontEngineDrawsTheSameWhereverTheyLand) {
    const QRawFont face(preview::RegularFontFile(QStringLiteral("Arial")), 150.0);
    ASSERT_TRUE(face.isValid());
    QGlyphRun run;
    run.setRawFont(face);
    run.setGlyphIndexes(face.glyphIndexesForString(QStringLiteral("Wg\u00C5@j")));
    run.setPositions({{0.0, 0.0}, {91.25, 0.0}, {170.5, 0.0}, {253.984375, 0.0}, {400.0, 0.0}});
    const QColor ink(200, 30, 90);
    const QSize size(560, 260);
    preview::GlyphRuns runs;
    ASSERT_TRUE(preview::GlyphRuns::CanFill(Blank(size), ink, face));
    for (const QPointF at : {QPointF(20, 170), QPointF(20.015625, 171), QPointF(-7.5, 160)}) {
        SCOPED_TRACE(at.x());
        QImage drawn = Blank(size);
        {
            QPainter painter(&drawn);
            painter.setRenderHint(QPainter::TextAntialiasing, false);
            painter.setPen(ink);
            painter.drawGlyphRun(at, run);
        }
        QImage filled = Blank(size);
        runs.Fill(filled, filled.rect(), run, at, &face, ink);
        const int inked = Differing(drawn, Blank(size));
        EXPECT_GT(inked, 10'000);
        EXPECT_LE(Differing(filled, drawn) * 2000, inked);

        // Moved by whole pixels, and cut by a clip.
        const QPoint by(-133, 61);
        QImage moved = Blank(size);
        runs.Fill(moved, moved.rect(), run, at + by, &face, ink);
        const QRect seen = filled.rect() & filled.rect().translated(by);
        EXPECT_TRUE(moved.copy(seen) == filled.copy(seen.translated(-by)));
        const QRect clip(130, 40, 170, 150);
        QImage clipped = Blank(size);
        runs.Fill(clipped, clip, run, at, &face, ink);
        QImage expected = Blank(size);
        QPainter(&expected).drawImage(clip.topLeft(), filled.copy(clip));
        EXPECT_TRUE(clipped == expected);
    }
    EXPECT_GT(runs.bytes(), 0u);
    EXPECT_LE(runs.bytes(), preview::GlyphRuns::kBudgetBytes);
    // Translucent ink and other pixel formats are left to the font engine.
    EXPECT_FALSE(preview::GlyphRuns::CanFill(Blank(size), QColor(200, 30, 90, 128), face));
    EXPECT_FALSE(preview::GlyphRuns::CanFill(QImage(size, QImage::Format_RGB16), ink, face));
}

}  // namespace
