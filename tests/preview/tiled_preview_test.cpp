#include "preview/tiled_preview.h"

#include <gtest/gtest.h>

#include <random>

#include "document/text_db.h"
#include "preview/preview_image.h"
#include "preview/preview_look.h"
#include "preview/screen_drawing.h"
#include "support/records.h"

namespace {

// A picture whose every pixel differs from its neighbours, so that a
// stretch sampled a little off shows.
QImage Pattern(QSize size, int seed) {
    QImage picture(size, QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x)
            picture.setPixel(
                x, y, qRgb((x * 37 + seed) % 256, (y * 53 + x * seed) % 256, (x * y + seed) % 256));
    return picture;
}

class TiledPreviewTest : public ::testing::Test {
  protected:
    void SetUp() override {
        // A scroll bar in the key colour shows the background through it.
        look_.colors.skinColor6 = look_.colors.skinColor1;
        look_.pictures.background = Pattern(QSize(160, 120), 1);
        for (int i = 0; i < preview::kOverlayCount; ++i)
            look_.pictures.overlays[static_cast<std::size_t>(i)] = Pattern(QSize(40, 30), 7 + i);
        records_ = {Rec("wint", 30, 20, 700, 520, 0, 1),
                    Rec("butt", 10, 10, 180, 30, 0, 2),    // text on across tiles
                    Rec("stxt", 250, 40, 200, 190, 0, 3),  // large glyphs
                    Rec("butt", 300, 300, -120, -60, 0, 4),
                    Rec("scrl", 500, 10, 20, 300, 0, 2),
                    Rec("ctxt", -40, 380, 300, 24, 0, 5),
                    Rec("rcta", 520, 100, 150, 100, 101),
                    Rec("rcta", 60, 250, 90, 120, 100),
                    Rec("rcta", 200, 330, 200, 40, 102),
                    Rec("pbrt", 20, 440, 600, 12, 300)};
    }

    QImage Rendered(QSize size) {
        // The first drawing of a glyph may differ in its edges from later ones.
        preview::RenderPreviewImage(records_, 0, db_, size, look_);
        return preview::RenderPreviewImage(records_, 0, db_, size, look_);
    }

    preview::TiledPreview Tiled(QSize size, int side) {
        return preview::TiledPreview(records_, Lookup(), look_.colors, look_.pictures, size, 96,
                                     side);
    }

    preview::TextLookup Lookup() const {
        return [this](std::int32_t id) { return db_.FindText(id); };
    }

    static QImage Painted(const preview::TiledPreview& tiled) {
        QImage shown(tiled.size(), QImage::Format_RGB32);
        shown.fill(Qt::green);
        QPainter painter(&shown);
        tiled.Paint(painter, QPoint(0, 0), shown.rect());
        return shown;
    }

    preview::PreviewLook look_;
    TextDb db_ = TextDbOf({{1, "Options"},
                           {2, "WWWWW Town map and a long text"},
                           {3, "Jg\xC5W"},
                           {4, "Mirrored"},
                           {5, "Tab\there"}});
    std::vector<MenuItemRecord> records_;
};

// Tiles of every size, drawn a viewport first and the rest after, and any
// rectangle drawn alone, give the pixels of the whole picture there.
TEST_F(TiledPreviewTest, EveryPartEqualsTheWholePictureThere) {
    const struct {
        QSize size;
        int side;
    } cases[] = {{{517, 389}, 64}, {{800, 600}, 100}, {{1600, 1200}, 256}, {{2400, 1800}, 300}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.size.width());
        const QImage whole = Rendered(c.size);
        preview::TiledPreview tiled = Tiled(c.size, c.side);
        const QRect viewport(c.size.width() / 3, c.size.height() / 4, c.size.width() / 2,
                             c.size.height() / 3);
        EXPECT_FALSE(tiled.Show(viewport).isEmpty());
        EXPECT_TRUE(tiled.Show(viewport).isEmpty());  // nothing drawn twice
        tiled.Show(QRect(QPoint(0, 0), c.size));
        EXPECT_TRUE(Painted(tiled) == whole);

        preview::ScreenDrawing drawing(records_, Lookup(), look_.colors, c.size, 96);
        for (const QRect part : {QRect(37, 53, 101, 77), QRect(0, c.size.height() - 9, 13, 9),
                                 QRect(c.size.width() / 2 - 1, 1, 3, c.size.height() - 2)}) {
            EXPECT_TRUE(preview::ComposeSurfacePart(drawing, look_.pictures, part) ==
                        whole.copy(part))
                << part.x() << "," << part.y();
        }
    }
}

