#pragma once

#include <QByteArray>
#include <QString>
#include <string>
#include <string_view>
#include <vector>

// The JSON form of the dumps: strings written the same way in each, and the
// lines of a dump's objects, so that a fault can be named by its line.
namespace json {

// A JSON string: quotes, backslashes and control characters escaped.
QByteArray String(const QString& text);
// The same for UTF-8 bytes, appended to `out`.
void AppendString(std::string& out, std::string_view utf8);

// The line, from 1, of a byte offset.
int LineAt(const QByteArray& bytes, qsizetype offset);
// The line of each object that stands directly in the dump's array: the
// array at the top, or an array one level down in the top object.
std::vector<int> ObjectLines(const QByteArray& bytes);

}  // namespace json
