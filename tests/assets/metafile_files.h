#pragma once

// Metafiles made for the tests, record by record.

#include <QByteArray>
#include <QString>
#include <initializer_list>
#include <vector>

#include "base/little_endian.h"

namespace test_metafiles {

inline void U16(QByteArray& out, int v) {
    little_endian::Append(out, static_cast<quint16>(v));
}

inline void U32(QByteArray& out, qint64 v) {
    little_endian::Append(out, static_cast<quint32>(v));
}

// ------------------------------------------------------- Windows metafiles

inline QByteArray WmfRecord(int function, std::initializer_list<int> words) {
    QByteArray r;
    U32(r, 3 + static_cast<qint64>(words.size()));
    U16(r, function);
    for (int w : words) U16(r, w);
    return r;
}

// A placeable metafile `width` x `height` units at `unitsPerInch`.
inline QByteArray Wmf(const QByteArray& records, int width = 100, int height = 100,
                      int unitsPerInch = 96) {
    QByteArray placeable;
    U32(placeable, 0x9AC6CDD7);
    for (int w : {0, 0, 0, width, height, unitsPerInch, 0, 0}) U16(placeable, w);
    int checksum = 0;
    for (int i = 0; i < 20; i += 2) {
        checksum ^= static_cast<uchar>(placeable[i]) | static_cast<uchar>(placeable[i + 1]) << 8;
    }
    U16(placeable, checksum);
    // On disk, 9 header words, version 3; the size in words, 2 objects, the
    // longest record, no parameters.
    QByteArray header;
    for (int w : {1, 9, 0x0300}) U16(header, w);
    U32(header, (18 + records.size()) / 2);
    U16(header, 2);
    U32(header, 16);
    U16(header, 0);
    return placeable + header + records;
}

inline const QByteArray kWmfEof = WmfRecord(0x0000, {});

// A red rectangle from (10, 10) to (60, 60) without an outline.
inline QByteArray WmfRedSquare() {
    return WmfRecord(0x020B, {0, 0}) +                  // SetWindowOrg
           WmfRecord(0x020C, {100, 100}) +              // SetWindowExt
           WmfRecord(0x02FC, {0, 0x00FF, 0x0000, 0}) +  // CreateBrushIndirect, solid red
           WmfRecord(0x012D, {0}) +                     // SelectObject
           WmfRecord(0x02FA, {5, 0, 0, 0, 0}) +         // CreatePenIndirect, PS_NULL
           WmfRecord(0x012D, {1}) +                     // SelectObject
           WmfRecord(0x041B, {60, 60, 10, 10});         // Rectangle (bottom, right, top, left)
}

// One filled rectangle from -32768 to 32767, which the player fills pixel by
// pixel, far outside the picture, for half a minute (found by fuzzing).
inline QByteArray WmfSlowToDraw() {
    const QByteArray brush = WmfRecord(0x02FC, {0, 0x00FF, 0, 0}) + WmfRecord(0x012D, {0});
    const QByteArray huge = WmfRecord(0x041B, {32767, 32767, 0x8000, 0x8000});
    return Wmf(brush + huge + kWmfEof);
}

// ------------------------------------------------------ enhanced metafiles

inline QByteArray EmfRecord(qint64 type, const std::vector<qint64>& values) {
    QByteArray r;
    U32(r, type);
    U32(r, 8 + 4 * static_cast<qint64>(values.size()));
    for (qint64 v : values) U32(r, v);
    return r;
}

// An enhanced metafile framed as `frame` hundredths of a millimetre square
// (2646 is 100 pixels at 96 dpi).
inline QByteArray Emf(const QByteArray& records, qint64 frame = 2646) {
    const QByteArray eof = EmfRecord(14, {0, 16, 20});
    // Type, size, bounds, frame, signature, version, bytes, records (counted
    // loosely; readers do not rely on it), 2 handles, no description, no
    // palette, the reference device in pixels and millimetres.
    const qint64 size = 88 + records.size() + eof.size();
    const qint64 fields[] = {1,       88,   0, 0, 99, 99, 0, 0,    frame, frame, 0x464D4520,
                             0x10000, size, 3, 2, 0,  0,  0, 1024, 768,   320,   240};
    QByteArray header;
    for (const qint64 v : fields) U32(header, v);
    return header + records + eof;
}

// A blue rectangle from (10, 10) to (60, 60) without an outline.
inline QByteArray EmfBlueSquare() {
    return EmfRecord(39, {1, 0, 0x00FF0000, 0}) +  // CreateBrushIndirect, solid blue
           EmfRecord(37, {1}) +                    // SelectObject
           EmfRecord(37, {0x80000008}) +           // SelectObject NULL_PEN
           EmfRecord(43, {10, 10, 60, 60});        // Rectangle
}

// Red text in Liberation Sans: an EMR_EXTTEXTOUTW of `text`, its characters
// given as glyph indices, which the converter maps back through the font
// that fontconfig finds for the face name.
inline QByteArray EmfGlyphText(const QString& text) {
    // UTF-16 units two to a value; units past the text's end are 0.
    const auto units = [](std::vector<qint64>& values, qsizetype count, auto unitAt) {
        for (qsizetype i = 0; i < count; i += 2) values.push_back(unitAt(i) | unitAt(i + 1) << 16);
    };
    // EMR_EXTCREATEFONTINDIRECTW for handle 1: height, width, angles, weight;
    // no italic, underline or strike-out, ANSI; defaults; 32 units of name.
    const QString face = QStringLiteral("Liberation Sans");
    std::vector<qint64> font = {1, -40, 0, 0, 0, 400, 0, 0};
    units(font, 32, [&](qsizetype i) { return i < face.size() ? face[i].unicode() : 0; });
    // EMR_EXTTEXTOUTW: bounds, graphics mode, scales; at (10, 20) the text's
    // length, where it starts, ETO_GLYPH_INDEX, no rectangle, where the
    // advances start; the glyphs (in the font's order), the advances.
    const qsizetype n = text.size();
    std::vector<qint64> out = {
        0, 0, 99, 99, 1, 0, 0, 10, 20, n, 76, 0x10, 0, 0, 0, 0, 76 + (n + 1) / 2 * 4};
    units(out, n, [&](qsizetype i) { return i < n ? text[i].unicode() - 29 : 0; });
    out.insert(out.end(), n, 20);
    return EmfRecord(82, font) + EmfRecord(37, {1}) +  // SelectObject
           EmfRecord(24, {0x000000FF}) +               // SetTextColor, red
           EmfRecord(18, {1}) +                        // SetBkMode TRANSPARENT
           EmfRecord(84, out);
}

}  // namespace test_metafiles
