#pragma once

#include <QByteArray>
#include <QString>
#include <optional>
#include <string_view>

// Every single-byte text of the program (string database texts, language
// list, language files, settings, skin file names) is taken in Windows-1252,
// the code page the game's Western releases were written in.
QString FromCodePage(std::string_view bytes);
inline QString FromCodePage(const QByteArray& bytes) {
    return FromCodePage(
        std::string_view(bytes.constData(), static_cast<qsizetype>(bytes.size())));
}

// Characters outside the code page become '?'.
QByteArray ToCodePage(const QString& text);

// The byte that stands for this character (a Unicode code point), or nothing
// when the code page has none. The five bytes Windows-1252 leaves undefined
// stand for the C1 controls of their own value, as FromCodePage reads them;
// U+0000 has no byte, since a NUL ends a text.
std::optional<char> CodePageByte(char32_t character);

// The first character of the text that CodePageByte has no byte for (a
// surrogate pair counts as the one character it stands for), or nothing.
std::optional<char32_t> FirstCharOutsideCodePage(QStringView text);
