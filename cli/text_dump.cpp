#include "cli/text_dump.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <algorithm>
#include <charconv>
#include <cstring>
#include <functional>
#include <cmath>
#include <limits>

#include "base/code_page.h"
#include "base/conversion_error.h"
#include "base/number_text.h"
#include "dump/csv_text.h"
#include "dump/json_text.h"
#include "document/text_db.h"
#include "document/text_db_file.h"

namespace texts_dump {

namespace {

constexpr const char* kFormatName = "kaveldef texts";
constexpr int kFormatVersion = 1;
constexpr char kHexDigits[] = "0123456789ABCDEF";

// Each byte of a stored text as shown, and as shown inside a JSON string,
// worked out once: a dump of a million texts then costs a table look per byte.
struct ShownBytes {
    struct Form {
        std::array<char, 8> bytes{};
        std::uint8_t size = 0;
    };
    std::array<Form, 256> shown{};
    std::array<Form, 256> inJson{};
    std::array<bool, 256> asStored{};  // shown as the byte itself, in both

    ShownBytes() {
        for (int b = 0; b < 256; ++b) {
            const auto at = static_cast<std::size_t>(b);
            const char byte = static_cast<char>(b);
            const QString character = FromCodePage(std::string_view(&byte, 1));
            const char16_t unicode = character.front().unicode();
            std::string form;
            if (b == '\\') {
                form = "\\\\";
            } else if (b < 0x20 || b == 0x7F || (unicode >= 0x80 && unicode < 0xA0)) {
                form = {'\\', 'x', kHexDigits[b >> 4], kHexDigits[b & 0xF]};
            } else {
                form = character.toUtf8().toStdString();
            }
            std::string json;
            json::AppendString(json, form);
            json = json.substr(1, json.size() - 2);  // without its quotes
            std::copy(form.begin(), form.end(), shown[at].bytes.begin());
            shown[at].size = static_cast<std::uint8_t>(form.size());
            std::copy(json.begin(), json.end(), inJson[at].bytes.begin());
            inJson[at].size = static_cast<std::uint8_t>(json.size());
            asStored[at] = json.size() == 1 && json[0] == byte;
        }
    }
};

const ShownBytes& Shown() {
    static const ShownBytes shown;
    return shown;
}

// The dump as it grows, written through a cursor: a million lines cost a few
// stores each rather than a call per piece. Room is taken in doubling steps
// and left uninitialized.
class DumpBuffer {
  public:
    explicit DumpBuffer(std::size_t expected) { bytes_.resize(static_cast<qsizetype>(expected)); }

    // Room for `size` more bytes from the cursor on.
    char* Room(std::size_t size) {
        const std::size_t room = static_cast<std::size_t>(bytes_.size());
        if (used_ + size > room) bytes_.resize(static_cast<qsizetype>(std::max(2 * room, used_ + size)));
        return bytes_.data() + used_;
    }
    void MoveTo(const char* end) { used_ = static_cast<std::size_t>(end - bytes_.constData()); }
    void Append(std::string_view text) {
        char* at = Room(text.size());
        std::memcpy(at, text.data(), text.size());
        MoveTo(at + text.size());
    }
    QByteArray Take() {
        bytes_.resize(static_cast<qsizetype>(used_));
        return std::move(bytes_);
    }

