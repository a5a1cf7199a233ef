#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImage>

#include "app/preview_panel.h"
#include "assets/picture_loader.h"
#include "base/line_reader.h"
#include "cli_test_support.h"
#include "config/skin_file.h"
#include "document/text_db.h"
#include "preview/preview_look.h"

using namespace cli_test;

namespace {

// Hands a skin to a preview panel the way the editor's window does: the
// pictures to the panel, skin lines 19 to 24 to skinColor1 to skinColor6.
class PanelSkin : public preview::PreviewSkin {
  public:
    PanelSkin(PreviewPanel& panel, preview::PreviewLook& look)
        : PreviewSkin(look), panel_(panel), colors_(look.colors) {}
    void SetBackgroundPicture(const QImage& picture) override { panel_.SetBackground(picture); }
    void SetOverlayPicture(int id, const QImage& picture) override {
        panel_.SetOverlayPicture(id, picture);
    }
    void SetPreviewColor(int index, std::uint32_t color) override {
        preview::SetSkinColor(colors_, index, color);
    }

  private:
    PreviewPanel& panel_;
    preview::PreviewColors& colors_;
};

class RenderCommand : public ::testing::Test {
  protected:
    void SetUp() override {
        records_ = DecodeMenuItems(ReadBytes(SamplePath("kavel.def"))).items;
        QFile db(SamplePath("textdb_en.def"));
        ASSERT_TRUE(db.open(QIODevice::ReadOnly));
        ASSERT_EQ(textDb_.Read(db), TextDb::ReadError::None);
    }

    // What the editor's preview panel shows with the record selected: the
    // skin, then the redraw.
    QImage PanelShows(std::size_t record, QSize size, const QString& skinPath = {}) {
        PreviewPanel panel;
        panel.resize(size + QSize(2, 2));
        panel.show();
        EXPECT_EQ(panel.previewSize(), size);
        preview::PreviewLook look;
        PanelSkin skin(panel, look);
        if (!skinPath.isEmpty()) {
            QFile file(skinPath);
            EXPECT_TRUE(file.open(QIODevice::ReadOnly));
            LineReader reader(file);
            ApplySkinFile(reader, skin, PictureLoading{&LoadPicture, &LoadBitmap});
        }
        panel.Redraw(records_, record, textDb_, look.colors);
        return panel.Snapshot().convertToFormat(QImage::Format_RGB32);
    }

    QImage Rendered(QStringList options) {
        options = QStringList{"render", SamplePath("kavel.def"), SamplePath("textdb_en.def"), "-o",
                              folder_.Path("out.png")} +
                  options;
        const Outcome outcome = RunKaveldef(options);
        EXPECT_EQ(outcome.status, 0) << outcome.err.toStdString();
        EXPECT_TRUE(outcome.err.isEmpty()) << outcome.err.toStdString();
        return QImage(folder_.Path("out.png")).convertToFormat(QImage::Format_RGB32);
    }

    // The glyph edges of a large text can come out a shade different
    // depending on the font sizes drawn before in the process (Qt's FreeType
    // engine keeps state between sizes), so both sides are compared right
    // after a drawing of the same record.
    QImage Warmed(const QStringList& options) {
        Rendered(options);
        return Rendered(options);
    }

    Folder folder_;
    std::vector<MenuItemRecord> records_;
    TextDb textDb_;
};

TEST_F(RenderCommand, MatchesTheEditorsPreviewPanelPixelForPixel) {
    // A captioned window, the loading screen with its four pictures, a race
    // window, and an element by itself; at the default size and others.
    const struct {
        std::size_t record;
        QSize size;
    } cases[] = {
        {1, {800, 600}}, {29, {800, 600}}, {29, {517, 389}}, {36, {1024, 700}}, {2, {640, 480}}};
    for (const auto& c : cases) {
        QStringList options{"--record", QString::number(c.record)};
        if (c.size != QSize(800, 600)) {
            options << "--size" << QStringLiteral("%1x%2").arg(c.size.width()).arg(c.size.height());
        }
        const QImage rendered = Warmed(options);
        EXPECT_TRUE(rendered == PanelShows(c.record, c.size)) << "record " << c.record;
    }
    // The captioned window's inside, left of its elements, in skinColor3.
    EXPECT_EQ(Rendered({"--record", "1"}).pixel(260, 300), QColor(Qt::white).rgb());
    // An element in its window draws the window's screen as the editor shows
    // it with the element selected; by itself, the element alone. A record
    // before the first window stands by itself either way.
    const QImage inWindow = Warmed({"--record", "3", "--in-window"});
    EXPECT_TRUE(inWindow == PanelShows(1, {800, 600}));
    EXPECT_FALSE(inWindow == Warmed({"--record", "3"}));
    EXPECT_TRUE(Warmed({"--record", "0", "--in-window"}) == PanelShows(0, {800, 600}));
}

TEST_F(RenderCommand, TakesTheSkinsColoursAndPicturesFromTheWorkingFolder) {
    const QString previous = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(QStringLiteral(KAVEL_SOURCE_DIR)));
    const QString skin = QStringLiteral("skin/dark/skin.txt");
    const QImage loading = Warmed({"--record", "29", "--skin", skin});
    EXPECT_TRUE(loading == PanelShows(29, {800, 600}, skin));
    const QImage window = Warmed({"--record", "1", "--skin", skin});
    EXPECT_TRUE(window == PanelShows(1, {800, 600}, skin));
    QDir::setCurrent(previous);
    // skinColor3 of the dark skin (its 21st line), red in the low byte.
    EXPECT_EQ(window.pixel(260, 300), qRgb(0x26, 0x2A, 0x31));

    // A skin whose line cannot be read is reported; the lines before it apply.
    const QString faulty = folder_.Write("skin.txt", "UseMetro=0\n255\nnone.jpg\n");
    const Outcome outcome =
        RunKaveldef({"render", SamplePath("kavel.def"), SamplePath("textdb_en.def"), "--record",
                     "1", "--skin", faulty, "-o", folder_.Path("out.png")});
    EXPECT_EQ(outcome.status, 0);
    EXPECT_TRUE(outcome.err.contains(QStringLiteral("Cannot open file none.jpg")))
        << outcome.err.toStdString();
    EXPECT_TRUE(QImage(folder_.Path("out.png")).convertToFormat(QImage::Format_RGB32) ==
                PanelShows(1, {800, 600}));
}

}  // namespace
