#include "config/skin_file.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <stdexcept>

#include "config/line_reader.h"
#include "editing/conversion_error.h"

namespace {

QString Hex(std::uint32_t value) {
    return QStringLiteral("%1").arg(value, 6, 16, QLatin1Char('0'));
}

// Writes every call down as one line of text.
class RecordingTarget : public SkinTarget {
  public:
    QStringList calls;

    void SetUseMetro(bool on) override { Add("metro", on ? "1" : "0"); }
    void SetFadeTarget(std::uint8_t fade) override { Add("fade", QString::number(fade)); }
    void SetBackgroundPicture(const QImage& p) override { Add("background", Name(p)); }
    void SetOverlayPicture(int id, const QImage& p) override {
        Add("overlay" + QString::number(id), Name(p));
    }
    void SetCopyGlyph(const QImage& p) override { Add("copy", Name(p)); }
    void SetPasteGlyph(const QImage& p) override { Add("paste", Name(p)); }
    void SetStatusStrip(const QImage& p) override { Add("strip", Name(p)); }
    void SetCreditsSeparator(const QImage& p) override { Add("separator", Name(p)); }
    void SetWindowColor(std::uint32_t c) override { Add("window", Hex(c)); }
    void SetInputBackgroundColor(std::uint32_t c) override { Add("inputBack", Hex(c)); }
    void SetWindowTextColor(std::uint32_t c) override { Add("windowText", Hex(c)); }
    void SetInputTextColor(std::uint32_t c) override { Add("inputText", Hex(c)); }
    void SetHeadingTextColor(std::uint32_t c) override { Add("heading", Hex(c)); }
    void SetCaptionTextColor(std::uint32_t c) override { Add("caption", Hex(c)); }
    void SetStatusBarColor(std::uint32_t c) override { Add("statusBar", Hex(c)); }
    void SetPreviewColor(int index, std::uint32_t c) override {
        Add("preview" + QString::number(index), Hex(c));
    }

  private:
    static QString Name(const QImage& picture) { return picture.text(QStringLiteral("name")); }
    void Add(const QString& what, const QString& value) { calls.append(what + ' ' + value); }
};

QImage Named(const QString& name) {
    QImage picture(1, 1, QImage::Format_RGB32);
    picture.setText(QStringLiteral("name"), name);
    return picture;
}

const PictureLoading kLoading{
    [](const QString& path) {
        if (path.contains(QStringLiteral("broken"))) throw std::runtime_error("bad picture");
        return Named("picture:" + path);
    },
    [](const QString& path) { return Named("bitmap:" + path); },
};

QList<QByteArray> CompleteSkin() {
    return {"Classic", "200",   "b\xE4.jpg", "a100.jpg", "a101.bmp", "a102.ico", "t300.jpg",
            "c.jpg",   "p.bmp", "st.bmp",    "sep.bmp",  "1",        "2",        "3",
            "4",       "5",     "6",         "7",        "8",        "9",        "10",
            "11",      "12",    "0x0D",      "line 25"};
}

struct Applied {
    explicit Applied(const QList<QByteArray>& lines) {
        for (const QByteArray& line : lines) bytes += line + '\n';
        buffer.setData(bytes);
        buffer.open(QIODevice::ReadOnly);
        try {
            ApplySkinFile(reader, target, kLoading);
        } catch (const ConversionError& e) {
            error = e.message();
        } catch (const std::runtime_error& e) {
            error = QString::fromStdString(e.what());
        }
    }
    QByteArray bytes;
    QBuffer buffer;
    LineReader reader{buffer};
    RecordingTarget target;
    QString error;
};

QList<QByteArray> With(int lineNumber, const QByteArray& text) {
    QList<QByteArray> lines = CompleteSkin();
    lines[lineNumber - 1] = text;
    return lines;
}

}  // namespace

TEST(SkinFile, EachLineSetsItsPartInOrderAndLaterLinesAreNotRead) {
    Applied skin(CompleteSkin());
    EXPECT_EQ(skin.error, "");
    EXPECT_EQ(skin.target.calls, (QStringList{"metro 0",
                                              "fade 200",
                                              QString::fromUtf8("background picture:bä.jpg"),
                                              "overlay100 picture:a100.jpg",
                                              "overlay101 picture:a101.bmp",
                                              "overlay102 picture:a102.ico",
                                              "overlay300 picture:t300.jpg",
                                              "copy bitmap:c.jpg",
                                              "paste bitmap:p.bmp",
                                              "strip picture:st.bmp",
                                              "separator picture:sep.bmp",
                                              "window 000001",
                                              "inputBack 000002",
                                              "windowText 000003",
                                              "inputText 000004",
                                              "heading 000005",
                                              "caption 000006",
                                              "statusBar 000007",
                                              "preview1 000008",
                                              "preview2 000009",
                                              "preview3 00000a",
                                              "preview4 00000b",
                                              "preview5 00000c",
                                              "preview6 00000d"}));
    EXPECT_EQ(skin.reader.ReadLine("F"), "line 25");
}