// After any edit of the records shown (several at once, their texts and
// types, the window itself), and while a group or one record is dragged,
// what is in view equals a whole drawing of the records as they are then;
// what changed out of view is drawn when it is seen again.
TEST_F(TiledPreviewTest, UpdatesAndChangesEqualAWholeDrawing) {
    std::mt19937 random(3);
    const auto uniform = [&random](int low, int high) {
        return static_cast<float>(low + static_cast<int>(random() % (high - low + 1)));
    };
    const auto box = [&] {
        return RecordGeometry{uniform(-50, 700), uniform(-50, 500), uniform(-40, 300),
                              uniform(-10, 80)};
    };
    const char* types[] = {"butt", "stxt", "scrl", "rcta", "pbrt", "ctxt"};
    const QSize size(517, 389);
    const QRect viewport(100, 70, 250, 200);
    const auto inViewAsWhole = [&](const preview::TiledPreview& tiled) {
        return Painted(tiled).copy(viewport) == Rendered(size).copy(viewport);
    };
    for (int round = 0; round < 4; ++round) {
        SCOPED_TRACE(round);
        records_.resize(1);
        records_[0] = Rec(round % 2 ? "wint" : "winc", 50, 40, 600, 500, 0, 2);
        for (int i = 0; i < 40; ++i) {
            records_.push_back(Rec(types[random() % 6], uniform(-50, 700), uniform(-50, 500),
                                   uniform(-40, 300), uniform(-10, 80), i % 4 ? 100 + i % 3 : 300,
                                   static_cast<int>(random() % 6)));
        }
        preview::TiledPreview tiled = Tiled(size, 64);
        tiled.Show(QRect(0, 0, 517, 60));  // seen before, out of view now
        tiled.Show(viewport);
        for (int step = 0; step < 6; ++step) {
            SCOPED_TRACE(step);
            // A few records get other values, texts or types; now and then
            // the window moves.
            for (int k = 0; k < 1 + step % 3; ++k) {
                MenuItemRecord& record = records_[step == 4 ? 0 : 1 + random() % 40];
                SetGeometry(record, box());
                record.textId = static_cast<std::int32_t>(random() % 6);
                if (&record != &records_[0]) type_code::SetFromShown(record, types[random() % 6]);
            }
            ASSERT_TRUE(tiled.Update(records_, viewport));
            ASSERT_TRUE(inViewAsWhole(tiled));
            // Nothing changed: nothing drawn.
            EXPECT_TRUE(tiled.Update(records_, viewport)->isEmpty());
        }
        // A group of three dragged, then one of them alone.
        const std::size_t group[] = {1 + random() % 13, 14 + random() % 13, 27 + random() % 14};
        std::vector<RecordGeometry> geometries;
        for (const std::size_t index : group) {
            geometries.push_back(box());
            SetGeometry(records_[index], geometries.back());
        }
        tiled.Change(group, geometries, viewport);
        ASSERT_TRUE(inViewAsWhole(tiled));
        geometries[0] = box();
        SetGeometry(records_[group[0]], geometries[0]);
        tiled.Change(group[0], geometries[0], viewport);
        EXPECT_TRUE(tiled.Show(viewport).isEmpty());
        ASSERT_TRUE(inViewAsWhole(tiled));
        tiled.Show(QRect(QPoint(0, 0), size));
        ASSERT_TRUE(Painted(tiled) == Rendered(size));
        // Another screen cannot be followed.
        std::vector<MenuItemRecord> shorter(records_.begin(), records_.end() - 1);
        EXPECT_FALSE(tiled.Update(shorter, viewport));
        std::vector<MenuItemRecord> alone = records_;
        type_code::SetFromShown(alone[0], "butt");
        EXPECT_FALSE(tiled.Update(alone, viewport));
    }
}