  private:
    QByteArray bytes_;
    std::size_t used_ = 0;
};

char* PutNumber(char* at, std::int64_t value) {
    return std::to_chars(at, at + 24, value).ptr;
}

// A stored text in one of its forms; `at` has room for 8 bytes a byte.
char* PutText(char* at, std::string_view stored, const std::array<ShownBytes::Form, 256>& forms,
              const std::array<bool, 256>& asStored) {
    for (const char c : stored) {
        const auto byte = static_cast<unsigned char>(c);
        if (asStored[byte]) {
            *at++ = c;
        } else {
            std::memcpy(at, forms[byte].bytes.data(), 8);
            at += forms[byte].size;
        }
    }
    return at;
}

std::string HeaderText(const std::array<char, 4>& header) {
    return QByteArray(header.data(), 4).toHex().toUpper().toStdString();
}

std::optional<std::array<char, 4>> HeaderFrom(QString text) {
    text.remove(u' ');
    static const QRegularExpression hex(QStringLiteral("^[0-9A-Fa-f]{8}$"));
    if (!hex.match(text).hasMatch()) return std::nullopt;
    const QByteArray bytes = QByteArray::fromHex(text.toLatin1());
    return std::array<char, 4>{bytes[0], bytes[1], bytes[2], bytes[3]};
}

std::string_view ViewOf(const QByteArray& bytes) {
    return std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

// Whether the shown form of a stored text needs quotes in a CSV cell (a
// comma, a quote, or a blank at either end: the rule of csv::AppendCell), told
// from its bytes. Line breaks and tabs are always escaped.
bool NeedsQuotesShown(std::string_view stored) {
    if (stored.empty()) return false;
    const auto blank = [](char c) { return c == ' ' || c == '\xA0'; };
    if (blank(stored.front()) || blank(stored.back())) return true;
    for (const char c : stored) {
        if (c == ',' || c == '"') return true;
    }
    return false;
}

// An entry's line with room for the numbers, the punctuation and the text.
constexpr std::size_t kLineRoom = 64;

QByteArray WriteCsv(const TextDb& db) {
    const ShownBytes& forms = Shown();
    DumpBuffer out(static_cast<std::size_t>(db.count()) * 32 + 64);
    out.Append("headerBytes," + HeaderText(db.headerBytes()) + "\nindex,id,text\n");
    std::string quoted;
    for (std::uint32_t i = 0; i < db.count(); ++i) {
        const std::string_view text = db.WholeText(i);
        char* at = out.Room(kLineRoom + 8 * text.size());
        at = PutNumber(at, i);
        *at++ = ',';
        at = PutNumber(at, db.IdAt(i));
        *at++ = ',';
        if (NeedsQuotesShown(text)) {
            out.MoveTo(at);
            std::string shown;
            AppendShown(shown, text);
            quoted.clear();
            csv::AppendCell(quoted, shown);
            out.Append(quoted);
            at = out.Room(1);
        } else {
            at = PutText(at, text, forms.shown, forms.asStored);
        }
        *at++ = '\n';
        out.MoveTo(at);
    }
    return out.Take();
}

QByteArray WriteJson(const TextDb& db) {
    const ShownBytes& forms = Shown();
    DumpBuffer out(static_cast<std::size_t>(db.count()) * 48 + 128);
    out.Append("{\n\"format\": " + json::String(QString::fromLatin1(kFormatName)).toStdString() +
               ",\n\"version\": " + std::to_string(kFormatVersion) + ",\n\"headerBytes\": \"" +
               HeaderText(db.headerBytes()) + "\",\n\"entries\": [\n");
    for (std::uint32_t i = 0; i < db.count(); ++i) {
        const std::string_view text = db.WholeText(i);
        char* at = out.Room(kLineRoom + 8 * text.size());
        at = std::copy_n("{\"index\": ", 10, at);
        at = PutNumber(at, i);
        at = std::copy_n(", \"id\": ", 8, at);
        at = PutNumber(at, db.IdAt(i));
        at = std::copy_n(", \"text\": \"", 11, at);
        at = PutText(at, text, forms.inJson, forms.asStored);
        at = i + 1 < db.count() ? std::copy_n("\"},\n", 4, at) : std::copy_n("\"}\n", 3, at);
        out.MoveTo(at);
    }
    out.Append("]\n}\n");
    return out.Take();
}

// An identifier as the menu dump reads numbers; plain decimals, which a dump
// holds, without making a QString of each.
std::optional<std::int32_t> ParseId(std::string_view text, QString& reason) {
    std::int64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error == std::errc() && end == text.data() + text.size() && !text.empty() &&
        text.front() != '+' && value >= std::numeric_limits<std::int32_t>::min() &&
        value <= std::numeric_limits<std::int32_t>::max()) {
        return static_cast<std::int32_t>(value);
    }
    const QString trimmed =
        QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())).trimmed();
    if (trimmed.isEmpty()) {
        reason = QStringLiteral("missing");
        return std::nullopt;
    }
    try {
        return ParseIntegerText(trimmed);
    } catch (const ConversionError& error) {
        reason = error.message();
        return std::nullopt;
    }
}

