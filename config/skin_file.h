#pragma once

#include <QImage>
#include <QString>
#include <cstdint>
#include <functional>

class LineReader;

// What a skin file changes, one call per line as the lines are read. The
// window implements it and applies each call to its widgets at once, so that
// the lines before a bad one stay applied.
class SkinTarget {
  public:
    // The loading pictures of the preview, by the number their items show.
    static constexpr int kRctaPicture100 = 100;
    static constexpr int kRctaPicture101 = 101;
    static constexpr int kRctaPicture102 = 102;
    static constexpr int kPbrtPicture300 = 300;

    virtual ~SkinTarget() = default;

    virtual void SetUseMetro(bool useMetro) = 0;
    virtual void SetFadeTarget(std::uint8_t fadeTarget) = 0;
    // The start picture and the preview's background.
    virtual void SetBackgroundPicture(const QImage& picture) = 0;
    // id is one of the k...Picture numbers above.
    virtual void SetOverlayPicture(int id, const QImage& picture) = 0;
    virtual void SetCopyGlyph(const QImage& glyph) = 0;
    virtual void SetPasteGlyph(const QImage& glyph) = 0;
    virtual void SetStatusStrip(const QImage& picture) = 0;
    virtual void SetCreditsSeparator(const QImage& picture) = 0;

    // Colours are 0x00BBGGRR, red in the low byte (preview::ColorFromSkin).
    virtual void SetWindowColor(std::uint32_t color) = 0;
    // The ten input controls of the property panel.
    virtual void SetInputBackgroundColor(std::uint32_t color) = 0;
    virtual void SetWindowTextColor(std::uint32_t color) = 0;
    virtual void SetInputTextColor(std::uint32_t color) = 0;
    // The four headings of the property panel.
    virtual void SetHeadingTextColor(std::uint32_t color) = 0;
    // The three grey captions of the status bar.
    virtual void SetCaptionTextColor(std::uint32_t color) = 0;
    virtual void SetStatusBarColor(std::uint32_t color) = 0;
    // skinColor1 to skinColor6, the preview's colours; index is 1 to 6.
    virtual void SetPreviewColor(int index, std::uint32_t color) = 0;
};

// Reads picture files named by a skin file; both throw an exception derived
// from std::runtime_error when a picture cannot be read.
struct PictureLoading {
    // By the file name's extension.
    std::function<QImage(const QString& path)> picture;
    // Always as a bitmap, whatever the extension.
    std::function<QImage(const QString& path)> bitmap;
};

// Applies a skin file ("skin/skin.txt") line by line; lines after the 24th
// are not read:
//   1 "UseMetro=1" (exactly) sets UseMetro, anything else clears it;
//   2 an integer whose lowest eight bits are the fade target;
//   3 the background picture; 4-7 the pictures 100, 101, 102 and 300;
//   8-9 the copy and paste glyphs (bitmaps); 10 the status bar strip;
//   11 the credits separator;
//   12-18 the window, input background, window text, input text, heading
//   text, caption text and status bar colours; 19-24 the six preview colours.
// Picture names are relative to the working directory, in Windows-1252.
// Numbers are integer texts (decimal or "$", "x", "X", "0x", "0X" hex).
//
// An empty line, and every line past the end of the file, stands for the last
// line remembered: lines 1, 3 and 13 to 17 are remembered when read (the
// remembered line is empty at first).
//
// A ConversionError, or an error of a picture loader, ends the reading: the
// calls made before it stand.
void ApplySkinFile(LineReader& reader, SkinTarget& target, const PictureLoading& loading);
