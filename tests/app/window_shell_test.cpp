#include <QAction>
#include <QPushButton>
#include <QTimer>

#include "app/fade_in.h"
#include "app/window_placement.h"
#include "assets/builtin_pictures.h"
#include "window_fixture.h"

TEST(WindowPlacement, SizesTheWindowToTheScreenWithinTheMinimum) {
    const QSize minimum(650, 380);
    EXPECT_EQ(FirstPlacement({0, 0, 1920, 1080}, minimum), QRect(50, 35, 1820, 980));
    EXPECT_EQ(FirstPlacement({0, 0, 640, 480}, minimum), QRect(-5, 35, 650, 380));
    // A monitor right of another, or above it: the window lands on its own.
    EXPECT_EQ(FirstPlacement({1920, 0, 1366, 768}, minimum), QRect(1970, 35, 1266, 668));
    EXPECT_EQ(FirstPlacement({0, -1080, 1920, 1080}, minimum), QRect(50, -1045, 1820, 980));
}

namespace {

// The opacity after each tick, until the timer stops.
std::vector<int> FadeSequence(std::uint8_t target) {
    std::vector<int> values;
    std::uint8_t opacity = 0;
    std::uint8_t last = 0;
    for (int tick = 0; tick < 1000; ++tick) {
        const FadeStep step = NextFadeStep(opacity, target, last);
        opacity = step.opacity;
        values.push_back(opacity);
        if (step.stop) break;
    }
    return values;
}

}  // namespace

TEST(FadeIn, ClimbsByFiveAndStopsAtTheTarget) {
    const auto standard = FadeSequence(250);
    ASSERT_EQ(standard.size(), 51u);
    EXPECT_EQ(standard[0], 5);
    EXPECT_EQ(standard[49], 250);
    EXPECT_EQ(standard[50], 250);

    const auto opaque = FadeSequence(255);
    ASSERT_EQ(opaque.size(), 52u);
    EXPECT_EQ(opaque[50], 255);
    EXPECT_EQ(opaque[51], 255);

    const auto odd = FadeSequence(253);
    ASSERT_EQ(odd.size(), 52u);
    EXPECT_EQ(odd[50], 255);
    EXPECT_EQ(odd[51], 253);

    EXPECT_EQ(FadeSequence(0), std::vector<int>{0});
}

TEST_F(WindowTest, FadesInToItsTargetAndStops) {
    QTRY_VERIFY_WITH_TIMEOUT(!window->tmActivate->isActive(), 5000);
    EXPECT_EQ(window->opacityValue(), 250);
}

TEST_F(WindowTest, HelpAndLinksGoThroughTheShell) {
    QTest::keyClick(window.get(), Qt::Key_F1);
    window->lbSbInfo2Click();
    window->lbSbInfo4Click();
    EXPECT_EQ(platform.shellOpened, (QStringList{"readme_en.txt", "README.md"}));
}

TEST_F(WindowTest, ListRowsAre15PixelsHighAndGlyphsKeepTheirOwnSize) {
    OpenSample();
    const QAbstractItemModel* model = window->lbMain->model();
    EXPECT_EQ(window->lbMain->visualRect(model->index(0, 0)).height(), 15);
    EXPECT_EQ(window->lbMain->visualRect(model->index(3, 0)).top(), 45);

    // The copy glyph's pixels appear in the button one for one, somewhere
    // near its middle; a glyph shrunk to a smaller icon would match nowhere.
    const QImage glyph = BuiltinCopyGlyph().convertToFormat(QImage::Format_RGB32);
    const QImage shown = window->btCopy->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QRgb key = glyph.pixel(0, glyph.height() - 1);
    bool found = false;
    for (int dx = -3; dx <= 3 && !found; ++dx) {
        for (int dy = -3; dy <= 3 && !found; ++dy) {
            int compared = 0;
            bool same = true;
            for (int y = 0; y < glyph.height() && same; ++y) {
                for (int x = 0; x < glyph.width() && same; ++x) {
                    const QPoint at(x + dx, y + dy);
                    if (glyph.pixel(x, y) == key || !QRect(2, 2, 16, 16).contains(at)) continue;
                    same = shown.pixel(at) == glyph.pixel(x, y);
                    ++compared;
                }
            }
            found = same && compared > 40;
        }
    }
    EXPECT_TRUE(found);
}

TEST_F(WindowTest, ClosingNeverAsksAndReleasesTheDocument) {
    OpenSample();
    window->close();
    EXPECT_TRUE(platform.questions.isEmpty());
    EXPECT_TRUE(window->menuItems().empty());
}
