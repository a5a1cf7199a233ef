#include "base/code_page.h"

#include <array>
#include <optional>

namespace {

// Bytes 0x80 to 0x9F; the five bytes that Windows-1252 leaves undefined map to
// the C1 control of the same value, as Windows itself does.
constexpr std::array<char16_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

// The byte of a character, or nothing when the code page lacks it.
std::optional<char> Encoded(char16_t value) {
    if (value < 0x80 || (value >= 0xA0 && value <= 0xFF)) return static_cast<char>(value);
    for (std::size_t i = 0; i < kHighControls.size(); ++i) {
        if (kHighControls[i] == value) return static_cast<char>(0x80 + i);
    }
    return std::nullopt;
}

}  // namespace

QString FromCodePage(std::string_view bytes) {
    QString text(static_cast<qsizetype>(bytes.size()), Qt::Uninitialized);
    QChar* out = text.data();
    for (const char byte : bytes) {
        const auto value = static_cast<unsigned char>(byte);
        *out++ = (value >= 0x80 && value < 0xA0) ? QChar(kHighControls[value - 0x80])
                                                 : QChar(static_cast<char16_t>(value));
    }
    return text;
}

QByteArray ToCodePage(const QString& text) {
    QByteArray bytes;
    bytes.reserve(text.size());
    for (const QChar c : text) bytes.append(Encoded(c.unicode()).value_or('?'));
    return bytes;
}

QString FirstOutsideCodePage(const QString& text) {
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (Encoded(text[i].unicode())) continue;
        const bool pair =
            text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate();
        return text.mid(i, pair ? 2 : 1);
    }
    return {};
}