TEST(SkinFile, OnlyTheExactMetroLineTurnsMetroOn) {
    EXPECT_EQ(Applied(With(1, "UseMetro=1")).target.calls.first(), "metro 1");
    EXPECT_EQ(Applied(With(1, "usemetro=1")).target.calls.first(), "metro 0");
    EXPECT_EQ(Applied(With(1, "UseMetro=1 ")).target.calls.first(), "metro 0");
}

TEST(SkinFile, TheFadeTargetIsTheLowestEightBits) {
    const std::pair<const char*, const char*> cases[] = {
        {"255", "fade 255"}, {"0", "fade 0"}, {"256", "fade 0"}, {"-1", "fade 255"}};
    for (const auto& [text, call] : cases) {
        EXPECT_EQ(Applied(With(2, text)).target.calls.at(1), call) << text;
    }
}

TEST(SkinFile, EmptyAndMissingLinesStandForTheLastRememberedLine) {
    const Applied emptyFour(With(4, ""));
    EXPECT_EQ(emptyFour.target.calls.at(3), QString::fromUtf8("overlay100 picture:bä.jpg"));
    EXPECT_EQ(emptyFour.target.calls.at(4), "overlay101 picture:a101.bmp");

    // Line 18 is not remembered: an empty line 19 stands for line 17.
    EXPECT_EQ(Applied(With(19, "")).target.calls.at(18), "preview1 000006");

    const Applied seventeen(CompleteSkin().mid(0, 17));
    EXPECT_EQ(seventeen.error, "");
    ASSERT_EQ(seventeen.target.calls.size(), 24);
    for (int i = 17; i < 24; ++i) EXPECT_TRUE(seventeen.target.calls[i].endsWith(" 000006")) << i;

    const Applied single({"UseMetro=1"});
    EXPECT_EQ(single.target.calls, QStringList{"metro 1"});
    EXPECT_EQ(single.error, "'UseMetro=1' is not a valid integer value");
}

TEST(SkinFile, ColoursAreWholeIntegerTexts) {
    const std::pair<const char*, const char*> cases[] = {{"0x00FF00", "window 00ff00"},
                                                         {"$FF0000", "window ff0000"},
                                                         {"xFF", "window 0000ff"},
                                                         {"255", "window 0000ff"}};
    for (const auto& [text, call] : cases) {
        EXPECT_EQ(Applied(With(12, text)).target.calls.at(11), call) << text;
    }

    const Applied trailingBlank(With(12, "255 "));
    EXPECT_EQ(trailingBlank.error, "'255 ' is not a valid integer value");
    EXPECT_EQ(trailingBlank.target.calls.size(), 11);
}

TEST(SkinFile, APictureErrorKeepsTheEarlierLinesAndStops) {
    const Applied skin(With(6, "skin/broken.jpg"));
    EXPECT_EQ(skin.error, "bad picture");
    ASSERT_EQ(skin.target.calls.size(), 5);
    EXPECT_EQ(skin.target.calls.last(), "overlay101 picture:a101.bmp");
}

TEST(ShippedSkins, TheDarkSkinIsCompleteAndItsPicturesLoad) {
    const QDir root(QFileInfo(QStringLiteral(__FILE__)).absolutePath() + QStringLiteral("/../.."));
    const auto load = [&root](const QString& path, const char* format) {
        QImage picture(root.filePath(path), format);
        if (picture.isNull()) throw std::runtime_error("cannot load " + path.toStdString());
        return Named(path);
    };
    const PictureLoading loading{[&](const QString& path) { return load(path, nullptr); },
                                 [&](const QString& path) { return load(path, "BMP"); }};
    QFile file(root.filePath(QStringLiteral("skin/dark/skin.txt")));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    LineReader reader(file);
    RecordingTarget target;
    ApplySkinFile(reader, target, loading);
    ASSERT_EQ(target.calls.size(), 24);
    EXPECT_EQ(target.calls.mid(0, 3),
              (QStringList{"metro 0", "fade 255", "background skin/dark/background.jpg"}));
    EXPECT_FALSE(root.exists(QStringLiteral("skin/skin.txt")));
}