class EntryReader {
  public:
    explicit EntryReader(ReadResult& result) : result_(result) {}

    void Add(int line, int entry, std::string_view id, std::string_view text) {
        line_ = line;
        entry_ = entry;
        QString reason;
        const std::optional<std::int32_t> parsed = ParseId(id, reason);
        if (!parsed) Problem(line, entry, QStringLiteral("id"), reason);
        const std::string_view stored = Stored(text);
        if (!parsed || !result_.problems.empty()) return;
        result_.ids.push_back(*parsed);
        result_.texts.push_back(stored);
    }

    void Problem(int line, int entry, const QString& field, const QString& reason) {
        result_.problems.push_back({line, entry, field, reason});
    }

  private:
    // The bytes a shown text stands for: the text itself when it is plain
    // ASCII without escapes and a part of the dump's bytes, else a copy.
    std::string_view Stored(std::string_view shown) {
        if (shown.empty()) return {};
        const char* const source = result_.source.constData();
        const std::less_equal<const char*> atOrBefore;
        const bool inSource = atOrBefore(source, shown.data()) &&
                              atOrBefore(shown.data() + shown.size(), source + result_.source.size());
        if (inSource && std::all_of(shown.begin(), shown.end(),
                                    [](char c) { return c > 0 && c != '\\'; })) {
            return shown;
        }
        std::string& copy = result_.unescaped.emplace_back();
        const QString reason = AppendStored(shown, copy);
        if (reason.isEmpty()) return copy;
        Problem(line_, entry_, QStringLiteral("text"), reason);
        result_.unescaped.pop_back();
        return {};
    }

  public:

  private:
    ReadResult& result_;
    int line_ = 0;
    int entry_ = 0;
};


// --- CSV -------------------------------------------------------------------------

void ReadCsv(const QByteArray& bytes, ReadResult& result) {
    EntryReader entries(result);
    csv::RowReader reader(ViewOf(bytes));
    const auto cellText = [&reader](std::size_t i) {
        const std::string_view cell = reader.cell(i);
        return QString::fromUtf8(cell.data(), static_cast<qsizetype>(cell.size()));
    };
    bool haveRow = reader.Next();
    if (haveRow && reader.size() > 0 && reader.cell(0) == "headerBytes") {
        const std::optional<std::array<char, 4>> header =
            reader.size() == 2 ? HeaderFrom(cellText(1)) : std::nullopt;
        if (header) {
            result.headerBytes = *header;
        } else {
            entries.Problem(reader.line(), -1, QStringLiteral("headerBytes"),
                            QStringLiteral("expected one cell of four bytes in hex, such as "
                                           "headerBytes,00000000"));
        }
        haveRow = reader.Next();
    }
    if (!haveRow && reader.error().isEmpty())
        entries.Problem(1, -1, {}, QStringLiteral("the dump holds no header line"));

    // The column of each field; index is not read.
    enum Column { kIndex, kId, kText };
    std::vector<int> columns;
    std::array<int, 3> at = {-1, -1, -1};
    if (haveRow) {
        for (std::size_t c = 0; c < reader.size(); ++c) {
            const QString name = cellText(c).trimmed();
            const int column = name == QLatin1String("index") ? kIndex
                               : name == QLatin1String("id")  ? kId
                               : name == QLatin1String("text") ? kText
                                                               : -1;
            if (column < 0) {
                entries.Problem(reader.line(), -1, name, QStringLiteral("is not a column of a texts dump"));
            } else if (at[static_cast<std::size_t>(column)] >= 0) {
                entries.Problem(reader.line(), -1, name, QStringLiteral("is named twice"));
            } else {
                at[static_cast<std::size_t>(column)] = static_cast<int>(c);
            }
            columns.push_back(column);
        }
        for (const auto& [column, name] : {std::pair{kId, "id"}, std::pair{kText, "text"}}) {
            if (at[column] < 0)
                entries.Problem(reader.line(), -1, QString::fromLatin1(name), QStringLiteral("the column is missing"));
        }
        if (!result.problems.empty()) return;
    }

    int entry = 0;
    while (reader.Next()) {
        if (reader.size() > columns.size()) {
            entries.Problem(reader.line(), -1, {},
                            QStringLiteral("%1 cells where the header names %2 (is a comma not quoted?)")
                                .arg(reader.size())
                                .arg(columns.size()));
        } else if (static_cast<std::size_t>(at[kText]) >= reader.size()) {
            entries.Problem(reader.line(), -1, QStringLiteral("text"), QStringLiteral("missing"));
        } else {
            const std::size_t id = static_cast<std::size_t>(at[kId]);
            entries.Add(reader.line(), entry, id < reader.size() ? reader.cell(id) : std::string_view(),
                        reader.cell(static_cast<std::size_t>(at[kText])));
        }
        ++entry;
    }
    if (!reader.error().isEmpty()) entries.Problem(reader.errorLine(), -1, {}, reader.error());
}

