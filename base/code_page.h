#pragma once

#include <QByteArray>
#include <QString>
#include <string_view>

// Every single-byte text of the program (string database texts, language
// list, language files, settings, skin file names) is taken in Windows-1252,
// the code page the game's Western releases were written in.
QString FromCodePage(std::string_view bytes);
inline QString FromCodePage(const QByteArray& bytes) {
    return FromCodePage(
        std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
}

// Characters outside the code page become '?'.
QByteArray ToCodePage(const QString& text);

// The first character of `text` outside the code page (both halves of a
// surrogate pair), or an empty text when the code page holds every one.
QString FirstOutsideCodePage(const QString& text);
