#include "config/skin_file.h"

#include <gtest/gtest.h>

#include <QStringList>
#include <stdexcept>
#include <tuple>

#include "base/conversion_error.h"
#include "support/line_file.h"

namespace {

// Writes every call down as "what value"; pictures by their "name" text.
class RecordingTarget : public SkinTarget {
  public:
    QStringList calls;

    void SetUseMetro(bool on) override { Add("metro", on ? "1" : "0"); }
    void SetFadeTarget(std::uint8_t fade) override { Add("fade", QString::number(fade)); }
    void SetBackgroundPicture(const QImage& p) override { Add("background", p); }
    void SetOverlayPicture(int id, const QImage& p) override { Add(QString::number(id), p); }
    void SetCopyGlyph(const QImage& p) override { Add("copy", p); }
    void SetPasteGlyph(const QImage& p) override { Add("paste", p); }
    void SetStatusStrip(const QImage& p) override { Add("strip", p); }
    void SetCreditsSeparator(const QImage& p) override { Add("separator", p); }
    void SetWindowColor(std::uint32_t c) override { Add("window", c); }
    void SetInputBackgroundColor(std::uint32_t c) override { Add("inputBack", c); }
    void SetWindowTextColor(std::uint32_t c) override { Add("windowText", c); }
    void SetInputTextColor(std::uint32_t c) override { Add("inputText", c); }
    void SetHeadingTextColor(std::uint32_t c) override { Add("heading", c); }
    void SetCaptionTextColor(std::uint32_t c) override { Add("caption", c); }
    void SetStatusBarColor(std::uint32_t c) override { Add("statusBar", c); }
    void SetPreviewColor(int i, std::uint32_t c) override {
        Add("preview" + QString::number(i), c);
    }

  private:
    void Add(const QString& what, const QString& value) { calls.append(what + ' ' + value); }
    void Add(const QString& what, const QImage& p) { Add(what, p.text(QStringLiteral("name"))); }
    void Add(const QString& what, std::uint32_t c) { Add(what, QString::number(c, 16)); }
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

struct Applied {
    explicit Applied(const QList<QByteArray>& lines) : file(lines.join('\n') + '\n') {
        try {
            ApplySkinFile(file.reader, target, kLoading);
        } catch (const ConversionError& e) {
            error = e.message();
        } catch (const std::runtime_error& e) {
            error = QString::fromStdString(e.what());
        }
    }
    LineFile file;
    RecordingTarget target;
    QString error;
};

// A complete skin, and a 25th line that is not read.
QList<QByteArray> With(int lineNumber = 0, const QByteArray& text = {}) {
    QList<QByteArray> lines = {"Classic", "200",   "b\xE4.jpg", "a.jpg", "b.bmp", "c.ico",
                               "d.jpg",   "e.jpg", "f.bmp",     "g.bmp", "h.bmp"};
    for (int i = 12; i <= 24; ++i) lines.append(QByteArray::number(i - 11));
    lines.append("line 25");
    if (lineNumber > 0) lines[lineNumber - 1] = text;
    return lines;
}

}  // namespace

// Which line sets which part, in order, is checked against a plain model of
// the file by the fuzz target's replay on its seeds.
TEST(SkinFile, OneCallALineAndLaterLinesAreNotRead) {
    Applied skin(With());
    EXPECT_EQ(skin.error, "");
    EXPECT_EQ(skin.target.calls.size(), 24);
    EXPECT_EQ(skin.file.reader.ReadLine("F"), "line 25");
}

TEST(SkinFile, MetroNeedsTheExactLineAndTheFadeTargetIsTheLowByte) {
    const std::tuple<int, const char*, const char*> cases[] = {
        {1, "UseMetro=1", "metro 1"}, {1, "usemetro=1", "metro 0"}, {1, "UseMetro=1 ", "metro 0"},
        {2, "255", "fade 255"},       {2, "256", "fade 0"},         {2, "-1", "fade 255"}};
    for (const auto& [line, text, call] : cases)
        EXPECT_EQ(Applied(With(line, text)).target.calls.at(line - 1), call) << text;
}

// Lines missing at the end of a file stand for the last remembered line as
// well, as the fuzz target's replay checks (fuzz/corpus/skin_file).
TEST(SkinFile, EmptyAndMissingLinesStandForTheLastRememberedLine) {
    EXPECT_EQ(Applied(With(4, "")).target.calls.at(3), QString::fromUtf8("100 picture:bä.jpg"));
    // Line 18 is not remembered: an empty line 19 stands for line 17.
    EXPECT_EQ(Applied(With(19, "")).target.calls.at(18), "preview1 6");

    const Applied single({"UseMetro=1"});
    EXPECT_EQ(single.target.calls, QStringList{"metro 1"});
    EXPECT_EQ(single.error, "'UseMetro=1' is not a valid integer value");
}

TEST(SkinFile, ANumberOrPictureThatCannotBeReadStopsTheRest) {
    const Applied blank(With(12, "255 "));
    EXPECT_EQ(blank.error, "'255 ' is not a valid integer value");
    EXPECT_EQ(blank.target.calls.size(), 11);

    const Applied broken(With(6, "skin/broken.jpg"));
    EXPECT_EQ(broken.error, "bad picture");
    EXPECT_EQ(broken.target.calls.size(), 5);
}