// --- JSON ------------------------------------------------------------------------

void ReadJson(const QByteArray& bytes, ReadResult& result) {
    EntryReader entries(result);
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(bytes, &error);
    if (error.error != QJsonParseError::NoError) {
        entries.Problem(json::LineAt(bytes, error.offset), -1, {}, error.errorString());
        return;
    }
    const QJsonObject top = document.object();
    if (top.contains(QLatin1String("headerBytes"))) {
        const std::optional<std::array<char, 4>> header =
            HeaderFrom(top.value(QLatin1String("headerBytes")).toString());
        if (header) {
            result.headerBytes = *header;
        } else {
            entries.Problem(1, -1, QStringLiteral("headerBytes"),
                            QStringLiteral("expected four bytes in hex, such as \"00000000\""));
        }
    }
    QJsonArray list;
    if (document.isArray()) {
        list = document.array();
    } else if (top.value(QLatin1String("entries")).isArray()) {
        list = top.value(QLatin1String("entries")).toArray();
    } else {
        entries.Problem(1, -1, {}, QStringLiteral("the dump holds no \"entries\" array"));
        return;
    }
    const std::vector<int> lines = json::ObjectLines(bytes);
    const bool linesKnown = lines.size() == static_cast<std::size_t>(list.size());
    for (qsizetype e = 0; e < list.size(); ++e) {
        const int line = linesKnown ? lines[static_cast<std::size_t>(e)] : 0;
        const int index = static_cast<int>(e);
        const QJsonObject object = list[e].toObject();
        if (!list[e].isObject()) {
            entries.Problem(line, index, {}, QStringLiteral("an entry must be an object"));
            continue;
        }
        bool usable = true;
        for (auto it = object.begin(); it != object.end(); ++it) {
            if (it.key() != QLatin1String("index") && it.key() != QLatin1String("id") &&
                it.key() != QLatin1String("text")) {
                entries.Problem(line, index, it.key(), QStringLiteral("is not a field of an entry"));
                usable = false;
            }
        }
        const QJsonValue id = object.value(QLatin1String("id"));
        const QJsonValue text = object.value(QLatin1String("text"));
        QByteArray idText;
        if (id.isDouble() && std::trunc(id.toDouble()) == id.toDouble() && std::fabs(id.toDouble()) < 9.0e15) {
            idText = QByteArray::number(static_cast<qint64>(id.toDouble()));
        } else if (id.isString()) {
            idText = id.toString().toUtf8();
        } else if (!id.isUndefined() && !id.isNull()) {
            entries.Problem(line, index, QStringLiteral("id"), QStringLiteral("expected a whole number"));
            usable = false;
        }
        if (!text.isString()) {
            entries.Problem(line, index, QStringLiteral("text"),
                            text.isUndefined() ? QStringLiteral("missing") : QStringLiteral("expected a text"));
            usable = false;
        }
        if (usable) entries.Add(line, index, ViewOf(idText), ViewOf(text.toString().toUtf8()));
    }
}

