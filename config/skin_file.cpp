#include "config/skin_file.h"

#include <QByteArray>

#include "base/code_page.h"
#include "base/line_reader.h"
#include "base/number_text.h"

namespace {

class SkinLines {
  public:
    SkinLines(LineReader& reader, const PictureLoading& loading)
        : reader_(reader), loading_(loading) {}

    QByteArray Next() { return reader_.ReadLine(remembered_); }
    // The line becomes the one that empty lines stand for, before it is used.
    QByteArray NextRemembered() { return remembered_ = reader_.ReadLine(remembered_); }

    static std::uint32_t Number(const QByteArray& line) {
        return static_cast<std::uint32_t>(ParseIntegerText(FromCodePage(line)));
    }

    QImage Picture(const QByteArray& line) const { return loading_.picture(FromCodePage(line)); }
    QImage Bitmap(const QByteArray& line) const { return loading_.bitmap(FromCodePage(line)); }

  private:
    LineReader& reader_;
    const PictureLoading& loading_;
    QByteArray remembered_;
};

}  // namespace

void ApplySkinFile(LineReader& reader, SkinTarget& target, const PictureLoading& loading) {
    SkinLines lines(reader, loading);

    target.SetUseMetro(lines.NextRemembered() == QByteArrayLiteral("UseMetro=1"));
    target.SetFadeTarget(static_cast<std::uint8_t>(SkinLines::Number(lines.Next()) & 0xFFu));

    target.SetBackgroundPicture(lines.Picture(lines.NextRemembered()));
    target.SetOverlayPicture(SkinTarget::kRctaPicture100, lines.Picture(lines.Next()));
    target.SetOverlayPicture(SkinTarget::kRctaPicture101, lines.Picture(lines.Next()));
    target.SetOverlayPicture(SkinTarget::kRctaPicture102, lines.Picture(lines.Next()));
    target.SetOverlayPicture(SkinTarget::kPbrtPicture300, lines.Picture(lines.Next()));
    target.SetCopyGlyph(lines.Bitmap(lines.Next()));
    target.SetPasteGlyph(lines.Bitmap(lines.Next()));
    target.SetStatusStrip(lines.Picture(lines.Next()));
    target.SetCreditsSeparator(lines.Picture(lines.Next()));

    target.SetWindowColor(SkinLines::Number(lines.Next()));
    target.SetInputBackgroundColor(SkinLines::Number(lines.NextRemembered()));
    target.SetWindowTextColor(SkinLines::Number(lines.NextRemembered()));
    target.SetInputTextColor(SkinLines::Number(lines.NextRemembered()));
    target.SetHeadingTextColor(SkinLines::Number(lines.NextRemembered()));
    target.SetCaptionTextColor(SkinLines::Number(lines.NextRemembered()));
    target.SetStatusBarColor(SkinLines::Number(lines.Next()));
    for (int index = 1; index <= 6; ++index) {
        target.SetPreviewColor(index, SkinLines::Number(lines.Next()));
    }
}
