// Applying a skin file with a recording target and picture loaders that check
// the names they are given, against the plain model of text_model.h: 24 lines
// at most, empty lines standing for the remembered one, a bad number or
// picture ending the reading.

#include <QBuffer>
#include <QStringList>
#include <stdexcept>

#include "base/code_page.h"
#include "base/conversion_error.h"
#include "base/line_reader.h"
#include "base/number_text.h"
#include "config/skin_file.h"
#include "fuzz_support.h"
#include "text_model.h"

namespace {

class RecordingTarget : public SkinTarget {
  public:
    QStringList calls;

    void SetUseMetro(bool on) override { Add("metro", on); }
    void SetFadeTarget(std::uint8_t fade) override { Add("fade", fade); }
    void SetBackgroundPicture(const QImage& p) override { Add("background", p); }
    void SetOverlayPicture(int id, const QImage& p) override { Add(QString::number(id), p); }
    void SetCopyGlyph(const QImage& p) override { Add("copy", p); }
    void SetPasteGlyph(const QImage& p) override { Add("paste", p); }
    void SetStatusStrip(const QImage& p) override { Add("strip", p); }
    void SetCreditsSeparator(const QImage& p) override { Add("separator", p); }
    void SetWindowColor(std::uint32_t c) override { Add("color12", c); }
    void SetInputBackgroundColor(std::uint32_t c) override { Add("color13", c); }
    void SetWindowTextColor(std::uint32_t c) override { Add("color14", c); }
    void SetInputTextColor(std::uint32_t c) override { Add("color15", c); }
    void SetHeadingTextColor(std::uint32_t c) override { Add("color16", c); }
    void SetCaptionTextColor(std::uint32_t c) override { Add("color17", c); }
    void SetStatusBarColor(std::uint32_t c) override { Add("color18", c); }
    void SetPreviewColor(int i, std::uint32_t c) override {
        Add("color" + QString::number(18 + i), c);
    }

    void Add(const QString& what, std::uint32_t value) {
        calls.append(what + ' ' + QString::number(value, 16));
    }
    void Add(const QString& what, const QImage& picture) {
        calls.append(what + ' ' + picture.text(QStringLiteral("name")));
    }
};

// A name fit for a file: one line's text, so no line end, no zero byte, no
// byte 26, and no longer than a line.
void CheckName(const QString& path) {
    FUZZ_CHECK(path.size() <= LineReader::kMaxLineLength);
    for (const QChar c : path) {
        FUZZ_CHECK(c != u'\n' && c != u'\r' && c != u'\0' && c != QChar(0x1A));
    }
}

QImage Loaded(const QString& kind, const QString& path) {
    CheckName(path);
    // A name with '!' stands for a picture that cannot be read.
    if (path.contains(u'!')) throw std::runtime_error("unreadable picture");
    QImage picture(2, 2, QImage::Format_RGB32);
    picture.fill(Qt::gray);
    picture.setText(QStringLiteral("name"), kind + path);
    return picture;
}

// The calls the file should make, worked out line by line from the model.
QStringList ExpectedCalls(const TextModel& model) {
    RecordingTarget expected;
    QByteArray remembered;
    std::int64_t next = 0;
    auto line = [&]() { return model.Shown(next++).value_or(remembered); };
    auto rememberedLine = [&]() { return remembered = line(); };
    auto number = [](const QByteArray& text) {
        return static_cast<std::uint32_t>(ParseIntegerText(FromCodePage(text)));
    };
    auto picture = [](const QString& kind, const QByteArray& text) {
        const QString path = FromCodePage(text);
        if (path.contains(u'!')) throw std::runtime_error("unreadable picture");
        return kind + path;
    };
    try {
        expected.Add("metro", rememberedLine() == "UseMetro=1");
        expected.Add("fade", number(line()) & 0xFFu);
        const QStringList pictures = {"background", "100",   "101",   "102",      "300",
                                      "copy",       "paste", "strip", "separator"};
        for (int i = 0; i < pictures.size(); ++i) {
            const bool bitmap = i == 5 || i == 6;
            const QByteArray text = i == 0 ? rememberedLine() : line();
            expected.calls.append(
                pictures[i] + ' ' +
                picture(bitmap ? QStringLiteral("bitmap:") : QStringLiteral("picture:"), text));
        }
        for (int color = 12; color <= 24; ++color) {
            const bool remember = color >= 13 && color <= 17;
            expected.Add("color" + QString::number(color),
                         number(remember ? rememberedLine() : line()));
        }
    } catch (const std::runtime_error&) {
    }
    return expected.calls;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    QByteArray file = FuzzBytes(data, size);
    const TextModel model(file);
    QBuffer device(&file);
    FUZZ_CHECK(device.open(QIODevice::ReadOnly));
    LineReader reader(device);
    RecordingTarget target;
    const PictureLoading loading{
        [](const QString& path) { return Loaded(QStringLiteral("picture:"), path); },
        [](const QString& path) { return Loaded(QStringLiteral("bitmap:"), path); },
    };
    try {
        ApplySkinFile(reader, target, loading);
        FUZZ_CHECK(target.calls.size() == 24);  // one call a line
    } catch (const ConversionError&) {
    } catch (const std::runtime_error& error) {
        FUZZ_CHECK(QString::fromUtf8(error.what()) == QStringLiteral("unreadable picture"));
    }
    FUZZ_CHECK(target.calls == ExpectedCalls(model));
    return 0;
}