// The largest surface, 7680 x 4320 at 800 %, costs the tiles in view.
TEST_F(TiledPreviewTest, TheLargestSurfaceIsDrawnOnlyWhereItIsSeen) {
    preview::TiledPreview tiled = Tiled(QSize(61440, 34560), 256);
    EXPECT_EQ(tiled.Show(QRect(30000, 17000, 400, 300)), QRect(30000, 17000, 400, 300));
    EXPECT_EQ(tiled.tiles().bytes(), 4u * 256 * 256 * 4);
}

TEST(TileCache, DrawsWhatIsMissingOnceAndKeepsWithinItsBudget) {
    std::vector<QRect> calls;
    const preview::TileCache::DrawPart draw = [&calls](const QRect& area) {
        calls.push_back(area);
        QImage image(area.size(), QImage::Format_RGB32);
        for (int y = 0; y < area.height(); ++y)
            for (int x = 0; x < area.width(); ++x)
                image.setPixel(x, y, qRgb(area.x() + x, area.y() + y, 0));
        return image;
    };
    // Four tiles of 100 x 100 and the edge's narrower ones; drawn as far as
    // they are wanted.
    preview::TileCache cache(QSize(250, 250), 100, 4 * 100 * 100 * 4);
    EXPECT_EQ(cache.Ensure(QRect(50, 50, 100, 100), draw), QRect(50, 50, 100, 100));
    EXPECT_EQ(cache.Ensure(QRect(60, 110, 80, 30), draw), QRect());
    EXPECT_EQ(cache.Ensure(QRect(150, 0, 100, 100), draw), QRect(150, 0, 100, 100));
    EXPECT_EQ(calls.size(), 2u);
    // Over budget: of the tiles out of view, the one seen longest ago went.
    EXPECT_EQ(cache.tileCount(), 4);
    EXPECT_EQ(cache.Ensure(QRect(60, 110, 10, 10), draw), QRect());
    EXPECT_EQ(cache.Ensure(QRect(0, 0, 10, 10), draw), QRect(0, 0, 10, 10));
    // Redrawn where it changed, as far as it is kept: (1, 1) went last.
    calls.clear();
    cache.Redraw(QRect(90, 90, 30, 30), QRect(0, 0, 250, 250), [&](const QRect& area) {
        QImage image = draw(area);
        image.fill(Qt::blue);
        return image;
    });
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0], QRect(90, 90, 30, 30));
    QImage shown(250, 250, QImage::Format_RGB32);
    shown.fill(Qt::white);
    QPainter painter(&shown);
    cache.Paint(painter, QPoint(0, 0), QRect(0, 0, 250, 250));
    // Drawn, redrawn, and white where not wanted yet (20, 5) or let go (110, 110).
    for (const QPoint drawn : {QPoint(199, 99), QPoint(249, 0), QPoint(60, 120), QPoint(5, 5)})
        EXPECT_EQ(shown.pixel(drawn), qRgb(drawn.x(), drawn.y(), 0)) << drawn.x();
    for (const QPoint redrawn : {QPoint(105, 95), QPoint(95, 115)})
        EXPECT_EQ(shown.pixel(redrawn), QColor(Qt::blue).rgb()) << redrawn.x();
    for (const QPoint blank : {QPoint(20, 5), QPoint(110, 110)})
        EXPECT_EQ(shown.pixel(blank), QColor(Qt::white).rgb()) << blank.x();
    // Drawing ahead completes the nearest tiles first.
    calls.clear();
    EXPECT_EQ(cache.EnsureSome(QRect(0, 0, 250, 250), draw, 1), 1);
    EXPECT_EQ(cache.EnsureSome(QRect(0, 0, 250, 250), draw, 9), 7);
    EXPECT_EQ(calls.front(), QRect(100, 100, 100, 100));
}

}  // namespace