// --- JSON as the writer lays it out ------------------------------------------
//
// A dump of a million entries is read many times faster line by line than
// through a JSON document of a million objects. Only the exact layout that
// WriteJson makes is read here: one member a line at the top, one entry object
// a line, the members in the writer's order and spacing, ids and indices
// plain integers that JSON holds exactly. Whatever else a line holds (other
// spacing, other members, escapes that make surrogates, bytes that are not
// UTF-8) sends the whole dump to ReadJson, which reads any JSON; for what
// both read, both give the same entries and the same faults.
class WrittenJson {
  public:
    explicit WrittenJson(std::string_view bytes) : rest_(bytes) {}

    bool Read(ReadResult& result) {
        EntryReader entries(result);
        std::string_view line;
        if (!NextLine(line) || line != "{") return false;
        if (!NextLine(line) || !Member(line, "\"format\": ") || !PlainString(line) ||
            line != ",")
            return false;
        if (!NextLine(line) || !Member(line, "\"version\": ") || !Integer(line) ||
            line != ",")
            return false;
        if (!NextLine(line) || !Member(line, "\"headerBytes\": \"")) return false;
        const std::size_t quote = line.find('"');
        if (quote != 8 || line.substr(quote) != "\",") return false;
        const std::optional<std::array<char, 4>> header =
            HeaderFrom(QString::fromLatin1(line.data(), 8));
        if (!header) return false;
        result.headerBytes = *header;
        if (!NextLine(line) || line != "\"entries\": [") return false;

        std::string decoded;
        for (int entry = 0;; ++entry) {
            if (!NextLine(line)) return false;
            // The list closes here only when empty: after an entry with a
            // comma, a closing bracket is no JSON.
            if (line == "]") {
                if (entry != 0) return false;
                break;
            }
            const int at = line_;
            if (!Member(line, "{\"index\": ") || !Integer(line) ||
                !Member(line, ", \"id\": "))
                return false;
            const std::string_view idStart = line;
            if (!Integer(line)) return false;
            const std::string_view id = idStart.substr(0, idStart.size() - line.size());
            if (!Member(line, ", \"text\": \"")) return false;
            std::string_view text;
            if (!String(line, decoded, text)) return false;
            if (line != "}," && line != "}") return false;
            const bool last = line == "}";
            // A zero written "-0" reads as 0 from a JSON number.
            entries.Add(at, entry, id == "-0" ? std::string_view("0") : id, text);
            if (last) {
                if (!NextLine(line) || line != "]") return false;
                break;
            }
        }
        if (!NextLine(line) || line != "}") return false;
        return rest_.empty();
    }

  private:
    bool NextLine(std::string_view& line) {
        if (rest_.empty()) return false;
        const std::size_t end = rest_.find('\n');
        if (end == std::string_view::npos) return false;
        line = rest_.substr(0, end);
        rest_.remove_prefix(end + 1);
        ++line_;
        return true;
    }

    static bool Member(std::string_view& line, std::string_view start) {
        if (!line.starts_with(start)) return false;
        line.remove_prefix(start.size());
        return true;
    }

    // A JSON integer that a double holds exactly: no leading zeros, at most
    // 15 digits.
    static bool Integer(std::string_view& line) {
        std::size_t i = !line.empty() && line[0] == '-' ? 1 : 0;
        const std::size_t first = i;
        while (i < line.size() && line[i] >= '0' && line[i] <= '9') ++i;
        const std::size_t digits = i - first;
        if (digits == 0 || digits > 15 || (digits > 1 && line[first] == '0')) return false;
        line.remove_prefix(i);
        return true;
    }

