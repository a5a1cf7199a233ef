#pragma once

#include <QByteArray>
#include <QString>
#include <array>
#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "dump/dump_text.h"

class TextDb;

// A string database as text, one entry a line, and back: its index (not read
// back), its identifier and its text as shown.
//
// CSV: a first line "headerBytes,<8 hex digits>" with the 4 bytes at offset 4
// in file order, then a header line naming the columns, then one line per
// entry. JSON: an object with "headerBytes" and "entries", an array holding
// one entry object per line.
//
// A text is shown as its Windows-1252 characters in UTF-8, with a backslash
// written \\ and every byte that is a control character (01 to 1F, 7F) or
// that the code page leaves undefined (81, 8D, 8F, 90, 9D) written \xHH, two
// upper-case hex digits. Reading takes any character of the code page as it
// stands (a tab too) and \xHH for any byte but 00.
namespace texts_dump {

QByteArray WriteDump(const TextDb& textDb, dump::Format format);

// The entries of a dump, in the order of its lines. A text the dump holds
// as it is stored is a view of the dump's own bytes, which the result keeps
// (a million texts are not copied one by one); the others are kept apart. So
// a result is moved, never copied.
struct ReadResult {
    ReadResult() = default;
    ReadResult(ReadResult&&) = default;
    ReadResult& operator=(ReadResult&&) = default;
    ReadResult(const ReadResult&) = delete;
    ReadResult& operator=(const ReadResult&) = delete;

    std::array<char, 4> headerBytes{};
    std::vector<std::int32_t> ids;
    std::vector<std::string_view> texts;  // the bytes stored, one text per id
    std::vector<dump::Problem> problems;  // the entries count only when there is none

    // The string database file of these entries (EncodeTextDbFile).
    std::optional<QByteArray> Encode() const;

    // What the texts are views of.
    QByteArray source;
    std::deque<std::string> unescaped;
};

// A JSON dump laid out as WriteDump lays it out is read line by line, any
// other through a JSON document; AnyLayout takes the second road for all (the
// fuzz target compares the two).
enum class JsonRoute { Fast, AnyLayout };
ReadResult ReadDump(const QByteArray& bytes, dump::Format format,
                    JsonRoute route = JsonRoute::Fast);

// A text as shown, appended to `out` in UTF-8.
void AppendShown(std::string& out, std::string_view stored);
// The bytes a shown text stands for, appended to `out`; the reason when it
// stands for none ("'Ж' (U+0416) is not a character of ...").
QString AppendStored(std::string_view shown, std::string& out);

}  // namespace texts_dump
