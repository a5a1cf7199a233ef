#include <QAction>
#include <QLibraryInfo>
#include <QPushButton>
#include <QStyle>
#include <QTimer>

#include "app/fade_in.h"
#include "app/picture_label.h"
#include "app/preview_panel.h"
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

// The opacity climbs by five a tick; a climb past 255 takes the target at once.
TEST(FadeIn, ClimbsByFiveAndStopsAtTheTarget) {
    // The target, the ticks to it, and the opacity of the tick before the last.
    using Case = std::tuple<std::uint8_t, std::size_t, int>;
    for (const auto& [target, ticks, lastButOne] :
         {Case{250, 51, 250}, Case{255, 52, 255}, Case{253, 52, 255}, Case{0, 1, 0}}) {
        std::vector<int> values;
        std::uint8_t opacity = 0, last = 0;
        for (bool stop = false; !stop && values.size() < 1000;) {
            const FadeStep step = NextFadeStep(opacity, target, last);
            values.push_back(opacity = step.opacity);
            stop = step.stop;
        }
        ASSERT_EQ(values.size(), ticks) << int{target};
        EXPECT_EQ(values.back(), target);
        EXPECT_EQ(values[ticks > 1 ? ticks - 2 : 0], lastButOne) << int{target};
    }
}

TEST_F(WindowTest, StartsIdleAndShowsRowsAndGlyphsInTheirOwnSizes) {
    EXPECT_TRUE(window->imBg2->isVisible());
    EXPECT_FALSE(window->lbMain->isVisible() || window->pnMap->isVisible());
    for (QAction* action : {window->mmMainSave, window->mmMainSaveAs, window->mmMainCopy,
                            window->mmMainPaste, window->mmMainInsert, window->mmMainDelete})
        EXPECT_FALSE(action->isEnabled()) << action->text().toStdString();
    EXPECT_TRUE(window->cbLang->isEnabled());
    EXPECT_EQ(window->geometry(), QRect(50, 35, 1266, 668));  // on the fake 1366 x 768 screen
    ASSERT_TRUE(Eventually([this] { return !window->tmActivate->isActive(); }));
    EXPECT_EQ(window->opacityValue(), 250);  // faded in

    QTest::keyClick(window.get(), Qt::Key_F1);
    window->lbSbInfo2Click();
    window->lbSbInfo4Click();
    EXPECT_EQ(platform.shellOpened, (QStringList{"readme_en.txt", "README.md"}));
    // The first credit line sits high in its panel, its capitals whole.
    const QFontMetricsF credit(window->lbSbInfo1->font());
    EXPECT_GE(window->lbSbInfo1->y() + credit.ascent() - credit.capHeight(), 0.0);
    EXPECT_LE(window->lbSbInfo1->y(), 0);

    // A document shown: rows 15 pixels high, glyphs in their own size.
    OpenSample();
    const QRect fourth = window->lbMain->visualRect(window->lbMain->model()->index(3, 0));
    EXPECT_EQ(fourth.top(), 45);
    EXPECT_EQ(fourth.height(), 15);
    EXPECT_EQ(window->lbMain->width(), 89);
    EXPECT_EQ(window->pnMap->x(), 89 + 160);

    // The copy glyph's pixels appear in the button one for one, somewhere
    // near its middle; a glyph shrunk to a smaller icon would match nowhere.
    const QImage glyph = BuiltinCopyGlyph().convertToFormat(QImage::Format_RGB32);
    const QImage shown = window->btCopy->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QRgb key = glyph.pixel(0, glyph.height() - 1);
    const auto matchesAt = [&](QPoint offset) {
        int compared = 0;
        for (int y = 0; y < glyph.height(); ++y) {
            for (int x = 0; x < glyph.width(); ++x) {
                const QPoint at = QPoint(x, y) + offset;
                if (glyph.pixel(x, y) == key || !QRect(2, 2, 16, 16).contains(at)) continue;
                if (shown.pixel(at) != glyph.pixel(x, y)) return false;
                ++compared;
            }
        }
        return compared > 40;
    };
    bool found = false;
    for (int dx = -3; dx <= 3; ++dx)
        for (int dy = -3; dy <= 3; ++dy) found = found || matchesAt({dx, dy});
    EXPECT_TRUE(found);
}

// A long list: End reaches the last row and keeps it selected while the list
// is still being laid out, and every label shows whole also once the indices
// run to six digits (the list widens as far as that needs, and back).
TEST_F(WindowTest, ALongListIsWalkedToItsEndAndShowsItsLabelsWhole) {
    QByteArray menu = SampleBytes("kavel.def").left(36);
    menu.replace(4, 4, "dniw");  // shown as "wind"
    OpenSample(menu.repeated(100000));
    QListView* list = window->lbMain;
    ASSERT_EQ(list->model()->rowCount(), 100000) << window->lbStatus2->text().toStdString();
    const auto lastLabelFits = [list] {
        const QModelIndex last = list->model()->index(list->model()->rowCount() - 1, 0);
        const int margin = list->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, list);
        // Qt cuts a label whose exact width exceeds the room between margins.
        const qreal needed = QFontMetricsF(list->font()).horizontalAdvance(last.data().toString());
        return needed <= list->viewport()->width() - 2 * (margin + 1);
    };
    EXPECT_TRUE(lastLabelFits());
    const int fiveDigits = list->width();

    // Right after the open, while the list is still being laid out.
    QTest::keyClick(list, Qt::Key_End, Qt::ControlModifier);
    ASSERT_EQ(window->selectedIndex(), 99999);
    EXPECT_TRUE(Eventually([list] {
        return list->viewport()->rect().contains(list->visualRect(list->currentIndex()));
    }));
    QTest::keyClick(list, Qt::Key_I, Qt::ControlModifier);
    ASSERT_EQ(list->model()->rowCount(), 100001);
    EXPECT_TRUE(lastLabelFits());
    EXPECT_GT(list->width(), 89);
    EXPECT_EQ(window->pnMain->x(), list->width());
    EXPECT_EQ(window->pnMap->x(), list->width() + 160);
    QTest::keyClick(list, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(list->width(), fiveDigits);
}

// The toolkit's own texts follow the interface language where Qt's
// translations are installed; a code that is no language name reads no file.
TEST(QtPlatformLanguage, ToolkitTextsFollowTheLanguageCode) {
    const auto cancel = [] { return QCoreApplication::translate("QPlatformTheme", "Cancel"); };
    if (!QFile::exists(QLibraryInfo::path(QLibraryInfo::TranslationsPath) + "/qtbase_de.qm"))
        GTEST_SKIP() << "Qt's German translation is not installed";
    {
        QtPlatform platform;
        platform.UseToolkitLanguage("de");
        EXPECT_EQ(cancel(), "Abbrechen");
        for (const QString& code : {QStringLiteral("en"), QStringLiteral("../de"), QString()}) {
            platform.UseToolkitLanguage(code);
            EXPECT_EQ(cancel(), "Cancel") << code.toStdString();
        }
        platform.UseToolkitLanguage("de");
    }
    EXPECT_EQ(cancel(), "Cancel");  // gone with the platform
}