    // A string of plain printable ASCII, its closing quote included.
    static bool PlainString(std::string_view& line) {
        if (!line.starts_with('"')) return false;
        for (std::size_t i = 1; i < line.size(); ++i) {
            const auto c = static_cast<unsigned char>(line[i]);
            if (c == '"') {
                line.remove_prefix(i + 1);
                return true;
            }
            if (c < 0x20 || c >= 0x7F || c == '\\') return false;
        }
        return false;
    }

    // The rest of a JSON string, its closing quote included, as UTF-8: a view
    // of the dump's bytes when it holds no escape, else of `decoded`.
    static bool String(std::string_view& line, std::string& decoded, std::string_view& text) {
        std::size_t i = 0;
        bool escaped = false;
        decoded.clear();
        while (i < line.size()) {
            const auto c = static_cast<unsigned char>(line[i]);
            if (c == '"') break;
            if (c < 0x20) return false;
            if (c >= 0x80) {
                const std::size_t size = Utf8Size(line.substr(i));
                if (size == 0) return false;
                decoded.append(line.substr(i, size));
                i += size;
                continue;
            }
            if (c != '\\') {
                decoded.push_back(static_cast<char>(c));
                ++i;
                continue;
            }
            escaped = true;
            if (i + 1 >= line.size()) return false;
            const char kind = line[i + 1];
            const char* simple = nullptr;
            switch (kind) {
                case '"': simple = "\""; break;
                case '\\': simple = "\\"; break;
                case '/': simple = "/"; break;
                case 'b': simple = "\b"; break;
                case 'f': simple = "\f"; break;
                case 'n': simple = "\n"; break;
                case 'r': simple = "\r"; break;
                case 't': simple = "\t"; break;
                default: break;
            }
            if (simple != nullptr) {
                decoded.push_back(*simple);
                i += 2;
                continue;
            }
            if (kind != 'u' || i + 6 > line.size()) return false;
            unsigned int unit = 0;
            const auto [end, error] =
                std::from_chars(line.data() + i + 2, line.data() + i + 6, unit, 16);
            if (error != std::errc() || end != line.data() + i + 6) return false;
            // Surrogates, paired or not, are left to the JSON document.
            if (unit >= 0xD800 && unit <= 0xDFFF) return false;
            AppendUtf8(decoded, unit);
            i += 6;
        }
        if (i >= line.size()) return false;
        text = escaped ? std::string_view(decoded) : line.substr(0, i);
        line.remove_prefix(i + 1);
        return true;
    }

    // The length of the well-formed UTF-8 character at the start, or 0.
    static std::size_t Utf8Size(std::string_view bytes) {
        const auto lead = static_cast<unsigned char>(bytes[0]);
        const std::size_t size = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : 2;
        if (lead < 0xC2 || lead > 0xF4 || size > bytes.size()) return 0;
        char32_t character = lead & (0x7F >> size);
        for (std::size_t k = 1; k < size; ++k) {
            const auto next = static_cast<unsigned char>(bytes[k]);
            if ((next & 0xC0) != 0x80) return 0;
            character = (character << 6) | (next & 0x3F);
        }
        if ((size == 3 && character < 0x800) || (size == 4 && character < 0x10000) ||
            character > 0x10FFFF || (character >= 0xD800 && character <= 0xDFFF))
            return 0;
        return size;
    }

    static void AppendUtf8(std::string& out, char32_t c) {
        if (c < 0x80) {
            out.push_back(static_cast<char>(c));
        } else if (c < 0x800) {
            out.push_back(static_cast<char>(0xC0 | (c >> 6)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        } else {
            out.push_back(static_cast<char>(0xE0 | (c >> 12)));
            out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        }
    }

    std::string_view rest_;
    int line_ = 0;
};

}  // namespace

void AppendShown(std::string& out, std::string_view stored) {
    const ShownBytes& forms = Shown();
    for (const char c : stored) {
        const ShownBytes::Form& form = forms.shown[static_cast<unsigned char>(c)];
        out.append(form.bytes.data(), form.size);
    }
}
QString AppendStored(std::string_view shown, std::string& out) {
    const auto hexValue = [](char c) {
        return c >= '0' && c <= '9'   ? c - '0'
               : c >= 'a' && c <= 'f' ? c - 'a' + 10
               : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                      : -1;
    };
    const QString notUtf8 = QStringLiteral("the text holds bytes that are not UTF-8");
    for (std::size_t i = 0; i < shown.size();) {
        const auto lead = static_cast<unsigned char>(shown[i]);
        if (lead == '\\') {
            const std::string_view escape = shown.substr(i, 4);
            if (escape.substr(0, 2) == "\\\\") {
                out.push_back('\\');
                i += 2;
                continue;
            }
            if (escape.size() == 4 && escape[1] == 'x' && hexValue(escape[2]) >= 0 &&
                hexValue(escape[3]) >= 0) {
                const int byte = hexValue(escape[2]) * 16 + hexValue(escape[3]);
                if (byte == 0) return QStringLiteral("'\\x00': a text cannot hold a NUL");
                out.push_back(static_cast<char>(byte));
                i += 4;
                continue;
            }
            return QStringLiteral("'%1' is not an escape: \\\\ is a backslash, \\xHH the byte HH")
                .arg(QString::fromUtf8(escape.data(), static_cast<qsizetype>(escape.size())));
        }
        if (lead < 0x80) {
            if (lead == 0) return QStringLiteral("a text cannot hold a NUL");
            // A run of such characters goes in whole.
            std::size_t end = i + 1;
            while (end < shown.size() && shown[end] > 0 && shown[end] != '\\') ++end;
            out.append(shown.substr(i, end - i));
            i = end;
            continue;
        }
        // One character of two to four bytes, read as the UTF-8 standard has it.
        const std::size_t size = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : 2;
        char32_t character = lead & (0x7F >> size);
        if (lead < 0xC2 || lead > 0xF4 || i + size > shown.size()) return notUtf8;
        for (std::size_t k = 1; k < size; ++k) {
            const auto next = static_cast<unsigned char>(shown[i + k]);
            if ((next & 0xC0) != 0x80) return notUtf8;
            character = (character << 6) | (next & 0x3F);
        }
        if ((size == 3 && character < 0x800) || (size == 4 && character < 0x10000) ||
            character > 0x10FFFF || (character >= 0xD800 && character <= 0xDFFF)) {
            return notUtf8;
        }
        const std::optional<char> byte = CodePageByte(character);
        if (!byte) {
            return QStringLiteral("'%1' (U+%2) is not a character of the Windows-1252 code page")
                .arg(QString::fromUcs4(&character, 1),
                     QString::number(character, 16).toUpper().rightJustified(4, u'0'));
        }
        out.push_back(*byte);
        i += size;
    }
    return {};
}

QByteArray WriteDump(const TextDb& textDb, dump::Format format) {
    return format == dump::Format::Csv ? WriteCsv(textDb) : WriteJson(textDb);
}

ReadResult ReadDump(const QByteArray& bytes, dump::Format format, JsonRoute route) {
    ReadResult result;
    result.source = bytes.startsWith("\xEF\xBB\xBF") ? bytes.mid(3) : bytes;
    // Room for the entries of a usual dump, taken at once.
    const auto lines = static_cast<std::size_t>(result.source.size()) / 16 + 1;
    result.ids.reserve(lines);
    result.texts.reserve(lines);
    if (format == dump::Format::Csv) {
        ReadCsv(result.source, result);
    } else if (route != JsonRoute::AnyLayout && WrittenJson(ViewOf(result.source)).Read(result)) {
        return result;
    } else {
        // Not as the writer lays it out: read as any JSON, from the start.
        result.headerBytes = {};
        result.ids.clear();
        result.texts.clear();
        result.problems.clear();
        result.unescaped.clear();
        ReadJson(result.source, result);
    }
    return result;
}

std::optional<QByteArray> ReadResult::Encode() const {
    return EncodeTextDbFile(
        headerBytes, static_cast<std::uint32_t>(ids.size()),
        [this](std::uint32_t i) { return ids[i]; },
        [this](std::uint32_t i) { return texts[i]; });
}

}  // namespace texts_dump
